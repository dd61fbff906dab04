#include "platform/WindowWait.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Held input beyond this is a user leaning on a key through a long wait: the oldest moves
// are dropped first, presses never.
constexpr size_t kMostHeld = 512;

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

// A click ends with its release, and a key may act on its release too: both want the line
// as much as the press.
bool WantsTheLine(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}

// A pointer that only hovers starts nothing; a move with a button down is part of a drag
// and keeps its place among the held presses and releases.
bool IsHover(const QEvent* event) {
    return event->type() == QEvent::MouseMove &&
           static_cast<const QMouseEvent*>(event)->buttons() == Qt::NoButton;
}

struct Held {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
};

struct IdleWork {
    QPointer<QObject> context;
    std::function<void()> work;
};

class InputHold : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (depth == 0 || !IsInput(event->type()) || (IsHover(event) && held.empty())) {
            return false;
        }
        // A close is the window's own; a shortcut goes to its action; other input is the
        // window's or a widget's.
        const bool window = qobject_cast<QWindow*>(watched) != nullptr;
        const bool shortcut = event->type() == QEvent::Shortcut;
        if (!window && !shortcut && (event->type() == QEvent::Close || !watched->isWidgetType())) {
            return false;
        }
        if (held.size() >= kMostHeld) {
            DropOldestMove();
        }
        if (held.size() < kMostHeld) {
            held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
        }
        if (WantsTheLine(event->type()) && onHeld) {
            onHeld();
        }
        return true;
    }

    void DropOldestMove() {
        for (auto it = held.begin(); it != held.end(); ++it) {
            if (it->event->type() == QEvent::MouseMove) {
                held.erase(it);
                return;
            }
        }
    }

    // Hands the held input back once no wait is left; a wait that starts meanwhile holds
    // the rest again.
    void ScheduleRelease() {
        if (held.empty() && idle.empty()) {
            return;
        }
        QTimer::singleShot(0, this, [this] {
            if (depth > 0) {
                return;
            }
            std::vector<Held> taken = std::move(held);
            held.clear();
            for (Held& item : taken) {
                if (item.receiver) {
                    QCoreApplication::postEvent(item.receiver, item.event.release());
                }
            }
            // Work that waited for the window comes after the user's input.
            std::vector<IdleWork> waiting = std::move(idle);
            idle.clear();
            for (IdleWork& item : waiting) {
                if (item.context) {
                    WindowWait::WhenIdle(item.context, std::move(item.work));
                }
            }
            if (onReleased) {
                onReleased();
            }
        });
    }

    int depth = 0;
    std::vector<Held> held;
    std::vector<IdleWork> idle;
    std::function<void()> onHeld;
    std::function<void()> onReleased;
};

InputHold& Hold() {
    static InputHold* hold = [] {
        auto* created = new InputHold;
        created->moveToThread(QCoreApplication::instance()->thread());
        QCoreApplication::instance()->installEventFilter(created);
        return created;
    }();
    return *hold;
}

class WaitScope {
  public:
    WaitScope() { ++Hold().depth; }
    ~WaitScope() {
        if (--Hold().depth == 0) {
            Hold().ScheduleRelease();
        }
    }
};

}  // namespace

bool OnWindowThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void WindowWait::Until(const std::function<bool()>& done) {
    const WaitScope scope;
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void WindowWait::For(uint32_t ms) {
    const WaitScope scope;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    timer.start(static_cast<int>(ms));
    // Wait() counts the time itself and pauses again for any that is left.
    while (timer.isActive()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void WindowWait::Wake() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            app, [] {}, Qt::QueuedConnection);
    }
}

// Posted behind what is already queued; work whose turn comes inside another wait waits
// for that wait's end.
void WindowWait::WhenIdle(QObject* context, std::function<void()> work) {
    if (Depth() > 0) {
        Hold().idle.push_back({context, std::move(work)});
        return;
    }
    QMetaObject::invokeMethod(
        context,
        [context, work = std::move(work)]() mutable {
            if (Depth() > 0) {
                WhenIdle(context, std::move(work));
            } else {
                work();
            }
        },
        Qt::QueuedConnection);
}

int WindowWait::Depth() {
    return QCoreApplication::instance() != nullptr ? Hold().depth : 0;
}

int WindowWait::HeldCount() {
    return QCoreApplication::instance() != nullptr ? static_cast<int>(Hold().held.size()) : 0;
}

void WindowWait::SetHoldHooks(std::function<void()> held, std::function<void()> released) {
    Hold().onHeld = std::move(held);
    Hold().onReleased = std::move(released);
}
