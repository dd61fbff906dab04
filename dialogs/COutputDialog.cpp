#include "dialogs/COutputDialog.h"

#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "model/PanelModel.h"
#include "ui_COutputDialog.h"

namespace {

constexpr int kInput1Word = 14;
constexpr int kInput2Word = 15;
constexpr int kMatteViewWord = 17;
constexpr int kViewLockWord = 18;

}  // namespace

COutputDialog::COutputDialog(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::COutputDialog>()) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    setWindowTitle(QString::fromLatin1(g_menuTable[kMenu].title.c_str()));
    m_input1Row.emplace(m_ui->input1Label, m_ui->input1Combo, BoundFunction(kMenu, kInput1Word));
    m_input2Row.emplace(m_ui->input2Label, m_ui->input2Combo, BoundFunction(kMenu, kInput2Word));
    m_matteView.emplace(m_ui->viewLockCheck, m_ui->matteFullRadio, m_ui->matteReducedRadio,
                        BoundFunction(kMenu, kViewLockWord), BoundFunction(kMenu, kMatteViewWord));
    m_ui->matteViewLabel->setVisible(m_matteView->HasMatteView());
    connect(m_ui->applyButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

COutputDialog::~COutputDialog() = default;

// The panel sends these in this order: input 1, input 2, the view lock, the matte view.
void COutputDialog::accept() {
    m_values.clear();
    m_input1Row->AppendResult(m_values);
    m_input2Row->AppendResult(m_values);
    m_matteView->AppendViewLock(m_values);
    m_matteView->AppendMatteView(m_values);
    QDialog::accept();
}

void COutputDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this);
}
