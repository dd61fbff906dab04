#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "platform/InProcessLine.h"
#include "platform/PortNames.h"
#include "tests/support/ScriptedPeer.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/StatusPrinter.h"

// The link opened on an in-process line on the virtual clock, with a scripted peer, a
// scripted prompter and fresh program-wide records. COM1 reaches the line.
class LinkFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the scripted peer (e.g. with a simulated line of units).
    void UsePeer(LinePeer* peer) { line.SetPeer(peer); }

    ScopedVirtualClock time{1000};
    InProcessLine line;
    ScriptedPeer peer;
    ScriptedPrompter prompter;
    static constexpr const char* kLineName = "fixture";
};
