#include "link/SetOnAirLockout.h"

#include "link/CommandExchange.h"

namespace {

constexpr uint8_t kCommandSetLockout = 0xB8;
constexpr uint8_t kCodeLockoutSet = 0x00;
constexpr uint32_t kLockoutTries = kTries10k;

}  // namespace

int SetOnAirLockout(uint8_t number, uint8_t state) {
    AnswerBuffer answer{};
    return ExchangeExpecting({kCommandSetLockout, number, state}, kLockoutTries, kCodeLockoutSet,
                             answer);
}
