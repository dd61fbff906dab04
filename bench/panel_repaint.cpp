#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "panel/CTavrinoxDlg.h"
#include "sim/line/BuiltinSimulator.h"

// A full repaint of the panel with unit 1 selected, as an exposure of the whole window
// paints it, at the screen's own ratio and at twice it; then each kind of control alone, to
// see where the time goes.

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

void BM_FullRepaint(benchmark::State& state) {
    CTavrinoxDlg& panel = Panel();
    const qreal ratio = static_cast<qreal>(state.range(0));
    QImage image(panel.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        panel.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FullRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Each control class's paint, summed over the panel's controls of that class.
void BM_ControlsOfAClass(benchmark::State& state, const char* className) {
    CTavrinoxDlg& panel = Panel();
    const qreal ratio = static_cast<qreal>(state.range(0));
    QImage image(panel.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
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
BENCHMARK_CAPTURE(BM_ControlsOfAClass, knobs, "CBitmapSlider")->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(BM_ControlsOfAClass, displays, "CCanvasCtrl")->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(BM_ControlsOfAClass, buttons, "CImageTextButton")->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(BM_ControlsOfAClass, toggles, "CImageToggleButton")->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(BM_ControlsOfAClass, info, "CInfoBar")->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(BM_ControlsOfAClass, labels, "CLabel")->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(BM_ControlsOfAClass, pictures, "QLabel")->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(BM_ControlsOfAClass, strips, "COnLineBar")->Arg(1)->Arg(2);
BENCHMARK_CAPTURE(BM_ControlsOfAClass, settings, "CSettingsBar")->Arg(1)->Arg(2);

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
