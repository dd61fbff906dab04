#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "controls/PanelHooks.h"
#include "model/PanelModel.h"
#include "tests/support/ModelRecords.h"
#include "tests/support/StatusPrinter.h"

// A panel that records what the knobs ask of it: their holds and their turns, by knob.
class FakePanel : public KnobHost {
  public:
    void StopPolling() override {
        polling = false;
        ++stops;
    }
    void ResumePolling() override {
        polling = true;
        ++resumes;
    }
    void KnobTick(int knob, int deflection) override { ticks.emplace_back(knob, deflection); }
    void KnobKeyTurn(int knob, int amount) override { keyTurns.emplace_back(knob, amount); }

    bool polling = true;
    int stops = 0;
    int resumes = 0;
    std::vector<std::pair<int, int>> ticks;     // knob, deflection
    std::vector<std::pair<int, int>> keyTurns;  // knob, whole steps
};

// Fresh program-wide records for each test.
class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
};

// The widget as it shows on the screen, painted offscreen.
QImage Grab(QWidget& widget);
// Only what the widget paints itself, on a transparent ground.
QImage GrabOwnPaint(QWidget& widget);
// Saves `image` as <build>/screenshots/<name>.png for a person to look at.
void SaveScreenshot(const QImage& image, const std::string& name);
