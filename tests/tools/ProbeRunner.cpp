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
        for (const QByteArray& line : trace.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() > 2 && fields[1] == ">") {
                run.sent.push_back(line.mid(line.indexOf('>') + 2).toStdString());
            }
        }
    }
    return run;
}
