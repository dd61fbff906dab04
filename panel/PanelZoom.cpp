// The panel's zoom: the window shows the skin as one picture at the chosen step, or as large
// as fits the screen's available area, from the context menu or the zoom keys.
#include "panel/PanelZoom.h"

#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "app/UserSettings.h"
#include "controls/SkinZoom.h"
#include "panel/CTavrinoxDlg.h"

namespace {

constexpr const char* kZoomKey = "Window/Zoom";
constexpr const char* kFitText = "fit";
constexpr double kPercent = 100.0;
// Steps this close count as the same.
constexpr double kSameZoom = 0.005;

QString PercentText(double zoom) {
    return QString::number(std::lround(zoom * kPercent)) + QStringLiteral(" %");
}

struct ZoomKey {
    ZoomCommand command;
    Qt::Key key;
    Qt::Key alsoKey;  // the same key's other symbol: = for +, _ for -
    const char* name;
};

constexpr ZoomKey kZoomKeys[] = {
    {ZoomCommand::In, Qt::Key_Plus, Qt::Key_Equal, "Ctrl++"},
    {ZoomCommand::Out, Qt::Key_Minus, Qt::Key_Underscore, "Ctrl+-"},
    {ZoomCommand::ActualSize, Qt::Key_0, Qt::Key_0, "Ctrl+0"},
    {ZoomCommand::FitScreen, Qt::Key_F, Qt::Key_F, "Ctrl+F"},
};

}  // namespace

double ZoomToFit(const QSize& skin, const QSize& frame, const QSize& available) {
    if (skin.isEmpty()) {
        return 1.0;
    }
    const double across = static_cast<double>(available.width() - frame.width()) / skin.width();
    const double down = static_cast<double>(available.height() - frame.height()) / skin.height();
    return std::clamp(std::min(across, down), kSmallestZoom, kLargestZoom);
}

double NextZoomStep(double zoom, int direction) {
    if (direction > 0) {
        const auto* above = std::find_if(kZoomSteps.begin(), kZoomSteps.end(),
                                         [zoom](double step) { return step > zoom + kSameZoom; });
        return above != kZoomSteps.end() ? *above : kZoomSteps.back();
    }
    const auto below = std::find_if(kZoomSteps.rbegin(), kZoomSteps.rend(),
                                    [zoom](double step) { return step < zoom - kSameZoom; });
    return below != kZoomSteps.rend() ? *below : kZoomSteps.front();
}

std::optional<ZoomSetting> ReadZoomSetting() {
    const QString text = OpenUserSettings()->value(QString::fromLatin1(kZoomKey)).toString();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    if (text == QLatin1String(kFitText)) {
        return ZoomSetting{true, 1.0};
    }
    bool number = false;
    const double percent = text.toDouble(&number);
    // A value the program did not write counts as no choice at all.
    if (!number || !std::isfinite(percent)) {
        return std::nullopt;
    }
    return ZoomSetting{false, std::clamp(percent / kPercent, kSmallestZoom, kLargestZoom)};
}

void StoreZoomSetting(const ZoomSetting& setting) {
    const auto settings = OpenUserSettings();
    settings->setValue(QString::fromLatin1(kZoomKey),
                       setting.fitToScreen ? QString::fromLatin1(kFitText)
                                           : QString::number(std::lround(setting.zoom * kPercent)));
    settings->sync();
}

std::optional<ZoomCommand> ZoomCommandOf(QKeyCombination key) {
    const Qt::KeyboardModifiers modifiers =
        key.keyboardModifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers != Qt::ControlModifier) {
        return std::nullopt;
    }
    for (const ZoomKey& zoomKey : kZoomKeys) {
        if (key.key() == zoomKey.key || key.key() == zoomKey.alsoKey) {
            return zoomKey.command;
        }
    }
    return std::nullopt;
}

QString ZoomKeyName(ZoomCommand command) {
    for (const ZoomKey& zoomKey : kZoomKeys) {
        if (zoomKey.command == command) {
            return QString::fromLatin1(zoomKey.name);
        }
    }
    return {};
}

// The frame the desktop gives the window once shown; an allowance before.
QSize CTavrinoxDlg::FrameExtent() const {
    const QSize frame = frameGeometry().size() - geometry().size();
    return isVisible() && !frame.isEmpty() ? frame : kFrameAllowance;
}

QRect CTavrinoxDlg::AvailableArea() const {
    const QScreen* shownOn = screen();
    return shownOn != nullptr ? shownOn->availableGeometry() : QRect(0, 0, kWidth, kHeight);
}

double CTavrinoxDlg::FitZoom() const {
    return ZoomToFit(QSize(kWidth, kHeight), FrameExtent(), AvailableArea().size());
}

// A first start fits the screen but never enlarges the panel.
void CTavrinoxDlg::ApplyStoredZoom() {
    const std::optional<ZoomSetting> stored = ReadZoomSetting();
    if (!stored) {
        SetZoom(std::min(1.0, FitZoom()));
    } else {
        SetZoom(stored->fitToScreen ? FitZoom() : stored->zoom);
    }
}

void CTavrinoxDlg::SetZoom(double zoom) {
    ApplyZoom(this, QSize(kWidth, kHeight), zoom);
    if (!isVisible()) {
        return;
    }
    // A larger window keeps its frame on the screen where it can.
    const QRect area = AvailableArea();
    const QRect frame = frameGeometry();
    const int x = std::clamp(frame.x(), area.left(),
                             std::max(area.left(), area.left() + area.width() - frame.width()));
    const int y = std::clamp(frame.y(), area.top(),
                             std::max(area.top(), area.top() + area.height() - frame.height()));
    if (x != frame.x() || y != frame.y()) {
        move(x, y);
    }
}

void CTavrinoxDlg::RunZoomCommand(ZoomCommand command) {
    const double zoom = ZoomOf(this);
    ZoomSetting chosen;
    switch (command) {
        case ZoomCommand::In:
            chosen.zoom = NextZoomStep(zoom, +1);
            break;
        case ZoomCommand::Out:
            chosen.zoom = NextZoomStep(zoom, -1);
            break;
        case ZoomCommand::ActualSize:
            chosen.zoom = 1.0;
            break;
        case ZoomCommand::FitScreen:
            chosen = {true, FitZoom()};
            break;
    }
    ChooseZoom(chosen);
}

void CTavrinoxDlg::ChooseZoom(const ZoomSetting& setting) {
    SetZoom(setting.fitToScreen ? FitZoom() : setting.zoom);
    StoreZoomSetting({setting.fitToScreen, ZoomOf(this)});
}

void CTavrinoxDlg::AddZoomEntries(QMenu& menu) {
    QMenu* zoomMenu = menu.addMenu(QStringLiteral("&Zoom"));
    zoomMenu->setObjectName(QStringLiteral("zoomMenu"));
    const std::optional<ZoomSetting> stored = ReadZoomSetting();
    const bool fits = stored && stored->fitToScreen;
    const double zoom = ZoomOf(this);
    auto* steps = new QActionGroup(zoomMenu);
    for (const double step : kZoomSteps) {
        QAction* action = zoomMenu->addAction(PercentText(step));
        action->setCheckable(true);
        action->setChecked(!fits && std::abs(step - zoom) < kSameZoom);
        steps->addAction(action);
        connect(action, &QAction::triggered, this, [this, step] { ChooseZoom({false, step}); });
    }
    QAction* fit = zoomMenu->addAction(QStringLiteral("&Fit to screen"));
    fit->setCheckable(true);
    fit->setChecked(fits);
    steps->addAction(fit);
    fit->setShortcut(QKeySequence(ZoomKeyName(ZoomCommand::FitScreen)));
    connect(fit, &QAction::triggered, this, [this] { RunZoomCommand(ZoomCommand::FitScreen); });
    zoomMenu->addSeparator();
    const std::pair<ZoomCommand, const char*> commands[] = {
        {ZoomCommand::In, "Zoom &in"},
        {ZoomCommand::Out, "Zoom &out"},
        {ZoomCommand::ActualSize, "&Actual size"},
    };
    for (const auto& [command, text] : commands) {
        QAction* action = zoomMenu->addAction(QString::fromLatin1(text));
        action->setShortcut(QKeySequence(ZoomKeyName(command)));
        connect(action, &QAction::triggered, this,
                [this, command = command] { RunZoomCommand(command); });
    }
}
