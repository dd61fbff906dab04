// TEMPORARY stand-ins for the window's core (construction, polling, selection, messages,
// read-outs, file-system update) until it is merged; removed at the merge.
#include <QLabel>

#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "controls/CSettingsBar.h"
#include "link/UnitCommands.h"
#include "panel/CTavrinoxDlg.h"
#include "platform/Prompter.h"

CTavrinoxDlg* g_mainPanel = nullptr;

CTavrinoxDlg::CTavrinoxDlg(QWidget* parent) : QDialog(parent) {
    for (auto& display : m_knobDisplay) {
        display = new CCanvasCtrl(this);
        display->InitDisplay(0, 0);
    }
    for (auto& button : m_menuButton) {
        button = new CImageTextButton(this);
    }
    for (auto& button : m_functionButton) {
        button = new CImageTextButton(this);
    }
    const std::pair<ToggleKind, int> toggles[kToggles] = {
        {ToggleKind::UnitSelect, 1},     {ToggleKind::UnitSelect, 2},
        {ToggleKind::UnitSelect, 3},     {ToggleKind::UnitSelect, 4},
        {ToggleKind::View, 129},         {ToggleKind::View, 130},
        {ToggleKind::View, 132},         {ToggleKind::FileClear, 0},
        {ToggleKind::MenuShortcut, 0},   {ToggleKind::MenuShortcut, 26},
        {ToggleKind::MenuShortcut, 7},   {ToggleKind::MenuShortcut, 18},
        {ToggleKind::AttributeLatch, 0}, {ToggleKind::MenuShortcut, 11},
        {ToggleKind::MenuShortcut, 15},  {ToggleKind::Memory, 1},
        {ToggleKind::Memory, 2},         {ToggleKind::Memory, 3},
        {ToggleKind::Memory, 4},         {ToggleKind::Memory, 5},
        {ToggleKind::Setup, 0}};
    for (int i = 0; i < kToggles; ++i) {
        m_toggle[i] = new CImageToggleButton(this);
        m_toggle[i]->SetKind(toggles[i].first, toggles[i].second);
        m_toggle[i]->SetActions(this);
    }
    for (auto& icon : m_functionIcon) {
        icon = new QLabel(this);
    }
    m_infoBar = new CInfoBar(this);
    m_infoBar->InitInfoBar(g_panelModel.m_currentMenu);
    m_infoBar->SetKeyframeReadout(this);
    m_settingsBar = new CSettingsBar(this);
    m_titleLabel = new CLabel(this);
    m_pollHandler.SetLampBits(g_panelModel.m_lampBits);
    g_mainPanel = this;
}

CTavrinoxDlg::~CTavrinoxDlg() {
    g_mainPanel = nullptr;
}

void CTavrinoxDlg::StopPolling() {
    m_timers.KillTimer(kPollTimer);
    m_timers.KillTimer(kPromptTimer);
}

void CTavrinoxDlg::ResumePolling() {
    m_timers.SetTimer(kPollTimer, kPollPeriod_ms);
    m_timers.SetTimer(kPromptTimer, kPromptPeriod_ms);
}

void CTavrinoxDlg::SelectUnit(int) {}

bool CTavrinoxDlg::CheckUnitStatus() {
    IdentifySelectedUnit();
    return false;
}

void CTavrinoxDlg::ShowReadouts(int) {}

void CTavrinoxDlg::RunFileSystemUpdate() {}

void CTavrinoxDlg::ShowMessageBox(const std::string& text) {
    StopPolling();
    CurrentPrompter().Show(text, "", PromptIcon::Stop, PromptButtons::Ok);
    ResumePolling();
}

int CTavrinoxDlg::SelectedUnit() const {
    return UnitOfAddress(g_currentUnitAddress);
}

uint8_t CTavrinoxDlg::AnsweringAddress(int) const {
    return 0;
}

void CTavrinoxDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
}

void CTavrinoxDlg::timerEvent(QTimerEvent* event) {
    QDialog::timerEvent(event);
}

void CTavrinoxDlg::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
}

void CTavrinoxDlg::keyPressEvent(QKeyEvent* event) {
    QDialog::keyPressEvent(event);
}

QWidget* CTavrinoxDlg::FunctionIcon(int i) const {
    return m_functionIcon[i];
}
