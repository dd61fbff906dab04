#include "link/Framing.h"

#include <cstring>

#include "link/SerialCom.h"

DrainResult DrainLine() {
    uint8_t byte = 0;
    for (int discarded = 0; discarded <= kDrainLimit; ++discarded) {
        switch (g_link.ReadByte(byte)) {
            case IoResult::Nothing:
                return DrainResult::Silent;
            case IoResult::Failed:
                return DrainResult::ReadFailed;
            case IoResult::Done:
                break;
        }
    }
    return DrainResult::Flooded;
}

int DrainInput() {
    return DrainLine() == DrainResult::Silent ? 1 : 0;
}

int SendPacket(const uint8_t* request) {
    // A failed read is the port's problem, and the first write below reopens it; a line that
    // never pauses cannot carry a request, and is reported as a failed write.
    if (DrainLine() == DrainResult::Flooded) {
        return kStatusWriteFailed;
    }
    if (g_link.WriteByte(request[0]) != IoResult::Done) {
        ReopenPort(LinkPortNumber());
        if (g_link.WriteByte(request[0]) != IoResult::Done) {
            return kStatusWriteFailed;
        }
    }
    const int length = request[1];
    uint8_t sum = 0;
    for (int i = 1; i <= length + 1; ++i) {
        sum = static_cast<uint8_t>(sum + request[i]);
        if (g_link.WriteByte(request[i]) != IoResult::Done) {
            return kStatusWriteFailed;
        }
    }
    g_link.WriteByte(sum);
    return kStatusOk;
}

int ReceivePacket(uint8_t* answer, uint32_t tries) {
    std::memset(answer, 0, kAnswerBufferSize);
    uint32_t reads = 0;
    bool gotFirst = false;
    while (reads < tries) {
        ++reads;
        if (g_link.ReadByte(answer[0]) == IoResult::Done) {
            gotFirst = true;
            break;
        }
    }
    // A byte that arrives on the last allowed read does not count.
    if (!gotFirst || reads >= tries) {
        return kStatusNoAnswer;
    }
    if (g_link.ReadByte(answer[1]) != IoResult::Done) {
        return kStatusNoLength;
    }
    if (g_link.ReadByte(answer[2]) != IoResult::Done) {
        return kStatusNoCode;
    }
    const int length = answer[1];
    for (int k = 0; k < length; ++k) {
        uint8_t byte = 0;
        if (g_link.ReadByte(byte) == IoResult::Done) {
            answer[3 + k] = byte;
        }
    }
    return kStatusOk;
}
