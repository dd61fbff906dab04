#include "link/Framing.h"

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

bool DrainInput() {
    return DrainLine() == DrainResult::Silent;
}

Status SendPacket(std::span<const uint8_t> request) {
    if (request.size() < 2 || request.size() < size_t{request[1]} + 2) {
        return Status::WriteFailed;
    }
    // A failed read is the port's problem, and the first write below reopens it; a line that
    // never pauses cannot carry a request, and is reported as a failed write.
    if (DrainLine() == DrainResult::Flooded) {
        return Status::WriteFailed;
    }
    if (g_link.WriteByte(request[0]) != IoResult::Done) {
        // The second write tells whether the port came back.
        static_cast<void>(ReopenPort(LinkPortNumber()));
        if (g_link.WriteByte(request[0]) != IoResult::Done) {
            return Status::WriteFailed;
        }
    }
    const size_t length = request[1];
    uint8_t sum = 0;
    for (size_t i = 1; i <= length + 1; ++i) {
        sum = static_cast<uint8_t>(sum + request[i]);
        if (g_link.WriteByte(request[i]) != IoResult::Done) {
            return Status::WriteFailed;
        }
    }
    g_link.WriteByte(sum);
    return Status::Ok;
}

Status ReceivePacket(AnswerBuffer& answer, Patience patience) {
    answer.fill(0);
    const uint32_t tries = patience.Reads();
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
        return Status::NoAnswer;
    }
    if (g_link.ReadByte(answer[1]) != IoResult::Done) {
        return Status::NoLength;
    }
    if (g_link.ReadByte(answer[2]) != IoResult::Done) {
        return Status::NoCode;
    }
    // Data that did not all come would fill tables with zeros: such an answer is refused. A
    // missing checksum alone costs nothing, as the checksum is never examined.
    const int length = answer[1];
    for (int k = 0; k < length; ++k) {
        uint8_t byte = 0;
        if (g_link.ReadByte(byte) == IoResult::Done) {
            answer[kAnswerData + k] = byte;
        } else if (k < length - 1) {
            return Status::CutShort;
        }
    }
    return Status::Ok;
}
