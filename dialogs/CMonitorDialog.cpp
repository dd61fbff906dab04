#include "dialogs/CMonitorDialog.h"

#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/RoutingBindings.h"
#include "link/Framing.h"
#include "link/ParameterCommands.h"
#include "model/PanelModel.h"
#include "ui_CMonitorDialog.h"

namespace {

constexpr int kFirstSwitchWord = 10;

}  // namespace

CMonitorDialog::CMonitorDialog(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CMonitorDialog>()) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    setWindowTitle(QString::fromLatin1(g_menuTable[kMenu].title.c_str()));
    m_switch = {m_ui->monitor1Check, m_ui->monitor2Check, m_ui->monitor3Check, m_ui->monitor4Check};
    for (int i = 0; i < kSwitches; ++i) {
        QCheckBox* box = m_switch[static_cast<size_t>(i)];
        const int function = BoundFunction(kMenu, kFirstSwitchWord + i);
        m_function[static_cast<size_t>(i)] = function;
        // A switch the menu does not bind has nothing to change.
        if (function == kUnboundFunction) {
            box->hide();
            continue;
        }
        box->setText(FunctionCaption(function));
        box->setChecked(BoundValue(function) != 0);
        connect(box, &QCheckBox::clicked, this,
                [this, i](bool checked) { OnSwitchClicked(i, checked); });
    }
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

CMonitorDialog::~CMonitorDialog() = default;

void CMonitorDialog::OnSwitchClicked(int index, bool checked) {
    const auto function = static_cast<uint8_t>(m_function[static_cast<size_t>(index)]);
    if (SetParameterByte(function, checked ? 1 : 0) != Status::Ok) {
        m_switch[static_cast<size_t>(index)]->setChecked(!checked);
        m_ui->statusLabel->setText(
            tr("The Main Unit did not confirm \"%1\". Check the connection and try again.")
                .arg(FunctionCaption(function)));
        return;
    }
    m_ui->statusLabel->clear();
}

void CMonitorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this);
}
