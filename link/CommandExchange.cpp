#include "link/CommandExchange.h"

#include <algorithm>
#include <array>

#include "link/LineDemand.h"
#include "link/LineWork.h"
#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"

namespace {

// The command byte takes one place of the payload.
constexpr size_t kMaxArguments = kMaxPayload - 1;

std::span<const uint8_t> AsSpan(std::initializer_list<uint8_t> bytes) {
    return std::span<const uint8_t>(bytes.begin(), bytes.size());
}

using Request = std::array<uint8_t, kMaxRequestSize>;

// False when the arguments do not fit: the length byte cannot say more than 255, and our
// own requests never need it.
bool BuildRequest(uint8_t unitAddress, Command command, std::span<const uint8_t> arguments,
                  Request& request) {
    if (arguments.size() > kMaxArguments) {
        return false;
    }
    request[0] = RequestAddress(unitAddress);
    request[1] = static_cast<uint8_t>(arguments.size() + 1);
    request[2] = Byte(command);
    std::copy(arguments.begin(), arguments.end(), request.begin() + 3);
    return true;
}

uint8_t UnitAddressOf(std::span<const uint8_t> request) {
    return static_cast<uint8_t>(request.empty() ? 0 : request[0] & ~kRequestFlag);
}

uint32_t Milliseconds(Patience patience) {
    return static_cast<uint32_t>(patience.Reads() * kByteRead.count());
}

Status SendTo(uint8_t unitAddress, Command command, std::span<const uint8_t> arguments) {
    Request request{};
    if (!BuildRequest(unitAddress, command, arguments, request)) {
        return Status::WriteFailed;
    }
    if (LineWork::GivenUp(unitAddress)) {
        return Status::NoAnswer;
    }
    return CarryOnLine({unitAddress, 0}, [&] { return SendPacket(request); });
}

}  // namespace

Status CarryExchange(std::span<const uint8_t> request, Patience patience, AnswerBuffer& answer,
                     LineUse asked) {
    const LineUse use = YieldToUser::Active() ? LineUse::YieldsToUser : asked;
    const uint8_t unitAddress = UnitAddressOf(request);
    if (LineWork::GivenUp(unitAddress)) {
        answer.fill(0);
        return Status::NoAnswer;
    }
    const LineTask task{unitAddress, Milliseconds(patience)};
    const Status status = CarryOnLine(task, [&] {
        answer.fill(0);
        const Status sent = SendPacket(request, use);
        if (sent != Status::Ok) {
            return sent;
        }
        const uint32_t sent_ms = CurrentClock().TickCount();
        const Status received = ReceivePacket(answer, patience, use);
        // The request left: its answer may still come, and must not pass for the next one's.
        if (received == Status::Yielded) {
            g_link.Owed().Note(UnitOfAddress(unitAddress), sent_ms + Milliseconds(patience),
                               IsIdentifyRequest(request));
        }
        return received;
    });
    if (status == Status::NoAnswer) {
        LineWork::NoteSilence(unitAddress);
    }
    return status;
}

Status ExchangeWith(uint8_t unitAddress, Command command, std::span<const uint8_t> arguments,
                    Patience patience, AnswerBuffer& answer, LineUse use) {
    Request request{};
    if (!BuildRequest(unitAddress, command, arguments, request)) {
        return Status::WriteFailed;
    }
    return CarryExchange(request, patience, answer, use);
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

Status SendLineBreak() {
    return CarryOnLine({}, [] { return g_link.SendBreak(); });
}

Status ExpectCode(const AnswerBuffer& answer, uint8_t code) {
    return AnswerCode(answer) == code ? Status::Ok : Status::WrongCode;
}

Status ExchangeExpecting(Command command, std::initializer_list<uint8_t> arguments,
                         Patience patience, uint8_t code, AnswerBuffer& answer) {
    const Status status = Exchange(command, arguments, patience, answer);
    return status != Status::Ok ? status : ExpectCode(answer, code);
}
