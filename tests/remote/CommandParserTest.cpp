// The line protocol's text and OSC messages become the same commands, and every malformed
// one is refused with its reason.
#include <gtest/gtest.h>
#include <lo/lo.h>

#include <cstdlib>
#include <vector>

#include "remote/OscCommand.h"
#include "remote/OscMessages.h"
#include "remote/RemoteLimits.h"

namespace {

RemoteCommand Parsed(const std::string& line) {
    const ParsedCommand parsed = ParseCommandLine(line);
    EXPECT_TRUE(parsed.command.has_value()) << line << ": " << parsed.error;
    return parsed.command.value_or(RemoteCommand{});
}

std::string ErrorOf(const std::string& line) {
    const ParsedCommand parsed = ParseCommandLine(line);
    EXPECT_FALSE(parsed.command.has_value()) << line;
    return parsed.error;
}

// An OSC message as a client sends it, through liblo.
std::vector<char> Packet(const char* path, lo_message message) {
    size_t size = 0;
    void* bytes = lo_message_serialise(message, path, nullptr, &size);
    std::vector<char> packet(static_cast<char*>(bytes), static_cast<char*>(bytes) + size);
    std::free(bytes);
    lo_message_free(message);
    return packet;
}

ParsedCommand Decoded(const std::vector<char>& packet) {
    return DecodeOscPacket(packet.data(), packet.size());
}

TEST(CommandParserTest, LinesBecomeCommandsWithTheirNumbersNamesAndLabels) {
    RemoteCommand turn = Parsed("turn 2 -5");
    EXPECT_EQ(turn.verb, Verb::TurnKnob);
    EXPECT_EQ(turn.number, 2);
    EXPECT_EQ(turn.amount, -5);
    EXPECT_EQ(Parsed("UNIT").verb, Verb::ReadUnit);
    EXPECT_EQ(Parsed("UNIT 3").number, 3);

    const RemoteCommand byName = Parsed("SET \"Key \\\"Gain\\\"\" +700");
    EXPECT_EQ(byName.parameter.name, "Key \"Gain\"");
    EXPECT_EQ(byName.amount, 700);
    EXPECT_EQ(Parsed("GET 12").parameter.number, 12);
    EXPECT_EQ(Parsed("SETSHOWN Gain 50%").text, "50%");

    EXPECT_EQ(Parsed("PRESS MEM 3").text, "MEM 3");
    EXPECT_EQ(Parsed("PRESS \"FG\"").text, "FG");
    const RemoteCommand menu = Parsed("press menu 4");
    EXPECT_EQ(menu.verb, Verb::PressMenu);
    EXPECT_EQ(menu.number, 4);
    EXPECT_EQ(Parsed("PRESS MENU FG").text, "MENU FG");  // the hard key, not a number
    EXPECT_EQ(Parsed("PRESS FUNCTION 6").verb, Verb::PressFunction);

    EXPECT_TRUE(ChangesThePanel(Parsed("STORE 2").verb));
    EXPECT_FALSE(ChangesThePanel(Parsed("LAMPS").verb));
    EXPECT_FALSE(ChangesThePanel(Parsed("SUBSCRIBE").verb));
}

TEST(CommandParserTest, MalformedLinesAreRefusedWithTheirReason) {
    EXPECT_EQ(ErrorOf("JUMP 3"), "No command \"JUMP\"; HELP lists them.");
    EXPECT_EQ(ErrorOf("TURN 1"), "Usage: TURN knob delta");
    EXPECT_EQ(ErrorOf("TITLE now"), "Usage: TITLE");
    EXPECT_EQ(ErrorOf("TURN x 1"),
              "\"x\" is not a number (whole numbers up to 1000000 either way).");
    // Numbers beyond the bound never reach the panel's arithmetic.
    ErrorOf("TURN -2147483648 1");
    ErrorOf("STORE 99999999999999999999");
    ErrorOf("UNIT 1.5");
    EXPECT_EQ(ErrorOf("PRESS \"MEM 3"), "A quoted word has no closing quote.");
    ErrorOf("");
    ErrorOf("   ");
    EXPECT_EQ(ErrorOf("HELP " + std::string(kMaxLineLength, 'x')),
              "A command holds at most 512 bytes.");
}

TEST(CommandParserTest, OscMessagesBecomeTheSameCommands) {
    lo_message turn = lo_message_new();
    lo_message_add_int32(turn, 1);
    lo_message_add_float(turn, -2.6f);  // a tablet's fader sends floats
    const ParsedCommand turned = Decoded(Packet("/vcp/turn", turn));
    ASSERT_TRUE(turned.command);
    EXPECT_EQ(turned.command->verb, Verb::TurnKnob);
    EXPECT_EQ(turned.command->amount, -3);

    lo_message press = lo_message_new();
    lo_message_add_string(press, "MEM 3");
    const ParsedCommand pressed = Decoded(Packet("/vcp/press", press));
    ASSERT_TRUE(pressed.command);
    EXPECT_EQ(pressed.command->text, "MEM 3");

    lo_message set = lo_message_new();
    lo_message_add_string(set, "Gain \"x\"");
    lo_message_add_int32(set, 12);
    const ParsedCommand setByName = Decoded(Packet("/vcp/set", set));
    ASSERT_TRUE(setByName.command);
    EXPECT_EQ(setByName.command->parameter.name, "Gain \"x\"");

    lo_message menu = lo_message_new();
    lo_message_add_int32(menu, 2);
    EXPECT_EQ(Decoded(Packet("/vcp/press/menu", menu)).command->verb, Verb::PressMenu);

    lo_message subscribe = lo_message_new();
    lo_message_add_int32(subscribe, 9000);
    EXPECT_EQ(Decoded(Packet("/vcp/subscribe", subscribe)).command->number, 9000);
    EXPECT_EQ(Decoded(Packet("/vcp/subscribe", lo_message_new())).command->number, 0);
}

TEST(CommandParserTest, MalformedOscIsRefusedWithItsReason) {
    EXPECT_EQ(Decoded(Packet("/vcp/jump", lo_message_new())).error,
              "No OSC address \"/vcp/jump\"; /vcp/help lists the commands.");
    EXPECT_FALSE(Decoded(Packet("/other/turn", lo_message_new())).command);
    EXPECT_FALSE(Decoded(Packet("/vcp/", lo_message_new())).command);

    lo_message blob = lo_message_new();
    lo_blob data = lo_blob_new(3, "abc");
    lo_message_add_blob(blob, data);
    EXPECT_EQ(Decoded(Packet("/vcp/turn", blob)).error,
              "An OSC argument of type 'b' is not taken: send numbers or strings.");
    lo_blob_free(data);

    lo_message huge = lo_message_new();
    lo_message_add_float(huge, 1e30f);
    lo_message_add_int32(huge, 1);
    EXPECT_FALSE(Decoded(Packet("/vcp/turn", huge)).command);

    lo_message badPort = lo_message_new();
    lo_message_add_int32(badPort, 70000);
    EXPECT_EQ(Decoded(Packet("/vcp/subscribe", badPort)).error, "A reply port is 1 to 65535.");

    // Bytes that are no message: a bundle, a cut-off type tag, an address without its end.
    const std::string bundle("#bundle\0\0\0\0\0\0\0\0\1", 16);
    EXPECT_FALSE(DecodeOscPacket(bundle.data(), bundle.size()).command);
    std::vector<char> cut = Packet("/vcp/turn", lo_message_new());
    cut.resize(cut.size() - 2);
    EXPECT_FALSE(Decoded(cut).command);
    const std::vector<char> unended(64, 'a');
    EXPECT_EQ(Decoded(unended).error, "The packet is no OSC message.");
    const std::vector<char> oversized(kMaxOscPacketSize + 1, 0);
    EXPECT_FALSE(Decoded(oversized).command);

    // What the panel sends reads back as OSC with the same texts.
    const std::vector<char> answer = OscAnswerPacket(RemoteAnswer::Error("read-only"));
    int result = 0;
    lo_message read =
        lo_message_deserialise(const_cast<char*>(answer.data()), answer.size(), &result);
    ASSERT_NE(read, nullptr);
    EXPECT_STREQ(answer.data(), "/vcp/error");
    EXPECT_STREQ(reinterpret_cast<const char*>(lo_message_get_argv(read)[0]), "read-only");
    lo_message_free(read);
}

}  // namespace
