#pragma once

#include <string>

// The build's bin folder, where every program and test program lands.
std::string BinFolder();
// A program of the build (vcp-sim, vcp-probe) by name.
std::string BuildProgram(const char* name);
// Where rendering tests leave their pictures for a person to look at: build/screenshots.
std::string ScreenshotFolder();
// Where the test run leaves the user manual's pictures: build/manual, installed beside the
// manual.
std::string ManualPictureFolder();
