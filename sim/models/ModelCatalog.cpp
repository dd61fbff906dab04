// The Main Unit models: which shared sets each one carries and what sets it apart.
#include "sim/models/ModelCatalog.h"

#include <algorithm>
#include <map>

#include "sim/models/ModelSets.h"

const std::vector<MessageDef> kCommonMessages = {
    {.number = 1, .caption = "Key Input", .text = "No signal on the key input."},
    {.number = 2, .caption = "Memory", .text = "Setup stored in memory."},
    {.number = 3, .caption = "Reference", .text = "Reference video lost."},
    {.number = 4, .caption = "Files", .text = "File system cleared."},
    {.number = 5,
     .flags = kFlagMessageQuestion,
     .caption = "Confirm",
     .text = "Overwrite the stored setup?"},
    {.number = 6,
     .flags = kFlagMessageQuestion,
     .caption = "Confirm",
     .text = "Clear all memories?"},
};

const std::vector<MessageDef> kFullMessages = {
    {.number = 7, .caption = "Router", .text = "Router switched to the next input."},
    {.number = 8,
     .flags = kFlagMessageQuestion,
     .caption = "Router",
     .text = "Take the router off air?"},
};

const std::vector<SkippedRecordDef> kUnitSections = {
    {.section = 0, .body = {'I', 'n', 'p', 'u', 't', ' ', '1', 0}},
    {.section = 0, .body = {'I', 'n', 'p', 'u', 't', ' ', '2', 0}},
    {.section = 2, .body = {0x00, 0x19, 0x00, 0x1E}},
};

namespace {

std::string VersionText(const std::string& modelName, const std::string& firmware) {
    return modelName + " Main Unit\r\nFirmware " + firmware + "\r\nKorvanthe";
}

ModelDefinition BaseModel(uint8_t code, const std::string& name, const std::string& firmware,
                          MenuFamily family) {
    const bool compact = family == MenuFamily::Compact;
    ModelDefinition model{
        .code = code,
        .modelName = name,
        .family = family,
        .versionText = VersionText(name, firmware),
        .parameterSets = {&kKeyParameters, &kScreenParameters, &kTimingParameters,
                          &kRouterParameters},
        .functionSets = {&kCoreFunctions, &kRouterFunctions},
        .menuSets = {&kCoreMenus, compact ? &kCompactMenus : &kFullMenus, &kDialogMenus},
        .messageSets = {&kCommonMessages},
        .skippedRecords = &kUnitSections,
        .couplings = {{.leader = 101, .followers = {59, 60, 61}}},
        .exclusiveFunctions = {129, 130, 132}};
    if (!compact) {
        model.messageSets.push_back(&kFullMessages);
    }
    return model;
}

ModelDefinition CompactModel(uint8_t code, const std::string& name, const std::string& firmware) {
    return BaseModel(code, name, firmware, MenuFamily::Compact);
}

ModelDefinition FullModel(uint8_t code, const std::string& name, const std::string& firmware) {
    return BaseModel(code, name, firmware, MenuFamily::Full);
}

// Adds the extended foreground and background menus (40 and 41).
ModelDefinition Extended(ModelDefinition model) {
    model.menuSets.push_back(&kExtendedMenus);
    return model;
}

const std::map<int, ModelDefinition>& Catalog() {
    static const std::map<int, ModelDefinition> catalog = [] {
        std::map<int, ModelDefinition> models;
        ModelDefinition model4 = Extended(CompactModel(4, "KV-4", "4.21"));
        model4.lockoutFunctionsFirst = true;
        models[4] = model4;
        models[5] = CompactModel(5, "KV-5", "5.08");
        models[7] = CompactModel(7, "KV-7", "7.02");
        models[9] = CompactModel(9, "KV-9", "9.11");
        models[11] = FullModel(11, "KV-11", "11.40");
        models[80] = Extended(FullModel(80, "KV-80", "80.3"));
        models[81] = FullModel(81, "KV-81", "81.1");
        models[177] = Extended(FullModel(177, "KV-177", "177.06"));
        return models;
    }();
    return catalog;
}

template <typename Def>
const Def* FindIn(const std::vector<const std::vector<Def>*>& sets, int number) {
    for (const auto* set : sets) {
        auto it = std::find_if(set->begin(), set->end(),
                               [number](const Def& def) { return def.number == number; });
        if (it != set->end()) {
            return &*it;
        }
    }
    return nullptr;
}

}  // namespace

const ModelDefinition* FindModel(int code) {
    auto it = Catalog().find(code);
    return it == Catalog().end() ? nullptr : &it->second;
}

std::vector<uint8_t> KnownModelCodes() {
    std::vector<uint8_t> codes;
    for (const auto& entry : Catalog()) {
        codes.push_back(static_cast<uint8_t>(entry.first));
    }
    return codes;
}

const ParamDef* FindParam(const ModelDefinition& model, int number) {
    return FindIn(model.parameterSets, number);
}

const FunctionDef* FindFunction(const ModelDefinition& model, int number) {
    return FindIn(model.functionSets, number);
}

const MenuDef* FindMenu(const ModelDefinition& model, int number) {
    return FindIn(model.menuSets, number);
}
