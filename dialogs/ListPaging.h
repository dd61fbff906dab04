#pragma once

class QListWidget;

// The row a paging button moves a list's selection to: `step` rows on from `row`, never
// before the first row nor past the last of `count` (-1 for an empty list).
inline int PagedRow(int row, int step, int count) {
    const int moved = row + step;
    if (moved < 0) {
        return count > 0 ? 0 : -1;
    }
    return moved < count ? moved : count - 1;
}

// Moves the selection of `list` to PagedRow; the list's own signals stay quiet, as for a
// selection the dialog makes itself.
void MoveListSelection(QListWidget* list, int step);
