// vcp-probe's storage subcommands, run as the engineers run them, against the built-in
// simulated line (unit 1 of model 11, unit 2 of model 4).
#include <gtest/gtest.h>
#include "tests/support/TestPaths.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string ProbeBinary() {
    return BuildProgram("vcp-probe");
}

struct ProbeRun {
    int exitCode = -1;
    QJsonObject json;
    std::vector<std::string> sent;  // the requests, hex bytes from the address byte on
};

class ProbeStorageTest : public ::testing::Test {
  protected:
    ProbeRun Run(const QStringList& command) {
        const QString binary = QString::fromStdString(ProbeBinary());
        const QString tracePath = dir.filePath("trace.txt");
        QProcess probe;
        probe.start(binary, QStringList{"--port", "inproc:sim", "--trace", tracePath} + command);
        EXPECT_TRUE(probe.waitForFinished(60000));
        ProbeRun run;
        run.exitCode = probe.exitCode();
        run.json = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
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

    QTemporaryDir dir;
};

std::vector<std::string> Names(const QJsonArray& entries) {
    std::vector<std::string> names;
    for (const QJsonValue& entry : entries) {
        names.push_back(entry.toObject()["name"].toString().toStdString());
    }
    return names;
}

TEST_F(ProbeStorageTest, FilesListsOneDirectory) {
    const ProbeRun main = Run({"--unit", "1", "files", "main"});
    ASSERT_EQ(main.exitCode, 0);
    EXPECT_EQ(main.sent, (std::vector<std::string>{"12 01 C2 C3", "12 01 C6 C7"}));
    EXPECT_EQ(main.json["count"].toInt(), 3);
    EXPECT_EQ(Names(main.json["entries"].toArray()),
              (std::vector<std::string>{"Factory Setup", "News Open", "Sports Key"}));
    EXPECT_EQ(main.json["entries"].toArray()[1].toObject()["id"].toInt(), 2);

    const ProbeRun user = Run({"--unit", "2", "files", "user"});
    ASSERT_EQ(user.exitCode, 0);
    EXPECT_EQ(user.sent, (std::vector<std::string>{"22 01 C3 C4", "22 01 C7 C8"}));
    EXPECT_EQ(Names(user.json["entries"].toArray()), std::vector<std::string>{"Operator A"});

    EXPECT_EQ(Run({"--unit", "1", "files", "both"}).exitCode, 2);
}

TEST_F(ProbeStorageTest, LockoutIdentifiesTheUnitFirst) {
    const ProbeRun run = Run({"--unit", "2", "lockout"});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.sent, (std::vector<std::string>{"22 01 C0 C1", "22 01 B9 BA", "22 01 B9 BA"}));
    EXPECT_EQ(run.json["knobs"].toArray().size(), 128);
    EXPECT_EQ(run.json["functions"].toArray().size(), 128);
    EXPECT_EQ(run.json["knobs"].toArray()[0].toInt(), 2);

    const ProbeRun absent = Run({"--unit", "3", "lockout"});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_EQ(absent.sent, std::vector<std::string>{"32 01 C0 C1"});
}

TEST_F(ProbeStorageTest, GpiReadsTheListThenEverySequence) {
    const ProbeRun run = Run({"--unit", "1", "gpi"});
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.sent.size(), 3u + 10u);
    EXPECT_EQ(run.sent[0], "12 01 BC BD");
    EXPECT_EQ(run.sent[2], "12 01 BD BE");
    EXPECT_EQ(run.sent[3], "12 03 B3 00 02 B8");
    EXPECT_EQ(run.sent[12], "12 03 B3 09 02 C1");
    EXPECT_EQ(run.json["count"].toInt(), 10);
    EXPECT_EQ(run.json["entries"].toArray()[0].toObject()["events"].toInt(), 2);
    const QJsonArray sequences = run.json["sequences"].toArray();
    ASSERT_EQ(sequences.size(), 10);
    const QJsonObject first = sequences[0].toObject();
    EXPECT_EQ(first["gpi"].toInt(), 0);
    EXPECT_EQ(first["step"].toInt(), 0);
    EXPECT_EQ(QJsonDocument(first["events"].toArray()).toJson(QJsonDocument::Compact),
              "[[1,1],[1,2]]");
    EXPECT_EQ(sequences[9].toObject()["events"].toArray().size(), 0);
}

TEST_F(ProbeStorageTest, EffectsListsNumbersAndNames) {
    const ProbeRun run = Run({"--unit", "2", "effects"});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.sent, (std::vector<std::string>{"22 01 C4 C5", "22 01 C8 C9"}));
    EXPECT_EQ(run.json["count"].toInt(), 2);
    EXPECT_EQ(Names(run.json["entries"].toArray()),
              (std::vector<std::string>{"Fade Up", "Wipe Left"}));
    EXPECT_EQ(run.json["entries"].toArray()[0].toObject()["info"].toInt(), 3);
}

}  // namespace
