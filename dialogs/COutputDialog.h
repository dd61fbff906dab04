#pragma once

#include <QDialog>
#include <memory>
#include <optional>

#include "dialogs/RoutingBindings.h"

namespace Ui {
class COutputDialog;
}

// Output routing (menu 17): the two "FG + BG Out" rows, the matte view and the view lock.
// Sends nothing itself: on "Apply" Values() holds what the panel sends, in its order.
class COutputDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kMenu = 17;

    explicit COutputDialog(QWidget* parent = nullptr);
    ~COutputDialog() override;

    const ValuesToSend& Values() const { return m_values; }

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    std::unique_ptr<Ui::COutputDialog> m_ui;
    std::optional<OptionRow> m_input1Row;
    std::optional<OptionRow> m_input2Row;
    std::optional<MatteViewBinding> m_matteView;
    ValuesToSend m_values;
};
