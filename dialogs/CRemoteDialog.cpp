#include "dialogs/CRemoteDialog.h"

#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "ui_CRemoteDialog.h"

CRemoteDialog::CRemoteDialog(const RemoteSettings& settings, const std::string& status,
                             SettingsCheck check, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CRemoteDialog>()), m_check(std::move(check)) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    m_ui->enabledCheck->setChecked(settings.enabled);
    m_ui->lineCheck->setChecked(settings.lineOn);
    m_ui->tcpPortSpin->setValue(settings.tcpPort);
    m_ui->oscCheck->setChecked(settings.oscOn);
    m_ui->oscPortSpin->setValue(settings.oscPort);
    m_ui->addressEdit->setText(QString::fromStdString(settings.listenAddress));
    m_ui->allowEdit->setText(QString::fromStdString(settings.allowList));
    m_ui->readOnlyCheck->setChecked(settings.readOnly);
    m_ui->statusLabel->setText(
        QString::fromStdString("Now: " + status + "\nFILE CLEAR is never taken from a client."));
    EnableFields();
    for (QCheckBox* check : {m_ui->enabledCheck, m_ui->lineCheck, m_ui->oscCheck}) {
        connect(check, &QCheckBox::toggled, this, &CRemoteDialog::EnableFields);
    }
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CRemoteDialog::~CRemoteDialog() = default;

void CRemoteDialog::EnableFields() {
    const bool on = m_ui->enabledCheck->isChecked();
    for (QWidget* field :
         std::initializer_list<QWidget*>{m_ui->lineCheck, m_ui->oscCheck, m_ui->addressEdit,
                                         m_ui->allowEdit, m_ui->readOnlyCheck}) {
        field->setEnabled(on);
    }
    m_ui->tcpPortSpin->setEnabled(on && m_ui->lineCheck->isChecked());
    m_ui->oscPortSpin->setEnabled(on && m_ui->oscCheck->isChecked());
}

RemoteSettings CRemoteDialog::Settings() const {
    RemoteSettings settings;
    settings.enabled = m_ui->enabledCheck->isChecked();
    settings.lineOn = m_ui->lineCheck->isChecked();
    settings.tcpPort = m_ui->tcpPortSpin->value();
    settings.oscOn = m_ui->oscCheck->isChecked();
    settings.oscPort = m_ui->oscPortSpin->value();
    settings.listenAddress = m_ui->addressEdit->text().trimmed().toStdString();
    settings.allowList = m_ui->allowEdit->text().trimmed().toStdString();
    settings.readOnly = m_ui->readOnlyCheck->isChecked();
    return settings;
}

std::string CRemoteDialog::Problem() const {
    return m_ui->errorLabel->text().toStdString();
}

void CRemoteDialog::accept() {
    const std::string problem = m_check ? m_check(Settings()) : std::string();
    m_ui->errorLabel->setText(QString::fromStdString(problem));
    if (problem.empty()) {
        QDialog::accept();
    }
}

void CRemoteDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this);
}
