#pragma once

#include "platform/ReadWake.h"

// The user's claim on the line. The window raises it when input arrives while the line
// works; a presence poll still waiting for its answer then gives the line up at once, so a
// knob or a button never waits out the patience of an empty address. The window clears it
// once the input it held back has been handled.
class LineDemand {
  public:
    static void Raise();  // any thread
    static void Clear();
    static bool Raised();
    // What the reads of a yielding exchange listen to.
    static const ReadWake& Wake();
};

// While an instance lives, the exchanges asked for on this thread give the line up to the
// user as a presence poll does: the poll's reads of values a unit flagged, which are read
// again at a later tick. Used on the window's thread.
class YieldToUser {
  public:
    YieldToUser();
    ~YieldToUser();
    YieldToUser(const YieldToUser&) = delete;
    YieldToUser& operator=(const YieldToUser&) = delete;
    static bool Active();
};
