#include "panel/PanelSelfTest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <cstdio>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageToggleButton.h"
#include "controls/SkinZoom.h"
#include "panel/CTavrinoxDlg.h"

namespace {

constexpr int kUnit = 1;
constexpr int kTicks = 3;
constexpr int kOneStepUp = CBitmapSlider::kRestPosition - 1;  // a deflection of one: +1 a tick

// The knob's thumb gripped and dragged one position up, held for `ticks` repeat ticks, then
// let go.
void TurnKnob(CBitmapSlider* knob, int ticks) {
    const KnobGeometry& geometry = knob->Geometry();
    const int rest = geometry.RowOfPosition(CBitmapSlider::kRestPosition);
    // Midway between the thumb's rows at rest and one position up: well inside that position.
    const int held = (geometry.RowOfPosition(kOneStepUp) + rest) / 2;
    SendLeftMouse(knob, QEvent::MouseButtonPress, rest);
    SendLeftMouse(knob, QEvent::MouseMove, held);
    for (int i = 0; i < ticks; ++i) {
        knob->OnRepeatTimer();
    }
    SendLeftMouse(knob, QEvent::MouseButtonRelease, held);
}

bool SavePicture(CTavrinoxDlg& panel, const std::string& path) {
    const QFileInfo file(QString::fromStdString(path));
    QDir().mkpath(file.absolutePath());
    // The picture shows the panel at its own size, whatever the screen made of it; the lamps
    // the status strip moved at its last paint are in place before it.
    panel.SetZoom(1.0);
    QCoreApplication::processEvents();
    return panel.grab().save(file.absoluteFilePath(), "PNG");
}

}  // namespace

void SendLeftMouse(QWidget* widget, QEvent::Type type, int row) {
    const QPointF where(widget->width() / 2.0, row * ZoomOf(widget));
    QMouseEvent event(type, where, widget->mapToGlobal(where), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

int RunSelfTest(CTavrinoxDlg& panel, const std::string& picturePath) {
    panel.Toggle(kUnit - 1)->Press();
    CCanvasCtrl* display = panel.KnobDisplay(0);
    ParamRecord* param = display->IsActive() ? display->Param() : nullptr;
    if (panel.SelectedUnit() != kUnit || param == nullptr) {
        std::fprintf(stderr, "selftest: unit %d was not selected with a parameter on knob 1\n",
                     kUnit);
        SavePicture(panel, picturePath);
        return 1;
    }
    const int before = param->value;
    TurnKnob(panel.Knob(0), kTicks);
    const Status status = PanelConsole::ReadValuesNow();
    const int after = param->value;
    std::printf("selftest: unit %d knob 1 \"%s\" (parameter %d) %d -> %d\n", kUnit,
                param->name.c_str(), param->number, before, after);
    std::fflush(stdout);
    const bool saved = SavePicture(panel, picturePath);
    if (!saved) {
        std::fprintf(stderr, "selftest: cannot write %s\n", picturePath.c_str());
    }
    return status == Status::Ok && saved && after != before ? 0 : 1;
}
