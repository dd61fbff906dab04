#include "link/LineDemand.h"

#include <atomic>

namespace {

std::atomic<bool> g_raised{false};

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
