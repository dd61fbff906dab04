#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WidgetApplication.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <algorithm>

#include "controls/Fonts.h"

namespace {

[[maybe_unused]] auto* const g_qtEnvironment = AddWidgetApplication("vcp_test_controls");

}  // namespace

QImage Grab(QWidget& widget) {
    return widget.grab().toImage();
}

QImage GrabOwnPaint(QWidget& widget) {
    QImage picture(widget.size(), QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    widget.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    return picture;
}

void SaveScreenshot(const QImage& image, const std::string& name) {
    const QString folder = QString::fromStdString(ScreenshotFolder());
    QDir().mkpath(folder);
    const QString path = folder + "/" + QString::fromStdString(name) + ".png";
    EXPECT_TRUE(image.save(path)) << path.toStdString();
}
