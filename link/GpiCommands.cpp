#include "link/GpiCommands.h"

#include <algorithm>

#include "link/CollectedList.h"
#include "link/CommandExchange.h"
#include "protocol/AnswerCodes.h"

namespace {

// A record on the wire: 3 bytes, the name, the step, n, then n (kind, file) pairs.
constexpr size_t kRecordHeadSize = 3;
constexpr size_t kRecordFixedSize = kRecordHeadSize + kNameBytes + 2;

}  // namespace

Status ReadGpiEventList() {
    std::array<uint8_t, kGpiListBufferSize> collected{};
    ListCollector collector(collected);
    const Status status =
        ReadCollectedList(Command::ReadGpiEventListFirst, Command::ReadGpiEventListFollowUp, {},
                          kGpiListCodes, kPatience10s, collector);
    if (ListArrived(status, collector)) {
        StoreGpiList(collector.Bytes(), g_gpiList);
    }
    return status;
}

SequenceParse ParseSequenceRecord(std::span<const uint8_t> data, GpiSequenceRecord& record) {
    SequenceParse result = SequenceParse::Whole;
    size_t offset = 0;
    while (offset < data.size()) {
        GpiSequenceRecord parsed{};
        parsed.marker = kSequenceRecordRead;
        // Fields that did not arrive read as zero.
        uint8_t fixed[kRecordFixedSize] = {};
        const size_t fixedTaken = std::min(kRecordFixedSize, data.size() - offset);
        std::copy_n(data.begin() + offset, fixedTaken, fixed);
        offset += fixedTaken;
        std::copy_n(fixed, kRecordHeadSize, parsed.head.begin());
        std::copy_n(fixed + kRecordHeadSize, kNameBytes, parsed.name.begin());
        parsed.step = fixed[kRecordHeadSize + kNameBytes];
        const size_t claimed = fixed[kRecordHeadSize + kNameBytes + 1];

        const size_t pairsPresent = (data.size() - offset) / 2;
        const size_t events = std::min({claimed, pairsPresent, size_t{kMaxGpiEvents}});
        if (events < claimed || fixedTaken < kRecordFixedSize) {
            result = SequenceParse::Truncated;
        }
        for (size_t j = 0; j < events; ++j) {
            parsed.eventKind[j] = data[offset + 2 * j];
            parsed.eventFile[j] = data[offset + 2 * j + 1];
        }
        parsed.eventCount = static_cast<uint8_t>(events);
        // Pairs past the 200th still belong to this record on the wire; a record that ends
        // early takes the rest of the data with it.
        offset = claimed <= pairsPresent ? offset + 2 * claimed : data.size();
        record = parsed;
    }
    return result;
}

Status ReadGpiSequence(uint8_t gpi, GpiSequenceAction action) {
    const uint8_t arguments[] = {gpi, Byte(action)};
    AnswerBuffer answer{};
    // Reset and step make the unit act on the sequence; a read answers from what it holds.
    const Patience patience = action == GpiSequenceAction::Read ? kPatience10s : kPatience60s;
    Status status = Exchange(Command::ReadGpiSequence, arguments, patience, answer);
    if (status != Status::Ok || action != GpiSequenceAction::Read) {
        return status;
    }
    // The unit may answer with other codes while it prepares the record; only the 5F answer
    // carries the record to keep.
    for (int answers = 1; AnswerCode(answer) != kCodeSequenceRecord; ++answers) {
        if (answers >= kMaxSequenceAnswers) {
            return Status::WrongCode;
        }
        status = Exchange(Command::ReadGpiSequence, arguments, kPatience10s, answer);
        if (status != Status::Ok) {
            return status;
        }
    }
    const auto dataCount = static_cast<size_t>(AnswerDataCount(answer));
    if (dataCount == 0 || gpi >= kGpiSlots) {
        return Status::Ok;
    }
    const auto data = std::span<const uint8_t>(answer).subspan(kAnswerData, dataCount);
    return ParseSequenceRecord(data, g_gpiSequence[gpi]) == SequenceParse::Whole
               ? Status::Ok
               : Status::WrongLength;
}

Status SetGpiEvent(uint8_t gpi, uint8_t position, uint8_t insert, uint8_t fileId) {
    AnswerBuffer answer{};
    return ExchangeExpecting(Command::SetGpiEvent,
                             {gpi, position, insert, kGpiEventKindFile, fileId}, kPatience60s,
                             kCodeGpiEventSet, answer);
}

Status ReadGpiStatus(AnswerBuffer& answer) {
    return ExchangeExpecting(Command::ReadGpiStatus, {}, kPatience10s, kCodeGpiStatus, answer);
}
