#include <gtest/gtest.h>

#include <functional>

#include "link/DialogRequests.h"
#include "link/EffectCommands.h"
#include "link/FileCommands.h"
#include "link/GpiCommands.h"
#include "link/KeyframeCommands.h"
#include "link/SetOnAirLockout.h"
#include "tests/link/CommandsTestSupport.h"
#include "tests/link/StorageFixture.h"

namespace {

class StoragePatienceTest : public StorageFixture {
  protected:
    // The one answer a command waits for arrives `delay_ms` after its request.
    void Single(uint8_t code, uint32_t delay_ms) { peer.AnswerPacket(0x10, code, {}, delay_ms); }
    // The first answer of a list arrives `delay_ms` late; when it is taken, the last part
    // follows at once.
    void List(uint8_t last, uint32_t delay_ms) {
        Single(0x00, delay_ms);
        if (delay_ms == m_onTime_ms) {
            Answer(last);
        }
    }
    uint32_t m_onTime_ms = 0;
};

struct PatienceCase {
    const char* command;
    uint32_t reads;
    std::function<void(uint32_t delay_ms)> script;
    std::function<Status()> run;
};

// Each command accepts an answer whose first byte comes on its read `reads` - 1, and gives up
// with NoAnswer when it comes on read `reads`: 10 s (500 reads) for what a unit answers from
// what it holds, a minute (3,000) where it acts first, five minutes (15,000) for a rebuild.
TEST_F(StoragePatienceTest, EachCommandWaitsItsOwnNumberOfReads) {
    AnswerBuffer answer{};
    const uint8_t noData[1] = {};
    const PatienceCase cases[] = {
        {"ReadFileList", 500, [this](uint32_t d) { List(0x44, d); },
         [] { return ReadFileList(FileKind::Main); }},
        {"WriteFileEntry", 3'000, [this](uint32_t d) { Single(0x00, d); },
         [] { return WriteFileEntry(kNewFileId, "A", 0, FileKind::Main); }},
        {"LoadFile", 3'000, [this](uint32_t d) { Single(0x1D, d); },
         [] { return LoadFile(FileKind::Main, 1); }},
        {"DeleteFile", 3'000, [this](uint32_t d) { Single(0x1B, d); },
         [] { return DeleteFile(FileKind::Main, 1); }},
        {"ReadFileData", 500, [this](uint32_t d) { List(0x19, d); },
         [] { return ReadFileData(1); }},
        {"WriteFileData", 3'000,
         [this](uint32_t d) {
             peer.AnswerPacket(0x20, 0x40, std::vector<uint8_t>(9, 0));
             peer.Silence();
             Single(0x1B, d);
         },
         [] {
             g_transferBuffer.complete = true;
             return WriteFileData(0x20);
         }},
        {"UpdateFileSystem", 15'000,
         [this](uint32_t d) {
             peer.AnswerPacket(0x20, 0x40, std::vector<uint8_t>(9, 0));
             Single(0x1B, d);
         },
         [] { return UpdateFileSystem(0x20); }},
        {"ReadGpiEventList", 500, [this](uint32_t d) { List(0x4A, d); },
         [] { return ReadGpiEventList(); }},
        {"ReadGpiSequence", 500, [this](uint32_t d) { Single(0x5F, d); },
         [] { return ReadGpiSequence(0, GpiSequenceAction::Read); }},
        {"SetGpiEvent", 3'000, [this](uint32_t d) { Single(0x1D, d); },
         [] { return SetGpiEvent(0, 0, kGpiEventInsert, 1); }},
        {"ReadGpiStatus", 500, [this](uint32_t d) { Single(0x0D, d); },
         [&answer] { return ReadGpiStatus(answer); }},
        {"SetOnAirLockout", 3'000, [this](uint32_t d) { Single(0x00, d); },
         [] { return SetOnAirLockout(1, 1); }},
        {"ReadEffectList", 500, [this](uint32_t d) { List(0x48, d); },
         [] { return ReadEffectList(); }},
        {"CreateEffect", 3'000, [this](uint32_t d) { Single(0x5C, d); },
         [] {
             uint8_t number = 0;
             return CreateEffect("E", number);
         }},
        {"SelectEffect", 3'000, [this](uint32_t d) { Single(0x35, d); },
         [] { return SelectEffect(); }},
        {"ReadKeyframe", 500, [this](uint32_t d) { Single(0x5E, d); },
         [&answer] { return ReadKeyframe(0, 0, answer); }},
        {"SendCommand", 3'000, [this](uint32_t d) { Single(0x33, d); },
         [&answer, &noData] { return SendCommand(Command::Keyframe, 0x33, noData, answer); }},
        {"RequestEffectInfo", 500, [this](uint32_t d) { Single(0x77, d); },
         [&answer] { return RequestEffectInfo(0, answer); }},
        {"RequestEffectDelete", 3'000, [this](uint32_t d) { Single(0x77, d); },
         [&answer] { return RequestEffectDelete(0, answer); }},
        {"RequestAssignments", 500, [this](uint32_t d) { Single(0x77, d); },
         [&answer] { return RequestAssignments(0, answer); }},
        {"WriteAssignments", 3'000, [this](uint32_t d) { Single(0x77, d); },
         [&answer] { return WriteAssignments(0, {}, answer); }},
        {"RequestKeyframe", 500, [this](uint32_t d) { Single(0x77, d); },
         [&answer] { return RequestKeyframe(0, 0, answer); }},
    };
    for (const PatienceCase& c : cases) {
        SCOPED_TRACE(c.command);
        m_onTime_ms = DelayForRead(c.reads - 1);
        c.script(m_onTime_ms);
        EXPECT_EQ(c.run(), Status::Ok);
        c.script(DelayForRead(c.reads));
        EXPECT_EQ(c.run(), Status::NoAnswer);
    }
}

}  // namespace
