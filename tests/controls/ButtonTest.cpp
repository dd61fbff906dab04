#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <functional>

#include "controls/CImageTextButton.h"
#include "controls/CaptionLines.h"
#include "platform/ResourceIds.h"
#include "tests/controls/ControlsTestSupport.h"

namespace {

TEST(CaptionLines, OneLineWithoutALineFeed) {
    const CaptionLines lines = SplitCaption("Matte");
    EXPECT_TRUE(lines.singleLine);
    EXPECT_EQ(lines.firstLine, "Matte");
    EXPECT_TRUE(lines.restLines.empty());
}

TEST(CaptionLines, CarriageReturnLineFeedSplitsIntoTwo) {
    const CaptionLines lines = SplitCaption("Insert\r\nKeyframe");
    EXPECT_FALSE(lines.singleLine);
    EXPECT_EQ(lines.firstLine, "Insert");
    ASSERT_EQ(lines.restLines.size(), 1u);
    EXPECT_EQ(lines.restLines[0], "Keyframe");
}

TEST(CaptionLines, FurtherLineFeedsBreakTheSecondPart) {
    const CaptionLines lines = SplitCaption("A\nB\r\nC\n");
    EXPECT_EQ(lines.firstLine, "A");
    ASSERT_EQ(lines.restLines.size(), 3u);
    EXPECT_EQ(lines.restLines[0], "B");
    EXPECT_EQ(lines.restLines[1], "C");
    EXPECT_EQ(lines.restLines[2], "");
}

TEST(CaptionLines, LeadingLineFeedLeavesAnEmptyTopLine) {
    const CaptionLines lines = SplitCaption("\nLow");
    EXPECT_FALSE(lines.singleLine);
    EXPECT_EQ(lines.firstLine, "");
    EXPECT_EQ(lines.restLines.at(0), "Low");
}

// Rows of `image` holding pixels near `colour` inside the column band x0..x1.
std::vector<int> RowsWithColour(const QImage& image, const QColor& colour, int x0, int x1) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = x0; x < x1; ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 24 &&
                std::abs(pixel.green() - colour.green()) < 24 &&
                std::abs(pixel.blue() - colour.blue()) < 24) {
                rows.push_back(y);
                break;
            }
        }
    }
    return rows;
}

class ImageTextButtonTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        panel.resize(200, 100);
        button.SetImages(ResourceId::kFunctionButtonUnlit, ResourceId::kFunctionButtonLit);
        button.SetCaptionFont("Trebuchet MS", -13);
        // A caption colour no picture uses, so the text can be found.
        button.SetTextColours(QColor(255, 0, 255), QColor(0, 255, 255));
        panel.show();
    }

    QWidget panel;
    CImageTextButton button{&panel};
};

TEST_F(ImageTextButtonTest, TakesThePicturesSize) {
    EXPECT_TRUE(button.ImagesLoaded());
    EXPECT_EQ(button.size(), QSize(76, 35));
    EXPECT_EQ(button.ImageRect(), QRect(0, 0, 76, 35));
}

TEST_F(ImageTextButtonTest, SecondPictureDiffersAndSetImagesReplacesBoth) {
    const QImage first = Grab(button);
    button.SetImageIndex(1);
    const QImage second = Grab(button);
    EXPECT_NE(first, second);
    button.SetImages(ResourceId::kMenuButton, ResourceId::kMenuButton);
    EXPECT_EQ(button.size(), QSize(74, 33));
    EXPECT_EQ(Grab(button), Grab(button));
    button.SetImageIndex(0);
    const QImage menuFace = Grab(button);
    button.SetImageIndex(1);
    EXPECT_EQ(Grab(button), menuFace) << "both faces of a menu button are one picture";
}

TEST_F(ImageTextButtonTest, SingleLineIsCentredVertically) {
    button.SetCaption("Wipe");
    const std::vector<int> rows = RowsWithColour(Grab(button), QColor(255, 0, 255), 0, 76);
    ASSERT_FALSE(rows.empty());
    const int middle = (rows.front() + rows.back()) / 2;
    EXPECT_NEAR(middle, 17, 3);
}

TEST_F(ImageTextButtonTest, TwoLinesSitSixteenPixelsApart) {
    button.SetCaption("Insert\r\nKeyframe");
    const std::vector<int> rows = RowsWithColour(Grab(button), QColor(255, 0, 255), 0, 76);
    ASSERT_FALSE(rows.empty());
    EXPECT_LT(rows.front(), 6) << "the first line starts at the top";
    EXPECT_GT(rows.back(), 17) << "the second line sits 16 pixels lower";
    // A gap between the two lines.
    bool gap = false;
    for (size_t i = 1; i < rows.size(); ++i) {
        gap = gap || rows[i] > rows[i - 1] + 1;
    }
    EXPECT_TRUE(gap);
}

TEST_F(ImageTextButtonTest, DisabledCaptionUsesTheDisabledColour) {
    button.SetCaption("Run");
    button.setEnabled(false);
    const QImage picture = Grab(button);
    EXPECT_TRUE(RowsWithColour(picture, QColor(255, 0, 255), 0, 76).empty());
    EXPECT_FALSE(RowsWithColour(picture, QColor(0, 255, 255), 0, 76).empty());
}

TEST_F(ImageTextButtonTest, EmptyCaptionDrawsThePictureOnly) {
    button.SetCaption("");
    EXPECT_TRUE(RowsWithColour(Grab(button), QColor(255, 0, 255), 0, 76).empty());
}

// A double-click is one click: a hurried double-click on a menu button enters one menu,
// and on a function button steps its function once.
TEST_F(ImageTextButtonTest, DoubleClickIsOneClick) {
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
    const QPointF local(30, 15);
    const auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent event(type, local, button.mapToGlobal(local), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&button, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(clicks, 1);
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(clicks, 2) << "a later single click still counts";
}

TEST_F(ImageTextButtonTest, MissingPicturesLeaveTheCaptionInTheButton) {
    button.SetImages(99999, 99999);
    EXPECT_FALSE(button.ImagesLoaded());
    button.resize(60, 30);
    button.SetCaption("Solo");
    const QImage picture = Grab(button);
    EXPECT_EQ(button.ImageRect(), QRect(0, 0, 60, 30));
    EXPECT_FALSE(RowsWithColour(picture, QColor(255, 0, 255), 0, 60).empty());
}

// The kept face follows every change a button shows, matches a button freshly made the same
// way, and is drawn once per change however often the button paints.
TEST_F(ImageTextButtonTest, KeptFaceFollowsWhatTheButtonShows) {
    const auto same = [this](const std::function<void(CImageTextButton&)>& change) {
        change(button);
        QWidget otherPanel;
        otherPanel.resize(200, 100);
        CImageTextButton fresh(&otherPanel);
        fresh.SetImages(ResourceId::kFunctionButtonUnlit, ResourceId::kFunctionButtonLit);
        fresh.SetCaptionFont("Trebuchet MS", -13);
        fresh.SetTextColours(QColor(255, 0, 255), QColor(0, 255, 255));
        fresh.SetCaption(button.Caption());
        fresh.SetImageIndex(button.ImageIndex());
        fresh.setEnabled(button.isEnabled());
        otherPanel.show();
        return Grab(button) == Grab(fresh);
    };
    button.SetCaption("Wipe");
    Grab(button);
    const int drawn = button.FaceDrawCount();
    Grab(button);
    Grab(button);
    EXPECT_EQ(button.FaceDrawCount(), drawn) << "an unchanged face is copied";
    EXPECT_TRUE(same([](CImageTextButton& b) { b.SetCaption("Mix\nAuto"); }));
    EXPECT_TRUE(same([](CImageTextButton& b) { b.SetImageIndex(1); }));
    EXPECT_TRUE(same([](CImageTextButton& b) { b.setEnabled(false); }));
    EXPECT_TRUE(same([](CImageTextButton& b) { b.setEnabled(true); }));
    const QImage magenta = Grab(button);
    button.SetTextColours(QColor(0, 255, 0), QColor(0, 255, 255));
    EXPECT_NE(Grab(button), magenta) << "new caption colours show";
    button.SetCaptionFont("Trebuchet MS", -20);
    const QImage large = Grab(button);
    button.SetCaptionFont("Trebuchet MS", -13);
    EXPECT_NE(Grab(button), large) << "a new caption font shows";
}

}  // namespace
