#include "dialogs/RoutingBindings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "dialogs/LockoutItems.h"
#include "model/PanelModel.h"

namespace {

constexpr int kAbsentWord = 255;

const FunctionRecord* Record(int function) {
    const int offset = function - kFirstFunctionNumber;
    return function != kUnboundFunction && offset >= 0 && offset < kFunctionCount
               ? &g_functionTable[offset]
               : nullptr;
}

uint8_t Byte(int value) {
    return static_cast<uint8_t>(value);
}

}  // namespace

int BoundFunction(int menu, int word) {
    if (menu < 0 || menu >= kMenuCount || word < 0 || word >= kMenuEntryWords) {
        return kUnboundFunction;
    }
    const int number = g_menuTable[menu].entry[static_cast<size_t>(word)];
    return number >= kFirstFunctionNumber && number < kAbsentWord ? number : kUnboundFunction;
}

int BoundValue(int function) {
    const FunctionRecord* record = Record(function);
    return record != nullptr ? record->value : 0;
}

QString FunctionCaption(int function) {
    const FunctionRecord* record = Record(function);
    return record != nullptr ? QString::fromLatin1(ControlItemName(record->label).c_str())
                             : QString();
}

OptionRow::OptionRow(QLabel* label, QComboBox* combo, int function)
    : m_label(label), m_combo(combo), m_function(function) {
    const FunctionRecord* record = Record(function);
    if (record == nullptr || record->optionCount <= 0) {
        Hide();
        return;
    }
    const QStringList pieces = QString::fromLatin1(record->label.c_str()).split(QLatin1Char(','));
    m_label->setText(pieces.front());
    // The options that follow the row's name, as many as the function counts and the label
    // holds.
    const int options = std::min<int>(record->optionCount - 1, static_cast<int>(pieces.size()) - 1);
    for (int i = 1; i <= options; ++i) {
        m_combo->addItem(pieces[i]);
    }
    const int selected = record->value - 1;
    m_combo->setCurrentIndex(selected >= 0 && selected < m_combo->count() ? selected : -1);
}

void OptionRow::Hide() {
    m_function = kUnboundFunction;
    m_label->hide();
    m_combo->hide();
}

void OptionRow::AppendResult(ValuesToSend& values) const {
    if (m_function == kUnboundFunction || m_combo->currentIndex() < 0) {
        return;
    }
    values.emplace_back(Byte(m_function), Byte(m_combo->currentIndex() + 1));
}

MatteViewBinding::MatteViewBinding(QCheckBox* viewLock, QRadioButton* full, QRadioButton* reduced,
                                   int viewLockFunction, int matteFunction)
    : m_viewLock(viewLock),
      m_full(full),
      m_reduced(reduced),
      m_group(new QButtonGroup(full->parent())),
      m_viewLockFunction(viewLockFunction),
      m_matteFunction(matteFunction) {
    m_group->addButton(m_full);
    m_group->addButton(m_reduced);
    // Without a view lock of its own the box stays, unchecked, and the matte choice opens
    // only once the box is toggled.
    if (m_viewLockFunction != kUnboundFunction) {
        m_viewLock->setChecked(BoundValue(m_viewLockFunction) != 0);
        EnableMatteChoice();
    } else {
        m_full->setEnabled(false);
        m_reduced->setEnabled(false);
    }
    if (m_matteFunction == kUnboundFunction) {
        m_full->hide();
        m_reduced->hide();
    } else {
        (BoundValue(m_matteFunction) != 0 ? m_full : m_reduced)->setChecked(true);
    }
    QObject::connect(m_viewLock, &QCheckBox::toggled, m_full, [this] { EnableMatteChoice(); });
}

void MatteViewBinding::EnableMatteChoice() {
    const bool open = !m_viewLock->isChecked();
    m_full->setEnabled(open);
    m_reduced->setEnabled(open);
}

// Hidden, the controls keep the unit's values, and they are sent back as they stand.
void MatteViewBinding::HideAll() {
    m_viewLock->hide();
    m_full->hide();
    m_reduced->hide();
}

void MatteViewBinding::AppendViewLock(ValuesToSend& values) const {
    if (m_viewLockFunction != kUnboundFunction) {
        values.emplace_back(Byte(m_viewLockFunction), Byte(m_viewLock->isChecked() ? 1 : 0));
    }
}

void MatteViewBinding::AppendMatteView(ValuesToSend& values) const {
    if (m_matteFunction != kUnboundFunction) {
        values.emplace_back(Byte(m_matteFunction), Byte(m_full->isChecked() ? 1 : 0));
    }
}
