#pragma once

#include <cstdint>
#include <string>

#include "protocol/Status.h"

// The unit commands the controls send. The program's link carries them; tests install a
// recorder. Results are the link's.
class ControlCommands {
  public:
    virtual ~ControlCommands() = default;
    // Changes knob parameter `number` by the signed `delta`; the unit answers with updates.
    virtual Status AdjustParameter(uint8_t number, int16_t delta) = 0;
    // The unit's one-line settings text; `text` is left alone when the read fails.
    virtual Status ReadSettingsLabel(std::string& text) = 0;
};

// The commands in use: the link's unless a test installed others.
ControlCommands& CurrentControlCommands();
// Installs `commands` (nullptr restores the link's). The caller keeps ownership.
void SetControlCommands(ControlCommands* commands);
