#include "link/Framing.h"

#include <algorithm>

#include "link/LineCarrier.h"
#include "link/LineDemand.h"
#include "link/SerialCom.h"
#include "protocol/AnswerCodes.h"

namespace {

// The silence before every request: a late answer ends first, and every unit sees a pause
// before the address byte. It counts from the last byte that crossed the port, so a line
// quiet for that long with nothing pending takes the request at once.
constexpr uint32_t kQuietBeforeRequest_ms = 20;

// The L + 2 bytes a request is made of (address, L, payload) must all be there.
bool IsWholeRequest(std::span<const uint8_t> request) {
    return request.size() >= 2 && request.size() >= size_t{request[1]} + 2;
}

// The address byte. A failed write is the typical sign of a port that the driver aborted
// after a line error, or that went away: the port is reopened once and the byte written
// again. A reopening that fails is left for the window to report. While the port is being
// reopened aside, the request fails without a second opening of the device.
bool WriteAddressByte(uint8_t address) {
    if (g_link.WriteByte(address) == IoResult::Done) {
        return true;
    }
    if (ReopenUnderWay()) {
        return false;
    }
    if (!ReopenPort(LinkPortNumber())) {
        g_link.NoteFailureUnreported();
    }
    return g_link.WriteByte(address) == IoResult::Done;
}

// The length byte and the payload, each written once with no recovery; the checksum sums
// them as they go (modulo 256, the address byte left out).
bool WriteBody(std::span<const uint8_t> body, uint8_t& sum) {
    for (const uint8_t byte : body) {
        sum = static_cast<uint8_t>(sum + byte);
        if (g_link.WriteByte(byte) != IoResult::Done) {
            return false;
        }
    }
    return true;
}

// Tells which bytes of a stream of answers begin one: the first, then each after the L + 1
// bytes that follow a length.
class FrameStarts {
  public:
    bool Starts(uint8_t byte) {
        if (m_lengthNext) {
            m_lengthNext = false;
            m_left = byte + 1;
            return false;
        }
        if (m_left > 0) {
            --m_left;
            return false;
        }
        m_lengthNext = true;
        return true;
    }

  private:
    bool m_lengthNext = false;
    int m_left = 0;
};

// Reads up to `count` bytes and throws them away; a byte that does not come ends them.
void SkipBytes(int count) {
    uint8_t byte = 0;
    for (int k = 0; k < count && g_link.ReadByte(byte) == IoResult::Done; ++k) {
    }
}

// The rest of an answer that unit `unit` owed, after its first byte: its length, then the
// code, the data and the checksum, all thrown away.
void SkipOwedAnswer(int unit) {
    g_link.Owed().Settle(unit);
    uint8_t length = 0;
    if (g_link.ReadByte(length) == IoResult::Done) {
        SkipBytes(length + 1);
    }
}

// The request in hand: ReceivePacket tells its answer from one its unit still owes.
struct RequestInHand {
    int unit = 0;
    bool identify = false;
};
RequestInHand g_inHand;  // the line's thread only

// Before a request to a unit that still owes an answer: the unit answers in turn, and the
// answer owed may not be told from this request's, so it is waited for, at most until its
// patience runs out, and thrown away. Answers other units owe are thrown away as they come.
// A yielding request gives the line up meanwhile (false) as it would wait for its own
// answer; a failed read is left for the request's own write to find.
bool AwaitOwedAnswer(int unit, bool yields) {
    const ListenForWake listen(yields ? &LineDemand::Wake() : nullptr);
    // A line that keeps talking is left for the drain to report.
    int bytes = 0;
    while (g_link.Owed().Owes(unit) && bytes <= kDrainLimit) {
        if (yields && LineDemand::Raised()) {
            return false;
        }
        uint8_t byte = 0;
        const uint32_t wait = std::min<uint32_t>(g_link.Owed().Left_ms(unit), kByteRead.count());
        const IoResult read = g_link.ReadByteWithin(byte, wait);
        if (read == IoResult::Failed) {
            return true;
        }
        if (read == IoResult::Done) {
            ++bytes;
            if (g_link.Owed().Owes(UnitOfAddress(byte))) {
                SkipOwedAnswer(UnitOfAddress(byte));
            }
        }
    }
    return true;
}

enum class FirstByte { Arrived, Missed, Yielded };

// The answer's first byte, counting reads of up to 20 ms in `read` (from 0): a byte that
// comes on the last read of the patience does not count. A presence poll gives the line up
// as soon as the user wants it; the window's wake ends its read at once.
FirstByte AwaitFirstByte(uint8_t& byte, Patience patience, LineUse use, uint32_t& read) {
    const bool yields = use == LineUse::YieldsToUser;
    const ListenForWake listen(yields ? &LineDemand::Wake() : nullptr);
    const uint32_t tries = patience.Reads();
    while (read < tries) {
        ++read;
        if (yields && LineDemand::Raised()) {
            return FirstByte::Yielded;
        }
        if (g_link.ReadByte(byte) == IoResult::Done) {
            return read < tries ? FirstByte::Arrived : FirstByte::Missed;
        }
    }
    return yields && LineDemand::Raised() ? FirstByte::Yielded : FirstByte::Missed;
}

// L data bytes behind the code (the code's own place counted, so the checksum too). Data
// that did not all come would fill tables with zeros: such an answer is refused. A missing
// checksum alone costs nothing, as the checksum is never examined.
Status ReadAnswerData(AnswerBuffer& answer) {
    const int length = answer[kAnswerLength];
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

}  // namespace

DrainResult DrainLine() {
    uint8_t byte = 0;
    // An answer a unit owed that goes with the rest is no longer owed.
    FrameStarts frames;
    for (int discarded = 0; discarded <= kDrainLimit; ++discarded) {
        const uint32_t quiet = g_link.QuietFor_ms();
        const uint32_t wait = quiet >= kQuietBeforeRequest_ms ? 0 : kQuietBeforeRequest_ms - quiet;
        switch (g_link.ReadByteWithin(byte, wait)) {
            case IoResult::Nothing:
                return DrainResult::Silent;
            case IoResult::Failed:
                return DrainResult::ReadFailed;
            case IoResult::Done:
                if (frames.Starts(byte)) {
                    g_link.Owed().Settle(UnitOfAddress(byte));
                }
                break;
        }
    }
    return DrainResult::Flooded;
}

bool DrainInput() {
    return CarryOnLine({}, [] {
               return DrainLine() == DrainResult::Silent ? Status::Ok : Status::NoAnswer;
           }) == Status::Ok;
}

Status SendPacket(std::span<const uint8_t> request, LineUse use) {
    if (!IsWholeRequest(request)) {
        return Status::WriteFailed;
    }
    const bool yields = use == LineUse::YieldsToUser;
    const RequestInHand inHand{UnitOfAddress(request[0]), IsIdentifyRequest(request)};
    // An identify goes at once to a unit that owes a read: its answer is told by its code.
    const bool toldByCode = inHand.identify && !g_link.Owed().OwesIdentify(inHand.unit);
    if ((yields && LineDemand::Raised()) ||
        (!toldByCode && !AwaitOwedAnswer(inHand.unit, yields))) {
        return Status::Yielded;
    }
    g_inHand = inHand;
    // A failed read is the port's problem, and the address byte below reopens it; a line
    // that never pauses cannot carry a request, and is reported as a failed write.
    if (DrainLine() == DrainResult::Flooded) {
        return Status::WriteFailed;
    }
    // The user who came while the silence was waited out goes first, after that same
    // silence: a request sent now would hold the line for its answer.
    if (yields && LineDemand::Raised()) {
        return Status::Yielded;
    }
    if (!WriteAddressByte(request[0])) {
        return Status::WriteFailed;
    }
    uint8_t sum = 0;
    if (!WriteBody(request.subspan(1, size_t{request[1]} + 1), sum)) {
        return Status::WriteFailed;
    }
    // The checksum's own write is not checked: a unit that missed it answers nothing.
    static_cast<void>(g_link.WriteByte(sum));
    return Status::Ok;
}

Status ReceivePacket(AnswerBuffer& answer, Patience patience, LineUse use) {
    OwedAnswers& owed = g_link.Owed();
    uint32_t read = 0;
    for (;;) {
        answer.fill(0);
        switch (AwaitFirstByte(answer[0], patience, use, read)) {
            case FirstByte::Arrived:
                break;
            case FirstByte::Missed:
                return Status::NoAnswer;
            case FirstByte::Yielded:
                return Status::Yielded;
        }
        // Another unit's answer is the one it owes; so is an answer of the unit in hand
        // that owes a read while an identify waits, unless it carries the identify's code.
        const int unit = UnitOfAddress(answer[0]);
        if (owed.Owes(unit) && unit != g_inHand.unit) {
            SkipOwedAnswer(unit);
            continue;
        }
        if (g_link.ReadByte(answer[kAnswerLength]) != IoResult::Done) {
            return Status::NoLength;
        }
        if (g_link.ReadByte(answer[kAnswerCode]) != IoResult::Done) {
            return Status::NoCode;
        }
        if (owed.Owes(unit) && g_inHand.identify && !owed.OwesIdentify(unit) &&
            answer[kAnswerCode] != kCodeIdentify) {
            owed.Settle(unit);
            SkipBytes(answer[kAnswerLength]);
            continue;
        }
        return ReadAnswerData(answer);
    }
}
