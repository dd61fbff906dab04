#pragma once

#include <ostream>

#include "protocol/Status.h"

// Failed expectations name a Status in words and number.
inline void PrintTo(Status status, std::ostream* out) {
    *out << StatusText(status) << " (" << static_cast<int>(status) << ")";
}
