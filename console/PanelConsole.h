#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

#include "actions/PanelState.h"
#include "console/MenuFace.h"
#include "console/PanelDialogKinds.h"
#include "link/LineCarrier.h"
#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "unit/PollHandler.h"

class PanelView;
struct EffectRecord;
struct LineTask;

// The panel controller's state and the work of the menus and the hard keys: which unit is
// selected and which menu it shows, what a menu, function or hard key does, the lamps, the
// face the menus put on the panel and the information line. It is the part of the panel that talks
// to the link for that work; the window (PanelView) shows what it decides and runs the dialogs it
// asks for.
class PanelConsole : public PortFailureReaction {
  public:
    explicit PanelConsole(PanelView& view);
    ~PanelConsole() override;
    PanelConsole(const PanelConsole&) = delete;
    PanelConsole& operator=(const PanelConsole&) = delete;

    PanelView& View() const { return m_view; }
    CPollHandler& PollHandler() { return m_pollHandler; }
    const CPollHandler& PollHandler() const { return m_pollHandler; }

    // The selected unit (1..4, 0 for none), its model, and the menu it shows (-1 while its
    // menus are not loaded).
    int SelectedUnit() const;
    static uint8_t SelectedModel() { return g_unitStatus[kStatusByteModel]; }
    int32_t& CurrentMenu() { return g_panelModel.m_currentMenu[SelectedUnit()]; }
    int CurrentMenuShown() const { return g_panelModel.m_currentMenu[SelectedUnit()]; }

    // --- Selection and menu retrieval (ConsoleSelection.cpp) ---
    void SelectUnit(int unit);
    void RetrieveMenus();

    // --- The line (ConsoleLine.cpp) ---
    enum class PortOpening { Now, Aside };
    // From now until it goes, the controller answers the link's failures and shows its waits
    // and the units it gave up on.
    void AttachToLine();
    // The stored port opened, then the unit search; `afterSearch` runs once the window is
    // idle after it.
    void OpenPortAndSearch(PortOpening opening, std::function<void()> afterSearch);
    // The setup key: the port setup, then the chosen port opened aside, the polls waiting.
    void RunPortSetupKey();

    // --- Polling and link supervision (ConsolePolling.cpp) ---
    // The search of start-up: every address polled once, then the polls run.
    void StartUnitSearch();
    // The window's timers, by kind (PanelTimer).
    void OnPollTimer();
    void OnKeyScanTimer();
    void OnPromptTimer();
    void OnMessageClearTimer();
    // The selected unit's status read and what it flags handled. A read that yields to the
    // user and gives the line up keeps the last status and handles nothing.
    enum class StatusCheck { Yielded, Handled, ValuesReadAnew };
    StatusCheck CheckUnitStatus(LineUse use = LineUse::Ordinary);
    // The selected unit's values read now; the tables keep the last ones when it fails.
    static Status ReadValuesNow();
    // Runs as each answer of the polls' value reads is in the tables, before the panel shows
    // it and before the rest of the tick: the unit's own changes need not wait for them.
    void SetValuesReadHook(std::function<void()> hook) { m_valuesRead = std::move(hook); }
    // Nest: the polls run again when the last holder resumes them.
    void StopPolling();
    void ResumePolling();
    bool PollingStopped() const { return m_pollHolds > 0; }
    // The link could not be reopened while a unit is selected.
    void OnLinkLost();
    // With a unit selected the link is lost, else a box says why.
    void OnPortFailed(const PortFailure& failure) override;
    // Whether the alert of a lost link is up.
    bool LinkLost() const { return m_linkLostShown; }
    // The address byte of unit n's last answer, 0 when it did not answer.
    uint8_t AnsweringAddress(int unit) const;
    // The information line's word on the line while a wait lasts, and on a unit given up on.
    void ShowLineWait(const LineTask& task, uint32_t waited_ms, bool inputWaits, bool done);
    void ShowGivenUp(const std::string& what, int unit);

    // A click on menu button 0..9 or function button 0..4, as the window runs it.
    void OnMenuButton(int button);
    void OnFunctionButton(int button);
    // The knobs bound anew to the menu on show (in the keyframe menu the KeyFrame knob picks
    // the current keyframe).
    void BindKnobs();
    // The keyframe menu's function buttons: insert, delete, run (ConsoleKeyframes.cpp).
    void OnKeyframeButton(int button);
    // The current effect's keyframe state, its knobs and labels, shown anew.
    void LoadKeyframeState();
    // The current effect's keyframe and keyframe count, as the information line shows them.
    static int CurrentKeyframe();
    static int KeyframeCount();
    // The record knob display `display` shows in the menu on show; null when none.
    ParamRecord* BoundRecord(int display) const;
    // A double-click on display `display`: its default value, or with ALT its attributes.
    void OnKnobDisplayDoubleClick(int display);
    // Whether menu button `button` of the menu on show opens a dialog rather than a menu.
    bool MenuButtonOpensDialog(int button) const;

    // The menu's captions and the function buttons' from the tables; then the knobs.
    void ShowMenuLabels();
    void ShowFunctionLabels();
    void RefreshMenu();

    // The information line: a message, and an alert above it while it lasts.
    void ShowMessage(const std::string& text);
    void ShowAlert(const std::string& text);
    // A word that stands while its cause lasts (network control's port that cannot be bound):
    // shown now in the message's place, and again whenever the line has no message or alert
    // of its own, so a unit's messages still come first; empty takes it down.
    void ShowStanding(const std::string& text);
    const std::string& Message() const { return m_message; }
    const std::string& Alert() const { return m_alert; }

    // --- The hard keys' work and their lamps (ConsoleKeys.cpp) ---
    // The lamp bits from the unit's values, then the lamps shown; `full` keeps the
    // shortcut lamps.
    void UpdateLamps(bool full);
    // Hard key `key`'s lamp by the lamp bits (the setup key has none).
    bool LampLit(int key) const;
    void SelectView(int functionNumber);
    void SelectShortcut(int menu);
    void RecallMemory(int memory);
    // Clears the unit's files, waiting while it reports itself busy (bounded).
    void ClearFiles();
    bool AttributeLatchSet() const;
    void ClearAttributeLatch();
    void FlipAttributeLatch();
    // Reads the unit's settings text for the settings strip; a failed read keeps the text.
    void RefreshSettings();
    const std::string& SettingsLabel() const { return m_settingsLabel; }

    // --- Dialogs and the file-system update (ConsoleDialogs.cpp) ---
    // Runs the dialog of `kind` with `argument`, with the polls stopped, and the panel's work
    // after it; a dialog the unit's file system needs is refused without its reference video.
    void OpenPanelDialog(int kind, int argument);
    // Rebuilds every unit's file system after its stored files changed, then reads anew.
    void RunFileSystemUpdate();
    void OnUpdateFileSystem();

    // The files dialog's argument: `which` with the bits of the other units of this model.
    int FilesDialogArgument(int which) const;

    // The title, the information line and the menu and function buttons as shown.
    void FillShownState(PanelState& state) const;
    const MenuFace& Face() const { return m_face; }

  private:
    void ShowFace();
    // The line as it stands: the message, else the standing word while no alert is up.
    const std::string& ShownMessage() const;
    void ShowLine();
    void LightMenuButton(int button);
    void LightFunctionButton(int button);
    // The outcomes of a menu button.
    void ReturnToPreviousMenu(int old);
    void OpenUserFilesOrBypass();
    void ChooseInCustomMenu(int button, int old);
    void FollowMenuEntry(int button, int old);
    void ShowEnteredMenu(int button, int old);
    void ShowMenuReadout(int menu);
    // Polling and supervision.
    void DeclareLinkLost();
    void HandleUnitMessage(uint8_t message);
    void ShowIndicator(bool on);
    void TryReopenPort();
    bool StatusPollHeld() const;
    void RecoverMenus();
    // Reads the selected unit's values; a failed read is tried again at the next poll.
    void ReadUnitValues();
    // Whether the poll may read the values now: not while a unit keeps failing the reads,
    // but again every few seconds.
    bool ValueReadDue() const;
    void ShowValuesRead(int unit);
    void SendRouterSettings();
    void ShowRetrievalFailed(int unit);

    void SendDisplayValue(int display, uint16_t value);
    void ShowKeyframeRange(const EffectRecord& effect);
    void ShowCurrentFrameTime(const EffectRecord& effect);
    void InsertKeyframe(EffectRecord& effect);
    void DeleteKeyframe(EffectRecord& effect);
    void RereadKeyframes(EffectRecord& effect);
    bool RefuseWithoutReference(int kind);
    void RunDialogKind(int kind, int argument);
    void RunAfterWork(int kind, const PanelDialogResult& result);
    void ReloadValues();
    void SetLampBits(bool full);
    bool WaitWhileBusy();
    // One step of a function on the unit.
    void StepFunction(int offset);

    PanelView& m_view;
    CPollHandler m_pollHandler;
    MenuFace m_face;
    std::string m_message;
    std::string m_alert;
    std::string m_settingsLabel;  // the selected unit's settings text, as last read
    std::string m_standing;

    bool m_indicatorOn = false;     // status flag 0x01 at the last poll
    uint32_t m_lastReopenTick = 0;  // when the lost device was last tried again
    bool m_reopenTried = false;     // m_lastReopenTick holds a try of the present loss
    bool m_linkLostShown = false;   // the loss alert is up for the present loss
    bool m_statusHeld = false;      // a failed status poll pauses the next ones for 1 s
    uint32_t m_statusHeldSince = 0;
    bool m_valuesUnread = false;  // the last value read failed: the tables may not be the unit's
    bool m_valuesReadThisTick = false;  // the present poll tick read the values
    int m_failedValueTicks = 0;         // poll ticks in a row whose value read failed
    uint32_t m_lastValueRead_ms = 0;
    std::function<void()> m_valuesRead;
    int m_pollHolds = 0;              // StopPolling calls not yet resumed
    bool m_lineWaitShown = false;     // the info line says what the line waits for
    bool m_givenUpShown = false;      // the alert says a unit was given up on
    std::string m_messageBeforeWait;  // the info line's message while a long wait is shown
    QObject m_lineContext;            // ends the port's late answers with the controller
};
