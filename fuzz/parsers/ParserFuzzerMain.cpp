// The fuzz target of one parser check, chosen when the target is built (VCP_PARSER_TARGET).
#include <cstdio>
#include <cstdlib>

#include "fuzz/parsers/ParserChecks.h"

namespace {

const ParserTarget& Target() {
    static const ParserTarget* target = FindParserTarget(VCP_PARSER_TARGET);
    if (target == nullptr) {
        std::fprintf(stderr, "no parser check named %s\n", VCP_PARSER_TARGET);
        std::abort();
    }
    return *target;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Target().check({data, size})) {
        std::fprintf(stderr, "invariant of %s broken\n", Target().name);
        std::abort();
    }
    return 0;
}
