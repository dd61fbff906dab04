#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialogs/CInputDialog.h"
#include "dialogs/CMonitorDialog.h"
#include "dialogs/COutputDialog.h"
#include "model/PanelModel.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace {

using Values = ValuesToSend;

// Routing functions as a unit with a router describes them: the row's name, then its choices.
void DefineFunction(int number, const std::string& label, int optionCount, int value) {
    FunctionRecord& record = g_functionTable[number - 128];
    record.number = number;
    record.label = label;
    record.optionCount = optionCount;
    record.value = static_cast<int16_t>(value);
}

void Bind(int menu, std::initializer_list<std::pair<int, int>> words, const char* title) {
    g_menuTable[menu].title = title;
    g_menuTable[menu].entry.fill(255);
    for (const auto& [word, function] : words) {
        g_menuTable[menu].entry[static_cast<size_t>(word)] = static_cast<int16_t>(function);
    }
}

class RoutingDialogTest : public SimDialogTest {
  protected:
    void SetUp() override {
        SimDialogTest::SetUp();
        SelectSimUnit(1);
        const std::string sources = "Camera 1,Camera 2,Camera 3,Graphics";
        for (int i = 0; i < 5; ++i) {
            DefineFunction(230 + i, "Input " + std::to_string(i + 1) + ":," + sources, 5,
                           i % 4 + 1);
        }
        DefineFunction(235, "Output:,Program,Preview,Clean Feed", 4, 2);
        DefineFunction(236, "Delay", 9, 3);
        DefineFunction(237, "Update Register", 2, 1);
        DefineFunction(238, "Matte", 2, 0);
        DefineFunction(239, "View Lock", 2, 0);
    }
    template <typename T>
    static T* Find(QDialog& dialog, const char* name) {
        return dialog.findChild<T*>(name);
    }
};

TEST_F(RoutingDialogTest, InputDialogReturnsItsValuesInTheOrderThePanelSendsThem) {
    Bind(46,
         {{10, 230},
          {11, 231},
          {12, 232},
          {13, 233},
          {19, 234},
          {14, 235},
          {15, 236},
          {16, 237},
          {17, 238},
          {18, 239}},
         "Input Routing");
    CInputDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Input Routing");
    EXPECT_EQ(Find<QLabel>(dialog, "input5Label")->text(), "Input 5:");
    auto* input2 = Find<QComboBox>(dialog, "input2Combo");
    ASSERT_EQ(input2->count(), 4);
    EXPECT_EQ(input2->currentText(), "Camera 2");
    EXPECT_EQ(Find<QComboBox>(dialog, "outputCombo")->currentText(), "Preview");
    EXPECT_TRUE(Find<QRadioButton>(dialog, "delay3Radio")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(dialog, "updateRegisterCheck")->isChecked());
    auto* reduced = Find<QRadioButton>(dialog, "matteReducedRadio");
    EXPECT_TRUE(reduced->isChecked());
    EXPECT_TRUE(reduced->isEnabled());
    EXPECT_FALSE(Find<QLabel>(dialog, "referenceNoteLabel")->isVisibleTo(&dialog));
    dialog.show();
    EXPECT_TRUE(SaveDialogPicture(&dialog, "input"));

    // Locking the view closes the matte choice; the unchanged delay is not sent.
    input2->setCurrentIndex(2);
    ClickIndicator(Find<QCheckBox>(dialog, "viewLockCheck"));
    EXPECT_FALSE(reduced->isEnabled());
    QTest::mouseClick(Find<QPushButton>(dialog, "applyButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Values(), (Values{{230, 1},
                                       {231, 3},
                                       {232, 3},
                                       {233, 4},
                                       {234, 1},
                                       {237, 1},
                                       {235, 2},
                                       {239, 1},
                                       {238, 0}}));

    // Any other delay is sent as its position.
    CInputDialog again;
    again.show();
    ClickIndicator(Find<QRadioButton>(again, "delay0Radio"));
    again.accept();
    EXPECT_EQ(again.Values()[5], (std::pair<uint8_t, uint8_t>{236, 0}));
}

// The matte view and view lock, hidden with the output, still go back as the unit had them.
TEST_F(RoutingDialogTest, InputDialogWithoutOutputShowsTheReferenceNote) {
    DefineFunction(231, "Input 2:", 1, 1);  // a row name and no choices
    DefineFunction(232, "Input 3:", 0, 0);  // no options: the row is hidden
    DefineFunction(238, "Matte", 2, 1);
    Bind(46, {{10, 230}, {11, 231}, {12, 232}, {17, 238}, {18, 239}}, "Inputs");
    CInputDialog dialog;
    EXPECT_TRUE(Find<QLabel>(dialog, "referenceNoteLabel")->isVisibleTo(&dialog));
    EXPECT_FALSE(Find<QLabel>(dialog, "referenceIcon")->pixmap().isNull());
    EXPECT_FALSE(Find<QWidget>(dialog, "fgBgOutGroup")->isVisibleTo(&dialog));
    EXPECT_FALSE(Find<QCheckBox>(dialog, "viewLockCheck")->isVisibleTo(&dialog));
    EXPECT_FALSE(Find<QRadioButton>(dialog, "delay1Radio")->isEnabled());
    EXPECT_FALSE(Find<QCheckBox>(dialog, "updateRegisterCheck")->isEnabled());
    EXPECT_EQ(Find<QLabel>(dialog, "input2Label")->text(), "Input 2:");
    EXPECT_EQ(Find<QComboBox>(dialog, "input2Combo")->count(), 0);
    EXPECT_FALSE(Find<QComboBox>(dialog, "input3Combo")->isVisibleTo(&dialog));
    EXPECT_FALSE(Find<QComboBox>(dialog, "input4Combo")->isVisibleTo(&dialog));
    dialog.show();
    EXPECT_TRUE(SaveDialogPicture(&dialog, "input_note"));
    dialog.accept();
    EXPECT_EQ(dialog.Values(), (Values{{230, 1}, {239, 0}, {238, 1}}));

    CInputDialog cancelled;
    cancelled.show();
    QTest::keyClick(&cancelled, Qt::Key_Escape);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_TRUE(cancelled.Values().empty());
}

TEST_F(RoutingDialogTest, OutputDialogReturnsInputsViewLockAndMatte) {
    DefineFunction(238, "Matte", 2, 1);
    DefineFunction(239, "View Lock", 2, 1);
    Bind(17, {{14, 230}, {15, 231}, {17, 238}, {18, 239}}, "Output Routing");
    COutputDialog dialog;
    auto* full = Find<QRadioButton>(dialog, "matteFullRadio");
    EXPECT_TRUE(full->isChecked());
    EXPECT_FALSE(full->isEnabled());
    EXPECT_EQ(Find<QCheckBox>(dialog, "viewLockCheck")->text(), "View Lock   ");
    dialog.show();
    EXPECT_TRUE(SaveDialogPicture(&dialog, "output"));
    ClickIndicator(Find<QCheckBox>(dialog, "viewLockCheck"));
    ClickIndicator(Find<QRadioButton>(dialog, "matteReducedRadio"));
    Find<QComboBox>(dialog, "input1Combo")->setCurrentIndex(3);
    QTest::mouseClick(Find<QPushButton>(dialog, "applyButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.Values(), (Values{{230, 4}, {231, 2}, {239, 0}, {238, 0}}));

    // Without a view-lock function its box stays and the matte choice opens only once the
    // box is toggled back off; nothing is sent for it.
    Bind(17, {{14, 230}, {15, 231}, {17, 238}}, "Output Routing");
    COutputDialog unlocked;
    unlocked.show();
    auto* viewLock = Find<QCheckBox>(unlocked, "viewLockCheck");
    auto* reduced = Find<QRadioButton>(unlocked, "matteReducedRadio");
    EXPECT_TRUE(viewLock->isVisible());
    EXPECT_FALSE(viewLock->isChecked());
    EXPECT_FALSE(reduced->isEnabled());
    ClickIndicator(viewLock);
    EXPECT_FALSE(reduced->isEnabled());
    ClickIndicator(viewLock);
    ClickIndicator(reduced);
    unlocked.accept();
    EXPECT_EQ(unlocked.Values(), (Values{{230, 1}, {231, 2}, {238, 0}}));
}

TEST_F(RoutingDialogTest, MonitorSendsEachClickAndTakesBackWhatTheUnitDidNotConfirm) {
    Bind(45, {{10, 221}, {11, 222}, {12, 224}, {13, 225}}, "Monitor");
    g_functionTable[222 - 128].value = 1;
    CMonitorDialog dialog;
    auto* tally = Find<QCheckBox>(dialog, "monitor1Check");
    EXPECT_EQ(tally->text(), "Tally");
    EXPECT_TRUE(Find<QCheckBox>(dialog, "monitor2Check")->isChecked());
    ClickIndicator(tally);
    EXPECT_TRUE(tally->isChecked());
    EXPECT_EQ(Unit(1).Value(221), 1);
    dialog.show();
    EXPECT_TRUE(SaveDialogPicture(&dialog, "monitor"));

    Unit(1).SetPower(false);
    ClickIndicator(tally);
    EXPECT_TRUE(tally->isChecked());
    EXPECT_EQ(Unit(1).Value(221), 1);
    EXPECT_TRUE(Find<QLabel>(dialog, "statusLabel")->text().contains("did not confirm \"Tally\""));
}

}  // namespace
