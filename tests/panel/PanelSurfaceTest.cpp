// The panel's control surface without a MIDI system: messages handed to it turn the panel's
// knobs and press its keys through the panel's actions, a burst meets in one turn, and a
// mapping that does not read changes nothing.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "console/PanelActions.h"
#include "controls/CInfoBar.h"
#include "panel/PanelSurface.h"
#include "platform/WindowWait.h"
#include "tests/panel/InfoLineFits.h"
#include "tests/panel/PanelStoryTest.h"

namespace {

constexpr uint8_t kAdjust = 0x81;

class PanelSurfaceTest : public PanelStoryTest {
  protected:
    static void Settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
        }
    }
    SurfaceSettings Generic() const {
        SurfaceSettings settings;
        settings.mapping = "generic-eight-encoders";
        return settings;
    }
};

TEST_F(PanelSurfaceTest, ABurstOfDetentsGoesAsOneAdjustmentAndKeysPressThePanel) {
    Select(1);
    PanelSurface surface(*panel, Generic(), false);
    ASSERT_TRUE(surface.HasMapping());
    const int start = Unit(1).Value(0);

    // Inside another piece's wait the detents only add up: three single ones and a double,
    // accelerated to four steps, go as one adjustment of seven once the wait is over.
    WindowWait::Until([&] {
        for (const MidiBytes& detent :
             std::vector<MidiBytes>{{0xB0, 1, 1}, {0xB0, 1, 1}, {0xB0, 1, 2}, {0xB0, 1, 1}}) {
            surface.OnMessage(detent);
        }
        return true;
    });
    EXPECT_EQ(panel->Actions().PendingTurn(0), 7);
    Settle();
    const auto sent = SentRequests();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(),
                            [](const auto& request) { return request[0] == kAdjust; }),
              1);
    EXPECT_TRUE(Contains(sent, {kAdjust, 0, 0, 7}));
    EXPECT_EQ(Unit(1).Value(0), start + 7);
    surface.OnMessage({0xB0, 1, 0x7F});
    Settle();
    EXPECT_EQ(Unit(1).Value(0), start + 6);

    // A learned key selects another unit, as its toggle does.
    Mapping keys{"keys", {}, {}};
    BindButton(keys, {PanelControl::Kind::Toggle, 0, "unit 3"}, {MidiKind::Note, 0, 40});
    surface.UseMapping(keys);
    surface.OnMessage({0x90, 40, 0x7F});
    Settle();
    EXPECT_EQ(panel->SelectedUnit(), 3);
}

TEST_F(PanelSurfaceTest, AMappingThatDoesNotReadIsNamedAndChangesNothing) {
    SurfaceSettings missing = Generic();
    missing.enabled = true;
    missing.mapping = "no-such-surface";
    const std::string said = "Surface: no mapping \"no-such-surface\".";
    {
        PanelSurface idle(*panel, missing, false);
        EXPECT_FALSE(idle.HasMapping());
        EXPECT_EQ(panel->InfoBar()->Message(), said);
        // The panel's own messages come and go; once the line is idle it says so again.
        panel->Console().ShowMessage("Retrieving Menus from Main Unit!");
        idle.OnPanelState(panel->Actions().CurrentState());
        EXPECT_EQ(panel->InfoBar()->Message(), "Retrieving Menus from Main Unit!");
        panel->Console().ShowMessage("");
        idle.OnPanelState(panel->Actions().CurrentState());
        EXPECT_EQ(panel->InfoBar()->Message(), said);
    }
    // A long name is cut in its middle, so the line shows the message whole.
    SurfaceSettings longName = missing;
    longName.mapping = "My very own controller with its mapping, version 2 (MMMM)";
    {
        PanelSurface idle(*panel, longName, false);
        EXPECT_EQ(panel->InfoBar()->Message(), "Surface: no mapping \"My very o...2 (MMMM)\".");
        EXPECT_TRUE(MessageFitsTheLine(*panel->InfoBar())) << panel->InfoBar()->Message();
    }
    // The name the manual prints works as well as the file's.
    SurfaceSettings byName = missing;
    byName.mapping = "Generic eight encoders";
    panel->Console().ShowMessage("");
    PanelSurface named(*panel, byName, false);
    EXPECT_TRUE(named.HasMapping());
    EXPECT_EQ(panel->InfoBar()->Message(), "");

    PanelSurface surface(*panel, Generic(), false);
    // Without a unit the knob cannot turn: the line says so once.
    panel->Console().ShowMessage("");
    surface.OnMessage({0xB0, 1, 1});
    EXPECT_EQ(panel->InfoBar()->Message(), "No unit is selected.");
    panel->Console().ShowMessage("");
    surface.OnMessage({0xB0, 1, 1});
    EXPECT_EQ(panel->InfoBar()->Message(), "");
    std::string why;
    EXPECT_FALSE(surface.Apply(missing, &why));
    EXPECT_EQ(why, said);
    EXPECT_EQ(surface.Settings().mapping, "generic-eight-encoders");
    Select(1);
    const int start = Unit(1).Value(0);
    surface.OnMessage({0xB0, 1, 1});
    Settle();
    EXPECT_EQ(Unit(1).Value(0), start + 1);
}

}  // namespace
