#include "dialogs/LinkOutcome.h"

#include "link/Framing.h"

QString FailureReason(int status) {
    switch (status) {
        case kStatusOk:
            return QStringLiteral("the unit answered");
        case kStatusNoAnswer:
            return QStringLiteral("the unit did not answer");
        case kStatusWrongLength:
            return QStringLiteral("the unit's answer had the wrong length");
        case kStatusWriteFailed:
            return QStringLiteral("the request could not be written to the serial port");
        case kStatusWrongCode:
            return QStringLiteral("the unit refused the request");
        case kStatusNoLength:
        case kStatusNoCode:
            return QStringLiteral("the unit's answer broke off");
        default:
            return QStringLiteral("the exchange failed (status %1)").arg(status);
    }
}

ListOutcome ReadListIntoTable(const std::function<int()>& read, int32_t& filled, int32_t slotCount,
                              int& status) {
    const int32_t before = filled;
    // Only a list that arrived sets the count again, so a full table after a "too long"
    // result is this list and not the one read before.
    filled = 0;
    status = read();
    if (status == kStatusOk) {
        return ListOutcome::Whole;
    }
    if (status == kStatusWrongLength && filled == slotCount) {
        return ListOutcome::Filled;
    }
    filled = before;
    return ListOutcome::Failed;
}
