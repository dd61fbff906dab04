#include "controls/CSettingsBar.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "controls/Fonts.h"
#include "controls/PaintHelpers.h"
#include "controls/SkinZoom.h"

namespace {

constexpr QSize kCoveredSize{310, 21};
constexpr int kFontHeight = -13;
constexpr QColor kStripColour{89, 89, 89};
constexpr QColor kTextColour{210, 210, 210};
constexpr int kClearingSpaces = 40;
const QRect kStripRect = RectLtrb(110, 4, 310, 19);
const QRect kTextRect = RectLtrb(110, 2, 310, 17);

}  // namespace

CSettingsBar::CSettingsBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    ResizeOnSkin(this, kCoveredSize);
    // The strip is cleared by a run of spaces on grey, as wide as those spaces are; the font
    // never changes, so neither does the cleared area.
    m_font = MakePanelFont("Trebuchet MS", kFontHeight);
    const QFontMetrics metrics(m_font);
    const int clearedWidth =
        std::min(kStripRect.width(), metrics.horizontalAdvance(QString(kClearingSpaces, ' ')));
    const int clearedHeight = std::min(kStripRect.height(), metrics.height());
    m_clearedRect = QRect(kStripRect.topLeft(), QSize(clearedWidth, clearedHeight));
}

void CSettingsBar::SetSettingsText(const std::string& text) {
    if (text != m_settingsText) {
        m_settingsText = text;
        update();
    }
}

void CSettingsBar::paintEvent(QPaintEvent*) {
    if (DrawnByWindow(redirected(nullptr))) {
        return;
    }
    QPainter painter(this);
    PaintOnSkin(painter, m_place.Zoom(this));
    painter.setFont(m_font);
    painter.fillRect(m_clearedRect, kStripColour);
    DrawPanelText(painter, kTextRect, PanelString(m_settingsText), kTextLeft | kTextSingleLine,
                  kTextColour);
}
