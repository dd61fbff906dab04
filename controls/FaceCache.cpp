#include "controls/FaceCache.h"

#include <QPainter>

#include "controls/PaintHelpers.h"
#include "controls/SkinZoom.h"

void FacePicture::Paint(QPainter& painter, const QSize& size, FaceGround ground, bool unchanged,
                        const DrawFace& draw) {
    if (size.isEmpty()) {
        return;
    }
    const qreal ratio = BufferRatio(PaintRatio(painter));
    if (!unchanged || m_picture.isNull() || m_size != size || m_ground != ground ||
        !qFuzzyCompare(m_picture.devicePixelRatio(), ratio)) {
        m_picture = QPixmap(size * ratio);
        m_picture.setDevicePixelRatio(ratio);
        m_size = size;
        m_ground = ground;
        // An opaque face stays a picture without alpha, so its text is drawn as it would be
        // on the window itself.
        m_picture.fill(ground == FaceGround::kOpaque ? Qt::black : Qt::transparent);
        QPainter face(&m_picture);
        face.setRenderHints(painter.renderHints());
        draw(face);
        ++m_drawCount;
    }
    DrawPicture(painter, QPointF(0, 0), m_picture);
}
