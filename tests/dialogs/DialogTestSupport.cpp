#include "tests/dialogs/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <memory>

#include "controls/Fonts.h"
#include "tests/support/TestPaths.h"
#include "unit/MenuImageDownload.h"
#include "unit/MenuImageParser.h"

namespace {

// Widgets need one application object for the whole run.
class DialogApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "vcp_test_dialogs";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
        InstallFontSubstitutions();
    }
    void TearDown() override { m_app.reset(); }

  private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] auto* const g_dialogEnvironment =
    ::testing::AddGlobalTestEnvironment(new DialogApplicationEnvironment);

}  // namespace

bool SaveDialogPicture(QWidget* dialog, const std::string& name) {
    const QString folder = QString::fromStdString(ScreenshotFolder());
    QDir().mkpath(folder);
    const QPixmap picture = dialog->grab();
    return picture.save(folder + QStringLiteral("/dialog_") + QString::fromStdString(name) +
                        QStringLiteral(".png"));
}

void SimDialogTest::SelectSimUnit(int unit) {
    g_currentUnitAddress = static_cast<uint8_t>(unit << 4);
    ASSERT_EQ(DownloadMenuImage(unit), 0);
    ASSERT_EQ(ParseMenuImage(unit), MenuImageWalk::Complete);
}
