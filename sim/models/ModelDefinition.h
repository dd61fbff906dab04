#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/PanelModel.h"

// Readable descriptions of the Main Unit models: what each one carries in its menu image
// and how its parameters behave. Pure data; the unit and the image builder read it.

enum class MenuFamily {
    Compact,  // six menu buttons, 12 entry words per menu
    Full,     // ten menu buttons, 20 entry words per menu
};

constexpr int kCompactMenuButtons = 6;
constexpr int kFullMenuButtons = 10;
constexpr int kMenuFunctionButtons = 6;
constexpr int kMenuKnobs = 8;
constexpr uint8_t kNoTarget = 255;               // a menu button leading nowhere
constexpr uint8_t kNoFunction = 255;             // an empty function button (offset 127)
constexpr uint8_t kNoKnobParam = 128;            // an empty knob position
constexpr uint16_t kResetValueRequest = 0x7FFF;  // a word write of this value restores the default

// Flag words use the bits the panel reads from the image (kFlagStepped, kFlagTimecode,
// kFlagCoarse, kFlagDisplayCentred, kFlagDisplayPlain, kFlagMomentary, kFlagMenuOpensDialog,
// kFlagMessageQuestion); a knob parameter without display flags shows a percentage.

// A knob parameter's option: a short and a long text.
struct ParamOption {
    std::string shortText;
    std::string longText;
};

struct ParamDef {
    uint8_t number = 0;  // 0..127
    std::string name;
    uint16_t flags = 0;
    int16_t rawMin = 0;
    int16_t rawMax = 0;
    int16_t dispMin = 0;
    int16_t dispMax = 0;
    int16_t initial = 0;
    std::vector<ParamOption> options = {};  // at most three are meaningful to a panel
    std::string note = {};                  // the record's second text; empty = absent
};

// A function button's option: its label and an optional help text.
struct FunctionOption {
    std::string label;
    std::string help = {};
};

// What the unit does when a function is set to a non-zero value.
enum class FunctionAction {
    None,
    ClearFiles,  // clear the stored files: busy for a while, then back to defaults
};

struct FunctionDef {
    uint8_t number = 0;  // 128..255
    std::string name;
    uint16_t flags = 0;
    uint8_t minValue = 0;
    uint8_t maxValue = 1;
    uint8_t initial = 0;
    std::vector<FunctionOption> options = {};
    FunctionAction action = FunctionAction::None;
};

struct MenuDef {
    uint8_t number = 0;  // 0..63
    std::string title;
    std::string shortName;
    uint16_t flags = 0;
    std::array<uint8_t, kMenuKnobs> knobs = {128, 128, 128, 128, 128, 128, 128, 128};
    // Targets of menu buttons 0..9; a compact unit carries the first six.
    std::array<uint8_t, kFullMenuButtons> targets = {255, 255, 255, 255, 255,
                                                     255, 255, 255, 255, 255};
    std::array<uint8_t, kMenuFunctionButtons> functions = {255, 255, 255, 255, 255, 255};
};

struct MessageDef {
    uint8_t number = 0;
    uint16_t flags = 0;
    std::string caption;
    std::string text;
};

// A record of one of the image's sections that a panel skips (the unit's own data).
struct SkippedRecordDef {
    int section = 0;  // 0..4
    std::vector<uint8_t> body;
};

// Moving the leader moves every follower by the same amount.
struct ParamCoupling {
    uint8_t leader = 0;
    std::vector<uint8_t> followers;
};

struct ModelDefinition {
    uint8_t code = 0;
    std::string modelName;
    MenuFamily family = MenuFamily::Full;
    std::string versionText;
    std::vector<const std::vector<ParamDef>*> parameterSets;
    std::vector<const std::vector<FunctionDef>*> functionSets;
    std::vector<const std::vector<MenuDef>*> menuSets;
    std::vector<const std::vector<MessageDef>*> messageSets;
    const std::vector<SkippedRecordDef>* skippedRecords = nullptr;
    std::vector<ParamCoupling> couplings;
    // Functions of which at most one may be non-zero (the views).
    std::vector<uint8_t> exclusiveFunctions;
    // The on-air lock-out tables go out function table first.
    bool lockoutFunctionsFirst = false;
    uint8_t homeMenu = 0;
};

// Looks a parameter, function or menu up across a model's sets; nullptr when absent.
const ParamDef* FindParam(const ModelDefinition& model, int number);
const FunctionDef* FindFunction(const ModelDefinition& model, int number);
const MenuDef* FindMenu(const ModelDefinition& model, int number);

inline int MenuButtonCount(MenuFamily family) {
    return family == MenuFamily::Compact ? kCompactMenuButtons : kFullMenuButtons;
}
inline int MenuEntryWords(MenuFamily family) {
    return family == MenuFamily::Compact ? 12 : 20;
}
