#include "link/UnitCommands.h"

#include <algorithm>
#include <cstring>

#include "link/CommandExchange.h"

namespace {

constexpr uint8_t kCommandIdentify = 0xC0;
constexpr uint8_t kCommandSettingsLabel = 0xB6;
constexpr uint8_t kCommandUnitMessage = 0xB5;
constexpr uint8_t kCommandUnitReply = 0x9E;
constexpr uint8_t kCommandVersionInfo = 0xAB;

constexpr uint32_t kIdentifyTries = kTries10;
constexpr uint32_t kTextTries = kTries10k;
constexpr uint32_t kRelayTries = kTries100k;

constexpr int kSettingsTextStart = 2;
constexpr int kMessageTextStart = 0;

// The zero-ended text in the answer data from `first` on; a text without its zero ends with
// the data, so the unit's checksum never becomes a character.
std::string DataText(const AnswerBuffer& answer, int first) {
    std::string text;
    const int dataCount = AnswerDataCount(answer.data());
    for (int k = first; k < dataCount; ++k) {
        const uint8_t byte = AnswerData(answer.data(), k);
        if (byte == 0) {
            break;
        }
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

}  // namespace

int IdentifyUnit(uint8_t unitAddress, UnitStatus& status) {
    status.fill(0);
    AnswerBuffer answer{};
    const int result = ExchangeWith(unitAddress, {kCommandIdentify}, kIdentifyTries, answer);
    if (result != kStatusOk) {
        return result;
    }
    if (AnswerCode(answer.data()) != kCodeIdentify) {
        return kStatusWriteFailed;
    }
    std::copy_n(answer.begin(), status.size(), status.begin());
    return kStatusOk;
}

int IdentifySelectedUnit() {
    return IdentifyUnit(g_currentUnitAddress, g_unitStatus);
}

int IdentifySelectedUnitRepeatedly(int attempts) {
    int result = kStatusNoAnswer;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        result = IdentifySelectedUnit();
        if (result == kStatusOk) {
            break;
        }
    }
    return result;
}

int ReadSettingsLabel(std::string& text) {
    AnswerBuffer answer{};
    const int status =
        ExchangeExpecting({kCommandSettingsLabel}, kTextTries, kCodeSettingsLabel, answer);
    if (status == kStatusOk) {
        text = DataText(answer, kSettingsTextStart);
    }
    return status;
}

int ReadUnitMessage() {
    AnswerBuffer answer{};
    const int status =
        ExchangeExpecting({kCommandUnitMessage}, kTextTries, kCodeUnitMessage, answer);
    if (status == kStatusOk) {
        g_unitMessage = DataText(answer, kMessageTextStart);
    }
    return status;
}

int SendUnitReply(uint8_t kind, uint8_t value) {
    AnswerBuffer answer{};
    return ExchangeExpecting({kCommandUnitReply, kind, value}, kTextTries, kCodeUnitReply, answer);
}

int ReadVersionInfo(uint8_t* info) {
    std::memset(info, 0, kVersionInfoSize);
    AnswerBuffer answer{};
    const int status = Exchange({kCommandVersionInfo}, kTextTries, answer);
    if (status != kStatusOk) {
        return status;
    }
    const int count = std::min(AnswerDataCount(answer.data()), kVersionInfoSize);
    for (int k = 0; k < count; ++k) {
        info[k] = AnswerData(answer.data(), k);
    }
    return kStatusOk;
}

int RelayPacket(const uint8_t* packet, uint8_t* answer) {
    std::memset(answer, 0, kAnswerBufferSize);
    std::array<uint8_t, kMaxRequestSize> request{};
    request[0] = RequestAddress(g_currentUnitAddress);
    // Length, payload and the byte after it (the old checksum, which SendPacket replaces).
    const int length = packet[1];
    std::copy_n(packet + 1, length + 2, request.begin() + 1);
    int status = SendPacket(request.data());
    if (status != kStatusOk) {
        return status;
    }
    AnswerBuffer received{};
    status = ReceivePacket(received.data(), kRelayTries);
    if (status == kStatusOk) {
        std::copy(received.begin(), received.end(), answer);
    }
    return status;
}

int ReadPanelKeys() {
    std::memset(g_panelKeys, 0, sizeof g_panelKeys);
    return kStatusWriteFailed;
}
