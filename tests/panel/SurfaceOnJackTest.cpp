// The control surface end to end through the real MIDI stack: the panel on the simulated
// line, its surface on a JACK server (the dummy backend the test scripts start), and a
// controller played by a JACK client of the test's own that turns knobs, presses keys and
// reads the rings the panel sends back, and is unplugged and plugged back. Real time: every
// wait is bounded.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>

#include "console/PanelActions.h"
#include "controls/CInfoBar.h"
#include "panel/PanelSurface.h"
#include "platform/midi/MidiConnection.h"
#include "tests/panel/InfoLineFits.h"
#include "tests/panel/PanelStoryTest.h"
#include "tests/support/JackController.h"
#include "tests/support/RunEventsUntil.h"

namespace {

constexpr auto kPatience = std::chrono::seconds(5);
constexpr int kEventWait_ms = 5;  // between two of the panel's poll ticks
constexpr const char* kController = "vcp-test-controller";

class SurfaceOnJackTest : public PanelStoryTest {
  protected:
    // Turns the event loop and the panel's polls until `done` holds, at most kPatience.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + kPatience;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            RunPollTicks(1);
            // What the controller sent arrives as events: the loop waits for them, not a sleep.
            if (RunEventsUntil(done, kEventWait_ms)) {
                return true;
            }
        }
        return true;
    }
    // Whether the controller's rings show what the panel's knobs show now.
    bool RingsFollowThePanel(JackController& controller, const Mapping& mapping) {
        const PanelState state = panel->Actions().CurrentState();
        const std::map<int, JackController::Received> rings = controller.Rings();
        for (int knob = 0; knob < kActionKnobs; ++knob) {
            const auto ring = rings.find(mapping.knobs[knob]->ring->control.number);
            if (ring == rings.end() ||
                ring->second.value != RingValue(*mapping.knobs[knob]->ring, state.knobs[knob])) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(SurfaceOnJackTest, TurnsReachTheUnitAndTheRingsFollowTheUnitAndTheMenu) {
    ASSERT_TRUE(JackController::ServerRuns())
        << "No JACK server runs. Start one first: jackd --no-realtime -d dummy "
           "(scripts/test.sh and .ci/run start it themselves).";
    Select(1);
    auto controller = std::make_unique<JackController>(kController);
    SurfaceSettings settings;
    settings.enabled = true;
    settings.system = "jack";
    settings.input = JackController::OutPort(kController);
    settings.output = JackController::InPort(kController);
    settings.mapping = "generic-eight-encoders";
    // Switched off, the panel is no client of the server at all.
    settings.enabled = false;
    {
        PanelSurface off(*panel, settings, true);
        RunEventsUntil([] { return false; }, 2 * MidiConnection::kLookInterval_ms);
        EXPECT_EQ(controller->PortsStartingWith("vcp:"), std::vector<std::string>{});
    }
    settings.enabled = true;
    PanelSurface surface(*panel, settings, true);
    ASSERT_TRUE(surface.HasMapping());
    const Mapping mapping = *LoadMapping(settings.mapping).mapping;
    ASSERT_TRUE(PumpUntil([&] { return surface.Present(); })) << "the surface's ports never opened";
    // One client of the server, its two ports named the same whatever else runs.
    const std::vector<std::string> own{"vcp:surface in", "vcp:surface out"};
    EXPECT_TRUE(PumpUntil([&] { return controller->PortsStartingWith("vcp:") == own; }))
        << ::testing::PrintToString(controller->PortsStartingWith("vcp"));
    ASSERT_TRUE(PumpUntil([&] { return RingsFollowThePanel(*controller, mapping); }))
        << "the rings were not sent when the surface came";

    // Three detents right and one left on knob 1 move the unit's value by two.
    const int start = Unit(1).Value(0);
    for (unsigned char detent : {0x01, 0x01, 0x01, 0x7F}) {
        controller->Send({0xB0, 1, detent});
    }
    EXPECT_TRUE(PumpUntil([&] { return Unit(1).Value(0) == start + 2; }))
        << "the unit's value is " << Unit(1).Value(0) << ", not " << start + 2;

    // The unit's own change shows on the ring with the next polls.
    Unit(1).ChangeLocally(0, 1000);
    EXPECT_TRUE(PumpUntil([&] {
        return RingsFollowThePanel(*controller, mapping) &&
               panel->Actions().CurrentState().knobs[0].value == 1000;
    })) << "the ring did not follow the unit's own change";

    // Another menu, from the controller's menu button 2: the knobs bind elsewhere and the
    // rings show their new values.
    const PanelState before = panel->Actions().CurrentState();
    controller->Send({0x90, 9, 0x7F});
    ASSERT_TRUE(PumpUntil([&] {
        return panel->Actions().CurrentState().menuTitle != before.menuTitle;
    })) << "menu button 2 did not change the menu";
    EXPECT_NE(panel->Actions().CurrentState().knobs, before.knobs);
    EXPECT_TRUE(PumpUntil([&] { return RingsFollowThePanel(*controller, mapping); }))
        << "the rings did not follow the new menu";

    // Unplugged, the panel says so in one line; plugged back, the controller is found again
    // by its name and shown the panel's rings.
    const std::string name = std::string("Surface \"") + kController + "\"";
    controller.reset();
    EXPECT_TRUE(
        PumpUntil([&] { return panel->InfoBar()->Message() == name + " gone; looking for it."; }));
    EXPECT_TRUE(MessageFitsTheLine(*panel->InfoBar())) << panel->InfoBar()->Message();
    EXPECT_FALSE(surface.Present());
    controller = std::make_unique<JackController>(kController);
    EXPECT_TRUE(PumpUntil([&] { return panel->InfoBar()->Message() == name + " is back."; }));
    EXPECT_TRUE(PumpUntil([&] { return RingsFollowThePanel(*controller, mapping); }))
        << "the rings were not shown again";

    // Unplugged and plugged back within one look: the same names, other ports. The panel
    // connects to the new ones.
    panel->Console().ShowMessage("");
    controller.reset();
    controller = std::make_unique<JackController>(kController);
    EXPECT_TRUE(PumpUntil([&] { return panel->InfoBar()->Message() == name + " is back."; }));
    EXPECT_TRUE(PumpUntil([&] { return RingsFollowThePanel(*controller, mapping); }))
        << "the rings were not shown after a quick replug";
}

}  // namespace
