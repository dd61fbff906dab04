#include "tests/tools/ProbeRunner.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>

#include "tests/support/TestPaths.h"

ProbeRun ProbeRunner::Run(const QStringList& command) {
    const QString tracePath = m_dir.filePath("trace.txt");
    QProcess probe;
    probe.start(
        QString::fromStdString(BuildProgram("vcp-probe")),
        QStringList{"--port", QString::fromStdString(m_port), "--trace", tracePath} + command);
    probe.waitForFinished(60000);
    ProbeRun run;
    run.exitCode = probe.exitCode();
    run.output = probe.readAllStandardOutput();
    run.json = QJsonDocument::fromJson(run.output).object();
    QFile trace(tracePath);
    if (trace.open(QIODevice::ReadOnly)) {
        // The trace breaks its lines at pauses, and a loaded machine may pause inside a
        // request: the requests are cut from the bytes sent by their own length bytes.
        QList<QByteArray> bytes;
        for (const QByteArray& line : trace.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() > 2 && fields[1] == ">") {
                bytes.append(fields.mid(2));
            }
        }
        for (qsizetype first = 0; first < bytes.size();) {
            const qsizetype size =
                bytes.size() - first < 2 ? 1 : bytes[first + 1].toInt(nullptr, 16) + 3;
            run.sent.push_back(bytes.mid(first, size).join(' ').toStdString());
            first += size;
        }
    }
    return run;
}
