#pragma once

#include <QPixmap>
#include <QSize>
#include <functional>
#include <optional>

class QPainter;

// A control's drawn face kept as a picture at the ratio it is shown at. Text costs far more
// to draw than a picture to copy, so the face is drawn again only when what it shows, its
// size or the ratio changes, and every paint in between copies the picture pixel for pixel.

// Whether the face covers every pixel of its size (a picture under the text) or leaves
// what lies beneath showing.
enum class FaceGround { kOpaque, kTransparent };

class FacePicture {
  public:
    using DrawFace = std::function<void(QPainter&)>;

    // Paints the face of skin size `size` at (0, 0) on `painter` (in skin coordinates): drawn
    // anew by `draw`, on a painter in the same skin coordinates, unless `unchanged` and the
    // kept picture has that size, ground and the painter's ratio.
    void Paint(QPainter& painter, const QSize& size, FaceGround ground, bool unchanged,
               const DrawFace& draw);
    // How many times the face was drawn: a test's view of the cache.
    int DrawCount() const { return m_drawCount; }

  private:
    QPixmap m_picture;
    QSize m_size;
    FaceGround m_ground = FaceGround::kTransparent;
    int m_drawCount = 0;
};

// The face keyed by what it shows: `Key` holds everything the face is drawn from.
template <class Key>
class FaceCache {
  public:
    void Paint(QPainter& painter, const QSize& size, FaceGround ground, const Key& key,
               const FacePicture::DrawFace& draw) {
        const bool unchanged = m_key.has_value() && *m_key == key;
        if (!unchanged) {
            m_key = key;
        }
        m_picture.Paint(painter, size, ground, unchanged, draw);
    }
    int DrawCount() const { return m_picture.DrawCount(); }

  private:
    std::optional<Key> m_key;
    FacePicture m_picture;
};

// What a face kept by its window (KeptFace) showed when last asked, to tell a change.
template <class Key>
class ShownFace {
  public:
    // Whether `now` differs from what was shown, and `now` is shown from here on.
    bool Changed(const Key& now) {
        if (m_key.has_value() && *m_key == now) {
            return false;
        }
        m_key = now;
        return true;
    }

  private:
    std::optional<Key> m_key;
};
