#pragma once

#include <QDialog>
#include <array>
#include <memory>

namespace Ui {
class CMonitorDialog;
}
class QCheckBox;

// The monitor switches (menu 45): four check boxes bound to functions, each click sent to the
// unit at once. A box the unit did not confirm goes back.
class CMonitorDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kMenu = 45;
    static constexpr int kSwitches = 4;

    explicit CMonitorDialog(QWidget* parent = nullptr);
    ~CMonitorDialog() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void OnSwitchClicked(int index, bool checked);

    std::unique_ptr<Ui::CMonitorDialog> m_ui;
    std::array<QCheckBox*, kSwitches> m_switch{};
    std::array<int, kSwitches> m_function{};
};
