#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/InProcessLine.h"
#include "sim/unit/SimFaults.h"
#include "sim/unit/SimPacket.h"
#include "sim/unit/SimUnit.h"

// Where a line's answers go: an in-process line, a pseudo-terminal, a socket.
class AnswerSink {
  public:
    virtual ~AnswerSink() = default;
    // `bytes` start `delay_ms` after what was sent before them.
    virtual void Send(const std::vector<uint8_t>& bytes, uint32_t delay_ms) = 0;
};

// A unit number and the model code of the unit there.
struct UnitEntry {
    int number = 0;
    int modelCode = 0;
};

constexpr int kMaxUnits = 4;

// Reads "1:11,2:4" (unit:model, comma separated); nullopt with `error` set when a unit
// number is outside 1..4, appears twice, or a model code is unknown.
std::optional<std::vector<UnitEntry>> ParseUnitList(const std::string& text, std::string& error);

// A serial line with up to four units, served from the units' side of the framing. Every
// unit hears every request; the addressed one answers, if it is there and switched on.
class SimLine : public LinePeer {
  public:
    SimLine() = default;
    explicit SimLine(const std::vector<UnitEntry>& units);

    // Puts a unit of `modelCode` at `number` (replacing one there); nullptr when the
    // number or the model is unknown.
    SimUnit* AddUnit(int number, int modelCode);
    void RemoveUnit(int number);
    SimUnit* Unit(int number);

    void SetAnswerDelay(uint32_t delay_ms) { m_answerDelay_ms = delay_ms; }
    FaultSet& LineFaults() { return m_lineFaults; }

    // One byte from the master; a complete request is answered into `sink`.
    void Feed(uint8_t byte, AnswerSink& sink);
    // The master sent a BREAK: a half-received request is dropped.
    void Break() { m_collector.Reset(); }
    // While the line is flooded: the next noise byte.
    std::optional<uint8_t> NextNoiseByte();

    int RequestsAnswered() const { return m_answered; }
    int RequestsDropped() const { return m_collector.DroppedRequests(); }

    // LinePeer: serves an in-process line.
    void OnMasterByte(InProcessLine& line, uint8_t byte) override;
    void OnBreak(InProcessLine& line, bool on) override;
    void OnMasterRead(InProcessLine& line) override;

  private:
    std::optional<OutgoingAnswer> Answer(const SimRequest& request);

    std::array<std::unique_ptr<SimUnit>, kMaxUnits + 1> m_units;
    RequestCollector m_collector;
    FaultSet m_lineFaults;
    uint32_t m_answerDelay_ms = 0;
    uint32_t m_noiseSent = 0;
    uint32_t m_noiseSeed = 0x2545F491;
    int m_answered = 0;
};
