#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QDateTimeEdit;
class QPlainTextEdit;

// The as-run log's latest lines, and the export of the lines of a time range to a file the
// user chooses.
class CAsRunLogDialog : public QDialog {
    Q_OBJECT

  public:
    CAsRunLogDialog(QWidget* parent, std::vector<std::string> lines);

  private:
    void ExportRange();

    std::vector<std::string> m_lines;
    QPlainTextEdit* m_view = nullptr;
    QDateTimeEdit* m_from = nullptr;
    QDateTimeEdit* m_to = nullptr;
};
