#include "dialogs/CCustomDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <cstring>

#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/ListPaging.h"
#include "ui_CCustomDialog.h"

namespace {

// Right of the centre, like the other storage dialogs.
constexpr int kExtraRight_px = 2;

constexpr int kPageStep = 22;
constexpr int kButtonRows = kFunctionButtonCount;
const QString kEmptyMark = QStringLiteral("--->");
const QString kAssignedMark = QStringLiteral("<---");

}  // namespace

CCustomDialog::CCustomDialog(int customMenu, QWidget* parent)
    : QDialog(parent),
      m_customMenu(std::clamp(customMenu, 0, kCustomMenuCount - 1)),
      m_unit(UnitOfAddress(g_currentUnitAddress)),
      m_ui(std::make_unique<Ui::CCustomDialog>()) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    setWindowTitle(QStringLiteral("Custom %1 Menu Configuration").arg(m_customMenu));
    m_rowLabel = {m_ui->rowLabel1, m_ui->rowLabel2, m_ui->rowLabel3, m_ui->rowLabel4,
                  m_ui->rowLabel5, m_ui->rowLabel6, m_ui->rowLabel7, m_ui->rowLabel8};
    m_slotEdit = {m_ui->slotEdit1, m_ui->slotEdit2, m_ui->slotEdit3, m_ui->slotEdit4,
                  m_ui->slotEdit5, m_ui->slotEdit6, m_ui->slotEdit7, m_ui->slotEdit8};
    m_setButton = {m_ui->setButton1, m_ui->setButton2, m_ui->setButton3, m_ui->setButton4,
                   m_ui->setButton5, m_ui->setButton6, m_ui->setButton7, m_ui->setButton8};
    for (int row = 0; row < kRows; ++row) {
        connect(m_setButton[static_cast<size_t>(row)], &QPushButton::clicked, this,
                [this, row] { OnSet(row); });
    }
    connect(m_ui->homeButton, &QPushButton::clicked, this,
            [this] { OnPage(-m_ui->itemList->count()); });
    connect(m_ui->pageUpButton, &QPushButton::clicked, this, [this] { OnPage(-kPageStep); });
    connect(m_ui->upButton, &QPushButton::clicked, this, [this] { OnPage(-1); });
    connect(m_ui->downButton, &QPushButton::clicked, this, [this] { OnPage(1); });
    connect(m_ui->pageDownButton, &QPushButton::clicked, this, [this] { OnPage(kPageStep); });
    connect(m_ui->endButton, &QPushButton::clicked, this,
            [this] { OnPage(m_ui->itemList->count()); });
    connect(m_ui->applyButton, &QPushButton::clicked, this, &CCustomDialog::OnApply);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CCustomDialog::~CCustomDialog() = default;

void CCustomDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this, kExtraRight_px);
}

bool CCustomDialog::OnInitDialog() {
    {
        const QSignalBlocker quiet(m_ui->tabBar);
        m_ui->tabBar->addTab(QStringLiteral("   Knobs   "));
        m_ui->tabBar->addTab(QStringLiteral("  Buttons   "));
    }
    connect(m_ui->tabBar, &QTabBar::currentChanged, this, &CCustomDialog::OnTabClick);
    std::memcpy(m_knobMap, g_customKnobMap[m_unit], sizeof(m_knobMap));
    std::memcpy(m_functionMap, g_customFunctionMap[m_unit], sizeof(m_functionMap));
    ListItems();
    ShowRows();
    return true;
}

CCustomDialog::Tab CCustomDialog::CurrentTab() const {
    return m_ui->tabBar->currentIndex() == kButtonsTab ? kButtonsTab : kKnobsTab;
}

uint8_t CCustomDialog::EmptySlot() const {
    return CurrentTab() == kKnobsTab ? kEmptyKnobParam : kEmptyFunctionOffset;
}

uint8_t& CCustomDialog::Slot(int row) {
    return CurrentTab() == kKnobsTab ? m_knobMap[m_customMenu][row]
                                     : m_functionMap[m_customMenu][row];
}

void CCustomDialog::ListItems() {
    m_items = CurrentTab() == kKnobsTab ? KnobItems(ItemChoice::MarkedForCustomMenus)
                                        : ButtonItems(ItemChoice::MarkedForCustomMenus);
    // Alphabetical, as the unit's own lists are: the user finds an item by its name.
    QStringList names;
    for (const AssignableItem& item : m_items) {
        names.append(item.name);
    }
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    m_ui->itemList->clear();
    m_ui->itemList->addItems(names);
    m_ui->itemList->setCurrentRow(names.isEmpty() ? -1 : 0);
    m_ui->itemList->setFocus();
}

// Eight knob rows, six button rows.
int CCustomDialog::RowCount() const {
    return CurrentTab() == kKnobsTab ? kRows : kButtonRows;
}

void CCustomDialog::ShowRows() {
    const int rows = RowCount();
    for (int row = 0; row < kRows; ++row) {
        const auto index = static_cast<size_t>(row);
        const bool shown = row < rows;
        m_rowLabel[index]->setVisible(shown);
        m_slotEdit[index]->setVisible(shown);
        m_setButton[index]->setVisible(shown);
        if (!shown) {
            continue;
        }
        const uint8_t value = Slot(row);
        const bool assigned = value != EmptySlot();
        m_slotEdit[index]->setText(assigned ? NameOfValue(m_items, value) : QString());
        m_slotEdit[index]->setCursorPosition(0);
        m_setButton[index]->setText(assigned ? kAssignedMark : kEmptyMark);
    }
}

void CCustomDialog::OnTabClick() {
    ListItems();
    ShowRows();
}

void CCustomDialog::OnSet(int row) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    uint8_t& slot = Slot(row);
    if (slot != EmptySlot()) {
        slot = EmptySlot();
    } else {
        const QListWidgetItem* chosen = m_ui->itemList->currentItem();
        if (!chosen) {
            return;
        }
        // The first item of that name in table order: the list shows names only.
        const auto match = std::find_if(
            m_items.begin(), m_items.end(),
            [chosen](const AssignableItem& item) { return item.name == chosen->text(); });
        if (match == m_items.end()) {
            return;
        }
        slot = static_cast<uint8_t>(match->value);
    }
    ShowRows();
}

void CCustomDialog::OnPage(int step) {
    MoveListSelection(m_ui->itemList, step);
}

void CCustomDialog::OnApply() {
    std::memcpy(g_customKnobMap[m_unit], m_knobMap, sizeof(m_knobMap));
    std::memcpy(g_customFunctionMap[m_unit], m_functionMap, sizeof(m_functionMap));
    accept();
}
