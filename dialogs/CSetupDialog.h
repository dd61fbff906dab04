#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class CSetupDialog;
}

// The COM port of the link. The opener sets the current port number, runs the dialog and on
// OK reads the chosen one: 1..16, whether picked or typed, or 0 when the typed text names no
// port of the list.
class CSetupDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kPortCount = 16;

    explicit CSetupDialog(QWidget* parent = nullptr);
    ~CSetupDialog() override;

    void SetPortNumber(int portNumber);
    int PortNumber() const { return m_portNumber; }

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void FillPortList();
    int PortIndexOfName(const QString& name) const;
    void ShowDevice(int index);

    std::unique_ptr<Ui::CSetupDialog> m_ui;
    int m_portNumber = 1;
    int m_selected = -1;  // the entry chosen from the list; -1 when the typed text names none
};
