#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class CMyAbout;
}

// The program's version and release date, or with a unit selected the unit's version lines
// merged into the template the unit supplies. "Update" closes with OK, which ends the program
// so that an updater can replace it; a click on the background closes with Cancel.
class CMyAbout : public QDialog {
    Q_OBJECT

  public:
    explicit CMyAbout(QWidget* parent = nullptr);
    // As installed with the program in `programFolder` (the manual's pictures show /usr/bin).
    CMyAbout(QWidget* parent, const QString& programFolder);
    ~CMyAbout() override;

    const std::string& AboutText() const { return m_aboutText; }
    // The line under the text that says where the user manual is installed.
    const QString& ManualLine() const { return m_manualLine; }

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void BuildAboutText();

    std::unique_ptr<Ui::CMyAbout> m_ui;
    std::string m_aboutText;
    QString m_manualLine;
};
