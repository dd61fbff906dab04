#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "soak/FaultSchedule.h"

// The figures of one soak run, gathered as it goes and printed as one block at the end.
struct SoakReport {
    uint64_t seed = 0;
    uint64_t simulated_ms = 0;
    int requestsAnswered = 0;
    int requestsDropped = 0;
    std::array<int, kSoakFaultKinds> faults{};
    int userActions = 0;
    int messageBoxes = 0;
    int recoveries = 0;
    uint32_t slowestRecovery_ms = 0;
    std::string slowestRecoveryFault;
    uint32_t longestCall_ms = 0;
    std::string longestCallName;
    size_t residentStart = 0;
    size_t residentEnd = 0;
    double real_s = 0;

    void CountRecovery(uint32_t took_ms, const PlannedFault& fault);
    void CountCall(uint32_t took_ms, const std::string& name);
    // The resident set grew by this much since the warm-up (0 when it shrank).
    size_t ResidentGrowth() const;

    void Print(std::FILE* out) const;
};
