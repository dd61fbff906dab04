#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <optional>

// A short-lived off-screen drawing context: everything drawn through it lands in a back
// buffer the size of the target's area, and the whole picture reaches the target in one blit
// when the context ends, so a control that redraws its background never flickers. Drawing
// uses the target's coordinates. A target that is not a screen (a printer, a picture being
// recorded) is drawn on directly.
class CMemDC {
  public:
    CMemDC(QPainter& target, const QRect& clipRect);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter& Painter() { return m_buffered ? *m_bufferPainter : *m_targetDC; }
    bool IsBuffered() const { return m_buffered; }

  private:
    QPixmap m_offscreenBitmap;
    QPainter* m_targetDC;
    QRect m_clipRect;
    bool m_buffered;
    std::optional<QPainter> m_bufferPainter;
};
