#pragma once

#include <string>

// The build's bin folder, where every program and test program lands.
std::string BinFolder();
// A program of the build (vcp-sim, vcp-probe) by name.
std::string BuildProgram(const char* name);
// Where rendering tests leave their pictures for a person to look at: build/screenshots.
std::string ScreenshotFolder();
// Where the test run renders the user manual's pictures: build/manual.
// scripts/manual-pictures.sh copies them to docs/manual beside the manual.
std::string ManualPictureFolder();
// A file of the source tree by its path from the top (docs/manual.md).
std::string SourceFile(const char* path);
