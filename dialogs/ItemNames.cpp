#include "dialogs/ItemNames.h"

#include "controls/PaintHelpers.h"
#include "model/PanelModel.h"

namespace {

constexpr int kLastAssignableFunction = 254;

bool Offered(int flags, ItemChoice choice) {
    return choice == ItemChoice::All || (flags & kFlagHashSuffix) != 0;
}

}  // namespace

QString ItemName(const std::string& text) {
    QString name = PanelString(text);
    name.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return name;
}

std::vector<AssignableItem> KnobItems(ItemChoice choice) {
    std::vector<AssignableItem> items;
    for (const ParamRecord& param : g_paramTable) {
        if (param.number != kEmptyKnobParam && !param.name.empty() &&
            Offered(param.flags, choice)) {
            items.push_back({ItemName(param.name), param.number});
        }
    }
    return items;
}

std::vector<AssignableItem> ButtonItems(ItemChoice choice) {
    std::vector<AssignableItem> items;
    for (const FunctionRecord& function : g_functionTable) {
        if (function.number > kFirstFunctionNumber && function.number <= kLastAssignableFunction &&
            Offered(function.flags, choice)) {
            items.push_back({ItemName(function.label), function.number - kFirstFunctionNumber});
        }
    }
    return items;
}

QString NameOfValue(const std::vector<AssignableItem>& items, int value) {
    for (const AssignableItem& item : items) {
        if (item.value == value) {
            return item.name;
        }
    }
    return {};
}
