#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class COnAirDialog;
}

// The on-air lock-out of every knob parameter and function of the selected unit, in a Locked
// and an Unlocked list, and the switch of the lock-out feature. The lists always show what
// the unit reported last; Modified() tells the panel that the unit's stored state changed.
class COnAirDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kPageStep = 22;

    // `enableFunction` is the function that switches the feature on and off.
    explicit COnAirDialog(int enableFunction, QWidget* parent = nullptr);
    ~COnAirDialog() override;

    bool Modified() const { return m_modified; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool FillLists();
    void SelectLocked(int row);
    void MoveSelected(bool lock);
    void SetAll(bool lock);
    void PageLocked(int step);
    void OnEnabledClicked(bool checked);
    void ShowStatus(const std::string& text);

    std::unique_ptr<Ui::COnAirDialog> m_ui;
    int m_enableFunction;
    bool m_modified = false;
};
