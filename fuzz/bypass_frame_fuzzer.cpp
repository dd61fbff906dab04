// The bypass port's frame assembler over any byte stream: every frame it hands out is whole
// and well formed, its buffer stays within its capacity, and every byte is either in a frame,
// still pending, or counted as dropped.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dialogs/BypassFrame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // Byte 0 picks a capacity, so frames that cannot fit are met too.
    BypassFrameAssembler assembler(kBypassFrameOverhead + 1 + data[0] % kBypassFrameBufferSize);
    uint64_t framed = 0;
    for (size_t i = 1; i < size; ++i) {
        if (assembler.Push(data[i])) {
            const auto frame = assembler.Frame();
            if (frame.size() < kBypassFrameOverhead + 1 || frame[0] != kBypassFrameStart ||
                frame[1] == 0 || frame.size() != frame[1] + kBypassFrameOverhead ||
                frame.size() > assembler.Capacity()) {
                std::abort();
            }
            framed += frame.size();
        }
        if (assembler.Pending() > assembler.Capacity()) {
            std::abort();
        }
    }
    if (framed + assembler.Pending() + assembler.DroppedBytes() != size - 1) {
        std::abort();
    }
    return 0;
}
