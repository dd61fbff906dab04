#include "link/CommandExchange.h"

#include <algorithm>
#include <array>

#include "model/PanelModel.h"

namespace {

// The command byte takes one place of the payload.
constexpr size_t kMaxArguments = kMaxPayload - 1;

std::span<const uint8_t> AsSpan(std::initializer_list<uint8_t> bytes) {
    return std::span<const uint8_t>(bytes.begin(), bytes.size());
}

Status SendTo(uint8_t unitAddress, Command command, std::span<const uint8_t> arguments) {
    // The length byte cannot say more than 255; our own requests never need it.
    if (arguments.size() > kMaxArguments) {
        return Status::WriteFailed;
    }
    std::array<uint8_t, kMaxRequestSize> request{};
    request[0] = RequestAddress(unitAddress);
    request[1] = static_cast<uint8_t>(arguments.size() + 1);
    request[2] = Byte(command);
    std::copy(arguments.begin(), arguments.end(), request.begin() + 3);
    return SendPacket(request);
}

}  // namespace

Status ExchangeWith(uint8_t unitAddress, Command command, std::span<const uint8_t> arguments,
                    Patience patience, AnswerBuffer& answer) {
    const Status sent = SendTo(unitAddress, command, arguments);
    if (sent != Status::Ok) {
        return sent;
    }
    return ReceivePacket(answer, patience);
}

Status ExchangeWith(uint8_t unitAddress, Command command, std::initializer_list<uint8_t> arguments,
                    Patience patience, AnswerBuffer& answer) {
    return ExchangeWith(unitAddress, command, AsSpan(arguments), patience, answer);
}

Status Exchange(Command command, std::span<const uint8_t> arguments, Patience patience,
                AnswerBuffer& answer) {
    return ExchangeWith(g_currentUnitAddress, command, arguments, patience, answer);
}

Status Exchange(Command command, std::initializer_list<uint8_t> arguments, Patience patience,
                AnswerBuffer& answer) {
    return ExchangeWith(g_currentUnitAddress, command, AsSpan(arguments), patience, answer);
}

Status SendRequestTo(uint8_t unitAddress, Command command,
                     std::initializer_list<uint8_t> arguments) {
    return SendTo(unitAddress, command, AsSpan(arguments));
}

Status SendRequest(Command command, std::initializer_list<uint8_t> arguments) {
    return SendRequestTo(g_currentUnitAddress, command, arguments);
}

Status ExpectCode(const AnswerBuffer& answer, uint8_t code) {
    return AnswerCode(answer) == code ? Status::Ok : Status::WrongCode;
}

Status ExchangeExpecting(Command command, std::initializer_list<uint8_t> arguments,
                         Patience patience, uint8_t code, AnswerBuffer& answer) {
    const Status status = Exchange(command, arguments, patience, answer);
    return status != Status::Ok ? status : ExpectCode(answer, code);
}
