#include "dialogs/OnScreenKeyboard.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int kStartWait_ms = 1000;
constexpr int kStopWait_ms = 1000;

}  // namespace

QStringList OnScreenKeyboard::DefaultPrograms() {
    return {QStringLiteral("onboard"), QStringLiteral("florence"),
            QStringLiteral("matchbox-keyboard")};
}

OnScreenKeyboard::OnScreenKeyboard(QStringList programs, QStringList searchPaths)
    : m_programs(std::move(programs)), m_searchPaths(std::move(searchPaths)) {}

OnScreenKeyboard::~OnScreenKeyboard() {
    Stop();
}

bool OnScreenKeyboard::Start() {
    if (Running()) {
        return true;
    }
    for (const QString& program : m_programs) {
        const QString path = QStandardPaths::findExecutable(program, m_searchPaths);
        if (path.isEmpty()) {
            continue;
        }
        m_process = std::make_unique<QProcess>();
        m_process->setProgram(path);
        m_process->start();
        if (m_process->waitForStarted(kStartWait_ms)) {
            m_program = path;
            return true;
        }
        m_process.reset();
    }
    return false;
}

void OnScreenKeyboard::Stop() {
    if (!m_process) {
        return;
    }
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(kStopWait_ms)) {
            m_process->kill();
            m_process->waitForFinished(kStopWait_ms);
        }
    }
    m_process.reset();
}

bool OnScreenKeyboard::Running() const {
    return m_process && m_process->state() == QProcess::Running;
}
