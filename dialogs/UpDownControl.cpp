#include "dialogs/UpDownControl.h"

#include <QKeyEvent>
#include <QToolButton>
#include <algorithm>

#include "platform/Clock.h"

namespace {

constexpr int kRepeatDelay_ms = 400;
constexpr int kRepeatInterval_ms = 80;

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent),
      m_down(MakeArrow(this, Qt::LeftArrow)),
      m_up(MakeArrow(this, Qt::RightArrow)) {
    setFocusPolicy(Qt::StrongFocus);
    connect(m_down, &QToolButton::pressed, this, [this] { Press(-1); });
    connect(m_up, &QToolButton::pressed, this, [this] { Press(1); });
    connect(m_down, &QToolButton::released, this, &UpDownControl::Release);
    connect(m_up, &QToolButton::released, this, &UpDownControl::Release);
    connect(&m_repeat, &QTimer::timeout, this, &UpDownControl::Repeat);
}

void UpDownControl::SetRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    m_value = std::clamp(m_value, m_minimum, m_maximum);
}

void UpDownControl::SetValue(int value) {
    m_value = std::clamp(value, m_minimum, m_maximum);
}

void UpDownControl::Press(int direction) {
    m_direction = direction;
    m_pressedAt_ms = CurrentClock().TickCount();
    if (Step(1)) {
        m_repeat.start(kRepeatDelay_ms);
    }
}

void UpDownControl::Release() {
    m_repeat.stop();
    m_direction = 0;
}

// Held for two seconds, the arrow steps by five; at either end it stops repeating.
void UpDownControl::Repeat() {
    const bool fast = CurrentClock().TickCount() - m_pressedAt_ms >= kFastAfter_ms;
    if (!Step(fast ? kFastStep : 1)) {
        m_repeat.stop();
        return;
    }
    m_repeat.start(kRepeatInterval_ms);
}

bool UpDownControl::Step(int step) {
    const int value = std::clamp(m_value + m_direction * step, m_minimum, m_maximum);
    if (value != m_value) {
        m_value = value;
        emit valueChanged(m_value);
    }
    return m_value != m_minimum && m_value != m_maximum;
}

void UpDownControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int half = width() / 2;
    m_down->setGeometry(0, 0, half, height());
    m_up->setGeometry(half, 0, width() - half, height());
}

void UpDownControl::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Left || key == Qt::Key_Down || key == Qt::Key_Right || key == Qt::Key_Up) {
        m_direction = key == Qt::Key_Left || key == Qt::Key_Down ? -1 : 1;
        Step(1);
        m_direction = 0;
        return;
    }
    QWidget::keyPressEvent(event);
}
