#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string>

class QPainter;
class QPixmap;
class QPointF;

// Drawing in the panel's terms: rectangles given as left, top, right, bottom with the right
// and bottom edges outside (as every coordinate of the panel's layout is written), outlined
// by a one-pixel pen, and text placed by the panel's alignment flags.

// The text placement flags the controls use.
enum TextFlag : unsigned {
    kTextLeft = 0x00,
    kTextCentre = 0x01,
    kTextRight = 0x02,
    kTextVCentre = 0x04,  // only together with kTextSingleLine
    kTextWordBreak = 0x10,
    kTextSingleLine = 0x20,
    kTextExpandTabs = 0x40,
    kTextNoClip = 0x100,
};

// Qt alignment and wrapping for a set of TextFlag bits. Without the single-line flag the
// text starts at the rectangle's top, vertical centring or not.
int QtTextFlags(unsigned textFlags);

// The rectangle with corners (left, top) and (right, bottom), right and bottom excluded.
QRect RectLtrb(int left, int top, int right, int bottom);

// Fills the rectangle with `fill` and outlines it in `outline` (one pixel, inside the area).
void DrawBox(QPainter& painter, const QRect& area, const QColor& fill,
             const QColor& outline = Qt::black);
// The same with rounded corners whose ellipses are corner_w by corner_h.
void DrawRoundBox(QPainter& painter, const QRect& area, int corner_w, int corner_h,
                  const QColor& fill, const QColor& outline = Qt::black);
// Text in `area` with TextFlag bits, on a transparent background.
void DrawPanelText(QPainter& painter, const QRect& area, const QString& text, unsigned textFlags,
                   const QColor& colour);

// Draws `picture` with its top-left at `topLeft`, as painter.drawPixmap does. A picture drawn
// at the ratio of an unzoomed device (a screen or picture of ratio 2) is copied pixel for
// pixel: Qt would send it through its scaler, at scale 1 but pixel by pixel, where a copy is
// a block move.
void DrawPicture(QPainter& painter, const QPointF& topLeft, const QPixmap& picture);

// The 8-bit, one-byte-per-character texts of the units and the panel, for drawing.
QString PanelString(const std::string& text);

// The panel is laid out in logical pixels at 96 per inch; Qt maps them to the screen, so
// font heights are given in those pixels as they stand.
constexpr int kPanelDpi = 96;
