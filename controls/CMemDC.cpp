#include "controls/CMemDC.h"

#include <QPaintDevice>

#include "controls/PaintHelpers.h"
#include "controls/SkinZoom.h"

namespace {

bool DrawsOnScreen(const QPainter& target) {
    const QPaintDevice* device = target.device();
    if (device == nullptr) {
        return false;
    }
    const int type = device->devType();
    return type == QInternal::Widget || type == QInternal::Pixmap || type == QInternal::Image;
}

}  // namespace

CMemDC::CMemDC(QPainter& target, const QRect& clipRect)
    : m_targetDC(&target), m_clipRect(clipRect), m_buffered(DrawsOnScreen(target)) {
    if (!m_buffered || m_clipRect.isEmpty()) {
        m_buffered = false;
        return;
    }
    // The buffer holds the target's device pixels, zoom included, so a blit copies them
    // one for one.
    const qreal ratio = BufferRatio(PaintRatio(target));
    m_offscreenBitmap = QPixmap(m_clipRect.size() * ratio);
    m_offscreenBitmap.setDevicePixelRatio(ratio);
    m_offscreenBitmap.fill(Qt::transparent);
    m_bufferPainter.emplace(&m_offscreenBitmap);
    m_bufferPainter->translate(-m_clipRect.topLeft());
}

CMemDC::~CMemDC() {
    if (!m_buffered) {
        return;
    }
    m_bufferPainter->end();
    DrawPicture(*m_targetDC, m_clipRect.topLeft(), m_offscreenBitmap);
}
