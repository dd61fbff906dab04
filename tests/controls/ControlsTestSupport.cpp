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

ParamRecord MakeParam(const std::string& name, int flags, int16_t rawMin, int16_t rawMax,
                      int16_t dispMin, int16_t dispMax, int16_t value) {
    ParamRecord param;
    param.name = name;
    param.flags = flags;
    param.rawMin = rawMin;
    param.rawMax = rawMax;
    param.dispMin = dispMin;
    param.dispMax = dispMax;
    param.value = value;
    return param;
}

FunctionRecord MakeFunction(int number, int value, const std::string& labels) {
    FunctionRecord function;
    function.number = number;
    function.value = static_cast<int16_t>(value);
    function.label = labels;
    function.optionCount = 1 + static_cast<int32_t>(std::count(labels.begin(), labels.end(), ','));
    function.maxValue = static_cast<int16_t>(function.optionCount - 1);
    return function;
}

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
