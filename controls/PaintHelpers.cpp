#include "controls/PaintHelpers.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPixmap>

#include "controls/SkinZoom.h"

int QtTextFlags(unsigned textFlags) {
    int flags = 0;
    if (textFlags & kTextCentre) {
        flags |= Qt::AlignHCenter;
    } else if (textFlags & kTextRight) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    if ((textFlags & kTextSingleLine) && (textFlags & kTextVCentre)) {
        flags |= Qt::AlignVCenter;
    } else {
        flags |= Qt::AlignTop;
    }
    if (textFlags & kTextSingleLine) {
        flags |= Qt::TextSingleLine;
    } else if (textFlags & kTextWordBreak) {
        flags |= Qt::TextWordWrap;
    }
    if (textFlags & kTextExpandTabs) {
        flags |= Qt::TextExpandTabs;
    }
    if (textFlags & kTextNoClip) {
        flags |= Qt::TextDontClip;
    }
    return flags;
}

QRect RectLtrb(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

namespace {

// A one-pixel outline that stays inside `area`, as the panel's rectangles are drawn.
QRectF OutlineRect(const QRect& area) {
    return QRectF(area.left() + 0.5, area.top() + 0.5, area.width() - 1.0, area.height() - 1.0);
}

}  // namespace

void DrawBox(QPainter& painter, const QRect& area, const QColor& fill, const QColor& outline) {
    if (area.width() <= 0 || area.height() <= 0) {
        return;
    }
    painter.save();
    painter.fillRect(area, fill);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(OutlineRect(area));
    painter.restore();
}

void DrawRoundBox(QPainter& painter, const QRect& area, int corner_w, int corner_h,
                  const QColor& fill, const QColor& outline) {
    if (area.width() <= 0 || area.height() <= 0) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(OutlineRect(area), corner_w / 2.0, corner_h / 2.0);
    painter.restore();
}

void DrawPanelText(QPainter& painter, const QRect& area, const QString& text, unsigned textFlags,
                   const QColor& colour) {
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(colour);
    painter.drawText(area, QtTextFlags(textFlags), text);
    painter.restore();
}

void DrawPicture(QPainter& painter, const QPointF& topLeft, const QPixmap& picture) {
    const qreal ratio = picture.devicePixelRatio();
    if (ratio == 1.0 || !painter.worldTransform().isIdentity() ||
        !qFuzzyCompare(PaintRatio(painter), ratio)) {
        painter.drawPixmap(topLeft, picture);
        return;
    }
    // The same pixels seen as a picture of ratio 1 (no copy), drawn where the painter's
    // scale is undone.
    const QImage image = picture.toImage();
    const QImage pixels(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                        image.format());
    painter.save();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    painter.drawImage(topLeft * ratio, pixels);
    painter.restore();
}

QString PanelString(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
