#include "dialogs/CInputDialog.h"

#include <QButtonGroup>

#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "model/PanelModel.h"
#include "platform/ResourceIds.h"
#include "resources/ResourceTable.h"
#include "ui_CInputDialog.h"

namespace {

// The menu's entry words that bind each control.
constexpr int kInputWords[] = {10, 11, 12, 13, 19};
constexpr int kOutputWord = 14;
constexpr int kDelayWord = 15;
constexpr int kUpdateRegisterWord = 16;
constexpr int kMatteViewWord = 17;
constexpr int kViewLockWord = 18;
constexpr int kDelayChoices = 9;

}  // namespace

CInputDialog::CInputDialog(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CInputDialog>()) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    setWindowTitle(QString::fromLatin1(g_menuTable[kMenu].title.c_str()));
    const std::array<std::pair<QLabel*, QComboBox*>, 5> inputs = {{
        {m_ui->input1Label, m_ui->input1Combo},
        {m_ui->input2Label, m_ui->input2Combo},
        {m_ui->input3Label, m_ui->input3Combo},
        {m_ui->input4Label, m_ui->input4Combo},
        {m_ui->input5Label, m_ui->input5Combo},
    }};
    for (size_t i = 0; i < inputs.size(); ++i) {
        m_inputRows[i].emplace(inputs[i].first, inputs[i].second,
                               BoundFunction(kMenu, kInputWords[i]));
    }
    BindOutput();
    BindDelay();
    BindUpdateRegister();
    connect(m_ui->applyButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CInputDialog::~CInputDialog() = default;

// Without an output the dialog shows the reference note in place of the output group.
void CInputDialog::BindOutput() {
    const int output = BoundFunction(kMenu, kOutputWord);
    m_matteView.emplace(m_ui->viewLockCheck, m_ui->matteFullRadio, m_ui->matteReducedRadio,
                        BoundFunction(kMenu, kViewLockWord), BoundFunction(kMenu, kMatteViewWord));
    m_outputRow.emplace(m_ui->outputLabel, m_ui->outputCombo, output);
    if (output == kUnboundFunction) {
        m_outputRow->Hide();
        m_matteView->HideAll();
        for (QWidget* widget : {static_cast<QWidget*>(m_ui->matteViewLabel),
                                static_cast<QWidget*>(m_ui->fgBgOutGroup),
                                static_cast<QWidget*>(m_ui->outputInnerGroup),
                                static_cast<QWidget*>(m_ui->separatorLine)}) {
            widget->hide();
        }
        m_ui->referenceIcon->setPixmap(LoadResourceBitmap(ResourceId::kRoutingNoteIcon));
        return;
    }
    m_ui->matteViewLabel->setVisible(m_matteView->HasMatteView());
    m_ui->referenceIcon->hide();
    m_ui->referenceNoteLabel->hide();
}

void CInputDialog::BindDelay() {
    m_delayGroup = new QButtonGroup(this);
    const std::array<QRadioButton*, kDelayChoices> radios = {
        m_ui->delay0Radio, m_ui->delay1Radio, m_ui->delay2Radio,
        m_ui->delay3Radio, m_ui->delay4Radio, m_ui->delay5Radio,
        m_ui->delay6Radio, m_ui->delay7Radio, m_ui->delay8Radio};
    for (int i = 0; i < kDelayChoices; ++i) {
        m_delayGroup->addButton(radios[static_cast<size_t>(i)], i);
    }
    m_delayFunction = BoundFunction(kMenu, kDelayWord);
    if (m_delayFunction == kUnboundFunction) {
        return;
    }
    m_delayAtOpening = BoundValue(m_delayFunction);
    for (QRadioButton* radio : radios) {
        radio->setEnabled(true);
    }
    const int checked =
        m_delayAtOpening >= 1 && m_delayAtOpening < kDelayChoices ? m_delayAtOpening : 0;
    m_delayGroup->button(checked)->setChecked(true);
}

void CInputDialog::BindUpdateRegister() {
    m_updateRegisterFunction = BoundFunction(kMenu, kUpdateRegisterWord);
    if (m_updateRegisterFunction != kUnboundFunction) {
        m_ui->updateRegisterCheck->setEnabled(true);
        m_ui->updateRegisterCheck->setChecked(BoundValue(m_updateRegisterFunction) != 0);
    }
}

// The panel sends these in this order: inputs 1 to 5, the delay when it changed, the update
// register, the output, the view lock, the matte view.
void CInputDialog::accept() {
    m_values.clear();
    for (const auto& row : m_inputRows) {
        row->AppendResult(m_values);
    }
    if (m_delayFunction != kUnboundFunction && m_delayGroup->checkedId() != m_delayAtOpening) {
        m_values.emplace_back(static_cast<uint8_t>(m_delayFunction),
                              static_cast<uint8_t>(m_delayGroup->checkedId()));
    }
    if (m_updateRegisterFunction != kUnboundFunction) {
        m_values.emplace_back(static_cast<uint8_t>(m_updateRegisterFunction),
                              m_ui->updateRegisterCheck->isChecked() ? 1 : 0);
    }
    m_outputRow->AppendResult(m_values);
    m_matteView->AppendViewLock(m_values);
    m_matteView->AppendMatteView(m_values);
    QDialog::accept();
}

void CInputDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this);
}
