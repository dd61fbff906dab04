#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Faults a unit or the whole line can be told to show, switched by name. Each switch has an
// argument (its meaning depends on the fault) and may hold for a number of answers only.
enum class FaultKind {
    Silent,           // no answer at all
    Late,             // answer `argument` ms late
    WrongCode,        // answer code replaced by `argument`
    Truncated,        // only the first `argument` bytes of the answer are sent
    Oversized,        // data padded to the longest answer; lists never end
    CorruptChecksum,  // checksum byte inverted
    Noise,            // the line carries noise: `argument` bytes, 0 = without end
    SilentMidList,    // a list stops after `argument` parts, as from a unit that hangs
    EndlessList,      // a list repeats its entries and never ends
    IgnoreCommand,    // no answer to the command byte `argument`; every other is answered
    Count
};

struct FaultInfo {
    FaultKind kind;
    const char* name;
    uint32_t defaultArgument;
    const char* help;
};

// Every fault with its name, default argument and one line of help.
const std::vector<FaultInfo>& FaultCatalog();
std::optional<FaultKind> FaultByName(const std::string& name);

class FaultSet {
  public:
    static constexpr int kUntilCleared = -1;

    void Set(FaultKind kind, uint32_t argument, int answers = kUntilCleared);
    void Clear(FaultKind kind);
    void ClearAll();
    bool Active(FaultKind kind) const;
    uint32_t Argument(FaultKind kind) const;
    // Counts one use of the fault; a fault limited to n answers ends after the n-th.
    void Use(FaultKind kind);
    // The active faults, "name argument" each, for status displays.
    std::string Describe() const;

  private:
    struct Switch {
        bool on = false;
        uint32_t argument = 0;
        int remaining = kUntilCleared;
    };
    std::array<Switch, static_cast<size_t>(FaultKind::Count)> m_switches{};
};

// An encoded answer on its way to the master.
struct OutgoingAnswer {
    std::vector<uint8_t> bytes;
    uint32_t delay_ms = 0;
};

// Whether `faults` make the unit deaf to `command`: it neither acts on it nor answers. Counts
// one use of the fault when so.
bool IgnoresCommand(FaultSet& faults, uint8_t command);

// Applies the active answer faults of `faults` to `answer`; nullopt when it is not sent.
std::optional<OutgoingAnswer> ShapeAnswer(FaultSet& faults, OutgoingAnswer answer);
