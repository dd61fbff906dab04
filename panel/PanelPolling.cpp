// The window's side of the controller's polls: its timers, and what the polls show.
#include <QLabel>

#include "controls/CInfoBar.h"
#include "controls/COnLineBar.h"
#include "panel/CTavrinoxDlg.h"

void CTavrinoxDlg::StartTimer(int timer, int period_ms) {
    m_timers.SetTimer(timer, period_ms);
}

void CTavrinoxDlg::StopTimer(int timer) {
    m_timers.KillTimer(timer);
}

void CTavrinoxDlg::ShowReferenceFlags(uint8_t flags) {
    m_infoBar->SetReferenceFlags(flags);
}

void CTavrinoxDlg::ShowOnLine() {
    m_onLineBar->SetSelectedUnit(m_onLineBar->SelectedUnit());
}

// The indicator beside a unit's key: the selected unit's on, every one off.
void CTavrinoxDlg::ShowUnitIndicator(int unit, bool on) {
    if (on && unit >= 1 && unit <= kUnitIcons) {
        m_unitIcon[unit - 1]->show();
    } else if (!on) {
        for (QLabel* icon : m_unitIcon) {
            icon->hide();
        }
    }
}

uint8_t CTavrinoxDlg::AnsweringAddress(int unit) const {
    return m_console->AnsweringAddress(unit);
}
