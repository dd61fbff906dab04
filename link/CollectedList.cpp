#include "link/CollectedList.h"

#include <algorithm>

#include "link/CommandExchange.h"

bool ListArrived(Status status, const ListCollector& collector) {
    return status == Status::Ok ||
           (status == Status::WrongLength && collector.Started() && collector.Full());
}

bool ListCollector::Append(const AnswerBuffer& answer) {
    const auto dataCount = static_cast<size_t>(AnswerDataCount(answer));
    const size_t room = m_buffer.size() - m_size;
    const size_t taken = std::min(dataCount, room);
    std::copy_n(answer.begin() + kAnswerData, taken, m_buffer.begin() + m_size);
    m_size += taken;
    return taken == dataCount;
}

Status ReadCollectedList(Command first, Command followUp, std::span<const uint8_t> arguments,
                         ListCodes codes, Patience patience, ListCollector& collector) {
    AnswerBuffer answer{};
    Status status = Exchange(first, arguments, patience, answer);
    if (status != Status::Ok) {
        return status;
    }
    if (AnswerLength(answer) != kListStartLength) {
        return Status::WrongLength;
    }
    status = ExpectCode(answer, kCodeListStart);
    if (status != Status::Ok) {
        return status;
    }
    collector.MarkStarted();
    for (int answers = 0; answers < kMaxListAnswers; ++answers) {
        status = Exchange(followUp, arguments, patience, answer);
        if (status != Status::Ok) {
            return status;
        }
        const uint8_t code = static_cast<uint8_t>(AnswerCode(answer));
        if (code != codes.more && code != codes.last) {
            return Status::WrongCode;
        }
        // A list longer than its buffer is cut here; the unit starts afresh at the next
        // first request.
        if (!collector.Append(answer)) {
            return Status::WrongLength;
        }
        if (code == codes.last) {
            return Status::Ok;
        }
    }
    return Status::WrongLength;
}
