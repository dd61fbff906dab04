#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "dialogs/CFilesDialog.h"
#include "link/FileCommands.h"
#include "protocol/Commands.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/dialogs/FilesSimFixture.h"
#include "tests/support/ForwardingPeer.h"

namespace {

class FilesDialogTest : public StorageDialogTest {
  protected:
    // The files dialog of unit 1's main directory, opened as the panel opens it.
    void Open(FilesDialogSetup setup = {FileKind::Main, {true, true, false, false}}) {
        dialog = std::make_unique<CFilesDialog>(setup);
        dialog->OnInitDialog();
        list = Child<QListWidget>(*dialog, "fileList");
        name = Child<QLineEdit>(*dialog, "filenameEdit");
        status = Child<QLabel>(*dialog, "statusLabel");
    }
    void Click(const char* button) {
        QTest::mouseClick(Child<QPushButton>(*dialog, button), Qt::LeftButton);
    }
    void Type(const QString& text) {
        name->clear();
        QTest::keyClicks(name, text);
    }
    void Choose(const QString& file) {
        list->setCurrentItem(list->findItems(file, Qt::MatchExactly).value(0));
    }
    QStringList Listed() const {
        QStringList names;
        for (int i = 0; i < list->count(); ++i) {
            names.append(list->item(i)->text());
        }
        return names;
    }

    std::unique_ptr<CFilesDialog> dialog;
    QListWidget* list = nullptr;
    QLineEdit* name = nullptr;
    QLabel* status = nullptr;
};

TEST_F(FilesDialogTest, EveryActionShowsWhatTheUnitConfirmed) {
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Files");
    EXPECT_EQ(Listed(), (QStringList{"Factory Setup", "News Open", "Sports Key"}));
    EXPECT_EQ(name->text(), "Factory Setup");
    EXPECT_TRUE(Child<QPushButton>(*dialog, "saveButton")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(*dialog, "transferButton1")->isEnabled()) << "itself";
    EXPECT_TRUE(Child<QPushButton>(*dialog, "transferButton2")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(*dialog, "transferButton3")->isEnabled()) << "other model";

    Unit(1).ShowMenu(12);
    Type("Evening News");
    Click("saveButton");
    ASSERT_NE(FileNamed(1, "Evening News"), nullptr);
    EXPECT_EQ(FileNamed(1, "Evening News")->context, 12);
    EXPECT_EQ(status->text(), " Status: File Evening News has been saved!");
    EXPECT_EQ(name->text(), "");
    EXPECT_FALSE(Child<QPushButton>(*dialog, "saveButton")->isEnabled());
    EXPECT_EQ(list->count(), 4);
    SaveDialogPicture(dialog.get(), "files");

    // Replacing asks first; No sends nothing and leaves the status line; a name that differs
    // in letter case is another file.
    Unit(1).SetValue(0, 100);
    Type("News Open");
    Click("saveButton");
    EXPECT_EQ(FileNamed(1, "News Open")->values[0], 100);
    prompter.answers.push_back(PromptAnswer::No);
    const int requests = units.RequestsAnswered();
    Type("News Open");
    Click("saveButton");
    EXPECT_EQ(units.RequestsAnswered(), requests);
    EXPECT_EQ(status->text(), " Status: File News Open has been saved!");
    Type("news open");
    Click("saveButton");
    EXPECT_EQ(Files(1).size(), 5u);

    Choose("Sports Key");
    EXPECT_EQ(name->text(), "Sports Key");
    Type("Late Sports");
    Click("renameButton");
    EXPECT_NE(FileNamed(1, "Late Sports"), nullptr);
    EXPECT_EQ(FileNamed(1, "Sports Key"), nullptr);
    EXPECT_EQ(status->text(), " Status: File Late Sports has been renamed!");
    Type("News Open");
    Click("renameButton");
    EXPECT_EQ(BoxTexts().back(), "The file already exists.  Please select a different filename?");
    EXPECT_EQ(Files(1).size(), 5u);

    Choose("Factory Setup");
    Click("deleteButton");
    EXPECT_EQ(FileNamed(1, "Factory Setup"), nullptr);
    EXPECT_EQ(status->text(), " Status: File Factory Setup has been deleted!");
    EXPECT_FALSE(Listed().contains("Factory Setup"));

    Unit(1).SetValue(0, 300);
    Choose("Evening News");
    Click("loadButton");
    EXPECT_EQ(Unit(1).Value(0), FileNamed(1, "Evening News")->values[0]);
    EXPECT_EQ(status->text(), " Status: File Evening News has been loaded!");
    EXPECT_TRUE(dialog->FilesChanged());
    EXPECT_EQ(prompter.boxes.size(), 3u) << "two questions and the rename refusal";
}

TEST_F(FilesDialogTest, CopyToUnit2IsByteForByteWhatUnit2ThenStores) {
    Files(1)[2].values[5] = 11;
    Files(1)[2].values[200] = 0xAB;
    Open();
    Choose("Sports Key");
    Click("transferButton2");
    EXPECT_EQ(status->text(), " Status: File Sports Key has been transfered!");

    const std::vector<uint8_t> sent(g_transferBuffer.bytes.begin(),
                                    g_transferBuffer.bytes.begin() + g_transferBuffer.length);
    ASSERT_NE(FileNamed(2, "Sports Key"), nullptr);
    EXPECT_EQ(UnitStorage::EncodeFile(*FileNamed(2, "Sports Key")), sent);
    EXPECT_EQ(UnitStorage::EncodeFile(*FileNamed(1, "Sports Key")), sent);
    EXPECT_EQ(FileNamed(2, "Sports Key")->values[200], 0xAB);

    // Unit 2 switched off: the copy fails and says so.
    Unit(2).SetPower(false);
    Click("transferButton2");
    EXPECT_EQ(status->text(), " Status: File Sports Key was not copied.");
    EXPECT_EQ(BoxTexts().back(),
              "File Sports Key was not copied to unit 2: the unit did not answer.\n\nCheck that "
              "unit 2 is switched on and connected, then try the copy again.");
}

TEST_F(FilesDialogTest, RefusalsAndBadNamesAreReportedAndNothingIsClaimed) {
    Open();
    const int requests = units.RequestsAnswered();
    name->setText(QString::fromUtf8("Caf\u00e9 \u2713"));
    Click("saveButton");
    Type("   ");
    Click("renameButton");
    EXPECT_EQ(units.RequestsAnswered(), requests) << "bad names send nothing";
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_NE(prompter.boxes[0].text.find("cannot store the character \"\xE9\""),
              std::string::npos);
    EXPECT_EQ(prompter.boxes[1].text, "Type a name for the file first.");

    Type("ABCDEFGHIJKLMNOPQRSTUVWXY");
    EXPECT_EQ(name->text(), "ABCDEFGHIJKLMNOPQRSTUVW");
    EXPECT_EQ(BoxTexts().back(), "Filename is limited to 23 characters.");

    // The file went away behind the dialog's back: the unit refuses to delete it and to send
    // it for a copy; nothing reaches unit 2.
    Files(1).erase(Files(1).begin());
    Click("deleteButton");
    EXPECT_EQ(status->text(), " Status: File Factory Setup was not deleted.");
    EXPECT_EQ(BoxTexts().back(),
              "File Factory Setup was not deleted: the unit refused the request.\n\nCheck the "
              "unit and try Delete again.");
    Files(1).erase(Files(1).begin());
    Choose("News Open");
    Click("transferButton2");
    EXPECT_NE(BoxTexts().back().find("Nothing was sent to unit 2"), std::string::npos);
    EXPECT_FALSE(Unit(2).Storage().Receiving());

    // A full directory takes no new file; the list shows the unit's word.
    while (Files(1).size() < kSimDirectorySize) {
        Unit(1).Storage().Store(SimDirectory::Main,
                                {.id = 0xFFFF, .name = "Fill " + std::to_string(Files(1).size())});
    }
    Type("One More");
    Click("saveButton");
    EXPECT_EQ(FileNamed(1, "One More"), nullptr);
    EXPECT_EQ(status->text(), " Status: File One More was not saved.");
    EXPECT_EQ(BoxTexts().back(),
              "File One More was not saved: the unit did not store it.\n\nThe directory is "
              "full: delete a file, then save again.");

    // Nor can a rename fit, which stores the new name first: the user is told before.
    const int beforeRename = units.RequestsAnswered();
    Choose("Fill 50");
    Type("Renamed");
    Click("renameButton");
    EXPECT_EQ(units.RequestsAnswered(), beforeRename);
    EXPECT_EQ(status->text(), " Status: File Fill 50 was not renamed.");
    EXPECT_NE(BoxTexts().back().find("cannot be renamed while the directory is full"),
              std::string::npos);
}

TEST_F(FilesDialogTest, UnitSilentMidListLeavesAnEmptyListAndSaysWhy) {
    for (int i = 0; i < 20; ++i) {
        Unit(1).Storage().Store(SimDirectory::Main,
                                {.id = 0xFFFF, .name = "Take " + std::to_string(i)});
    }
    Unit(1).Faults().Set(FaultKind::SilentMidList, 1);
    const int before = units.RequestsAnswered();
    Open();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(status->text(), " Status: The file list could not be read.");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{
                              "The unit did not send its file list: the unit did not answer."
                              "\n\nCheck that the unit is switched on and connected, then open "
                              "this dialog again."});
    // A silent unit is not asked again: the first request and one part were answered.
    EXPECT_EQ(units.RequestsAnswered() - before, 2);

    const int requests = units.RequestsAnswered();
    Click("loadButton");
    Click("deleteButton");
    EXPECT_EQ(units.RequestsAnswered(), requests);
}

TEST_F(FilesDialogTest, AnEndlessListFillsTheDirectoryOnceAndCountsAsRead) {
    Unit(1).Faults().Set(FaultKind::EndlessList, 0);
    const int before = units.RequestsAnswered();
    Open();
    EXPECT_EQ(list->count(), kDirectoryMaxCount);
    EXPECT_EQ(status->text(),
              " Status: The unit holds more files than the list can show; the first 99 are "
              "listed.");
    EXPECT_TRUE(prompter.boxes.empty());
    // Read once: the first request, then the unit's three entries over and over until the
    // answer that overflowed.
    constexpr int kPart = 3 * kWireEntrySize;
    EXPECT_EQ(units.RequestsAnswered() - before, 1 + (kDirectoryBufferSize + kPart - 1) / kPart);
}

// Unit 1, except that more files than the list can show come before the newest one once
// the list after a save is asked for.
class MoreFilesThanTheListShows : public ForwardingPeer {
  public:
    explicit MoreFilesThanTheListShows(SimLine& sim, std::vector<StoredFile>& files)
        : ForwardingPeer(sim), m_files(files) {}

    bool armed = false;

  protected:
    void BeforeByte(uint8_t byte) override {
        if (armed && byte == static_cast<uint8_t>(Command::ReadFileListMainFirst)) {
            armed = false;
            for (int i = 0; i <= kDirectoryMaxCount; ++i) {
                m_files.insert(m_files.begin(), {.id = static_cast<uint16_t>(500 + i),
                                                 .name = "Earlier " + std::to_string(i)});
            }
        }
    }

  private:
    std::vector<StoredFile>& m_files;
};

// The saved file lies beyond the list: the unit's answer is its word, and no advice to save
// again would store it twice.
TEST_F(FilesDialogTest, AFileSavedBeyondTheListIsJudgedByTheUnitsAnswer) {
    MoreFilesThanTheListShows peer(units, Files(1));
    UsePeer(&peer);
    Open();
    peer.armed = true;
    Type("Late Take");
    Click("saveButton");
    EXPECT_NE(FileNamed(1, "Late Take"), nullptr);
    EXPECT_EQ(list->count(), kDirectoryMaxCount);
    EXPECT_TRUE(list->findItems("Late Take", Qt::MatchExactly).isEmpty());
    EXPECT_EQ(status->text(), " Status: File Late Take has been saved!");
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(FilesDialogTest, UserDirectoryPagingAndKeys) {
    Open({FileKind::User, {false, true, true, true}});
    EXPECT_EQ(dialog->windowTitle(), "User Files");
    EXPECT_EQ(Listed(), QStringList{"Operator A"});
    EXPECT_FALSE(Child<QPushButton>(*dialog, "transferButton2")->isEnabled())
        << "user files are not copied";

    Open();
    Click("downButton");
    Click("pageDownButton");
    Click("downButton");
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(name->text(), "Factory Setup") << "paging moves the selection only";
    Click("upButton");
    EXPECT_EQ(list->currentRow(), 1);
    Click("pageUpButton");
    EXPECT_EQ(list->currentRow(), 0);

    dialog->show();
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible()) << "Enter never closes the dialog";
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());

    SelectSimUnit(3);
    Open({FileKind::User, {}});
    EXPECT_EQ(dialog->windowTitle(), "Preferences");
}

TEST(FilesDialogArgumentTest, CarriesTheDirectoryAndTheUnitsThatMayReceiveACopy) {
    const FilesDialogSetup setup = FilesDialogSetupFrom(1 | 1 << 2 | 1 << 4);
    EXPECT_EQ(setup.kind, FileKind::User);
    EXPECT_EQ(setup.transferEnabled, (std::array<bool, 4>{false, true, false, true}));
    EXPECT_EQ(FilesDialogSetupFrom(1 << 3).kind, FileKind::Main);
}

}  // namespace
