#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "protocol/Lockout.h"
#include "protocol/ParameterArguments.h"
#include "protocol/StatusFlags.h"
#include "sim/models/ModelDefinition.h"
#include "sim/unit/SimFaults.h"

class UnitStorage;

// Parameter changes a unit reports back: (number, new value), in the order they happened.
using UpdateList = std::vector<std::pair<uint8_t, int>>;

// How long clearing the stored files keeps a unit busy.
constexpr uint32_t kClearFilesBusy_ms = 1500;

constexpr size_t kStatusDataSize = 9;
using StatusData = std::array<uint8_t, kStatusDataSize>;

// One Main Unit with real state: values and reference values of all 256 parameters, its
// menu image, messages, texts, lock-out tables, status flags and power.
class SimUnit {
  public:
    SimUnit(int unitNumber, const ModelDefinition& model);

    int Number() const { return m_number; }
    uint8_t Address() const { return static_cast<uint8_t>(m_number << 4); }
    const ModelDefinition& Model() const { return m_model; }

    // Called with the command byte of every request the unit receives, before it is
    // handled: brings timed state (busy) up to date. False when the unit does not take the
    // command in its present state (booting or busy units only identify themselves).
    bool BeginRequest(uint8_t command);
    // How many requests in a row carried the present command byte (1 for the first).
    int RepeatCount() const { return m_repeatCount; }

    // Values.
    int Value(int number) const;
    int Reference(int number) const;
    bool IsDefined(int number) const;
    // Requests of the master; each returns every value that changed.
    UpdateList Adjust(int number, int delta);
    UpdateList SetValue(int number, int value);
    // A change made on the unit itself (its own panel, a script): flagged for the master.
    void ChangeLocally(int number, int value);
    void SetReference(int number, int value);
    // The master has read all values.
    void ValuesRead();

    // Status.
    StatusData TakeStatus();
    uint8_t Flags() const;
    void SetFlag(StatusFlag flag, bool on);
    void SetBusy(bool on, uint32_t duration_ms = 0);
    // Busy for `duration_ms` with nothing reset at the end (a file-system rebuild).
    void SetBusyKeepingValues(uint32_t duration_ms);
    uint8_t UnitMenu() const { return m_unitMenu; }
    void ShowMenu(uint8_t menu);

    // Messages.
    void PostMessage(uint8_t number, const std::string& text = {});
    uint8_t MessageNumber() const { return m_message; }
    std::string TakeMessageText();
    void Reply(uint8_t kind, uint8_t value);
    const std::vector<std::pair<uint8_t, uint8_t>>& Replies() const { return m_replies; }

    // Texts.
    const std::string& SettingsLabel() const { return m_settingsLabel; }
    void SetSettingsLabel(const std::string& text) { m_settingsLabel = text; }
    const std::string& VersionText() const { return m_model.versionText; }

    // Menu image, read in chunks after a prepare.
    const std::vector<uint8_t>& MenuImage();
    void PrepareMenuRead() { m_menuReadOffset = 0; }
    size_t MenuReadOffset() const { return m_menuReadOffset; }
    void AdvanceMenuRead(size_t bytes) { m_menuReadOffset += bytes; }

    // On-air lock-out: state of a knob parameter (0..127) or function (128..255).
    uint8_t LockState(int number) const;
    bool SetLockState(int number, uint8_t state);

    // Power: a unit that is off says nothing; switching on clears what it was doing.
    bool Powered() const { return m_powered; }
    void SetPower(bool on);

    FaultSet& Faults() { return m_faults; }

    // Files, GPI sequences and effects the unit keeps (sim/unit/UnitStorage.h), made on first
    // use from the values and menu of that moment.
    UnitStorage& Storage();

  private:
    int Clamp(int number, int value) const;
    void Store(int number, int value, UpdateList& changes);
    void Move(int number, int delta, UpdateList& changes);
    void ApplyCouplings(int number, int delta, UpdateList& changes);
    void ApplyExclusion(int number, UpdateList& changes);
    void StartAction(int number);
    void FinishBusy();
    void ResetValues();
    bool MessageAsks(uint8_t number) const;

    int m_number;
    const ModelDefinition& m_model;
    std::array<int, 256> m_values{};
    std::array<int, 256> m_references{};
    uint8_t m_flags = kStatusReferenceVideo;
    uint8_t m_message = 0;
    std::string m_messageText;
    std::vector<std::pair<uint8_t, uint8_t>> m_replies;
    uint8_t m_unitMenu = 0;
    std::string m_settingsLabel;
    std::vector<uint8_t> m_menuImage;
    size_t m_menuReadOffset = 0;
    std::array<uint8_t, kLockTableSize> m_knobLocks{};
    std::array<uint8_t, kLockTableSize> m_functionLocks{};
    bool m_powered = true;
    bool m_busyTimed = false;
    uint32_t m_busyUntil_ms = 0;
    uint8_t m_lastCommand = 0;
    int m_repeatCount = 0;
    FaultSet m_faults;
    bool m_busyResetsValues = true;
    std::shared_ptr<UnitStorage> m_storage;
};
