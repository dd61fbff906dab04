#pragma once

#include <functional>
#include <string>
#include <vector>

#include "console/PanelView.h"

// A window that records what the controller asks of it.
class FakeView : public PanelView {
  public:
    void ShowMenuFace(const MenuFace& shown) override { face = shown; }
    void ShowInfoLine(const std::string& message, const std::string&) override { line = message; }
    void ShowLamps() override {}
    void ShowHardKey(int, bool) override {}
    bool HardKeyLit(int) const override { return false; }
    void ShowSettings(const std::string&) override {}
    void ShowReadouts(int) override {}
    void ShowMessageBox(const std::string& text) override { Note(("box " + text).c_str(), 0); }
    void StartTimer(int, int) override {}
    void StopTimer(int) override {}
    void ShowReferenceFlags(uint8_t) override {}
    void ShowOnLine() override {}
    void ShowUnitIndicator(int, bool) override {}
    void ShowModelBadge() override {}
    int AskOkCancel(const std::string&) override { return 1; }

    std::optional<PanelDialogResult> RunDialog(int kind, int) override {
        Note("dialog", kind);
        return std::nullopt;
    }
    void RepaintNow() override {}
    std::optional<int> RunPortSetup(int portNumber) override {
        Note("setup", portNumber);
        return chosenPort;
    }
    void BindKnobs() override {
        Note("bind", 0);
        if (onBind) {
            onBind();
        }
    }
    void RedrawKnobDisplay(int display) override { Note("redraw", display); }
    void ShowKnobDisplay(int, ParamRecord*) override {}

    // Unit `unit` selected, answering, with its menus loaded and menu 0 on show.
    static void SelectLoadedUnit(int unit) {
        g_currentUnitAddress = AddressOfUnit(unit);
        g_unitStatus[kStatusByteModel] = 11;
        g_panelModel.m_currentMenu[unit] = 0;
    }

    std::vector<std::string> calls;
    std::function<void()> onBind;  // what a menu's new knobs bring
    MenuFace face;
    std::string line;
    std::optional<int> chosenPort;  // the port setup's answer

  private:
    void Note(const char* what, int number) {
        calls.push_back(std::string(what) + " " + std::to_string(number));
    }
};
