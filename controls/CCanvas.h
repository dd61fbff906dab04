#pragma once

#include <QPixmap>
#include <QWidget>

#include "controls/SkinZoom.h"
#include "model/KnobGauge.h"

class QPainter;

// A window that keeps its picture in an off-screen buffer: a derived class draws into the
// buffer when its content changes (Redraw), and exposure only copies the buffer, so a
// window uncovered by a dialog never recomputes its picture.
class CCanvas : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = kKnobDisplayColumns;
    static constexpr int kHeight = 91;

    explicit CCanvas(QWidget* parent = nullptr);

    // Moves to (x, y) of the skin at the canvas size and makes the buffer if there is none
    // yet.
    void Place(int x, int y);
    // Draws the picture anew into the buffer and shows it at once.
    void Redraw();
    // The picture as it stands in the buffer (empty before Place).
    const QPixmap& Buffer() const { return m_bufferBitmap; }

  signals:
    // A double-click on the window, delivered to the panel.
    void DoubleClicked();

  protected:
    // Draws the whole picture; the canvas itself draws nothing.
    virtual void Draw(QPainter& painter);
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // Makes the buffer anew when the ratio it is drawn at changed; whether it did.
    bool BufferAtRatio(qreal paintRatio);
    qreal ShownRatio();
    void DrawBuffer();

    QPixmap m_bufferBitmap;
    bool m_placed = false;
    SkinPlace m_place;
};
