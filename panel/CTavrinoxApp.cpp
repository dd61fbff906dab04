#include "panel/CTavrinoxApp.h"

#include <QTimer>

#include "console/LineBeside.h"
#include "console/PanelHistory.h"
#include "controls/ProgramLook.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/DialogRunners.h"
#include "panel/HistoryOnPanel.h"
#include "panel/PanelRemote.h"
#include "panel/PanelSelfTest.h"
#include "panel/PanelSurface.h"
#include "platform/WindowWait.h"

CTavrinoxApp::CTavrinoxApp(int& argc, char** argv) : m_app(argc, argv) {
    QCoreApplication::setOrganizationName(QStringLiteral("Korvanthe"));
    QCoreApplication::setApplicationName(QStringLiteral("KorvantheVCP"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Virtual Control Panel"));
    ApplyProgramLook();
    SetPrompter(&m_prompter);
}

CTavrinoxApp::~CTavrinoxApp() {
    SetPrompter(nullptr);
}

int CTavrinoxApp::InitInstance(const RunOptions& options) {
    RegisterServiceDialogs();
    RegisterStorageDialogs();
    CTavrinoxDlg::SetRunPort(options.port);
    const LineBeside line;
    CTavrinoxDlg panel;
    m_prompter.SetParent(&panel);
    int status = 0;
    if (!options.selfTestPicture.empty()) {
        panel.SetAfterUnitSearch([&panel, &options, &status] {
            status = RunSelfTest(panel, options.selfTestPicture);
            panel.reject();
        });
    }
    panel.OnInitDialog(CTavrinoxDlg::UnitSearch::AfterShown);
    panel.ApplyStoredZoom();
    const PanelSurface surface(panel, ReadSurfaceSettings());
    // Off unless the user's settings turn it on; gone before the panel.
    const PanelRemote remote(panel);
    PanelHistory history(panel.Console(), AsRunLog::DefaultPath(), HistoryOnPanel::Prompts(panel));
    const HistoryOnPanel historyOnPanel(panel, history);
    panel.exec();
    m_prompter.SetParent(nullptr);
    return status;
}
