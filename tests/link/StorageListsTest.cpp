#include <gtest/gtest.h>

#include <functional>

#include "link/CollectedList.h"
#include "link/EffectCommands.h"
#include "link/FileCommands.h"
#include "link/GpiCommands.h"
#include "tests/link/StorageFixture.h"

namespace {

class StorageListsTest : public StorageFixture {};

struct ListCase {
    const char* list;
    ListCodes codes;
    std::function<Status()> read;
    std::function<int()> count;
    std::function<std::string()> firstName;
    int overflowingEntries;  // one entry more than the buffer holds
    int countWhenFull;
};

const ListCase kLists[] = {
    {"main directory",
     {0x43, 0x44},
     [] { return ReadFileList(FileKind::Main); },
     [] { return DirectoryOf(FileKind::Main).count; },
     [] { return DirectoryOf(FileKind::Main).entries[0].Name(); },
     101,
     99},
    {"user directory",
     {0x45, 0x46},
     [] { return ReadFileList(FileKind::User); },
     [] { return DirectoryOf(FileKind::User).count; },
     [] { return DirectoryOf(FileKind::User).entries[0].Name(); },
     101,
     99},
    {"GPI list",
     {0x49, 0x4A},
     [] { return ReadGpiEventList(); },
     [] { return g_gpiList.count; },
     [] { return NameText(g_gpiList.entries[0].name); },
     101,
     kGpiSlots},
    {"effect list",
     {0x47, 0x48},
     [] { return ReadEffectList(); },
     [] { return g_effectCount; },
     [] { return g_effectTable[0].Name(); },
     10,
     kEffectSlots},
};

// A unit that keeps saying "more" is left after a bounded run, and what it sent on the way is
// not a list: the table keeps the list read before, as after any other failure mid-list.
TEST_F(StorageListsTest, ListThatNeverEndsLeavesTheTableAsItWas) {
    for (const ListCase& c : kLists) {
        SCOPED_TRACE(c.list);
        AnswerList(c.codes.more, c.codes.last, WireEntries(3));
        ASSERT_EQ(c.read(), Status::Ok);

        Answer(0x00);
        Answer(c.codes.more, WireEntry(9, 9, "Half a list"));
        for (int i = 1; i < kMaxListAnswers; ++i) {
            Answer(c.codes.more);
        }
        EXPECT_EQ(c.read(), Status::WrongLength);
        EXPECT_EQ(c.count(), 3);
        EXPECT_EQ(c.firstName(), "F1");
    }
}

// A list longer than its table's buffer fills the table with what fit.
TEST_F(StorageListsTest, ListCutAtTheEndOfItsBufferStillFillsTheTable) {
    for (const ListCase& c : kLists) {
        SCOPED_TRACE(c.list);
        // In parts of 224 bytes the entry too many comes with the last part.
        AnswerList(c.codes.more, c.codes.last, WireEntries(c.overflowingEntries), 224);
        EXPECT_EQ(c.read(), Status::WrongLength);
        EXPECT_EQ(c.count(), c.countWhenFull);
        EXPECT_EQ(c.firstName(), "F1");
    }
}

}  // namespace
