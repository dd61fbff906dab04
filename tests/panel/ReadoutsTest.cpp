// The model badge's two actions, the file-system update after a change of stored files,
// and the screen-colour read-outs.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>

#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/COnLineBar.h"
#include "panel/PanelBadge.h"
#include "tests/panel/PanelFixture.h"

namespace {

// Takes the place of the desktop's file opener.
class OpenedFiles : public QObject {
    Q_OBJECT
  public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;
  public slots:
    void Open(const QUrl& url) { urls.append(url); }
};

class ReadoutsTest : public PanelFixture {
  protected:
    void TearDown() override {
        CTavrinoxDlg::UnregisterDialog(kAboutDialog);
        PanelFixture::TearDown();
    }
    void ClickBadge() {
        panel->ModelBadge(4)->metaObject()->invokeMethod(panel->ModelBadge(4), "Clicked");
    }
    void SetLatch() {
        panel->Toggle(12)->Press();
        ASSERT_TRUE(panel->Console().AttributeLatchSet());
    }
};

TEST_F(ReadoutsTest, TheBadgeOpensTheModelsManualWithTheLatchAndSaysWhereItLookedWithout) {
    SelectUnit(1);
    SetLatch();
    ClickBadge();
    EXPECT_FALSE(panel->Console().AttributeLatchSet());
    EXPECT_FALSE(panel->Toggle(12)->IsOn());
    ASSERT_EQ(prompter.boxes.size(), 1u);
    const std::string& text = prompter.boxes[0].text;
    EXPECT_NE(text.find("manual-model-11.pdf"), std::string::npos);
    EXPECT_NE(text.find(QCoreApplication::applicationDirPath().toStdString()), std::string::npos);
    EXPECT_NE(text.find("share/doc/vcp"), std::string::npos);

    // Beside the program it is found and handed to the desktop.
    OpenedFiles opened;
    const QString manual =
        QDir(QCoreApplication::applicationDirPath()).filePath("manual-model-11.pdf");
    ASSERT_TRUE(QFile(manual).open(QIODevice::WriteOnly));
    SetLatch();
    ClickBadge();
    QFile::remove(manual);
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls[0], QUrl::fromLocalFile(manual));
    EXPECT_EQ(prompter.boxes.size(), 1u);

    // A model of no manual group gets the quick start.
    g_unitStatus[kStatusByteModel] = 3;
    SetLatch();
    ClickBadge();
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_NE(prompter.boxes[1].text.find("QuickStartQN2.pdf"), std::string::npos);
}

TEST_F(ReadoutsTest, WithoutTheLatchTheAboutBoxRunsAndItsOkClosesThePanel) {
    SelectUnit(1);
    ClickBadge();
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_NE(prompter.boxes[0].text.find("About box is not available"), std::string::npos);
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));

    bool pollingInside = true;
    CTavrinoxDlg::RegisterDialog(kAboutDialog, [&](int) {
        pollingInside = panel->Timers().IsActive(kPollTimer);
        return PanelDialogResult{.accepted = true};
    });
    panel->show();
    ClickBadge();
    EXPECT_FALSE(pollingInside);
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));
    QCoreApplication::processEvents();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->result(), QDialog::Rejected);
}

TEST_F(ReadoutsTest, TheFileSystemUpdateGivesUpAfterMinutesNotHours) {
    SelectUnit(1);
    panel->Console().OnUpdateFileSystem();
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(panel->InfoBar()->Message(), "");

    Unit(3).SetBusy(true);  // identifies, but never answers the rebuild
    const uint32_t start = Now();
    panel->Console().OnUpdateFileSystem();
    EXPECT_GE(Now() - start, 5u * 60 * 1000);
    EXPECT_LT(Now() - start, 6u * 60 * 1000);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "File System Update did not complete!  Please try again.");
    EXPECT_EQ(panel->InfoBar()->Message(), "");
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));
}

TEST_F(ReadoutsTest, ScreenColourPercentagesBecomeTheSwatchCappedAtFullColour) {
    SelectUnit(1);
    const int percents[3] = {100, 101, 50};
    for (int i = 0; i < 3; ++i) {
        ParamRecord& colour = g_paramTable[59 + i];
        colour.rawMin = colour.dispMin = 0;
        colour.rawMax = colour.dispMax = 120;
        colour.value = static_cast<int16_t>(percents[i]);
    }
    panel->ShowReadouts(1);
    EXPECT_EQ(panel->InfoBar()->Screen().red, 100);
    EXPECT_EQ(panel->InfoBar()->Screen().green, 101);
    EXPECT_EQ(panel->OnLineBar()->SelectedUnit(), 1);
    const QImage bar = panel->OnLineBar()->grab().toImage();
    EXPECT_EQ(bar.pixelColor(327, 12), QColor(255, 255, 127));
}

}  // namespace

#include "ReadoutsTest.moc"
