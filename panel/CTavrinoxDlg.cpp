#include "panel/CTavrinoxDlg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QTimer>
#include <QTimerEvent>
#include <algorithm>
#include <cmath>
#include <map>

#include "actions/OriginScope.h"
#include "app/ConfigStore.h"
#include "app/PortMapping.h"
#include "app/SavedPort.h"
#include "console/HardKeys.h"
#include "console/PanelActions.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/PaintHelpers.h"
#include "controls/SkinZoom.h"
#include "panel/PanelKeys.h"
#include "platform/PortNames.h"
#include "platform/ResourceIds.h"
#include "platform/WindowWait.h"
#include "resources/ArtCatalog.h"
#include "resources/ArtRenderer.h"
#include "resources/ResourceTable.h"

CTavrinoxDlg* g_mainPanel = nullptr;

namespace {

std::string& RunPort() {
    static std::string port;
    return port;
}

// The skin drawn for the pixel ratio of the device being painted (a screen at the zoom, or a
// picture of another ratio: render, grab), rendered once for each ratio and kept. The skin
// covers the whole window, so it is kept opaque: drawing it is a copy, not a blend.
QPixmap SkinForRatio(qreal ratio) {
    static std::map<long, QPixmap> rendered;
    QPixmap& skin = rendered[std::lround(ratio * 100)];
    if (skin.isNull()) {
        const auto entry = FindArt(ResourceId::kPanelSkin);
        if (!entry) {
            return {};
        }
        skin = QPixmap::fromImage(RenderArt(*entry, ratio).convertToFormat(QImage::Format_RGB32));
        skin.setDevicePixelRatio(ratio);
    }
    return skin;
}

// Leading decimal digits (after blanks and a sign), as the dwell time is written; 0 without.
int LeadingNumber(const std::string& text) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) {
        return 0;
    }
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') {
        ++i;
    }
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), 0x7FFFFFFFL);
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

CTavrinoxDlg::CTavrinoxDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Virtual Control Panel"));
    setObjectName(QStringLiteral("mainPanel"));
    // The skin covers the whole window: nothing need be cleared beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    CreateControls();
    m_face.KeepChildren();
    m_console = std::make_unique<PanelConsole>(*this);
    m_actions = new PanelActions(*m_console, this);

    m_icon = LoadResourceBitmap(ResourceId::kApplicationIcon);
    // Every menu image not loaded, the custom and keyframe maps empty.
    ResetProgramState();
}

CTavrinoxDlg::~CTavrinoxDlg() {
    StoreSettings();
    if (m_cursorHidden) {
        QGuiApplication::restoreOverrideCursor();
    }
    if (g_mainPanel == this) {
        g_mainPanel = nullptr;
    }
}

void CTavrinoxDlg::SetRunPort(const std::string& name) {
    RunPort() = name;
}

bool CTavrinoxDlg::OnInitDialog(UnitSearch search) {
    g_mainPanel = this;
    // The panel runs modal in the program: queued work runs while it is on top.
    WindowWait::SetHome(this);
    setWindowIcon(LoadResourceIcon(ResourceId::kApplicationIcon));
    ReadConfiguration();
    PlaceControls();
    ConnectControls();
    m_console->AttachToLine();
    ApplyMouseSetting();
    CreateToggles();
    for (int unit = 0; unit < kUnitSlots; ++unit) {
        g_panelModel.m_currentMenu[unit] = -1;
        g_panelModel.m_unitMenu[unit] = -1;
    }
    g_panelModel.m_viewSelect = kNoView;
    ReadRouterSettings();
    SetAccessibleNames();
    SetTabOrder();
    m_initialised = true;
    m_console->OpenPortAndSearch(search == UnitSearch::Now ? PanelConsole::PortOpening::Now
                                                           : PanelConsole::PortOpening::Aside,
                                 m_afterSearch);
    return true;
}

void CTavrinoxDlg::ReadConfiguration() {
    LoadConfiguration();
    ApplyConfiguredPorts();
    g_panelModel.m_portNumber = ReadSavedPort();
    const std::string& port = RunPort();
    m_storesPort = port.empty();
    if (port.empty()) {
        PortNames().SetRunOverride("");
        return;
    }
    // A COM number given for the run reaches the device the configuration pins it to.
    const int number = ComNumberOf(port);
    PortNames().SetRunOverride(number != 0 ? PortNames().DeviceForComNumber(number) : port);
}

// Without the key the pointer stays: a panel without a pointer is of no use to a mouse user.
// Hidden for the whole program, dialogs and message boxes included, as long as the panel runs.
void CTavrinoxDlg::ApplyMouseSetting() {
    const std::optional<std::string> visible = TryGetSetting("MOUSE", "VISIBLE");
    const bool hide = visible && *visible != "TRUE";
    if (hide && !m_cursorHidden) {
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    } else if (!hide && m_cursorHidden) {
        QGuiApplication::restoreOverrideCursor();
    }
    m_cursorHidden = hide;
}

void CTavrinoxDlg::ReadRouterSettings() {
    if (FindSection("ROUTER") < 0) {
        return;
    }
    g_panelModel.m_routerEnabled = TryGetSetting("ROUTER", "ENABLED").value_or("");
    g_panelModel.m_routerPolarity = TryGetSetting("ROUTER", "POLARITY").value_or("");
    g_panelModel.m_dwellFrames =
        LeadingNumber(TryGetSetting("ROUTER", "DWELL_FRAMES").value_or(""));
}

// A run on a port of its own (--port) leaves the stored port to the runs without one: a
// number chosen in the setup reached the run's port, not that COM port.
void CTavrinoxDlg::StoreSettings() {
    if (m_initialised && m_storesPort) {
        SavePortNumber(g_panelModel.m_portNumber);
    }
}

void CTavrinoxDlg::timerEvent(QTimerEvent* event) {
    const int id = m_timers.IdOf(event);
    if (id == 0) {
        QDialog::timerEvent(event);
        return;
    }
    // A message box runs its own loop: the timers wait until this tick is done.
    if (m_inTimerWork) {
        return;
    }
    m_inTimerWork = true;
    switch (id) {
        case kKeyScanTimer:
            m_console->OnKeyScanTimer();
            break;
        case kPollTimer:
            m_console->OnPollTimer();
            break;
        case kPromptTimer:
            m_console->OnPromptTimer();
            break;
        case kMessageClearTimer:
            m_console->OnMessageClearTimer();
            break;
        default:
            break;
    }
    m_inTimerWork = false;
    // A poll shows the unit's own changes; whoever follows the panel hears of them.
    m_actions->StateMayHaveChanged();
}

void CTavrinoxDlg::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    m_face.Paint(painter, event->region(), redirected(nullptr));
}

void CTavrinoxDlg::PaintSkin(QPainter& painter, const QRegion& region) {
    PaintOnSkin(painter, this);
    // The device actually painted (a screen, or a picture of another ratio: render, grab)
    // at the zoom.
    const qreal ratio = PaintRatio(painter);
    if (m_skin.isNull() || !qFuzzyCompare(m_skin.devicePixelRatio(), ratio)) {
        m_skin = SkinForRatio(ratio);
    }
    if (m_skin.isNull()) {
        return;
    }
    if (!painter.worldTransform().isIdentity()) {
        painter.drawPixmap(QPoint(0, 0), m_skin);
        return;
    }
    // What the controls leave of the window is no rectangle, and a copy clipped to such a
    // region goes span by span; clipped to each of its rectangles it is a block copy.
    for (const QRect& area : region) {
        painter.setClipRect(area);
        DrawPicture(painter, QPointF(0, 0), m_skin);
    }
}

void CTavrinoxDlg::closeEvent(QCloseEvent* event) {
    m_console->StopPolling();
    m_timers.KillTimer(kKeyScanTimer);
    m_timers.KillTimer(kMessageClearTimer);
    QDialog::closeEvent(event);
}

// The panel has no default button: Enter and Escape must not close it in the middle of a
// show. It closes from its window frame or the About box. A panel key held down runs once.
void CTavrinoxDlg::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<ZoomCommand> zoom = ZoomCommandOf(event->keyCombination())) {
        RunZoomCommand(*zoom);
        event->accept();
        return;
    }
    if (const PanelKey* key = FindPanelKey(event->keyCombination())) {
        if (!event->isAutoRepeat()) {
            RunPanelKey(*key);
        }
        event->accept();
        return;
    }
    // Shift+F10 opens the context menu as the Menu key does.
    if (event->keyCombination() == QKeyCombination(Qt::ShiftModifier, Qt::Key_F10)) {
        ShowContextMenu(mapToGlobal(QPoint(width() / 2, height() / 2)));
        event->accept();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CTavrinoxDlg::RunPanelKey(const PanelKey& key) {
    const ActionOrigin keyboard{ActionSource::Keyboard, {}};
    const OriginScope scope(keyboard);
    if (key.target == PanelKeyTarget::MenuButton) {
        static_cast<void>(m_actions->PressMenuButton(key.number, keyboard));
    } else if (key.target == PanelKeyTarget::FunctionButton) {
        static_cast<void>(m_actions->PressFunctionButton(key.number, keyboard));
    } else if (const int hardKey = HardKeyOf(ToggleKindOf(key.target), key.number); hardKey >= 0) {
        static_cast<void>(m_actions->PressToggle(HardKeys()[hardKey].label, keyboard));
    }
}
