// The soak's faults: repeatable from their seed, within their bounds, and cleared without a
// trace on the line.
#include <gtest/gtest.h>

#include "soak/FaultSchedule.h"

namespace {

TEST(FaultScheduleTest, TheSameSeedPlansTheSameFaultsWithinTheirBounds) {
    FaultSchedule first(42);
    FaultSchedule again(42);
    FaultSchedule other(43);
    const std::vector<int> units = {1, 3};
    std::array<int, kSoakFaultKinds> seen{};
    bool differs = false;
    for (int i = 0; i < 2000; ++i) {
        const PlannedFault fault = first.Next(units, 1);
        const PlannedFault repeat = again.Next(units, 1);
        EXPECT_EQ(fault.Describe(), repeat.Describe());
        differs = differs || fault.Describe() != other.Next(units, 1).Describe();
        ++seen[static_cast<size_t>(fault.kind)];
        EXPECT_GE(fault.hold_ms, FaultSchedule::kShortestHold_ms);
        EXPECT_LE(fault.hold_ms, FaultSchedule::kLongestHold_ms);
        EXPECT_TRUE(fault.unit == 0 || fault.unit == 1 || fault.unit == 3) << fault.Describe();
        if (fault.kind == SoakFault::Noise || fault.kind == SoakFault::DeviceVanished) {
            EXPECT_EQ(fault.unit, 0) << fault.Describe();
        }
        if (fault.kind == SoakFault::PowerCycle || fault.kind == SoakFault::UnitRemoved) {
            EXPECT_NE(fault.unit, 0) << fault.Describe();
        }
        if (fault.kind == SoakFault::Late) {
            // Later than the unit status waits, an answer would be taken for the next one's.
            EXPECT_LT(fault.argument, 180u) << fault.Describe();
        }
    }
    EXPECT_TRUE(differs);
    for (size_t kind = 0; kind < kSoakFaultKinds; ++kind) {
        EXPECT_GT(seen[kind], 50) << SoakFaultName(static_cast<SoakFault>(kind));
    }
}

TEST(FaultSwitchTest, EveryFaultTakesHoldAndClearsWithoutATrace) {
    for (size_t kind = 0; kind < kSoakFaultKinds; ++kind) {
        for (int unit : {0, 3}) {
            const PlannedFault fault{static_cast<SoakFault>(kind), unit, 7, 1000};
            const bool onUnitOnly =
                fault.kind == SoakFault::PowerCycle || fault.kind == SoakFault::UnitRemoved;
            if (onUnitOnly && unit == 0) {
                continue;  // never planned
            }
            SCOPED_TRACE(fault.Describe());
            SimLine sim({{1, 11}, {3, 4}});
            InProcessLine line(&sim);
            FaultSwitch faults(sim, line);
            sim.Unit(3)->ValuesRead();
            faults.Apply(fault);
            const bool lineClean = sim.LineFaults().Describe() == "none";
            const bool unitClean =
                sim.Unit(3) && sim.Unit(3)->Faults().Describe() == "none" && sim.Unit(3)->Powered();
            EXPECT_FALSE(lineClean && unitClean && !line.refuseOpen) << "the fault changed nothing";

            faults.Clear(fault);
            EXPECT_EQ(sim.LineFaults().Describe(), "none");
            EXPECT_FALSE(line.refuseOpen);
            for (int number : {1, 3}) {
                ASSERT_NE(sim.Unit(number), nullptr);
                EXPECT_EQ(sim.Unit(number)->Faults().Describe(), "none");
                EXPECT_TRUE(sim.Unit(number)->Powered());
            }
            EXPECT_EQ(sim.Unit(3)->Model().code, 4);
            // A unit that was off or away comes back as just switched on.
            EXPECT_EQ((sim.Unit(3)->Flags() & kStatusStateChanged) != 0, onUnitOnly);
        }
    }
}

}  // namespace
