#pragma once

#include <functional>
#include <string>
#include <vector>

#include "fuzz/SilentView.h"

// A window that records what the controller asks of it.
class FakeView : public SilentView {
  public:
    void ShowMenuFace(const MenuFace& shown) override { face = shown; }
    void ShowInfoLine(const std::string& message, const std::string&) override { line = message; }
    void ShowMessageBox(const std::string& text) override { Note(("box " + text).c_str(), 0); }

    std::optional<PanelDialogResult> RunDialog(int kind, int) override {
        Note("dialog", kind);
        return std::nullopt;
    }
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
