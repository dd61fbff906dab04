#pragma once

#include <QSize>
#include <QWidget>
#include <tuple>

#include "controls/FaceCache.h"
#include "controls/SkinZoom.h"
#include "controls/WindowFace.h"

// The panel's two-state bitmap key: one picture while on, another while off. A mouse press
// (and Enter on a focused key) says Pressed; what the key does is the panel's actions'. A
// press never shows the key pushed in; the space bar on a focused key flips its picture and
// runs nothing.
class CImageToggleButton : public QWidget, public KeptFace {
    Q_OBJECT

  public:
    explicit CImageToggleButton(QWidget* parent = nullptr);

    // The pictures drawn while on and off, and a third the panel keeps with them.
    void SetBitmaps(int onBitmapId, int offBitmapId, int thirdBitmapId);
    // Repaints only on a change.
    void SetOn(bool on);

    bool IsOn() const { return m_on; }
    // What a mouse press does.
    void Press() { emit Pressed(); }
    int ThirdBitmapId() const { return m_thirdBitmapId; }
    bool FaceChanged() override;

  signals:
    void Pressed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // The picture shown and the size it is cut to.
    using Face = std::tuple<int, int, int>;
    Face CurrentFace();

    int m_onBitmapId = 0;
    int m_offBitmapId = 0;
    int m_thirdBitmapId = 0;
    bool m_on = false;
    SkinPlace m_place;
    ShownFace<Face> m_shown;
};
