#include "dialogs/CEffectDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <span>
#include <vector>

#include "controls/PaintHelpers.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/EffectLoading.h"
#include "dialogs/ItemNames.h"
#include "dialogs/LinkOutcome.h"
#include "dialogs/StoredNames.h"
#include "link/DialogRequests.h"
#include "link/EffectCommands.h"
#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "platform/Prompter.h"
#include "ui_CEffectDialog.h"

namespace {

// Right of the centre, like the other storage dialogs.
constexpr int kExtraRight_px = 2;

const QString kNone = QStringLiteral("None");

void FillCombo(QComboBox* combo, int emptyValue, const std::vector<AssignableItem>& items) {
    combo->clear();
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItem(kNone, emptyValue);
    for (const AssignableItem& item : items) {
        combo->addItem(item.name, item.value);
    }
}

void SelectValue(QComboBox* combo, int value) {
    combo->setCurrentIndex(combo->findData(value));
}

// The item a typed text names: the one spelt alike, else the first alike but for case.
int TypedItem(const QComboBox* combo, const QString& text) {
    const int exact = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return exact >= 0 ? exact : combo->findText(text, Qt::MatchFixedString);
}

// What `combo` names: the selected item's value (two items may share a name), or nothing for
// an empty box (the slot keeps its value). False when a typed text names no item.
bool ChoiceOf(const QComboBox* combo, std::optional<int>& value) {
    value.reset();
    const QString text = combo->currentText();
    if (text.isEmpty()) {
        return true;
    }
    int index = combo->currentIndex();
    if (index < 0 || combo->itemText(index) != text) {
        index = TypedItem(combo, text);
    }
    if (index < 0) {
        return false;
    }
    value = combo->itemData(index).toInt();
    return true;
}

// Stores each choice into its slot of `map`; an empty box keeps the slot's value.
void StoreChoices(const std::vector<std::optional<int>>& chosen, uint8_t* map) {
    for (size_t k = 0; k < chosen.size(); ++k) {
        map[k] = static_cast<uint8_t>(chosen[k].value_or(map[k]));
    }
}

// Keeps what the effect list says of an entry and empties what a load filled in.
void ForgetLoad(EffectRecord& effect) {
    const EffectRecord listed{effect.number, effect.info, effect.name};
    effect = listed;
}

// Gives `effect`, as the list now names it, what a load had filled into `loaded`.
void CarryLoad(const EffectRecord& loaded, EffectRecord& effect) {
    const EffectRecord listed = effect;
    effect = loaded;
    effect.number = listed.number;
    effect.info = listed.info;
    effect.name = listed.name;
}

void ForgetEveryLoad() {
    for (EffectRecord& effect : g_effectTable) {
        ForgetLoad(effect);
    }
}

// After effect `deleted` went from `before`, the list closed up: every later effect stands
// one place higher and may have been renumbered. Each entry keeps the load of the effect it
// now holds, found by its old place and its name; anything else is forgotten.
void KeepLoadsAfterDelete(const std::vector<EffectRecord>& before, int deleted) {
    for (int i = 0; i < kEffectSlots; ++i) {
        const size_t old = static_cast<size_t>(i < deleted ? i : i + 1);
        if (i < g_effectCount && old < before.size() && before[old].name == g_effectTable[i].name) {
            CarryLoad(before[old], g_effectTable[i]);
        } else {
            ForgetLoad(g_effectTable[i]);
        }
    }
}

// Whether the list now differs from `before` at place `first` or later (as far as both go).
bool ListChangedFrom(const std::vector<EffectRecord>& before, int first) {
    for (int i = first; i < g_effectCount && static_cast<size_t>(i) < before.size(); ++i) {
        const EffectRecord& now = g_effectTable[i];
        if (now.number != before[i].number || now.name != before[i].name) {
            return true;
        }
    }
    return false;
}

}  // namespace

CEffectDialog::CEffectDialog(std::unique_ptr<OnScreenKeyboard> keyboard, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::CEffectDialog>()),
      m_keyboard(std::move(keyboard)) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    m_knobCombo = {m_ui->knobCombo1, m_ui->knobCombo2, m_ui->knobCombo3, m_ui->knobCombo4};
    m_buttonCombo = {m_ui->buttonCombo1, m_ui->buttonCombo2};
    connect(m_ui->loadButton, &QPushButton::clicked, this, &CEffectDialog::OnLoad);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, &CEffectDialog::OnDelete);
    connect(m_ui->saveButton, &QPushButton::clicked, this, &CEffectDialog::OnSave);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

CEffectDialog::~CEffectDialog() = default;

void CEffectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this, kExtraRight_px);
}

bool CEffectDialog::OnInitDialog() {
    ReadEffects();
    FillCombos();
    ShowMaps();
    m_keyboard->Start();
    return true;
}

void CEffectDialog::done(int result) {
    if (result == Accepted && !TakeComboChoices()) {
        return;
    }
    m_keyboard->Stop();
    QDialog::done(result);
}

void CEffectDialog::ShowStatus(const QString& text) {
    m_ui->statusLabel->setText(text);
    m_ui->statusLabel->repaint();
}

void CEffectDialog::ReportFailure(const QString& text) {
    ShowStopBox(UnitText(text), UnitText(windowTitle()));
}

ListOutcome CEffectDialog::ReadEffects() {
    m_ui->effectList->clear();
    ShowStatus(QStringLiteral(" Status: Reading the effect list..."));
    Status status = Status::Ok;
    const ListOutcome outcome =
        ReadListIntoTable(ReadEffectList, g_effectCount, kEffectSlots, status);
    if (outcome == ListOutcome::Failed) {
        ShowStatus(QStringLiteral(" Status: The effect list could not be read."));
        ReportFailure(QStringLiteral("The unit did not send its effect list: %1.\n\nCheck that "
                                     "the unit is switched on and connected, then open this "
                                     "dialog again.")
                          .arg(FailureReason(status)));
        return outcome;
    }
    m_listCut = outcome == ListOutcome::Filled;
    for (int i = 0; i < g_effectCount; ++i) {
        m_ui->effectList->addItem(PanelString(g_effectTable[i].Name()));
    }
    ShowStatus(outcome == ListOutcome::Filled
                   ? QStringLiteral(" Status: The unit holds more effects than the list can "
                                    "show; the first %1 are listed.")
                         .arg(g_effectCount)
                   : QStringLiteral(" Status:"));
    return outcome;
}

void CEffectDialog::FillCombos() {
    const std::vector<AssignableItem> knobs = KnobItems(ItemChoice::All);
    const std::vector<AssignableItem> buttons = ButtonItems(ItemChoice::All);
    for (QComboBox* combo : m_knobCombo) {
        FillCombo(combo, kEmptyKnobParam, knobs);
    }
    for (QComboBox* combo : m_buttonCombo) {
        FillCombo(combo, kEmptyFunctionOffset, buttons);
    }
}

void CEffectDialog::ShowMaps() {
    for (int k = 0; k < kKnobCombos; ++k) {
        SelectValue(m_knobCombo[static_cast<size_t>(k)], g_keyframeKnobMap[k]);
    }
    for (int k = 0; k < kButtonCombos; ++k) {
        SelectValue(m_buttonCombo[static_cast<size_t>(k)], g_keyframeFunctionMap[k]);
    }
}

bool CEffectDialog::ReadComboChoices(ComboChoices& choices) {
    return ReadChoices(m_knobCombo, QStringLiteral("Knob %1: \"%2\" is not a parameter"),
                       choices.knobs) &&
           ReadChoices(m_buttonCombo, QStringLiteral("Button %1: \"%2\" is not a function"),
                       choices.buttons);
}

void CEffectDialog::StoreComboChoices(const ComboChoices& choices) {
    StoreChoices(choices.knobs, g_keyframeKnobMap);
    StoreChoices(choices.buttons, g_keyframeFunctionMap);
}

bool CEffectDialog::TakeComboChoices() {
    ComboChoices choices;
    if (!ReadComboChoices(choices)) {
        return false;
    }
    StoreComboChoices(choices);
    return true;
}

bool CEffectDialog::ReadChoices(std::span<QComboBox* const> combos, const QString& notAnItem,
                                std::vector<std::optional<int>>& chosen) {
    chosen.assign(combos.size(), std::nullopt);
    for (size_t k = 0; k < combos.size(); ++k) {
        if (!ChoiceOf(combos[k], chosen[k])) {
            ReportFailure(notAnItem.arg(k + 1).arg(combos[k]->currentText()) +
                          QStringLiteral(" of this unit.\n\nChoose one from the list."));
            return false;
        }
    }
    return true;
}

std::optional<int> CEffectDialog::SelectedEffect() const {
    const int row = m_ui->effectList->currentRow();
    if (row < 0 || row >= std::min<int>(m_ui->effectList->count(), g_effectCount)) {
        return std::nullopt;
    }
    return row;
}

void CEffectDialog::OnLoad() {
    const std::optional<int> index = SelectedEffect();
    if (!index) {
        ShowStatus(QStringLiteral(" Status: Choose the effect to load in the list."));
        return;
    }
    const EffectRecord& effect = g_effectTable[*index];
    const QString name = PanelString(effect.Name());
    ShowStatus(QStringLiteral(" Status: Loading effect %1...").arg(name));
    EffectAnswers answers;
    QString failedStep;
    const Status status = ReadEffectAnswers(
        static_cast<uint8_t>(effect.number & 0xFF), answers, failedStep, [&](int j, int count) {
            ShowStatus(QStringLiteral(" Status: Loading effect %1: keyframe %2 of %3...")
                           .arg(name)
                           .arg(j + 1)
                           .arg(count));
        });
    if (status != Status::Ok) {
        ShowStatus(QStringLiteral(" Status: Effect %1 was not loaded.").arg(name));
        ReportFailure(QStringLiteral("Effect %1 was not loaded: reading %2 failed: %3.\n\n"
                                     "Nothing was changed; try Load again.")
                          .arg(name, failedStep, FailureReason(status)));
        return;
    }
    ApplyEffectAnswers(*index, answers);
    g_currentEffect = static_cast<uint8_t>(*index);
    ShowMaps();
    ShowStatus(QStringLiteral(" Status: Effect %1 has been loaded (%2 keyframes).")
                   .arg(name)
                   .arg(effect.keyframeCount));
}

void CEffectDialog::OnDelete() {
    const std::optional<int> index = SelectedEffect();
    if (!index) {
        ShowStatus(QStringLiteral(" Status: Choose the effect to delete in the list."));
        return;
    }
    const QString name = PanelString(g_effectTable[*index].Name());
    const std::vector<EffectRecord> before(g_effectTable, g_effectTable + g_effectCount);
    const bool listWasCut = m_listCut;
    ShowStatus(QStringLiteral(" Status: Deleting effect %1...").arg(name));
    AnswerBuffer answer{};
    const Status status =
        RequestEffectDelete(static_cast<uint8_t>(g_effectTable[*index].number & 0xFF), answer);
    if (status != Status::Ok) {
        ShowStatus(QStringLiteral(" Status: Effect %1 was not deleted.").arg(name));
        ReportFailure(QStringLiteral("Effect %1 was not deleted: %2.\n\nTry Delete again.")
                          .arg(name, FailureReason(status)));
        return;
    }
    ClearKeyframeAssignments();
    // The list read again is the unit's word that the effect is gone: one fewer, or, when
    // the table could not show them all, the later ones moved up.
    const ListOutcome outcome = ReadEffects();
    const int countBefore = static_cast<int>(before.size());
    const bool listRead = outcome != ListOutcome::Failed;
    const bool deleted =
        listRead &&
        (g_effectCount == countBefore - 1 ||
         (listWasCut && g_effectCount == countBefore && ListChangedFrom(before, *index)));
    if (deleted) {
        KeepLoadsAfterDelete(before, *index);
    } else if (!listRead || g_effectCount != countBefore || ListChangedFrom(before, 0)) {
        // The places no longer tell which effect a load belongs to.
        ForgetEveryLoad();
    }
    g_currentEffect = static_cast<uint8_t>(std::clamp(*index, 0, std::max(g_effectCount - 1, 0)));
    ShowMaps();
    if (!listRead) {
        return;  // the box of the list read says so; whether the effect went is not known
    }
    if (deleted) {
        ShowStatus(QStringLiteral(" Status: Effect %1 has been deleted.").arg(name));
        return;
    }
    ShowStatus(QStringLiteral(" Status: Effect %1 was not deleted.").arg(name));
    ReportFailure(QStringLiteral("The unit did not delete effect %1: it still lists %2 "
                                 "effects.\n\nTry Delete again.")
                      .arg(name)
                      .arg(g_effectCount));
}

void CEffectDialog::OnSave() {
    const QString name = m_ui->effectNameEdit->text();
    if (const std::optional<QString> problem = StoredNameProblem(name, QStringLiteral("effect"))) {
        ReportFailure(*problem);
        return;
    }
    if (g_effectCount >= kEffectSlots) {
        ReportFailure(QStringLiteral("The unit holds %1 effects, the most this panel can list."
                                     "\n\nDelete one before saving a new effect.")
                          .arg(g_effectCount));
        return;
    }
    ComboChoices choices;
    if (!ReadComboChoices(choices)) {
        return;
    }
    ShowStatus(QStringLiteral(" Status: Saving effect %1...").arg(name));
    uint8_t number = 0;
    Status status = CreateEffect(UnitText(name), number);
    if (status != Status::Ok) {
        ShowStatus(QStringLiteral(" Status: Effect %1 was not saved.").arg(name));
        ReportFailure(QStringLiteral("Effect %1 was not saved: %2.\n\nTry Save again.")
                          .arg(name, FailureReason(status)));
        return;
    }
    // Only an effect the unit made takes the choices.
    StoreComboChoices(choices);
    if (IdentifySelectedUnit() == Status::Ok && g_unitStatus[kStatusByteMessage] != 0) {
        static_cast<void>(SendUnitReply(ReplyKind::Acknowledge, 1));
    }
    std::vector<uint8_t> items;
    for (const uint8_t knob : g_keyframeKnobMap) {
        if (knob != kEmptyKnobParam) {
            items.push_back(knob);
        }
    }
    AnswerBuffer answer{};
    status = WriteAssignments(number, items, answer);

    ReadEffects();
    for (int i = 0; i < g_effectCount; ++i) {
        if ((g_effectTable[i].number & 0xFF) == number) {
            // A new effect has no keyframes; nothing loaded before belongs to it.
            ForgetLoad(g_effectTable[i]);
            g_currentEffect = static_cast<uint8_t>(i);
            m_ui->effectList->setCurrentRow(i);
        }
    }
    ShowMaps();
    if (status != Status::Ok) {
        ShowStatus(QStringLiteral(" Status: Effect %1 was saved without its knobs.").arg(name));
        ReportFailure(QStringLiteral("Effect %1 was created, but its knob assignment was not "
                                     "stored: %2.\n\nDelete the effect and save it again.")
                          .arg(name, FailureReason(status)));
        return;
    }
    ShowStatus(QStringLiteral(" Status: Effect %1 has been saved.").arg(name));
}
