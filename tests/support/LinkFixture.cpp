#include "tests/support/LinkFixture.h"

void LinkFixture::SetUp() {
    ResetProgramState();
    line.SetPeer(&peer);
    RegisterInProcessLine(kLineName, &line);
    PortNames().SetRunOverride(std::string("inproc:") + kLineName);
    SetPrompter(&prompter);
    ASSERT_TRUE(ReopenPort(1));
    line.TakeWritten();
}

void LinkFixture::TearDown() {
    g_link.Close();
    CSerialCom::SetFailureReaction(nullptr);
    PortNames().SetRunOverride("");
    UnregisterInProcessLine(kLineName);
    SetPrompter(nullptr);
    ResetProgramState();
}
