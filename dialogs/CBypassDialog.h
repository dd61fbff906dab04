#pragma once

#include <QDialog>
#include <memory>

#include "dialogs/BypassFrame.h"
#include "link/SerialCom.h"
#include "platform/WindowTimers.h"

namespace Ui {
class CBypassDialog;
}

// Relays another controller's requests from the bypass port (COM1) to the selected unit and
// writes the unit's answers back, while the transfer is enabled. The dialog owns the bypass
// port; the link itself is only used for the relayed exchanges.
class CBypassDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kRelayTimer = 1;
    static constexpr int kRelayPeriod_ms = 100;
    static constexpr uint32_t kReadWait_ms = 100;
    // Bytes one relay step takes at most: four of the longest frames, about 90 ms at 115200.
    static constexpr size_t kStepByteLimit = 4 * kBypassFrameBufferSize;
    static constexpr const char* kPortName = "COM1";

    explicit CBypassDialog(QWidget* parent = nullptr);
    ~CBypassDialog() override;

    // Whether the bypass port opened; the dialog closes itself when it did not.
    bool PortOpen() const { return m_port.IsOpen(); }
    bool Relaying() const { return m_timers.IsActive(kRelayTimer); }
    const CSerialCom& Port() const { return m_port; }

    // One relay step (the timer's work): reads the port until it stays quiet for a read's
    // wait, relaying each frame it completes, but stops after kStepByteLimit bytes or a frame
    // the unit did not answer. Returns the frames relayed.
    int RelayStep();

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

  private:
    bool OpenBypassPort();
    void ToggleTransfer();
    Status RelayFrame();
    void ShowWaiting();
    void FailAndClose();

    std::unique_ptr<Ui::CBypassDialog> m_ui;
    CSerialCom m_port;
    BypassFrameAssembler m_frames;
    WindowTimers m_timers{this};
};
