// The line on a thread of its own, on the real event loop: the window answers while a piece
// of line work runs, input that comes meanwhile waits its turn and arrives in its order, and
// the user's claim on the line is raised while it waits.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <thread>
#include <vector>

#include "console/LineBeside.h"
#include "link/LineCarrier.h"
#include "link/LineDemand.h"
#include "link/SerialCom.h"
#include "platform/InProcessLine.h"
#include "platform/PortNames.h"
#include "platform/WindowWait.h"
#include "tests/support/RunEventsUntil.h"

namespace {

class InputRecorder : public QWidget {
  public:
    std::vector<QEvent::Type> seen;

  protected:
    void mousePressEvent(QMouseEvent*) override { seen.push_back(QEvent::MouseButtonPress); }
    void mouseReleaseEvent(QMouseEvent*) override { seen.push_back(QEvent::MouseButtonRelease); }
    void keyPressEvent(QKeyEvent*) override { seen.push_back(QEvent::KeyPress); }
};

void SendMouse(QWidget& widget, QEvent::Type type) {
    QMouseEvent event(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

TEST(LineBesideTest, TheWindowAnswersDuringAnExchangeAndItsInputWaitsItsTurn) {
    const LineBeside line;
    InputRecorder target;
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();

    // A timer of the window fires while the line works: it presses, types and releases on
    // a widget, which sees nothing yet, then lets the line's work end.
    int ticks = 0;
    bool heldMeanwhile = false;
    bool demandRaised = false;
    QTimer window;
    window.setInterval(1);
    QObject::connect(&window, &QTimer::timeout, [&] {
        if (++ticks != 3) {
            return;
        }
        SendMouse(target, QEvent::MouseButtonPress);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &key);
        SendMouse(target, QEvent::MouseButtonRelease);
        heldMeanwhile = target.seen.empty() && WindowWait::HeldCount() == 3;
        demandRaised = LineDemand::Raised();
        answer.set_value();
    });
    window.start();

    std::thread::id workedOn;
    const Status status = CarryOnLine({0x10, 1000}, [&] {
        workedOn = std::this_thread::get_id();
        const bool came = answered.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        return came ? Status::WrongCode : Status::NoAnswer;
    });
    window.stop();

    EXPECT_EQ(status, Status::WrongCode);
    EXPECT_NE(workedOn, std::this_thread::get_id());
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(heldMeanwhile);
    EXPECT_TRUE(demandRaised);
    EXPECT_EQ(WindowWait::Depth(), 0);

    // Handed over in its order once the wait is over; the claim on the line ends with it.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(target.seen, (std::vector<QEvent::Type>{QEvent::MouseButtonPress, QEvent::KeyPress,
                                                      QEvent::MouseButtonRelease}));
    EXPECT_FALSE(LineDemand::Raised());

    // Outside a wait, input goes straight through.
    SendMouse(target, QEvent::MouseButtonPress);
    EXPECT_EQ(target.seen.size(), 4u);
}

// The port reopened aside: its open waits (as a device server's connect does) on a thread
// nobody waits for, the window's timers run meanwhile, and the outcome comes to the window's
// thread once the open is over.
TEST(LineBesideTest, APortReopenedAsideLeavesTheWindowFreeAndReportsOnItsThread) {
    InProcessLine device;
    RegisterInProcessLine("aside", &device);
    PortNames().SetRunOverride("inproc:aside");
    std::promise<void> back;
    std::shared_future<void> isBack = back.get_future().share();
    std::atomic<bool> opening{false};
    device.onOpen = [&] {
        opening = true;
        static_cast<void>(isBack.wait_for(std::chrono::seconds(10)));
    };
    {
        const LineBeside line;
        QObject context;
        std::optional<bool> opened;
        std::thread::id reportedOn;
        ReopenPortAside(1, &context, [&](bool result) {
            opened = result;
            reportedOn = std::this_thread::get_id();
        });
        int ticks = 0;
        QTimer window;
        window.setInterval(1);
        QObject::connect(&window, &QTimer::timeout, [&] { ++ticks; });
        window.start();
        EXPECT_TRUE(RunEventsUntil([&] { return opening && ticks >= 3; }, 5000, 1));
        EXPECT_FALSE(opened.has_value());
        EXPECT_TRUE(ReopenUnderWay());

        back.set_value();
        EXPECT_TRUE(RunEventsUntil([&] { return opened.has_value(); }, 5000, 1));
        EXPECT_EQ(opened, std::optional<bool>(true));
        EXPECT_EQ(reportedOn, std::this_thread::get_id());
        EXPECT_TRUE(g_link.IsOpen());
        EXPECT_FALSE(ReopenUnderWay());
        EXPECT_EQ(device.openCount, 1);
        static_cast<void>(CarryOnLine({}, [] {
            g_link.Close();
            return Status::Ok;
        }));
    }
    PortNames().SetRunOverride("");
    UnregisterInProcessLine("aside");
}

}  // namespace
