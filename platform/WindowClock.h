#pragma once

#include "platform/Clock.h"

// Real time for a program with a window: a pause on the window's thread turns its event
// loop (WindowWait), so the window answers through it; on any other thread it sleeps.
class WindowClock final : public Clock {
  public:
    uint32_t TickCount() override { return m_system.TickCount(); }
    void Sleep(uint32_t ms) override;

  private:
    SystemClock m_system;
};
