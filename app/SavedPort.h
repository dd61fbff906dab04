#pragma once

#include <string>

// The COM port number kept between runs in the per-user settings:
// QSettings("Korvanthe", <application name>), section "Ports", entry "Port", decimal text.

// Reads the stored number; a first run (no entry) gives 1.
int ReadSavedPort();
// Stores the number as decimal text ("%d").
void SavePortNumber(int portNumber);

// The stored text as a port number: empty 1; one character its digit (a non-digit 0);
// two or more characters 10 plus the digit of the last one (a non-digit 10).
int PortNumberFromText(const std::string& text);
