#include "link/MenuDataCommands.h"

#include <algorithm>

#include "link/CommandExchange.h"

namespace {

constexpr uint8_t kCommandPrepareMenuData = 0xC5;
constexpr uint8_t kCommandReadMenuData = 0xC1;

constexpr uint32_t kPrepareTries = kTries2;
constexpr uint32_t kChunkTries = kTries500k;

}  // namespace

int PrepareMenuData() {
    AnswerBuffer answer{};
    return ExchangeExpecting({kCommandPrepareMenuData}, kPrepareTries, kCodeMenuDataReady, answer);
}

int ReadMenuData(std::span<uint8_t> destination) {
    size_t offset = 0;
    int emptyAnswers = 0;
    AnswerBuffer answer{};
    for (;;) {
        const int status = Exchange({kCommandReadMenuData}, kChunkTries, answer);
        if (status != kStatusOk) {
            return status;
        }
        const int length = AnswerLength(answer.data());
        if (length == 0) {
            return kStatusWrongLength;
        }
        const size_t count = static_cast<size_t>(length - 1);
        const size_t room = destination.size() - offset;
        std::copy_n(answer.begin() + kAnswerData, std::min(count, room),
                    destination.begin() + static_cast<std::ptrdiff_t>(offset));
        if (count > room) {
            return kStatusMenuDataOverflow;
        }
        offset += count;
        if (AnswerCode(answer.data()) == kCodeMenuDataLast) {
            return kStatusOk;
        }
        // A unit that never sends data nor the last chunk would hold the panel forever.
        if (count == 0 && ++emptyAnswers > kMaxEmptyMenuDataAnswers) {
            return kStatusMenuDataOverflow;
        }
    }
}
