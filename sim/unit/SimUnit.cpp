#include "sim/unit/SimUnit.h"

#include <algorithm>

#include "platform/Clock.h"
#include "protocol/Commands.h"
#include "protocol/ReplyKinds.h"
#include "sim/models/MenuImageBuilder.h"
#include "sim/unit/UnitStorage.h"

namespace {

constexpr uint8_t kMessageCleared = 4;  // "File system cleared."

bool IsKnob(int number) {
    return number >= 0 && number < kFirstFunctionNumber;
}

}  // namespace

SimUnit::SimUnit(int unitNumber, const ModelDefinition& model)
    : m_number(unitNumber), m_model(model), m_unitMenu(model.homeMenu) {
    ResetValues();
    m_references = m_values;
    m_knobLocks.fill(kLockStateUnlocked);
    m_functionLocks.fill(kLockStateUnlocked);
    m_settingsLabel = "Unit " + std::to_string(unitNumber) + "  " + model.modelName + "  Setup 1";
}

void SimUnit::ResetValues() {
    m_values.fill(0);
    for (int number = 0; number < 256; ++number) {
        if (IsKnob(number)) {
            if (const ParamDef* def = FindParam(m_model, number)) {
                m_values[static_cast<size_t>(number)] = def->initial;
            }
        } else if (const FunctionDef* def = FindFunction(m_model, number)) {
            m_values[static_cast<size_t>(number)] = def->initial;
        }
    }
}

bool SimUnit::BeginRequest(uint8_t command) {
    m_repeatCount = command == m_lastCommand ? m_repeatCount + 1 : 1;
    m_lastCommand = command;
    if (m_busyTimed && static_cast<int32_t>(CurrentClock().TickCount() - m_busyUntil_ms) >= 0) {
        FinishBusy();
    }
    if (m_flags & (kStatusBootMode | kStatusBusy)) {
        return command == Byte(Command::IdentifyUnit) || command == Byte(Command::ReadVersionInfo);
    }
    return true;
}

bool SimUnit::IsDefined(int number) const {
    return IsKnob(number) ? FindParam(m_model, number) != nullptr
                          : FindFunction(m_model, number) != nullptr;
}

int SimUnit::Value(int number) const {
    return number >= 0 && number < 256 ? m_values[static_cast<size_t>(number)] : 0;
}

int SimUnit::Reference(int number) const {
    return number >= 0 && number < 256 ? m_references[static_cast<size_t>(number)] : 0;
}

int SimUnit::Clamp(int number, int value) const {
    if (IsKnob(number)) {
        const ParamDef* def = FindParam(m_model, number);
        return def ? std::clamp(value, static_cast<int>(def->rawMin), static_cast<int>(def->rawMax))
                   : 0;
    }
    const FunctionDef* def = FindFunction(m_model, number);
    return def ? std::clamp(value, static_cast<int>(def->minValue), static_cast<int>(def->maxValue))
               : 0;
}

void SimUnit::Store(int number, int value, UpdateList& changes) {
    if (!IsDefined(number)) {
        return;
    }
    const int clamped = Clamp(number, value);
    int& stored = m_values[static_cast<size_t>(number)];
    if (clamped == stored) {
        return;
    }
    stored = clamped;
    auto known = std::find_if(changes.begin(), changes.end(),
                              [number](const auto& change) { return change.first == number; });
    if (known != changes.end()) {
        known->second = clamped;
    } else {
        changes.emplace_back(static_cast<uint8_t>(number), clamped);
    }
}

void SimUnit::Move(int number, int delta, UpdateList& changes) {
    const int before = Value(number);
    Store(number, before + delta, changes);
    const int moved = Value(number) - before;
    if (moved != 0) {
        ApplyCouplings(number, moved, changes);
        ApplyExclusion(number, changes);
        StartAction(number);
    }
}

void SimUnit::ApplyCouplings(int number, int delta, UpdateList& changes) {
    for (const ParamCoupling& coupling : m_model.couplings) {
        if (coupling.leader != number) {
            continue;
        }
        for (uint8_t follower : coupling.followers) {
            Store(follower, Value(follower) + delta, changes);
        }
    }
}

void SimUnit::ApplyExclusion(int number, UpdateList& changes) {
    const auto& group = m_model.exclusiveFunctions;
    if (Value(number) == 0 || std::find(group.begin(), group.end(), number) == group.end()) {
        return;
    }
    for (uint8_t other : group) {
        if (other != number) {
            Store(other, 0, changes);
        }
    }
}

void SimUnit::StartAction(int number) {
    const FunctionDef* def = IsKnob(number) ? nullptr : FindFunction(m_model, number);
    if (def && def->action == FunctionAction::ClearFiles && Value(number) != 0) {
        SetBusy(true, kClearFilesBusy_ms);
    }
}

UpdateList SimUnit::Adjust(int number, int delta) {
    UpdateList changes;
    Move(number, delta, changes);
    return changes;
}

UpdateList SimUnit::SetValue(int number, int value) {
    UpdateList changes;
    if (IsKnob(number) && value == kResetValueRequest) {
        const ParamDef* def = FindParam(m_model, number);
        value = def ? def->initial : 0;
    }
    if (IsDefined(number)) {
        Move(number, Clamp(number, value) - Value(number), changes);
    }
    return changes;
}

void SimUnit::ChangeLocally(int number, int value) {
    if (!SetValue(number, value).empty()) {
        m_flags |= kStatusValuesChanged;
    }
}

void SimUnit::SetReference(int number, int value) {
    if (number >= 0 && number < 256) {
        m_references[static_cast<size_t>(number)] = Clamp(number, value);
        m_flags |= kStatusValuesChanged;
    }
}

void SimUnit::ValuesRead() {
    m_flags &= static_cast<uint8_t>(~(kStatusValuesChanged | kStatusStateChanged));
}

uint8_t SimUnit::Flags() const {
    return m_flags;
}

void SimUnit::SetFlag(StatusFlag flag, bool on) {
    if (on) {
        m_flags |= flag;
    } else {
        m_flags &= static_cast<uint8_t>(~flag);
    }
}

void SimUnit::SetBusy(bool on, uint32_t duration_ms) {
    m_busyResetsValues = true;
    SetFlag(kStatusBusy, on);
    m_busyTimed = on && duration_ms > 0;
    m_busyUntil_ms = CurrentClock().TickCount() + duration_ms;
}

void SimUnit::SetBusyKeepingValues(uint32_t duration_ms) {
    SetBusy(true, duration_ms);
    m_busyResetsValues = false;
}

void SimUnit::FinishBusy() {
    m_busyTimed = false;
    SetFlag(kStatusBusy, false);
    if (!m_busyResetsValues) {
        return;
    }
    Storage().ClearFiles();
    ResetValues();
    m_flags |= kStatusValuesChanged | kStatusStateChanged;
    PostMessage(kMessageCleared);
}

void SimUnit::ShowMenu(uint8_t menu) {
    m_unitMenu = menu;
    m_flags |= kStatusStateChanged;
}

StatusData SimUnit::TakeStatus() {
    const size_t imageSize = MenuImage().size();
    StatusData status = {m_flags,
                         m_message,
                         m_model.code,
                         m_unitMenu,
                         static_cast<uint8_t>(m_number),
                         'K',
                         'V',
                         static_cast<uint8_t>(imageSize >> 8),
                         static_cast<uint8_t>(imageSize & 0xFF)};
    // A plain message is reported once; texts wait for their read, questions for the reply.
    if (!IsFetchedMessage(m_message) && !MessageAsks(m_message)) {
        m_message = 0;
    }
    return status;
}

bool SimUnit::MessageAsks(uint8_t number) const {
    for (const auto* set : m_model.messageSets) {
        for (const MessageDef& message : *set) {
            if (message.number == number) {
                return (message.flags & kFlagMessageQuestion) != 0;
            }
        }
    }
    return false;
}

void SimUnit::PostMessage(uint8_t number, const std::string& text) {
    m_message = number;
    if (!text.empty()) {
        m_messageText = text;
    }
}

std::string SimUnit::TakeMessageText() {
    if (IsFetchedMessage(m_message)) {
        m_message = 0;
    }
    return m_messageText;
}

void SimUnit::Reply(uint8_t kind, uint8_t value) {
    m_replies.emplace_back(kind, value);
    if ((kind == Byte(ReplyKind::QuestionAnswer) && MessageAsks(m_message)) ||
        kind == Byte(ReplyKind::Acknowledge)) {
        m_message = 0;
    }
}

UnitStorage& SimUnit::Storage() {
    if (!m_storage) {
        m_storage = std::make_shared<UnitStorage>(m_values, m_unitMenu);
    }
    return *m_storage;
}

const std::vector<uint8_t>& SimUnit::MenuImage() {
    if (m_menuImage.empty()) {
        m_menuImage = BuildModelImage(m_model);
    }
    return m_menuImage;
}

uint8_t SimUnit::LockState(int number) const {
    if (IsKnob(number)) {
        return m_knobLocks[static_cast<size_t>(number)];
    }
    return number < 256 ? m_functionLocks[static_cast<size_t>(number - kFirstFunctionNumber)]
                        : kLockStateUnlocked;
}

bool SimUnit::SetLockState(int number, uint8_t state) {
    if ((state != kLockStateLocked && state != kLockStateUnlocked) || number < 0 || number > 255) {
        return false;
    }
    if (IsKnob(number)) {
        m_knobLocks[static_cast<size_t>(number)] = state;
    } else {
        m_functionLocks[static_cast<size_t>(number - kFirstFunctionNumber)] = state;
    }
    return true;
}

void SimUnit::SetPower(bool on) {
    if (on && !m_powered) {
        m_message = 0;
        m_menuReadOffset = 0;
        m_busyTimed = false;
        m_flags &= static_cast<uint8_t>(~kStatusBusy);
        m_flags |= kStatusStateChanged;
        m_lastCommand = 0;
        m_repeatCount = 0;
        Storage().Restart();
    }
    m_powered = on;
}
