#pragma once

#include <string>

class QWidget;

// Saves a shown dialog as build/screenshots/dialog_<name>.png for a person to look at; returns
// false when the picture could not be written.
bool SaveDialogPicture(QWidget* dialog, const std::string& name);

// Clicks a check box or radio button on its indicator, where a click always lands.
void ClickIndicator(QWidget* button);

#include "tests/support/SimLineFixture.h"

// The link on the simulated line with unit `unit` selected and its menu image read into the
// tables, as the panel leaves them before it opens a dialog.
class SimDialogTest : public SimLineFixture {
  protected:
    void SelectSimUnit(int unit);
    SimUnit& Unit(int unit) { return *units.Unit(unit); }
};
