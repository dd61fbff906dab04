#pragma once

#include <memory>

#include "dialogs/GpiDialogBase.h"

namespace Ui {
class CGPIDialog;
}

// GPI sequences on the compact family: events and pointers only. Sends nothing on closing;
// the panel rereads the unit's values afterwards.
class CGPIDialog : public CGpiDialogBase {
    Q_OBJECT

  public:
    explicit CGPIDialog(QWidget* parent = nullptr);
    ~CGPIDialog() override;

  private:
    std::unique_ptr<Ui::CGPIDialog> m_ui;
};

// The controls of either GPI form, by role.
template <typename Form>
GpiControls GpiControlsOf(Form& ui) {
    return {.tabs = ui.sequenceTabs,
            .files = ui.filesList,
            .events = ui.eventsList,
            .add = ui.addButton,
            .remove = ui.removeButton,
            .removeAll = ui.removeAllButton,
            .stepUp = ui.stepUpButton,
            .stepDown = ui.stepDownButton,
            .reset = ui.resetButton,
            .pageUp = ui.pageUpButton,
            .up = ui.upButton,
            .down = ui.downButton,
            .pageDown = ui.pageDownButton,
            .close = ui.closeButton,
            .status = ui.statusLabel};
}
