#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "controls/FaceCache.h"
#include "controls/Fonts.h"
#include "controls/SkinZoom.h"
#include "controls/WindowFace.h"
#include "platform/WindowTimers.h"

// A text label with its own painting: colours, font attributes, a solid or graded
// background, transparency, blinking, an embossed look, rotation, and optional behaviour as
// a web or mail link. Setters return the label so calls chain.
class CLabel : public QWidget, public KeptFace {
    Q_OBJECT

  public:
    // The label's static style bits, as its place in the panel's layout gives them.
    static constexpr unsigned kStyleAlignMask = 0x1F;
    static constexpr unsigned kStyleCentre = 0x01;
    static constexpr unsigned kStyleRight = 0x02;
    static constexpr unsigned kStyleLeftNoWrap = 0x0C;
    static constexpr unsigned kStyleCentreImage = 0x200;

    enum class LinkMode { None = 0, Web = 1, Mail = 2 };
    enum class BlinkMode { None = 0, Text = 1, Background = 2 };
    static constexpr int kBlinkTimerId = 1;
    static constexpr int kBlinkPeriod_ms = 500;

    // A label without a parent has no window: SetCaption leaves it alone.
    explicit CLabel(QWidget* parent = nullptr);

    CLabel& SetBackground(const QColor& colour, const QColor& gradientColour, bool gradient);
    CLabel& SetTextColour(const QColor& colour);
    CLabel& SetCaption(const std::string& text);
    CLabel& SetBoldWeight(bool bold);
    CLabel& SetFace(const std::string& face, int charSet);
    CLabel& SetUnderlined(bool underlined);
    CLabel& SetItalics(bool italic);
    CLabel& SetPointHeight(int points);
    CLabel& SetSunkenEdge(bool sunken);
    CLabel& SetBorderLine(bool border);
    CLabel& SetTransparentMode(bool transparent);
    CLabel& BlinkText(bool on);
    CLabel& BlinkBackground(bool on);
    CLabel& SetWebLink(bool on, bool notifyParent);
    CLabel& SetHoverCursor(const QCursor& cursor);
    CLabel& SetEmbossed(bool embossed, int direction);
    CLabel& SetRotation(int degrees, bool rotate);
    CLabel& SetEmbossColour(const QColor& colour);
    CLabel& SetFontDescription(FontDescription description);
    CLabel& SetMailtoLink(bool on, bool notifyParent);
    CLabel& SetLinkAddress(const std::string& address);

    // The style bits and the window's own text (what a link opens without an address).
    void SetStaticStyle(unsigned style);
    void SetWindowText(const std::string& text) { m_windowText = text; }

    bool HasWindow() const;
    const std::string& Text() const { return m_text; }
    const FontDescription& Description() const { return m_logFont; }
    const QFont& CurrentFont() const { return m_font; }
    QColor TextColour() const { return m_textColour; }
    // The colour the text is drawn in now (hidden in the off phase of text blinking).
    QColor VisibleTextColour() const;
    BlinkMode Blinking() const { return m_blinkMode; }
    bool BlinkPhase() const { return m_blinkPhase; }
    bool IsBlinkTimerRunning() const { return m_timers.IsActive(kBlinkTimerId); }
    LinkMode Link() const { return m_linkMode; }
    // Text placement flags (TextFlag bits) for the current style and text.
    unsigned TextFlags() const;

    // One blink tick.
    void OnBlinkTimer();
    bool FaceChanged() override { return m_shown.Changed(m_faceChanges); }
    // What a left click does.
    void Click();

    // How links are opened: the desktop's handler unless a test installs a recorder.
    using LinkOpener = std::function<void(const QString& target, LinkMode mode)>;
    static void SetLinkOpener(LinkOpener opener);

  signals:
    // A click on a label that notifies its parent instead of opening its link.
    void LinkNotified();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    CLabel& RemakeFont();
    CLabel& RepaintNow();
    CLabel& BlinkSetup(bool on, BlinkMode mode);
    CLabel& SetLinkMode(bool on, LinkMode mode, bool notifyParent);
    void UpdateFrame();
    void PaintLabel(QPainter& painter);
    void FillBackground(QPainter& painter, const QRect& area);
    void DrawFrame(QPainter& painter);

    QColor m_textColour;
    QColor m_embossColour{255, 255, 255};
    QColor m_faceColour;
    std::optional<QColor> m_backgroundBrush;
    FontDescription m_logFont;
    QFont m_font;
    bool m_blinkPhase = false;
    LinkMode m_linkMode = LinkMode::None;
    bool m_transparent = false;
    bool m_embossed = false;
    bool m_notifyParent = false;
    bool m_rotated = false;
    BlinkMode m_blinkMode = BlinkMode::None;
    int m_embossDirection = 0;
    bool m_gradient = false;
    QColor m_gradientColour{0, 0, 0};
    QColor m_backgroundColour{0, 0, 0};
    std::string m_linkAddress;
    std::string m_text;
    // Every change the label shows asks for a paint; each one counts here.
    int m_faceChanges = 0;
    ShownFace<int> m_shown;
    std::string m_windowText;
    unsigned m_staticStyle = 0;
    bool m_sunkenEdge = false;
    bool m_borderLine = false;
    WindowTimers m_timers{this};
    SkinPlace m_place;
};
