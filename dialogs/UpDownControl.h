#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>

class QToolButton;

// A horizontal up-down control without a buddy: two arrow buttons that step a value within
// its range. Held down, an arrow repeats, one step at a time and after two seconds five; at
// either end of the range the repeat stops.
class UpDownControl : public QWidget {
    Q_OBJECT

  public:
    static constexpr uint32_t kFastAfter_ms = 2000;
    static constexpr int kFastStep = 5;

    explicit UpDownControl(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    void SetValue(int value);
    int Value() const { return m_value; }
    bool Repeating() const { return m_repeat.isActive(); }

  signals:
    void valueChanged(int value);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Press(int direction);
    void Release();
    void Repeat();
    // Moves by `step` in the held direction; false at either end of the range.
    bool Step(int step);

    QToolButton* m_down;
    QToolButton* m_up;
    QTimer m_repeat;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 0;
    int m_direction = 0;
    uint32_t m_pressedAt_ms = 0;
};
