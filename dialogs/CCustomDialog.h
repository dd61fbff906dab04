#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "dialogs/ItemNames.h"
#include "model/PanelModel.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace Ui {
class CCustomDialog;
}

// Chooses the knob parameters and functions of one custom menu of the selected unit. It
// edits copies of the unit's custom-menu maps and writes them back on "Apply"; nothing is
// sent to the unit.
class CCustomDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kRows = kKnobCount;

    // `customMenu`: 1..4 for custom menus 1..4 (0, the custom-menu list, is accepted too).
    CCustomDialog(int customMenu, QWidget* parent = nullptr);
    ~CCustomDialog() override;

    // Caption, tabs, the knob items and the rows; copies the unit's maps.
    bool OnInitDialog();

    void OnTabClick();
    void OnSet(int row);  // 0-based
    void OnPage(int step);
    void OnApply();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    enum Tab { kKnobsTab = 0, kButtonsTab = 1 };

    Tab CurrentTab() const;
    int RowCount() const;
    void ListItems();
    void ShowRows();
    uint8_t& Slot(int row);
    uint8_t EmptySlot() const;

    int m_customMenu;
    int m_unit;
    std::unique_ptr<Ui::CCustomDialog> m_ui;
    std::array<QLabel*, kRows> m_rowLabel{};
    std::array<QLineEdit*, kRows> m_slotEdit{};
    std::array<QPushButton*, kRows> m_setButton{};
    std::vector<AssignableItem> m_items;  // of the current tab, in table order
    uint8_t m_knobMap[kCustomMenuCount][kKnobCount]{};
    uint8_t m_functionMap[kCustomMenuCount][kFunctionButtonCount]{};
};
