// The panel's context menu: the settings this program adds to the panel, from a right click
// on the panel's background or from the keyboard (the Menu key, Shift+F10).
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMenu>

#include "panel/CTavrinoxDlg.h"

void CTavrinoxDlg::AddContextEntries(ContextEntries entries) {
    m_contextEntries.push_back(std::move(entries));
}

void CTavrinoxDlg::BuildContextMenu(QMenu& menu) {
    menu.setObjectName(QStringLiteral("panelContextMenu"));
    AddZoomEntries(menu);
    for (const ContextEntries& entries : m_contextEntries) {
        if (!menu.isEmpty()) {
            menu.addSeparator();
        }
        entries(menu);
    }
}

void CTavrinoxDlg::ShowContextMenu(const QPoint& globalPos) {
    QMenu menu(this);
    BuildContextMenu(menu);
    if (!menu.isEmpty()) {
        menu.exec(globalPos);
    }
}

// A control that has no menu of its own passes the event on to the panel.
void CTavrinoxDlg::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : mapToGlobal(QPoint(width() / 2, height() / 2));
    ShowContextMenu(at);
    event->accept();
}
