#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "history/SnapshotCompare.h"

// The differences between a unit and a snapshot, or between two units, by parameter name in
// the units the panel shows, then and now. With `offerRestore` its OK button restores them.
class CDifferencesDialog : public QDialog {
    Q_OBJECT

  public:
    struct Columns {
        std::string thenTitle;  // "Snapshot" or "Main Unit 2"
        std::string nowTitle;   // "Main Unit 1 now"
    };

    CDifferencesDialog(QWidget* parent, const std::string& heading, const Columns& columns,
                       const std::vector<ValueDifference>& differences, bool offerRestore);
};
