// The built-in line the demo and the panel's tests reach as "inproc:sim".
#include <gtest/gtest.h>

#include "link/Framing.h"
#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "platform/InProcessLine.h"
#include "platform/PortNames.h"
#include "sim/line/BuiltinSimulator.h"
#include "sim/line/SimLine.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/StatusPrinter.h"

namespace {

class BuiltinSimulatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgramState();
        SetPrompter(&prompter);
    }
    void TearDown() override {
        g_link.Close();
        PortNames().SetRunOverride("");
        UnregisterBuiltinSimulator();
        SetPrompter(nullptr);
        ResetProgramState();
    }

    ScopedVirtualClock time{1000};
    ScriptedPrompter prompter;
};

TEST_F(BuiltinSimulatorTest, TheLinkReachesTheListedUnits) {
    SimLine* units = RegisterBuiltinSimulator("2:9,4:177");
    ASSERT_NE(units, nullptr);
    PortNames().SetRunOverride(std::string("inproc:") + kBuiltinLineName);
    ASSERT_TRUE(ReopenPort(1));

    std::vector<uint8_t> request(kMaxRequestSize, 0);
    request[0] = RequestAddress(0x40);
    request[1] = 1;
    request[2] = 0xC0;
    AnswerBuffer answer{};
    ASSERT_EQ(SendPacket(request), Status::Ok);
    ASSERT_EQ(ReceivePacket(answer, kPatience200ms), Status::Ok);
    EXPECT_EQ(AnswerData(answer, 2), 177);

    request[0] = RequestAddress(0x10);
    ASSERT_EQ(SendPacket(request), Status::Ok);
    EXPECT_EQ(ReceivePacket(answer, kPatience200ms), Status::NoAnswer);
    EXPECT_EQ(units->Unit(2)->Model().code, 9);
}

TEST_F(BuiltinSimulatorTest, ABadUnitListRegistersNothing) {
    std::string error;
    EXPECT_EQ(RegisterBuiltinSimulator("1:99", &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(FindInProcessLine(kBuiltinLineName), nullptr);
    ASSERT_NE(RegisterBuiltinSimulator(kDefaultUnitList), nullptr);
    EXPECT_NE(FindInProcessLine(kBuiltinLineName), nullptr);
    UnregisterBuiltinSimulator();
    EXPECT_EQ(FindInProcessLine(kBuiltinLineName), nullptr);
}

}  // namespace
