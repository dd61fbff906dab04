#pragma once

class QListWidget;

// Moves the selection of `list` by `step` rows (negative: up), stopping at the first and the
// last row; the list's own signals stay quiet, as for a selection the dialog makes itself.
// Moving down in an empty list leaves no selection.
void MoveListSelection(QListWidget* list, int step);
