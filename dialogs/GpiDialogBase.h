#pragma once

#include <QDialog>
#include <string>
#include "protocol/Status.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTabBar;

// The controls both GPI dialogs share, by role.
struct GpiControls {
    QTabBar* tabs = nullptr;
    QListWidget* files = nullptr;
    QListWidget* events = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* removeAll = nullptr;
    QPushButton* stepUp = nullptr;
    QPushButton* stepDown = nullptr;
    QPushButton* reset = nullptr;
    QPushButton* pageUp = nullptr;
    QPushButton* up = nullptr;
    QPushButton* down = nullptr;
    QPushButton* pageDown = nullptr;
    QPushButton* close = nullptr;
    QLabel* status = nullptr;
};

// What both GPI dialogs do: one tab per sequence of the selected unit, the main file
// directory, the events of the chosen sequence, editing them and moving the unit's pointer.
// The lists are read again after every change, so they show what the unit holds.
class CGpiDialogBase : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kMenu = 32;
    static constexpr int kFilesPage = 10;
    static constexpr uint32_t kStepPause_ms = 100;

    // The sequence of the tab on show, -1 without sequences.
    int CurrentSequence() const;

  protected:
    explicit CGpiDialogBase(QWidget* parent);

    // Fills the dialog from the unit; the derived dialog calls it once its form is set up.
    void Open(const GpiControls& controls);

    // Hooks of the dialog with per-sequence settings: read them all (before the file list),
    // the sequence to start on, and showing one sequence's settings.
    virtual void ReadSettings() {}
    virtual int FirstSequence() const { return 0; }
    virtual void ShowSettings(int sequence) { (void)sequence; }

    int SequenceCount() const;
    void ShowStatus(const std::string& text);

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ListEvents(int sequence);
    void SelectPointerEvent(int sequence);
    void SelectEvent(int row);
    int SelectedEvent() const;
    void OnTabChanged(int sequence);
    void OnEventClicked(int row);
    void Add();
    void Remove();
    void RemoveAll();
    void StepUp();
    void StepDown();
    void ResetPointer();
    void PlacePointer(int steps);
    // Reset, then `steps` steps with a pause after each: the pointer lands on event `steps`.
    bool MovePointer(int sequence, int steps);
    void PageFiles(int step);
    void ReportEdit(Status status, const char* what);

    GpiControls m_controls;
};
