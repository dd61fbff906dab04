#include "link/LineDemand.h"

#include <atomic>

namespace {

std::atomic<bool> g_raised{false};
int g_yieldScopes = 0;

ReadWake& TheWake() {
    static ReadWake wake;
    return wake;
}

}  // namespace

void LineDemand::Raise() {
    g_raised = true;
    TheWake().Raise();
}

void LineDemand::Clear() {
    g_raised = false;
    TheWake().Clear();
}

bool LineDemand::Raised() {
    return g_raised;
}

const ReadWake& LineDemand::Wake() {
    return TheWake();
}

YieldToUser::YieldToUser() {
    ++g_yieldScopes;
}

YieldToUser::~YieldToUser() {
    --g_yieldScopes;
}

bool YieldToUser::Active() {
    return g_yieldScopes > 0;
}
