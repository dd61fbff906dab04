#include "dialogs/COnAirDialog.h"

#include <QListWidget>

#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/ListPaging.h"
#include "dialogs/LockoutItems.h"
#include "link/Framing.h"
#include "link/LockoutCommands.h"
#include "link/ParameterCommands.h"
#include "link/SetOnAirLockout.h"
#include "model/PanelModel.h"
#include "platform/Prompter.h"
#include "ui_COnAirDialog.h"

namespace {

constexpr int kExtraRight_px = 2;
constexpr int kNumberRole = Qt::UserRole;

const char* const kLockAllQuestion = "Are you sure you want to LOCK all of the controls?";
const char* const kUnlockAllQuestion =
    "Are you sure you want to UNLOCK all of the controls?   You should consider disabling this "
    "feature rather than unlocking all of the controls!";
const char* const kTablesNotRead =
    "The Main Unit did not send its lock-out tables; the lists show what it reported before. "
    "Check the connection and try again.";

void AddItem(QListWidget* list, const LockoutItem& item) {
    auto* row = new QListWidgetItem(QString::fromLatin1(item.name.c_str()), list);
    row->setData(kNumberRole, item.number);
}

}  // namespace

COnAirDialog::COnAirDialog(int enableFunction, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::COnAirDialog>()),
      m_enableFunction(enableFunction) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    m_ui->enabledCheck->setChecked(FunctionValue(m_enableFunction) != 0);
    connect(m_ui->unlockButton, &QPushButton::clicked, this, [this] { MoveSelected(false); });
    connect(m_ui->lockButton, &QPushButton::clicked, this, [this] { MoveSelected(true); });
    connect(m_ui->lockAllButton, &QPushButton::clicked, this, [this] { SetAll(true); });
    connect(m_ui->unlockAllButton, &QPushButton::clicked, this, [this] { SetAll(false); });
    connect(m_ui->homeButton, &QPushButton::clicked, this, [this] { SelectLocked(0); });
    connect(m_ui->endButton, &QPushButton::clicked, this,
            [this] { SelectLocked(m_ui->lockedList->count() - 1); });
    connect(m_ui->upButton, &QPushButton::clicked, this, [this] { PageLocked(-1); });
    connect(m_ui->downButton, &QPushButton::clicked, this, [this] { PageLocked(1); });
    connect(m_ui->pageUpButton, &QPushButton::clicked, this, [this] { PageLocked(-kPageStep); });
    connect(m_ui->pageDownButton, &QPushButton::clicked, this, [this] { PageLocked(kPageStep); });
    connect(m_ui->enabledCheck, &QCheckBox::clicked, this, &COnAirDialog::OnEnabledClicked);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::reject);
    if (!FillLists()) {
        ShowStatus(kTablesNotRead);
    }
    SelectLocked(0);
    m_ui->lockedList->setFocus();
}

COnAirDialog::~COnAirDialog() = default;

void COnAirDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this, kExtraRight_px);
}

// Both lists from a fresh read of the unit's tables; false when the read failed.
bool COnAirDialog::FillLists() {
    m_ui->lockedList->clear();
    m_ui->unlockedList->clear();
    const Status status = ReadOnAirLockout();
    for (const LockoutItem& item : CollectLockoutItems()) {
        AddItem(item.locked ? m_ui->lockedList : m_ui->unlockedList, item);
    }
    return status == Status::Ok;
}

void COnAirDialog::SelectLocked(int row) {
    QListWidget* list = m_ui->lockedList;
    list->setCurrentRow(std::min(row, list->count() - 1));
    list->setFocus();
}

void COnAirDialog::PageLocked(int step) {
    SelectLocked(PagedRow(m_ui->lockedList->currentRow(), step, m_ui->lockedList->count()));
}

// "----->" releases the selected locked control, "<-----" locks the selected unlocked one.
void COnAirDialog::MoveSelected(bool lock) {
    QListWidget* from = lock ? m_ui->unlockedList : m_ui->lockedList;
    const int lockedRow = m_ui->lockedList->currentRow();
    const QListWidgetItem* item = from->currentItem();
    m_modified = true;
    if (item == nullptr) {
        return;
    }
    const QString name = item->text();
    const auto number = static_cast<uint8_t>(item->data(kNumberRole).toInt());
    const Status status = SetOnAirLockout(number, lock ? kLockStateLocked : kLockStateUnlocked);
    const bool read = FillLists();
    SelectLocked(lock ? 0 : lockedRow);
    if (status != Status::Ok) {
        ShowStatus("The Main Unit did not confirm " + std::string(lock ? "locking" : "unlocking") +
                   " \"" + name.toLatin1().toStdString() +
                   "\"; the lists show its actual state. Try again.");
    } else {
        ShowStatus(read ? "" : kTablesNotRead);
    }
}

void COnAirDialog::SetAll(bool lock) {
    m_modified = true;
    const PromptAnswer answer = CurrentPrompter().Show(lock ? kLockAllQuestion : kUnlockAllQuestion,
                                                       windowTitle().toStdString(),
                                                       PromptIcon::Question, PromptButtons::YesNo);
    if (answer != PromptAnswer::Yes) {
        return;
    }
    const std::vector<uint8_t> numbers = AllLockoutNumbers();
    const std::string verb = lock ? "Locking" : "Unlocking";
    const uint8_t state = lock ? kLockStateLocked : kLockStateUnlocked;
    int refused = 0;
    int done = 0;
    for (uint8_t number : numbers) {
        ShowStatus(verb + " controls: " + std::to_string(done + 1) + " of " +
                   std::to_string(numbers.size()));
        const Status status = SetLockoutWithRetry(number, state);
        // A unit that stays silent for a control twice is gone; the rest would wait for
        // nothing.
        if (status == Status::NoAnswer) {
            break;
        }
        refused += status == Status::Ok ? 0 : 1;
        ++done;
    }
    const bool read = FillLists();
    SelectLocked(0);
    const int total = static_cast<int>(numbers.size());
    if (done < total) {
        ShowStatus("The Main Unit stopped answering after " + std::to_string(done) + " of " +
                   std::to_string(total) + " controls. Check the connection and try again.");
    } else if (refused > 0) {
        ShowStatus("The Main Unit refused " + std::to_string(refused) + " of " +
                   std::to_string(total) + " controls; the lists show its actual state.");
    } else {
        ShowStatus(read ? "" : kTablesNotRead);
    }
}

// Like every other action of the dialog, the switch marks it modified, so the panel runs its
// file-system update after it, as it does for a changed lock.
void COnAirDialog::OnEnabledClicked(bool checked) {
    m_modified = true;
    const Status status = SetParameterByte(static_cast<uint8_t>(m_enableFunction), checked ? 1 : 0);
    if (status != Status::Ok) {
        m_ui->enabledCheck->setChecked(!checked);
        ShowStatus(std::string("The Main Unit did not confirm switching the lock-out ") +
                   (checked ? "on" : "off") + ". Check the connection and try again.");
        return;
    }
    ShowStatus("");
}

// Shown at once: long work runs without returning to the event loop.
void COnAirDialog::ShowStatus(const std::string& text) {
    m_ui->statusLabel->setText(QString::fromLatin1(text.c_str()));
    m_ui->statusLabel->repaint();
}
