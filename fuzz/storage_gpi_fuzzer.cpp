// The GPI list and sequence records, from hostile answers and as raw record data.
#include <cstdlib>

#include "fuzz/storage_fuzz_line.h"
#include "link/GpiCommands.h"

namespace {

void CheckRecord(const GpiSequenceRecord& record) {
    if (record.eventCount > kMaxGpiEvents) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    GpiSequenceRecord direct;
    ParseSequenceRecord({data, size}, direct);
    CheckRecord(direct);

    storage_fuzz::ScriptedLine line({data + 1, size - 1});
    static_cast<void>(ReadGpiEventList());
    if (g_gpiList.count < 0 || g_gpiList.count > kGpiSlots) {
        std::abort();
    }
    static_cast<void>(ReadGpiSequence(data[0] % (kGpiSlots + 2), GpiSequenceAction::Read));
    for (const GpiSequenceRecord& record : g_gpiSequence) {
        CheckRecord(record);
    }
    AnswerBuffer status{};
    static_cast<void>(ReadGpiStatus(status));
    return 0;
}
