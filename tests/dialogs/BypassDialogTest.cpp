#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <vector>

#include "dialogs/BypassFrame.h"
#include "dialogs/CBypassDialog.h"
#include "link/Framing.h"
#include "platform/InProcessLine.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Feeds `bytes` and returns the frames completed on the way.
std::vector<Bytes> Frames(BypassFrameAssembler& assembler, const Bytes& bytes) {
    std::vector<Bytes> frames;
    for (uint8_t byte : bytes) {
        if (assembler.Push(byte)) {
            frames.emplace_back(assembler.Frame().begin(), assembler.Frame().end());
        }
    }
    return frames;
}

TEST(BypassFrame, FindsFramesAndDropsWhatCannotBeOne) {
    BypassFrameAssembler assembler;
    // Noise before a start, a start with L 0, and a start hidden behind a bad one.
    EXPECT_EQ(Frames(assembler, {0xFF, 0x41, 0x02, 0x01, 0xC0, 0x77}),
              (std::vector<Bytes>{{0x02, 0x01, 0xC0, 0x77}}));
    EXPECT_EQ(assembler.DroppedBytes(), 2u);
    EXPECT_EQ(Frames(assembler, {0x02, 0x00, 0x02, 0x02, 0xA0, 0xA1, 0x00}),
              (std::vector<Bytes>{{0x02, 0x02, 0xA0, 0xA1, 0x00}}));
    EXPECT_EQ(assembler.DroppedBytes(), 4u);
    // The longest frame fits; a frame longer than a small buffer is dropped, not stored.
    Bytes longest{0x02, 0xFF};
    longest.resize(258, 0x55);
    EXPECT_EQ(Frames(assembler, longest).size(), 1u);
    BypassFrameAssembler small(8);
    EXPECT_TRUE(Frames(small, {0x02, 0x06, 0x02, 0x01, 0xC0, 0x00}).size() == 1);
    EXPECT_EQ(small.DroppedBytes(), 2u);
    EXPECT_EQ(small.Pending(), 0u);
}

// The link on the simulated line; the other controller on a line of its own that COM1 reaches.
class BypassDialogTest : public SimDialogTest {
  protected:
    void SetUp() override {
        SimDialogTest::SetUp();
        RegisterInProcessLine("controller", &controller);
        PortNames().SetRunOverride("");
        PortNames().SetOverride(1, "inproc:controller");
        PortNames().SetOverride(2, std::string("inproc:") + kLineName);
        g_panelModel.m_portNumber = 2;
        g_currentUnitAddress = 0x10;
        line.TakeWritten();
    }
    void TearDown() override {
        PortNames().ClearOverrides();
        UnregisterInProcessLine("controller");
        SimDialogTest::TearDown();
    }
    static void Click(CBypassDialog& dialog, const char* name) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(name), Qt::LeftButton);
    }
    static QString Status(CBypassDialog& dialog) {
        return dialog.findChild<QLabel*>("statusLabel")->text();
    }

    InProcessLine controller;
};

TEST_F(BypassDialogTest, RelaysTheControllersFramesToUnitOneAndTheAnswersBack) {
    CBypassDialog dialog;
    ASSERT_TRUE(dialog.PortOpen());
    EXPECT_EQ(dialog.windowTitle(), "Remote Bypass Menu");
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("baud115200Radio")->isChecked());
    EXPECT_EQ(Status(dialog), " Press \"Enable\" to start transfer.");

    Click(dialog, "enableButton");
    EXPECT_TRUE(dialog.Relaying());
    EXPECT_EQ(controller.settings.baud, 115200u);
    EXPECT_EQ(controller.timeouts.ReadByteTimeout(), 100u);
    EXPECT_FALSE(dialog.findChild<QPushButton*>("closeButton")->isEnabled());
    EXPECT_EQ(Status(dialog), " Waiting for data...");
    dialog.show();
    EXPECT_TRUE(SaveDialogPicture(&dialog, "bypass"));

    // Noise, then the status request: unit 1 hears 12 01 C0 C1, the controller gets the answer.
    controller.SendToMaster({0x55, 0x00, 0x02, 0x01, 0xC0, 0x77});
    EXPECT_EQ(dialog.RelayStep(), 1);
    EXPECT_EQ(line.TakeWritten(), (Bytes{0x12, 0x01, 0xC0, 0xC1}));
    const Bytes answer = controller.TakeWritten();
    ASSERT_GE(answer.size(), 4u);
    EXPECT_EQ(answer[0], 0x02);
    EXPECT_EQ(answer.size(), answer[1] + 3u);
    EXPECT_EQ(answer[2], 0x40);
    EXPECT_EQ(Status(dialog), " Waiting for data... (2 dropped)");

    // A unit that does not answer: 02 00 00 goes back.
    Unit(1).SetPower(false);
    controller.SendToMaster({0x02, 0x01, 0xC0, 0x00});
    EXPECT_EQ(dialog.RelayStep(), 1);
    EXPECT_EQ(controller.TakeWritten(), (Bytes{0x02, 0x00, 0x00}));
    Unit(1).SetPower(true);

    // Escape does not end the relay; Disable stops it and a half frame is forgotten on Enable.
    controller.SendToMaster({0x02, 0x05, 0xC0});
    dialog.RelayStep();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    Click(dialog, "enableButton");
    EXPECT_FALSE(dialog.Relaying());
    EXPECT_TRUE(dialog.findChild<QPushButton*>("closeButton")->isEnabled());
    QTest::mouseClick(dialog.findChild<QRadioButton*>("baud38400Radio"), Qt::LeftButton, {},
                      QPoint(4, 4));
    Click(dialog, "enableButton");
    EXPECT_EQ(controller.settings.baud, 38400u);
    EXPECT_TRUE(controller.settings.oddParity);
    EXPECT_EQ(controller.settings.dataBits, 8);
    controller.SendToMaster({0x02, 0x01, 0xC0, 0x00});
    EXPECT_EQ(dialog.RelayStep(), 1);
    EXPECT_EQ(line.TakeWritten().back(), 0xC1);
}

// A controller that never falls quiet, or a unit that stopped answering, holds the window for
// one bounded step only; what was not taken waits on the port for the next step.
TEST_F(BypassDialogTest, AStepEndsOnEndlessNoiseAndAfterAnUnansweredFrame) {
    CBypassDialog dialog;
    Click(dialog, "enableButton");
    controller.SendToMaster(Bytes(3 * CBypassDialog::kStepByteLimit, 0x55));
    const uint32_t start_ms = time.clock.TickCount();
    EXPECT_EQ(dialog.RelayStep(), 0);
    EXPECT_EQ(controller.PendingToMaster(), 2 * CBypassDialog::kStepByteLimit);
    EXPECT_LT(time.clock.TickCount() - start_ms, 1000u);
    controller.ClearToMaster();

    Unit(1).SetPower(false);
    controller.SendToMaster({0x02, 0x01, 0xC0, 0x00, 0x02, 0x01, 0xC0, 0x00});
    EXPECT_EQ(dialog.RelayStep(), 1);
    EXPECT_EQ(controller.TakeWritten(), (Bytes{0x02, 0x00, 0x00}));
    Unit(1).SetPower(true);
    EXPECT_EQ(dialog.RelayStep(), 1);
    EXPECT_EQ(controller.TakeWritten().at(2), 0x40);
    Click(dialog, "enableButton");
}

// The other controller on a real second port: a pseudo-terminal that COM1 reaches.
TEST_F(BypassDialogTest, AControllerOnAPseudoTerminalReachesUnitOneAndHearsItsAnswer) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    PortNames().SetOverride(1, ::ptsname(master));
    {
        CBypassDialog dialog;
        ASSERT_TRUE(dialog.PortOpen());
        Click(dialog, "enableButton");
        ASSERT_TRUE(dialog.Relaying());

        const Bytes request{0x02, 0x01, 0xC0, 0x77};
        ASSERT_EQ(::write(master, request.data(), request.size()),
                  static_cast<ssize_t>(request.size()));
        EXPECT_EQ(dialog.RelayStep(), 1);
        EXPECT_EQ(line.TakeWritten(), (Bytes{0x12, 0x01, 0xC0, 0xC1}));

        // The answer as the controller reads it off its port, within a bounded wait.
        Bytes answer;
        pollfd ready{master, POLLIN, 0};
        uint8_t buffer[300];
        while (::poll(&ready, 1, 500) > 0) {
            const ssize_t count = ::read(master, buffer, sizeof buffer);
            if (count <= 0) {
                break;
            }
            answer.insert(answer.end(), buffer, buffer + count);
            if (answer.size() >= 2 && answer.size() >= answer[1] + 3u) {
                break;
            }
        }
        ASSERT_GE(answer.size(), 4u);
        EXPECT_EQ(answer[0], 0x02);
        EXPECT_EQ(answer.size(), answer[1] + 3u);
        EXPECT_EQ(answer[2], 0x40);
        Click(dialog, "enableButton");
    }
    ::close(master);
}

TEST_F(BypassDialogTest, APortThatCannotBeOpenedOrIsTheLinkClosesTheDialog) {
    controller.refuseOpen = true;
    g_currentUnitAddress = 0;
    {
        CBypassDialog dialog;
        EXPECT_FALSE(dialog.PortOpen());
    }
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].text,
              "Serial Port failure: Contact Korvanthe Corporation for support.");
    EXPECT_EQ(prompter.boxes[1].caption, "Error");

    PortNames().SetOverride(1, std::string("inproc:") + kLineName);
    CBypassDialog sameAsLink;
    EXPECT_FALSE(sameAsLink.PortOpen());
    EXPECT_NE(prompter.boxes[2].text.find("the link to the Main Units"), std::string::npos);
}

}  // namespace
