#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "panel/CTavrinoxDlg.h"
#include "sim/line/BuiltinSimulator.h"

// A full repaint of the panel on the screen with unit 1 selected, at the screen's ratio; a
// picture of it as a grab draws one, where every control paints itself; then each kind of
// control alone, to see where that time goes. A screen of ratio 2: QT_SCALE_FACTOR=2
// bench_panel_repaint.

namespace {

CTavrinoxDlg& Panel() {
    static CTavrinoxDlg* panel = [] {
        RegisterBuiltinSimulator("1:11,2:4");
        CTavrinoxDlg::SetRunPort("inproc:sim");
        auto* made = new CTavrinoxDlg;
        made->OnInitDialog();
        made->show();
        made->Console().SelectUnit(1);
        QCoreApplication::processEvents();
        return made;
    }();
    return *panel;
}

// A picture of the window at the screen's ratio.
QImage PictureOfWindow(const QWidget& panel, benchmark::State& state) {
    const qreal ratio = panel.devicePixelRatioF();
    state.counters["ratio"] = ratio;
    QImage image(panel.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    return image;
}

void BM_FullRepaint(benchmark::State& state) {
    CTavrinoxDlg& panel = Panel();
    state.counters["ratio"] = panel.devicePixelRatioF();
    for (auto _ : state) {
        panel.repaint();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_PictureOfPanel(benchmark::State& state) {
    CTavrinoxDlg& panel = Panel();
    QImage image = PictureOfWindow(panel, state);
    for (auto _ : state) {
        panel.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PictureOfPanel)->Unit(benchmark::kMillisecond);

// Each control class's paint, summed over the panel's controls of that class.
void BM_ControlsOfAClass(benchmark::State& state, const char* className) {
    CTavrinoxDlg& panel = Panel();
    QImage image = PictureOfWindow(panel, state);
    std::vector<QWidget*> controls;
    for (QWidget* child : panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && QLatin1String(child->metaObject()->className()) == className) {
            controls.push_back(child);
        }
    }
    for (auto _ : state) {
        QPainter painter(&image);
        for (QWidget* control : controls) {
            control->render(&painter, control->pos(), QRegion(), QWidget::DrawChildren);
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["controls"] = static_cast<double>(controls.size());
}
BENCHMARK_CAPTURE(BM_ControlsOfAClass, knobs, "CBitmapSlider");
BENCHMARK_CAPTURE(BM_ControlsOfAClass, displays, "CCanvasCtrl");
BENCHMARK_CAPTURE(BM_ControlsOfAClass, buttons, "CImageTextButton");
BENCHMARK_CAPTURE(BM_ControlsOfAClass, toggles, "CImageToggleButton");
BENCHMARK_CAPTURE(BM_ControlsOfAClass, info, "CInfoBar");
BENCHMARK_CAPTURE(BM_ControlsOfAClass, labels, "CLabel");
BENCHMARK_CAPTURE(BM_ControlsOfAClass, pictures, "QLabel");
BENCHMARK_CAPTURE(BM_ControlsOfAClass, strips, "COnLineBar");
BENCHMARK_CAPTURE(BM_ControlsOfAClass, settings, "CSettingsBar");

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The per-user settings of this run stay in a folder of its own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
