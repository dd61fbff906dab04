#include "model/PanelModel.h"

#include <cmath>

uint8_t g_currentUnitAddress = 0;
UnitStatus g_unitStatus{};
ParamRecord g_paramTable[kParamCount];
FunctionRecord g_functionTable[kFunctionCount];
MenuRecord g_menuTable[kMenuCount];
MessageRecord g_messageTable[kMessageCount];
std::string g_unitMessage;
const std::string g_idleText;
uint8_t g_customKnobMap[kUnitSlots][kCustomMenuCount][kKnobCount];
uint8_t g_customFunctionMap[kUnitSlots][kCustomMenuCount][kFunctionButtonCount];
uint8_t g_keyframeKnobMap[kKnobCount];
uint8_t g_keyframeFunctionMap[kFunctionButtonCount];
uint8_t g_panelKeys[27];
bool g_extendedMenus = false;
const char* const g_faceName = "Trebuchet MS";

PanelModel g_panelModel;

namespace {

ParamRecord MakeKeyframeParam(const char* name, int flags, int16_t top) {
    ParamRecord record;
    record.name = name;
    record.flags = flags;
    record.rawMax = top;
    record.dispMax = top;
    return record;
}

}  // namespace

PanelModel::PanelModel()
    : m_menuImage(std::make_unique<std::array<std::array<uint8_t, kMenuImageSize>, kUnitSlots>>()) {
    Reset();
}

void PanelModel::Reset() {
    for (auto& image : *m_menuImage) {
        image.fill(0);
        image[0] = kImageNotLoaded;
    }
    for (int unit = 0; unit < kUnitSlots; ++unit) {
        m_currentMenu[unit] = -1;
        m_previousMenu[unit] = 0;
        m_unitMenu[unit] = -1;
        m_lampBits[unit] = 0;
    }
    m_viewSelect = kNoView;
    m_pollMissCount = 0;
    m_portNumber = 1;
    m_routerEnabled.clear();
    m_routerPolarity.clear();
    m_dwellFrames = 0;
    m_referencePresent = true;
    ResetKeyframeRecords();
}

void PanelModel::ResetKeyframeRecords() {
    m_frameTimeParam = MakeKeyframeParam("Frame Time", kFlagTimecode, 0);
    m_taperInParam = MakeKeyframeParam("Taper In", kFlagStepped, 100);
    m_taperOutParam = MakeKeyframeParam("Taper Out", kFlagStepped, 100);
    m_keyframeParam = MakeKeyframeParam("KeyFrame", kFlagStepped | kFlagDisplayPlain, 0);
}

bool PanelModel::FollowReferenceFlags(uint8_t statusFlags) {
    const bool present = (statusFlags & kStatusReferenceVideo) != 0;
    const bool changed = present != m_referencePresent;
    m_referencePresent = present;
    return changed;
}

bool IsCompactModel(uint8_t model) {
    return model == 4 || model == 5 || model == 7 || model == 9;
}

bool SelectsInputsByParameters(uint8_t model) {
    return model == 5 || model == 7 || model == 9;
}

int UnitOfAddress(uint8_t address) {
    const int unit = address >> 4;
    return unit < kUnitSlots ? unit : 0;
}

uint8_t AddressOfUnit(int unit) {
    return unit >= 1 && unit < kUnitSlots ? static_cast<uint8_t>(unit << 4) : 0;
}

int FunctionValue(int functionNumber) {
    const int offset = functionNumber - kFirstFunctionNumber;
    return offset >= 0 && offset < kFunctionCount ? g_functionTable[offset].value : 0;
}

int PanelModel::MenuButtonCount() const {
    return MenuButtonCountOf(g_unitStatus[kStatusByteModel]);
}

int PanelModel::MenuEntryCount() const {
    return MenuEntryCountOf(g_unitStatus[kStatusByteModel]);
}

int MenuButtonCountOf(uint8_t model) {
    return IsCompactModel(model) ? 6 : 10;
}

int MenuEntryCountOf(uint8_t model) {
    return IsCompactModel(model) ? 12 : 20;
}

int DisplayedValue(const ParamRecord& param) {
    if (param.rawMin == param.dispMin && param.rawMax == param.dispMax) {
        return param.value;
    }
    const int rawSpan = param.rawMax - param.rawMin;
    if (rawSpan == 0) {
        return param.dispMin;
    }
    const double scaled =
        param.dispMin + static_cast<double>(param.dispMax - param.dispMin) * param.value / rawSpan;
    double shown = std::trunc(scaled);
    if (shown < param.dispMin) {
        shown = param.dispMin;
    }
    if (shown > param.dispMax) {
        shown = param.dispMax;
    }
    return static_cast<int>(shown);
}

void ClearUnitTables() {
    for (auto& record : g_paramTable) {
        record = ParamRecord{};
    }
    for (auto& record : g_functionTable) {
        record = FunctionRecord{};
    }
    for (auto& record : g_menuTable) {
        record = MenuRecord{};
    }
    for (auto& record : g_messageTable) {
        record = MessageRecord{};
    }
}

void ResetProgramState() {
    g_currentUnitAddress = 0;
    g_unitStatus.fill(0);
    ClearUnitTables();
    g_unitMessage.clear();
    for (auto& unit : g_customKnobMap) {
        for (auto& menu : unit) {
            for (auto& knob : menu) {
                knob = kEmptyKnobParam;
            }
        }
    }
    for (auto& unit : g_customFunctionMap) {
        for (auto& menu : unit) {
            for (auto& button : menu) {
                button = kEmptyFunctionOffset;
            }
        }
    }
    for (auto& knob : g_keyframeKnobMap) {
        knob = kEmptyKnobParam;
    }
    const uint8_t keyframeFunctions[kFunctionButtonCount] = {127, 127, 131, 128, 129, 130};
    for (int i = 0; i < kFunctionButtonCount; ++i) {
        g_keyframeFunctionMap[i] = keyframeFunctions[i];
    }
    for (auto& byte : g_panelKeys) {
        byte = 0;
    }
    g_extendedMenus = false;
    g_panelModel.Reset();
}

namespace {
// The constructor's fills of the custom and keyframe maps happen before main.
struct ProgramStateInit {
    ProgramStateInit() { ResetProgramState(); }
} g_programStateInit;
}  // namespace

bool IsUnitParameter(const ParamRecord& record) {
    return record.number >= 0 && record.number < kEmptyKnobParam &&
           &record == &g_paramTable[record.number];
}
