#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QMouseEvent>

#include "controls/CLabel.h"
#include "controls/Fonts.h"
#include "controls/LabelGradient.h"
#include "controls/PaintHelpers.h"
#include "tests/controls/ControlsTestSupport.h"

namespace {

TEST(Fonts, PanelFacesFindAStandInAndKeepTheirSize) {
    const QFont font = MakePanelFont("Trebuchet MS", -13, kWeightBold);
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_EQ(font.weight(), QFont::Bold);
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(family == "Trebuchet MS" || family == SubstituteFamily()) << family.toStdString();
    EXPECT_EQ(QFontInfo(MakePanelFont("MS Sans Serif", -11)).family().isEmpty(), false);
    FontDescription cell;
    cell.face = "Trebuchet MS";
    cell.height = 20;  // a cell height: the characters are smaller
    EXPECT_EQ(MakeFont(cell).pixelSize(), 16);
    cell.weight = 0;  // no preference: normal
    EXPECT_EQ(MakeFont(cell).weight(), QFont::Normal);
}

// A kept font is the one MakePanelFont makes, made again when its face, height or weight
// changes (a display keeps one across the panel's face changing).
TEST(Fonts, KeptFontFollowsWhatItIsMadeFrom) {
    PanelFontCache kept;
    EXPECT_EQ(kept.Font("Trebuchet MS", -13), MakePanelFont("Trebuchet MS", -13));
    EXPECT_EQ(kept.Font("Trebuchet MS", -16).pixelSize(), 16);
    EXPECT_EQ(kept.Font("Trebuchet MS", -16, kWeightBold).weight(), QFont::Bold);
    EXPECT_EQ(kept.Font("MS Sans Serif", -16, kWeightBold),
              MakePanelFont("MS Sans Serif", -16, kWeightBold));
}

TEST(LabelGradient, BandsStepTowardsTheEndColourAndStopShort) {
    const std::vector<GradientBand> bands = GradientBands(100, QColor(0, 0, 0), QColor(255, 0, 0));
    ASSERT_EQ(bands.size(), 100u);
    EXPECT_EQ(bands.front().colour, QColor(0, 0, 0));
    EXPECT_EQ(bands[50].colour.red(), 50 * (255 * 256 / 100) / 256);
    EXPECT_EQ(bands.back().colour.red(), 252);  // one step short of 255
    EXPECT_EQ(bands.back().right, 100);
}

TEST(LabelGradient, WideLabelsUseAHundredBandsAndTheLastReachesTheEdge) {
    const std::vector<GradientBand> bands =
        GradientBands(450, QColor(200, 100, 50), QColor(0, 100, 250));
    ASSERT_EQ(bands.size(), 100u);
    EXPECT_EQ(bands[1].left, 4);
    EXPECT_EQ(bands.back().left, 396);
    EXPECT_EQ(bands.back().right, 450);
    EXPECT_LT(bands.back().colour.red(), bands.front().colour.red());
    EXPECT_GT(bands.back().colour.blue(), bands.front().colour.blue());
    EXPECT_EQ(bands.back().colour.green(), 100);
    EXPECT_TRUE(GradientBands(0, Qt::black, Qt::white).empty());
    EXPECT_EQ(GradientBands(3, Qt::black, Qt::white).size(), 3u);
}

class LabelTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        panel.resize(500, 200);
        label.setGeometry(10, 10, 300, 40);
        panel.show();
    }
    void TearDown() override {
        CLabel::SetLinkOpener(nullptr);
        ControlsTest::TearDown();
    }

    QWidget panel;
    CLabel label{&panel};
};

TEST_F(LabelTest, SettersChainAndRemakeTheFont) {
    label.SetFace("Trebuchet MS", 0).SetPointHeight(16).SetBoldWeight(true).SetItalics(true);
    EXPECT_EQ(label.Description().face, "Trebuchet MS");
    EXPECT_EQ(label.Description().height, -21);
    EXPECT_EQ(label.Description().weight, 700);
    EXPECT_TRUE(label.CurrentFont().italic());
    EXPECT_EQ(label.CurrentFont().pixelSize(), 21);
    EXPECT_EQ(label.CurrentFont().weight(), QFont::Bold);
    label.SetBoldWeight(false).SetUnderlined(true);
    EXPECT_EQ(label.CurrentFont().weight(), QFont::Normal);
    EXPECT_TRUE(label.CurrentFont().underline());
}

TEST_F(LabelTest, CaptionNeedsAWindow) {
    label.SetCaption("Matte Menu");
    EXPECT_EQ(label.Text(), "Matte Menu");
    CLabel unattached;
    unattached.SetCaption("Lost");
    EXPECT_EQ(unattached.Text(), "");
}

TEST_F(LabelTest, TextFlagsFollowTheStyle) {
    label.SetCaption("Title");
    label.SetStaticStyle(CLabel::kStyleCentre);
    EXPECT_EQ(label.TextFlags(), unsigned(kTextCentre | kTextWordBreak));
    label.SetStaticStyle(CLabel::kStyleRight);
    EXPECT_EQ(label.TextFlags(), unsigned(kTextRight | kTextWordBreak));
    label.SetStaticStyle(CLabel::kStyleLeftNoWrap);
    EXPECT_EQ(label.TextFlags(), unsigned(kTextLeft));
    label.SetStaticStyle(0);
    EXPECT_EQ(label.TextFlags(), unsigned(kTextLeft | kTextWordBreak));
    label.SetStaticStyle(CLabel::kStyleCentreImage);
    EXPECT_EQ(label.TextFlags(), unsigned(kTextCentre | kTextVCentre | kTextSingleLine));
    label.SetCaption("Two\r\nlines");
    EXPECT_EQ(label.TextFlags(), unsigned(kTextCentre));
    label.SetStaticStyle(0);
    label.SetCaption("a\tb");
    EXPECT_EQ(label.TextFlags(), unsigned(kTextLeft | kTextWordBreak | kTextExpandTabs));
}

TEST_F(LabelTest, TextBlinkingHidesTheTextInItsOffPhase) {
    label.SetTextColour(QColor(145, 192, 74));
    label.BlinkText(true);
    EXPECT_TRUE(label.IsBlinkTimerRunning());
    EXPECT_EQ(label.Blinking(), CLabel::BlinkMode::Text);
    EXPECT_EQ(label.VisibleTextColour(), QColor(Qt::black)) << "no background: black";
    label.OnBlinkTimer();
    EXPECT_EQ(label.VisibleTextColour(), QColor(145, 192, 74));
    label.SetBackground(QColor(10, 20, 30), QColor(), false);
    label.OnBlinkTimer();
    EXPECT_EQ(label.VisibleTextColour(), QColor(10, 20, 30));

    label.BlinkText(false);
    EXPECT_FALSE(label.IsBlinkTimerRunning());
    EXPECT_EQ(label.Blinking(), CLabel::BlinkMode::None);
    EXPECT_EQ(label.VisibleTextColour(), QColor(145, 192, 74));
}

TEST_F(LabelTest, StoppingBackgroundBlinkNeverLeavesTheTextHidden) {
    label.SetTextColour(Qt::white);
    label.BlinkText(true);
    label.BlinkBackground(false);
    EXPECT_FALSE(label.IsBlinkTimerRunning());
    EXPECT_EQ(label.VisibleTextColour(), QColor(Qt::white));
}

TEST_F(LabelTest, LinksOpenTheAddressOrTheWindowText) {
    std::vector<std::pair<QString, CLabel::LinkMode>> opened;
    CLabel::SetLinkOpener(
        [&](const QString& target, CLabel::LinkMode mode) { opened.emplace_back(target, mode); });
    label.SetWindowText("https://example.org/manual");
    label.SetWebLink(true, false);
    label.Click();
    label.SetLinkAddress("https://example.org/other");
    label.Click();
    label.SetMailtoLink(true, false);
    label.SetWindowText("mailto:desk@example.org");
    label.Click();
    label.SetMailtoLink(false, false);
    label.Click();
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0].first, "https://example.org/manual");
    EXPECT_EQ(opened[1].first, "https://example.org/other");
    EXPECT_EQ(opened[2].first, "mailto:desk@example.org");
    EXPECT_EQ(opened[2].second, CLabel::LinkMode::Mail);
}

TEST_F(LabelTest, DoubleClickOpensTheLinkOnce) {
    int opened = 0;
    CLabel::SetLinkOpener([&](const QString&, CLabel::LinkMode) { ++opened; });
    label.SetWindowText("https://example.org/manual");
    label.SetWebLink(true, false);
    const QPointF local(20, 20);
    QMouseEvent press(QEvent::MouseButtonPress, local, label.mapToGlobal(local), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&label, &press);
    QMouseEvent second(QEvent::MouseButtonDblClick, local, label.mapToGlobal(local), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&label, &second);
    EXPECT_EQ(opened, 1);
}

TEST_F(LabelTest, NotifyingLinkTellsTheParentInstead) {
    int opened = 0;
    CLabel::SetLinkOpener([&](const QString&, CLabel::LinkMode) { ++opened; });
    int notified = 0;
    QObject::connect(&label, &CLabel::LinkNotified, [&] { ++notified; });
    label.SetWebLink(true, true);
    label.Click();
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(opened, 0);
}

TEST_F(LabelTest, OpaqueLabelPaintsItsBackgroundAndEmbossing) {
    label.SetBackground(QColor(0, 0, 128), QColor(), false);
    label.SetCaption("");
    const QImage plain = Grab(label);
    EXPECT_EQ(plain.pixelColor(150, 20), QColor(0, 0, 128));

    label.SetBackground(QColor(0, 0, 0), QColor(255, 255, 255), true);
    const QImage graded = Grab(label);
    EXPECT_LT(graded.pixelColor(2, 20).red(), graded.pixelColor(290, 20).red());
}

}  // namespace
