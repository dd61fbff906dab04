// Window timers by id on Qt basic timers: firing, stopping, and telling events apart.
#include <gtest/gtest.h>

#include <QBasicTimer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimerEvent>
#include <functional>
#include <map>

#include "platform/Clock.h"
#include "platform/WindowTimers.h"

namespace {

QCoreApplication& Application() {
    static int argc = 1;
    static char name[] = "vcp_test_platform";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? QCoreApplication::instance()
                                                                : new QCoreApplication(argc, argv);
    return *app;
}

// A window stand-in that forwards its timer events to its WindowTimers.
class TimerOwner : public QObject {
  public:
    TimerOwner() : timers(this) {}
    WindowTimers timers;
    std::map<int, int> fired;  // window timer id -> ticks
    std::map<int, int> qtIds;  // window timer id -> the Qt timer id of its last tick
    int foreign = 0;

  protected:
    void timerEvent(QTimerEvent* event) override {
        const int id = timers.IdOf(event);
        if (id == 0) {
            ++foreign;
        } else {
            ++fired[id];
            qtIds[id] = event->timerId();
        }
    }
};

// Runs the event loop until `done` or two seconds have passed.
bool RunUntil(const std::function<bool()>& done) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return done();
}

class WindowTimersTest : public ::testing::Test {
  protected:
    void SetUp() override { Application(); }
    TimerOwner owner;
};

TEST_F(WindowTimersTest, EachTimerFiresUnderItsOwnId) {
    owner.timers.SetTimer(2, 1);
    owner.timers.SetTimer(4, 3);
    EXPECT_TRUE(owner.timers.IsActive(2));
    EXPECT_TRUE(owner.timers.IsActive(4));
    EXPECT_FALSE(owner.timers.IsActive(3));
    ASSERT_TRUE(RunUntil([&] { return owner.fired[2] >= 3 && owner.fired[4] >= 1; }));
    EXPECT_EQ(owner.fired.count(3), 0u);
    EXPECT_EQ(owner.foreign, 0);
}

TEST_F(WindowTimersTest, KilledTimerStopsAndOthersGoOn) {
    owner.timers.SetTimer(1, 1);
    owner.timers.SetTimer(3, 1);
    ASSERT_TRUE(RunUntil([&] { return owner.fired[1] >= 1 && owner.fired[3] >= 1; }));
    owner.timers.KillTimer(1);
    owner.timers.KillTimer(7);  // never set: nothing happens
    EXPECT_FALSE(owner.timers.IsActive(1));
    const int ticks_when_killed = owner.fired[1];
    const int target = owner.fired[3] + 3;
    ASSERT_TRUE(RunUntil([&] { return owner.fired[3] >= target; }));
    EXPECT_EQ(owner.fired[1], ticks_when_killed);
    // Set again, it fires again.
    owner.timers.SetTimer(1, 1);
    EXPECT_TRUE(RunUntil([&] { return owner.fired[1] > ticks_when_killed; }));
}

TEST_F(WindowTimersTest, IdOfKnowsOnlyItsOwnRunningTimers) {
    owner.timers.SetTimer(10, 1);
    owner.timers.SetTimer(20, 1);
    QBasicTimer stranger;
    stranger.start(1, &owner);
    ASSERT_TRUE(RunUntil(
        [&] { return owner.fired[10] >= 1 && owner.fired[20] >= 1 && owner.foreign >= 1; }));
    EXPECT_NE(owner.qtIds[10], owner.qtIds[20]);
    QTimerEvent stranger_event(stranger.timerId());
    EXPECT_EQ(owner.timers.IdOf(&stranger_event), 0);
    stranger.stop();

    // A late event of a killed timer is no longer ours.
    owner.timers.KillTimer(10);
    QTimerEvent late(owner.qtIds[10]);
    EXPECT_EQ(owner.timers.IdOf(&late), 0);
    QTimerEvent running(owner.qtIds[20]);
    EXPECT_EQ(owner.timers.IdOf(&running), 20);
}

// Played by hand on the virtual clock: a period counts from the last setting, across the
// clock's wrap, and a stopped timer never has one behind it.
TEST_F(WindowTimersTest, APeriodCountsOnTheCurrentClockFromTheLastSetting) {
    ScopedVirtualClock time(0xFFFFF000u);
    owner.timers.SetTimer(4, 3000);
    time.clock.Advance(2999);
    EXPECT_FALSE(owner.timers.PeriodElapsed(4));
    owner.timers.SetTimer(4, 3000);
    time.clock.Advance(2999);
    EXPECT_FALSE(owner.timers.PeriodElapsed(4)) << "set again, the period starts again";
    time.clock.Advance(1);
    EXPECT_TRUE(owner.timers.PeriodElapsed(4));
    owner.timers.KillTimer(4);
    EXPECT_FALSE(owner.timers.PeriodElapsed(4));
    EXPECT_FALSE(owner.timers.PeriodElapsed(7));
}

}  // namespace
