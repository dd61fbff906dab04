#include <gtest/gtest.h>

#include <vector>

#include "link/CommandExchange.h"
#include "link/SerialCom.h"
#include "tests/support/LinkFixture.h"

namespace {

class FakeFailureReaction : public PortFailureReaction {
  public:
    void OnPortFailed(const PortFailure& failure) override { failures.push_back(failure); }
    std::vector<PortFailure> failures;
};

class SerialComTest : public LinkFixture {};

TEST_F(SerialComTest, ReopenAppliesTheProtocolSettings) {
    EXPECT_TRUE(g_link.IsOpen());
    EXPECT_EQ(line.settings.baud, 115200u);
    EXPECT_EQ(line.settings.dataBits, 8);
    EXPECT_TRUE(line.settings.oddParity);
    EXPECT_EQ(line.settings.stopBits, 1);
    EXPECT_TRUE(line.settings.rtsOn);
    EXPECT_FALSE(line.settings.dtrOn);
    EXPECT_EQ(line.timeouts.ReadByteTimeout(), 20u);
    EXPECT_EQ(line.timeouts.WriteByteTimeout(), 10u);
}

TEST_F(SerialComTest, ReopenClosesTheOldPortBeforeOpening) {
    line.exclusive = true;
    EXPECT_TRUE(ReopenPort(1));
    EXPECT_TRUE(ReopenPort(1));
    EXPECT_EQ(line.openDevices, 1);
}

TEST_F(SerialComTest, PortHeldElsewhereFailsTheOpenAndSaysWhyWithoutABox) {
    line.exclusive = true;
    OpenError error;
    auto other = OpenSerialDevice("inproc:fixture", error);  // the fixture's link holds it
    EXPECT_EQ(other, nullptr);
    CSerialCom second;
    EXPECT_FALSE(second.OpenPort("inproc:fixture"));
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(second.LastFailure().step, PortStep::Open);
    EXPECT_EQ(second.LastFailure().error.kind, OpenErrorKind::Busy);
    ShowPortFailure(second.LastFailure());
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].caption, "Com Port Error");
}

// The link reports a port it could not open; the caller, or the installed reaction, decides
// what the user sees. A reopening inside a request reaches the reaction once the exchange
// is over, whichever unit is selected.
TEST_F(SerialComTest, MissingPortIsReportedToTheReactionOrAsOneBox) {
    line.refuseOpen = true;
    EXPECT_FALSE(ReopenPort(3));
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_FALSE(g_link.IsOpen());
    EXPECT_EQ(g_link.SendBreak(), Status::WriteFailed);
    ReportPortFailure(g_link.LastFailure());
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text.rfind("Can't open Com Port.  Please select another port.", 0),
              0u);
    EXPECT_EQ(prompter.boxes[0].icon, PromptIcon::Stop);

    FakeFailureReaction reaction;
    CSerialCom::SetFailureReaction(&reaction);
    prompter.boxes.clear();
    AnswerBuffer answer{};
    EXPECT_EQ(ExchangeWith(0x10, Command::IdentifyUnit, {}, kPatience200ms, answer),
              Status::WriteFailed);
    ASSERT_EQ(reaction.failures.size(), 1u);
    EXPECT_EQ(reaction.failures[0].step, PortStep::Open);
    EXPECT_TRUE(prompter.boxes.empty());
    CSerialCom::SetFailureReaction(nullptr);
}

TEST_F(SerialComTest, SettingsThatCannotBeAppliedCloseThePortWithTheirOwnCaption) {
    struct Row {
        const char* step;
        bool (*apply)(CSerialCom&);
        const char* caption;
    };
    const Row rows[] = {
        {"line settings", [](CSerialCom& port) { return port.SetupPort(115200); },
         "Com Port Error"},
        {"time-outs", [](CSerialCom& port) { return port.SetPortTimeouts(10, 10, 10); },
         "StCommTimeouts function failed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.step);
        prompter.boxes.clear();
        CSerialCom port;  // no device behind it: the driver refuses every setting
        EXPECT_FALSE(row.apply(port));
        EXPECT_EQ(port.LastResult(), 0);
        EXPECT_FALSE(port.IsOpen());
        ShowPortFailure(port.LastFailure());
        ASSERT_EQ(prompter.boxes.size(), 1u);
        EXPECT_EQ(prompter.boxes[0].text, "Can't open Com Port.  Please select another port.");
        EXPECT_EQ(prompter.boxes[0].caption, row.caption);
        EXPECT_EQ(prompter.boxes[0].icon, PromptIcon::Stop);
        EXPECT_EQ(prompter.boxes[0].buttons, PromptButtons::Ok);
    }
}

TEST_F(SerialComTest, HighPortNumbersOpenLikeLowOnes) {
    PortNames().SetRunOverride("");
    for (int port : {1, 9, 10, 16}) {
        SCOPED_TRACE(port);
        PortNames().SetOverride(port, "inproc:fixture");
        EXPECT_TRUE(ReopenPort(port));
    }
    PortNames().ClearOverrides();
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(SerialComTest, BreakIsRaisedAndClearedOnAnOpenPortOnly) {
    EXPECT_EQ(g_link.SendBreak(), Status::Ok);
    EXPECT_EQ(line.BreakCount(), 1);
    line.BreakOpenDevices();
    EXPECT_EQ(g_link.SendBreak(), Status::WriteFailed);
    g_link.Close();
    EXPECT_EQ(g_link.SendBreak(), Status::WriteFailed);
    EXPECT_EQ(line.BreakCount(), 1);
}

TEST_F(SerialComTest, UnknownDeviceIsExplainedUnderTheUnchangedText) {
    PortNames().SetRunOverride("/nonexistent/ttyUSB7");
    EXPECT_FALSE(ReopenPort(1));
    ShowPortFailure(g_link.LastFailure());
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "Can't open Com Port.  Please select another port.");
    EXPECT_EQ(prompter.boxes[0].caption, "Com Port Error");
    EXPECT_EQ(prompter.boxes[0].detail.rfind("There is no device /nonexistent/ttyUSB7.", 0), 0u)
        << prompter.boxes[0].detail;
}

}  // namespace
