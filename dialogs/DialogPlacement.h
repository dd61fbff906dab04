#pragma once

class QWidget;

// Where the small dialogs open: centred across the screen, moved right by `extraRight_px`,
// and a third of the way down a 600-pixel-high screen.
void PlaceOnScreen(QWidget* dialog, int extraRight_px = 0);
