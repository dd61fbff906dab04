#include "controls/CImageToggleButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ControlKeys.h"
#include "controls/PanelHooks.h"
#include "controls/SkinZoom.h"
#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "resources/ResourceTable.h"

bool ToggleNeedsUnit(ToggleKind kind) {
    return kind != ToggleKind::UnitSelect && kind != ToggleKind::Setup;
}

bool ToggleNeedsMenus(ToggleKind kind) {
    return kind == ToggleKind::MenuShortcut || kind == ToggleKind::View ||
           kind == ToggleKind::Memory || kind == ToggleKind::FileClear;
}

namespace {

// The selected unit answered its last status poll and its menus are loaded.
bool SelectedUnitMenusLoaded() {
    const int unit = UnitOfAddress(g_currentUnitAddress);
    return unit != 0 && g_unitStatus[kStatusByteModel] != 0 &&
           g_panelModel.m_currentMenu[unit] >= 0;
}

}  // namespace

CImageToggleButton::CImageToggleButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
}

void CImageToggleButton::SetBitmaps(int onBitmapId, int offBitmapId, int thirdBitmapId) {
    m_onBitmapId = onBitmapId;
    m_offBitmapId = offBitmapId;
    m_thirdBitmapId = thirdBitmapId;
    update();
}

void CImageToggleButton::SetOn(bool on) {
    m_on = on ? 1 : 0;
    update();
}

void CImageToggleButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintOnSkin(painter, this);
    const QPixmap picture =
        LoadResourceBitmapAt(m_on ? m_onBitmapId : m_offBitmapId, PaintRatio(painter));
    if (picture.isNull()) {
        return;  // what lies beneath stays
    }
    const QSize size =
        picture.deviceIndependentSize().toSize().boundedTo(SkinClientRect(this).size());
    painter.drawPixmap(QPoint(0, 0), picture,
                       QRect(QPoint(0, 0), size * picture.devicePixelRatio()));
}

void CImageToggleButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Press();
    }
    event->accept();
}

// The second click of a double-click is not another press.
void CImageToggleButton::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void CImageToggleButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            SetOn(!IsOn());
        }
        event->accept();
        return;
    }
    if (IsEnterKey(*event)) {
        if (!event->isAutoRepeat()) {
            Press();
        }
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CImageToggleButton::Press() {
    update();
    if (ToggleNeedsUnit(m_kind) && g_currentUnitAddress == 0) {
        return;
    }
    // Until the menus are back, a press would show another unit's tables over this one's,
    // and the poll would no longer see the menus as missing.
    if (ToggleNeedsMenus(m_kind) && !SelectedUnitMenusLoaded()) {
        return;
    }
    if (m_kind == ToggleKind::AttributeLatch) {
        FlipAttributeLatch();
        return;
    }
    if (m_actions == nullptr) {
        return;
    }
    switch (m_kind) {
        case ToggleKind::MenuShortcut:
            m_actions->SelectShortcut(m_number);
            break;
        case ToggleKind::View:
            m_actions->SelectView(m_number);
            break;
        case ToggleKind::UnitSelect:
            m_actions->SelectUnit(m_number);
            break;
        case ToggleKind::Memory:
            m_actions->RecallMemory(m_number);
            break;
        case ToggleKind::FileClear:
            // Lit on the screen before the long clear starts.
            m_on = 1;
            repaint();
            m_actions->ClearFiles();
            break;
        case ToggleKind::Setup:
            RunPortSetup();
            break;
        case ToggleKind::AttributeLatch:
        case ToggleKind::None:
            break;
    }
}

void CImageToggleButton::FlipAttributeLatch() {
    m_on = m_on ? 0 : 1;
    if (m_on) {
        g_panelModel.m_lampBits[0] |= kAttributeLatchBit;
    } else {
        g_panelModel.m_lampBits[0] &= static_cast<uint8_t>(~kAttributeLatchBit);
    }
}

// The dialog runs modally with the panel's polls stopped; the port changes only when the
// chosen one opens.
void CImageToggleButton::RunPortSetup() {
    m_actions->StopPolling();
    const std::optional<int> chosen = m_actions->RunPortSetup(g_panelModel.m_portNumber & 0xFFFF);
    if (chosen && ReopenPort(*chosen)) {
        g_panelModel.m_portNumber = *chosen;
    } else if (chosen) {
        ReportPortFailure(g_link.LastFailure());
    }
    m_actions->ResumePolling();
}
