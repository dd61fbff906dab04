// The Telnet com-port backend against a small device server on loopback played by the test:
// the option negotiation both ways, the line settings and BREAK as commands, and 0xFF
// escaped in both directions. Real sockets, answered at once.
#include <unistd.h>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <thread>
#include <vector>

#include "platform/SerialDevice.h"
#include "platform/TelnetComPort.h"
#include "tests/support/LoopbackServer.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
constexpr uint8_t NOP = 241, kEcho = 1, kTerminalType = 24, kComPort = 44;
const Bytes kOffers = {IAC, WILL, 0, IAC, DO, 0, IAC, WILL, 3, IAC, DO, 3, IAC, WILL, kComPort};

Bytes ComPort(std::initializer_list<uint8_t> body) {
    Bytes out = {IAC, SB, kComPort};
    out.insert(out.end(), body);
    out.insert(out.end(), {IAC, SE});
    return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

class Rfc2217SerialDeviceTest : public ::testing::Test {
  protected:
    // Opens the device while the server, on its own thread, takes the offers and answers
    // with `greeting`. Returns what the open gave.
    std::unique_ptr<SerialDevice> Open(const Bytes& greeting, OpenError& error) {
        Bytes offers;
        std::thread serverSide([&] {
            server = listener.Accept();
            offers = ReadFromSocket(server, kOffers.size());
            WriteToSocket(server, greeting);
        });
        auto opened = OpenSerialDevice(listener.Address("rfc2217"), error);
        serverSide.join();
        EXPECT_EQ(offers, kOffers);
        if (opened) {
            opened->SetTimeouts(SerialTimeouts{});
        }
        return opened;
    }
    void OpenAgreed() {
        OpenError error;
        device =
            Open({IAC, DO, kComPort, IAC, DO, 0, IAC, WILL, 0, IAC, DO, 3, IAC, WILL, 3}, error);
        ASSERT_NE(device, nullptr) << error.detail;
    }
    void TearDown() override {
        device.reset();
        if (server >= 0) {
            ::close(server);
        }
    }

    // What the device read, byte by byte, until a read brought nothing.
    Bytes ReadAll() {
        Bytes got;
        uint8_t byte = 0;
        while (device->ReadByte(byte) == IoResult::Done) {
            got.push_back(byte);
        }
        return got;
    }

    LoopbackListener listener;
    std::unique_ptr<SerialDevice> device;
    int server = -1;
};

TEST_F(Rfc2217SerialDeviceTest, NegotiationAgreesToWhatALineNeedsAndRefusesTheRestOnce) {
    OpenError error;
    device =
        Open({IAC,  WILL, kEcho, IAC,  DO, kTerminalType, IAC, DO, kComPort, IAC,  DO,   0, IAC,
              WILL, 0,    IAC,   WILL, 3,  IAC,           DO,  3,  IAC,      WILL, kEcho},
             error);
    ASSERT_NE(device, nullptr) << error.detail;
    // Answers to its own offers get no reply; echo and terminal type are refused, once.
    // The server then stops suppressing go-ahead, which the device acknowledges.
    ASSERT_TRUE(WriteToSocket(server, {IAC, WONT, 3}));
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Nothing);
    ASSERT_EQ(device->WriteByte(0x12), IoResult::Done);
    EXPECT_EQ(ReadFromSocket(server, 10),
              (Bytes{IAC, DONT, kEcho, IAC, WONT, kTerminalType, IAC, DONT, 3, 0x12}));
}

TEST_F(Rfc2217SerialDeviceTest, ServerThatRefusesTheComPortOptionFailsTheOpen) {
    OpenError error;
    EXPECT_EQ(Open({IAC, DONT, kComPort}, error), nullptr);
    EXPECT_EQ(error.kind, OpenErrorKind::NotSerial);
    EXPECT_NE(error.detail.find("tcp://"), std::string::npos) << error.detail;
}

TEST_F(Rfc2217SerialDeviceTest, LineSettingsGoAsCommandsAndMustComeBackAsSent) {
    OpenAgreed();
    // The answers a server in front of a pseudo-terminal gives: none for the modem lines.
    const Bytes answers = Join({ComPort({101, 0x00, 0x01, 0xC2, 0x00}), ComPort({102, 8}),
                                ComPort({103, 2}), ComPort({104, 1}), ComPort({105, 1}),
                                ComPort({105, 14}), ComPort({112, 3}), ComPort({107, 0x30})});
    ASSERT_TRUE(WriteToSocket(server, answers));
    EXPECT_TRUE(device->Configure(SerialSettings{}));
    const Bytes sent = Join({ComPort({1, 0x00, 0x01, 0xC2, 0x00}), ComPort({2, 8}), ComPort({3, 2}),
                             ComPort({4, 1}), ComPort({5, 1}), ComPort({5, 14}), ComPort({5, 11}),
                             ComPort({5, 9}), ComPort({12, 3})});
    EXPECT_EQ(ReadFromSocket(server, sent.size()), sent);

    // A server that could only set another speed says so, and the settings fail.
    ASSERT_TRUE(
        WriteToSocket(server, Join({ComPort({101, 0x00, 0x00, 0x25, 0x80}), ComPort({102, 8}),
                                    ComPort({103, 2}), ComPort({104, 1})})));
    EXPECT_FALSE(device->Configure(SerialSettings{}));
}

TEST_F(Rfc2217SerialDeviceTest, DataCrossesWithFfDoubledAndTelnetCommandsTakenOut) {
    OpenAgreed();
    for (uint8_t byte : {0x12, 0xFF, 0x00, 0xFF}) {
        ASSERT_EQ(device->WriteByte(byte), IoResult::Done);
    }
    EXPECT_EQ(ReadFromSocket(server, 6), (Bytes{0x12, IAC, IAC, 0x00, IAC, IAC}));

    // A notice with an escaped 0xFF inside, a no-operation, and an answer cut across two
    // writes all stand between data bytes.
    ASSERT_TRUE(WriteToSocket(server, Join({{0x10, IAC, IAC, IAC, NOP, 0x20},
                                            ComPort({107, IAC, IAC}),
                                            {0x30, IAC, SB, kComPort, 101, 0x00}})));
    ASSERT_TRUE(WriteToSocket(server, {0x01, 0xC2, 0x00, IAC, SE, IAC, IAC, 0x0D, 0x00}));
    EXPECT_EQ(ReadAll(), (Bytes{0x10, 0xFF, 0x20, 0x30, 0xFF, 0x0D, 0x00}));
}

TEST_F(Rfc2217SerialDeviceTest, BreakIsRaisedAndClearedByCommand) {
    OpenAgreed();
    EXPECT_TRUE(device->SetBreak(true));
    EXPECT_TRUE(device->SetBreak(false));
    EXPECT_EQ(ReadFromSocket(server, 14), Join({ComPort({5, 5}), ComPort({5, 6})}));

    ::close(server);
    server = -1;
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Failed);
    EXPECT_FALSE(device->SetBreak(true));
    EXPECT_EQ(device->WriteByte(0x12), IoResult::Failed);
}

// The same stream taken in one piece and byte by byte gives the same data and replies.
TEST(TelnetComPortTest, SequencesSplitAnywhereReadTheSame) {
    const Bytes stream = Join({{0x41, IAC, IAC, IAC, WILL, kEcho, 0x42},
                               ComPort({101, 0, 0, 0, IAC, IAC}),
                               {IAC, DO, kTerminalType, 0x43}});
    TelnetComPort whole;
    std::deque<uint8_t> wholeData;
    Bytes wholeReplies;
    whole.Receive(stream.data(), stream.size(), wholeData, wholeReplies);
    TelnetComPort pieces;
    std::deque<uint8_t> pieceData;
    Bytes pieceReplies;
    for (uint8_t byte : stream) {
        pieces.Receive(&byte, 1, pieceData, pieceReplies);
    }
    EXPECT_EQ(wholeData, (std::deque<uint8_t>{0x41, 0xFF, 0x42, 0x43}));
    EXPECT_EQ(wholeReplies, (Bytes{IAC, DONT, kEcho, IAC, WONT, kTerminalType}));
    EXPECT_EQ(pieceData, wholeData);
    EXPECT_EQ(pieceReplies, wholeReplies);
    EXPECT_EQ(pieces.Answer(TelnetComPort::kSetBaudRate), (Bytes{0, 0, 0, 0xFF}));
}

}  // namespace
