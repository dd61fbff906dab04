#pragma once

#include <QWidget>

class ToggleActions;

// What pressing a toggle does, with its number as the argument.
enum class ToggleKind {
    None = 0,
    MenuShortcut = 1,    // the panel's menu shortcut to menu `number`
    View = 2,            // view selection with function `number`
    UnitSelect = 3,      // selects unit `number`
    Memory = 4,          // memory `number`
    FileClear = 5,       // lights itself, then the panel's file clear
    AttributeLatch = 6,  // flips itself and the latch bit
    Setup = 7,           // the COM port setup
};

// Whether a kind acts only while a unit is selected.
bool ToggleNeedsUnit(ToggleKind kind);
// Whether a kind acts only while the selected unit answers and its menus are loaded.
bool ToggleNeedsMenus(ToggleKind kind);

// The panel's two-state bitmap key: one picture while on, another while off, and a mouse
// press runs the panel action of its kind. A press never shows the key pushed in and sends
// no click; the space bar on a focused key flips its picture and runs nothing, and Enter on it
// presses it as the mouse does.
class CImageToggleButton : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kAttributeLatchBit = 0x10;  // bit of lamp byte 0

    explicit CImageToggleButton(QWidget* parent = nullptr);

    void SetKind(ToggleKind kind, int number) {
        m_kind = kind;
        m_number = number;
    }
    // The pictures drawn while on and off, and a third the panel keeps with them.
    void SetBitmaps(int onBitmapId, int offBitmapId, int thirdBitmapId);
    void SetOn(bool on);
    void SetActions(ToggleActions* actions) { m_actions = actions; }

    ToggleKind Kind() const { return m_kind; }
    int Number() const { return m_number; }
    bool IsOn() const { return m_on != 0; }
    int ThirdBitmapId() const { return m_thirdBitmapId; }

    // What a mouse press does.
    void Press();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FlipAttributeLatch();
    void RunPortSetup();

    ToggleKind m_kind = ToggleKind::None;
    int m_number = 0;
    int m_onBitmapId = 0;
    int m_offBitmapId = 0;
    int m_thirdBitmapId = 0;
    int m_on = 0;
    ToggleActions* m_actions = nullptr;
};
