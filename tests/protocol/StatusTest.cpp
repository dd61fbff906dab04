#include <gtest/gtest.h>

#include <set>
#include <string>

#include "protocol/Status.h"

namespace {

// The numbers are vcp-probe's exit statuses: scripts rely on them.
TEST(StatusTest, EveryResultKeepsItsNumberAndHasWordsOfItsOwn) {
    const std::pair<Status, int> rows[] = {
        {Status::Ok, 0},          {Status::NoAnswer, 1},           {Status::WrongLength, 3},
        {Status::WriteFailed, 4}, {Status::WrongCode, 6},          {Status::NoLength, 102},
        {Status::NoCode, 103},    {Status::MenuDataOverflow, 110},
    };
    const std::string unknown = StatusText(static_cast<Status>(2));
    std::set<std::string> texts;
    for (const auto& [status, number] : rows) {
        SCOPED_TRACE(number);
        EXPECT_EQ(static_cast<int>(status), number);
        const std::string text = StatusText(status);
        EXPECT_FALSE(text.empty());
        EXPECT_NE(text, unknown);
        EXPECT_TRUE(texts.insert(text).second) << text;
    }
    EXPECT_EQ(std::string(StatusText(Status::NoAnswer)), "no answer");
    EXPECT_EQ(std::string(StatusText(Status::WrongCode)), "wrong answer code");
}

}  // namespace
