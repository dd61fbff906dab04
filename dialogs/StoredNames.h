#pragma once

#include <QString>
#include <optional>
#include <string>

// Names the user types for things a unit stores (files, effects): the unit keeps them as
// 8-bit text of at most 23 characters in a 24-byte field, and shows them on its own display.

// What is wrong with `name` as a stored name, in words for the user; nullopt when the unit
// can store it. `what` names the thing ("file", "effect").
std::optional<QString> StoredNameProblem(const QString& name, const QString& what);

// The 8-bit text sent to a unit for a name that passed StoredNameProblem.
std::string UnitText(const QString& name);
