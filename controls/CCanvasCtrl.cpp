#include "controls/CCanvasCtrl.h"

#include <QKeyEvent>
#include <QPainter>

#include "controls/Fonts.h"
#include "controls/PaintHelpers.h"

namespace {

constexpr int kLabelFontHeight = -12;
constexpr int kNameFontHeight = -15;
constexpr int kTimecodeFontHeight = -16;
constexpr int kValueBoxCorner = 10;
constexpr int kReferenceMarkBottomGap = 2;  // the mark runs from B - 2 up to B - 9
constexpr int kReferenceMarkTopGap = 9;
constexpr unsigned kNameFlags = kTextCentre | kTextVCentre | kTextNoClip;
constexpr unsigned kValueFlags = kTextCentre | kTextVCentre | kTextSingleLine;

}  // namespace

CCanvasCtrl::CCanvasCtrl(QWidget* parent) : CCanvas(parent) {
    setFocusPolicy(Qt::StrongFocus);
    hide();
}

void CCanvasCtrl::InitDisplay(int x, int y) {
    Place(x, y);
    m_valueBoxRect = RectLtrb(49, 60, 99, 80);
    m_minLabelRect = RectLtrb(5, 65, 50, 85);
    m_maxLabelRect = RectLtrb(98, 65, 143, 85);
    m_valueTextRect = RectLtrb(50, 61, 99, 80);
    m_nameRect = RectLtrb(0, 5, 148, 96);
    m_timecodeRect = RectLtrb(0, 60, 148, 151);
}

// A binding that shows what the display already shows draws nothing: the knobs bind anew
// after every turn and poll.
void CCanvasCtrl::Bind(ParamRecord* record) {
    const bool active = record != nullptr && !record->name.empty();
    if (active) {
        m_param = record;
        show();
    } else {
        hide();
    }
    m_active = active;
    if (m_drawn && m_drawnActive == active && (!active || m_drawnRecord == *record)) {
        return;
    }
    Redraw();
}

// Enter held down is one double-click, not a stream of them; the rest goes on to the panel.
void CCanvasCtrl::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<KnobKey> key = KnobKeyOf(*event)) {
        emit KnobKeyPressed(*key);
    } else if (IsEnterKey(*event)) {
        if (!event->isAutoRepeat()) {
            emit DoubleClicked();
        }
    } else {
        event->ignore();
        return;
    }
    event->accept();
}

void CCanvasCtrl::Draw(QPainter& painter) {
    m_drawn = true;
    m_drawnActive = m_active && m_param != nullptr;
    if (m_drawnActive) {
        m_drawnRecord = *m_param;
    }
    const QRect client(0, 0, kWidth, kHeight);
    DrawBox(painter, client, kFaceColour);
    if (!m_active || m_param == nullptr) {
        return;
    }
    if (m_param->flags & kFlagTimecode) {
        DrawTimecode(painter, client);
        return;
    }
    DrawGauge(painter, client);
}

void CCanvasCtrl::DrawGauge(QPainter& painter, const QRect& client) {
    const GaugePicture gauge = ComputeGauge(*m_param, client.left(), client.right() + 1);
    const int top = client.top();
    const int bottom = client.bottom() + 1;
    if (gauge.showBar) {
        DrawBox(painter, RectLtrb(gauge.barLeft, top, gauge.barRight, bottom), kBarColour);
    }
    if (gauge.showReference) {
        painter.save();
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(gauge.referenceX, bottom - kReferenceMarkTopGap, gauge.referenceX,
                         bottom - kReferenceMarkBottomGap);
        painter.restore();
    }
    DrawRoundBox(painter, m_valueBoxRect, kValueBoxCorner, kValueBoxCorner, kValueBoxColour);

    painter.setFont(m_labelFont.Font(g_faceName, kLabelFontHeight));
    DrawPanelText(painter, m_minLabelRect, PanelString(gauge.minLabel), kTextLeft | kTextSingleLine,
                  Qt::black);
    DrawPanelText(painter, m_maxLabelRect, PanelString(gauge.maxLabel),
                  kTextRight | kTextSingleLine, Qt::black);

    const QFont labelFont = painter.font();
    painter.setFont(m_nameFont.Font(g_faceName, kNameFontHeight, kWeightBold));
    DrawPanelText(painter, m_nameRect, PanelString(m_param->name), kNameFlags, Qt::black);

    painter.setFont(labelFont);
    DrawPanelText(painter, m_valueTextRect, PanelString(gauge.valueText), kValueFlags, Qt::white);
}

// The timecode view fills the whole face again, outline and all.
void CCanvasCtrl::DrawTimecode(QPainter& painter, const QRect& client) {
    painter.fillRect(client, kFaceColour);
    painter.setFont(m_timecodeFont.Font(g_faceName, kTimecodeFontHeight));
    DrawPanelText(painter, m_nameRect, PanelString(m_param->name), kNameFlags, Qt::black);
    DrawPanelText(painter, m_timecodeRect, PanelString(TimecodeText(m_param->value)),
                  kTextCentre | kTextNoClip, Qt::white);
}
