#include "dialogs/GpiDialogBase.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <algorithm>

#include "dialogs/DialogPlacement.h"
#include "dialogs/ListPaging.h"
#include "link/FileCommands.h"
#include "link/GpiCommands.h"
#include "link/StorageTables.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"

namespace {

constexpr int kExtraRight_px = 2;

const FileDirectory& MainDirectory() {
    return DirectoryOf(FileKind::Main);
}

int DirectoryCount() {
    return std::clamp(MainDirectory().count, 0, kDirectorySlots);
}

// The name of the main-directory file whose id has the low byte `fileId`.
QString EventName(uint8_t fileId) {
    const FileDirectory& directory = MainDirectory();
    for (int i = 0; i < DirectoryCount(); ++i) {
        if ((directory.entries[static_cast<size_t>(i)].fileId & 0xFF) == fileId) {
            return QString::fromLatin1(directory.entries[static_cast<size_t>(i)].Name().c_str());
        }
    }
    return QObject::tr("(file %1 not in the directory)").arg(fileId);
}

int ListedEventCount(int sequence) {
    return std::clamp(g_gpiList.entries[static_cast<size_t>(sequence)].eventCount, 0,
                      kMaxGpiEvents);
}

}  // namespace

CGpiDialogBase::CGpiDialogBase(QWidget* parent) : QDialog(parent) {}

int CGpiDialogBase::SequenceCount() const {
    return std::clamp(g_gpiList.count, 0, kGpiSlots);
}

int CGpiDialogBase::CurrentSequence() const {
    const int index = m_controls.tabs->currentIndex();
    return index >= 0 && index < SequenceCount() ? index : -1;
}

void CGpiDialogBase::Open(const GpiControls& controls) {
    m_controls = controls;
    setWindowTitle(QString::fromLatin1(g_menuTable[kMenu].title.c_str()));
    const Status listStatus = ReadGpiEventList();
    {
        const QSignalBlocker quiet(m_controls.tabs);
        for (int n = 1; n <= SequenceCount(); ++n) {
            m_controls.tabs->addTab(QStringLiteral("   GPI %1       ").arg(n));
        }
    }
    ReadSettings();
    const Status filesStatus = ReadFileList(FileKind::Main);
    for (int i = 0; i < DirectoryCount(); ++i) {
        m_controls.files->addItem(
            QString::fromLatin1(MainDirectory().entries[static_cast<size_t>(i)].Name().c_str()));
    }
    m_controls.files->setCurrentRow(m_controls.files->count() > 0 ? 0 : -1);
    const int first = FirstSequence();
    {
        const QSignalBlocker quiet(m_controls.tabs);
        m_controls.tabs->setCurrentIndex(first >= 0 && first < SequenceCount() ? first : 0);
    }
    if (CurrentSequence() >= 0) {
        ListEvents(CurrentSequence());
        ShowSettings(CurrentSequence());
    }
    if (listStatus != Status::Ok || filesStatus != Status::Ok) {
        ShowStatus(
            "The Main Unit did not send its GPI sequences or its files completely. "
            "Check the connection and open the dialog again.");
    } else if (SequenceCount() == 0) {
        ShowStatus("The Main Unit reports no GPI sequences.");
    }

    connect(m_controls.tabs, &QTabBar::currentChanged, this, &CGpiDialogBase::OnTabChanged);
    // A click on the tab on show changes nothing, yet reads its events again.
    connect(m_controls.tabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index == m_controls.tabs->currentIndex()) {
            OnTabChanged(index);
        }
    });
    connect(m_controls.events, &QListWidget::currentRowChanged, this,
            &CGpiDialogBase::OnEventClicked);
    m_controls.events->viewport()->installEventFilter(this);
    connect(m_controls.add, &QPushButton::clicked, this, &CGpiDialogBase::Add);
    connect(m_controls.remove, &QPushButton::clicked, this, &CGpiDialogBase::Remove);
    connect(m_controls.removeAll, &QPushButton::clicked, this, &CGpiDialogBase::RemoveAll);
    connect(m_controls.stepUp, &QPushButton::clicked, this, &CGpiDialogBase::StepUp);
    connect(m_controls.stepDown, &QPushButton::clicked, this, &CGpiDialogBase::StepDown);
    connect(m_controls.reset, &QPushButton::clicked, this, &CGpiDialogBase::ResetPointer);
    connect(m_controls.up, &QPushButton::clicked, this, [this] { PageFiles(-1); });
    connect(m_controls.down, &QPushButton::clicked, this, [this] { PageFiles(1); });
    connect(m_controls.pageUp, &QPushButton::clicked, this, [this] { PageFiles(-kFilesPage); });
    connect(m_controls.pageDown, &QPushButton::clicked, this, [this] { PageFiles(kFilesPage); });
    connect(m_controls.close, &QPushButton::clicked, this, &QDialog::reject);
}

void CGpiDialogBase::ListEvents(int sequence) {
    const QSignalBlocker quiet(m_controls.events);
    m_controls.events->clear();
    const GpiSequenceRecord& record = g_gpiSequence[sequence];
    // The record just read knows the events best; the list's count stands in when it failed.
    const bool read =
        ReadGpiSequence(static_cast<uint8_t>(sequence), GpiSequenceAction::Read) == Status::Ok;
    const int count =
        std::min<int>(read ? record.eventCount : ListedEventCount(sequence), kMaxGpiEvents);
    if (!read) {
        ShowStatus("The Main Unit did not send the events of GPI " + std::to_string(sequence + 1) +
                   ". Check the connection and try again.");
    }
    for (int i = 0; i < count; ++i) {
        m_controls.events->addItem(EventName(record.eventFile[static_cast<size_t>(i)]));
    }
    SelectPointerEvent(sequence);
}

// The event the unit recalls next, or the last one when its pointer is at none.
void CGpiDialogBase::SelectPointerEvent(int sequence) {
    const int pointer = g_gpiSequence[sequence].step;
    SelectEvent(pointer != 0 ? pointer - 1 : m_controls.events->count() - 1);
}

void CGpiDialogBase::SelectEvent(int row) {
    const QSignalBlocker quiet(m_controls.events);
    m_controls.events->setCurrentRow(row >= 0 && row < m_controls.events->count() ? row : -1);
}

void CGpiDialogBase::OnTabChanged(int sequence) {
    if (sequence >= 0 && sequence < SequenceCount()) {
        ShowStatus("");
        ListEvents(sequence);
        ShowSettings(sequence);
    }
}

// Choosing an event puts the unit's pointer on it.
void CGpiDialogBase::OnEventClicked(int row) {
    const int sequence = CurrentSequence();
    if (sequence >= 0 && row >= 0) {
        MovePointer(sequence, row + 1);
    }
}

// A plain click on the current event changes no row, yet puts the pointer on it again; a
// Ctrl+click only takes the selection away.
bool CGpiDialogBase::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_controls.events->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const int row = m_controls.events->indexAt(press->position().toPoint()).row();
        if (press->button() == Qt::LeftButton && !(press->modifiers() & Qt::ControlModifier) &&
            row >= 0 && row == m_controls.events->currentRow()) {
            OnEventClicked(row);
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The selected event's row, -1 with none: the current row may be left unselected.
int CGpiDialogBase::SelectedEvent() const {
    const QList<QListWidgetItem*> selected = m_controls.events->selectedItems();
    return selected.isEmpty() ? -1 : m_controls.events->row(selected.front());
}

void CGpiDialogBase::Add() {
    const int sequence = CurrentSequence();
    const int file = m_controls.files->currentRow();
    if (sequence < 0 || file < 0 || file >= DirectoryCount()) {
        return;
    }
    const int selected = SelectedEvent();
    const int position = selected >= 0 ? selected : ListedEventCount(sequence);
    const auto fileId =
        static_cast<uint8_t>(MainDirectory().entries[static_cast<size_t>(file)].fileId & 0xFF);
    const Status status =
        SetGpiEvent(static_cast<uint8_t>(sequence), static_cast<uint8_t>(std::min(position, 255)),
                    kGpiEventInsert, fileId);
    // The list is shown again whatever the edit did, so a failed read leaves the old one.
    static_cast<void>(ReadGpiEventList());
    ListEvents(sequence);
    ReportEdit(status, "adding the event");
}

void CGpiDialogBase::Remove() {
    const int sequence = CurrentSequence();
    const int selected = SelectedEvent();
    if (sequence < 0 || selected < 0) {
        return;
    }
    const Status status =
        SetGpiEvent(static_cast<uint8_t>(sequence), static_cast<uint8_t>(std::min(selected, 255)),
                    kGpiEventRemove, 0);
    static_cast<void>(ReadGpiEventList());
    ListEvents(sequence);
    ReportEdit(status, "removing the event");
}

// The first event, as often as there are events; a unit that stops answering ends it.
void CGpiDialogBase::RemoveAll() {
    const int sequence = CurrentSequence();
    if (sequence < 0) {
        return;
    }
    Status status = Status::Ok;
    for (int i = m_controls.events->count(); i > 0 && status != Status::NoAnswer; --i) {
        status = SetGpiEvent(static_cast<uint8_t>(sequence), 0, kGpiEventRemove, 0);
    }
    static_cast<void>(ReadGpiEventList());
    ListEvents(sequence);
    ReportEdit(status, "removing the events");
}

void CGpiDialogBase::StepDown() {
    const int sequence = CurrentSequence();
    if (sequence < 0) {
        return;
    }
    static_cast<void>(ReadGpiSequence(static_cast<uint8_t>(sequence), GpiSequenceAction::Step));
    Wait(kStepPause_ms);
    static_cast<void>(ReadGpiSequence(static_cast<uint8_t>(sequence), GpiSequenceAction::Read));
    SelectPointerEvent(sequence);
}

void CGpiDialogBase::StepUp() {
    const int selected = SelectedEvent();
    if (selected >= 1) {
        PlacePointer(selected);
    }
}

void CGpiDialogBase::ResetPointer() {
    PlacePointer(0);
}

// Moves the pointer, then shows where the unit says it is.
void CGpiDialogBase::PlacePointer(int steps) {
    const int sequence = CurrentSequence();
    if (sequence < 0) {
        return;
    }
    MovePointer(sequence, steps);
    static_cast<void>(ReadGpiSequence(static_cast<uint8_t>(sequence), GpiSequenceAction::Read));
    SelectPointerEvent(sequence);
}

bool CGpiDialogBase::MovePointer(int sequence, int steps) {
    const auto gpi = static_cast<uint8_t>(sequence);
    if (ReadGpiSequence(gpi, GpiSequenceAction::Reset) != Status::Ok) {
        ShowStatus("The Main Unit did not reset the pointer of GPI " +
                   std::to_string(sequence + 1) + ". Check the connection and try again.");
        return false;
    }
    for (int step = 1; step <= steps; ++step) {
        if (steps > 1) {
            ShowStatus("Moving the pointer: " + std::to_string(step) + " of " +
                       std::to_string(steps));
        }
        if (ReadGpiSequence(gpi, GpiSequenceAction::Step) != Status::Ok) {
            ShowStatus("The Main Unit stopped answering after " + std::to_string(step - 1) +
                       " steps of the pointer. Check the connection and try again.");
            return false;
        }
        Wait(kStepPause_ms);
    }
    ShowStatus("");
    return true;
}

void CGpiDialogBase::PageFiles(int step) {
    m_controls.files->setCurrentRow(
        PagedRow(m_controls.files->currentRow(), step, m_controls.files->count()));
}

void CGpiDialogBase::ReportEdit(Status status, const char* what) {
    if (status != Status::Ok) {
        ShowStatus(std::string("The Main Unit did not confirm ") + what +
                   "; the list shows what it holds. Try again.");
    }
}

// Shown at once: the pointer moves run without returning to the event loop.
void CGpiDialogBase::ShowStatus(const std::string& text) {
    m_controls.status->setText(QString::fromLatin1(text.c_str()));
    m_controls.status->repaint();
}

void CGpiDialogBase::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this, kExtraRight_px);
}

// Enter does nothing here: only "Close" or Escape end the dialog.
void CGpiDialogBase::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
