#include <gtest/gtest.h>

#include "link/DialogRequests.h"
#include "link/EffectCommands.h"
#include "link/KeyframeCommands.h"
#include "link/SetOnAirLockout.h"
#include "tests/link/StorageFixture.h"

namespace {

class EffectCommandsTest : public StorageFixture {
  protected:
    // An answer buffer as ReceivePacket leaves it: L = data size + 1.
    static AnswerBuffer AnswerWith(uint8_t code, const Bytes& data) {
        AnswerBuffer answer{};
        answer[1] = static_cast<uint8_t>(data.size() + 1);
        answer[2] = code;
        std::copy(data.begin(), data.end(), answer.begin() + 3);
        return answer;
    }
};

TEST_F(EffectCommandsTest, EffectListCountsWholeEntries) {
    Bytes list = WireEntries(2);
    AnswerList(0x47, 0x48, list);
    ASSERT_EQ(ReadEffectList(), Status::Ok);
    EXPECT_EQ(g_effectCount, 2);
    EXPECT_EQ(Payloads(), (std::vector<Bytes>{{0xC4}, {0xC8}}));

    list.insert(list.end(), {1, 2, 3, 4});  // 60 bytes
    AnswerList(0x47, 0x48, list, 20);
    ASSERT_EQ(ReadEffectList(), Status::Ok);
    EXPECT_EQ(g_effectCount, 2);
    EXPECT_EQ(g_effectTable[1].number, 2);
    EXPECT_EQ(g_effectTable[1].info, 102);
    EXPECT_EQ(g_effectTable[1].Name(), "F2");
}

TEST_F(EffectCommandsTest, EffectListLongerThanItsBufferKeepsNine) {
    g_effectTable[0].keyframeCount = 5;
    AnswerList(0x47, 0x48, WireEntries(12), 112);
    EXPECT_EQ(ReadEffectList(), Status::WrongLength);
    EXPECT_EQ(g_effectCount, kEffectSlots);
    EXPECT_EQ(g_effectTable[8].Name(), "F9");
    EXPECT_EQ(g_effectTable[0].keyframeCount, 5);  // the list fills names and numbers only
}

TEST_F(EffectCommandsTest, CreatingSendsTwentyFourNameBytes) {
    Answer(0x5C, {0x07});
    uint8_t number = 0;
    ASSERT_EQ(CreateEffect("Wipe", number), Status::Ok);
    EXPECT_EQ(number, 7);
    Bytes expected{0xB0, 0xFF, 0x01, 'W', 'i', 'p', 'e'};
    expected.resize(27, 0);
    EXPECT_EQ(Payloads().at(0), expected);
    EXPECT_EQ(peer.Requests().at(0).at(1), 27);

    Answer(0x5C, {0x08});
    ASSERT_EQ(CreateEffect("ABCDEFGHIJKLMNOPQRSTUVWXYZ", number), Status::Ok);
    EXPECT_EQ(Payloads().at(1).size(), 27u);
    EXPECT_EQ(Payloads().at(1).back(), 'X');

    number = 0;
    Answer(0x35, {0x09});
    EXPECT_EQ(CreateEffect("x", number), Status::WrongCode);
    EXPECT_EQ(number, 0);
}

TEST_F(EffectCommandsTest, SelectAndKeyframeRequests) {
    g_currentEffect = 3;
    Answer(0x35);
    EXPECT_EQ(SelectEffect(), Status::Ok);
    Answer(0x5E);
    EXPECT_EQ(SelectEffect(), Status::WrongCode);
    AnswerBuffer answer{};
    Answer(0x5E, {0, 0, 0, 0x01, 0x2C, 7, 8, 9});
    EXPECT_EQ(ReadKeyframe(3, 4, answer), Status::Ok);
    EXPECT_EQ(KeyframeFromAnswer(answer).time, 300);
    EXPECT_EQ(KeyframeFromAnswer(answer).bytes, (std::array<uint8_t, 3>{7, 8, 9}));
    Answer(0x33);
    EXPECT_EQ(ReadKeyframe(3, 4, answer), Status::WrongCode);
    const Bytes edit{3, 0, 0, 0x01, 0x2C};
    Answer(0x33);
    EXPECT_EQ(SendCommand(Command::Keyframe, 0x33, edit, answer), Status::Ok);
    Answer(0x5E);
    EXPECT_EQ(SendCommand(Command::Keyframe, 0x33, edit, answer), Status::WrongCode);
    EXPECT_EQ(SendCommand(Command::Keyframe, 0x33, Bytes(255, 0), answer), Status::WriteFailed);
    EXPECT_EQ(Payloads(), (std::vector<Bytes>{{0xA5, 3},
                                              {0xA5, 3},
                                              {0xB2, 3, 4, 2},
                                              {0xB2, 3, 4, 2},
                                              {0xB2, 3, 0, 0, 1, 0x2C},
                                              {0xB2, 3, 0, 0, 1, 0x2C}}));
}

TEST_F(EffectCommandsTest, EffectAnswersStayInsideTheTable) {
    Bytes info(29, 0);
    info[0] = 2;
    info[26] = 200;  // more keyframes than an effect holds
    info[27] = 0x12;
    info[28] = 0x34;
    EXPECT_EQ(ApplyEffectInfo(AnswerWith(0x00, info)), 2);
    EXPECT_EQ(g_effectTable[2].keyframeCount, kMaxKeyframes);
    EXPECT_EQ(g_effectTable[2].value, 0x1234);
    info[0] = kEffectSlots;
    EXPECT_EQ(ApplyEffectInfo(AnswerWith(0x00, info)), -1);
    // An answer cut before the value stores nothing, even for an entry the table has.
    info[0] = 2;
    info.resize(28);
    EXPECT_EQ(ApplyEffectInfo(AnswerWith(0x00, info)), -1);
    EXPECT_EQ(g_effectTable[2].value, 0x1234);

    EXPECT_EQ(ApplyEffectAssignments(AnswerWith(0x00, {1, 0, 3, 5, 6, 0x90})), 1);
    EXPECT_EQ(g_effectTable[1].assignmentCount, 3);
    EXPECT_EQ(g_effectTable[1].assignments[2], 0x90);
    // A count beyond what the answer carries, or beyond 32, is cut.
    EXPECT_EQ(ApplyEffectAssignments(AnswerWith(0x00, {1, 0, 250, 5, 6})), 1);
    EXPECT_EQ(g_effectTable[1].assignmentCount, 2);
    Bytes many(254, 1);
    many[2] = 250;
    EXPECT_EQ(ApplyEffectAssignments(AnswerWith(0x00, many)), 1);
    EXPECT_EQ(g_effectTable[1].assignmentCount, kMaxAssignments);
    EXPECT_EQ(ApplyEffectAssignments(AnswerWith(0x00, {200, 0, 1, 1})), -1);

    const AnswerBuffer keyframe = AnswerWith(0x5E, {0, 0, 0, 0xFF, 0xFE, 1, 2, 3});
    EXPECT_TRUE(StoreKeyframe(1, 31, keyframe));
    EXPECT_EQ(g_effectTable[1].keyframes[31].time, 0xFFFE);
    EXPECT_FALSE(StoreKeyframe(1, 32, keyframe));
    EXPECT_FALSE(StoreKeyframe(-1, 0, keyframe));
    EXPECT_FALSE(StoreKeyframe(kEffectSlots, 0, keyframe));
    EXPECT_FALSE(StoreKeyframe(1, 31, AnswerWith(0x5E, {0, 0, 0, 0, 1, 2, 3})));
    EXPECT_EQ(g_effectTable[1].keyframes[31].time, 0xFFFE);
}

TEST_F(EffectCommandsTest, EffectsDialogRequestsCarryTheirBytes) {
    AnswerBuffer answer{};
    for (int i = 0; i < 5; ++i) {
        Answer(0x77);
    }
    EXPECT_EQ(RequestEffectInfo(4, answer), Status::Ok);
    EXPECT_EQ(AnswerCode(answer), 0x77);
    EXPECT_EQ(RequestEffectDelete(4, answer), Status::Ok);
    EXPECT_EQ(RequestAssignments(4, answer), Status::Ok);
    const Bytes items{1, 2, 0x81};
    EXPECT_EQ(WriteAssignments(4, items, answer), Status::Ok);
    EXPECT_EQ(RequestKeyframe(4, 9, answer), Status::Ok);
    EXPECT_EQ(WriteAssignments(4, Bytes(252, 1), answer), Status::WriteFailed);
    EXPECT_EQ(Payloads(), (std::vector<Bytes>{{0xB0, 4, 2},
                                              {0xB0, 4, 0},
                                              {0xB1, 4, 2},
                                              {0xB1, 4, 1, 3, 1, 2, 0x81},
                                              {0xB2, 4, 9, 2}}));
    EXPECT_EQ(peer.Requests().at(3).at(1), 7);
}

TEST_F(EffectCommandsTest, LockOutWritesAndTheirAnswerCodes) {
    Answer(0x00);
    EXPECT_EQ(SetOnAirLockout(0x85, 1), Status::Ok);
    Answer(0x01);
    EXPECT_EQ(SetOnAirLockout(0x85, 2), Status::WrongCode);
    EXPECT_EQ(Payloads(), (std::vector<Bytes>{{0xB8, 0x85, 1}, {0xB8, 0x85, 2}}));
}

}  // namespace
