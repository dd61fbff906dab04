#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "dialogs/LinkOutcome.h"
#include "link/StorageTables.h"
#include "protocol/Status.h"

class QPushButton;

namespace Ui {
class CFilesDialog;
}

// What the opener tells the files dialog: which directory it shows, and which units may
// receive a copy (units 1..4 of the selected unit's model, the selected unit not included).
struct FilesDialogSetup {
    FileKind kind = FileKind::Main;
    std::array<bool, 4> transferEnabled{};
};

// The setup from the number the panel passes: bit 0 set for the user directory, bit n set
// when unit n may receive a copy.
FilesDialogSetup FilesDialogSetupFrom(int argument);

// Loads, saves, deletes and renames the files of one of the selected unit's directories and
// copies main-directory files to other units of its model. Every action reports what the
// unit confirmed; a list of the directory is read again after each change.
class CFilesDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CFilesDialog(const FilesDialogSetup& setup, QWidget* parent = nullptr);
    ~CFilesDialog() override;

    // Caption, the directory list with its first entry chosen, the transfer buttons.
    bool OnInitDialog();

    void OnSelectionChange();
    void OnFilenameChange();
    void OnLoad();
    void OnSave();
    void OnDelete();
    void OnRename();
    void OnTransfer(int unit);
    void OnPage(int step);

    // Whether the unit confirmed a change to its files while the dialog was open.
    bool FilesChanged() const { return m_filesChanged; }

  protected:
    // Enter never ends the dialog; Escape and "Close" do.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    FileDirectory& Directory() const;
    QString Caption() const;
    std::optional<int> SelectedPosition() const;
    // The file chosen in the list, or nothing with a hint to choose the file to `action`.
    struct ChosenFile {
        QString name;
        uint16_t id = 0;
    };
    std::optional<ChosenFile> Chosen(const char* action);
    std::optional<int> Lookup(const QString& name) const;
    // Reads the directory into the list: whether the list is whole, filled with more files on
    // the unit than it shows, or failed (reported, the list left empty).
    ListOutcome RefreshList();
    bool CheckTypedName(const QString& name);
    void WaitForUnitStatus();
    void ShowUnitMessage();
    void ShowStatus(const QString& text);
    void ShowDone(const QString& name, const char* suffix);
    void ReportFailure(const QString& text);
    // "File <name> was not <done>" with the reason, and the advice to try <action> again.
    void ReportNotDone(const QString& name, const char* done, const char* action, Status status);
    void EndSave();

    FilesDialogSetup m_setup;
    std::unique_ptr<Ui::CFilesDialog> m_ui;
    std::array<QPushButton*, 4> m_transferButton{};
    bool m_filesChanged = false;
};
