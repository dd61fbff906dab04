#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QFontMetrics;
class QWidget;

// The dialogs are laid out in dialog units, as their templates were drawn: a horizontal unit
// is a quarter of the dialog font's average character width, a vertical unit an eighth of its
// character height. The .ui files hold those units; LayOutInDialogUnits turns them into pixels
// once, when the dialog is built.

// "MS Sans Serif" 8 pt, or the free stand-in where it is not installed.
QFont DialogFont();

class DialogUnits {
  public:
    // Base units from a font: the average width of the 52 letters, rounded, and the height.
    explicit DialogUnits(const QFontMetrics& metrics);
    DialogUnits(int baseWidth_px, int baseHeight_px);

    // The base units of DialogFont(), measured once.
    static const DialogUnits& Standard();

    int BaseWidth() const { return m_baseWidth_px; }
    int BaseHeight() const { return m_baseHeight_px; }

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(const QRect& units) const;
    QSize Size(const QSize& units) const;

  private:
    int m_baseWidth_px;
    int m_baseHeight_px;
};

// Gives the dialog the dialog font and a fixed size, and turns its own size and the geometry of
// every control placed in the .ui file from dialog units into pixels. Controls inside a layout
// or a page stack are left to their owner. Call once, after setupUi.
void LayOutInDialogUnits(QWidget* dialog, const DialogUnits& units = DialogUnits::Standard());
