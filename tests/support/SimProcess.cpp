#include "tests/support/SimProcess.h"

#include "tests/support/TestPaths.h"

SimProcess::~SimProcess() {
    Stop();
}

bool SimProcess::Start(const std::string& units) {
    m_linePath = m_dir.filePath("line").toStdString();
    m_process.start(
        QString::fromStdString(BuildProgram("vcp-sim")),
        {"--pty", QString::fromStdString(m_linePath), "--units", QString::fromStdString(units)});
    if (!m_process.waitForStarted(10000)) {
        return false;
    }
    m_output.clear();
    while (!m_output.contains('\n') && m_process.waitForReadyRead(10000)) {
        m_output += m_process.readAllStandardOutput();
    }
    const bool ready = m_output.startsWith("ready");
    m_output.remove(0, m_output.indexOf('\n') + 1);
    return ready;
}

void SimProcess::Control(const std::string& command) {
    m_process.write(QByteArray::fromStdString(command + "\n"));
    m_process.waitForBytesWritten(1000);
}

std::string SimProcess::ControlReply(const std::string& command, int timeout_ms) {
    Control(command);
    while (!m_output.contains('\n') && m_process.waitForReadyRead(timeout_ms)) {
        m_output += m_process.readAllStandardOutput();
    }
    const qsizetype end = m_output.indexOf('\n');
    if (end < 0) {
        return {};
    }
    const std::string line = m_output.left(end).toStdString();
    m_output.remove(0, end + 1);
    return line;
}

void SimProcess::Stop() {
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
