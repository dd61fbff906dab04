#include "dialogs/CAttributeDialog.h"

#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/LockoutItems.h"
#include "link/Framing.h"
#include "link/LockoutCommands.h"
#include "link/SetOnAirLockout.h"
#include "ui_CAttributeDialog.h"

namespace {

constexpr int kExtraRight_px = 2;
// This box centres itself across an 800-pixel screen.
constexpr int kPlacementWidth_px = 800;

}  // namespace

CAttributeDialog::CAttributeDialog(int controlNumber, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::CAttributeDialog>()),
      m_controlNumber(controlNumber) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    if (HasControlRecord(m_controlNumber)) {
        m_ui->controlNameLabel->setText(
            QString::fromLatin1(ControlRecordName(m_controlNumber).c_str()));
        m_ui->onAirLockoutCheck->setChecked(ControlRecordLocked(m_controlNumber));
    } else {
        m_ui->controlNameLabel->setText(tr("This position holds no control."));
        m_ui->onAirLockoutCheck->setEnabled(false);
    }
    connect(m_ui->onAirLockoutCheck, &QCheckBox::clicked, this,
            &CAttributeDialog::OnLockoutClicked);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

CAttributeDialog::~CAttributeDialog() = default;

void CAttributeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this, kExtraRight_px, kPlacementWidth_px);
}

// The record and the box change only when the unit confirmed.
void CAttributeDialog::OnLockoutClicked(bool checked) {
    const Status status = SetOnAirLockout(static_cast<uint8_t>(m_controlNumber),
                                          checked ? kLockStateLocked : kLockStateUnlocked);
    if (status != Status::Ok) {
        m_ui->onAirLockoutCheck->setChecked(!checked);
        m_ui->statusLabel->setText(
            tr("The Main Unit did not confirm the change. Check the "
               "connection and try again."));
        return;
    }
    SetControlRecordLocked(m_controlNumber, checked);
    m_ui->statusLabel->clear();
}
