#pragma once

#include <cstdint>
#include <string>

#include "actions/PanelState.h"
#include "console/MenuFace.h"
#include "model/PanelModel.h"
#include "unit/PollHandler.h"

class PanelView;

// The panel controller's state and the work of the menus and the hard keys: which unit is
// selected and which menu it shows, what a menu, function or hard key does, the lamps, the
// face the menus put on the panel and the information line. It is the part of the panel that talks
// to the link for that work; the window (PanelView) shows what it decides and runs the dialogs it
// asks for.
class PanelConsole {
  public:
    explicit PanelConsole(PanelView& view);

    PanelView& View() const { return m_view; }
    CPollHandler& PollHandler() { return m_pollHandler; }
    const CPollHandler& PollHandler() const { return m_pollHandler; }

    // The selected unit (1..4, 0 for none), its model, and the menu it shows (-1 while its
    // menus are not loaded).
    int SelectedUnit() const;
    static uint8_t SelectedModel() { return g_unitStatus[kStatusByteModel]; }
    int32_t& CurrentMenu() { return g_panelModel.m_currentMenu[SelectedUnit()]; }
    int CurrentMenuShown() const { return g_panelModel.m_currentMenu[SelectedUnit()]; }

    // A click on menu button 0..9 or function button 0..4, as the window runs it.
    void OnMenuButton(int button);
    void OnFunctionButton(int button);

    // The menu's captions and the function buttons' from the tables; then the knobs.
    void ShowMenuLabels();
    void ShowFunctionLabels();
    void RefreshMenu();
    // Function button `button` shows the function at `offset` (the keyframe menu's own).
    void ShowFunctionLabel(int button, int offset);

    // The information line: a message, and an alert above it while it lasts.
    void ShowMessage(const std::string& text);
    void ShowAlert(const std::string& text);
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

    // The files dialog's argument: `which` with the bits of the other units of this model.
    int FilesDialogArgument(int which) const;

    // The title, the information line and the menu and function buttons as shown.
    void FillShownState(PanelState& state) const;
    const MenuFace& Face() const { return m_face; }

  private:
    void ShowFace();
    void LightMenuButton(int button);
    void LightFunctionButton(int button);
    // The outcomes of a menu button.
    void ReturnToPreviousMenu(int old);
    void OpenUserFilesOrBypass();
    void ChooseInCustomMenu(int button, int old);
    void FollowMenuEntry(int button, int old);
    void ShowEnteredMenu(int button, int old);
    void ShowMenuReadout(int menu);
    void SetLampBits(bool full);
    bool WaitWhileBusy();
    // One step of a function on the unit.
    void StepFunction(int offset);

    PanelView& m_view;
    CPollHandler m_pollHandler;
    MenuFace m_face;
    std::string m_message;
    std::string m_alert;
};
