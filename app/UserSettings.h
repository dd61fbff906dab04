#pragma once

#include <QSettings>
#include <memory>

// The per-user settings of the program: QSettings("Korvanthe", <application name>), the
// program's own name when it has none (tools, tests).
std::unique_ptr<QSettings> OpenUserSettings();
