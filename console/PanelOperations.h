#pragma once

#include <cstdint>

#include "actions/PanelState.h"
#include "model/PanelModel.h"

// What the panel's actions have the window do once an action is resolved: the work a click
// on each control runs, the polls to hold while a knob turns, and what the window shows that
// the controller does not keep itself. The window implements it; tests use the real panel.
class PanelOperations {
  public:
    virtual ~PanelOperations() = default;

    // The selected unit (1..4, 0 for none) and whether its link is lost.
    virtual int SelectedUnit() const = 0;
    virtual bool LinkLost() const = 0;
    virtual bool AttributeLatchSet() const = 0;
    // The address byte of unit n's last answer, 0 when it did not answer.
    virtual uint8_t AnsweringAddress(int unit) const = 0;
    // The record knob display `display` shows in the current menu; null when none.
    virtual ParamRecord* BoundRecord(int display) const = 0;

    virtual void OnMenuButton(int button) = 0;
    virtual void OnFunctionButton(int button) = 0;
    virtual void OnKnobDisplayDoubleClick(int display) = 0;
    virtual void SelectUnit(int unit) = 0;
    virtual void SelectView(int functionNumber) = 0;
    virtual void SelectShortcut(int menu) = 0;
    virtual void RecallMemory(int memory) = 0;
    virtual void ClearFiles() = 0;
    virtual void FlipAttributeLatch() = 0;
    virtual void RunPortSetupKey() = 0;
    // The knobs bind anew to the current menu and redraw; one display redraws.
    virtual void BindKnobs() = 0;
    virtual void RedrawKnobDisplay(int display) = 0;
    // Nest: the polls run again when the last holder resumes them.
    virtual void StopPolling() = 0;
    virtual void ResumePolling() = 0;

    // The menu title, the information line and the menu and function buttons' captions and
    // lamps as the window shows them.
    virtual void FillShownState(PanelState& state) const = 0;
};
