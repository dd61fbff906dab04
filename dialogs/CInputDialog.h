#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <optional>

#include "dialogs/RoutingBindings.h"

namespace Ui {
class CInputDialog;
}
class QButtonGroup;

// Input routing (menu 46): the five input rows, the output row with the matte view and view
// lock, the input delay timing and the update-register switch. Sends nothing itself: on
// "Apply" ValuesToSend() holds what the panel sends, in its order.
class CInputDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kMenu = 46;

    explicit CInputDialog(QWidget* parent = nullptr);
    ~CInputDialog() override;

    const ValuesToSend& Values() const { return m_values; }

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BindOutput();
    void BindDelay();
    void BindUpdateRegister();

    std::unique_ptr<Ui::CInputDialog> m_ui;
    std::array<std::optional<OptionRow>, 5> m_inputRows;
    std::optional<OptionRow> m_outputRow;
    std::optional<MatteViewBinding> m_matteView;
    QButtonGroup* m_delayGroup = nullptr;
    int m_delayFunction = kUnboundFunction;
    int m_delayAtOpening = 0;
    int m_updateRegisterFunction = kUnboundFunction;
    ValuesToSend m_values;
};
