#include "controls/CImageTextButton.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/CaptionLines.h"
#include "controls/ControlKeys.h"
#include "controls/Fonts.h"
#include "controls/PaintHelpers.h"
#include "controls/SkinZoom.h"
#include "resources/ResourceTable.h"

CImageTextButton::CImageTextButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CImageTextButton::SetImages(int firstBitmapId, int secondBitmapId) {
    m_images = {};
    if (LoadResourceBitmap(firstBitmapId).isNull()) {
        update();
        return;
    }
    const QSize size = ResourceBitmapSize(firstBitmapId);
    m_imageRect = QRect(QPoint(0, 0), size);
    m_images = {firstBitmapId, secondBitmapId};
    // The button takes its picture's size, in front of the skin's other pieces.
    ResizeOnSkin(this, size);
    raise();
    update();
}

void CImageTextButton::SetCaptionFont(const std::string& face, int height) {
    m_font = MakePanelFont(face, height, kWeightNormal);
    update();
}

void CImageTextButton::SetImageIndex(int index) {
    if (index == m_imageIndex) {
        return;
    }
    m_imageIndex = index;
    update();
}

void CImageTextButton::SetCaption(const std::string& caption) {
    if (caption == m_caption) {
        return;
    }
    m_caption = caption;
    update();
}

void CImageTextButton::SetTextColours(const QColor& textColour, const QColor& disabledTextColour) {
    m_textColour = textColour;
    m_disabledTextColour = disabledTextColour;
    update();
}

CImageTextButton::Face CImageTextButton::CurrentFace() {
    if (!ImagesLoaded()) {
        m_imageRect = m_place.ClientRect(this);
    }
    return {m_imageIndex,
            m_caption,
            m_images,
            m_imageRect,
            isEnabled() ? m_textColour : m_disabledTextColour,
            m_font.value_or(font())};
}

bool CImageTextButton::FaceChanged() {
    return m_shown.Changed(CurrentFace());
}

void CImageTextButton::paintEvent(QPaintEvent*) {
    if (DrawnByWindow(redirected(nullptr))) {
        return;
    }
    QPainter painter(this);
    PaintOnSkin(painter, m_place.Zoom(this));
    const Face face = CurrentFace();
    const bool pictured =
        ImagesLoaded() && m_imageIndex >= 0 && m_imageIndex < static_cast<int>(m_images.size());
    m_face.Paint(painter, m_imageRect.size(),
                 pictured ? FaceGround::kOpaque : FaceGround::kTransparent, face,
                 [this, &face](QPainter& target) { DrawFace(target, face); });
}

void CImageTextButton::DrawFace(QPainter& painter, const Face& face) {
    if (ImagesLoaded() && face.imageIndex >= 0 &&
        face.imageIndex < static_cast<int>(face.images.size())) {
        const QPixmap image =
            LoadResourceBitmapAt(face.images[face.imageIndex], PaintRatio(painter));
        if (image.deviceIndependentSize().toSize() == face.imageRect.size()) {
            DrawPicture(painter, QPointF(0, 0), image);
        } else if (!image.isNull()) {
            painter.drawPixmap(QRect(QPoint(0, 0), face.imageRect.size()), image);
        }
    }
    if (!face.caption.empty()) {
        DrawCaption(painter, face);
    }
}

void CImageTextButton::DrawCaption(QPainter& painter, const Face& face) {
    const QColor& colour = face.colour;
    painter.setFont(face.font);
    QRect area = face.imageRect.translated(0, -1);
    const CaptionLines lines = SplitCaption(face.caption);
    if (lines.singleLine) {
        DrawPanelText(painter, area, PanelString(lines.firstLine),
                      kTextCentre | kTextVCentre | kTextSingleLine, colour);
        return;
    }
    DrawPanelText(painter, area, PanelString(lines.firstLine), kTextCentre | kTextNoClip, colour);
    area.translate(0, kSecondLineOffset_px);
    QString rest;
    for (size_t i = 0; i < lines.restLines.size(); ++i) {
        if (i > 0) {
            rest += QLatin1Char('\n');
        }
        rest += PanelString(lines.restLines[i]);
    }
    DrawPanelText(painter, area, rest, kTextCentre | kTextNoClip, colour);
}

void CImageTextButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        update();
    }
}

// An owner-drawn button takes the second click of a double-click as a double-click, never
// as another click.
void CImageTextButton::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

// Enter clicks as Space does; held down it clicks once.
void CImageTextButton::keyPressEvent(QKeyEvent* event) {
    if (IsEnterKey(*event)) {
        if (!event->isAutoRepeat()) {
            click();
        }
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
