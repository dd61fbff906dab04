#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class CAttributeDialog;
}

// The on-air lock-out of one control of the panel, chosen with the attribute latch: a knob
// parameter (0..127) or a function (129..255). The control's record follows what the unit
// confirmed.
class CAttributeDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CAttributeDialog(int controlNumber, QWidget* parent = nullptr);
    ~CAttributeDialog() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void OnLockoutClicked(bool checked);

    std::unique_ptr<Ui::CAttributeDialog> m_ui;
    int m_controlNumber;
};
