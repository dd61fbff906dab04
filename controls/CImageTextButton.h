#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <array>
#include <optional>
#include <string>

#include "controls/FaceCache.h"
#include "controls/SkinZoom.h"
#include "controls/WindowFace.h"

// The panel's menu and function buttons: one of two pictures with a caption of one or two
// lines over it. The panel picks the picture (the second is the lit look) and the caption;
// clicks reach the panel as the button's clicked() signal, and the second click of a
// double-click is none. Space or Enter on a focused button clicks it. The pressed state
// changes nothing on the screen.
class CImageTextButton : public QAbstractButton, public KeptFace {
    Q_OBJECT

  public:
    static constexpr int kSecondLineOffset_px = 16;

    explicit CImageTextButton(QWidget* parent = nullptr);

    // Loads both pictures (same size) and sizes the button to them. Without the first
    // picture the button draws only its caption.
    void SetImages(int firstBitmapId, int secondBitmapId);
    void SetCaptionFont(const std::string& face, int height);
    void SetImageIndex(int index);
    void SetCaption(const std::string& caption);
    void SetTextColours(const QColor& textColour, const QColor& disabledTextColour);

    int ImageIndex() const { return m_imageIndex; }
    const std::string& Caption() const { return m_caption; }
    // The first picture is set only when it loaded.
    bool ImagesLoaded() const { return m_images[0] != 0; }
    QRect ImageRect() const { return m_imageRect; }
    // How many times the face was drawn rather than copied.
    int FaceDrawCount() const { return m_face.DrawCount(); }
    bool FaceChanged() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Everything the face is drawn from.
    struct Face {
        int imageIndex = 0;
        std::string caption;
        std::array<int, 2> images{};
        QRect imageRect;
        QColor colour;
        QFont font;
        bool operator==(const Face&) const = default;
    };

    Face CurrentFace();
    void DrawFace(QPainter& painter, const Face& face);
    void DrawCaption(QPainter& painter, const Face& face);

    int m_imageIndex = 0;
    std::string m_caption;
    std::array<int, 2> m_images{};  // resource numbers, drawn at the ratio painted
    QRect m_imageRect;
    QColor m_textColour{255, 255, 255};
    QColor m_disabledTextColour{255, 255, 255};
    std::optional<QFont> m_font;
    FaceCache<Face> m_face;
    ShownFace<Face> m_shown;
    SkinPlace m_place;
};
