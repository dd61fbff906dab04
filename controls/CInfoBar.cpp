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

void CInfoBar::paintEvent(QPaintEvent*) {
    ++m_paintCount;
    QPainter painter(this);
    PaintOnSkin(painter, this);
    const QPixmap background = LoadResourceBitmapAt(ResourceId::kInfoLine, PaintRatio(painter));
    if (!background.isNull()) {
        DrawPicture(painter, QPointF(0, 0), background);
    }
    painter.setFont(MakePanelFont(g_faceName, kTextFontHeight));
    switch (Content()) {
        case InfoContent::Alert:
            DrawPanelText(painter, kAlertRect, PanelString(m_alert), kTopCentred, kAlertColour);
            break;
        case InfoContent::Message:
            DrawPanelText(painter, kMessageRect, PanelString(m_message), kTopCentred,
                          kMessageColour);
            break;
        case InfoContent::Keyframe: {
            const int current = m_keyframes != nullptr ? m_keyframes->CurrentKeyframe() : 0;
            const int count = m_keyframes != nullptr ? m_keyframes->KeyframeCount() : 0;
            DrawPanelText(painter, kKeyframeRect, PanelString(KeyframeLine(current, count)),
                          kTopCentred, kReadoutColour);
            break;
        }
        case InfoContent::Readouts:
            DrawReadouts(painter);
            break;
        case InfoContent::Nothing:
            break;
    }
}

void CInfoBar::DrawReadouts(QPainter& painter) {
    painter.setFont(MakePanelFont(g_faceName, kReadoutFontHeight));
    const ReadoutLines lines = ComposeReadouts(g_unitStatus[kStatusByteModel], m_screen);
    if (lines.referenceLamp) {
        DrawPanelText(painter, kColourRect, PanelString(lines.colourLine),
                      kTextRight | kTextSingleLine, kReadoutColour);
        DrawRoundBox(painter, kReferenceLampRect, kLampCorner, kLampCorner,
                     ReferencePresent() ? kReferencePresentColour : kReferenceMissingColour);
    } else {
        DrawPanelText(painter, kCompactColourRect, PanelString(lines.colourLine),
                      kTextCentre | kTextSingleLine, kReadoutColour);
    }
    DrawPanelText(painter, kRoutingRect1, PanelString(lines.routingLine1),
                  kTextLeft | kTextSingleLine, kReadoutColour);
    DrawPanelText(painter, kRoutingRect2, PanelString(lines.routingLine2),
                  kTextLeft | kTextSingleLine, kReadoutColour);
}
