#include "sim/line/BuiltinSimulator.h"

#include <memory>

#include "platform/InProcessLine.h"
#include "sim/line/SimLine.h"

namespace {

struct BuiltinLine {
    SimLine units;
    InProcessLine line{&units};

    explicit BuiltinLine(const std::vector<UnitEntry>& entries) : units(entries) {}
};

std::unique_ptr<BuiltinLine>& Builtin() {
    static std::unique_ptr<BuiltinLine> builtin;
    return builtin;
}

}  // namespace

SimLine* RegisterBuiltinSimulator(const std::string& unitList, std::string* error) {
    std::string why;
    const auto entries = ParseUnitList(unitList, why);
    if (!entries) {
        if (error) {
            *error = why;
        }
        return nullptr;
    }
    UnregisterBuiltinSimulator();
    Builtin() = std::make_unique<BuiltinLine>(*entries);
    RegisterInProcessLine(kBuiltinLineName, &Builtin()->line);
    return &Builtin()->units;
}

void UnregisterBuiltinSimulator() {
    if (Builtin()) {
        UnregisterInProcessLine(kBuiltinLineName);
        Builtin().reset();
    }
}
