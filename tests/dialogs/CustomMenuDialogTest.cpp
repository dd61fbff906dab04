#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <cstring>

#include "dialogs/CCustomDialog.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/dialogs/FilesSimFixture.h"

namespace {

class CustomMenuDialogTest : public StorageDialogTest {
  protected:
    void SetUp() override {
        StorageDialogTest::SetUp();
        // The unit's menu data marks the parameters a custom menu may hold; mark a few more
        // than the simulated model does, one of them named like another.
        for (const int number : {0, 1, 2, 5, 10, 13}) {
            g_paramTable[number].flags |= kFlagHashSuffix;
        }
        g_paramTable[13].name = "Clip";
        g_paramTable[10].name = "fg\nRed";
        g_customKnobMap[1][2][7] = 6;
    }

    void Open(int customMenu) {
        dialog = std::make_unique<CCustomDialog>(customMenu);
        dialog->OnInitDialog();
        list = Child<QListWidget>(*dialog, "itemList");
    }
    void Set(int row) {
        const std::string name = "setButton" + std::to_string(row);
        QTest::mouseClick(Child<QPushButton>(*dialog, name.c_str()), Qt::LeftButton);
    }
    QString Row(int row) {
        const std::string name = "slotEdit" + std::to_string(row);
        return Child<QLineEdit>(*dialog, name.c_str())->text();
    }
    QString Mark(int row) {
        const std::string name = "setButton" + std::to_string(row);
        return Child<QPushButton>(*dialog, name.c_str())->text();
    }
    QStringList Items() const {
        QStringList names;
        for (int i = 0; i < list->count(); ++i) {
            names.append(list->item(i)->text());
        }
        return names;
    }

    std::unique_ptr<CCustomDialog> dialog;
    QListWidget* list = nullptr;
};

TEST_F(CustomMenuDialogTest, SlotsChangeInACopyThatApplyWritesBack) {
    Open(2);
    EXPECT_EQ(dialog->windowTitle(), "Custom 2 Menu Configuration");
    EXPECT_EQ(Items(), (QStringList{"Clip", "Clip", "fg Red", "Gain", "Key Source", "Softness",
                                    "Transparency"}));
    EXPECT_EQ(Row(8), "Key Source");
    EXPECT_EQ(Mark(8), "<---");
    EXPECT_EQ(Mark(1), "--->");

    list->setCurrentRow(3);
    Set(1);
    EXPECT_EQ(Row(1), "Gain");
    EXPECT_EQ(Mark(1), "<---");
    list->setCurrentRow(1);  // the second "Clip" is parameter 13; a name gives the first
    Set(2);
    Set(8);  // an assigned row empties whatever is chosen
    EXPECT_EQ(Row(8), "");
    EXPECT_EQ(Mark(8), "--->");
    list->setCurrentRow(-1);
    Set(3);
    EXPECT_EQ(Row(3), "") << "nothing chosen, nothing set";

    QTabBar* tabs = Child<QTabBar>(*dialog, "tabBar");
    tabs->setCurrentIndex(1);
    EXPECT_EQ(Items(), QStringList{"Linear,Luma,Chroma"});
    EXPECT_TRUE(Child<QLineEdit>(*dialog, "slotEdit7")->isHidden());
    EXPECT_TRUE(Child<QPushButton>(*dialog, "setButton8")->isHidden());
    Set(6);
    dialog->OnSet(6);  // rows 7 and 8 hold no button: the next menu's slots stay
    dialog->OnSet(7);
    SaveDialogPicture(dialog.get(), "custom_menu_buttons");
    tabs->setCurrentIndex(0);
    EXPECT_FALSE(Child<QLineEdit>(*dialog, "slotEdit7")->isHidden());
    EXPECT_EQ(Row(1), "Gain");
    EXPECT_EQ(g_customKnobMap[1][2][0], kEmptyKnobParam) << "nothing written before Apply";
    SaveDialogPicture(dialog.get(), "custom_menu");

    QTest::mouseClick(Child<QPushButton>(*dialog, "applyButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const uint8_t knobs[kKnobCount] = {1, 0, 128, 128, 128, 128, 128, 128};
    EXPECT_EQ(std::memcmp(g_customKnobMap[1][2], knobs, kKnobCount), 0);
    EXPECT_EQ(g_customFunctionMap[1][2][5], 135 - 128);
    EXPECT_EQ(g_customFunctionMap[1][3][5], kEmptyFunctionOffset);
    EXPECT_EQ(g_customFunctionMap[1][3][0], kEmptyFunctionOffset);
    EXPECT_EQ(g_customFunctionMap[1][3][1], kEmptyFunctionOffset);
}

TEST_F(CustomMenuDialogTest, CancelLeavesTheMenusAndPagingStaysInTheList) {
    uint8_t before[kUnitSlots][kCustomMenuCount][kKnobCount];
    std::memcpy(before, g_customKnobMap, sizeof(before));
    Open(4);
    QTest::mouseClick(Child<QPushButton>(*dialog, "endButton"), Qt::LeftButton);
    EXPECT_EQ(list->currentRow(), 6);
    QTest::mouseClick(Child<QPushButton>(*dialog, "pageDownButton"), Qt::LeftButton);
    EXPECT_EQ(list->currentRow(), 6);
    QTest::mouseClick(Child<QPushButton>(*dialog, "upButton"), Qt::LeftButton);
    EXPECT_EQ(list->currentRow(), 5);
    QTest::mouseClick(Child<QPushButton>(*dialog, "homeButton"), Qt::LeftButton);
    EXPECT_EQ(list->currentRow(), 0);
    Set(1);
    Set(8);
    QTest::mouseClick(Child<QPushButton>(*dialog, "cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(std::memcmp(before, g_customKnobMap, sizeof(before)), 0);
}

}  // namespace
