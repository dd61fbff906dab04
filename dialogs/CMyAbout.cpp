#include "dialogs/CMyAbout.h"

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <array>

#include "controls/Fonts.h"
#include "controls/ProgramLook.h"
#include "dialogs/AboutText.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "link/Framing.h"
#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "platform/ResourceIds.h"
#include "resources/ResourceTable.h"
#include "ui_CMyAbout.h"

namespace {

constexpr int kExtraRight_px = 2;
constexpr int kTextHeight_px = -12;
constexpr int kTextTop_px = 10;

const char* const kNoVersionLine =
    "The Main Unit did not send its version. Check the connection and open About again.";

// The manual is installed beside the program: <prefix>/bin/vcp, <prefix>/share/doc/vcp.
QString InstalledManualLine(const QString& programFolder) {
    const QString path =
        QDir::cleanPath(programFolder + QStringLiteral("/../share/doc/vcp/manual.md"));
    return QStringLiteral("User manual: ") + path;
}

}  // namespace

CMyAbout::CMyAbout(QWidget* parent) : CMyAbout(parent, QCoreApplication::applicationDirPath()) {}

CMyAbout::CMyAbout(QWidget* parent, const QString& programFolder)
    : QDialog(parent), m_ui(std::make_unique<Ui::CMyAbout>()) {
    m_ui->setupUi(this);
    // The one window on light paper: dark ink.
    setPalette(PaperPalette());
    LayOutInDialogUnits(this);
    connect(m_ui->updateButton, &QPushButton::clicked, this, &QDialog::accept);
    BuildAboutText();
    m_manualLine = InstalledManualLine(programFolder);
}

CMyAbout::~CMyAbout() = default;

void CMyAbout::BuildAboutText() {
    const ProgramVersion program = BuiltProgramVersion();
    const uint8_t model = g_unitStatus[kStatusByteModel];
    const std::string& unitTemplate = g_messageTable[0].text;
    // Without a unit, or from a unit that supplies no template, the program's own lines.
    if (model == 0 || unitTemplate.empty()) {
        m_aboutText = ProgramAboutText(program);
        return;
    }
    std::array<uint8_t, kVersionInfoSize> info{};
    const Status status = ReadVersionInfo(info);
    m_aboutText = MergeAboutText({.info = info,
                                  .model = model,
                                  .extendedMenus = g_extendedMenus,
                                  .templateText = unitTemplate},
                                 program);
    if (status != Status::Ok) {
        m_aboutText += std::string("\r\n\r\n") + kNoVersionLine;
    }
}

void CMyAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOnScreen(this, kExtraRight_px);
}

void CMyAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    // The picture was drawn for the box at the classic dialog font; it fills the box whatever
    // the font here makes of its size.
    const QPixmap background = LoadResourceBitmap(ResourceId::kAboutBackground);
    if (!background.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), background);
    }
    painter.setFont(MakePanelFont(g_faceName, kTextHeight_px));
    painter.setPen(palette().color(QPalette::WindowText));
    QString text =
        QString::fromLatin1(m_aboutText.data(), static_cast<qsizetype>(m_aboutText.size()));
    text.remove(QLatin1Char('\r'));
    text += QStringLiteral("\n\n") + m_manualLine;
    painter.drawText(rect().translated(0, kTextTop_px), Qt::AlignHCenter | Qt::AlignTop, text);
}

// A click on the background closes the box without ending the program.
void CMyAbout::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        reject();
        return;
    }
    QDialog::mousePressEvent(event);
}
