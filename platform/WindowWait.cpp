#include "platform/WindowWait.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

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
// and keeps its place among the presses and releases.
bool IsHover(const QEvent* event) {
    return event->type() == QEvent::MouseMove &&
           static_cast<const QMouseEvent*>(event)->buttons() == Qt::NoButton;
}

bool SameDrag(const QEvent* a, const QEvent* b) {
    return a->type() == QEvent::MouseMove && b->type() == QEvent::MouseMove &&
           static_cast<const QMouseEvent*>(a)->buttons() ==
               static_cast<const QMouseEvent*>(b)->buttons();
}

// One thing waiting its turn: input for a receiver, or work while its context lives.
struct Item {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
    QPointer<QObject> context;
    std::function<void()> work;
    const void* tag = nullptr;
    // The dialog the input came to; null for the home window. An item whose dialog has
    // closed has no one left to take it.
    QPointer<QWidget> level;
    bool dialogLevel = false;

    bool LevelGone() const { return dialogLevel && level.isNull(); }
};

class WindowQueue : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowUnblocked) {
            // A dialog closed: work that waited for the panel may run.
            ScheduleDrain();
            return false;
        }
        if (!IsInput(event->type())) {
            return false;
        }
        QWidget* level = CurrentLevel();
        // What a replayed item brings about (the widget's own event of a window's press)
        // is part of that item.
        if (replaying > 0 && depth == 0 && level == replayLevel) {
            return false;
        }
        const bool waiting = HasItemsAt(level);
        if (depth == 0 && !waiting) {
            return false;
        }
        if (IsHover(event) && !waiting) {
            return false;
        }
        // A close is the window's own; a shortcut goes to its action; other input is the
        // window's or a widget's.
        const bool window = qobject_cast<QWindow*>(watched) != nullptr;
        const bool shortcut = event->type() == QEvent::Shortcut;
        if (!window && !shortcut && (event->type() == QEvent::Close || !watched->isWidgetType())) {
            return false;
        }
        Hold(watched, event, level);
        if (depth > 0 && WantsTheLine(event->type()) && onHeld) {
            onHeld();
        }
        return true;
    }

    void Hold(QObject* watched, QEvent* event, QWidget* level) {
        // A drag's moves that meet in the queue go as the last of them.
        if (!items.empty() && items.back().event && items.back().receiver == watched &&
            SameDrag(items.back().event.get(), event)) {
            items.back().event.reset(event->clone());
            return;
        }
        if (static_cast<int>(items.size()) >= WindowWait::kMostQueued &&
            event->type() == QEvent::MouseMove && !DropOldestMove()) {
            return;  // a full queue keeps its presses and releases; a move is the one to go
        }
        Item item;
        item.receiver = watched;
        item.event.reset(event->clone());
        item.level = level;
        item.dialogLevel = level != nullptr;
        items.push_back(std::move(item));
    }

    bool DropOldestMove() {
        const auto move = std::find_if(items.begin(), items.end(), [](const Item& item) {
            return item.event && item.event->type() == QEvent::MouseMove;
        });
        if (move == items.end()) {
            return false;
        }
        items.erase(move);
        return true;
    }

    // The dialog on top; null while the home window is (or no window runs modal).
    QWidget* CurrentLevel() const {
        QWidget* modal = QApplication::activeModalWidget();
        return modal == home ? nullptr : modal;
    }

    bool HasItemsAt(const QWidget* level) const {
        return std::any_of(items.begin(), items.end(), [level](const Item& item) {
            return !item.LevelGone() && item.level.data() == level;
        });
    }

    void ScheduleDrain() {
        if (drainScheduled || items.empty()) {
            return;
        }
        drainScheduled = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                drainScheduled = false;
                Drain();
            },
            Qt::QueuedConnection);
    }

    // Runs the items of the window on top one at a time, in their order, as long as no wait
    // begins. An item that opens a dialog holds the rest of its level until the dialog is
    // closed; the dialog's own items run meanwhile.
    void Drain() {
        QWidget* const level = CurrentLevel();
        if (depth > 0 || std::find(draining.begin(), draining.end(), level) != draining.end()) {
            return;
        }
        draining.push_back(level);
        while (depth == 0 && CurrentLevel() == level) {
            std::optional<Item> item = TakeNext(level);
            if (!item) {
                break;
            }
            if (item->event) {
                if (item->receiver) {
                    QWidget* const outerReplay = std::exchange(replayLevel, level);
                    ++replaying;
                    QCoreApplication::sendEvent(item->receiver, item->event.get());
                    --replaying;
                    replayLevel = outerReplay;
                }
            } else if (item->context) {
                item->work();
            }
        }
        draining.pop_back();
        if (items.empty() && onReleased) {
            onReleased();
        }
    }

    std::optional<Item> TakeNext(const QWidget* level) {
        for (auto it = items.begin(); it != items.end();) {
            if (it->LevelGone()) {
                it = items.erase(it);
            } else if (it->level.data() == level) {
                Item item = std::move(*it);
                items.erase(it);
                return item;
            } else {
                ++it;
            }
        }
        return std::nullopt;
    }

    int depth = 0;
    std::deque<Item> items;
    QPointer<QWidget> home;
    std::vector<QWidget*> draining;  // the levels whose items run now, outermost first
    int replaying = 0;
    QWidget* replayLevel = nullptr;
    bool drainScheduled = false;
    std::function<void()> onHeld;
    std::function<void()> onReleased;
};

WindowQueue& Queue() {
    static WindowQueue* queue = [] {
        auto* created = new WindowQueue;
        created->moveToThread(QCoreApplication::instance()->thread());
        QCoreApplication::instance()->installEventFilter(created);
        return created;
    }();
    return *queue;
}

class WaitScope {
  public:
    WaitScope() { ++Queue().depth; }
    ~WaitScope() {
        if (--Queue().depth == 0) {
            Queue().ScheduleDrain();
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

bool WindowWait::WhenIdle(QObject* context, std::function<void()> work, const void* tag) {
    WindowQueue& queue = Queue();
    if (static_cast<int>(queue.items.size()) >= kMostQueued) {
        return false;
    }
    Item item;
    item.context = context;
    item.work = std::move(work);
    item.tag = tag;
    queue.items.push_back(std::move(item));
    if (queue.depth > 0 && queue.onHeld) {
        queue.onHeld();
    }
    if (queue.depth == 0) {
        queue.ScheduleDrain();
    }
    return true;
}

const void* WindowWait::TailTag() {
    if (QCoreApplication::instance() == nullptr || Queue().items.empty()) {
        return nullptr;
    }
    return Queue().items.back().tag;
}

void WindowWait::SetHome(QWidget* home) {
    Queue().home = home;
}

int WindowWait::Depth() {
    return QCoreApplication::instance() != nullptr ? Queue().depth : 0;
}

int WindowWait::HeldCount() {
    return QCoreApplication::instance() != nullptr ? static_cast<int>(Queue().items.size()) : 0;
}

void WindowWait::SetHoldHooks(std::function<void()> held, std::function<void()> released) {
    Queue().onHeld = std::move(held);
    Queue().onReleased = std::move(released);
}
