// The real vcp against vcp-sim on a pseudo-terminal, on the real clock: the self-test turns
// knob 1 of unit 1 and the simulator shows the value the unit now holds.
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/panel/PanelFixture.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TestPaths.h"

namespace {

TEST(PanelEndToEndTest, SelfTestTurnsKnobOneOfAUnitServedOnAPseudoTerminal) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start("1:11,3:4"));
    const QString picture = QString::fromStdString(ScreenshotFolder()) + "/panel_live.png";
    QFile::remove(picture);

    QProcess vcp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // The run's settings, snapshots and as-run log stay out of the user's folders.
    const QTemporaryDir home;
    for (const char* folder : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
        environment.insert(folder, home.path());
    }
    vcp.setProcessEnvironment(environment);
    vcp.start(QString::fromStdString(BuildProgram("vcp")),
              {"--port", QString::fromStdString(sim.LinePath()), "--selftest", picture});
    ASSERT_TRUE(vcp.waitForFinished(60000));
    const QString output = vcp.readAllStandardOutput();
    EXPECT_EQ(vcp.exitCode(), 0) << output.toStdString()
                                 << vcp.readAllStandardError().toStdString();

    // "selftest: unit 1 knob 1 "Clip" (parameter 0) 512 -> 515"
    const QRegularExpressionMatch turned =
        QRegularExpression(R"(\(parameter (\d+)\) (-?\d+) -> (-?\d+))").match(output);
    ASSERT_TRUE(turned.hasMatch()) << output.toStdString();
    const QString number = turned.captured(1);
    EXPECT_GT(turned.captured(3).toInt(), turned.captured(2).toInt());
    const std::string shown = sim.ControlReply("show 1 " + number.toStdString());
    EXPECT_NE(shown.find(" " + number.toStdString() + "=" + turned.captured(3).toStdString()),
              std::string::npos)
        << shown;

    const QImage saved(picture);
    EXPECT_EQ(saved.size(), QSize(1280, 760));
}

}  // namespace
