#include "soak/FaultSchedule.h"

#include <cmath>

namespace {

constexpr int kLineFaultPercent = 20;
constexpr int kSelectedUnitPercent = 75;
// Late, but within the patience of every command: the unit status gives up after 180 ms. An
// answer later than that is taken for the answer to the next request, which no framing
// without sequence numbers can tell apart.
constexpr uint32_t kLongestLate_ms = 160;
constexpr uint32_t kLongestNoise = 3000;

struct KindInfo {
    const char* name;
    bool onLineOnly;  // the whole line, never one unit
    bool onUnitOnly;  // one unit, never the whole line
    FaultKind simKind;
};

const std::array<KindInfo, kSoakFaultKinds> kKinds = {{
    {"silence", false, false, FaultKind::Silent},
    {"late answers", false, false, FaultKind::Late},
    {"wrong codes", false, false, FaultKind::WrongCode},
    {"truncation", false, false, FaultKind::Truncated},
    {"bad checksums", false, false, FaultKind::CorruptChecksum},
    {"noise", true, false, FaultKind::Noise},
    {"oversized answers", false, false, FaultKind::Oversized},
    {"power cycle", false, true, FaultKind::Count},
    {"unit removed", false, true, FaultKind::Count},
    {"device vanished", true, false, FaultKind::Count},
}};

const KindInfo& Info(SoakFault kind) {
    return kKinds[static_cast<size_t>(kind)];
}

}  // namespace

const char* SoakFaultName(SoakFault kind) {
    return static_cast<size_t>(kind) < kSoakFaultKinds ? Info(kind).name : "unknown";
}

std::string PlannedFault::Describe() const {
    std::string text = SoakFaultName(kind);
    if (kind == SoakFault::Late) {
        text += " " + std::to_string(argument) + " ms";
    } else if (kind == SoakFault::WrongCode || kind == SoakFault::Truncated) {
        text += " " + std::to_string(argument);
    } else if (kind == SoakFault::Noise) {
        text += argument == 0 ? " without end" : " of " + std::to_string(argument) + " bytes";
    }
    text += unit == 0 ? " on the line" : " on unit " + std::to_string(unit);
    return text + " for " + std::to_string(hold_ms) + " ms";
}

uint32_t FaultSchedule::Between(uint32_t low, uint32_t high) {
    return std::uniform_int_distribution<uint32_t>(low, high)(m_random);
}

PlannedFault FaultSchedule::Next(const std::vector<int>& units, int selected) {
    PlannedFault fault;
    fault.kind = static_cast<SoakFault>(Between(0, kSoakFaultKinds - 1));
    const KindInfo& info = Info(fault.kind);
    const bool onLine = info.onLineOnly || units.empty() ||
                        (!info.onUnitOnly && Between(1, 100) <= kLineFaultPercent);
    if (!onLine) {
        const bool toSelected = selected != 0 && Between(1, 100) <= kSelectedUnitPercent;
        fault.unit = toSelected ? selected : units[Between(0, units.size() - 1)];
    }
    switch (fault.kind) {
        case SoakFault::Late:
            fault.argument = Between(1, kLongestLate_ms);
            break;
        case SoakFault::WrongCode:
            fault.argument = Between(0, 255);
            break;
        case SoakFault::Truncated:
            fault.argument = Between(1, kMaxPacketSize);
            break;
        case SoakFault::Noise:
            fault.argument = Between(0, 1) == 0 ? 0 : Between(1, kLongestNoise);
            break;
        default:
            break;
    }
    // Short holds as often as long ones: evenly spread over the logarithm of the hold.
    const double lowest = std::log(double{kShortestHold_ms});
    const double highest = std::log(double{kLongestHold_ms});
    const double logHold = std::uniform_real_distribution<double>(lowest, highest)(m_random);
    fault.hold_ms = static_cast<uint32_t>(std::exp(logHold));
    return fault;
}

FaultSet* FaultSwitch::FaultsOf(const PlannedFault& fault) {
    if (fault.unit == 0) {
        return &m_sim.LineFaults();
    }
    SimUnit* unit = m_sim.Unit(fault.unit);
    return unit ? &unit->Faults() : nullptr;
}

void FaultSwitch::Apply(const PlannedFault& fault) {
    SimUnit* unit = m_sim.Unit(fault.unit);
    switch (fault.kind) {
        case SoakFault::PowerCycle:
            if (unit) {
                unit->SetPower(false);
            }
            return;
        case SoakFault::UnitRemoved:
            if (unit) {
                m_removedModel[static_cast<size_t>(fault.unit)] = unit->Model().code;
                m_sim.RemoveUnit(fault.unit);
            }
            return;
        case SoakFault::DeviceVanished:
            m_line.refuseOpen = true;
            m_line.BreakOpenDevices();
            return;
        default:
            break;
    }
    if (FaultSet* faults = FaultsOf(fault)) {
        faults->Set(Info(fault.kind).simKind, fault.argument);
    }
}

void FaultSwitch::Clear(const PlannedFault& fault) {
    switch (fault.kind) {
        case SoakFault::PowerCycle:
            if (SimUnit* unit = m_sim.Unit(fault.unit)) {
                unit->SetPower(true);
            }
            return;
        case SoakFault::UnitRemoved: {
            int& model = m_removedModel[static_cast<size_t>(fault.unit)];
            // The unit put back has just been switched on, and says so as after any power-up:
            // a master that still holds the values of the unit that was there reads them again.
            if (model != 0) {
                if (SimUnit* unit = m_sim.AddUnit(fault.unit, model)) {
                    unit->SetFlag(kStatusStateChanged, true);
                }
                model = 0;
            }
            return;
        }
        case SoakFault::DeviceVanished:
            m_line.refuseOpen = false;
            return;
        default:
            break;
    }
    if (FaultSet* faults = FaultsOf(fault)) {
        faults->ClearAll();
    }
}
