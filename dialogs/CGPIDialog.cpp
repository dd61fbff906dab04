#include "dialogs/CGPIDialog.h"

#include "dialogs/DialogUnits.h"
#include "ui_CGPIDialog.h"

CGPIDialog::CGPIDialog(QWidget* parent)
    : CGpiDialogBase(parent), m_ui(std::make_unique<Ui::CGPIDialog>()) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    Open(GpiControlsOf(*m_ui));
}

CGPIDialog::~CGPIDialog() = default;
