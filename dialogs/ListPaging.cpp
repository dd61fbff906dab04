#include "dialogs/ListPaging.h"

#include <QListWidget>
#include <QSignalBlocker>

void MoveListSelection(QListWidget* list, int step) {
    const QSignalBlocker quiet(list);
    list->setCurrentRow(PagedRow(list->currentRow(), step, list->count()));
}
