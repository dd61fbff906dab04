// The panel's controls: what each one is, where it sits on the skin, and what it calls.
#include <QLabel>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "console/HardKeys.h"
#include "console/PanelActions.h"
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

// The 21 hard keys in the order of HardKeys(): id, pictures (on, off, third), place.
struct ToggleRow {
    int id;
    int onBitmap;
    int offBitmap;
    int thirdBitmap;
    QPoint place;
};

using namespace ResourceId;

const ToggleRow kToggleRows[CTavrinoxDlg::kToggles] = {
    {1125, kToggleUnitOn, kToggleKeyOff, kToggleUnitOnAir, {97, 164}},
    {1126, kToggleUnitOn, kToggleKeyOff, kToggleUnitOnAir, {166, 164}},
    {1127, kToggleUnitOn, kToggleKeyOff, kToggleUnitOnAir, {235, 164}},
    {1128, kToggleUnitOn, kToggleKeyOff, kToggleUnitOnAir, {304, 164}},
    {1129, kToggleSystemOn, kToggleSystemOff, 0, {166, 260}},
    {1130, kToggleSystemOn, kToggleSystemOff, 0, {235, 260}},
    {1131, kToggleSystemOn, kToggleSystemOff, 0, {304, 260}},
    {1132, kToggleSystemOn, kToggleSystemOff, 0, {28, 356}},
    {1133, kToggleShortcutOn, kToggleKeyOff, 0, {235, 356}},
    {1134, kToggleShortcutOn, kToggleKeyOff, 0, {304, 356}},
    {1135, kToggleShortcutOn, kToggleKeyOff, 0, {235, 452}},
    {1136, kToggleShortcutOn, kToggleKeyOff, 0, {304, 452}},
    {1137, kToggleLatchOn, kToggleKeyOff, 0, {28, 548}},
    {1138, kToggleShortcutOn, kToggleKeyOff, 0, {235, 548}},
    {1139, kToggleShortcutOn, kToggleKeyOff, 0, {304, 548}},
    {1140, kToggleLatchOn, kToggleKeyOff, 0, {28, 644}},
    {1141, kToggleLatchOn, kToggleKeyOff, 0, {97, 644}},
    {1142, kToggleLatchOn, kToggleKeyOff, 0, {166, 644}},
    {1143, kToggleLatchOn, kToggleKeyOff, 0, {235, 644}},
    {1144, kToggleLatchOn, kToggleKeyOff, 0, {304, 644}},
    {1145, kToggleSystemOn, kToggleSystemOff, 0, {28, 452}},
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
        m_knob[i]->SetHost(this, i);
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
        toggle->SetBitmaps(row.onBitmap, row.offBitmap, row.thirdBitmap);
        PlaceOnSkin(toggle, QRect(row.place, kToggleSize));
        toggle->setProperty("label", QString::fromLatin1(HardKeys()[i].label));
    }
}

// The mouse calls the named actions as every other source does.
void CTavrinoxDlg::ConnectControls() {
    const ActionOrigin mouse{ActionSource::Mouse, {}};
    for (int i = 0; i < kMenuButtons; ++i) {
        connect(m_menuButton[i], &QAbstractButton::clicked, this,
                [this, i, mouse] { static_cast<void>(m_actions->PressMenuButton(i, mouse)); });
    }
    for (int i = 0; i < kFunctionButtonCount; ++i) {
        connect(m_functionButton[i], &QAbstractButton::clicked, this,
                [this, i, mouse] { static_cast<void>(m_actions->PressFunctionButton(i, mouse)); });
    }
    for (int i = 0; i < kToggles; ++i) {
        connect(m_toggle[i], &CImageToggleButton::Pressed, this, [this, i, mouse] {
            static_cast<void>(m_actions->PressToggle(HardKeys()[i].label, mouse));
        });
    }
    for (int i = 0; i < kKnobCount; ++i) {
        connect(m_knobDisplay[i], &CCanvas::DoubleClicked, this,
                [this, i, mouse] { static_cast<void>(m_actions->PressKnobDisplay(i, mouse)); });
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
