// Fuzz target: an OSC datagram, carried out by the panel (fuzz/remote/RemoteChecks.h).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/remote/RemoteChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (std::string why; !CheckOscPacket(data, size, &why)) {
        std::fprintf(stderr, "invariant of remote_osc broken: %s\n", why.c_str());
        std::abort();
    }
    return 0;
}
