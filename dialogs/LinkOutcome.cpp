#include "dialogs/LinkOutcome.h"

#include "link/Framing.h"

QString FailureReason(Status status) {
    switch (status) {
        case Status::Ok:
            return QStringLiteral("the unit answered");
        case Status::NoAnswer:
            return QStringLiteral("the unit did not answer");
        case Status::WrongLength:
            return QStringLiteral("the unit's answer had the wrong length");
        case Status::WriteFailed:
            return QStringLiteral("the request could not be written to the serial port");
        case Status::WrongCode:
            return QStringLiteral("the unit refused the request");
        case Status::NoLength:
        case Status::NoCode:
        case Status::CutShort:
            return QStringLiteral("the unit's answer broke off");
        default:
            return QStringLiteral("the exchange failed (status %1)").arg(static_cast<int>(status));
    }
}

ListOutcome ReadListIntoTable(const std::function<Status()>& read, int32_t& filled,
                              int32_t slotCount, Status& status) {
    const int32_t before = filled;
    // Only a list that arrived sets the count again, so a full table after a "too long"
    // result is this list and not the one read before.
    filled = 0;
    status = read();
    if (status == Status::Ok) {
        return ListOutcome::Whole;
    }
    if (status == Status::WrongLength && filled == slotCount) {
        return ListOutcome::Filled;
    }
    filled = before;
    return ListOutcome::Failed;
}
