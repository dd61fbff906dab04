#include <gtest/gtest.h>

#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <string>
#include <vector>

#include "dialogs/AboutText.h"
#include "dialogs/CMyAbout.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/LinkFixture.h"

namespace {

const ProgramVersion kProgram{"3.1", "May 4, 2026"};

// A version answer: the line count, the header bytes, then zero-terminated strings.
std::vector<uint8_t> VersionAnswer(uint8_t count, const std::vector<std::string>& strings,
                                   int headerBytes = 2) {
    std::vector<uint8_t> info{count};
    info.insert(info.end(), static_cast<size_t>(headerBytes), 'h');
    for (const std::string& text : strings) {
        info.insert(info.end(), text.begin(), text.end());
        info.push_back(0);
    }
    return info;
}

std::string Merge(const std::vector<uint8_t>& info, uint8_t model, const std::string& text,
                  bool extended = true) {
    return MergeAboutText(
        {.info = info, .model = model, .extendedMenus = extended, .templateText = text}, kProgram);
}

TEST(AboutText, ProgramLinesComeFromTheBuild) {
    EXPECT_EQ(ProgramAboutText(kProgram), "Remote Version: 3.1\r\nRelease Date: May 4, 2026");
    const ProgramVersion built = BuiltProgramVersion();
    EXPECT_TRUE(QRegularExpression("^\\d+(\\.\\d+)+$")
                    .match(QString::fromStdString(built.version))
                    .hasMatch());
    EXPECT_TRUE(QRegularExpression("^[A-Z][a-z]+ [1-9]\\d?, \\d{4}$")
                    .match(QString::fromStdString(built.date))
                    .hasMatch());
}

// Each family places the unit's lines and the program's version in its own order.
TEST(AboutText, UnitLinesAndProgramVersionFillTheMarkersInFamilyOrder) {
    const std::string lines = "Line A\nLine B\nLine C\n";
    EXPECT_EQ(Merge(VersionAnswer(6, {lines}), 11, "ignored U ^|^|^|^|^"),
              "U Line A|3.1|May 4, 2026|Line B|Line C");
    EXPECT_EQ(Merge(VersionAnswer(6, {lines}, 1), 9, "U ^|^|^|^"),
              "U Line A|Line B|3.1|May 4, 2026");
    // A model 4 without the extended menus leaves its first line out.
    EXPECT_EQ(Merge(VersionAnswer(7, {lines + "Line D\n"}, 0), 4, "U ^|^|^|^|^", false),
              "U Line B|3.1|May 4, 2026|Line C|Line D");
    // Further lines continue into the next string; the last takes what is left.
    EXPECT_EQ(Merge(VersionAnswer(8, {lines, "Serial 42\nBuilt 2024"}), 80, "U ^|^|^|^|^|^|^"),
              "U Line A|3.1|May 4, 2026|Line B|Line C|Serial 42|Built 2024");
    // A silent unit: empty lines and the program's version.
    EXPECT_EQ(Merge(std::vector<uint8_t>(255, 0), 11, "U ^|^|^|^|^"), "U |3.1|May 4, 2026||");
}

TEST(AboutText, HostileTemplatesAndAnswersShowWhatTheyCan) {
    const std::string lines = "Line A\nLine B\nLine C\n";
    // No "U": the whole template; too few markers: the rest is not shown.
    EXPECT_EQ(Merge(VersionAnswer(6, {lines}), 11, "Version ^ of ^"), "Version Line A of 3.1");
    EXPECT_EQ(Merge(VersionAnswer(6, {lines}), 11, ""), "");
    // A "^" inside a unit's line is text, not a marker.
    EXPECT_EQ(Merge(VersionAnswer(6, {"A^B\nC\nD\n"}), 11, "U ^ ^ ^ ^ ^"),
              "U A^B 3.1 May 4, 2026 C D");
    // The largest count over an answer with no terminator, and answers shorter than a header.
    const std::vector<uint8_t> endless(255, 0x7F);
    EXPECT_EQ(Merge(endless, 11, "U ^^^^^^^^^^").size(), 1 + 3 + 12);
    for (size_t size = 0; size < 4; ++size) {
        EXPECT_EQ(Merge(std::vector<uint8_t>(size, 0x7F), 9, "U ^|^|^|^"), "U ||3.1|May 4, 2026");
    }
}

class AboutDialogTest : public LinkFixture {
  protected:
    void SelectUnit(uint8_t model) {
        g_currentUnitAddress = 0x10;
        g_unitStatus[kStatusByteModel] = model;
        g_messageTable[0].text = "Header\nUnit: ^\nRemote: ^ (^)\n^\n^";
    }
};

TEST_F(AboutDialogTest, ShowsTheUnitsVersionAndUpdateEndsWithOk) {
    SelectUnit(11);
    peer.AnswerPacket(0x10, 0x3B,
                      VersionAnswer(6, {"KV-11 Main Unit\nFirmware 11.40\nKorvanthe\n"}));
    CMyAbout dialog;
    ASSERT_EQ(peer.Requests().size(), 1u);
    EXPECT_EQ(peer.Requests()[0][2], 0xAB);
    const std::string built = BuiltProgramVersion().version + " (" + BuiltProgramVersion().date;
    EXPECT_EQ(dialog.AboutText(),
              "Unit: KV-11 Main Unit\nRemote: " + built + ")\nFirmware 11.40\nKorvanthe");
    EXPECT_EQ(dialog.windowTitle(), "About System");
    dialog.show();
    EXPECT_TRUE(SaveDialogPicture(&dialog, "about"));
    QTest::mouseClick(dialog.findChild<QPushButton*>("updateButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(AboutDialogTest, NoUnitSilentUnitAndABackgroundClick) {
    CMyAbout programOnly;
    EXPECT_TRUE(programOnly.ManualLine().startsWith("User manual: /"));
    EXPECT_TRUE(programOnly.ManualLine().endsWith("/share/doc/vcp/manual.md"));
    EXPECT_EQ(programOnly.AboutText(), ProgramAboutText(BuiltProgramVersion()));
    EXPECT_TRUE(peer.Requests().empty());

    SelectUnit(9);
    peer.Silence();
    CMyAbout silent;
    EXPECT_NE(silent.AboutText().find("Unit: \nRemote:  ("), std::string::npos);
    EXPECT_NE(silent.AboutText().find("did not send its version"), std::string::npos);
    silent.show();
    QTest::mouseClick(&silent, Qt::LeftButton, {}, QPoint(20, 200));
    EXPECT_EQ(silent.result(), QDialog::Rejected);
}

}  // namespace
