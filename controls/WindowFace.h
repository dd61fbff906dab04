#pragma once

#include <QHash>
#include <QMetaObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <functional>

class QPaintDevice;
class QPainter;
class QWidget;
class WindowFace;

// A control whose face its window keeps in one picture with the skin (WindowFace). On the
// screen the window copies that picture, so a full repaint costs one copy however many
// controls there are, and the control paints nothing itself; anywhere else (a grab, a
// render, a window that keeps no faces) it paints as any control does.
class KeptFace {
  public:
    virtual ~KeptFace() = default;

    // Whether what the face shows changed since the last call. The window asks before each
    // paint on the screen and draws the control into its picture again when it did.
    virtual bool FaceChanged() = 0;

  protected:
    // True when the window drew this control in the paint under way on `target` (where the
    // control's paint goes, its redirected()): its own paint then leaves the screen as the
    // window left it. Asked before a painter is made, which costs more than the answer.
    bool DrawnByWindow(const QPaintDevice* target) const;

  private:
    friend class WindowFace;
    const WindowFace* m_keeper = nullptr;
};

// The window's face: its ground (the skin) with the faces of its kept controls on it, at the
// window's size and pixel ratio. It is drawn again only where a kept control changed, moved,
// showed or hid, and wholly when the window's size or ratio changed. Controls it does not
// keep paint over it as usual, so none of them may lie beneath a kept one.
class WindowFace {
  public:
    // `drawGround` paints the window's own ground on a painter in window coordinates, in the
    // region given (the painter is clipped to it).
    using DrawGround = std::function<void(QPainter&, const QRegion&)>;

    WindowFace(QWidget* window, DrawGround drawGround);
    ~WindowFace();
    WindowFace(const WindowFace&) = delete;
    WindowFace& operator=(const WindowFace&) = delete;

    // Keeps every direct child of the window that is a KeptFace.
    void KeepChildren();

    // The window's paint of `region` on `painter`, going to `target` (the window's
    // redirected()): on the screen the picture, brought up to date first; anywhere else the
    // ground alone, and the controls paint themselves.
    void Paint(QPainter& painter, const QRegion& region, const QPaintDevice* target);

    // How many times a part of the picture was drawn: a test's view of the face.
    int RedrawCount() const { return m_redrawCount; }

  private:
    friend class KeptFace;

    // Keeps the face of `control`, a direct child of the window, when it is a KeptFace. Its
    // paints then see what lies beneath it, so it is made to paint as transparent.
    void Keep(QWidget* control);
    // Whether `target` is the window's screen and the picture was shown there.
    bool DrewOnScreen(const QPaintDevice* target) const;

    struct Kept {
        KeptFace* face = nullptr;
        QMetaObject::Connection gone;  // forgets the control when it is destroyed
    };
    struct Drawn {
        QRect place;
        bool shown = false;
    };

    bool OnScreen(const QPaintDevice* target) const;
    // Where the kept controls changed since the picture was last brought up to date.
    QRegion StaleRegion();
    void Redraw(const QRegion& stale);
    void ShowPicture(QPainter& painter, const QRegion& region) const;

    QWidget* m_window;
    DrawGround m_drawGround;
    QHash<const QObject*, Kept> m_kept;
    QHash<const QObject*, Drawn> m_drawn;
    QPixmap m_picture;
    bool m_shownOnScreen = false;
    int m_redrawCount = 0;
};
