#include <cstdlib>

#include "fuzz/FuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!FuzzAnswers(data, size)) {
        std::abort();
    }
    return 0;
}
