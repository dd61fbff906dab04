#include "dialogs/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// The dialogs were placed for a screen 600 pixels high.
constexpr int kPlacementHeight_px = 600;

}  // namespace

void PlaceOnScreen(QWidget* dialog, int extraRight_px) {
    const QScreen* screen =
        dialog->screen() != nullptr ? dialog->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect full = screen->geometry();
    const QSize size = dialog->frameGeometry().size();
    const int right = full.x() + size.width();
    const int bottom = full.y() + size.height();
    const int x = full.x() + (full.x() + full.width() - right) / 2 + extraRight_px;
    const int y = full.y() + (kPlacementHeight_px - bottom) / 3;
    dialog->move(x, y);
}
