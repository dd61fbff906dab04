#include "tests/dialogs/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <QTest>
#include <QWidget>

#include "link/ParameterCommands.h"
#include "link/UnitCommands.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WidgetApplication.h"
#include "unit/MenuImageDownload.h"
#include "unit/MenuImageParser.h"

namespace {

[[maybe_unused]] auto* const g_dialogEnvironment = AddWidgetApplication("vcp_test_dialogs");

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
    ASSERT_EQ(IdentifySelectedUnit(), Status::Ok);
    ASSERT_EQ(DownloadMenuImage(unit), Status::Ok);
    ASSERT_EQ(ParseMenuImage(unit), MenuImageWalk::Complete);
    ASSERT_EQ(ReadParameterValues(), Status::Ok);
}

void ClickIndicator(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}
