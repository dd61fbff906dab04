#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/MenuImage.h"
#include "sim/models/ModelDefinition.h"

// Writes a unit's menu image: a four-byte header, then the parameter, function and menu
// records (each behind its count word), five sections of the unit's own records, and the
// message records. Numbers are big-endian words; every record starts with its length in
// words, the length word included.
//
// Texts that a reader finds by their ending NUL are padded with NULs to a whole word and
// are always followed, inside the same record, by a byte that is not NUL (an option's mark
// word or the record's end mark), so skipping the padding never runs into the next record.
// Fixed-length option texts of knob parameters are padded with blanks, which trimming removes.

constexpr uint16_t kParamRecordKind = 1;
constexpr uint16_t kFunctionRecordKind = 2;
constexpr uint16_t kMenuRecordKind = 3;
constexpr uint16_t kOptionMark = 0x4F00;      // 'O', then the option's index
constexpr uint16_t kRecordEndMark = 0x7E7E;   // "~~"
constexpr size_t kMaxOptionTextBytes = 510;   // a length word's low byte counts words
constexpr size_t kMaxShortRecordWords = 255;  // records found by the low byte of their length

// Record encoders; each returns the whole record, length word first.
std::vector<uint8_t> EncodeParameterRecord(const ParamDef& param);
std::vector<uint8_t> EncodeFunctionRecord(const FunctionDef& function);
std::vector<uint8_t> EncodeMenuRecord(const MenuDef& menu, MenuFamily family);
std::vector<uint8_t> EncodeMessageRecord(const MessageDef& message);
std::vector<uint8_t> EncodeSkippedRecord(const std::vector<uint8_t>& body);

// The 32-bit extra value written into parameter and function records.
uint32_t RecordExtra(uint8_t number);

class MenuImageBuilder {
  public:
    explicit MenuImageBuilder(MenuFamily family) : m_family(family) {}

    void SetHeader(const std::array<uint8_t, kMenuImageHeaderBytes>& header) { m_header = header; }
    void AddParameter(const ParamDef& param);
    void AddFunction(const FunctionDef& function);
    void AddMenu(const MenuDef& menu);
    void AddSkippedRecord(const SkippedRecordDef& record);
    void AddMessage(const MessageDef& message);

    // The image. The function section ends with an extra record that a reader never parses.
    std::vector<uint8_t> Build() const;

  private:
    MenuFamily m_family;
    std::array<uint8_t, kMenuImageHeaderBytes> m_header = {'K', 'V', 0, 0};
    std::vector<std::vector<uint8_t>> m_params;
    std::vector<std::vector<uint8_t>> m_functions;
    std::vector<std::vector<uint8_t>> m_menus;
    std::array<std::vector<std::vector<uint8_t>>, kMenuImageUnitSections> m_sections;
    std::vector<std::vector<uint8_t>> m_messages;
};

// The whole image of a model, from its definition.
std::vector<uint8_t> BuildModelImage(const ModelDefinition& model);
