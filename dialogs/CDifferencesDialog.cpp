#include "dialogs/CDifferencesDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kColumns = 3;
constexpr int kMinimumWidth_px = 520;
constexpr int kMinimumHeight_px = 360;

}  // namespace

CDifferencesDialog::CDifferencesDialog(QWidget* parent, const std::string& heading,
                                       const Columns& columns,
                                       const std::vector<ValueDifference>& differences,
                                       bool offerRestore)
    : QDialog(parent) {
    setWindowTitle(offerRestore ? tr("Restore snapshot") : tr("Differences"));
    setMinimumSize(kMinimumWidth_px, kMinimumHeight_px);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QString::fromStdString(heading), this);
    label->setWordWrap(true);
    layout->addWidget(label);

    auto* table = new QTableWidget(static_cast<int>(differences.size()), kColumns, this);
    table->setObjectName(QStringLiteral("differences"));
    table->setHorizontalHeaderLabels({tr("Parameter"), QString::fromStdString(columns.thenTitle),
                                      QString::fromStdString(columns.nowTitle)});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int row = 0; row < static_cast<int>(differences.size()); ++row) {
        const ValueDifference& difference = differences[static_cast<size_t>(row)];
        table->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(difference.name)));
        table->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(difference.thenText)));
        table->setItem(row, 2, new QTableWidgetItem(QString::fromStdString(difference.nowText)));
    }
    layout->addWidget(table);

    auto* buttons = new QDialogButtonBox(
        offerRestore ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel : QDialogButtonBox::Close,
        this);
    if (offerRestore) {
        const int count = static_cast<int>(differences.size());
        buttons->button(QDialogButtonBox::Ok)
            ->setText(count == 1 ? tr("Restore 1 value") : tr("Restore %1 values").arg(count));
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
