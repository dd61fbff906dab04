// vcp-probe against vcp-sim on a pseudo-terminal: both programs as engineers run them, each
// subcommand sending exactly its requests. Real clock; kept short.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>

#include "tests/support/SimProcess.h"
#include "tests/tools/ProbeRunner.h"

namespace {

using Requests = std::vector<std::string>;

class ProbeEndToEndTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        sim = new SimProcess;
        ASSERT_TRUE(sim->Start("1:11,3:4"));
        probe = new ProbeRunner(sim->LinePath());
    }
    static void TearDownTestSuite() {
        delete probe;
        delete sim;
    }

    static SimProcess* sim;
    static ProbeRunner* probe;
};

SimProcess* ProbeEndToEndTest::sim = nullptr;
ProbeRunner* ProbeEndToEndTest::probe = nullptr;

TEST_F(ProbeEndToEndTest, ScanIdentifiesEachUnitOnce) {
    const ProbeRun run = probe->Run({"scan"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "unit 1: model 11\nunit 2: absent\nunit 3: model 4\nunit 4: absent\n");
    EXPECT_EQ(run.sent, (Requests{"12 01 C0 C1", "22 01 C0 C1", "32 01 C0 C1", "42 01 C0 C1"}));
}

TEST_F(ProbeEndToEndTest, StatusPrintsTheTwelveBytes) {
    const ProbeRun run = probe->Run({"--unit", "3", "status"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.sent, Requests{"32 01 C0 C1"});
    const QList<QByteArray> bytes = run.output.trimmed().split(' ');
    ASSERT_EQ(bytes.size(), 12);
    EXPECT_EQ(bytes[0], "30");
    EXPECT_EQ(bytes[2], "40");
    EXPECT_EQ(bytes[5], "04");

    const ProbeRun absent = probe->Run({"--unit", "2", "status"});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_TRUE(absent.output.isEmpty());
}

TEST_F(ProbeEndToEndTest, ValuesReadReferencesThenValues) {
    const ProbeRun run = probe->Run({"--unit", "1", "values"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.sent, (Requests{"12 01 AD AE", "12 01 AF B0", "12 01 AC AD", "12 01 AE AF"}));
    EXPECT_EQ(run.json["value"].toArray().size(), 256);
    EXPECT_EQ(run.json["reference"].toArray().size(), 256);
}

TEST_F(ProbeEndToEndTest, SetAndAdjustPrintTheUnitsValue) {
    ProbeRun run = probe->Run({"--unit", "1", "set", "1", "300"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.sent, Requests{"12 04 A8 01 01 2C DA"});
    EXPECT_EQ(run.output, "300\n");

    run = probe->Run({"--unit", "1", "adjust", "1", "-25"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.sent, Requests{"12 04 81 01 FF E7 6C"});
    EXPECT_EQ(run.output, "275\n");

    // The values read back agree with what the unit reported.
    run = probe->Run({"--unit", "1", "values"});
    EXPECT_EQ(run.json["value"].toArray()[1].toInt(), 275);

    run = probe->Run({"--unit", "1", "set", "130", "1"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.sent, Requests{"12 03 A8 82 01 2E"});
    EXPECT_EQ(run.output, "1\n");
}

TEST_F(ProbeEndToEndTest, MenusDownloadsAndParsesWithoutValueReads) {
    QTemporaryDir dir;
    const QString raw = dir.filePath("image.bin");
    const ProbeRun run = probe->Run({"--unit", "3", "menus", "--raw", raw});
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_GE(run.sent.size(), 5u);
    EXPECT_EQ(run.sent.front(), "32 01 C0 C1");
    EXPECT_EQ(run.sent[1], "32 01 C5 C6");
    for (const std::string& request : run.sent) {
        EXPECT_EQ(request.find("32 01 A"), std::string::npos) << "value read in menus";
    }
    EXPECT_EQ(run.sent.back(), "32 01 C0 C1");
    EXPECT_EQ(run.json["model"].toInt(), 4);
    EXPECT_EQ(run.json["params"].toArray().size(), 129);
    EXPECT_EQ(run.json["functions"].toArray().size(), 132);
    EXPECT_EQ(run.json["menus"].toArray().size(), 65);
    EXPECT_EQ(run.json["messages"].toArray().size(), 200);
    EXPECT_EQ(run.json["functions"].toArray()[128].toObject()["label"].toString(),
              "Insert\r\nKeyframe");
    EXPECT_FALSE(run.json["menus"].toArray()[0].toObject()["title"].toString().isEmpty());
    QFile image(raw);
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    EXPECT_EQ(image.size(), 65536);
}

TEST_F(ProbeEndToEndTest, UsageErrorsSendNothing) {
    EXPECT_EQ(probe->Run({"--unit", "1", "set", "1"}).exitCode, 2);
    EXPECT_EQ(probe->Run({"values"}).exitCode, 2);
    EXPECT_EQ(probe->Run({"--unit", "9", "status"}).exitCode, 2);
    EXPECT_TRUE(probe->Run({"--unit", "1", "adjust", "1", "40000"}).sent.empty());
}

}  // namespace
