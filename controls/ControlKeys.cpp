#include "controls/ControlKeys.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QStringList>

namespace {

struct KnobKeyRow {
    Qt::Key key;
    KnobKey action;
};

constexpr KnobKeyRow kKnobKeys[] = {
    {Qt::Key_Up, KnobKey::StepUp},       {Qt::Key_Right, KnobKey::StepUp},
    {Qt::Key_Down, KnobKey::StepDown},   {Qt::Key_Left, KnobKey::StepDown},
    {Qt::Key_PageUp, KnobKey::LargeUp},  {Qt::Key_PageDown, KnobKey::LargeDown},
    {Qt::Key_Home, KnobKey::RangeStart}, {Qt::Key_End, KnobKey::RangeEnd},
};

struct KnobKeyMeaning {
    KnobKey action;
    const char* text;
};

constexpr KnobKeyMeaning kMeanings[] = {
    {KnobKey::StepUp, "one step up"},
    {KnobKey::StepDown, "one step down"},
    {KnobKey::LargeUp, "a large step up"},
    {KnobKey::LargeDown, "a large step down"},
    {KnobKey::RangeStart, "to the lowest value"},
    {KnobKey::RangeEnd, "to the highest value"},
};

// The keypad's arrows and Enter are the same keys.
bool Unmodified(const QKeyEvent& event) {
    return (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

QString KeyName(int key) {
    return QKeySequence(key).toString(QKeySequence::NativeText);
}

}  // namespace

std::optional<KnobKey> KnobKeyOf(const QKeyEvent& event) {
    if (!Unmodified(event)) {
        return std::nullopt;
    }
    for (const KnobKeyRow& row : kKnobKeys) {
        if (event.key() == row.key) {
            return row.action;
        }
    }
    return std::nullopt;
}

bool IsEnterKey(const QKeyEvent& event) {
    return Unmodified(event) && (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter);
}

QString KnobKeysHelp() {
    QStringList parts;
    for (const KnobKeyMeaning& meaning : kMeanings) {
        QStringList keys;
        for (const KnobKeyRow& row : kKnobKeys) {
            if (row.action == meaning.action) {
                keys << KeyName(row.key);
            }
        }
        parts << keys.join(QStringLiteral(", ")) + QStringLiteral(": ") +
                     QString::fromLatin1(meaning.text);
    }
    return parts.join(QStringLiteral("; "));
}

QString EnterKeyName() {
    return KeyName(Qt::Key_Enter);
}
