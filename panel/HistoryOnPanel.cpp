#include "panel/HistoryOnPanel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QPointer>
#include <QShortcut>

#include "actions/OriginScope.h"
#include "dialogs/CAsRunLogDialog.h"
#include "dialogs/CDifferencesDialog.h"
#include "panel/CTavrinoxDlg.h"

HistoryOnPanel::HistoryOnPanel(CTavrinoxDlg& panel, PanelHistory& history)
    : QObject(&panel), m_history(history) {
    QPointer<HistoryOnPanel> self(this);
    panel.AddContextEntries([self](QMenu& menu) {
        if (self) {
            self->AddMenuEntries(menu);
        }
    });
    auto* undoKey = new QShortcut(UndoKey(), &panel);
    connect(undoKey, &QShortcut::activated, this, [this] { static_cast<void>(m_history.Undo()); });
    QCoreApplication::instance()->installEventFilter(this);
}

HistoryOnPanel::~HistoryOnPanel() {
    QCoreApplication::instance()->removeEventFilter(this);
    OriginScope::SetWindowInput(ActionSource::Mouse);
}

bool HistoryOnPanel::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            OriginScope::SetWindowInput(ActionSource::Keyboard);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            OriginScope::SetWindowInput(ActionSource::Mouse);
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

QKeySequence HistoryOnPanel::UndoKey() {
    return QKeySequence(Qt::CTRL | Qt::Key_Z);
}

void HistoryOnPanel::AddMenuEntries(QMenu& menu) {
    const auto add = [&](const char* text, std::function<void()> work) {
        QAction* action = menu.addAction(QString::fromUtf8(text));
        connect(action, &QAction::triggered, this, std::move(work));
        return action;
    };
    PanelHistory& history = m_history;
    add("Save snapshot...", [&history] { static_cast<void>(history.SaveSnapshot()); });
    add("Compare with snapshot...",
        [&history] { static_cast<void>(history.CompareWithSnapshot()); });
    add("Restore snapshot...", [&history] { static_cast<void>(history.RestoreSnapshot()); });
    add("Compare units...", [&history] { static_cast<void>(history.CompareUnits()); });
    add("Undo", [&history] { static_cast<void>(history.Undo()); })->setShortcut(UndoKey());
    add("As-run log...", [&history] { history.ShowLog(); });
}

PanelHistory::Prompts HistoryOnPanel::Prompts(CTavrinoxDlg& panel) {
    PanelHistory::Prompts prompts;
    prompts.chooseFile = [&panel](bool saving, const std::string& suggested) {
        const QString filter = tr("Snapshots (*.json)");
        const QString start = QString::fromStdString(suggested);
        const QString path =
            saving ? QFileDialog::getSaveFileName(&panel, tr("Save snapshot"), start, filter)
                   : QFileDialog::getOpenFileName(&panel, tr("Open snapshot"), start, filter);
        return path.toStdString();
    };
    prompts.showDifferences = [&panel](const std::string& heading, const std::string& thenTitle,
                                       const std::string& nowTitle,
                                       const std::vector<ValueDifference>& differences,
                                       bool askToRestore) {
        CDifferencesDialog dialog(&panel, heading, {thenTitle, nowTitle}, differences,
                                  askToRestore);
        return dialog.exec() == QDialog::Accepted;
    };
    prompts.chooseUnit = [&panel](const std::vector<int>& candidates) {
        QStringList names;
        for (const int unit : candidates) {
            names << QString::fromStdString(PanelHistory::UnitName(unit));
        }
        bool chosen = false;
        const QString name =
            QInputDialog::getItem(&panel, tr("Compare units"), tr("Compare the selected unit with"),
                                  names, 0, false, &chosen);
        const qsizetype index = names.indexOf(name);
        return chosen && index >= 0 ? candidates[static_cast<size_t>(index)] : 0;
    };
    prompts.showLog = [&panel](std::vector<std::string> lines) {
        CAsRunLogDialog dialog(&panel, std::move(lines));
        dialog.exec();
    };
    return prompts;
}
