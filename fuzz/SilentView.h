#pragma once

#include <optional>
#include <string>

#include "console/PanelView.h"

// A window that shows nothing and runs nothing, for the controller without the panel's window:
// the network targets' and the console tests' windows start from it and watch what they need.
class SilentView : public PanelView {
  public:
    void ShowMenuFace(const MenuFace&) override {}
    void ShowInfoLine(const std::string&, const std::string&) override {}
    void ShowLamps() override {}
    void ShowHardKey(int, bool) override {}
    bool HardKeyLit(int) const override { return false; }
    void ShowSettings(const std::string&) override {}
    void ShowReadouts(int) override {}
    void ShowMessageBox(const std::string&) override {}
    void StartTimer(int, int) override {}
    void StopTimer(int) override {}
    void ShowReferenceFlags(uint8_t) override {}
    void ShowOnLine() override {}
    void ShowUnitIndicator(int, bool) override {}
    void ShowModelBadge() override {}
    int AskOkCancel(const std::string&) override { return 1; }
    std::optional<PanelDialogResult> RunDialog(int, int) override { return std::nullopt; }
    void RepaintNow() override {}
    std::optional<int> RunPortSetup(int) override { return std::nullopt; }
    void BindKnobs() override {}
    void RedrawKnobDisplay(int) override {}
    void ShowKnobDisplay(int, ParamRecord*) override {}
};
