#include "dialogs/StoredNames.h"

#include "link/StorageTables.h"

namespace {

// The unit's display shows plain printable ASCII; a blank is allowed inside a name.
bool UnitCanStore(QChar c) {
    return c.unicode() >= 0x20 && c.unicode() <= 0x7E;
}

}  // namespace

std::optional<QString> StoredNameProblem(const QString& name, const QString& what) {
    if (name.trimmed().isEmpty()) {
        return QStringLiteral("Type a name for the %1 first.").arg(what);
    }
    if (name.size() > kMaxNameLength) {
        return QStringLiteral("The %1 name is %2 characters long; the unit keeps at most %3.")
            .arg(what)
            .arg(name.size())
            .arg(kMaxNameLength);
    }
    for (const QChar c : name) {
        if (!UnitCanStore(c)) {
            return QStringLiteral(
                       "The unit cannot store the character \"%1\" in a %2 name. Use letters, "
                       "digits, blanks and the signs of a plain keyboard.")
                .arg(c.isPrint() ? QString(c) : QStringLiteral("U+%1").arg(c.unicode(), 4, 16))
                .arg(what);
        }
    }
    return std::nullopt;
}

std::string UnitText(const QString& name) {
    return name.toLatin1().toStdString();
}
