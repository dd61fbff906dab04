#include "dialogs/CSetupDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/PortDevices.h"
#include "ui_CSetupDialog.h"

namespace {

constexpr int kExtraRight_px = 2;
constexpr int kDeviceRole = Qt::UserRole + 1;

// The open list shows the device beside each COM name; the entry itself stays "COMn".
class PortItemDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text += QStringLiteral("   ") + index.data(kDeviceRole).toString();
    }
};

}  // namespace

CSetupDialog::CSetupDialog(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CSetupDialog>()) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    FillPortList();
    m_ui->portCombo->setItemDelegate(new PortItemDelegate(m_ui->portCombo));
    connect(m_ui->portCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_selected = index;
        ShowDevice(index);
    });
    connect(m_ui->portCombo->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        m_selected = PortIndexOfName(text);
        ShowDevice(m_selected);
    });
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
}

CSetupDialog::~CSetupDialog() = default;

void CSetupDialog::FillPortList() {
    for (int number = 1; number <= kPortCount; ++number) {
        m_ui->portCombo->addItem(QStringLiteral("COM%1").arg(number));
        m_ui->portCombo->setItemData(number - 1, QString::fromStdString(PortDeviceText(number)),
                                     kDeviceRole);
    }
    QAbstractItemView* list = m_ui->portCombo->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + list->fontMetrics().averageCharWidth() * 4);
}

void CSetupDialog::SetPortNumber(int portNumber) {
    m_portNumber = portNumber;
    // A number outside 1..16 selects no entry.
    m_selected = portNumber >= 1 && portNumber <= kPortCount ? portNumber - 1 : -1;
    m_ui->portCombo->setCurrentIndex(m_selected);
    ShowDevice(m_selected);
}

// A typed name picks its entry as a choice from the list does, in any letter case.
int CSetupDialog::PortIndexOfName(const QString& name) const {
    return m_ui->portCombo->findText(name.trimmed(), Qt::MatchFixedString);
}

void CSetupDialog::ShowDevice(int index) {
    QLabel* label = m_ui->portDeviceLabel;
    const QString device =
        index >= 0 ? m_ui->portCombo->itemData(index, kDeviceRole).toString() : QString();
    label->setToolTip(device);
    label->setText(
        label->fontMetrics().elidedText(device, Qt::ElideMiddle, label->contentsRect().width()));
}

void CSetupDialog::accept() {
    m_portNumber = m_selected + 1;
    QDialog::accept();
}

void CSetupDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this, kExtraRight_px);
}

// A click on the dialog's own surface closes it as Cancel does.
void CSetupDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        reject();
        return;
    }
    QDialog::mousePressEvent(event);
}
