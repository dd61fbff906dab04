#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

// Paces the pushes of a server's subscribers: a change asks for a push, and the push runs at
// once when the last one is kPushInterval_ms old, else when it is; changes that meet before
// it go as one. Nothing waits on the window: the push runs from the event loop.
class PushPacer : public QObject {
    Q_OBJECT

  public:
    explicit PushPacer(std::function<void()> push, QObject* parent = nullptr);
    void Changed();

  private:
    void Push();

    std::function<void()> m_push;
    QTimer m_timer;
    QElapsedTimer m_sinceLast;
};
