#include "link/LineCarrier.h"

#include "link/SerialCom.h"

namespace {

LineCarrier* g_carrier = nullptr;
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
    const Status status = g_carrier != nullptr ? g_carrier->Carry(task, work) : work();
    ReportUnreportedFailure();
    return status;
}

void MarkLineThread() {
    t_lineThread = true;
}

bool OnLineThread() {
    return t_lineThread;
}
