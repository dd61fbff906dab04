#include "controls/ProgramLook.h"

#include <QApplication>
#include <QColor>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

// The artwork's own colours, by the names the pictures are drawn with.
constexpr QColor kBody{0x25, 0x28, 0x2d};
constexpr QColor kWell{0x12, 0x14, 0x17};
constexpr QColor kSection{0x18, 0x1a, 0x1e};
constexpr QColor kSectionEdge{0x30, 0x35, 0x3c};
constexpr QColor kRule{0x3a, 0x40, 0x48};
constexpr QColor kGlass{0x0a, 0x0c, 0x0e};
constexpr QColor kKeyFace{0x34, 0x38, 0x3f};
constexpr QColor kKeyFaceTop{0x43, 0x48, 0x50};
constexpr QColor kKeyHighlight{0x5d, 0x63, 0x6c};
constexpr QColor kCapShade{0x7d, 0x84, 0x8d};
constexpr QColor kKeyShadow{0x08, 0x09, 0x0a};
constexpr QColor kLabel{0xcd, 0xd2, 0xd9};
constexpr QColor kHeader{0x8b, 0x95, 0xa1};
constexpr QColor kAccent{0x91, 0xc0, 0x4a};
constexpr QColor kLampGreen{0x6c, 0xc2, 0x2e};
constexpr QColor kBright{0xff, 0xff, 0xff};
// The About box's light paper and what is drawn on it.
constexpr QColor kPaper{0xf3, 0xf5, 0xf7};
constexpr QColor kPaperShade{0xdd, 0xe2, 0xe7};
constexpr QColor kPaperEdge{0xc3, 0xc9, 0xd0};
constexpr QColor kCapTop{0xee, 0xf1, 0xf4};
constexpr QColor kCapBottom{0x9a, 0xa1, 0xaa};
constexpr QColor kInk{0x00, 0x00, 0x00};
constexpr QColor kPlateEdge{0x4a, 0x51, 0x5a};
constexpr QColor kLitFace{0x3f, 0x6c, 0x1c};
constexpr QColor kLampGreenDeep{0x2f, 0x6a, 0x12};

// Fusion edges a check box or radio button in a shade of the window colour, which vanishes on
// a dark window; this style rims them in a light edge, the accent while they have the focus.
class ProgramStyle : public QProxyStyle {
  public:
    ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton) {
            DrawIndicatorRim(element, *option, *painter);
        }
    }

  private:
    static void DrawIndicatorRim(PrimitiveElement element, const QStyleOption& option,
                                 QPainter& painter) {
        QColor rim = kCapShade;
        if (!(option.state & State_Enabled)) {
            rim = kKeyHighlight;
        } else if (option.state & State_HasFocus) {
            rim = kAccent;
        }
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, element == PE_IndicatorRadioButton);
        painter.setPen(QPen(rim, 1.0));
        painter.setBrush(Qt::NoBrush);
        const QRectF edge = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
        if (element == PE_IndicatorRadioButton) {
            painter.drawEllipse(edge);
        } else {
            painter.drawRect(edge);
        }
        painter.restore();
    }
};

}  // namespace

QPalette ProgramPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, kBody);
    palette.setColor(QPalette::WindowText, kLabel);
    palette.setColor(QPalette::Base, kWell);
    palette.setColor(QPalette::AlternateBase, kSection);
    palette.setColor(QPalette::Text, kLabel);
    palette.setColor(QPalette::PlaceholderText, kHeader);
    palette.setColor(QPalette::Button, kKeyFace);
    palette.setColor(QPalette::ButtonText, kLabel);
    palette.setColor(QPalette::BrightText, kBright);
    palette.setColor(QPalette::Light, kKeyHighlight);
    palette.setColor(QPalette::Midlight, kKeyFaceTop);
    palette.setColor(QPalette::Mid, kSectionEdge);
    palette.setColor(QPalette::Dark, kWell);
    palette.setColor(QPalette::Shadow, kKeyShadow);
    palette.setColor(QPalette::Highlight, kAccent);
    palette.setColor(QPalette::HighlightedText, kWell);
    palette.setColor(QPalette::ToolTipBase, kGlass);
    palette.setColor(QPalette::ToolTipText, kLabel);
    palette.setColor(QPalette::Link, kAccent);
    palette.setColor(QPalette::LinkVisited, kLampGreen);

    // A disabled control sinks into the body: a flat face and the dimmer header grey, still
    // well above the contrast that text needs.
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText}) {
        palette.setColor(QPalette::Disabled, role, kHeader);
    }
    palette.setColor(QPalette::Disabled, QPalette::Button, kBody);
    palette.setColor(QPalette::Disabled, QPalette::Base, kBody);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, kRule);
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, kLabel);
    return palette;
}

QPalette PaperPalette() {
    QPalette palette = ProgramPalette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, kPaper);
        palette.setColor(group, QPalette::Base, kBright);
        palette.setColor(group, QPalette::AlternateBase, kPaper);
        palette.setColor(group, QPalette::Button, kPaperShade);
        palette.setColor(group, QPalette::Light, kBright);
        palette.setColor(group, QPalette::Midlight, kCapTop);
        palette.setColor(group, QPalette::Mid, kPaperEdge);
        palette.setColor(group, QPalette::Dark, kCapBottom);
        palette.setColor(group, QPalette::Shadow, kCapShade);
        palette.setColor(group, QPalette::Highlight, kLitFace);
        palette.setColor(group, QPalette::HighlightedText, kBright);
        palette.setColor(group, QPalette::Link, kLampGreenDeep);
        palette.setColor(group, QPalette::LinkVisited, kLampGreenDeep);
        palette.setColor(group, QPalette::PlaceholderText, kPlateEdge);
        const QColor text = group == QPalette::Disabled ? kPlateEdge : kInk;
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(group, role, text);
        }
    }
    return palette;
}

void ApplyProgramLook() {
    // The style first: a new style puts back its own palette. The application owns it.
    QApplication::setStyle(new ProgramStyle);
    QApplication::setPalette(ProgramPalette());
}
