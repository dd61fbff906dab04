#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "remote/RemoteSettings.h"

namespace Ui {
class CRemoteDialog;
}

// The settings of network control, opened from the panel's context menu: on or off, the
// two transports and their ports, the address to listen on, the allowed clients and
// read-only mode, with where it listens now and who is connected. OK keeps the dialog open,
// with the reason shown, while `check` finds a fault in the settings (an address or an
// allow-list that does not read); Settings() then holds what it shows.
class CRemoteDialog : public QDialog {
    Q_OBJECT

  public:
    using SettingsCheck = std::function<std::string(const RemoteSettings&)>;

    CRemoteDialog(const RemoteSettings& settings, const std::string& status, SettingsCheck check,
                  QWidget* parent = nullptr);
    ~CRemoteDialog() override;

    RemoteSettings Settings() const;
    // Why OK did not close the dialog; empty when it did or was not pressed.
    std::string Problem() const;

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void EnableFields();

    std::unique_ptr<Ui::CRemoteDialog> m_ui;
    SettingsCheck m_check;
};
