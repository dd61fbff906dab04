#pragma once

#include <string>

class QWidget;

// Saves a shown dialog as build/screenshots/dialog_<name>.png for a person to look at; returns
// false when the picture could not be written.
bool SaveDialogPicture(QWidget* dialog, const std::string& name);
