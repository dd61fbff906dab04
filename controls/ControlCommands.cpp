#include "controls/ControlCommands.h"

#include "link/ParameterCommands.h"
#include "link/UnitCommands.h"

namespace {

// The controls' commands on the program's link.
class LinkControlCommands final : public ControlCommands {
  public:
    Status AdjustParameter(uint8_t number, int16_t delta) override {
        return ::AdjustParameter(number, delta);
    }
    Status ReadSettingsLabel(std::string& text) override { return ::ReadSettingsLabel(text); }
};

LinkControlCommands g_linkControlCommands;
ControlCommands* g_installedCommands = nullptr;

}  // namespace

ControlCommands& CurrentControlCommands() {
    return g_installedCommands != nullptr ? *g_installedCommands : g_linkControlCommands;
}

void SetControlCommands(ControlCommands* commands) {
    g_installedCommands = commands;
}
