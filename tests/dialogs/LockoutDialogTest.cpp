#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "dialogs/CAttributeDialog.h"
#include "dialogs/COnAirDialog.h"
#include "model/PanelModel.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace {

constexpr int kEnableFunction = 168;
constexpr int kKeySource = 6;  // knob parameter "Key Source" of the simulated units

class LockoutDialogTest : public SimDialogTest {
  protected:
    void SetUp() override {
        SimDialogTest::SetUp();
        SelectSimUnit(1);
    }
    static QListWidget* List(QDialog& dialog, const char* name) {
        return dialog.findChild<QListWidget*>(name);
    }
    static void Click(QDialog& dialog, const char* name) {
        QTest::mouseClick(dialog.findChild<QAbstractButton*>(name), Qt::LeftButton);
    }
    static QString Status(QDialog& dialog) {
        return dialog.findChild<QLabel*>("statusLabel")->text();
    }
    static void Select(QListWidget* list, const QString& name) {
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->setCurrentItem(found.front());
    }
};

TEST_F(LockoutDialogTest, MovesLocksAllAndPagesTheLockedList) {
    COnAirDialog dialog(kEnableFunction);
    QListWidget* locked = List(dialog, "lockedList");
    QListWidget* unlocked = List(dialog, "unlockedList");
    EXPECT_EQ(locked->count(), 0);
    const int controls = unlocked->count();
    ASSERT_GT(controls, 30);
    EXPECT_FALSE(dialog.Modified());

    // One control to Locked and back: the unit holds what the lists show.
    Select(unlocked, "Key Source");
    Click(dialog, "lockButton");
    EXPECT_EQ(Unit(1).LockState(kKeySource), 1);
    ASSERT_EQ(locked->count(), 1);
    EXPECT_EQ(locked->item(0)->text(), "Key Source");
    EXPECT_TRUE(dialog.Modified());
    Click(dialog, "unlockButton");
    EXPECT_EQ(Unit(1).LockState(kKeySource), 2);
    EXPECT_EQ(locked->count(), 0);

    // No to Lock All changes nothing; Yes locks every control, named or not.
    prompter.answers = {PromptAnswer::No, PromptAnswer::Yes};
    Click(dialog, "lockAllButton");
    EXPECT_EQ(locked->count(), 0);
    Click(dialog, "lockAllButton");
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].text, "Are you sure you want to LOCK all of the controls?");
    EXPECT_EQ(locked->count(), controls);
    EXPECT_EQ(Unit(1).LockState(kKeySource), 1);
    EXPECT_EQ(Unit(1).LockState(kEnableFunction), 1);
    EXPECT_TRUE(Status(dialog).isEmpty());
    dialog.show();
    EXPECT_TRUE(SaveDialogPicture(&dialog, "lockout"));

    // Paging: 22 a page, never past either end.
    Click(dialog, "pageDownButton");
    EXPECT_EQ(locked->currentRow(), 22);
    Click(dialog, "upButton");
    EXPECT_EQ(locked->currentRow(), 21);
    Click(dialog, "endButton");
    Click(dialog, "downButton");
    EXPECT_EQ(locked->currentRow(), controls - 1);
    Click(dialog, "pageUpButton");
    Click(dialog, "pageUpButton");
    Click(dialog, "pageUpButton");
    EXPECT_EQ(locked->currentRow(), std::max(controls - 1 - 66, 0));
    Click(dialog, "homeButton");
    EXPECT_EQ(locked->currentRow(), 0);

    // "----->" keeps the position in the Locked list.
    locked->setCurrentRow(3);
    const QString fourth = locked->item(3)->text();
    Click(dialog, "unlockButton");
    EXPECT_EQ(locked->currentRow(), 3);
    EXPECT_EQ(unlocked->item(0)->text(), fourth);

    Click(dialog, "enabledCheck");
    EXPECT_EQ(Unit(1).Value(kEnableFunction), 1);

    // The switch alone marks a dialog modified, as every other action does.
    COnAirDialog switched(kEnableFunction);
    Click(switched, "enabledCheck");
    EXPECT_EQ(Unit(1).Value(kEnableFunction), 0);
    EXPECT_TRUE(switched.Modified());
}

TEST_F(LockoutDialogTest, ASilentOrRefusingUnitIsReportedAndTheListsShowItsState) {
    COnAirDialog dialog(kEnableFunction);
    QListWidget* unlocked = List(dialog, "unlockedList");
    const int controls = unlocked->count();

    // A lock the unit made but answered wrongly: reported, and the lists show it locked.
    Unit(1).Faults().Set(FaultKind::WrongCode, 0x01, 1);
    Select(unlocked, "Key Source");
    Click(dialog, "lockButton");
    EXPECT_EQ(Unit(1).LockState(kKeySource), 1);
    EXPECT_EQ(unlocked->count(), controls - 1);
    EXPECT_TRUE(Status(dialog).contains("did not confirm locking \"Key Source\""));

    // The first control is answered wrongly twice, the second once.
    Unit(1).Faults().Set(FaultKind::WrongCode, 0x01, 3);
    Click(dialog, "lockAllButton");
    EXPECT_TRUE(Status(dialog).startsWith("The Main Unit refused 1 of "));
    EXPECT_EQ(unlocked->count(), 0);

    Unit(1).Faults().Set(FaultKind::Silent, 0);
    Click(dialog, "unlockAllButton");
    EXPECT_TRUE(Status(dialog).startsWith("The Main Unit stopped answering after 0 of "));
    EXPECT_EQ(unlocked->count(), 0);
    Click(dialog, "enabledCheck");
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("enabledCheck")->isChecked());
    EXPECT_TRUE(Status(dialog).contains("did not confirm switching the lock-out on"));
}

TEST_F(LockoutDialogTest, AttributesFollowWhatTheUnitConfirmed) {
    CAttributeDialog dialog(kKeySource);
    auto* check = dialog.findChild<QCheckBox*>("onAirLockoutCheck");
    EXPECT_EQ(dialog.findChild<QLabel*>("controlNameLabel")->text(), "Key Source");
    EXPECT_FALSE(check->isChecked());
    ClickIndicator(check);
    EXPECT_EQ(Unit(1).LockState(kKeySource), 1);
    EXPECT_NE(g_paramTable[kKeySource].flags & kFlagOnAirLocked, 0);
    dialog.show();
    EXPECT_TRUE(SaveDialogPicture(&dialog, "attributes"));

    Unit(1).Faults().Set(FaultKind::Silent, 0);
    ClickIndicator(check);
    EXPECT_TRUE(check->isChecked());
    EXPECT_NE(g_paramTable[kKeySource].flags & kFlagOnAirLocked, 0);
    EXPECT_TRUE(Status(dialog).contains("did not confirm"));

    // A function opens on its own record; the empty position has nothing to lock.
    g_functionTable[kEnableFunction - 128].flags |= kFlagOnAirLocked;
    CAttributeDialog function(kEnableFunction);
    EXPECT_EQ(function.findChild<QLabel*>("controlNameLabel")->text(), "Lockout Off,Lockout On");
    EXPECT_TRUE(function.findChild<QCheckBox*>("onAirLockoutCheck")->isChecked());
    CAttributeDialog empty(128);
    EXPECT_FALSE(empty.findChild<QCheckBox*>("onAirLockoutCheck")->isEnabled());
}

}  // namespace
