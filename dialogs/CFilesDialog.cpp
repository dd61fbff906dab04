#include "dialogs/CFilesDialog.h"

#include <QKeyEvent>
#include <QShowEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "controls/PaintHelpers.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/LinkOutcome.h"
#include "dialogs/ListPaging.h"
#include "dialogs/StoredNames.h"
#include "link/FileCommands.h"
#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "platform/Prompter.h"
#include "ui_CFilesDialog.h"

namespace {

// Right of the centre, like the other storage dialogs.
constexpr int kExtraRight_px = 2;

// A list that fails is read again this often, unless the unit did not answer at all: a
// silent unit would only keep the user waiting longer.
constexpr int kListAttempts = 3;
// Identify requests after a change, until the unit reports its status (about 200 ms each
// when it stays silent).
constexpr int kStatusWaitAttempts = 25;
constexpr int kPageStep = 12;
constexpr int kUnits = 4;
// Message numbers whose text the unit sends on request.

constexpr char kStatusPrefix[] = " Status: ";

}  // namespace

FilesDialogSetup FilesDialogSetupFrom(int argument) {
    FilesDialogSetup setup;
    setup.kind = (argument & 1) != 0 ? FileKind::User : FileKind::Main;
    for (int unit = 1; unit <= kUnits; ++unit) {
        setup.transferEnabled[static_cast<size_t>(unit - 1)] = (argument & (1 << unit)) != 0;
    }
    return setup;
}

CFilesDialog::CFilesDialog(const FilesDialogSetup& setup, QWidget* parent)
    : QDialog(parent), m_setup(setup), m_ui(std::make_unique<Ui::CFilesDialog>()) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    // Named before it shows, so the caption never changes on the screen.
    setWindowTitle(Caption());
    m_transferButton = {m_ui->transferButton1, m_ui->transferButton2, m_ui->transferButton3,
                        m_ui->transferButton4};

    connect(m_ui->fileList, &QListWidget::currentRowChanged, this,
            &CFilesDialog::OnSelectionChange);
    connect(m_ui->filenameEdit, &QLineEdit::textChanged, this, &CFilesDialog::OnFilenameChange);
    connect(m_ui->loadButton, &QPushButton::clicked, this, &CFilesDialog::OnLoad);
    connect(m_ui->saveButton, &QPushButton::clicked, this, &CFilesDialog::OnSave);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, &CFilesDialog::OnDelete);
    connect(m_ui->renameButton, &QPushButton::clicked, this, &CFilesDialog::OnRename);
    for (int unit = 1; unit <= kUnits; ++unit) {
        connect(m_transferButton[static_cast<size_t>(unit - 1)], &QPushButton::clicked, this,
                [this, unit] { OnTransfer(unit); });
    }
    connect(m_ui->pageUpButton, &QPushButton::clicked, this, [this] { OnPage(-kPageStep); });
    connect(m_ui->upButton, &QPushButton::clicked, this, [this] { OnPage(-1); });
    connect(m_ui->downButton, &QPushButton::clicked, this, [this] { OnPage(1); });
    connect(m_ui->pageDownButton, &QPushButton::clicked, this, [this] { OnPage(kPageStep); });
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

CFilesDialog::~CFilesDialog() = default;

void CFilesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this, kExtraRight_px);
}

bool CFilesDialog::OnInitDialog() {
    RefreshList();
    if (QListWidgetItem* first = m_ui->fileList->currentItem()) {
        m_ui->filenameEdit->setText(first->text());
    }
    m_ui->fileList->setFocus();
    // A user-directory file cannot be read for a copy: the unit sends main-directory files.
    const int selected = UnitOfAddress(g_currentUnitAddress);
    for (int unit = 1; unit <= kUnits; ++unit) {
        m_transferButton[static_cast<size_t>(unit - 1)]->setEnabled(
            m_setup.kind == FileKind::Main && unit != selected &&
            m_setup.transferEnabled[static_cast<size_t>(unit - 1)]);
    }
    return true;
}

FileDirectory& CFilesDialog::Directory() const {
    return DirectoryOf(m_setup.kind);
}

QString CFilesDialog::Caption() const {
    if (m_setup.kind == FileKind::Main) {
        return QStringLiteral("Files");
    }
    return IsCompactModel(g_unitStatus[kStatusByteModel]) ? QStringLiteral("User Files")
                                                          : QStringLiteral("Preferences");
}

void CFilesDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::optional<int> CFilesDialog::SelectedPosition() const {
    const int row = m_ui->fileList->currentRow();
    if (row < 0 || row >= m_ui->fileList->count()) {
        return std::nullopt;
    }
    return row;
}

std::optional<CFilesDialog::ChosenFile> CFilesDialog::Chosen(const char* action) {
    const std::optional<int> position = SelectedPosition();
    if (!position) {
        ShowStatus(QStringLiteral(" Status: Choose the file to %1 in the list.").arg(action));
        return std::nullopt;
    }
    const DirectoryEntry& entry = Directory().entries[static_cast<size_t>(*position)];
    return ChosenFile{m_ui->fileList->item(*position)->text(), static_cast<uint16_t>(entry.fileId)};
}

std::optional<int> CFilesDialog::Lookup(const QString& name) const {
    for (int i = 0; i < m_ui->fileList->count(); ++i) {
        if (m_ui->fileList->item(i)->text() == name) {
            return i;
        }
    }
    return std::nullopt;
}

ListOutcome CFilesDialog::RefreshList() {
    m_ui->fileList->clear();
    ShowStatus(QStringLiteral(" Status: Reading the file list..."));
    FileDirectory& directory = Directory();
    Status status = Status::Ok;
    ListOutcome outcome = ListOutcome::Failed;
    for (int attempt = 0; attempt < kListAttempts; ++attempt) {
        outcome = ReadListIntoTable([this] { return ReadFileList(m_setup.kind); }, directory.stored,
                                    kDirectorySlots, status);
        if (outcome != ListOutcome::Failed || status == Status::NoAnswer ||
            status == Status::WriteFailed) {
            break;
        }
    }
    if (outcome == ListOutcome::Failed) {
        ShowStatus(QStringLiteral(" Status: The file list could not be read."));
        ReportFailure(QStringLiteral("The unit did not send its file list: %1.\n\nCheck that the "
                                     "unit is switched on and connected, then open this "
                                     "dialog again.")
                          .arg(FailureReason(status)));
        return outcome;
    }
    // The dialog's own selection leaves the filename box alone.
    const QSignalBlocker programmatic(m_ui->fileList);
    const int count = std::clamp<int>(directory.count, 0, kDirectoryMaxCount);
    for (int i = 0; i < count; ++i) {
        m_ui->fileList->addItem(PanelString(directory.entries[static_cast<size_t>(i)].Name()));
    }
    m_ui->fileList->setCurrentRow(count > 0 ? 0 : -1);
    ShowStatus(outcome == ListOutcome::Filled
                   ? QStringLiteral(" Status: The unit holds more files than the list can "
                                    "show; the first %1 are listed.")
                         .arg(count)
                   : QStringLiteral(" Status:"));
    return outcome;
}

void CFilesDialog::OnSelectionChange() {
    if (const std::optional<int> position = SelectedPosition()) {
        m_ui->filenameEdit->setText(m_ui->fileList->item(*position)->text());
    }
}

void CFilesDialog::OnFilenameChange() {
    const QString text = m_ui->filenameEdit->text();
    m_ui->saveButton->setEnabled(!text.isEmpty());
    m_ui->renameButton->setEnabled(!text.isEmpty());
    if (text.size() > kMaxNameLength) {
        m_ui->filenameEdit->setText(text.left(kMaxNameLength));
        CurrentPrompter().Show("Filename is limited to 23 characters.", UnitText(windowTitle()),
                               PromptIcon::Warning, PromptButtons::Ok);
    }
}

bool CFilesDialog::CheckTypedName(const QString& name) {
    if (const std::optional<QString> problem = StoredNameProblem(name, QStringLiteral("file"))) {
        ReportFailure(*problem);
        return false;
    }
    return true;
}

void CFilesDialog::ShowStatus(const QString& text) {
    m_ui->statusLabel->setText(text);
    m_ui->statusLabel->repaint();
}

void CFilesDialog::ShowDone(const QString& name, const char* suffix) {
    ShowStatus(kStatusPrefix + QStringLiteral("File ") + name + QString::fromLatin1(suffix));
}

void CFilesDialog::ReportFailure(const QString& text) {
    ShowStopBox(UnitText(text), UnitText(windowTitle()));
}

void CFilesDialog::ReportNotDone(const QString& name, const char* done, const char* action,
                                 Status status) {
    ShowStatus(QStringLiteral(" Status: File %1 was not %2.").arg(name, done));
    ReportFailure(QStringLiteral("File %1 was not %2: %3.\n\nCheck the unit and try %4 again.")
                      .arg(name, done, FailureReason(status), action));
}

// A unit that stays silent keeps the status last read; the command that follows reports it.
void CFilesDialog::WaitForUnitStatus() {
    static_cast<void>(IdentifySelectedUnitRepeatedly(kStatusWaitAttempts));
}

void CFilesDialog::ShowUnitMessage() {
    const uint8_t message = g_unitStatus[kStatusByteMessage];
    if (message == 0) {
        return;
    }
    std::string text;
    if (IsFetchedMessage(message)) {
        if (ReadUnitMessage() == Status::Ok) {
            text = g_unitMessage;
        }
    } else if (message < kMessageCount) {
        text = g_messageTable[message].text;
    }
    if (text.empty()) {
        text = "The unit reports message " + std::to_string(message) + ".";
    }
    CurrentPrompter().Show(text, UnitText(windowTitle()), PromptIcon::Information,
                           PromptButtons::Ok);
}

void CFilesDialog::OnLoad() {
    const std::optional<ChosenFile> chosen = Chosen("load");
    if (!chosen) {
        return;
    }
    const QString& name = chosen->name;
    ShowStatus(QStringLiteral(" Status: Loading file %1...").arg(name));
    const Status status = LoadFile(m_setup.kind, static_cast<uint8_t>(chosen->id & 0xFF));
    if (status == Status::Ok) {
        ShowDone(name, " has been loaded!");
    } else if (status == Status::WrongLength && m_setup.kind == FileKind::User) {
        ShowStatus(
            QStringLiteral(" Status: File %1 has been loaded without its custom menus.").arg(name));
        ReportFailure(QStringLiteral("The unit loaded file %1, but its answer was too short to "
                                     "carry the custom menus; they were left as they were.")
                          .arg(name));
    } else {
        ReportNotDone(name, "loaded", "Load", status);
    }
}

void CFilesDialog::OnSave() {
    const QString name = m_ui->filenameEdit->text();
    if (!CheckTypedName(name)) {
        return;
    }
    const std::optional<int> found = Lookup(name);
    const std::string unitName = UnitText(name);
    uint16_t id = kNewFileId;
    if (found) {
        const PromptAnswer answer = CurrentPrompter().Show(
            "The file already exists.  Do you want to replace it?", UnitText(windowTitle()),
            PromptIcon::Question, PromptButtons::YesNo);
        if (answer != PromptAnswer::Yes) {
            EndSave();
            return;
        }
        id = static_cast<uint16_t>(Directory().entries[static_cast<size_t>(*found)].fileId);
        ShowStatus(QStringLiteral(" Status: Replacing file %1...").arg(name));
        const Status status = DeleteFile(m_setup.kind, id);
        if (status != Status::Ok) {
            EndSave();
            ShowStatus(QStringLiteral(" Status: File %1 was not replaced.").arg(name));
            ReportFailure(QStringLiteral("File %1 was not replaced: %2.\n\nThe stored file is "
                                         "unchanged; try Save again.")
                              .arg(name, FailureReason(status)));
            return;
        }
        m_filesChanged = true;
    }
    // The file records the menu the unit shows now, which may have changed since the panel
    // last asked.
    WaitForUnitStatus();
    ShowStatus(QStringLiteral(" Status: Saving file %1...").arg(name));
    const Status status = WriteFileEntry(id, unitName, g_unitStatus[kStatusByteMenu], m_setup.kind);
    // The unit's own list is its word that the file is stored; a list that filled may not
    // reach the file, and then the unit's answer has to do. Saving again would store it twice.
    const ListOutcome outcome = RefreshList();
    const bool listed = outcome != ListOutcome::Failed;
    const bool saved = status == Status::Ok && listed &&
                       (Lookup(name).has_value() || outcome == ListOutcome::Filled);
    EndSave();
    if (saved) {
        m_filesChanged = true;
        ShowDone(name, " has been saved!");
        return;
    }
    ShowStatus(QStringLiteral(" Status: File %1 was not saved.").arg(name));
    if (!listed) {
        return;  // the list failure has been reported
    }
    const QString reason =
        status != Status::Ok ? FailureReason(status) : QStringLiteral("the unit did not store it");
    const QString advice =
        Directory().count >= kDirectoryMaxCount
            ? QStringLiteral("The directory is full: delete a file, then save again.")
            : QStringLiteral("Check the unit and try Save again.");
    ReportFailure(QStringLiteral("File %1 was not saved: %2.%3\n\n%4")
                      .arg(name, reason,
                           found ? QStringLiteral(" The file it was to replace has been deleted.")
                                 : QString(),
                           advice));
}

void CFilesDialog::EndSave() {
    m_ui->saveButton->setEnabled(false);
    m_ui->filenameEdit->clear();
}

void CFilesDialog::OnDelete() {
    const std::optional<ChosenFile> chosen = Chosen("delete");
    if (!chosen) {
        return;
    }
    const QString& name = chosen->name;
    ShowStatus(QStringLiteral(" Status: Deleting file %1...").arg(name));
    const Status status = DeleteFile(m_setup.kind, chosen->id);
    WaitForUnitStatus();
    ShowUnitMessage();
    const bool listed = RefreshList() != ListOutcome::Failed;
    if (status == Status::Ok) {
        m_filesChanged = true;
        ShowDone(name, " has been deleted!");
        return;
    }
    if (listed) {
        ReportNotDone(name, "deleted", "Delete", status);
    } else {
        ShowStatus(QStringLiteral(" Status: File %1 was not deleted.").arg(name));
    }
}

void CFilesDialog::OnRename() {
    const QString newName = m_ui->filenameEdit->text();
    if (!CheckTypedName(newName)) {
        return;
    }
    if (Lookup(newName)) {
        CurrentPrompter().Show("The file already exists.  Please select a different filename?",
                               UnitText(windowTitle()), PromptIcon::Warning, PromptButtons::Ok);
        m_ui->filenameEdit->clear();
        return;
    }
    const std::optional<ChosenFile> chosen = Chosen("rename");
    if (!chosen) {
        return;
    }
    const QString& oldName = chosen->name;
    // The new entry goes first, so a directory the list shows full has no room for it.
    if (Directory().count >= kDirectoryMaxCount) {
        ShowStatus(QStringLiteral(" Status: File %1 was not renamed.").arg(oldName));
        ReportFailure(QStringLiteral("File %1 cannot be renamed while the directory is full: the "
                                     "file is stored under its new name before the old one is "
                                     "deleted.\n\nDelete a file, then try Rename again.")
                          .arg(oldName));
        return;
    }
    ShowStatus(QStringLiteral(" Status: Renaming file %1...").arg(oldName));
    m_ui->filenameEdit->clear();

    // The new entry first: should the unit refuse it, the old file is still there.
    WaitForUnitStatus();
    Status status =
        WriteFileEntry(kNewFileId, UnitText(newName), g_unitStatus[kStatusByteMenu], m_setup.kind);
    const bool listed = RefreshList() != ListOutcome::Failed;
    if (status != Status::Ok || !listed || !Lookup(newName)) {
        ShowStatus(QStringLiteral(" Status: File %1 was not renamed.").arg(oldName));
        if (listed) {
            ReportFailure(
                QStringLiteral("File %1 was not renamed: %2.\n\nIt keeps its old name; "
                               "try Rename again.")
                    .arg(oldName, status != Status::Ok
                                      ? FailureReason(status)
                                      : QStringLiteral("the unit did not store %1").arg(newName)));
        }
        return;
    }
    m_filesChanged = true;
    status = DeleteFile(m_setup.kind, chosen->id);
    RefreshList();
    if (status != Status::Ok) {
        ShowStatus(QStringLiteral(" Status: File %1 was stored; %2 is still there.")
                       .arg(newName, oldName));
        ReportFailure(QStringLiteral("File %1 was stored, but the unit did not delete the old "
                                     "file %2: %3.\n\nDelete %2 to finish the rename.")
                          .arg(newName, oldName, FailureReason(status)));
        return;
    }
    ShowDone(newName, " has been renamed!");
}

void CFilesDialog::OnTransfer(int unit) {
    const std::optional<ChosenFile> chosen = Chosen("copy");
    if (m_setup.kind != FileKind::Main || !chosen) {
        return;
    }
    const QString& name = chosen->name;
    const int source = UnitOfAddress(g_currentUnitAddress);
    ShowStatus(QStringLiteral(" Status: Reading file %1 from unit %2...").arg(name).arg(source));
    Status status = ReadFileData(static_cast<uint8_t>(chosen->id & 0xFF));
    if (status != Status::Ok) {
        const QString reason =
            status == Status::WrongLength && g_transferBuffer.length >= kTransferBufferSize
                ? QStringLiteral("the file is larger than the %1 bytes the panel can carry")
                      .arg(kTransferBufferSize)
                : FailureReason(status);
        ShowStatus(QStringLiteral(" Status: File %1 was not copied.").arg(name));
        ReportFailure(QStringLiteral("File %1 was not copied to unit %2: reading it from unit %3 "
                                     "failed: %4.\n\nNothing was sent to unit %2. Try the copy "
                                     "again.")
                          .arg(name)
                          .arg(unit)
                          .arg(source)
                          .arg(reason));
        return;
    }
    ShowStatus(QStringLiteral(" Status: Sending file %1 to unit %2 (%3 bytes)...")
                   .arg(name)
                   .arg(unit)
                   .arg(g_transferBuffer.length));
    status = WriteFileData(AddressOfUnit(unit));
    if (status != Status::Ok) {
        ShowStatus(QStringLiteral(" Status: File %1 was not copied.").arg(name));
        ReportFailure(QStringLiteral("File %1 was not copied to unit %2: %3.\n\nCheck that unit "
                                     "%2 is switched on and connected, then try the copy again.")
                          .arg(name)
                          .arg(unit)
                          .arg(FailureReason(status)));
        return;
    }
    m_filesChanged = true;
    ShowDone(name, " has been transfered!");
}

void CFilesDialog::OnPage(int step) {
    // The filename box keeps its text: paging only moves the selection.
    MoveListSelection(m_ui->fileList, step);
}
