// Fuzz target: a line of the line protocol, parsed and carried out (fuzz/remote/RemoteChecks.h).
#include <cstdio>
#include <cstdlib>

#include "fuzz/remote/RemoteChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!CheckCommandLine(data, size)) {
        std::fprintf(stderr, "invariant of remote_line broken\n");
        std::abort();
    }
    return 0;
}
