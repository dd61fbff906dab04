#include "sim/unit/SimFaults.h"

#include "sim/unit/SimPacket.h"

namespace {

size_t Index(FaultKind kind) {
    return static_cast<size_t>(kind);
}

// Recomputes L and the checksum after the data changed.
void Reframe(std::vector<uint8_t>& packet) {
    if (packet.size() < 4) {
        return;
    }
    const SimAnswer answer{packet[2], std::vector<uint8_t>(packet.begin() + 3, packet.end() - 1)};
    packet = EncodeAnswer(packet[0], answer);
}

}  // namespace

const std::vector<FaultInfo>& FaultCatalog() {
    static const std::vector<FaultInfo> catalog = {
        {FaultKind::Silent, "silent", 0, "answer nothing"},
        {FaultKind::Late, "late", 500, "answer ARG ms late"},
        {FaultKind::WrongCode, "wrong-code", 0x7F, "answer with code ARG"},
        {FaultKind::Truncated, "truncate", 3, "send only the first ARG bytes of each answer"},
        {FaultKind::Oversized, "oversize", 0, "longest possible answers; lists never end"},
        {FaultKind::CorruptChecksum, "bad-checksum", 0, "invert each answer's checksum"},
        {FaultKind::Noise, "noise", 0, "flood the line with ARG noise bytes (0: without end)"},
        {FaultKind::SilentMidList, "list-stall", 2, "stop answering a list after ARG parts"},
        {FaultKind::EndlessList, "endless-list", 0, "lists repeat their entries without end"},
        {FaultKind::IgnoreCommand, "ignore", 0xAC, "answer every command but the command byte ARG"},
    };
    return catalog;
}

std::optional<FaultKind> FaultByName(const std::string& name) {
    for (const FaultInfo& info : FaultCatalog()) {
        if (name == info.name) {
            return info.kind;
        }
    }
    return std::nullopt;
}

void FaultSet::Set(FaultKind kind, uint32_t argument, int answers) {
    m_switches[Index(kind)] = {true, argument, answers};
}

void FaultSet::Clear(FaultKind kind) {
    m_switches[Index(kind)] = {};
}

void FaultSet::ClearAll() {
    m_switches.fill({});
}

bool FaultSet::Active(FaultKind kind) const {
    return m_switches[Index(kind)].on;
}

uint32_t FaultSet::Argument(FaultKind kind) const {
    return m_switches[Index(kind)].argument;
}

void FaultSet::Use(FaultKind kind) {
    Switch& s = m_switches[Index(kind)];
    if (s.on && s.remaining > 0 && --s.remaining == 0) {
        s = {};
    }
}

std::string FaultSet::Describe() const {
    std::string text;
    for (const FaultInfo& info : FaultCatalog()) {
        if (Active(info.kind)) {
            text += (text.empty() ? "" : " ") + std::string(info.name) + " " +
                    std::to_string(Argument(info.kind));
        }
    }
    return text.empty() ? "none" : text;
}

bool IgnoresCommand(FaultSet& faults, uint8_t command) {
    if (!faults.Active(FaultKind::IgnoreCommand) ||
        faults.Argument(FaultKind::IgnoreCommand) != command) {
        return false;
    }
    faults.Use(FaultKind::IgnoreCommand);
    return true;
}

std::optional<OutgoingAnswer> ShapeAnswer(FaultSet& faults, OutgoingAnswer answer) {
    std::vector<uint8_t>& packet = answer.bytes;
    if (faults.Active(FaultKind::Silent)) {
        faults.Use(FaultKind::Silent);
        return std::nullopt;
    }
    if (faults.Active(FaultKind::Late)) {
        answer.delay_ms += faults.Argument(FaultKind::Late);
        faults.Use(FaultKind::Late);
    }
    if (faults.Active(FaultKind::Oversized) && packet.size() >= 4) {
        packet.insert(packet.end() - 1, kMaxAnswerData + 4 - packet.size(), 0xFF);
        Reframe(packet);
        faults.Use(FaultKind::Oversized);
    }
    if (faults.Active(FaultKind::WrongCode) && packet.size() >= 4) {
        packet[2] = static_cast<uint8_t>(faults.Argument(FaultKind::WrongCode));
        Reframe(packet);
        faults.Use(FaultKind::WrongCode);
    }
    if (faults.Active(FaultKind::CorruptChecksum) && !packet.empty()) {
        packet.back() = static_cast<uint8_t>(~packet.back());
        faults.Use(FaultKind::CorruptChecksum);
    }
    if (faults.Active(FaultKind::Truncated)) {
        const size_t keep = faults.Argument(FaultKind::Truncated);
        if (keep < packet.size()) {
            packet.resize(keep);
        }
        faults.Use(FaultKind::Truncated);
    }
    return answer;
}
