// The differences of a snapshot and a unit: one row per value, by name, then and now as the
// panel shows them, and a restore button that says how many values it sends.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableWidget>

#include "dialogs/CDifferencesDialog.h"

TEST(DifferencesDialogTest, EachDifferenceIsARowAndTheRestoreSaysHowMany) {
    const std::vector<ValueDifference> differences = {{3, "Clip", 10, 20, "-90", "-80"},
                                                      {129, "View", 0, 1, "Off", "On"}};
    CDifferencesDialog restore(nullptr, "Restore?", {"Snapshot", "Main Unit 1 now"}, differences,
                               true);
    const auto* table = restore.findChild<QTableWidget*>(QStringLiteral("differences"));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "Snapshot");
    EXPECT_EQ(table->item(1, 0)->text(), "View");
    EXPECT_EQ(table->item(1, 1)->text(), "Off");
    EXPECT_EQ(table->item(1, 2)->text(), "On");
    const auto* buttons = restore.findChild<QDialogButtonBox*>();
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), "Restore 2 values");

    CDifferencesDialog compare(nullptr, "", {"Main Unit 4", "Main Unit 1"}, differences, false);
    EXPECT_EQ(compare.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), nullptr);
}
