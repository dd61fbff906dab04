#pragma once

#include <QRect>

#include "controls/CCanvas.h"
#include "controls/ControlKeys.h"
#include "controls/Fonts.h"
#include "model/KnobGauge.h"
#include "model/PanelModel.h"

// The knob display: the name and value of the parameter its knob controls, as a fill bar
// with range labels and a reference mark, or as a timecode. What a turn does to the
// parameter is the panel's actions' (console/KnobDrive.h). Focused, it hands the knob keys
// to its knob and takes Enter as a double-click.
class CCanvasCtrl : public CCanvas {
    Q_OBJECT

  public:
    static constexpr QColor kFaceColour{153, 153, 153};
    static constexpr QColor kBarColour{127, 183, 59};
    static constexpr QColor kValueBoxColour{64, 64, 64};

    explicit CCanvasCtrl(QWidget* parent = nullptr);

    // Places the display at (x, y) and lays out its boxes.
    void InitDisplay(int x, int y);
    // Shows `record` when it has a name; a nameless (or missing) record hides the display
    // and keeps the record bound before. Redraws either way.
    void Bind(ParamRecord* record);

    ParamRecord* Param() const { return m_param; }
    bool IsActive() const { return m_active; }
    QRect ValueBoxRect() const { return m_valueBoxRect; }

  signals:
    // A knob key pressed while the display has the focus: its knob turns.
    void KnobKeyPressed(KnobKey key);

  protected:
    void Draw(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void DrawGauge(QPainter& painter, const QRect& client);
    void DrawTimecode(QPainter& painter, const QRect& client);

    ParamRecord* m_param = nullptr;
    bool m_active = false;
    // What the picture shows, as of its last drawing.
    bool m_drawn = false;
    bool m_drawnActive = false;
    ParamRecord m_drawnRecord;
    QRect m_valueBoxRect;
    QRect m_minLabelRect;
    QRect m_maxLabelRect;
    QRect m_valueTextRect;
    QRect m_nameRect;
    QRect m_timecodeRect;
    PanelFontCache m_labelFont;
    PanelFontCache m_nameFont;
    PanelFontCache m_timecodeFont;
};
