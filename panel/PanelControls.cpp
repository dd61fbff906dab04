// The panel's controls: what each one is, where it sits on the skin, and what it calls.
#include <QLabel>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "controls/COnLineBar.h"
#include "controls/CSettingsBar.h"
#include "controls/SkinZoom.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/PanelBadge.h"
#include "platform/ResourceIds.h"
#include "resources/ResourceTable.h"

namespace {

// Rows of the knobs and their displays, left column (knobs 1..4) and right (5..8).
constexpr int kKnobRows[4] = {65, 235, 405, 574};
constexpr int kLeftKnobX = 384;
constexpr int kRightKnobX = 1232;
constexpr int kLeftDisplayX = 425;
constexpr int kRightDisplayX = 1077;
constexpr int kFirstKnobId = 1117;
constexpr int kDisplayIds[kKnobCount] = {1016, 1007, 1008, 1009, 1010, 1011, 1012, 1013};

constexpr int kFirstMenuButtonId = 1020;
constexpr QPoint kMenuButtonPlaces[CTavrinoxDlg::kMenuButtons] = {
    {667, 179}, {787, 179}, {907, 179}, {607, 228}, {727, 228},
    {847, 228}, {967, 228}, {667, 277}, {787, 277}, {907, 277}};
constexpr QSize kMenuButtonSize{74, 33};
constexpr int kFirstFunctionButtonId = 1030;
constexpr int kFunctionButtonX = 592;
constexpr int kFunctionButtonStep = 78;
constexpr int kFunctionButtonY = 370;
constexpr QSize kFunctionButtonSize{76, 35};
constexpr int kButtonFontHeight = -13;
constexpr QColor kButtonTextColour{217, 217, 217};
constexpr QColor kButtonDisabledColour{128, 128, 128};

constexpr QPoint kSettingsBarPlace{596, 625};
const QRect kTitleRect{600, 99, 450, 30};
constexpr int kTitlePoints = 16;
constexpr QColor kTitleColour{145, 192, 74};
const QRect kBadgeRect{725, 65, 200, 28};

constexpr QSize kIconSize{32, 32};
constexpr int kUnitIconX = 95;
constexpr int kUnitIconStep = 70;
constexpr int kUnitIconY = 121;
constexpr int kFirstUnitIconId = 1146;
constexpr QPoint kFunctionIconPlaces[CTavrinoxDlg::kFunctionIcons] = {
    {27, 602}, {97, 602}, {167, 602}, {234, 602}, {305, 602}};
constexpr int kFirstFunctionIconId = 1150;
// On-line lamps of units 1..4, then the selected-unit lamps of units 1..4.
constexpr int kLampIds[8] = {1047, 1054, 1055, 1056, 1057, 1058, 1059, 1060};

constexpr QSize kToggleSize{32, 32};

// The 21 hard keys: id, kind, number, pictures (on, off, third), place, printed label.
struct ToggleRow {
    int id;
    ToggleKind kind;
    int number;
    int onBitmap;
    int offBitmap;
    int thirdBitmap;
    QPoint place;
    const char* label;
};

using namespace ResourceId;
constexpr ToggleKind kUnit = ToggleKind::UnitSelect;
constexpr ToggleKind kView = ToggleKind::View;
constexpr ToggleKind kShortcut = ToggleKind::MenuShortcut;
constexpr ToggleKind kMemory = ToggleKind::Memory;

const ToggleRow kToggleRows[CTavrinoxDlg::kToggles] = {
    {1125, kUnit, 1, kToggleUnitOn, kToggleKeyOff, kToggleUnitOnAir, {97, 164}, "UNIT 1"},
    {1126, kUnit, 2, kToggleUnitOn, kToggleKeyOff, kToggleUnitOnAir, {166, 164}, "UNIT 2"},
    {1127, kUnit, 3, kToggleUnitOn, kToggleKeyOff, kToggleUnitOnAir, {235, 164}, "UNIT 3"},
    {1128, kUnit, 4, kToggleUnitOn, kToggleKeyOff, kToggleUnitOnAir, {304, 164}, "UNIT 4"},
    {1129, kView, 129, kToggleSystemOn, kToggleSystemOff, 0, {166, 260}, "VIEW FG"},
    {1130, kView, 130, kToggleSystemOn, kToggleSystemOff, 0, {235, 260}, "VIEW BG"},
    {1131, kView, 132, kToggleSystemOn, kToggleSystemOff, 0, {304, 260}, "VIEW MATTE"},
    {1132, ToggleKind::FileClear, 0, kToggleSystemOn, kToggleSystemOff, 0, {28, 356}, "FILE CLEAR"},
    {1133, kShortcut, 0, kToggleShortcutOn, kToggleKeyOff, 0, {235, 356}, "MENU MATTE"},
    {1134, kShortcut, 26, kToggleShortcutOn, kToggleKeyOff, 0, {304, 356}, "MENU WND"},
    {1135, kShortcut, 7, kToggleShortcutOn, kToggleKeyOff, 0, {235, 452}, "MENU FG"},
    {1136, kShortcut, 18, kToggleShortcutOn, kToggleKeyOff, 0, {304, 452}, "MENU MATTE IN/OUT"},
    {1137, ToggleKind::AttributeLatch, 0, kToggleLatchOn, kToggleKeyOff, 0, {28, 548}, "ALT"},
    {1138, kShortcut, 11, kToggleShortcutOn, kToggleKeyOff, 0, {235, 548}, "MENU BG"},
    {1139, kShortcut, 15, kToggleShortcutOn, kToggleKeyOff, 0, {304, 548}, "MENU CONFIG"},
    {1140, kMemory, 1, kToggleLatchOn, kToggleKeyOff, 0, {28, 644}, "MEM 1"},
    {1141, kMemory, 2, kToggleLatchOn, kToggleKeyOff, 0, {97, 644}, "MEM 2"},
    {1142, kMemory, 3, kToggleLatchOn, kToggleKeyOff, 0, {166, 644}, "MEM 3"},
    {1143, kMemory, 4, kToggleLatchOn, kToggleKeyOff, 0, {235, 644}, "MEM 4"},
    {1144, kMemory, 5, kToggleLatchOn, kToggleKeyOff, 0, {304, 644}, "MEM 5"},
    {1145, ToggleKind::Setup, 0, kToggleSystemOn, kToggleSystemOff, 0, {28, 452}, "PREFS"},
};

// Every control carries its template id, so tests and tools can find it by the number.
template <typename Widget>
Widget* Named(Widget* widget, int controlId, const QString& name) {
    widget->setObjectName(name);
    widget->setProperty("controlId", controlId);
    return widget;
}

QLabel* MakePicture(QWidget* parent, int controlId, int bitmapId, const QString& name) {
    auto* picture = Named(new QLabel(parent), controlId, name);
    ShowSkinPicture(picture, bitmapId);
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    return picture;
}

void SetUpButton(CImageTextButton* button, int firstBitmap, int secondBitmap, QPoint place,
                 QSize size) {
    button->SetImages(firstBitmap, secondBitmap);
    button->SetCaptionFont(g_faceName, kButtonFontHeight);
    button->SetTextColours(kButtonTextColour, kButtonDisabledColour);
    PlaceOnSkin(button, QRect(place, size));
}

}  // namespace

void CTavrinoxDlg::CreateControls() {
    // The bars first: they lie beneath the lamps and icons placed over them.
    m_onLineBar = Named(new COnLineBar(this), 1045, QStringLiteral("onLineBar"));
    m_settingsBar = Named(new CSettingsBar(this), 1046, QStringLiteral("settingsBar"));
    m_infoBar = Named(new CInfoBar(this), 1038, QStringLiteral("infoBar"));
    m_titleLabel = Named(new CLabel(this), 1068, QStringLiteral("titleLabel"));
    for (int i = 0; i < kKnobCount; ++i) {
        const QString number = QString::number(i + 1);
        m_knobDisplay[i] = Named(new CCanvasCtrl(this), kDisplayIds[i], "knobDisplay" + number);
        m_knob[i] =
            Named(new CBitmapSlider(kFirstKnobId + i, this), kFirstKnobId + i, "knob" + number);
    }
    for (int i = 0; i < kMenuButtons; ++i) {
        m_menuButton[i] = Named(new CImageTextButton(this), kFirstMenuButtonId + i,
                                "menuButton" + QString::number(i));
    }
    for (int i = 0; i < kFunctionButtonCount; ++i) {
        m_functionButton[i] = Named(new CImageTextButton(this), kFirstFunctionButtonId + i,
                                    "functionButton" + QString::number(i));
    }
    for (int i = 0; i < kToggles; ++i) {
        m_toggle[i] = Named(new CImageToggleButton(this), kToggleRows[i].id,
                            "toggle" + QString::number(kToggleRows[i].id));
    }
    for (int i = 0; i < kBadges; ++i) {
        const BadgeEntry& badge = ModelBadges()[i];
        m_modelBadge[i] = Named(new PanelBadge(badge.controlId, badge.bitmapId, this),
                                badge.controlId, "modelBadge" + QString::number(badge.controlId));
    }
    for (int i = 0; i < kUnitIcons; ++i) {
        m_unitIcon[i] = MakePicture(this, kFirstUnitIconId + i, kUnitIndicatorIcon,
                                    "unitIcon" + QString::number(i + 1));
    }
    for (int i = 0; i < kFunctionIcons; ++i) {
        m_functionIcon[i] = MakePicture(this, kFirstFunctionIconId + i, kFunctionIndicatorIcon,
                                        "functionIcon" + QString::number(i + 1));
    }
    for (int i = 0; i < static_cast<int>(m_lamp.size()); ++i) {
        const bool onLine = i < COnLineBar::kUnits;
        const int unit = i % COnLineBar::kUnits;
        m_lamp[i] =
            MakePicture(this, kLampIds[i], kOnLineLamps[unit],
                        (onLine ? "onLineLamp" : "selectedLamp") + QString::number(unit + 1));
        PlaceOnSkin(m_lamp[i], QRect());
    }
}

void CTavrinoxDlg::PlaceControls() {
    m_infoBar->InitInfoBar(g_panelModel.m_currentMenu);
    m_infoBar->SetKeyframeReadout(this);
    m_onLineBar->InitOnLineBar(this, {m_lamp[0], m_lamp[1], m_lamp[2], m_lamp[3]},
                               {m_lamp[4], m_lamp[5], m_lamp[6], m_lamp[7]});
    MoveOnSkin(m_settingsBar, kSettingsBarPlace);
    for (int i = 0; i < kMenuButtons; ++i) {
        SetUpButton(m_menuButton[i], kMenuButton, kMenuButton, kMenuButtonPlaces[i],
                    kMenuButtonSize);
    }
    for (int i = 0; i < kFunctionButtonCount; ++i) {
        const QPoint place(kFunctionButtonX + kFunctionButtonStep * i, kFunctionButtonY);
        SetUpButton(m_functionButton[i], kFunctionButtonUnlit, kFunctionButtonLit, place,
                    kFunctionButtonSize);
    }
    for (int i = 0; i < kKnobCount; ++i) {
        const int row = kKnobRows[i % 4];
        m_knobDisplay[i]->InitDisplay(i < 4 ? kLeftDisplayX : kRightDisplayX, row);
    }
    for (int i = 0; i < kBadges; ++i) {
        PlaceOnSkin(m_modelBadge[i], kBadgeRect);
        m_modelBadge[i]->setVisible(i == kNoModelBadge);
    }
    ApplyZoom(this, QSize(kWidth, kHeight), ZoomOf(this));
    move(0, 0);

    for (int i = 0; i < kKnobCount; ++i) {
        m_knob[i]->InitKnob(i < 4 ? kLeftKnobX : kRightKnobX, kKnobRows[i % 4]);
        m_knob[i]->SetDisplay(m_knobDisplay[i]);
        m_knob[i]->SetHost(this);
    }
    m_titleLabel->SetTransparentMode(true)
        .SetFace(g_faceName, 0)
        .SetPointHeight(kTitlePoints)
        .SetBoldWeight(true)
        .SetTextColour(kTitleColour);
    m_titleLabel->SetStaticStyle(CLabel::kStyleCentreImage);
    PlaceOnSkin(m_titleLabel, kTitleRect);
    for (int i = 0; i < kUnitIcons; ++i) {
        PlaceOnSkin(m_unitIcon[i],
                    QRect(QPoint(kUnitIconX + kUnitIconStep * i, kUnitIconY), kIconSize));
        m_unitIcon[i]->hide();
    }
    for (int i = 0; i < kFunctionIcons; ++i) {
        PlaceOnSkin(m_functionIcon[i], QRect(kFunctionIconPlaces[i], kIconSize));
        m_functionIcon[i]->hide();
    }
}

void CTavrinoxDlg::CreateToggles() {
    for (int i = 0; i < kToggles; ++i) {
        const ToggleRow& row = kToggleRows[i];
        CImageToggleButton* toggle = m_toggle[i];
        toggle->SetKind(row.kind, row.number);
        toggle->SetBitmaps(row.onBitmap, row.offBitmap, row.thirdBitmap);
        toggle->SetActions(this);
        PlaceOnSkin(toggle, QRect(row.place, kToggleSize));
        toggle->setProperty("label", QString::fromLatin1(row.label));
    }
}

void CTavrinoxDlg::ConnectControls() {
    for (int i = 0; i < kMenuButtons; ++i) {
        connect(m_menuButton[i], &QAbstractButton::clicked, this, [this, i] { OnMenuButton(i); });
    }
    for (int i = 0; i < kFunctionButtonCount; ++i) {
        connect(m_functionButton[i], &QAbstractButton::clicked, this,
                [this, i] { OnFunctionButton(i); });
    }
    for (int i = 0; i < kKnobCount; ++i) {
        connect(m_knobDisplay[i], &CCanvas::DoubleClicked, this,
                [this, i] { OnKnobDisplayDoubleClick(i); });
        connect(m_knobDisplay[i], &CCanvasCtrl::KnobKeyPressed, m_knob[i],
                &CBitmapSlider::TurnByKey);
    }
    for (PanelBadge* badge : m_modelBadge) {
        connect(badge, &PanelBadge::Clicked, this, &CTavrinoxDlg::OnBadgeClick);
    }
}

// The panel's reading order: the hard keys top to bottom as printed, then the screen's menu
// and function buttons, then each knob with its display, left to right, the left column of
// knobs before the right.
void CTavrinoxDlg::SetTabOrder() {
    std::vector<QWidget*> chain(m_toggle.begin(), m_toggle.end());
    std::stable_sort(chain.begin(), chain.end(), [](QWidget* a, QWidget* b) {
        return std::make_pair(a->y(), a->x()) < std::make_pair(b->y(), b->x());
    });
    chain.insert(chain.end(), m_menuButton.begin(), m_menuButton.end());
    chain.insert(chain.end(), m_functionButton.begin(), m_functionButton.end());
    for (int i = 0; i < kKnobCount; ++i) {
        std::array<QWidget*, 2> pair{m_knob[i], m_knobDisplay[i]};
        if (pair[1]->x() < pair[0]->x()) {
            std::swap(pair[0], pair[1]);
        }
        chain.insert(chain.end(), pair.begin(), pair.end());
    }
    for (size_t i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
}

QWidget* CTavrinoxDlg::ModelBadge(int i) const {
    return i >= 0 && i < kBadges ? m_modelBadge[i] : nullptr;
}

QWidget* CTavrinoxDlg::UnitIcon(int i) const {
    return i >= 0 && i < kUnitIcons ? m_unitIcon[i] : nullptr;
}

QWidget* CTavrinoxDlg::FunctionIcon(int i) const {
    return i >= 0 && i < kFunctionIcons ? m_functionIcon[i] : nullptr;
}
