#pragma once

#include <QPixmap>
#include <QSize>
#include <QWidget>
#include <cstdint>
#include <string>
#include <utility>

#include "controls/FaceCache.h"
#include "controls/Fonts.h"
#include "controls/InfoBarText.h"
#include "controls/SkinZoom.h"
#include "controls/WindowFace.h"
#include "model/PanelModel.h"

class KeyframeReadout;

// The panel's information line: a picture with, by priority, an alert in red, a message in
// yellow, the keyframe position while the keyframe menu is on show, or else the unit's
// read-outs (screen colour, reference lamp, input routing). Messages and alerts repaint at
// once, so a text set before a long exchange with a unit is already on the screen.
class CInfoBar : public QWidget, public KeptFace {
    Q_OBJECT

  public:
    explicit CInfoBar(QWidget* parent = nullptr);

    // `menuOfUnit`: the panel's per-unit current menus (five slots), read at every paint.
    void InitInfoBar(const int32_t* menuOfUnit);
    void SetKeyframeReadout(const KeyframeReadout* readout) { m_keyframes = readout; }
    void SetMessage(const std::string& text);
    void SetAlert(const std::string& text);
    // The poll's status flags byte of the selected unit: the model's reference flag follows
    // its reference-video bit, and the lamp repaints only on a change.
    void SetReferenceFlags(uint8_t statusFlags);

    ScreenColour& Screen() { return m_screen; }
    const std::string& Message() const { return m_message; }
    const std::string& Alert() const { return m_alert; }
    bool ReferencePresent() const { return g_panelModel.m_referencePresent; }
    bool ShowsReadouts() const { return m_showReadouts; }
    // What the next paint shows.
    InfoContent Content() const;
    int PaintCount() const { return m_paintCount; }
    // How many paints drew the line anew rather than copying it.
    int FaceDrawCount() const { return m_face.DrawCount(); }
    bool FaceChanged() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // What the line shows, as drawn: the content, its texts and the lamp.
    struct Face {
        InfoContent content = InfoContent::Nothing;
        std::string text;  // the alert, the message or the keyframe line
        ReadoutLines readouts;
        bool referencePresent = false;
        std::string faceName;
        bool operator==(const Face&) const = default;
    };

    Face CurrentFace() const;
    void RepaintNow();
    void DrawFace(QPainter& painter, const Face& face);
    void DrawReadouts(QPainter& painter, const Face& face);

    std::string m_message;
    std::string m_alert;
    ScreenColour m_screen;
    const int32_t* m_menuOfUnit = nullptr;
    bool m_showReadouts = false;
    const KeyframeReadout* m_keyframes = nullptr;
    int m_paintCount = 0;
    FaceCache<Face> m_face;
    ShownFace<std::pair<Face, QSize>> m_shown;
    PanelFontCache m_textFont;
    PanelFontCache m_readoutFont;
    SkinPlace m_place;
};
