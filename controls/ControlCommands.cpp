#include "controls/ControlCommands.h"

#include "link/Framing.h"

#if __has_include("link/UnitCommands.h")
#include "link/UnitCommands.h"
#define VCP_HAVE_UNIT_COMMANDS 1
#endif

namespace {

// The controls' commands on the program's link.
class LinkControlCommands final : public ControlCommands {
  public:
    int AdjustParameter(uint8_t number, int16_t delta) override {
#ifdef VCP_HAVE_UNIT_COMMANDS
        return ::AdjustParameter(number, delta);
#else
        (void)number;
        (void)delta;
        return kStatusWriteFailed;
#endif
    }
    int ReadSettingsLabel(std::string& text) override {
#ifdef VCP_HAVE_UNIT_COMMANDS
        return ::ReadSettingsLabel(text);
#else
        (void)text;
        return kStatusWriteFailed;
#endif
    }
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
