#include "link/SetOnAirLockout.h"

#include "link/CommandExchange.h"
#include "protocol/AnswerCodes.h"

Status SetOnAirLockout(uint8_t number, uint8_t state) {
    AnswerBuffer answer{};
    return ExchangeExpecting(Command::SetOnAirLockout, {number, state}, kPatience60s,
                             kCodeLockoutSet, answer);
}
