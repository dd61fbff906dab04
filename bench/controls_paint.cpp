#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <memory>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "platform/ResourceIds.h"
#include "resources/ResourceTable.h"

// What the panel pays for its pictures: one knob display drawn anew (every knob tick
// redraws all eight), and the whole skin with its knobs and displays painted once.

namespace {

ParamRecord GaugeParam() {
    ParamRecord param;
    param.name = "Saturation";
    param.rawMin = 0;
    param.rawMax = 1000;
    param.dispMin = -100;
    param.dispMax = 100;
    param.value = 640;
    param.referenceValue = 500;
    return param;
}

void BM_KnobDisplayRedraw(benchmark::State& state) {
    QWidget panel;
    panel.resize(300, 200);
    CCanvasCtrl display(&panel);
    display.InitDisplay(10, 10);
    ParamRecord param = GaugeParam();
    display.Bind(&param);
    panel.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        ++param.value;
        display.Redraw();
        benchmark::DoNotOptimize(display.Buffer().cacheKey());
    }
}
BENCHMARK(BM_KnobDisplayRedraw);

// The skin behind eight knobs and eight displays, painted as one window exposure.
void BM_PaintFullSkin(benchmark::State& state) {
    const QPixmap skin = LoadResourceBitmap(ResourceId::kPanelSkin);
    QWidget panel;
    panel.resize(1280, 760);
    std::array<std::unique_ptr<CBitmapSlider>, 8> knobs;
    std::array<std::unique_ptr<CCanvasCtrl>, 8> displays;
    std::array<ParamRecord, 8> params;
    constexpr int kRows[4] = {65, 235, 405, 574};
    for (int i = 0; i < 8; ++i) {
        knobs[i] = std::make_unique<CBitmapSlider>(1117 + i, &panel);
        knobs[i]->InitKnob(i < 4 ? 384 : 1232, kRows[i % 4]);
        displays[i] = std::make_unique<CCanvasCtrl>(&panel);
        displays[i]->InitDisplay(i < 4 ? 425 : 1077, kRows[i % 4]);
        params[i] = GaugeParam();
        displays[i]->Bind(&params[i]);
    }
    QImage target(1280, 760, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawPixmap(0, 0, skin);
        panel.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintFullSkin)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
