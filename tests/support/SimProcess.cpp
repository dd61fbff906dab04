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
    QByteArray output;
    while (!output.contains("ready") && m_process.waitForReadyRead(10000)) {
        output += m_process.readAllStandardOutput();
    }
    return output.contains("ready");
}

void SimProcess::Control(const std::string& command) {
    m_process.write(QByteArray::fromStdString(command + "\n"));
    m_process.waitForBytesWritten(1000);
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
