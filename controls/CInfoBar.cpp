#include "controls/CInfoBar.h"

#include <QPainter>

#include "controls/Fonts.h"
#include "controls/PaintHelpers.h"
#include "controls/PanelHooks.h"
#include "controls/SkinZoom.h"
#include "model/PanelModel.h"
#include "platform/ResourceIds.h"
#include "resources/ResourceTable.h"

namespace {

constexpr QPoint kPanelPlace{596, 463};
constexpr int kTextFontHeight = -16;
constexpr int kReadoutFontHeight = -13;
constexpr QColor kAlertColour{255, 0, 0};
constexpr QColor kMessageColour{255, 255, 0};
constexpr QColor kReadoutColour{210, 210, 210};
constexpr QColor kReferencePresentColour{0, 255, 0};
constexpr QColor kReferenceMissingColour{255, 0, 0};
constexpr int kLampCorner = 5;
constexpr unsigned kTopCentred = kTextCentre;

const QRect kAlertRect = RectLtrb(30, 10, 460, 150);
const QRect kMessageRect = RectLtrb(10, 10, 480, 150);
const QRect kKeyframeRect = RectLtrb(50, 10, 460, 150);
const QRect kCompactColourRect = RectLtrb(50, 10, 425, 25);
const QRect kColourRect = RectLtrb(50, 10, 405, 25);
const QRect kReferenceLampRect = RectLtrb(410, 12, 430, 27);
const QRect kRoutingRect1 = RectLtrb(50, 35, 430, 50);
const QRect kRoutingRect2 = RectLtrb(50, 50, 430, 65);

}  // namespace

CInfoBar::CInfoBar(QWidget* parent) : QWidget(parent) {
    const QSize size = ResourceBitmapSize(ResourceId::kInfoLine);
    if (size.isValid()) {
        ResizeOnSkin(this, size);
    }
}

void CInfoBar::InitInfoBar(const int32_t* menuOfUnit) {
    MoveOnSkin(this, kPanelPlace);
    m_message.clear();
    m_alert.clear();
    m_screen = ScreenColour{};
    m_menuOfUnit = menuOfUnit;
    m_showReadouts = true;
}

void CInfoBar::SetMessage(const std::string& text) {
    if (text == m_message) {
        return;
    }
    m_message = text;
    m_alert.clear();
    RepaintNow();
}

void CInfoBar::SetAlert(const std::string& text) {
    if (text == m_alert) {
        return;
    }
    m_alert = text;
    m_message.clear();
    RepaintNow();
}

void CInfoBar::SetReferenceFlags(uint8_t statusFlags) {
    if (g_panelModel.FollowReferenceFlags(statusFlags)) {
        update();
    }
}

void CInfoBar::RepaintNow() {
    if (isVisible()) {
        repaint();
    }
}

InfoContent CInfoBar::Content() const {
    int menu = -1;
    if (m_menuOfUnit != nullptr) {
        menu = m_menuOfUnit[UnitOfAddress(g_currentUnitAddress)];
    }
    return ChooseInfoContent(m_alert, m_message, menu, m_showReadouts);
}

CInfoBar::Face CInfoBar::CurrentFace() const {
    Face face;
    face.content = Content();
    face.faceName = g_faceName;
    switch (face.content) {
        case InfoContent::Alert:
            face.text = m_alert;
            break;
        case InfoContent::Message:
            face.text = m_message;
            break;
        case InfoContent::Keyframe: {
            const int current = m_keyframes != nullptr ? m_keyframes->CurrentKeyframe() : 0;
            const int count = m_keyframes != nullptr ? m_keyframes->KeyframeCount() : 0;
            face.text = KeyframeLine(current, count);
            break;
        }
        case InfoContent::Readouts:
            face.readouts = ComposeReadouts(g_unitStatus[kStatusByteModel], m_screen);
            face.referencePresent = ReferencePresent();
            break;
        case InfoContent::Nothing:
            break;
    }
    return face;
}

bool CInfoBar::FaceChanged() {
    return m_shown.Changed({CurrentFace(), m_place.ClientRect(this).size()});
}

void CInfoBar::paintEvent(QPaintEvent*) {
    ++m_paintCount;
    if (DrawnByWindow(redirected(nullptr))) {
        return;
    }
    QPainter painter(this);
    PaintOnSkin(painter, m_place.Zoom(this));
    // The line's picture is opaque; it covers the line when the line has its size.
    const QSize size = m_place.ClientRect(this).size();
    const bool pictured = ResourceBitmapSize(ResourceId::kInfoLine) == size;
    const Face face = CurrentFace();
    m_face.Paint(painter, size, pictured ? FaceGround::kOpaque : FaceGround::kTransparent, face,
                 [this, &face](QPainter& target) { DrawFace(target, face); });
}

void CInfoBar::DrawFace(QPainter& painter, const Face& face) {
    const QPixmap background = LoadResourceBitmapAt(ResourceId::kInfoLine, PaintRatio(painter));
    if (!background.isNull()) {
        DrawPicture(painter, QPointF(0, 0), background);
    }
    painter.setFont(m_textFont.Font(face.faceName, kTextFontHeight));
    switch (face.content) {
        case InfoContent::Alert:
            DrawPanelText(painter, kAlertRect, PanelString(face.text), kTopCentred, kAlertColour);
            break;
        case InfoContent::Message:
            DrawPanelText(painter, kMessageRect, PanelString(face.text), kTopCentred,
                          kMessageColour);
            break;
        case InfoContent::Keyframe:
            DrawPanelText(painter, kKeyframeRect, PanelString(face.text), kTopCentred,
                          kReadoutColour);
            break;
        case InfoContent::Readouts:
            DrawReadouts(painter, face);
            break;
        case InfoContent::Nothing:
            break;
    }
}

void CInfoBar::DrawReadouts(QPainter& painter, const Face& face) {
    painter.setFont(m_readoutFont.Font(face.faceName, kReadoutFontHeight));
    const ReadoutLines& lines = face.readouts;
    if (lines.referenceLamp) {
        DrawPanelText(painter, kColourRect, PanelString(lines.colourLine),
                      kTextRight | kTextSingleLine, kReadoutColour);
        DrawRoundBox(painter, kReferenceLampRect, kLampCorner, kLampCorner,
                     face.referencePresent ? kReferencePresentColour : kReferenceMissingColour);
    } else {
        DrawPanelText(painter, kCompactColourRect, PanelString(lines.colourLine),
                      kTextCentre | kTextSingleLine, kReadoutColour);
    }
    DrawPanelText(painter, kRoutingRect1, PanelString(lines.routingLine1),
                  kTextLeft | kTextSingleLine, kReadoutColour);
    DrawPanelText(painter, kRoutingRect2, PanelString(lines.routingLine2),
                  kTextLeft | kTextSingleLine, kReadoutColour);
}
