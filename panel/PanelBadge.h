#pragma once

#include <QLabel>
#include <array>

// The model badge on the panel's screen: a picture that names the selected unit's model and
// opens its manual (with the attribute latch) or the About box when clicked.
class PanelBadge : public QLabel {
    Q_OBJECT

  public:
    PanelBadge(int controlId, int bitmapId, QWidget* parent);

    int ControlId() const { return m_controlId; }

  signals:
    void Clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int m_controlId;
};

// One badge per model code; the last row is the badge shown while no model is known.
struct BadgeEntry {
    int modelCode;  // -1 for the "no unit" badge
    int controlId;
    int bitmapId;
};
constexpr int kNoModelBadge = 8;
const std::array<BadgeEntry, 9>& ModelBadges();
