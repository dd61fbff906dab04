#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>

#include "controls/CImageToggleButton.h"
#include "controls/SkinZoom.h"
#include "platform/ResourceIds.h"
#include "tests/controls/ControlsTestSupport.h"

// The hard key as a picture that says when it is pressed; what a press does is the panel's
// actions' (tests/console).

namespace {

class ToggleTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        panel.resize(100, 100);
        toggle.resize(32, 32);
        toggle.SetBitmaps(ResourceId::kToggleShortcutOn, ResourceId::kToggleKeyOff, 0);
        panel.show();
    }

    void Mouse(QEvent::Type type) {
        const QPointF local(16, 16);
        QMouseEvent event(type, local, toggle.mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&toggle, &event);
    }

    void Key(int key, bool autoRepeat = false) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(&toggle, &event);
    }

    QWidget panel;
    CImageToggleButton toggle{&panel};
    QSignalSpy pressed{&toggle, &CImageToggleButton::Pressed};
};

TEST_F(ToggleTest, APressOrEnterSaysPressedOnceAndADoubleClickIsOnePress) {
    Mouse(QEvent::MouseButtonPress);
    Mouse(QEvent::MouseButtonDblClick);
    EXPECT_EQ(pressed.count(), 1);
    toggle.setFocus();
    Key(Qt::Key_Return);
    Key(Qt::Key_Return, true);
    EXPECT_EQ(pressed.count(), 2) << "Enter held down is one press";
    EXPECT_FALSE(toggle.IsOn()) << "a press shows nothing pushed in";
}

TEST_F(ToggleTest, SpaceBarFlipsThePictureWithoutAPress) {
    const QImage off = Grab(toggle);
    Key(Qt::Key_Space);
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_NE(Grab(toggle), off);
    Key(Qt::Key_Space, true);
    EXPECT_TRUE(toggle.IsOn()) << "a held space bar flips once";
    EXPECT_EQ(pressed.count(), 0);
}

TEST_F(ToggleTest, MissingPictureDrawsNothing) {
    toggle.SetBitmaps(0, 0, 0);
    toggle.SetOn(true);
    const QImage picture = GrabOwnPaint(toggle);
    EXPECT_EQ(picture.pixelColor(16, 16).alpha(), 0);
}

// A key keeps its zoom and skin place between paints; a new zoom, a new place on the skin
// or a move by other means shows at once, as a key made anew there would.
TEST_F(ControlsTest, KeptSkinPlaceFollowsZoomAndMoves) {
    const auto keyOn = [](QWidget& window, double zoom, const QPoint& place) {
        ApplyZoom(&window, QSize(100, 100), zoom);
        auto* key = new CImageToggleButton(&window);
        key->SetBitmaps(ResourceId::kToggleShortcutOn, ResourceId::kToggleKeyOff, 0);
        PlaceOnSkin(key, QRect(place, QSize(32, 32)));
        window.show();
        return key;
    };
    QWidget window;
    CImageToggleButton* key = keyOn(window, 1.0, QPoint(0, 0));
    const QImage unzoomed = Grab(*key);
    ApplyZoom(&window, QSize(100, 100), 2.0);
    QWidget zoomedWindow;
    EXPECT_EQ(Grab(*key), Grab(*keyOn(zoomedWindow, 2.0, QPoint(10, 10))));
    MoveOnSkin(key, QPoint(10, 10));
    EXPECT_EQ(key->geometry(), QRect(20, 20, 64, 64));
    EXPECT_EQ(Grab(*key), Grab(*keyOn(zoomedWindow, 2.0, QPoint(10, 10))));
    key->setGeometry(0, 0, 32, 32);
    EXPECT_EQ(Grab(*key).size(), QSize(32, 32));
    EXPECT_NE(Grab(*key), unzoomed) << "a quarter of the key at twice its size";
    ApplyZoom(&window, QSize(100, 100), 1.0);
    PlaceOnSkin(key, QRect(0, 0, 32, 32));
    EXPECT_EQ(Grab(*key), unzoomed);
}

}  // namespace
