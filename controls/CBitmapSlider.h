#pragma once

#include <QPixmap>
#include <QWidget>
#include <tuple>

#include "controls/ControlKeys.h"
#include "controls/FaceCache.h"
#include "controls/KnobGeometry.h"
#include "controls/SkinZoom.h"
#include "controls/WindowFace.h"
#include "platform/WindowTimers.h"

class CCanvasCtrl;
class KnobHost;

// The panel's knob: a bitmap-skinned vertical slider with a spring return, used as a jog
// control. While the left button holds the thumb off its centre, a 20 ms timer changes the
// paired display's parameter by the square of the deflection; releasing snaps it back.
// A focused knob turns with the knob keys as a drag turns it; every other key goes on to the
// panel.
class CBitmapSlider : public QWidget, public KeptFace {
    Q_OBJECT

  public:
    static constexpr int kRestPosition = 5;
    static constexpr int kRepeatTimerId = 10;  // KNOB_REPEAT_TIMER
    static constexpr int kRepeatPeriod_ms = 20;

    CBitmapSlider(int controlId, QWidget* parent = nullptr);

    // Loads the track and thumb, sets the range to 0..10 at rest and moves to (x, y).
    void InitKnob(int x, int y);
    void SetDisplay(CCanvasCtrl* display) { m_display = display; }
    // The panel that takes its turns, and the knob's number there (0..7).
    void SetHost(KnobHost* host, int knob) {
        m_host = host;
        m_knob = knob;
    }

    int ControlId() const { return m_controlId; }
    int Position() const { return m_position; }
    bool IsHeld() const { return m_buttonDown; }
    int DragOffset() const { return m_dragOffset; }
    const KnobGeometry& Geometry() const { return m_geometry; }
    bool IsRepeating() const { return m_timers.IsActive(kRepeatTimerId); }

    // One repeat tick: what the timer does every 20 ms while the knob is held.
    void OnRepeatTimer();
    // One turn by a knob key, the way a tick turns: an arrow as the slowest deflection, a
    // Page key as the fullest, Home and End by the distance to the raw range's end (only
    // where rawMin < rawMax). The knob's display sends it on the same keys.
    void TurnByKey(KnobKey key);
    bool FaceChanged() override;

  signals:
    // Posted (queued) to whoever listens, like the knob's notifications to its parent.
    void KnobMoved(int controlId, int position);
    void KnobReleased(int controlId, int position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // Track and thumb loaded, the thumb's top.
    using Face = std::tuple<bool, bool, int>;
    Face CurrentFace() const;
    void MoveTo(int pointerRow);
    void EndHold();
    const QPixmap& ThumbAt(qreal ratio);
    int KeyTurn(KnobKey key) const;

    int m_controlId;
    int m_position = 0;
    QSize m_trackSize{0, 0};
    QSize m_thumbSize{0, 0};
    int m_dragOffset = 0;
    bool m_trackLoaded = false;
    bool m_thumbLoaded = false;
    bool m_buttonDown = false;
    QPixmap m_thumbBitmap;  // key-colour pixels made transparent, at the last ratio drawn
    KnobGeometry m_geometry;
    CCanvasCtrl* m_display = nullptr;
    KnobHost* m_host = nullptr;
    int m_knob = 0;
    WindowTimers m_timers{this};
    SkinPlace m_place;
    ShownFace<std::pair<Face, QSize>> m_shown;
};
