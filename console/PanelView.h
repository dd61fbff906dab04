#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "console/MenuFace.h"
#include "console/PanelDialogKinds.h"
#include "model/PanelModel.h"

// What the panel controller has the window do: show what the controller decided (the menu's
// face, the information line, the lamps, a button lit while its work runs) and the work that
// is still the window's own (dialogs, knobs, read-outs, timers). The window implements it.
class PanelView {
  public:
    virtual ~PanelView() = default;

    // The face of the menus as it stands now: the window shows what changed.
    virtual void ShowMenuFace(const MenuFace& face) = 0;
    // The information line: a message, and an alert that stands above it while it lasts.
    virtual void ShowInfoLine(const std::string& message, const std::string& alert) = 0;

    // The hard keys' and the function indicators' lamps as the controller's lamp bits say.
    virtual void ShowLamps() = 0;
    // Hard key `key` lit or not, drawn at once.
    virtual void ShowHardKey(int key, bool lit) = 0;
    // Hard key `key`'s lamp as shown.
    virtual bool HardKeyLit(int key) const = 0;
    virtual void ShowSettings(const std::string& text) = 0;
    // The read-outs of unit `unit`'s values (model badge, screen colour, keyframes).
    virtual void ShowReadouts(int unit) = 0;
    // A box the user confirms, with the polls stopped.
    virtual void ShowMessageBox(const std::string& text) = 0;

    // The window's timers by kind (PanelTimer), for the controller's polls.
    virtual void StartTimer(int timer, int period_ms) = 0;
    virtual void StopTimer(int timer) = 0;
    // The reference video flags of the selected unit's last status.
    virtual void ShowReferenceFlags(uint8_t flags) = 0;
    // The on-line row anew, and the selected unit's indicator on or off.
    virtual void ShowOnLine() = 0;
    virtual void ShowUnitIndicator(int unit, bool on) = 0;
    virtual void ShowModelBadge() = 0;
    // 1 for OK, 2 for Cancel.
    virtual int AskOkCancel(const std::string& text) = 0;

    // Runs the registered dialog of `kind` modally with `argument`; nothing when this build
    // has none (the user is told).
    virtual std::optional<PanelDialogResult> RunDialog(int kind, int argument) = 0;
    // The panel painted now: a closed dialog's place before a long piece of work.
    virtual void RepaintNow() = 0;
    // The port the user chooses in the port setup, from `portNumber`; nothing when cancelled.
    virtual std::optional<int> RunPortSetup(int portNumber) = 0;
    // The knobs bind anew to the current menu and redraw; one display redraws.
    virtual void BindKnobs() = 0;
    virtual void RedrawKnobDisplay(int display) = 0;
    // Display `display` shows `record` (the keyframe menu's frame time).
    virtual void ShowKnobDisplay(int display, ParamRecord* record) = 0;
};
