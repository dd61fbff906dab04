#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <array>
#include <memory>
#include <vector>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "controls/COnLineBar.h"
#include "controls/CSettingsBar.h"
#include "controls/PaintHelpers.h"
#include "platform/ResourceIds.h"
#include "resources/ResourceTable.h"
#include "tests/controls/ControlsTestSupport.h"

// Pictures of every control in its states, on the panel's skin at the panel's places, saved
// under build/screenshots/ for a person to judge.

namespace {

class SkinPanel : public QWidget {
  public:
    SkinPanel() {
        m_skin = LoadResourceBitmap(ResourceId::kPanelSkin);
        resize(1280, 760);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap(0, 0, m_skin);
    }

  private:
    QPixmap m_skin;
};

class AllUnitsAnswer : public PollResults {
  public:
    uint8_t AnsweringAddress(int unit) const override { return unit <= 3 ? unit * 16 : 0; }
};

class FixedKeyframes : public KeyframeReadout {
  public:
    int CurrentKeyframe() const override { return 2; }
    int KeyframeCount() const override { return 5; }
};

constexpr int kKnobColumns[2] = {384, 1232};
constexpr int kDisplayColumns[2] = {425, 1077};
constexpr int kRows[4] = {65, 235, 405, 574};
constexpr QPoint kMenuButtonPlaces[10] = {{667, 179}, {787, 179}, {907, 179}, {607, 228},
                                          {727, 228}, {847, 228}, {967, 228}, {667, 277},
                                          {787, 277}, {907, 277}};

struct TogglePlace {
    int onBitmap;
    int offBitmap;
    QPoint place;
};

std::vector<TogglePlace> PanelToggles() {
    using namespace ResourceId;
    std::vector<TogglePlace> toggles;
    for (int i = 0; i < 4; ++i) {
        toggles.push_back({kToggleUnitOn, kToggleKeyOff, QPoint(97 + 69 * i, 164)});
    }
    for (int i = 0; i < 3; ++i) {
        toggles.push_back({kToggleSystemOn, kToggleSystemOff, QPoint(166 + 69 * i, 260)});
    }
    toggles.push_back({kToggleSystemOn, kToggleSystemOff, QPoint(28, 356)});
    const QPoint shortcuts[] = {{235, 356}, {304, 356}, {235, 452},
                                {304, 452}, {235, 548}, {304, 548}};
    for (const QPoint& place : shortcuts) {
        toggles.push_back({kToggleShortcutOn, kToggleKeyOff, place});
    }
    toggles.push_back({kToggleLatchOn, kToggleKeyOff, QPoint(28, 548)});
    for (int i = 0; i < 5; ++i) {
        toggles.push_back({kToggleLatchOn, kToggleKeyOff, QPoint(28 + 69 * i, 644)});
    }
    toggles.push_back({kToggleSystemOn, kToggleSystemOff, QPoint(28, 452)});
    return toggles;
}

class RenderTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        BuildKnobs();
        BuildButtons();
        BuildToggles();
        BuildStrips();
        panel.show();
        QCoreApplication::processEvents();
    }

    void BuildKnobs() {
        for (int i = 0; i < 8; ++i) {
            const int column = i / 4;
            knobs[i] = std::make_unique<CBitmapSlider>(1117 + i, &panel);
            knobs[i]->InitKnob(kKnobColumns[column], kRows[i % 4]);
            displays[i] = std::make_unique<CCanvasCtrl>(&panel);
            displays[i]->InitDisplay(kDisplayColumns[column], kRows[i % 4]);
            knobs[i]->SetDisplay(displays[i].get());
        }
    }

    void BuildButtons() {
        for (int i = 0; i < 10; ++i) {
            menuButtons[i] = std::make_unique<CImageTextButton>(&panel);
            menuButtons[i]->move(kMenuButtonPlaces[i]);
            menuButtons[i]->SetImages(ResourceId::kMenuButton, ResourceId::kMenuButton);
            StyleButton(*menuButtons[i]);
        }
        for (int i = 0; i < 6; ++i) {
            functionButtons[i] = std::make_unique<CImageTextButton>(&panel);
            functionButtons[i]->move(592 + 78 * i, 370);
            functionButtons[i]->SetImages(ResourceId::kFunctionButtonUnlit,
                                          ResourceId::kFunctionButtonLit);
            StyleButton(*functionButtons[i]);
        }
    }

    static void StyleButton(CImageTextButton& button) {
        button.SetCaptionFont("Trebuchet MS", -13);
        button.SetTextColours(QColor(217, 217, 217), QColor(128, 128, 128));
    }

    void BuildToggles() {
        for (const TogglePlace& place : PanelToggles()) {
            auto toggle = std::make_unique<CImageToggleButton>(&panel);
            toggle->SetBitmaps(place.onBitmap, place.offBitmap, 0);
            toggle->setGeometry(QRect(place.place, QSize(32, 32)));
            toggles.push_back(std::move(toggle));
        }
    }

    void BuildStrips() {
        for (int i = 0; i < 4; ++i) {
            onLineLamps[i] = MakeLamp(ResourceId::kOnLineLamps[i]);
            selectedLamps[i] = MakeLamp(ResourceId::kOnLineLamps[i]);
        }
        onLineBar.InitOnLineBar(&polls, onLineLamps, selectedLamps);
        settingsBar.move(596, 625);
        infoBar.InitInfoBar(g_panelModel.m_currentMenu);
        infoBar.SetKeyframeReadout(&keyframes);
        title.SetTransparentMode(true)
            .SetFace("Trebuchet MS", 0)
            .SetPointHeight(16)
            .SetBoldWeight(true)
            .SetTextColour(QColor(145, 192, 74));
        title.setGeometry(600, 99, 450, 30);
    }

    QWidget* MakeLamp(int bitmapId) {
        auto* lamp = new QLabel(&panel);
        lamp->setPixmap(LoadResourceBitmap(bitmapId));
        lamp->setGeometry(0, 0, 0, 0);
        return lamp;
    }

    // The panel as the screen shows it once pending paints (and the lamp moves they make)
    // have run.
    QImage Region(const QRect& area) {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return Grab(panel).copy(area);
    }

    SkinPanel panel;
    std::array<std::unique_ptr<CBitmapSlider>, 8> knobs;
    std::array<std::unique_ptr<CCanvasCtrl>, 8> displays;
    std::array<std::unique_ptr<CImageTextButton>, 10> menuButtons;
    std::array<std::unique_ptr<CImageTextButton>, 6> functionButtons;
    std::vector<std::unique_ptr<CImageToggleButton>> toggles;
    std::array<QWidget*, 4> onLineLamps{};
    std::array<QWidget*, 4> selectedLamps{};
    AllUnitsAnswer polls;
    FixedKeyframes keyframes;
    COnLineBar onLineBar{&panel};
    CSettingsBar settingsBar{&panel};
    CInfoBar infoBar{&panel};
    CLabel title{&panel};
};

TEST_F(RenderTest, BareSkin) {
    const QPixmap skin = LoadResourceBitmap(ResourceId::kPanelSkin);
    ASSERT_FALSE(skin.isNull());
    SaveScreenshot(skin.toImage(), "skin");
}

TEST_F(RenderTest, KnobAtRestAndDeflected) {
    const QRect area(380, 60, 200, 100);
    SaveScreenshot(Region(area), "knob_rest");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(17, 5), QPointF(), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(knobs[0].get(), &press);
    EXPECT_EQ(knobs[0]->Position(), 0);
    SaveScreenshot(Region(area), "knob_deflected_up");
    QMouseEvent move(QEvent::MouseMove, QPointF(17, 86), QPointF(), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(knobs[0].get(), &move);
    EXPECT_EQ(knobs[0]->Position(), 10);
    SaveScreenshot(Region(area), "knob_deflected_down");
}

TEST_F(RenderTest, KnobDisplayViews) {
    struct View {
        const char* file;
        ParamRecord param;
    };
    std::vector<View> views = {
        {"display_percent", MakeParam("Key Gain", 0, 0, 1000, 0, 100, 620)},
        {"display_minimum", MakeParam("Clip", 0, 0, 100, 0, 100, 0)},
        {"display_around_zero", MakeParam("Position H", 0, 0, 200, -100, 100, 60)},
        {"display_zero_point", MakeParam("Softness", 0, 0, 200, -100, 100, 100)},
        {"display_plain", MakeParam("Border", kFlagDisplayPlain, 0, 40, 0, 40, 12)},
        {"display_raw_max", MakeParam("Input", kFlagDisplayCentred, 1, 12, 0, 12, 4)},
        {"display_stepped", MakeParam("Taper In", kFlagStepped, 0, 100, 0, 100, 30)},
        {"display_stepped_plain",
         MakeParam("KeyFrame", kFlagStepped | kFlagDisplayPlain, 0, 0, 0, 0, 3)},
        {"display_timecode", MakeParam("Frame Time", kFlagTimecode, 0, 0, 0, 0, 1800 + 29)},
        {"display_long_name", MakeParam("Chroma Key Suppression Level", 0, 0, 100, 0, 100, 45)},
    };
    views[0].param.referenceValue = 500;
    views[2].param.referenceValue = 100;
    for (View& view : views) {
        displays[0]->Bind(&view.param);
        SaveScreenshot(displays[0]->Buffer().toImage(), view.file);
    }
    ParamRecord empty;
    displays[0]->Bind(&empty);
    SaveScreenshot(displays[0]->Buffer().toImage(), "display_inactive");
    EXPECT_FALSE(displays[0]->isVisible());
}

TEST_F(RenderTest, ButtonsInTheirStates) {
    menuButtons[0]->SetCaption("Matte");
    menuButtons[1]->SetCaption("Key\r\nSettings");
    menuButtons[1]->SetImageIndex(1);
    menuButtons[2]->SetCaption("Disabled");
    menuButtons[2]->setEnabled(false);
    functionButtons[0]->SetCaption("Linear");
    functionButtons[1]->SetCaption("Insert\r\nKeyframe");
    functionButtons[1]->SetImageIndex(1);
    functionButtons[2]->SetCaption("Run");
    functionButtons[2]->SetImageIndex(1);
    functionButtons[3]->SetCaption("Velocity\r\nBreak");
    functionButtons[4]->SetCaption("Off");
    functionButtons[4]->setEnabled(false);
    SaveScreenshot(Region(QRect(600, 175, 450, 140)), "menu_buttons");
    SaveScreenshot(Region(QRect(588, 365, 476, 45)), "function_buttons");
}

TEST_F(RenderTest, TogglesOnAndOff) {
    SaveScreenshot(Region(QRect(0, 100, 420, 600)), "toggles_off");
    for (auto& toggle : toggles) {
        toggle->SetOn(true);
    }
    SaveScreenshot(Region(QRect(0, 100, 420, 600)), "toggles_on");
}

TEST_F(RenderTest, InformationLineContents) {
    const QRect area(590, 455, 470, 95);
    g_unitStatus[kStatusByteModel] = 80;
    infoBar.Screen() = ScreenColour{50, 40, 30, 100};
    g_menuTable[46].entry[10] = 140;
    g_menuTable[46].entry[11] = 141;
    g_menuTable[46].entry[12] = 142;
    g_menuTable[46].entry[13] = 143;
    for (int i = 0; i < 4; ++i) {
        g_functionTable[12 + i] = MakeFunction(140 + i, i, "SDI 1,SDI 2,SDI 3,HDMI");
    }
    infoBar.update();
    SaveScreenshot(Region(area), "info_readouts_full");
    infoBar.SetReferenceFlags(0);
    SaveScreenshot(Region(area), "info_readouts_no_reference");
    g_unitStatus[kStatusByteModel] = 7;
    g_paramTable[93].value = 2;
    g_paramTable[94].value = 1;
    g_paramTable[95].value = 3;
    g_paramTable[96].value = 1;
    SaveScreenshot(Region(area), "info_readouts_compact_inputs");
    g_unitStatus[kStatusByteModel] = 4;
    SaveScreenshot(Region(area), "info_readouts_compact");
    g_currentUnitAddress = 0x10;
    g_panelModel.m_currentMenu[1] = kKeyframeMenu;
    SaveScreenshot(Region(area), "info_keyframe");
    infoBar.SetMessage("Select an Online Main Unit!");
    SaveScreenshot(Region(area), "info_message");
    infoBar.SetAlert("Lost communication with Main Unit!");
    SaveScreenshot(Region(area), "info_alert");
    EXPECT_EQ(infoBar.Content(), InfoContent::Alert);
}

TEST_F(RenderTest, StatusAndSettingsStrips) {
    const QRect area(590, 565, 470, 85);
    SaveScreenshot(Region(area), "strips_empty");
    onLineBar.SetSwatch(40, 200, 90);
    onLineBar.SetSelectedUnit(2);
    settingsBar.SetSettingsText("1080i 59.94   Key: Linear   Mix 100%");
    SaveScreenshot(Region(area), "strips_unit2");
}

TEST_F(RenderTest, WholePanel) {
    title.SetCaption("Matte Generator");
    std::vector<ParamRecord> params;
    params.reserve(8);
    const char* names[8] = {"Hue",        "Saturation", "Luminance", "Softness",
                            "Position H", "Position V", "Size",      "Frame Time"};
    for (int i = 0; i < 8; ++i) {
        params.push_back(MakeParam(names[i], 0, 0, 1000, i >= 4 ? -100 : 0, 100, 130 * i));
        params.back().referenceValue = 500;
    }
    params[7].flags = kFlagTimecode;
    params[7].value = 3723;
    for (int i = 0; i < 8; ++i) {
        displays[i]->Bind(&params[i]);
    }
    const char* menus[10] = {"Matte", "Key",    "Wipe",  "Border", "Shadow",
                             "Input", "Output", "Files", "GPI",    "Custom"};
    for (int i = 0; i < 10; ++i) {
        menuButtons[i]->SetCaption(menus[i]);
    }
    menuButtons[0]->SetImageIndex(1);
    const char* functions[6] = {"Linear", "Luma", "Insert\r\nKeyframe", "Run", "Off", " "};
    for (int i = 0; i < 6; ++i) {
        functionButtons[i]->SetCaption(functions[i]);
    }
    toggles[1]->SetOn(true);
    toggles[4]->SetOn(true);
    g_unitStatus[kStatusByteModel] = 11;
    infoBar.Screen() = ScreenColour{75, 20, 20, 100};
    onLineBar.SetSwatch(190, 50, 50);
    onLineBar.SetSelectedUnit(2);
    settingsBar.SetSettingsText("1080i 59.94   Key: Linear");
    QCoreApplication::processEvents();
    const QImage whole = Grab(panel);
    EXPECT_EQ(whole.size(), QSize(1280, 760));
    SaveScreenshot(whole, "panel_composed");
}

}  // namespace

namespace {

// A picture copied pixel for pixel lands exactly where, and as, Qt's own drawing puts it.
TEST(DrawPictureTest, CopiesAPictureOfThePaintersRatioAsQtDrawsIt) {
    for (const qreal ratio : {1.0, 2.0}) {
        QImage art(20, 12, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < art.height(); ++y) {
            for (int x = 0; x < art.width(); ++x) {
                art.setPixel(x, y, qRgba(x * 12, y * 20, (x ^ y) * 8, 255));
            }
        }
        QPixmap picture = QPixmap::fromImage(art);
        picture.setDevicePixelRatio(ratio);
        const auto drawn = [&](bool copied) {
            QImage target(40, 30, QImage::Format_ARGB32_Premultiplied);
            target.setDevicePixelRatio(ratio);
            target.fill(Qt::black);
            QPainter painter(&target);
            const QPointF where(3, 5);
            copied ? DrawPicture(painter, where, picture) : painter.drawPixmap(where, picture);
            return target;
        };
        EXPECT_EQ(drawn(true), drawn(false)) << "ratio " << ratio;
    }
}

}  // namespace
