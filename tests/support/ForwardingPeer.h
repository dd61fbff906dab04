#pragma once

#include <cstdint>

#include "platform/InProcessLine.h"

// A peer in front of another (a simulated line of units): passes every call on, and shows a
// test each byte the master writes before the units see it.
class ForwardingPeer : public LinePeer {
  public:
    explicit ForwardingPeer(LinePeer& next) : m_next(next) {}
    void OnMasterByte(InProcessLine& line, uint8_t byte) override {
        BeforeByte(byte);
        m_next.OnMasterByte(line, byte);
    }
    void OnBreak(InProcessLine& line, bool on) override { m_next.OnBreak(line, on); }
    void OnMasterRead(InProcessLine& line) override { m_next.OnMasterRead(line); }

  protected:
    virtual void BeforeByte(uint8_t byte) = 0;

  private:
    LinePeer& m_next;
};
