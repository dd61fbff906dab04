#include "link/LineCarrier.h"

#include <atomic>

#include "link/SerialCom.h"

namespace {

// Read by the carrier's own threads too, which hand work back to the line.
std::atomic<LineCarrier*> g_carrier{nullptr};
thread_local bool t_lineThread = false;

void ReportUnreportedFailure() {
    if (g_link.TakeUnreportedFailure()) {
        ReportPortFailure(g_link.LastFailure());
    }
}

}  // namespace

void SetLineCarrier(LineCarrier* carrier) {
    g_carrier = carrier;
}

Status CarryOnLine(const LineTask& task, const std::function<Status()>& work) {
    if (t_lineThread) {
        return work();
    }
    LineCarrier* const carrier = g_carrier;
    const Status status = carrier != nullptr ? carrier->Carry(task, work) : work();
    ReportUnreportedFailure();
    return status;
}

void PostOnLine(std::function<void()> work) {
    if (LineCarrier* const carrier = g_carrier) {
        carrier->Post(std::move(work));
    } else {
        work();
    }
}

void RunAside(std::function<void()> work) {
    if (LineCarrier* const carrier = g_carrier) {
        carrier->Aside(std::move(work));
    } else {
        work();
    }
}

void MarkLineThread() {
    t_lineThread = true;
}

bool OnLineThread() {
    return t_lineThread;
}
