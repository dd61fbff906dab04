#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>
#include <string>

#include "controls/FaceCache.h"
#include "controls/SkinZoom.h"
#include "controls/WindowFace.h"

// The panel's settings line: one line of text read from the selected unit, on a grey strip.
// The bar covers the strip it paints (310 by 21 pixels; the panel places it at (596, 625))
// and lets the mouse through.
class CSettingsBar : public QWidget, public KeptFace {
    Q_OBJECT

  public:
    explicit CSettingsBar(QWidget* parent = nullptr);

    // Shows the unit's settings text; it repaints only when the text changed.
    void SetSettingsText(const std::string& text);
    const std::string& SettingsText() const { return m_settingsText; }
    bool FaceChanged() override { return m_shown.Changed(m_settingsText); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::string m_settingsText;
    QFont m_font;
    QRect m_clearedRect;
    SkinPlace m_place;
    ShownFace<std::string> m_shown;
};
