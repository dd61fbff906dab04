#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "link/Framing.h"
#include "sim/line/SimLine.h"
#include "tests/support/LinkFixture.h"

// The link on an in-process line served by simulated units: a KV-11 (full family) as unit 1
// and a KV-4 (compact, lock-out functions first) as unit 2; units 3 and 4 are absent.
class SimLineFixture : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        UsePeer(&units);
    }

    // One exchange through the framing: status, and the answer in `answer`.
    Status Exchange(int unit, const std::vector<uint8_t>& payload,
                    Patience patience = kPatience10s) {
        std::vector<uint8_t> request(kMaxRequestSize, 0);
        request[0] = RequestAddress(static_cast<uint8_t>(unit << 4));
        request[1] = static_cast<uint8_t>(payload.size());
        std::copy(payload.begin(), payload.end(), request.begin() + 2);
        const Status sent = SendPacket(request);
        if (sent != Status::Ok) {
            return sent;
        }
        return ReceivePacket(answer, patience);
    }

    int Length() const { return AnswerLength(answer); }
    int Code() const { return AnswerCode(answer); }
    uint8_t Data(int k) const { return AnswerData(answer, k); }
    int Word(int k) const { return static_cast<int16_t>((Data(k) << 8) | Data(k + 1)); }
    // Answer data bytes 0 .. L-2.
    std::vector<uint8_t> DataBytes() const {
        return std::vector<uint8_t>(answer.begin() + kAnswerData,
                                    answer.begin() + kAnswerData + std::max(Length() - 1, 0));
    }

    SimLine units{{{1, 11}, {2, 4}}};
    AnswerBuffer answer{};
};
