#pragma once

#include <QKeySequence>
#include <QObject>

#include "console/PanelHistory.h"

class CTavrinoxDlg;
class QMenu;

// Snapshots, the as-run log and undo on the window: their entries in the panel's menu, the
// undo key, and the source (mouse or keyboard) of the window's input for the log.
class HistoryOnPanel : public QObject {
    Q_OBJECT

  public:
    HistoryOnPanel(CTavrinoxDlg& panel, PanelHistory& history);
    ~HistoryOnPanel() override;
    HistoryOnPanel(const HistoryOnPanel&) = delete;
    HistoryOnPanel& operator=(const HistoryOnPanel&) = delete;

    // The questions the history asks, as the window's dialogs.
    static PanelHistory::Prompts Prompts(CTavrinoxDlg& panel);

  protected:
    // Notes whether the window's last input came from the mouse or the keyboard: the source
    // of the changes no action claims (a drag, a focused knob's keys).
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The undo key, as the panel takes it and its menu names it.
    static QKeySequence UndoKey();
    void AddMenuEntries(QMenu& menu);

    PanelHistory& m_history;
};
