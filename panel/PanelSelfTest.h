#pragma once

#include <string>

class CTavrinoxDlg;

// The self-test of vcp --selftest: selects unit 1, turns knob 1 up three steps with the
// mouse, reads the value back from the unit and saves the panel as a PNG picture. Prints
// what it did; 0 when the unit took the change, 1 otherwise.
int RunSelfTest(CTavrinoxDlg& panel, const std::string& picturePath);
