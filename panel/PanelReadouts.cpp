// The screen-colour read-outs, the model badge, and what a click on the badge opens.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QMouseEvent>
#include <QUrl>
#include <cmath>

#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/COnLineBar.h"
#include "controls/SkinZoom.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/PanelBadge.h"
#include "platform/ResourceIds.h"
#include "resources/ResourceTable.h"

#ifndef VCP_INSTALL_PREFIX
#define VCP_INSTALL_PREFIX "/usr/local"
#endif

namespace {

// Knob parameters of the screen colour: red, green, blue and master, in percent.
constexpr int kReadoutParams[4] = {59, 60, 61, 101};
// A percentage as a colour byte: 100 % is 255; more is held at 255.
constexpr int kFullPercent = 100;
constexpr int kFullByte = 255;

// One manual per model group; codes of no group get the quick start.
struct ManualEntry {
    int modelCode;
    const char* file;
};
constexpr ManualEntry kManuals[] = {
    {4, "manual-model-4.pdf"},   {5, "manual-model-5.pdf"},   {7, "manual-model-7.pdf"},
    {9, "manual-model-9.pdf"},   {11, "manual-model-11.pdf"}, {177, "manual-model-11.pdf"},
    {80, "manual-model-80.pdf"}, {81, "manual-model-80.pdf"},
};
const char* const kQuickStartManual = "QuickStartQN2.pdf";

const char* ManualFile(int modelCode) {
    for (const ManualEntry& entry : kManuals) {
        if (entry.modelCode == modelCode) {
            return entry.file;
        }
    }
    return kQuickStartManual;
}

// Beside the program first (a build or an unpacked archive), then the installed documents.
QStringList ManualFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    QStringList folders{program, QDir::cleanPath(program + "/../share/doc/vcp"),
                        QStringLiteral(VCP_INSTALL_PREFIX "/share/doc/vcp")};
    folders.removeDuplicates();
    return folders;
}

}  // namespace

const std::array<BadgeEntry, 9>& ModelBadges() {
    using namespace ResourceId;
    static const std::array<BadgeEntry, 9> badges = {{
        {4, 1053, kBadgeModel4},
        {5, 1063, kBadgeModel5},
        {7, 1062, kBadgeModel7},
        {9, 1061, kBadgeModel9},
        {11, 1066, kBadgeModel11},
        {80, 1065, kBadgeModel80},
        {81, 1067, kBadgeModel81},
        {177, 1069, kBadgeModel177},
        {-1, 1064, kBadgeNoModel},
    }};
    return badges;
}

PanelBadge::PanelBadge(int controlId, int bitmapId, QWidget* parent)
    : QLabel(parent), m_controlId(controlId) {
    ShowSkinPicture(this, bitmapId);
    setCursor(Qt::PointingHandCursor);
}

void PanelBadge::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit Clicked();
    }
    event->accept();
}

void CTavrinoxDlg::ShowReadouts(int unit) {
    int percent[4];
    for (int i = 0; i < 4; ++i) {
        percent[i] = DisplayedValue(g_paramTable[kReadoutParams[i]]);
    }
    m_infoBar->Screen() = ScreenColour{percent[0], percent[1], percent[2], percent[3]};
    m_infoBar->update();
    // In integers: 100 * 2.55 in floating point falls just short of 255.
    const auto toByte = [](int percent) {
        return std::min(percent * kFullByte / kFullPercent, kFullByte);
    };
    m_onLineBar->SetSwatch(toByte(percent[0]), toByte(percent[1]), toByte(percent[2]));
    m_onLineBar->SetSelectedUnit(static_cast<uint8_t>(unit));
    m_onLineBar->repaint();
}

void CTavrinoxDlg::ShowModelBadge() {
    const int model = g_unitStatus[kStatusByteModel];
    int shown = -1;
    for (int i = 0; i < kNoModelBadge; ++i) {
        if (ModelBadges()[i].modelCode == model) {
            shown = i;
        }
    }
    m_modelBadge[kNoModelBadge]->hide();
    if (shown < 0) {
        return;  // an unknown model leaves the other badges as they are
    }
    for (int i = 0; i < kNoModelBadge; ++i) {
        m_modelBadge[i]->setVisible(i == shown);
    }
}

void CTavrinoxDlg::OnBadgeClick() {
    if (m_console->AttributeLatchSet()) {
        m_console->ClearAttributeLatch();
        OpenManual();
        return;
    }
    const auto runner = DialogRunners().find(kAboutDialog);
    if (runner == DialogRunners().end()) {
        ShowMessageBox("The About box is not available in this version of the program.");
        return;
    }
    m_console->StopPolling();
    const PanelDialogResult result = runner->second(0);
    m_console->ResumePolling();
    if (result.accepted) {
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    }
}

void CTavrinoxDlg::OpenManual() {
    const QString file = QString::fromLatin1(ManualFile(g_unitStatus[kStatusByteModel]));
    const QStringList folders = ManualFolders();
    for (const QString& folder : folders) {
        const QFileInfo manual(QDir(folder).filePath(file));
        if (manual.isFile()) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(manual.absoluteFilePath()));
            return;
        }
    }
    ShowMessageBox(("The manual " + file + " was not found. It was looked for in:\n  " +
                    folders.join(QStringLiteral("\n  ")))
                       .toStdString());
}
