#include "link/MenuDataCommands.h"

#include <algorithm>

#include "link/CommandExchange.h"
#include "protocol/AnswerCodes.h"

Status PrepareMenuData() {
    AnswerBuffer answer{};
    return ExchangeExpecting(Command::PrepareMenuData, {}, kPatience40ms, kCodeMenuDataReady,
                             answer);
}

Status ReadMenuData(std::span<uint8_t> destination) {
    size_t offset = 0;
    int emptyAnswers = 0;
    AnswerBuffer answer{};
    for (;;) {
        const Status status = Exchange(Command::ReadMenuData, {}, kPatience10s, answer);
        if (status != Status::Ok) {
            return status;
        }
        const int length = AnswerLength(answer);
        if (length == 0) {
            return Status::WrongLength;
        }
        const size_t count = static_cast<size_t>(length - 1);
        const size_t room = destination.size() - offset;
        std::copy_n(answer.begin() + kAnswerData, std::min(count, room),
                    destination.begin() + static_cast<std::ptrdiff_t>(offset));
        if (count > room) {
            return Status::MenuDataOverflow;
        }
        offset += count;
        if (AnswerCode(answer) == kCodeMenuDataLast) {
            return Status::Ok;
        }
        // A unit that never sends data nor the last chunk would hold the panel forever.
        if (count == 0 && ++emptyAnswers > kMaxEmptyMenuDataAnswers) {
            return Status::MenuDataOverflow;
        }
    }
}
