#pragma once

#include <QPalette>

// The program's one look: every window, dialog and message box wears the panel's dark colours,
// so nothing flashes light on a dim desk.

// The panel's colours as a palette: the body of the panel for windows, its wells for lists and
// fields, its key faces for buttons, its labels for text and its green accent for the
// selection. Disabled text stays readable, but dimmer than enabled text.
QPalette ProgramPalette();

// For the one window drawn on light paper, the About box: dark ink on the paper, with the
// same contrasts as the program palette.
QPalette PaperPalette();

// Gives the whole application the Fusion style (drawn alike on every desktop), with check
// boxes and radio buttons rimmed so they show on the dark colours, and the program palette;
// call once, right after the application object is made.
void ApplyProgramLook();
