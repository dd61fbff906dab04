#pragma once

class QWidget;

// Where the small dialogs open: centred across the screen (or across `placementWidth_px` when
// given), moved right by `extraRight_px`, and a third of the way down a 600-pixel-high screen.
void PlaceOnScreen(QWidget* dialog, int extraRight_px = 0, int placementWidth_px = 0);
