#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "controls/ControlCommands.h"
#include "controls/PanelHooks.h"
#include "model/PanelModel.h"
#include "tests/support/ModelRecords.h"
#include "tests/support/StatusPrinter.h"

// Records the commands the controls send and answers with a chosen status.
class RecordingCommands : public ControlCommands {
  public:
    RecordingCommands() { SetControlCommands(this); }
    ~RecordingCommands() override { SetControlCommands(nullptr); }

    Status AdjustParameter(uint8_t number, int16_t delta) override {
        adjustments.emplace_back(number, delta);
        return status;
    }
    Status ReadSettingsLabel(std::string& text) override {
        ++settingsReads;
        if (status == Status::Ok) {
            text = settingsText;
        }
        return status;
    }

    Status status = Status::Ok;
    std::string settingsText;
    int settingsReads = 0;
    std::vector<std::pair<uint8_t, int16_t>> adjustments;
};

// A panel that counts what the knobs and toggles ask of it.
class FakePanel : public KnobHost, public ToggleActions {
  public:
    void StopPolling() override {
        polling = false;
        ++stops;
    }
    void ResumePolling() override {
        polling = true;
        ++resumes;
    }
    void BindKnobs() override { ++binds; }
    void SelectUnit(int unit) override { calls.push_back("SelectUnit " + std::to_string(unit)); }
    void SelectView(int function) override {
        calls.push_back("SelectView " + std::to_string(function));
    }
    void SelectShortcut(int menu) override {
        calls.push_back("SelectShortcut " + std::to_string(menu));
    }
    void RecallMemory(int memory) override {
        calls.push_back("RecallMemory " + std::to_string(memory));
    }
    void ClearFiles() override { calls.push_back("ClearFiles"); }
    std::optional<int> RunPortSetup(int portNumber) override {
        calls.push_back("RunPortSetup " + std::to_string(portNumber));
        pollingDuringDialog = polling;
        return chosenPort;
    }

    bool polling = true;
    bool pollingDuringDialog = true;
    int stops = 0;
    int resumes = 0;
    int binds = 0;
    std::optional<int> chosenPort;
    std::vector<std::string> calls;
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
