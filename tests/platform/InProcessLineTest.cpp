// The in-process line: bytes timed by the virtual clock, peers, fault switches.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "platform/InProcessLine.h"

namespace {

constexpr uint32_t kStart_ms = 5000;
constexpr uint32_t kReadTimeout_ms = 20;  // 10 ms per byte plus 10 ms

// Answers every byte with its complement after 3 ms, and counts reads and breaks.
class EchoPeer final : public LinePeer {
  public:
    void OnMasterByte(InProcessLine& line, uint8_t byte) override {
        line.SendToMaster(static_cast<uint8_t>(~byte), 3);
    }
    void OnBreak(InProcessLine&, bool on) override { breaks.push_back(on); }
    void OnMasterRead(InProcessLine&) override { ++reads; }

    std::vector<bool> breaks;
    int reads = 0;
};

class InProcessLineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterInProcessLine("line-test", &line);
        OpenError error;
        device = OpenSerialDevice("inproc:line-test", error);
        ASSERT_NE(device, nullptr) << error.detail;
        ASSERT_TRUE(device->SetTimeouts({}));
    }
    void TearDown() override {
        device.reset();
        UnregisterInProcessLine("line-test");
    }

    uint32_t Elapsed() { return time.clock.TickCount() - start_ms; }

    ScopedVirtualClock time{kStart_ms};
    uint32_t start_ms = kStart_ms;
    InProcessLine line;
    std::unique_ptr<SerialDevice> device;
};

TEST_F(InProcessLineTest, ReadOfASilentLineCostsExactlyItsTimeout) {
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Nothing);
    EXPECT_EQ(Elapsed(), kReadTimeout_ms);
    EXPECT_EQ(device->ReadByte(byte), IoResult::Nothing);
    EXPECT_EQ(Elapsed(), 2 * kReadTimeout_ms);
}

TEST_F(InProcessLineTest, ShorterTimeoutsShortenTheRead) {
    ASSERT_TRUE(device->SetTimeouts({2, 3, 10}));
    EXPECT_EQ(line.timeouts.readConstant_ms, 3u);
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Nothing);
    EXPECT_EQ(Elapsed(), 5u);
}

TEST_F(InProcessLineTest, ByteArrivesWhenDue) {
    line.SendToMaster(0x42, 7);
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Done);
    EXPECT_EQ(byte, 0x42);
    EXPECT_EQ(Elapsed(), 7u);
}

TEST_F(InProcessLineTest, ByteDueAfterTheTimeoutNeedsASecondRead) {
    line.SendToMaster(0x42, 30);
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Nothing);
    EXPECT_EQ(Elapsed(), kReadTimeout_ms);
    EXPECT_EQ(device->ReadByte(byte), IoResult::Done);
    EXPECT_EQ(Elapsed(), 30u);
}

TEST_F(InProcessLineTest, DelaysCountFromTheLastQueuedByte) {
    line.SendToMaster({1, 2}, 5);
    line.SendToMaster(3, 4);
    uint8_t byte = 0;
    ASSERT_EQ(device->ReadByte(byte), IoResult::Done);
    ASSERT_EQ(device->ReadByte(byte), IoResult::Done);
    EXPECT_EQ(byte, 2);
    EXPECT_EQ(Elapsed(), 5u);
    ASSERT_EQ(device->ReadByte(byte), IoResult::Done);
    EXPECT_EQ(byte, 3);
    EXPECT_EQ(Elapsed(), 9u);
    // Once the queue has drained, a delay counts from now again.
    time.clock.Advance(100);
    line.SendToMaster(4, 2);
    ASSERT_EQ(device->ReadByte(byte), IoResult::Done);
    EXPECT_EQ(Elapsed(), 111u);
}

TEST_F(InProcessLineTest, TimingHoldsAcrossTheCounterWrap) {
    time.clock.Set(0xFFFFFFFAu);
    start_ms = 0xFFFFFFFAu;
    line.SendToMaster(0x55, 15);
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Done);
    EXPECT_EQ(Elapsed(), 15u);
    EXPECT_EQ(device->ReadByte(byte), IoResult::Nothing);
    EXPECT_EQ(Elapsed(), 15u + kReadTimeout_ms);
}

TEST_F(InProcessLineTest, PeerHearsWritesBreaksAndReads) {
    EchoPeer peer;
    line.SetPeer(&peer);
    EXPECT_EQ(device->WriteByte(0x0F), IoResult::Done);
    EXPECT_EQ(device->WriteByte(0x10), IoResult::Done);
    EXPECT_EQ(line.TakeWritten(), (std::vector<uint8_t>{0x0F, 0x10}));
    EXPECT_TRUE(line.Written().empty());
    uint8_t byte = 0;
    ASSERT_EQ(device->ReadByte(byte), IoResult::Done);
    EXPECT_EQ(byte, 0xF0);
    ASSERT_EQ(device->ReadByte(byte), IoResult::Done);
    EXPECT_EQ(byte, 0xEF);
    EXPECT_EQ(Elapsed(), 6u);
    EXPECT_EQ(peer.reads, 2);
    EXPECT_TRUE(device->SetBreak(true));
    EXPECT_TRUE(device->SetBreak(false));
    EXPECT_EQ(peer.breaks, (std::vector<bool>{true, false}));
    EXPECT_EQ(line.BreakCount(), 1);
}

TEST_F(InProcessLineTest, FaultSwitches) {
    line.writesUntilFailure = 1;
    EXPECT_EQ(device->WriteByte(1), IoResult::Done);
    EXPECT_EQ(device->WriteByte(2), IoResult::Failed);
    EXPECT_EQ(line.Written(), std::vector<uint8_t>{1});
    line.writesUntilFailure = -1;
    line.failWrites = true;
    EXPECT_EQ(device->WriteByte(3), IoResult::Failed);
    EXPECT_FALSE(device->SetBreak(true));
    line.failReads = true;
    line.SendToMaster(9);
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Failed);
    EXPECT_EQ(line.PendingToMaster(), 1u);
}

TEST_F(InProcessLineTest, SettingsReachTheLine) {
    SerialSettings settings;
    settings.baud = 38400;
    ASSERT_TRUE(device->Configure(settings));
    EXPECT_EQ(line.settings.baud, 38400u);
    EXPECT_TRUE(line.settings.oddParity);
}

TEST(InProcessLineOpenTest, OpenByNameAndRefusals) {
    InProcessLine line;
    OpenError error;
    EXPECT_EQ(OpenSerialDevice("inproc:nobody", error), nullptr);
    EXPECT_EQ(error.kind, OpenErrorKind::NotFound);

    RegisterInProcessLine("refusing", &line);
    line.refuseOpen = true;
    EXPECT_EQ(OpenSerialDevice("inproc:refusing", error), nullptr);
    EXPECT_EQ(error.kind, OpenErrorKind::Busy);
    line.refuseOpen = false;
    {
        auto device = OpenSerialDevice("inproc:refusing", error);
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(error.kind, OpenErrorKind::None);
        EXPECT_EQ(line.openDevices, 1);
    }
    EXPECT_EQ(line.openDevices, 0);
    EXPECT_EQ(line.openCount, 2);
    UnregisterInProcessLine("refusing");
    EXPECT_EQ(FindInProcessLine("refusing"), nullptr);
}

TEST_F(InProcessLineTest, BrokenDevicesFailUntilReopened) {
    line.BreakOpenDevices();
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Failed);
    EXPECT_EQ(device->WriteByte(1), IoResult::Failed);
    EXPECT_FALSE(device->SetBreak(true));
    EXPECT_TRUE(line.Written().empty());
    device.reset();
    OpenError error;
    device = OpenSerialDevice("inproc:line-test", error);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->WriteByte(2), IoResult::Done);
    EXPECT_EQ(line.Written(), std::vector<uint8_t>{2});
}

TEST_F(InProcessLineTest, ExclusiveLineRefusesASecondOpen) {
    line.exclusive = true;
    OpenError error;
    EXPECT_EQ(OpenSerialDevice("inproc:line-test", error), nullptr);
    EXPECT_EQ(error.kind, OpenErrorKind::Busy);
    device.reset();
    EXPECT_NE(OpenSerialDevice("inproc:line-test", error), nullptr);
}

}  // namespace
