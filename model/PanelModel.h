#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "protocol/ParameterArguments.h"
#include "protocol/StatusFlags.h"

// Program-wide records of the panel: what the selected unit is, its menus, knob parameters,
// function entries and messages, and the per-unit navigation state. One copy, seen by the
// link commands, the panel, the controls and the dialogs. Every store from unit data is
// bounds-checked by its writer; the sizes here are the limits.

constexpr int kUnitSlots = 5;     // slot 0 belongs to no unit, so the unit number indexes directly
constexpr int kParamCount = 129;  // 0..127 from the image, 128 = empty knob position
constexpr int kFunctionCount = 132;  // offsets 0..127 from the image, 128..131 keyframe functions
constexpr int kMenuCount = 65;       // menus 0..63 from the image, entry 64 never read
constexpr int kMessageCount = 200;
constexpr int kMenuEntryWords = 20;
constexpr int kKnobCount = 8;
constexpr int kFunctionButtonCount = 6;
constexpr int kMenuImageSize = 65536;
constexpr int kCustomMenuCount = 5;  // menu 65 (the list) and custom menus 66..69
constexpr int kEmptyKnobParam = 128;
constexpr int kEmptyFunctionOffset = 127;
constexpr int kKeyframeMenu = 64;
constexpr int kCustomMenuList = 65;
constexpr uint8_t kImageNotLoaded = 0xFF;
// Bit 0 of a unit's lamp byte: the unit is on line.
constexpr uint8_t kOnLineBit = 0x01;
// The view select when none of the view functions (FG 129, BG 130, MATTE 132) is on; the
// panel starts with it.
constexpr int kNoView = 131;

// The first 12 bytes of the answer to IdentifyUnit, kept raw; protocol/StatusFlags.h names
// its bytes and flags.
using UnitStatus = std::array<uint8_t, 12>;

// Parameter flag bits.
constexpr int kFlagHashSuffix = 0x1000;
constexpr int kFlagOnAirLocked = 0x2000;
constexpr int kFlagStepped = 0x8000;
constexpr int kFlagTimecode = 0x4000;
constexpr int kFlagCoarse = 0x0100;
constexpr int kFlagDisplayCentred = 0x0010;
constexpr int kFlagDisplayPlain = 0x0008;
// Function flag bits.
constexpr int kFlagMomentary = 0x0001;
// Menu flag bits.
constexpr int kFlagMenuOpensDialog = 0x0400;
// Message flag bits.
constexpr int kFlagMessageQuestion = 0x4000;

struct ParamRecord {
    int32_t number = 0;
    int32_t kind = 0;
    int32_t flags = 0;
    int32_t extra = 0;
    int16_t rawMin = 0;
    int16_t rawMax = 0;
    int16_t dispMin = 0;
    int16_t dispMax = 0;
    int16_t value = 0;
    int16_t referenceValue = 0;
    std::string name;
    std::array<std::pair<std::string, std::string>, 3> options;
    bool operator==(const ParamRecord&) const = default;
};

struct FunctionRecord {
    int32_t number = 0;
    int32_t kind = 0;
    int32_t flags = 0;
    int32_t extra = 0;
    int16_t minValue = 0;
    int16_t maxValue = 0;
    int16_t value = 0;
    int16_t referenceValue = 0;  // second value of the function parameter, from the reference read
    int32_t optionCount = 0;
    std::string label;
};

struct MenuRecord {
    int32_t number = 0;
    int32_t kind = 0;
    int32_t flags = 0;
    std::array<int16_t, kKnobCount> knobParam{};
    std::array<int16_t, kMenuEntryWords> entry{};
    std::string title;
    std::string shortName;
};

struct MessageRecord {
    int32_t number = 0;
    int32_t flags = 0;
    std::string caption;
    std::string text;
};

extern uint8_t g_currentUnitAddress;
extern UnitStatus g_unitStatus;
extern ParamRecord g_paramTable[kParamCount];
// A knob parameter of the unit's table, as opposed to the keyframe menu's own records.
bool IsUnitParameter(const ParamRecord& record);
extern FunctionRecord g_functionTable[kFunctionCount];
extern MenuRecord g_menuTable[kMenuCount];
extern MessageRecord g_messageTable[kMessageCount];
extern std::string g_unitMessage;     // text fetched by ReadUnitMessage for messages 100 and 255
extern const std::string g_idleText;  // the empty text that clears the info line
extern uint8_t g_customKnobMap[kUnitSlots][kCustomMenuCount][kKnobCount];
extern uint8_t g_customFunctionMap[kUnitSlots][kCustomMenuCount][kFunctionButtonCount];
extern uint8_t g_keyframeKnobMap[kKnobCount];
extern uint8_t g_keyframeFunctionMap[kFunctionButtonCount];
extern uint8_t g_panelKeys[27];
extern bool g_extendedMenus;
extern const char* const g_faceName;

// The panel's own members that the link, the parser and the controls share. The panel window
// works on this one instance (g_panelModel); tests reset it.
struct PanelModel {
    PanelModel();

    // Menu buttons and entry words of the selected unit's model (g_unitStatus).
    int MenuButtonCount() const;
    int MenuEntryCount() const;

    // One 65,536-byte menu image per unit slot; byte 0 doubles as the load marker.
    std::unique_ptr<std::array<std::array<uint8_t, kMenuImageSize>, kUnitSlots>> m_menuImage;
    int32_t m_currentMenu[kUnitSlots];
    int32_t m_previousMenu[kUnitSlots];
    int32_t m_unitMenu[kUnitSlots];
    uint8_t m_lampBits[kUnitSlots];
    int32_t m_viewSelect;
    int32_t m_pollMissCount;
    int32_t m_portNumber;
    std::string m_routerEnabled;
    std::string m_routerPolarity;
    int32_t m_dwellFrames;
    // Reference video at the selected unit (status flag 0x40) as of the last poll; present
    // until a poll says otherwise. The Files, GPI and on-air menus and the info bar's lamp
    // read it.
    bool m_referencePresent;

    ParamRecord m_frameTimeParam;
    ParamRecord m_taperInParam;
    ParamRecord m_taperOutParam;
    ParamRecord m_keyframeParam;

    std::array<uint8_t, kMenuImageSize>& MenuImage(int unit) { return (*m_menuImage)[unit]; }
    void MarkImageNotLoaded(int unit) { (*m_menuImage)[unit][0] = kImageNotLoaded; }
    bool IsImageLoaded(int unit) const { return (*m_menuImage)[unit][0] != kImageNotLoaded; }
    // Follows the reference-video bit of the selected unit's status flags (status byte 3);
    // true when m_referencePresent changed.
    bool FollowReferenceFlags(uint8_t statusFlags);
    void Reset();
    // The keyframe menu's four records at their fixed names, flags, ranges and zero values.
    void ResetKeyframeRecords();
};

extern PanelModel g_panelModel;

// Compact family (models 4, 5, 7, 9): six menu buttons, twelve entry words, keyframe menu.
bool IsCompactModel(uint8_t model);

// Compact models 5, 7 and 9 choose their inputs with the stepped knob parameters 93..98.
bool SelectsInputsByParameters(uint8_t model);

// The unit number (1..4) of an address byte, 0 for none; never indexes outside the slots.
int UnitOfAddress(uint8_t address);
// The address byte of unit 1..4 (the number times 16), 0 for any other number.
uint8_t AddressOfUnit(int unit);

// The selected unit's function value of function number 128..255, 0 for any other number.
int FunctionValue(int functionNumber);

// Menu buttons and entry words of a model: six and twelve for the compact family, ten and
// twenty for the full one.
int MenuButtonCountOf(uint8_t model);
int MenuEntryCountOf(uint8_t model);

// The value a read-out shows for a knob parameter: dispMin + (dispMax - dispMin) * value /
// (rawMax - rawMin) in floating point, truncated toward zero, then raised to dispMin and
// lowered to dispMax. A parameter whose raw and display ranges are the same shows its raw
// value. An empty raw range (rawMin == rawMax) has nothing to scale by and shows dispMin.
int DisplayedValue(const ParamRecord& param);

// Empties the parameter, function, menu and message tables (what a menu image fills).
void ClearUnitTables();

// Puts every program-wide record back to its start value (tests, and a fresh panel).
void ResetProgramState();
