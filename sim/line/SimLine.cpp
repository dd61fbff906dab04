#include "sim/line/SimLine.h"

#include <algorithm>

#include "sim/models/ModelCatalog.h"
#include "sim/unit/UnitCommands.h"

namespace {

class InProcessSink final : public AnswerSink {
  public:
    explicit InProcessSink(InProcessLine& line) : m_line(line) {}
    void Send(const std::vector<uint8_t>& bytes, uint32_t delay_ms) override {
        m_line.SendToMaster(bytes, delay_ms);
    }

  private:
    InProcessLine& m_line;
};

bool ParseInt(const std::string& text, int& value) {
    try {
        size_t used = 0;
        value = std::stoi(text, &used, 0);
        return used == text.size();
    } catch (...) {
        return false;
    }
}

}  // namespace

std::optional<std::vector<UnitEntry>> ParseUnitList(const std::string& text, std::string& error) {
    std::vector<UnitEntry> entries;
    size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        start = comma + 1;
        const size_t colon = item.find(':');
        UnitEntry entry;
        if (colon == std::string::npos || !ParseInt(item.substr(0, colon), entry.number) ||
            !ParseInt(item.substr(colon + 1), entry.modelCode)) {
            error = "expected unit:model, got \"" + item + "\"";
            return std::nullopt;
        }
        if (entry.number < 1 || entry.number > kMaxUnits) {
            error = "unit number " + std::to_string(entry.number) + " is not 1..4";
            return std::nullopt;
        }
        if (!FindModel(entry.modelCode)) {
            error = "unknown model code " + std::to_string(entry.modelCode);
            return std::nullopt;
        }
        for (const UnitEntry& earlier : entries) {
            if (earlier.number == entry.number) {
                error = "unit " + std::to_string(entry.number) + " is listed twice";
                return std::nullopt;
            }
        }
        entries.push_back(entry);
    }
    if (entries.empty()) {
        error = "no units listed";
        return std::nullopt;
    }
    return entries;
}

SimLine::SimLine(const std::vector<UnitEntry>& units) {
    for (const UnitEntry& entry : units) {
        AddUnit(entry.number, entry.modelCode);
    }
}

SimUnit* SimLine::AddUnit(int number, int modelCode) {
    const ModelDefinition* model = FindModel(modelCode);
    if (!model || number < 1 || number > kMaxUnits) {
        return nullptr;
    }
    m_units[static_cast<size_t>(number)] = std::make_unique<SimUnit>(number, *model);
    return m_units[static_cast<size_t>(number)].get();
}

void SimLine::RemoveUnit(int number) {
    if (number >= 1 && number <= kMaxUnits) {
        m_units[static_cast<size_t>(number)].reset();
    }
}

SimUnit* SimLine::Unit(int number) {
    return number >= 1 && number <= kMaxUnits ? m_units[static_cast<size_t>(number)].get()
                                              : nullptr;
}

std::optional<OutgoingAnswer> SimLine::Answer(const SimRequest& request) {
    SimUnit* unit = Unit(request.UnitNumber());
    if (!unit || !unit->Powered()) {
        return std::nullopt;
    }
    // An ignored command leaves the unit as it was: a changed value stays flagged.
    if (IgnoresCommand(unit->Faults(), request.Command()) ||
        IgnoresCommand(m_lineFaults, request.Command())) {
        return std::nullopt;
    }
    if (!unit->BeginRequest(request.Command())) {
        return std::nullopt;
    }
    const CommandHandler handler = UnitCommands().Find(request.Command());
    if (!handler) {
        return std::nullopt;
    }
    const std::optional<SimAnswer> answer = handler(*unit, request);
    if (!answer) {
        return std::nullopt;
    }
    std::optional<OutgoingAnswer> out =
        ShapeAnswer(unit->Faults(),
                    {EncodeAnswer(unit->Address(), *answer), m_answerDelay_ms + answer->delay_ms});
    return out ? ShapeAnswer(m_lineFaults, std::move(*out)) : std::nullopt;
}

void SimLine::Feed(uint8_t byte, AnswerSink& sink) {
    std::optional<SimRequest> request = m_collector.Feed(byte);
    if (!request) {
        return;
    }
    if (std::optional<OutgoingAnswer> answer = Answer(*request)) {
        ++m_answered;
        sink.Send(answer->bytes, answer->delay_ms);
    }
}

std::optional<uint8_t> SimLine::NextNoiseByte() {
    if (!m_lineFaults.Active(FaultKind::Noise)) {
        m_noiseSent = 0;
        return std::nullopt;
    }
    const uint32_t limit = m_lineFaults.Argument(FaultKind::Noise);
    if (limit != 0 && m_noiseSent >= limit) {
        m_lineFaults.Clear(FaultKind::Noise);
        m_noiseSent = 0;
        return std::nullopt;
    }
    ++m_noiseSent;
    // xorshift: varied bytes, the same every run.
    m_noiseSeed ^= m_noiseSeed << 13;
    m_noiseSeed ^= m_noiseSeed >> 17;
    m_noiseSeed ^= m_noiseSeed << 5;
    return static_cast<uint8_t>(m_noiseSeed);
}

void SimLine::OnMasterByte(InProcessLine& line, uint8_t byte) {
    InProcessSink sink(line);
    Feed(byte, sink);
}

void SimLine::OnBreak(InProcessLine&, bool on) {
    if (on) {
        Break();
    }
}

void SimLine::OnMasterRead(InProcessLine& line) {
    if (line.PendingToMaster() == 0) {
        if (std::optional<uint8_t> noise = NextNoiseByte()) {
            line.SendToMaster(*noise);
        }
    }
}
