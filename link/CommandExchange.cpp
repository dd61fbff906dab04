#include "link/CommandExchange.h"

#include <array>

#include "model/PanelModel.h"

namespace {

constexpr size_t kMaxPayload = 255;

int SendTo(uint8_t unitAddress, std::span<const uint8_t> payload) {
    // The length byte cannot say more than 255; our own requests never need it.
    if (payload.empty() || payload.size() > kMaxPayload) {
        return kStatusWriteFailed;
    }
    std::array<uint8_t, kMaxRequestSize> request{};
    request[0] = RequestAddress(unitAddress);
    request[1] = static_cast<uint8_t>(payload.size());
    for (size_t i = 0; i < payload.size(); ++i) {
        request[2 + i] = payload[i];
    }
    return SendPacket(request.data());
}

}  // namespace

int ExchangeWith(uint8_t unitAddress, std::span<const uint8_t> payload, uint32_t tries,
                 AnswerBuffer& answer) {
    const int sent = SendTo(unitAddress, payload);
    if (sent != kStatusOk) {
        return sent;
    }
    return ReceivePacket(answer.data(), tries);
}

int ExchangeWith(uint8_t unitAddress, std::initializer_list<uint8_t> payload, uint32_t tries,
                 AnswerBuffer& answer) {
    return ExchangeWith(unitAddress, std::span<const uint8_t>(payload.begin(), payload.size()),
                        tries, answer);
}

int Exchange(std::span<const uint8_t> payload, uint32_t tries, AnswerBuffer& answer) {
    return ExchangeWith(g_currentUnitAddress, payload, tries, answer);
}

int Exchange(std::initializer_list<uint8_t> payload, uint32_t tries, AnswerBuffer& answer) {
    return ExchangeWith(g_currentUnitAddress, payload, tries, answer);
}

int SendRequest(std::initializer_list<uint8_t> payload) {
    return SendTo(g_currentUnitAddress, std::span<const uint8_t>(payload.begin(), payload.size()));
}

int ExpectCode(const AnswerBuffer& answer, uint8_t code) {
    return AnswerCode(answer.data()) == code ? kStatusOk : kStatusWrongCode;
}

int ExchangeExpecting(std::initializer_list<uint8_t> payload, uint32_t tries, uint8_t code,
                      AnswerBuffer& answer) {
    const int status = Exchange(payload, tries, answer);
    return status != kStatusOk ? status : ExpectCode(answer, code);
}
