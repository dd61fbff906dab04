#include "dialogs/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// The dialogs were placed for a screen 600 pixels high.
constexpr int kPlacementHeight_px = 600;

}  // namespace

void PlaceOnScreen(QWidget* dialog, int extraRight_px, int placementWidth_px) {
    const QScreen* screen =
        dialog->screen() != nullptr ? dialog->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect full = screen->geometry();
    // The rectangle is taken at the screen's top-left corner, so its right and bottom edges
    // are its width and height.
    const QSize size = dialog->frameGeometry().size();
    const int width = placementWidth_px > 0 ? placementWidth_px : full.width();
    const int x = full.x() + (width - size.width()) / 2 + extraRight_px;
    const int y = full.y() + (kPlacementHeight_px - size.height()) / 3;
    dialog->move(x, y);
}
