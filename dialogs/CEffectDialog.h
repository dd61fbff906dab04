#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "dialogs/LinkOutcome.h"
#include "dialogs/OnScreenKeyboard.h"

class QComboBox;

namespace Ui {
class CEffectDialog;
}

// Lists the selected unit's effects, loads one with its keyframes, deletes one, or saves the
// keyframe menu's knob assignment as a new effect; chooses which parameters knobs 1..4 and
// which functions buttons 1 and 2 of the keyframe menu control. Answers are checked before
// anything is stored. The desktop's on-screen keyboard runs while the dialog is open.
class CEffectDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kKnobCombos = 4;
    static constexpr int kButtonCombos = 2;

    explicit CEffectDialog(
        std::unique_ptr<OnScreenKeyboard> keyboard = std::make_unique<OnScreenKeyboard>(),
        QWidget* parent = nullptr);
    ~CEffectDialog() override;

    // The effect list, the choices of the combo boxes, the present assignment, the keyboard.
    bool OnInitDialog();

    void OnLoad();
    void OnDelete();
    void OnSave();

    // "Close" takes the combo choices into the keyframe menu (a typed name that is no item
    // keeps the dialog open); Escape leaves them. The keyboard ends with the dialog.
    void done(int result) override;

    const OnScreenKeyboard& Keyboard() const { return *m_keyboard; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Each combo's value; nothing for an empty box, which keeps its slot.
    struct ComboChoices {
        std::vector<std::optional<int>> knobs;
        std::vector<std::optional<int>> buttons;
    };

    ListOutcome ReadEffects();
    void FillCombos();
    void ShowMaps();
    bool ReadComboChoices(ComboChoices& choices);
    void StoreComboChoices(const ComboChoices& choices);
    bool TakeComboChoices();
    // The value each combo's text names; false, with a message, when one names no item.
    bool ReadChoices(std::span<QComboBox* const> combos, const QString& notAnItem,
                     std::vector<std::optional<int>>& chosen);
    std::optional<int> SelectedEffect() const;
    void ShowStatus(const QString& text);
    void ReportFailure(const QString& text);

    std::unique_ptr<Ui::CEffectDialog> m_ui;
    std::unique_ptr<OnScreenKeyboard> m_keyboard;
    std::array<QComboBox*, kKnobCombos> m_knobCombo{};
    std::array<QComboBox*, kButtonCombos> m_buttonCombo{};
    // The last list read filled the table and the unit had more.
    bool m_listCut = false;
};
