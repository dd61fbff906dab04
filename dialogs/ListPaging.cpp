#include "dialogs/ListPaging.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>

void MoveListSelection(QListWidget* list, int step) {
    const int row = list->currentRow();
    const int target = step < 0 ? std::max(row + step, 0) : std::min(row + step, list->count() - 1);
    const QSignalBlocker quiet(list);
    list->setCurrentRow(target);
}
