// The as-run log's export range starts as the span of the lines shown, so the dialog looks the
// same each time it shows the same log and an export left as it is keeps every line.
#include <gtest/gtest.h>

#include <QDateTimeEdit>

#include "dialogs/CAsRunLogDialog.h"

namespace {

std::vector<QString> RangeShown(const CAsRunLogDialog& dialog) {
    std::vector<QString> shown;
    for (const QDateTimeEdit* edit : dialog.findChildren<QDateTimeEdit*>()) {
        shown.push_back(edit->dateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }
    return shown;
}

}  // namespace

TEST(AsRunLogDialogTest, TheRangeSpansTheLogAndFallsBackToNowWithoutTimes) {
    const CAsRunLogDialog log(nullptr, {"2026-12-08 05:31:02.114 | Main Unit 1 | MEM 3 | recall",
                                        "2026-12-08 07:00:59.999 | Main Unit 2 | ALT | on"});
    EXPECT_EQ(RangeShown(log),
              (std::vector<QString>{"2026-12-08 05:31:02", "2026-12-08 07:00:59"}));

    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const CAsRunLogDialog empty(nullptr, {});
    const CAsRunLogDialog garbled(nullptr, {"garbled"});
    for (const CAsRunLogDialog* timeless : {&empty, &garbled}) {
        for (const QDateTimeEdit* edit : timeless->findChildren<QDateTimeEdit*>()) {
            EXPECT_GE(edit->dateTime(), before);
        }
    }
}
