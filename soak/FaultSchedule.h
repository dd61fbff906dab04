#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/InProcessLine.h"
#include "sim/line/SimLine.h"

// The faults a soak switches on the line of simulated units, one at a time.
enum class SoakFault {
    Silent,          // the unit says nothing
    Late,            // answers come late
    WrongCode,       // answers carry another code
    Truncated,       // answers are cut short
    BadChecksum,     // answers carry a wrong checksum
    Noise,           // the line carries noise
    Oversized,       // answers padded to the longest
    PowerCycle,      // the unit is switched off, then on
    UnitRemoved,     // the unit leaves the line, then a fresh one of its model, just switched
                     // on, takes its place
    DeviceVanished,  // the serial device goes away, then comes back
    Count
};
constexpr size_t kSoakFaultKinds = static_cast<size_t>(SoakFault::Count);

const char* SoakFaultName(SoakFault kind);

// One fault as planned: what, where (unit 1..4, 0 for the whole line), with which argument
// of the simulator's fault switch, and how long it holds.
struct PlannedFault {
    SoakFault kind = SoakFault::Silent;
    int unit = 0;
    uint32_t argument = 0;
    uint32_t hold_ms = 0;
    // "late 300 ms on unit 1 for 2500 ms", for reports.
    std::string Describe() const;
};

// Draws faults from a seeded generator: the same seed gives the same faults in the same order.
// Unit faults fall on the selected unit most of the time, since that is the one the panel
// watches, and on another unit of the line otherwise.
class FaultSchedule {
  public:
    // Shortest and longest hold of a fault.
    static constexpr uint32_t kShortestHold_ms = 200;
    static constexpr uint32_t kLongestHold_ms = 60'000;

    explicit FaultSchedule(uint64_t seed) : m_random(seed) {}

    // The next fault; `units` are the unit numbers on the line, `selected` the panel's unit.
    PlannedFault Next(const std::vector<int>& units, int selected);

    std::mt19937_64& Random() { return m_random; }

  private:
    uint32_t Between(uint32_t low, uint32_t high);

    std::mt19937_64 m_random;
};

// Switches planned faults on and off on a simulated line and its in-process device. Clearing
// puts the line back as it was: no fault switch left on, the unit powered and present with
// its model, the device opening again.
class FaultSwitch {
  public:
    FaultSwitch(SimLine& sim, InProcessLine& line) : m_sim(sim), m_line(line) {}

    void Apply(const PlannedFault& fault);
    void Clear(const PlannedFault& fault);

  private:
    FaultSet* FaultsOf(const PlannedFault& fault);

    SimLine& m_sim;
    InProcessLine& m_line;
    std::array<int, kMaxUnits + 1> m_removedModel{};
};
