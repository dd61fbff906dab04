#include "link/CollectedList.h"

#include <algorithm>

#include "link/CommandExchange.h"

namespace {

constexpr uint8_t kCodeListStart = 0x00;
constexpr int kListStartLength = 1;

}  // namespace

bool ListArrived(int status, const ListCollector& collector) {
    return status == kStatusOk ||
           (status == kStatusWrongLength && collector.Started() && collector.Full());
}

bool ListCollector::Append(const AnswerBuffer& answer) {
    const auto dataCount = static_cast<size_t>(AnswerDataCount(answer.data()));
    const size_t room = m_buffer.size() - m_size;
    const size_t taken = std::min(dataCount, room);
    std::copy_n(answer.begin() + kAnswerData, taken, m_buffer.begin() + m_size);
    m_size += taken;
    return taken == dataCount;
}

int ReadCollectedList(std::vector<uint8_t> request, uint8_t followUp, ListCodes codes,
                      uint32_t tries, ListCollector& collector) {
    AnswerBuffer answer{};
    int status = Exchange(request, tries, answer);
    if (status != kStatusOk) {
        return status;
    }
    if (AnswerLength(answer.data()) != kListStartLength) {
        return kStatusWrongLength;
    }
    status = ExpectCode(answer, kCodeListStart);
    if (status != kStatusOk) {
        return status;
    }
    collector.MarkStarted();
    request[0] = followUp;
    for (int answers = 0; answers < kMaxListAnswers; ++answers) {
        status = Exchange(request, tries, answer);
        if (status != kStatusOk) {
            return status;
        }
        const uint8_t code = static_cast<uint8_t>(AnswerCode(answer.data()));
        if (code != codes.more && code != codes.last) {
            return kStatusWrongCode;
        }
        // A list longer than its buffer is cut here; the unit starts afresh at the next
        // first request.
        if (!collector.Append(answer)) {
            return kStatusWrongLength;
        }
        if (code == codes.last) {
            return kStatusOk;
        }
    }
    return kStatusWrongLength;
}
