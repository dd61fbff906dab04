#include "dialogs/CAsRunLogDialog.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "history/AsRunLines.h"
#include "history/TimeStamp.h"

namespace {

constexpr int kMinimumWidth_px = 760;
constexpr int kMinimumHeight_px = 420;
const QString kEditFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The time a line was written, or now for a line that carries none.
QDateTime LineTime(const std::string& line) {
    const QDateTime time =
        QDateTime::fromString(QString::fromStdString(line.substr(0, kLogTimeChars)),
                              QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    return time.isValid() ? time : QDateTime::currentDateTime();
}

}  // namespace

CAsRunLogDialog::CAsRunLogDialog(QWidget* parent, std::vector<std::string> lines)
    : QDialog(parent), m_lines(std::move(lines)) {
    setWindowTitle(tr("As-run log"));
    setMinimumSize(kMinimumWidth_px, kMinimumHeight_px);
    auto* layout = new QVBoxLayout(this);
    m_view = new QPlainTextEdit(this);
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString text;
    for (const std::string& line : m_lines) {
        text += QString::fromStdString(line) + QLatin1Char('\n');
    }
    m_view->setPlainText(text);
    m_view->moveCursor(QTextCursor::End);
    layout->addWidget(m_view);

    auto* range = new QFormLayout;
    // The range starts as the whole log shown, so an export without changes keeps every line.
    const std::string none;
    m_from = new QDateTimeEdit(LineTime(m_lines.empty() ? none : m_lines.front()), this);
    m_to = new QDateTimeEdit(LineTime(m_lines.empty() ? none : m_lines.back()), this);
    m_from->setDisplayFormat(kEditFormat);
    m_to->setDisplayFormat(kEditFormat);
    range->addRow(tr("Export from"), m_from);
    range->addRow(tr("to"), m_to);
    layout->addLayout(range);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* exportButton = buttons->addButton(tr("Export..."), QDialogButtonBox::ActionRole);
    connect(exportButton, &QPushButton::clicked, this, &CAsRunLogDialog::ExportRange);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CAsRunLogDialog::ExportRange() {
    const std::vector<std::string> chosen =
        LinesBetween(m_lines, m_from->dateTime().toString(kEditFormat).toStdString(),
                     m_to->dateTime().toString(kEditFormat).toStdString() + ".999");
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Export the as-run log"),
                                     QStringLiteral("as-run.txt"), tr("Text files (*.txt *.log)"));
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    for (const std::string& line : chosen) {
        written = written && file.write(line.data(), static_cast<qint64>(line.size())) >= 0 &&
                  file.write("\n", 1) == 1;
    }
    if (!written) {
        QMessageBox::warning(
            this, windowTitle(),
            tr("The log could not be written to %1: %2").arg(path, file.errorString()));
        return;
    }
    QMessageBox::information(
        this, windowTitle(),
        tr("%n line(s) written to %1.", nullptr, static_cast<int>(chosen.size())).arg(path));
}
