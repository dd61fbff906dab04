// The user manual's pictures, drawn by the real panel and its dialogs on simulated units so
// that the manual always shows the program as it is. Each lands in build/manual/NAME.png,
// small enough to ship beside the manual; scripts/manual-pictures.sh copies them to
// docs/manual/, where the manual finds them.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <functional>
#include <set>

#include "controls/CCanvasCtrl.h"
#include "controls/CInfoBar.h"
#include "dialogs/CAsRunLogDialog.h"
#include "dialogs/CAttributeDialog.h"
#include "dialogs/CCustomDialog.h"
#include "dialogs/CDifferencesDialog.h"
#include "dialogs/CEffectDialog.h"
#include "dialogs/CFilesDialog.h"
#include "dialogs/CGPIDialogNew.h"
#include "dialogs/CMyAbout.h"
#include "dialogs/COnAirDialog.h"
#include "dialogs/CRemoteDialog.h"
#include "dialogs/CSetupDialog.h"
#include "dialogs/CSurfaceDialog.h"
#include "dialogs/OnScreenKeyboard.h"
#include "panel/PanelRemote.h"
#include "platform/PortNames.h"
#include "tests/panel/PanelFixture.h"
#include "tests/support/TestPaths.h"

namespace {

// Wide enough to read the panel's labels, small enough for a page.
constexpr int kPictureWidth_px = 640;
constexpr int kLockoutEnableFunction = 168;

// The pictures docs/manual.md shows, by file name: each is manual/NAME.png beside it.
std::set<QString> PicturesTheManualShows() {
    QFile manual(QString::fromStdString(SourceFile("docs/manual.md")));
    if (!manual.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ADD_FAILURE() << "no docs/manual.md";
        return {};
    }
    static const QRegularExpression picture(R"(!\[[^\]]*\]\(manual/([^)\s]+)\))");
    std::set<QString> names;
    for (auto match = picture.globalMatch(QString::fromUtf8(manual.readAll())); match.hasNext();) {
        names.insert(match.next().captured(1));
    }
    return names;
}

// Virtual time that lets the test look at the panel whenever the program pauses.
class WatchedClock final : public Clock {
  public:
    WatchedClock(uint32_t start_ms, std::function<void()> onPause)
        : m_now(start_ms), m_onPause(std::move(onPause)) {}
    uint32_t TickCount() override { return m_now; }
    void Sleep(uint32_t ms) override {
        m_now += ms;
        m_onPause();
    }

  private:
    uint32_t m_now;
    std::function<void()> m_onPause;
};

// The line of the demo: a studio unit (model 11) as unit 1, a compact one (model 4) as unit 2.
class ManualPicturesTest : public PanelFixture {
  protected:
    std::vector<UnitEntry> Units() const override { return {{1, 11}, {2, 4}}; }

    void TearDown() override {
        PortNames().ClearOverrides();
        PanelFixture::TearDown();
    }

    // Saves `picture` as NAME.png, at most the manual's width, and checks that the file
    // holds a picture of that size and that the manual shows it.
    static void Save(QImage picture, const char* name) {
        const QString file = QString(name) + ".png";
        EXPECT_EQ(PicturesTheManualShows().count(file), 1u)
            << "docs/manual.md does not show the picture " << name;
        picture.setDevicePixelRatio(1);
        if (picture.width() > kPictureWidth_px) {
            picture = picture.scaledToWidth(kPictureWidth_px, Qt::SmoothTransformation);
        }
        const QString folder = QString::fromStdString(ManualPictureFolder());
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString path = folder + "/" + file;
        QFile::remove(path);
        ASSERT_TRUE(picture.convertToFormat(QImage::Format_RGB32).save(path)) << name;
        const QImage written(path);
        ASSERT_FALSE(written.isNull()) << name;
        EXPECT_EQ(written.size(), picture.size()) << name;
    }

    void SavePanel(const char* name) {
        panel->show();
        QCoreApplication::processEvents();
        const QImage picture = panel->grab().toImage();
        Save(picture, name);
        EXPECT_EQ(picture.width() * 760, picture.height() * 1280) << "the whole panel";
    }

    // The information line alone, at the panel's own size.
    void SaveInfoLine(const char* name) {
        Save(panel->grab(panel->InfoBar()->geometry()).toImage(), name);
    }

    static void SaveDialog(QDialog& dialog, const char* name) {
        dialog.show();
        QCoreApplication::processEvents();
        Save(dialog.grab().toImage(), name);
        dialog.close();
    }
};

TEST_F(ManualPicturesTest, ThePanelAtStartWithAStudioUnitAndWithACompactUnit) {
    SavePanel("panel-start");
    SelectUnit(1);
    ASSERT_EQ(g_unitStatus[kStatusByteModel], 11);
    SavePanel("panel-unit");
    SelectUnit(2);
    ASSERT_EQ(g_unitStatus[kStatusByteModel], 4);
    SavePanel("panel-compact");

    // Half size, and the zoom entries of the panel's menu.
    panel->SetZoom(0.5);
    SavePanel("panel-50");
    QMenu menu;
    panel->BuildContextMenu(menu);
    QMenu* zoom = menu.findChild<QMenu*>("zoomMenu");
    ASSERT_NE(zoom, nullptr);
    zoom->adjustSize();
    Save(zoom->grab().toImage(), "menu-zoom");
}

TEST_F(ManualPicturesTest, TheInformationLineWhileAUnitClearsItsFilesAndWhenItIsLost) {
    SelectUnit(1);
    panel->show();
    QCoreApplication::processEvents();
    bool clearShown = false;
    WatchedClock watched(Now(), [&] {
        const std::string& message = panel->InfoBar()->Message();
        if (!clearShown && message.rfind("Main Unit 1 clears its files: 1 s", 0) == 0) {
            clearShown = true;
            SaveInfoLine("info-file-clear");
        }
    });
    SetCurrentClock(&watched);
    panel->Console().ClearFiles();
    time.clock.Set(watched.TickCount());
    SetCurrentClock(&time.clock);
    EXPECT_TRUE(clearShown);

    Unit(1).SetPower(false);
    ASSERT_TRUE(RunPollTicksUntil(
        [&] { return panel->InfoBar()->Alert() == "Lost communication with Main Unit!"; }));
    SaveInfoLine("info-lost");
}

TEST_F(ManualPicturesTest, TheDialogsOfAStudioUnit) {
    SelectUnit(1);
    // A COM number pinned to a serial device server, as the configuration file allows.
    PortNames().SetRunOverride("");
    PortNames().SetOverride(2, "rfc2217://192.168.1.50:4001");
    {
        CSetupDialog dialog(panel.get());
        dialog.SetPortNumber(2);
        SaveDialog(dialog, "dialog-setup");
    }
    {
        CFilesDialog dialog(FilesDialogSetupFrom(0), panel.get());
        ASSERT_TRUE(dialog.OnInitDialog());
        SaveDialog(dialog, "dialog-files");
    }
    {
        CGPIDialogNew dialog(panel.get());
        SaveDialog(dialog, "dialog-gpi");
    }
    {
        COnAirDialog dialog(kLockoutEnableFunction, panel.get());
        SaveDialog(dialog, "dialog-lockout");
    }
    {
        ASSERT_NE(panel->KnobDisplay(0)->Param(), nullptr);
        CAttributeDialog dialog(panel->KnobDisplay(0)->Param()->number, panel.get());
        SaveDialog(dialog, "dialog-attributes");
    }
    {
        CCustomDialog dialog(1, panel.get());
        ASSERT_TRUE(dialog.OnInitDialog());
        SaveDialog(dialog, "dialog-custom-menu");
    }
    {
        CMyAbout dialog(panel.get(), QStringLiteral("/usr/bin"));
        SaveDialog(dialog, "dialog-about");
    }
}

TEST_F(ManualPicturesTest, TheEffectsDialogOfACompactUnit) {
    SelectUnit(2);
    // No on-screen keyboard beside the dialog in the picture.
    CEffectDialog dialog(std::make_unique<OnScreenKeyboard>(QStringList{"vcp-manual-no-keyboard"}),
                         panel.get());
    ASSERT_TRUE(dialog.OnInitDialog());
    SaveDialog(dialog, "dialog-effects");
}

TEST_F(ManualPicturesTest, TheSettingsOfSurfacesAndNetworkControlAndASnapshotsDifferences) {
    SelectUnit(1);
    SurfaceSettings surface;
    surface.enabled = true;
    surface.input = "X-Touch Mini:X-Touch Mini MIDI 1";
    surface.output = surface.input;
    surface.mapping = "generic-eight-encoders";
    const MidiPorts ports{{surface.input, "Midi Through:Midi Through Port-0"},
                          {surface.output, "Midi Through:Midi Through Port-0"},
                          {}};
    {
        CSurfaceDialog dialog(surface, ports, {"UNIT 1", "UNIT 2", "ALT", "MEM 1"}, panel.get());
        SaveDialog(dialog, "dialog-surface");
    }
    RemoteSettings remote;
    remote.enabled = true;
    {
        CRemoteDialog dialog(remote, "Network control is off.", &PanelRemote::SettingsProblem,
                             panel.get());
        SaveDialog(dialog, "dialog-remote");
    }
    const std::vector<ValueDifference> differences = {{0, "Clip", 512, 600, "50%", "58%"},
                                                      {1, "Gain", 300, 640, "29%", "62%"},
                                                      {3, "Softness", 10, 0, "1%", "0%"}};
    {
        CDifferencesDialog dialog(panel.get(), "Restore these values to Main Unit 1?",
                                  {"Snapshot", "Main Unit 1 now"}, differences, true);
        SaveDialog(dialog, "dialog-differences");
    }
    {
        CAsRunLogDialog dialog(
            panel.get(),
            {"2026-12-08 05:31:02.114 | Main Unit 1 | knob 1 Clip | 50% -> 58% | surface "
             "X-Touch Mini",
             "2026-12-08 05:31:09.530 | Main Unit 1 | MEM 3 | recall | network tcp "
             "127.0.0.1:50412",
             "2026-12-08 05:31:15.006 | Main Unit 1 | Gain | 62% -> 29% | keyboard"});
        SaveDialog(dialog, "dialog-as-run-log");
    }
}

// The manual, read in the source tree or on the repository's web page, finds every picture it
// shows in docs/manual/, and the folder (which the package installs) holds no other.
TEST(ManualPictureFilesTest, DocsManualHoldsEveryPictureTheManualShowsAndNoOther) {
    const std::set<QString> shown = PicturesTheManualShows();
    EXPECT_FALSE(shown.empty());
    const QDir folder(QString::fromStdString(SourceFile("docs/manual")));
    const QStringList files = folder.entryList({"*.png"}, QDir::Files);
    for (const QString& name : shown) {
        EXPECT_TRUE(files.contains(name))
            << "docs/manual/ lacks " << name.toStdString() << ": scripts/manual-pictures.sh";
    }
    for (const QString& name : files) {
        EXPECT_EQ(shown.count(name), 1u) << "docs/manual.md does not show " << name.toStdString();
        EXPECT_FALSE(QImage(folder.filePath(name)).isNull()) << name.toStdString();
    }
}

}  // namespace
