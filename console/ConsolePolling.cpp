// The window timers: the unit search, the presence and status polls, unit messages, and the
// supervision of the link (a unit that stops answering, a device that goes away).
#include "console/PanelConsole.h"
#include "console/PanelTimers.h"
#include "console/PanelView.h"
#include "link/CommandExchange.h"
#include "link/LineDemand.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
#include "link/SerialCom.h"
#include "link/UnitCommands.h"
#include "platform/Clock.h"

namespace {

constexpr uint32_t kSearchSettle_ms = 100;
constexpr uint32_t kBreakGap_ms = 100;
constexpr uint32_t kFailedPollPause_ms = 1000;
constexpr uint32_t kRecoveryPause_ms = 1000;
constexpr uint32_t kReopenInterval_ms = 1000;
constexpr int kMissesUntilLost = 3;
constexpr uint8_t kLatchKeyBit = 0x10;
constexpr int kLatchKeyByte = 2;
constexpr int kFirstUnitKeyByte = 3;
constexpr int kPromptMenu = 15;
// Values a unit does not give are asked for at this many ticks in a row, then once in a
// while: each failed read waits out its patience, and holds the line meanwhile.
constexpr int kValueReadTicks = 3;
constexpr uint32_t kValueRetry_ms = 5000;

const char* const kSearchText = "Select an Online Main Unit!";
const char* const kLostText = "Lost communication with Main Unit!";
const char* const kPromptText = "Double click control to update Main Unit.";
const char* const kPortGoneText =
    "The Com Port is not available. Check the cable, or choose another port with PREFS.";

uint32_t Now() {
    return CurrentClock().TickCount();
}

// A message of the table that asks nothing: showing it takes no exchange.
bool ShownWithoutAnExchange(uint8_t message) {
    return message != 0 && !IsFetchedMessage(message) && message < kMessageCount &&
           (g_messageTable[message].flags & kFlagMessageQuestion) == 0;
}

bool PromptsForUpdate(uint8_t model) {
    return model == 5 || model == 7 || model == 9;
}

}  // namespace

void PanelConsole::StartUnitSearch() {
    Wait(kSearchSettle_ms);
    if (g_link.IsOpen()) {
        for (int unit = 1; unit <= kActionUnits; ++unit) {
            static_cast<void>(m_pollHandler.Poll(CPollHandler::kForceChange));
        }
    }
    ShowMessage(kSearchText);
    m_view.ShowOnLine();
    Wait(kSearchSettle_ms);
    m_view.StartTimer(kPollTimer, kPollPeriod_ms);
}

void PanelConsole::OnPollTimer() {
    const int unit = SelectedUnit();
    if (!g_link.IsOpen() || ReopenUnderWay()) {
        TryReopenPort();
        return;
    }
    const LineWork tick;
    m_valuesReadThisTick = false;
    const bool changed = m_pollHandler.Poll(static_cast<uint8_t>(unit));
    // The user wanted the line: the rest of this tick waits for the next one.
    if (m_pollHandler.Yielded()) {
        return;
    }
    if (changed) {
        m_view.ShowReadouts(unit);
        for (int slot = 0; slot < kUnitSlots; ++slot) {
            if (g_panelModel.m_lampBits[slot] & kOnLineBit) {
                g_panelModel.MarkImageNotLoaded(slot);
            }
        }
    }
    // The poll may have found the device gone; the next ticks try to open it again.
    if (unit == 0 || !g_link.IsOpen() || StatusPollHeld()) {
        return;
    }
    // The status read gives the line up to the user as the presence poll does, and the rest
    // of the tick waits for the next one.
    if (CheckUnitStatus(LineUse::YieldsToUser) == StatusCheck::Yielded) {
        return;
    }
    const uint8_t flags = g_unitStatus[kStatusByteFlags];
    if (g_unitStatus[kStatusByteModel] == 0) {
        if (g_panelModel.m_currentMenu[unit] != -1 &&
            ++g_panelModel.m_pollMissCount >= kMissesUntilLost) {
            DeclareLinkLost();
        }
        return;
    }
    if (g_panelModel.m_currentMenu[unit] == -1) {
        RecoverMenus();
        return;
    }
    // A busy unit has its values read once it is done; so have values whose last read
    // failed, for the unit does not flag them again. The reads give the line up to the user
    // and are read again at a later tick.
    if (((flags & kStatusValuesChanged) != 0 || m_valuesUnread) && !(flags & kStatusBusy) &&
        ValueReadDue()) {
        const YieldToUser yield;
        ReadUnitValues();
        ShowValuesRead(unit);
    }
    if (m_valuesReadThisTick) {
        m_failedValueTicks = m_valuesUnread ? m_failedValueTicks + 1 : 0;
    }
    m_view.ShowReferenceFlags(flags);
    g_panelModel.m_pollMissCount = 0;
    if (m_givenUpShown && !m_valuesUnread) {
        m_givenUpShown = false;
        ShowAlert(g_idleText);
    }
}

// The selected unit answers again (or for the first time since its retrieval failed).
void PanelConsole::RecoverMenus() {
    ShowMessage("Retrieving Menus from Main Unit!");
    Wait(kRecoveryPause_ms);
    RetrieveMenus();
}

// Everything on the panel that shows the unit's values, after they were read anew.
void PanelConsole::ShowValuesRead(int unit) {
    m_view.ShowReadouts(unit);
    RefreshSettings();
    UpdateLamps(true);
    ShowFunctionLabels();
    BindKnobs();
}

Status PanelConsole::ReadValuesNow() {
    return ReadParameterValues();
}

PanelConsole::StatusCheck PanelConsole::CheckUnitStatus(LineUse use) {
    const int unit = SelectedUnit();
    // A read that gave the line up is no miss: the panel keeps the status it last read.
    UnitStatus status{};
    const Status read = IdentifyUnit(g_currentUnitAddress, status, use);
    if (read == Status::Yielded) {
        return StatusCheck::Yielded;
    }
    g_unitStatus = status;
    if (read != Status::Ok) {
        // The next status poll waits a second; the window stays responsive meanwhile.
        m_statusHeld = true;
        m_statusHeldSince = Now();
        return StatusCheck::Handled;
    }
    if (g_panelModel.m_currentMenu[unit] == -1) {
        return StatusCheck::Handled;
    }
    // A busy unit (clearing its files) answers nothing but its status, so a read now would
    // wait out its whole patience: the next tick looks again. A message from the table is
    // shown all the same; one to fetch or to answer waits until it is free.
    if (g_unitStatus[kStatusByteFlags] & kStatusBusy) {
        if (ShownWithoutAnExchange(g_unitStatus[kStatusByteMessage])) {
            HandleUnitMessage(g_unitStatus[kStatusByteMessage]);
        }
        return StatusCheck::Handled;
    }
    HandleUnitMessage(g_unitStatus[kStatusByteMessage]);
    const uint8_t flags = g_unitStatus[kStatusByteFlags];
    ShowIndicator((flags & kStatusIndicator) != 0);
    if ((flags & (kStatusValuesChanged | kStatusStateChanged)) && ValueReadDue()) {
        const YieldToUser yield;
        static_cast<void>(ReadReferenceValues());
        ReadUnitValues();
        ShowValuesRead(unit);
        return StatusCheck::ValuesReadAnew;
    }
    return StatusCheck::Handled;
}

// A read that gave the line up to the user is no failure of the unit's.
void PanelConsole::ReadUnitValues() {
    const Status status = ReadParameterValues(m_valuesRead);
    m_valuesUnread = status != Status::Ok;
    if (status != Status::Yielded) {
        m_valuesReadThisTick = true;
        m_lastValueRead_ms = Now();
    }
}

bool PanelConsole::ValueReadDue() const {
    return m_failedValueTicks < kValueReadTicks || Now() - m_lastValueRead_ms >= kValueRetry_ms;
}

bool PanelConsole::StatusPollHeld() const {
    return m_statusHeld && Now() - m_statusHeldSince < kFailedPollPause_ms;
}

void PanelConsole::HandleUnitMessage(uint8_t message) {
    if (message == 0) {
        return;
    }
    std::string text;
    if (IsFetchedMessage(message)) {
        // A text that did not arrive is not replaced by the one shown last time.
        if (ReadUnitMessage() != Status::Ok) {
            return;
        }
        text = g_unitMessage;
    } else if (message < kMessageCount) {
        const MessageRecord& record = g_messageTable[message];
        if (record.flags & kFlagMessageQuestion) {
            // A lost answer leaves the question with the unit, which asks again.
            static_cast<void>(SendUnitReply(ReplyKind::QuestionAnswer,
                                            static_cast<uint8_t>(m_view.AskOkCancel(record.text))));
            return;
        }
        text = record.text;
    } else {
        return;  // no such entry in the message table
    }
    ShowMessage(text);
    m_view.StartTimer(kMessageClearTimer, kMessageShown_ms);
}

void PanelConsole::ShowIndicator(bool on) {
    m_view.ShowUnitIndicator(SelectedUnit(), on);
    if (on != m_indicatorOn) {
        m_indicatorOn = on;
        m_view.ShowOnLine();
    }
}

void PanelConsole::DeclareLinkLost() {
    const int unit = SelectedUnit();
    g_panelModel.m_currentMenu[unit] = -1;
    g_panelModel.MarkImageNotLoaded(unit);
    m_view.StopTimer(kPromptTimer);
    ShowAlert(kLostText);
    m_linkLostShown = true;
    // Two breaks bring a unit that lost the thread back to the start of a request.
    if (g_link.IsOpen()) {
        static_cast<void>(SendLineBreak());
        Wait(kBreakGap_ms);
        static_cast<void>(SendLineBreak());
        Wait(kBreakGap_ms);
    }
    m_view.StartTimer(kKeyScanTimer, kKeyScanPeriod_ms);
}

// The link could not reopen its device while a unit is selected: the unit is lost until
// the device is back. Reported once per loss however often the link tries.
void PanelConsole::OnLinkLost() {
    for (int slot = 0; slot < kUnitSlots; ++slot) {
        g_panelModel.MarkImageNotLoaded(slot);
    }
    const int unit = SelectedUnit();
    if (unit != 0 && g_panelModel.m_currentMenu[unit] != -1) {
        DeclareLinkLost();
    } else if (!m_linkLostShown) {
        ShowAlert(kLostText);
        m_linkLostShown = true;
    }
}

// Opens the device of the panel's port again, at most once a second, aside: a tick starts a
// try and a later one takes its outcome, so a device server that does not answer never holds
// the window (without the line's own thread the try ends within its tick). A device still
// missing costs no message box; one that opens but cannot be set up is reported as the
// link's own reopening reports it.
void PanelConsole::TryReopenPort() {
    const auto takeOutcome = [this] {
        const std::optional<ReopenResult> result = TakeReopenResult();
        if (!result) {
            return false;
        }
        if (!result->opened) {
            if (result->failure.step != PortStep::Open) {
                OnPortFailed(result->failure);
            }
            return true;
        }
        m_reopenTried = false;
        if (SelectedUnit() == 0) {
            ShowMessage(kSearchText);
        }
        return true;
    };
    if (takeOutcome() || ReopenUnderWay()) {
        return;
    }
    const uint32_t now = Now();
    if (m_reopenTried && now - m_lastReopenTick < kReopenInterval_ms) {
        return;
    }
    m_reopenTried = true;
    m_lastReopenTick = now;
    if (!m_linkLostShown) {
        ShowAlert(kPortGoneText);
    }
    StartReopen(g_panelModel.m_portNumber);
    static_cast<void>(takeOutcome());
}

void PanelConsole::OnKeyScanTimer() {
    static_cast<void>(ReadPanelKeys());
    if (g_panelKeys[kLatchKeyByte] & kLatchKeyBit) {
        g_panelModel.m_lampBits[0] ^= kLatchKeyBit;
    }
    for (int unit = 1; unit <= kActionUnits; ++unit) {
        if (g_panelKeys[kFirstUnitKeyByte + unit - 1] & 0x01) {
            if (m_pollHandler.StatusOf(unit)[kStatusByteModel] != 0) {
                SelectUnit(unit);
            }
            return;
        }
    }
}

void PanelConsole::OnPromptTimer() {
    const int unit = SelectedUnit();
    if (unit != 0 && PromptsForUpdate(g_unitStatus[kStatusByteModel]) &&
        g_panelModel.m_currentMenu[unit] == kPromptMenu) {
        ShowMessage(kPromptText);
    }
}

void PanelConsole::OnMessageClearTimer() {
    m_view.StopTimer(kMessageClearTimer);
    ShowMessage(g_idleText);
}

void PanelConsole::StopPolling() {
    ++m_pollHolds;
    m_view.StopTimer(kPollTimer);
    m_view.StopTimer(kPromptTimer);
}

// A message box inside a dialog's work resumes only its own stop: the polls wait for the
// dialog's.
void PanelConsole::ResumePolling() {
    if (m_pollHolds > 0 && --m_pollHolds > 0) {
        return;
    }
    m_view.StartTimer(kPollTimer, kPollPeriod_ms);
    m_view.StartTimer(kPromptTimer, kPromptPeriod_ms);
}

void PanelConsole::OnPortFailed(const PortFailure& failure) {
    if (g_currentUnitAddress != 0) {
        OnLinkLost();
    } else {
        ShowPortFailure(failure);
    }
}

// An alert the work gave already ("Error retrieving menus!") says enough; the poll that
// hears from the unit again takes this one away.
void PanelConsole::ShowGivenUp(const std::string& what, int unit) {
    if (!Alert().empty()) {
        return;
    }
    ShowAlert("Main Unit " + std::to_string(unit) + " does not answer: " + what + " stopped.");
    m_givenUpShown = true;
}

// The message line says what the line waits for while a wait lasts, then shows again what
// it showed before.
void PanelConsole::ShowLineWait(const LineTask& task, uint32_t waited_ms, bool inputWaits,
                                bool done) {
    if (done) {
        if (m_lineWaitShown) {
            m_lineWaitShown = false;
            ShowMessage(m_messageBeforeWait);
        }
        return;
    }
    if (!m_lineWaitShown) {
        m_lineWaitShown = true;
        m_messageBeforeWait = Message();
    }
    const int unit = UnitOfAddress(task.unitAddress);
    std::string text = "Waiting for Main Unit " + std::to_string(unit) + ": " +
                       std::to_string(waited_ms / 1000) + " s of " +
                       std::to_string((task.patience_ms + 999) / 1000) + " s";
    if (inputWaits) {
        text += ", then your input";
    }
    ShowMessage(text);
}

// The selected unit is its own last answer: it goes dark in the on-line bar as soon as it
// stops answering, and the other units are the presence poll's.
uint8_t PanelConsole::AnsweringAddress(int unit) const {
    if (unit != 0 && unit == SelectedUnit()) {
        return g_unitStatus[kStatusByteAddress];
    }
    return m_pollHandler.StatusOf(unit)[kStatusByteAddress];
}
