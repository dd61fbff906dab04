// Fuzz target: a client's lines of the line protocol, carried out by the panel
// (fuzz/remote/RemoteChecks.h).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/remote/RemoteChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (std::string why; !CheckCommandLine(data, size, &why)) {
        std::fprintf(stderr, "invariant of remote_line broken: %s\n", why.c_str());
        std::abort();
    }
    return 0;
}
