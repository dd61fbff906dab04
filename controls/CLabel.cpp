#include "controls/CLabel.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QUrl>
#include <cmath>

#include "controls/CMemDC.h"
#include "controls/LabelGradient.h"
#include "controls/PaintHelpers.h"
#include "controls/SkinZoom.h"

namespace {

constexpr int kPointsPerInch = 72;
constexpr int kTenthsPerDegree = 10;
constexpr int kFrameWidth_px = 1;

void OpenWithDesktop(const QString& target, CLabel::LinkMode) {
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

CLabel::LinkOpener& Opener() {
    static CLabel::LinkOpener opener = OpenWithDesktop;
    return opener;
}

// The description of the font a window starts with, so a label starts with its dialog's font.
FontDescription DescribeFont(const QFont& font) {
    FontDescription description;
    description.face = font.family().toStdString();
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    description.height = -pixels;
    description.weight = font.weight();
    description.italic = font.italic();
    description.underline = font.underline();
    description.strikeOut = font.strikeOut();
    return description;
}

}  // namespace

CLabel::CLabel(QWidget* parent) : QWidget(parent) {
    m_textColour = palette().color(QPalette::WindowText);
    m_faceColour = palette().color(QPalette::Button);
    m_logFont = DescribeFont(font());
    m_font = MakeFont(m_logFont);
}

void CLabel::SetLinkOpener(LinkOpener opener) {
    Opener() = opener ? std::move(opener) : LinkOpener(OpenWithDesktop);
}

bool CLabel::HasWindow() const {
    return parentWidget() != nullptr || testAttribute(Qt::WA_WState_Created);
}

CLabel& CLabel::RepaintNow() {
    ++m_faceChanges;
    // A transparent label is not opaque to Qt, so the parent's picture behind it is
    // painted first.
    if (isVisible()) {
        repaint();
    }
    return *this;
}

CLabel& CLabel::RemakeFont() {
    m_font = MakeFont(m_logFont);
    return RepaintNow();
}

CLabel& CLabel::SetBackground(const QColor& colour, const QColor& gradientColour, bool gradient) {
    m_backgroundColour = colour;
    m_gradientColour = gradientColour;
    m_gradient = gradient;
    m_backgroundBrush.reset();
    if (!gradient) {
        m_backgroundBrush = colour;
    }
    return RepaintNow();
}

CLabel& CLabel::SetTextColour(const QColor& colour) {
    m_textColour = colour;
    return RepaintNow();
}

CLabel& CLabel::SetCaption(const std::string& text) {
    if (!HasWindow()) {
        return *this;
    }
    m_text = text;
    return RepaintNow();
}

CLabel& CLabel::SetBoldWeight(bool bold) {
    m_logFont.weight = bold ? kWeightBold : kWeightNormal;
    return RemakeFont();
}

CLabel& CLabel::SetFace(const std::string& face, int charSet) {
    m_logFont.face = face;
    m_logFont.charSet = charSet;
    return RemakeFont();
}

CLabel& CLabel::SetUnderlined(bool underlined) {
    m_logFont.underline = underlined;
    return RemakeFont();
}

CLabel& CLabel::SetItalics(bool italic) {
    m_logFont.italic = italic;
    return RemakeFont();
}

CLabel& CLabel::SetPointHeight(int points) {
    // A point font on the screen: its character height in pixels, rounded.
    m_logFont.height =
        -static_cast<int>(std::lround(static_cast<double>(points) * kPanelDpi / kPointsPerInch));
    m_logFont.width = 0;
    return RemakeFont();
}

CLabel& CLabel::SetSunkenEdge(bool sunken) {
    m_sunkenEdge = sunken;
    UpdateFrame();
    return *this;
}

CLabel& CLabel::SetBorderLine(bool border) {
    m_borderLine = border;
    UpdateFrame();
    return *this;
}

void CLabel::UpdateFrame() {
    const int margin = (m_sunkenEdge ? kFrameWidth_px : 0) + (m_borderLine ? kFrameWidth_px : 0);
    setContentsMargins(margin, margin, margin, margin);
    ++m_faceChanges;
    update();
}

CLabel& CLabel::SetTransparentMode(bool transparent) {
    m_transparent = transparent;
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
    return RepaintNow();
}

CLabel& CLabel::BlinkText(bool on) {
    return BlinkSetup(on, BlinkMode::Text);
}

CLabel& CLabel::BlinkBackground(bool on) {
    return BlinkSetup(on, BlinkMode::Background);
}

// Switching a blink off also shows the text again, so a label never stays stuck in its
// hidden phase.
CLabel& CLabel::BlinkSetup(bool on, BlinkMode mode) {
    m_timers.KillTimer(kBlinkTimerId);
    if (on) {
        m_blinkPhase = false;
        m_timers.SetTimer(kBlinkTimerId, kBlinkPeriod_ms);
        m_blinkMode = mode;
        return *this;
    }
    m_blinkMode = BlinkMode::None;
    m_blinkPhase = true;
    return RepaintNow();
}

CLabel& CLabel::SetLinkMode(bool on, LinkMode mode, bool notifyParent) {
    m_linkMode = on ? mode : LinkMode::None;
    m_notifyParent = notifyParent;
    return *this;
}

CLabel& CLabel::SetWebLink(bool on, bool notifyParent) {
    return SetLinkMode(on, LinkMode::Web, notifyParent);
}

CLabel& CLabel::SetMailtoLink(bool on, bool notifyParent) {
    return SetLinkMode(on, LinkMode::Mail, notifyParent);
}

CLabel& CLabel::SetHoverCursor(const QCursor& cursor) {
    setCursor(cursor);
    return *this;
}

CLabel& CLabel::SetEmbossed(bool embossed, int direction) {
    m_embossed = embossed;
    m_embossDirection = direction;
    return RepaintNow();
}

CLabel& CLabel::SetRotation(int degrees, bool rotate) {
    m_logFont.escapement = degrees * kTenthsPerDegree;
    m_logFont.orientation = degrees * kTenthsPerDegree;
    m_rotated = rotate;
    return RemakeFont();
}

CLabel& CLabel::SetEmbossColour(const QColor& colour) {
    m_embossColour = colour;
    return RepaintNow();
}

CLabel& CLabel::SetFontDescription(FontDescription description) {
    m_logFont = std::move(description);
    return RemakeFont();
}

CLabel& CLabel::SetLinkAddress(const std::string& address) {
    m_linkAddress = address;
    return *this;
}

void CLabel::SetStaticStyle(unsigned style) {
    m_staticStyle = style;
    ++m_faceChanges;
    update();
}

QColor CLabel::VisibleTextColour() const {
    if (m_blinkMode == BlinkMode::Text && !m_blinkPhase) {
        return m_backgroundBrush.value_or(QColor(Qt::black));
    }
    return m_textColour;
}

unsigned CLabel::TextFlags() const {
    if (m_staticStyle & kStyleCentreImage) {
        const bool hasBreak = m_text.find_first_of("\r\n") != std::string::npos;
        return hasBreak ? kTextCentre : kTextCentre | kTextVCentre | kTextSingleLine;
    }
    unsigned flags = 0;
    switch (m_staticStyle & kStyleAlignMask) {
        case kStyleCentre:
            flags = kTextCentre | kTextWordBreak;
            break;
        case kStyleRight:
            flags = kTextRight | kTextWordBreak;
            break;
        case kStyleLeftNoWrap:
            flags = kTextLeft;
            break;
        default:
            flags = kTextLeft | kTextWordBreak;
            break;
    }
    if (m_text.find('\t') != std::string::npos) {
        flags |= kTextExpandTabs;
    }
    return flags;
}

void CLabel::OnBlinkTimer() {
    m_blinkPhase = !m_blinkPhase;
    RepaintNow();
}

void CLabel::timerEvent(QTimerEvent* event) {
    if (m_timers.IdOf(event) == kBlinkTimerId) {
        OnBlinkTimer();
    }
}

void CLabel::Click() {
    if (m_notifyParent) {
        emit LinkNotified();
        return;
    }
    const QString windowText = PanelString(m_windowText);
    if (m_linkMode == LinkMode::Web) {
        Opener()(m_linkAddress.empty() ? windowText : PanelString(m_linkAddress), LinkMode::Web);
    } else if (m_linkMode == LinkMode::Mail) {
        Opener()(windowText, LinkMode::Mail);
    }
}

void CLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Click();
    }
    QWidget::mousePressEvent(event);
}

// The second click of a double-click opens nothing again; like a press, it goes on to the
// parent.
void CLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->ignore();
}

void CLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        m_faceColour = palette().color(QPalette::Button);
        RepaintNow();
    }
}

void CLabel::paintEvent(QPaintEvent*) {
    if (DrawnByWindow(redirected(nullptr))) {
        return;
    }
    QPainter target(this);
    PaintOnSkin(target, m_place.Zoom(this));
    if (m_transparent) {
        PaintLabel(target);
    } else {
        CMemDC memDC(target, m_place.ClientRect(this));
        PaintLabel(memDC.Painter());
    }
    DrawFrame(target);
}

void CLabel::FillBackground(QPainter& painter, const QRect& area) {
    if (m_gradient) {
        for (const GradientBand& band :
             GradientBands(area.width(), m_backgroundColour, m_gradientColour)) {
            painter.fillRect(
                QRect(area.left() + band.left, area.top(), band.right - band.left, area.height()),
                band.colour);
        }
        return;
    }
    painter.fillRect(area, m_backgroundBrush.value_or(m_faceColour));
}

void CLabel::PaintLabel(QPainter& painter) {
    const QRect client = m_place.ClientRect(this).marginsRemoved(contentsMargins());
    const QString text = PanelString(m_text);
    if (!m_transparent) {
        FillBackground(painter, m_place.ClientRect(this));
    }
    painter.setFont(m_font);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(VisibleTextColour());
    if (m_rotated) {
        // Starts at the middle and runs along the font's escapement, on its baseline.
        painter.save();
        painter.translate(client.left() + client.width() / 2, client.top() + client.height() / 2);
        painter.rotate(-m_logFont.escapement / static_cast<double>(kTenthsPerDegree));
        painter.drawText(QPoint(0, 0), text);
        painter.restore();
        return;
    }
    const unsigned flags = TextFlags();
    DrawPanelText(painter, client, text, flags, VisibleTextColour());
    if (m_embossed) {
        const int offset = m_embossDirection == 0 ? -1 : 1;
        DrawPanelText(painter, client.translated(offset, offset), text, flags, m_embossColour);
    }
}

void CLabel::DrawFrame(QPainter& painter) {
    QRect frame = m_place.ClientRect(this);
    if (m_borderLine) {
        painter.setPen(Qt::black);
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        frame.adjust(kFrameWidth_px, kFrameWidth_px, -kFrameWidth_px, -kFrameWidth_px);
    }
    if (m_sunkenEdge) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());
    }
}
