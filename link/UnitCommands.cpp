#include "link/UnitCommands.h"

#include <algorithm>
#include <cstring>

#include "link/CommandExchange.h"
#include "protocol/AnswerCodes.h"

namespace {

constexpr int kSettingsTextStart = 2;
constexpr int kMessageTextStart = 0;

// The zero-ended text in the answer data from `first` on; a text without its zero ends with
// the data, so the unit's checksum never becomes a character.
std::string DataText(const AnswerBuffer& answer, int first) {
    std::string text;
    const int dataCount = AnswerDataCount(answer);
    for (int k = first; k < dataCount; ++k) {
        const uint8_t byte = AnswerData(answer, k);
        if (byte == 0) {
            break;
        }
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

}  // namespace

Status IdentifyUnit(uint8_t unitAddress, UnitStatus& status, LineUse use) {
    status.fill(0);
    AnswerBuffer answer{};
    const Status result = ExchangeWith(unitAddress, Command::IdentifyUnit,
                                       std::span<const uint8_t>{}, kPatience200ms, answer, use);
    if (result != Status::Ok) {
        return result;
    }
    if (AnswerCode(answer) != kCodeIdentify) {
        return Status::WriteFailed;
    }
    std::copy_n(answer.begin(), status.size(), status.begin());
    return Status::Ok;
}

Status IdentifySelectedUnit() {
    return IdentifyUnit(g_currentUnitAddress, g_unitStatus);
}

Status IdentifySelectedUnitRepeatedly(int attempts) {
    Status result = Status::NoAnswer;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        result = IdentifySelectedUnit();
        if (result == Status::Ok) {
            break;
        }
    }
    return result;
}

Status ReadSettingsLabel(std::string& text) {
    AnswerBuffer answer{};
    const Status status =
        ExchangeExpecting(Command::ReadSettingsLabel, {}, kPatience10s, kCodeSettingsLabel, answer);
    if (status == Status::Ok) {
        text = DataText(answer, kSettingsTextStart);
    }
    return status;
}

Status ReadUnitMessage() {
    AnswerBuffer answer{};
    const Status status =
        ExchangeExpecting(Command::ReadUnitMessage, {}, kPatience10s, kCodeUnitMessage, answer);
    if (status == Status::Ok) {
        g_unitMessage = DataText(answer, kMessageTextStart);
    }
    return status;
}

Status SendUnitReply(ReplyKind kind, uint8_t value) {
    AnswerBuffer answer{};
    return ExchangeExpecting(Command::SendUnitReply, {Byte(kind), value}, kPatience60s,
                             kCodeUnitReply, answer);
}

Status ReadVersionInfo(std::span<uint8_t, kVersionInfoSize> info) {
    std::fill(info.begin(), info.end(), 0);
    AnswerBuffer answer{};
    const Status status = Exchange(Command::ReadVersionInfo, {}, kPatience10s, answer);
    if (status != Status::Ok) {
        return status;
    }
    const int count = std::min(AnswerDataCount(answer), kVersionInfoSize);
    for (int k = 0; k < count; ++k) {
        info[k] = AnswerData(answer, k);
    }
    return Status::Ok;
}

Status RelayPacket(std::span<const uint8_t> packet, AnswerBuffer& answer) {
    answer.fill(0);
    if (packet.size() < 2 || packet.size() < size_t{packet[1]} + 2) {
        return Status::WriteFailed;
    }
    // Length and payload behind our own address byte; SendPacket adds a fresh checksum.
    std::array<uint8_t, kMaxRequestSize> request{};
    request[0] = RequestAddress(g_currentUnitAddress);
    const auto sent = packet.subspan(1, size_t{packet[1]} + 1);
    std::copy(sent.begin(), sent.end(), request.begin() + 1);
    AnswerBuffer received{};
    const Status status = CarryExchange(request, kPatience60s, received);
    if (status == Status::Ok) {
        answer = received;
    }
    return status;
}

Status ReadPanelKeys() {
    std::memset(g_panelKeys, 0, sizeof g_panelKeys);
    return Status::WriteFailed;
}
