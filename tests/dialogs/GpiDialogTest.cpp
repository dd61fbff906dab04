#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "dialogs/CGPIDialog.h"
#include "dialogs/CGPIDialogNew.h"
#include "dialogs/UpDownControl.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
#include "model/PanelModel.h"
#include "sim/unit/UnitStorage.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace {

class GpiDialogTest : public SimDialogTest {
  protected:
    static QListWidget* List(QDialog& dialog, const char* name) {
        return dialog.findChild<QListWidget*>(name);
    }
    static void Click(QDialog& dialog, const char* name) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(name), Qt::LeftButton);
    }
    static QStringList Texts(QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->item(i)->text();
        }
        return texts;
    }
    GpiSequence& Sequence(int unit, int index) { return Unit(unit).Storage().Sequence(index); }
};

// The compact family's dialog on the KV-4 of unit 2.
TEST_F(GpiDialogTest, EditsTheSequenceAndMovesThePointerOnTheUnit) {
    SelectSimUnit(2);
    CGPIDialog dialog;
    auto* tabs = dialog.findChild<QTabBar*>("sequenceTabs");
    ASSERT_EQ(tabs->count(), 10);
    EXPECT_EQ(tabs->tabText(0), "   GPI 1       ");
    EXPECT_EQ(dialog.windowTitle(), "GPI Sequences");
    QListWidget* files = List(dialog, "filesList");
    QListWidget* events = List(dialog, "eventsList");
    EXPECT_EQ(Texts(files), (QStringList{"Factory Setup", "News Open", "Sports Key"}));
    EXPECT_EQ(Texts(events), (QStringList{"Factory Setup", "News Open"}));
    EXPECT_EQ(events->currentRow(), 1);  // no pointer: the last event

    // Add inserts at the selected event, or appends once a Ctrl+click took the selection
    // away from the current one.
    dialog.show();
    files->setCurrentRow(2);
    Click(dialog, "addButton");
    EXPECT_EQ(Texts(events), (QStringList{"Factory Setup", "Sports Key", "News Open"}));
    ASSERT_EQ(Sequence(2, 0).events.size(), 3u);
    EXPECT_EQ(Sequence(2, 0).events[1].file, 3);
    const auto clickEvent = [&](int row, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(events->viewport(), Qt::LeftButton, keys,
                          events->visualItemRect(events->item(row)).center());
    };
    clickEvent(events->currentRow(), Qt::ControlModifier);
    ASSERT_TRUE(events->selectedItems().isEmpty());
    files->setCurrentRow(0);
    Click(dialog, "addButton");
    EXPECT_EQ(Texts(events).back(), "Factory Setup");

    // Choosing an event puts the unit's pointer on it, a pause after each step; so does a
    // click on the event already chosen.
    const uint32_t before = CurrentClock().TickCount();
    events->setCurrentRow(2);
    EXPECT_EQ(Sequence(2, 0).step, 3);
    EXPECT_GE(CurrentClock().TickCount() - before, 3 * CGpiDialogBase::kStepPause_ms);
    Sequence(2, 0).step = 1;
    clickEvent(2);
    EXPECT_EQ(Sequence(2, 0).step, 3);
    Click(dialog, "stepDownButton");
    EXPECT_EQ(events->currentRow(), Sequence(2, 0).step - 1);
    Click(dialog, "stepUpButton");
    EXPECT_EQ(Sequence(2, 0).step, 3);
    EXPECT_EQ(events->currentRow(), 2);
    Click(dialog, "resetButton");
    EXPECT_EQ(Sequence(2, 0).step, 0);
    EXPECT_EQ(events->currentRow(), 3);
    EXPECT_TRUE(SaveDialogPicture(&dialog, "gpi"));

    Click(dialog, "removeButton");
    EXPECT_EQ(Sequence(2, 0).events.size(), 3u);
    Click(dialog, "removeAllButton");
    EXPECT_TRUE(Sequence(2, 0).events.empty());
    EXPECT_EQ(events->count(), 0);
    EXPECT_EQ(events->currentRow(), -1);
    Click(dialog, "removeButton");
    Click(dialog, "stepUpButton");

    // Another tab shows its own events, and a click on it reads them again; Enter does not
    // close the dialog.
    Sequence(2, 4).events = {{1, 2}};
    tabs->setCurrentIndex(4);
    EXPECT_EQ(Texts(events), (QStringList{"News Open"}));
    Sequence(2, 4).events.push_back({1, 3});
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(4).center());
    EXPECT_EQ(Texts(events), (QStringList{"News Open", "Sports Key"}));
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());

    // Paging moves the files selection within the list.
    Click(dialog, "pageDownButton");
    EXPECT_EQ(files->currentRow(), 2);
    Click(dialog, "upButton");
    Click(dialog, "pageUpButton");
    EXPECT_EQ(files->currentRow(), 0);
}

TEST_F(GpiDialogTest, AnUnknownFileOrASilentUnitIsShownAsSuch) {
    SelectSimUnit(2);
    Sequence(2, 0).events = {{1, 77}};
    CGPIDialog dialog;
    EXPECT_EQ(Texts(List(dialog, "eventsList")), (QStringList{"(file 77 not in the directory)"}));

    Unit(2).SetPower(false);
    Click(dialog, "addButton");
    EXPECT_TRUE(dialog.findChild<QLabel*>("statusLabel")->text().contains("did not confirm"));
    EXPECT_EQ(Sequence(2, 0).events.size(), 1u);
}

// The full family's dialog on the KV-11 of unit 1, its settings addressed through a
// sequence-select parameter.
TEST_F(GpiDialogTest, NewDialogReadsAndWritesEachSequencesSettings) {
    SelectSimUnit(1);
    MenuRecord& menu = g_menuTable[CGpiDialogBase::kMenu];
    menu.knobParam[1] = 114;  // dwell
    menu.knobParam[2] = 93;   // sequence select
    menu.entry[10] = 221;     // input enable
    menu.entry[11] = 222;     // high enable
    Unit(1).SetValue(93, 3);
    Unit(1).SetValue(221, 1);
    Unit(1).SetValue(114, 119);
    ASSERT_EQ(ReadParameterValues(), Status::Ok);

    CGPIDialogNew dialog;
    auto* tabs = dialog.findChild<QTabBar*>("sequenceTabs");
    EXPECT_EQ(tabs->currentIndex(), 2);
    auto* inputEnable = dialog.findChild<QCheckBox*>("inputEnableCheck");
    EXPECT_TRUE(inputEnable->isChecked());
    auto* dwell = dialog.findChild<UpDownControl*>("dwellUpDown");
    auto* dwellText = dialog.findChild<QLabel*>("dwellValueLabel");
    EXPECT_EQ(dwellText->text(), "119");
    dialog.show();
    EXPECT_TRUE(SaveDialogPicture(&dialog, "gpi_new"));

    // The last sequence: input off, dwell up to its limit, where the arrow stops.
    tabs->setCurrentIndex(9);
    ClickIndicator(inputEnable);
    auto* up = dwell->findChildren<QToolButton*>().back();
    QTest::mousePress(up, Qt::LeftButton);
    EXPECT_EQ(dwellText->text(), "120");
    EXPECT_FALSE(dwell->Repeating());
    QTest::mouseRelease(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(dwell->Value(), CGPIDialogNew::kMaxDwell);

    // The unit refuses the select of the first sequence: that one is named, once.
    tabs->setCurrentIndex(5);
    Unit(1).Faults().Set(FaultKind::WrongCode, 0x06, 1);
    Click(dialog, "closeButton");
    EXPECT_EQ(Unit(1).Value(221), 0);  // sequence 10 written last
    EXPECT_EQ(Unit(1).Value(114), 120);
    EXPECT_EQ(Unit(1).Value(93), 6);  // back on the tab on show
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text,
              "The Main Unit did not store the settings of GPI 1. Open the dialog again to see "
              "what it holds.");
    EXPECT_EQ(prompter.boxes[0].detail, "the unit refused the request");
}

// The unit falls silent while the dialog writes every sequence's settings back: the piece
// of work gives up on it after one request's patience, not one per request, and says so.
TEST_F(GpiDialogTest, AUnitSilentWhileTheNewDialogClosesIsGivenUpOnAndSaysSo) {
    SelectSimUnit(1);
    MenuRecord& menu = g_menuTable[CGpiDialogBase::kMenu];
    menu.knobParam[1] = 114;
    menu.knobParam[2] = 93;
    menu.entry[10] = 221;
    menu.entry[11] = 222;
    std::vector<std::pair<std::string, int>> reports;
    LineWork::SetReport([&](const std::string& what, int unit) {
        reports.push_back({what, unit});
    });
    {
        const LineWork work("the GPI dialog");
        CGPIDialogNew dialog;
        Unit(1).SetPower(false);
        line.TakeWritten();
        const uint32_t start = time.clock.TickCount();
        Click(dialog, "closeButton");
        EXPECT_LE(time.clock.TickCount() - start, 61'000u);
        EXPECT_EQ(line.TakeWritten().size(), 7u) << "more than the first SetParameterWord went out";
        EXPECT_TRUE(reports.empty());
        ASSERT_EQ(prompter.boxes.size(), 1u);
        EXPECT_NE(prompter.boxes[0].text.find("GPI 1, 2, 3, 4, 5, 6, 7, 8, 9 and 10."),
                  std::string::npos);
    }
    LineWork::SetReport({});
    EXPECT_EQ(reports, (std::vector<std::pair<std::string, int>>{{"the GPI dialog", 1}}));

    // The next piece of work asks the unit again.
    Unit(1).SetPower(true);
    EXPECT_EQ(ReadParameterValues(), Status::Ok);
}

TEST_F(GpiDialogTest, NewDialogWithoutSettingsWordsKeepsItsControlsOff) {
    SelectSimUnit(1);
    CGPIDialogNew dialog;
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("inputEnableCheck")->isEnabled());
    EXPECT_FALSE(dialog.findChild<UpDownControl*>("dwellUpDown")->isEnabled());
    EXPECT_EQ(dialog.findChild<QTabBar*>("sequenceTabs")->currentIndex(), 0);
    const int answered = units.RequestsAnswered();
    dialog.reject();
    EXPECT_EQ(units.RequestsAnswered(), answered);
}

}  // namespace
