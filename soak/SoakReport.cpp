#include "soak/SoakReport.h"

#include "soak/SoakChecks.h"

namespace {

constexpr double kMsPerHour = 3'600'000.0;
constexpr double kBytesPerMiB = 1024.0 * 1024.0;

}  // namespace

void SoakReport::CountRecovery(uint32_t took_ms, const PlannedFault& fault) {
    ++recoveries;
    if (took_ms >= slowestRecovery_ms) {
        slowestRecovery_ms = took_ms;
        slowestRecoveryFault = fault.Describe();
    }
}

void SoakReport::CountCall(uint32_t took_ms, const std::string& name) {
    if (took_ms > longestCall_ms) {
        longestCall_ms = took_ms;
        longestCallName = name;
    }
}

size_t SoakReport::ResidentGrowth() const {
    return residentEnd > residentStart ? residentEnd - residentStart : 0;
}

void SoakReport::Print(std::FILE* out) const {
    int faultCount = 0;
    for (int count : faults) {
        faultCount += count;
    }
    std::fprintf(out, "soak: seed %llu, %.2f simulated hours in %.1f s\n",
                 static_cast<unsigned long long>(seed), simulated_ms / kMsPerHour, real_s);
    std::fprintf(out, "  exchanges: %d requests answered, %d dropped by the units\n",
                 requestsAnswered, requestsDropped);
    std::fprintf(out, "  faults: %d;", faultCount);
    for (size_t kind = 0; kind < kSoakFaultKinds; ++kind) {
        std::fprintf(out, "%s %s %d", kind == 0 ? "" : ",",
                     SoakFaultName(static_cast<SoakFault>(kind)), faults[kind]);
    }
    std::fprintf(out, "\n  user actions: %d; message boxes: %d\n", userActions, messageBoxes);
    std::fprintf(out, "  recoveries: %d; slowest %u ms (%s)\n", recoveries, slowestRecovery_ms,
                 slowestRecoveryFault.empty() ? "none" : slowestRecoveryFault.c_str());
    std::fprintf(out, "  longest blocking call: %u ms (%s)\n", longestCall_ms,
                 longestCallName.empty() ? "none" : longestCallName.c_str());
    std::fprintf(out, "  resident set: %.1f MiB after warm-up, %.1f MiB at the end%s\n",
                 residentStart / kBytesPerMiB, residentEnd / kBytesPerMiB,
                 kResidentSetTellsGrowth ? "" : " (not checked: the sanitizer keeps freed memory)");
}
