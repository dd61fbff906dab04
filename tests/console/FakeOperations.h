#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "console/PanelOperations.h"

// A panel that records what the actions ask of it, with its own knob bindings and captions.
class FakeOperations : public PanelOperations {
  public:
    int SelectedUnit() const override { return UnitOfAddress(g_currentUnitAddress); }
    bool LinkLost() const override { return linkLost; }
    bool AttributeLatchSet() const override { return (g_panelModel.m_lampBits[0] & 0x10) != 0; }
    uint8_t AnsweringAddress(int) const override { return 0; }
    ParamRecord* BoundRecord(int display) const override { return bound.at(display); }

    void OnMenuButton(int button) override {
        Note("menu", button);
        if (onMenuButton) {
            onMenuButton(button);
        }
    }
    void OnFunctionButton(int button) override { Note("function", button); }
    void OnKnobDisplayDoubleClick(int display) override { Note("display", display); }
    void SelectUnit(int unit) override { Note("unit", unit); }
    void SelectView(int function) override { Note("view", function); }
    void SelectShortcut(int menu) override { Note("shortcut", menu); }
    void RecallMemory(int memory) override { Note("memory", memory); }
    void ClearFiles() override { Note("clear", 0); }
    void FlipAttributeLatch() override {
        g_panelModel.m_lampBits[0] ^= 0x10;
        Note("latch", 0);
    }
    void RunPortSetupKey() override { Note("setup", 0); }
    void BindKnobs() override { ++binds; }
    void RedrawKnobDisplay(int display) override { Note("redraw", display); }
    void StopPolling() override { ++pollHolds; }
    void ResumePolling() override { --pollHolds; }
    void FillShownState(PanelState& state) const override {
        for (size_t i = 0; i < functionCaptions.size(); ++i) {
            state.functionButtons[i].label = functionCaptions[i];
        }
    }

    // Unit `unit` selected, answering, with its menus loaded.
    static void SelectLoadedUnit(int unit) {
        g_currentUnitAddress = AddressOfUnit(unit);
        g_unitStatus[kStatusByteModel] = 11;
        g_panelModel.m_currentMenu[unit] = 0;
    }

    std::array<ParamRecord*, kKnobCount> bound{};
    std::array<std::string, 6> functionCaptions{};
    std::vector<std::string> calls;
    std::function<void(int button)> onMenuButton;  // what the menu shown then changes
    bool linkLost = false;
    int binds = 0;
    int pollHolds = 0;

  private:
    void Note(const char* what, int number) {
        calls.push_back(std::string(what) + " " + std::to_string(number));
    }
};
