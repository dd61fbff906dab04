// Control commands and the vcp-sim command line.
#include <gtest/gtest.h>

#include "sim/line/SimControl.h"
#include "sim/line/SimLine.h"
#include "sim/line/SimOptions.h"

namespace {

class SimControlTest : public ::testing::Test {
  protected:
    ControlResult Run(const std::string& command) { return control.Execute(command); }

    SimLine line{{{1, 11}, {2, 5}}};
    SimControl control{line};
};

TEST_F(SimControlTest, SetChangesTheValueOnTheUnitAndFlagsIt) {
    const ControlResult result = Run("set 1 0x10 300");
    ASSERT_TRUE(result.ok) << result.reply;
    EXPECT_EQ(result.reply, "value 255");  // BG Red tops out at 255
    EXPECT_EQ(line.Unit(1)->Value(16), 255);
    EXPECT_EQ(line.Unit(1)->Flags() & kUnitValuesChanged, kUnitValuesChanged);
    EXPECT_TRUE(Run("ref 1 16 7").ok);
    EXPECT_EQ(line.Unit(1)->Reference(16), 7);
}

TEST_F(SimControlTest, MessagesKeepTheirWholeText) {
    ASSERT_TRUE(Run("message 2 100   Fan  failure on PSU 2").ok);
    EXPECT_EQ(line.Unit(2)->MessageNumber(), 100);
    EXPECT_EQ(line.Unit(2)->TakeMessageText(), "Fan  failure on PSU 2");
    ASSERT_TRUE(Run("settings 1 Studio B  Bank 3").ok);
    EXPECT_EQ(line.Unit(1)->SettingsLabel(), "Studio B  Bank 3");
}

TEST_F(SimControlTest, FlagsPowerAndMenu) {
    ASSERT_TRUE(Run("flag 1 boot on").ok);
    ASSERT_TRUE(Run("flag 1 refvideo off").ok);
    EXPECT_EQ(line.Unit(1)->Flags() & (kUnitBootMode | kUnitReferenceVideo), kUnitBootMode);
    ASSERT_TRUE(Run("flag 2 busy on").ok);
    EXPECT_FALSE(line.Unit(2)->BeginRequest(0xAC)) << "busy without end until switched off";
    ASSERT_TRUE(Run("flag 2 busy off").ok);
    EXPECT_TRUE(line.Unit(2)->BeginRequest(0xAC));
    ASSERT_TRUE(Run("power 2 off").ok);
    EXPECT_FALSE(line.Unit(2)->Powered());
    ASSERT_TRUE(Run("menu 1 18").ok);
    EXPECT_EQ(line.Unit(1)->UnitMenu(), 18);
}

TEST_F(SimControlTest, FaultsOnUnitsAndTheLine) {
    ASSERT_TRUE(Run("fault 1 late").ok);
    EXPECT_EQ(line.Unit(1)->Faults().Argument(FaultKind::Late), 500u);
    ASSERT_TRUE(Run("fault line wrong-code 0x19 2").ok);
    EXPECT_EQ(line.LineFaults().Argument(FaultKind::WrongCode), 0x19u);
    line.LineFaults().Use(FaultKind::WrongCode);
    line.LineFaults().Use(FaultKind::WrongCode);
    EXPECT_FALSE(line.LineFaults().Active(FaultKind::WrongCode)) << "limited to two answers";
    EXPECT_NE(Run("show 1").reply.find("faults late 500"), std::string::npos);
    ASSERT_TRUE(Run("set 1 114 40").ok);
    EXPECT_NE(Run("show 1 114").reply.find(" 114=40"), std::string::npos);
    EXPECT_FALSE(Run("show 1 300").ok);
    ASSERT_TRUE(Run("fault 1 clear").ok);
    EXPECT_FALSE(line.Unit(1)->Faults().Active(FaultKind::Late));
}

TEST_F(SimControlTest, UnitsComeAndGo) {
    ASSERT_TRUE(Run("add 4 177").ok);
    EXPECT_EQ(line.Unit(4)->Model().code, 177);
    ASSERT_TRUE(Run("remove 4").ok);
    EXPECT_EQ(line.Unit(4), nullptr);
    EXPECT_FALSE(Run("add 4 6").ok);
}

TEST_F(SimControlTest, ScriptsPauseAndQuit) {
    EXPECT_EQ(Run("wait 250").wait_ms, 250u);
    EXPECT_TRUE(Run("quit").quit);
    EXPECT_TRUE(Run("").ok);
    EXPECT_TRUE(Run("  # a comment").ok);
    EXPECT_NE(Run("help").reply.find("bad-checksum"), std::string::npos);
}

TEST_F(SimControlTest, BadCommandsSayWhyAndChangeNothing) {
    const std::vector<std::string> bad = {
        "frobnicate",        "set 1 5",           "set 3 5 1",    "set 9 5 1",
        "set 1 300 1",       "set 1 127 1",       "set 1 5 lots", "flag 1 tally on",
        "flag 1 boot maybe", "power 1 sideways",  "menu 1 64",    "fault 1 gremlins",
        "fault 5 silent",    "fault 1 late soon", "delay -1",     "message 1 256",
    };
    for (const std::string& command : bad) {
        const ControlResult result = Run(command);
        EXPECT_FALSE(result.ok) << command;
        EXPECT_FALSE(result.reply.empty()) << command;
    }
    EXPECT_EQ(line.Unit(1)->Flags(), kUnitReferenceVideo);
    EXPECT_TRUE(line.Unit(1)->Powered());
}

TEST(SimOptionsTest, ReadsEveryOption) {
    std::string error;
    const auto options = ParseSimOptions(
        {"--pty", "/tmp/vcp", "--units", "1:4,3:80", "--delay", "5", "--script", "s.txt"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->serveOn, ServeOn::Pty);
    EXPECT_EQ(options->path, "/tmp/vcp");
    EXPECT_EQ(options->units, "1:4,3:80");
    EXPECT_EQ(options->answerDelay_ms, 5u);
    EXPECT_EQ(options->scriptPath, "s.txt");

    const auto tcp = ParseSimOptions({"--tcp", "7000"}, error);
    ASSERT_TRUE(tcp);
    EXPECT_EQ(tcp->port, 7000);
    EXPECT_EQ(tcp->units, "1:11,2:4");
    EXPECT_TRUE(ParseSimOptions({"--help"}, error)->help);
}

TEST(SimOptionsTest, RefusesWhatItCannotServe) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"--units", "1:11"},
             {"--pty", "/tmp/a", "--tcp", "7000"},
             {"--tcp", "70000"},
             {"--tcp"},
             {"--pty", "/tmp/a", "--delay", "soon"},
             {"--pty", "/tmp/a", "--colour", "blue"},
         }) {
        std::string error;
        EXPECT_FALSE(ParseSimOptions(args, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(UnitListTest, ParsesAndRefuses) {
    std::string error;
    const auto entries = ParseUnitList("1:11,3:4", error);
    ASSERT_TRUE(entries) << error;
    ASSERT_EQ(entries->size(), 2u);
    EXPECT_EQ((*entries)[1].number, 3);
    EXPECT_EQ((*entries)[1].modelCode, 4);
    for (const char* bad : {"", "1", "0:11", "5:11", "1:12", "1:11,1:4", "x:y", "1:11,"}) {
        EXPECT_FALSE(ParseUnitList(bad, error)) << bad;
    }
}

}  // namespace
