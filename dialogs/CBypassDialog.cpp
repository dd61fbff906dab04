#include "dialogs/CBypassDialog.h"

#include <QTimerEvent>
#include <array>

#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "link/Framing.h"
#include "link/UnitCommands.h"
#include "platform/PortNames.h"
#include "platform/Prompter.h"
#include "ui_CBypassDialog.h"

namespace {

const char* const kFailureText = "Serial Port failure: Contact Korvanthe Corporation for support.";
const char* const kFailureCaption = "Error";
const char* const kIdleText = " Press \"Enable\" to start transfer.";
const char* const kWaitingText = " Waiting for data...";

constexpr uint32_t kSlowBaud = 38400;
constexpr uint32_t kFastBaud = 115200;

}  // namespace

CBypassDialog::CBypassDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_ui(std::make_unique<Ui::CBypassDialog>()) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    setWindowTitle(QStringLiteral("Remote Bypass Menu"));
    m_ui->baud115200Radio->setChecked(true);
    connect(m_ui->enableButton, &QPushButton::clicked, this, &CBypassDialog::ToggleTransfer);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::reject);
    if (!OpenBypassPort()) {
        FailAndClose();
    }
}

CBypassDialog::~CBypassDialog() {
    m_port.Close();
}

// The bypass port must reach another device than the link, or the relay would talk to itself.
bool CBypassDialog::OpenBypassPort() {
    const std::string device = PortNames().Resolve(kPortName);
    if (g_link.IsOpen() && device == g_link.DeviceName()) {
        ShowStopBox(std::string(kPortName) + " reaches " + device +
                        ", the link to the Main Units. Pin " + kPortName +
                        " to the other controller's port in the COMPORTS section of the "
                        "configuration file.",
                    kFailureCaption);
        return false;
    }
    if (!m_port.OpenPort(kPortName)) {
        ShowPortFailure(m_port.LastFailure());
        return false;
    }
    return true;
}

void CBypassDialog::FailAndClose() {
    ShowStopBox(kFailureText, kFailureCaption);
    QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void CBypassDialog::ToggleTransfer() {
    if (Relaying()) {
        m_timers.KillTimer(kRelayTimer);
        m_ui->enableButton->setText(QStringLiteral("Enable"));
        m_ui->statusLabel->setText(QString::fromLatin1(kIdleText));
        m_ui->closeButton->setEnabled(true);
        return;
    }
    const uint32_t baud = m_ui->baud38400Radio->isChecked() ? kSlowBaud : kFastBaud;
    if (!m_port.SetupPort(baud) || !m_port.SetPortTimeouts(0, kReadWait_ms, 0)) {
        ShowPortFailure(m_port.LastFailure());
        FailAndClose();
        return;
    }
    m_ui->enableButton->setText(QStringLiteral("Disable"));
    m_ui->closeButton->setEnabled(false);
    m_frames.Clear();
    ShowWaiting();
    m_timers.SetTimer(kRelayTimer, kRelayPeriod_ms);
}

int CBypassDialog::RelayStep() {
    int relayed = 0;
    uint8_t byte = 0;
    // A port that never falls quiet, or a unit that stopped answering, must not hold the
    // window: the step ends after kStepByteLimit bytes or a frame the unit left unanswered,
    // and the next step goes on from there.
    for (size_t taken = 0; taken < kStepByteLimit && m_port.ReadByte(byte) == IoResult::Done;
         ++taken) {
        if (m_frames.Push(byte)) {
            ++relayed;
            if (RelayFrame() == Status::NoAnswer) {
                break;
            }
        }
    }
    ShowWaiting();
    return relayed;
}

// The unit's answer goes back behind a 0x02, as the controller's request came; a failed
// exchange leaves the answer zero, which goes back as 02 00 00.
Status CBypassDialog::RelayFrame() {
    std::array<uint8_t, kMaxRequestSize> request{};
    const auto frame = m_frames.Frame();
    std::copy(frame.begin(), frame.end(), request.begin());
    AnswerBuffer answer{};
    const Status status = RelayPacket(request, answer);
    const int length = AnswerLength(answer);
    m_port.WriteByte(kBypassFrameStart);
    for (int i = kAnswerLength; i <= length + kAnswerCode; ++i) {
        m_port.WriteByte(answer[static_cast<size_t>(i)]);
    }
    return status;
}

void CBypassDialog::ShowWaiting() {
    QString text = QString::fromLatin1(kWaitingText);
    if (m_frames.DroppedBytes() > 0) {
        text += QStringLiteral(" (%1 dropped)").arg(m_frames.DroppedBytes());
    }
    m_ui->statusLabel->setText(text);
}

// While the relay runs the dialog stays open; "Disable" comes first.
void CBypassDialog::reject() {
    if (!Relaying()) {
        QDialog::reject();
    }
}

void CBypassDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this);
}

void CBypassDialog::timerEvent(QTimerEvent* event) {
    if (m_timers.IdOf(event) == kRelayTimer) {
        RelayStep();
        return;
    }
    QDialog::timerEvent(event);
}
