#pragma once

#include <QRect>
#include <QWidget>
#include <array>
#include <cstdint>

#include "controls/FaceCache.h"
#include "controls/SkinZoom.h"
#include "controls/WindowFace.h"

class PollResults;

// Shows which units answer on the line and which one is selected, by moving the panel's
// eight lamp windows into view or out of it, and paints the screen-colour swatch and a dark
// lamp in the status strip. The bar covers the strip it paints (451 by 21 pixels from
// (596, 574)), lets the mouse through, and sits beneath the lamps it moves.
class COnLineBar : public QWidget, public KeptFace {
    Q_OBJECT

  public:
    static constexpr int kUnits = 4;

    explicit COnLineBar(QWidget* parent = nullptr);

    void InitOnLineBar(const PollResults* pollSource, const std::array<QWidget*, kUnits>& onLine,
                       const std::array<QWidget*, kUnits>& selected);
    // Remembers the selected unit (1..4, 0 for none), hides every lamp and asks for a paint,
    // which places the right lamps again.
    void SetSelectedUnit(uint8_t unit);
    void SetSwatch(int red, int green, int blue);

    uint8_t SelectedUnit() const { return m_selectedUnit; }
    // The panel rectangle of on-line lamp `index` (0..3), of the selected-unit lamp, and the
    // empty rectangle that hides a lamp.
    QRect OnLineRect(int index) const { return m_onLineRect[index]; }
    QRect SelectedRect() const { return m_selectedRect; }
    QRect HiddenRect() const { return m_hiddenRect; }
    // Puts every lamp where the poll results and the selected unit say.
    void PlaceLamps();
    bool FaceChanged() override { return m_shown.Changed(SwatchColour()); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRgb SwatchColour() const;
    static void MoveLamp(QWidget* lamp, const QRect& place);

    std::array<QWidget*, kUnits> m_onLineLamp{};
    std::array<QWidget*, kUnits> m_selectedLamp{};
    SkinPlace m_place;
    ShownFace<QRgb> m_shown;
    int m_swatchRed = 0;
    int m_swatchGreen = 0;
    int m_swatchBlue = 0;
    std::array<QRect, kUnits> m_onLineRect;
    QRect m_selectedRect;
    QRect m_hiddenRect;
    const PollResults* m_pollSource = nullptr;
    uint8_t m_selectedUnit = 0;
};
