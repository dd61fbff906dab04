// The screen shows the panel from the window's kept picture of its controls; a grab draws
// every control anew. The two must agree after every kind of change a control shows.
#include <QBackingStore>
#include <QCoreApplication>
#include <QMouseEvent>

#include "controls/CBitmapSlider.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "controls/COnLineBar.h"
#include "controls/CSettingsBar.h"
#include "tests/panel/PanelFixture.h"

namespace {

class ScreenFaceTest : public PanelFixture {
  protected:
    // What the window's backing store holds: what the screen shows of it.
    QImage Screen() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();  // a control shown posts the update it asks for
        QPaintDevice* store = panel->backingStore()->paintDevice();
        if (store->devType() != QInternal::Image) {
            ADD_FAILURE() << "the backing store holds no image";
            return {};
        }
        return static_cast<QImage*>(store)->convertToFormat(QImage::Format_RGB32);
    }
    QImage Grab() { return panel->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Where the screen and a fresh picture differ, as "x,y wxh" ("" when they agree).
    std::string Difference() {
        const QImage screen = Screen();
        const QImage grab = Grab();
        if (screen.size() != grab.size()) {
            return "the sizes";
        }
        QRect differs;
        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) {
                if (screen.pixel(x, y) != grab.pixel(x, y)) {
                    differs |= QRect(x, y, 1, 1);
                }
            }
        }
        return differs.isEmpty() ? ""
                                 : QStringLiteral("%1,%2 %3x%4")
                                       .arg(differs.x())
                                       .arg(differs.y())
                                       .arg(differs.width())
                                       .arg(differs.height())
                                       .toStdString();
    }
};

TEST_F(ScreenFaceTest, TheScreenShowsEachChangeAsAFreshPictureDoes) {
    panel->show();
    EXPECT_EQ(Difference(), "") << "no unit selected";
    SelectUnit(1);
    EXPECT_EQ(Difference(), "") << "unit 1 selected: lamps, captions, knobs";

    panel->Toggle(1)->SetOn(true);
    panel->MenuButton(0)->SetCaption("Changed");
    panel->MenuButton(1)->SetImageIndex(1 - panel->MenuButton(1)->ImageIndex());
    panel->InfoBar()->SetMessage("A message of the test");
    panel->SettingsBar()->SetSettingsText("Other settings");
    panel->OnLineBar()->SetSwatch(200, 10, 10);
    panel->TitleLabel()->SetCaption("A title of the test");
    EXPECT_EQ(Difference(), "") << "a toggle, buttons, the lines and the swatch changed";

    CBitmapSlider* knob = panel->Knob(2);
    const auto mouse = [knob](QEvent::Type type, int row) {
        const QPointF at(17, row);
        QMouseEvent event(type, at, knob->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(knob, &event);
    };
    mouse(QEvent::MouseButtonPress, 43);
    mouse(QEvent::MouseMove, 70);
    panel->MenuButton(4)->hide();
    panel->TitleLabel()->SetTransparentMode(false);  // an opaque label paints itself
    panel->Toggle(5)->move(panel->Toggle(5)->pos() + QPoint(3, 0));
    EXPECT_EQ(Difference(), "") << "a knob turned, a button hidden, a toggle moved";
    panel->MenuButton(4)->show();
    EXPECT_EQ(Difference(), "") << "the button shown again";
    mouse(QEvent::MouseButtonRelease, 70);
    EXPECT_EQ(Difference(), "") << "the knob back at rest";

    panel->SetZoom(0.5);
    EXPECT_EQ(Difference(), "") << "at 50 %";
}

TEST_F(ScreenFaceTest, ARepaintWithNothingChangedDrawsNothingAnew) {
    panel->show();
    SelectUnit(1);
    Screen();
    const int before = panel->Face().RedrawCount();
    panel->repaint();
    EXPECT_EQ(panel->Face().RedrawCount(), before);
    panel->Toggle(1)->SetOn(!panel->Toggle(1)->IsOn());
    Screen();
    EXPECT_EQ(panel->Face().RedrawCount(), before + 1);
}

}  // namespace
