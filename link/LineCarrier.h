#pragma once

#include <cstdint>
#include <functional>

#include "protocol/Status.h"

// How a piece of line work may be treated while it waits for its answer.
enum class LineUse {
    Ordinary,      // runs to its end
    YieldsToUser,  // gives the line up (Status::Yielded) when the user wants it
};

// What a carried piece of work is, for the window's word on what it waits for.
struct LineTask {
    uint8_t unitAddress = 0;
    uint32_t patience_ms = 0;  // the longest it waits for an answer
};

// Where the link's exchanges run. Without a carrier they run on the caller's thread, as the
// probe, the soak and the tests want; the panel installs one that runs them on a thread of
// their own while its window keeps answering. Either way one exchange is on the wire at a
// time, in the order they were asked for.
class LineCarrier {
  public:
    virtual ~LineCarrier() = default;
    // Runs `work` where the line is and returns its status once it is done.
    virtual Status Carry(const LineTask& task, const std::function<Status()>& work) = 0;
    // Runs `work` on the line behind the work asked for before it, and returns at once (any
    // thread).
    virtual void Post(std::function<void()> work) = 0;
    // Runs `work` on a thread of its own, neither the line's nor the window's, and returns at
    // once (any thread): for what may wait seconds on something other than the units, such as
    // a device server's connection.
    virtual void Aside(std::function<void()> work) = 0;
};

// Installs `carrier` (nullptr: exchanges run on the caller's thread). The caller keeps it.
void SetLineCarrier(LineCarrier* carrier);

// Post and Aside of the installed carrier; without one, `work` runs here before they return.
void PostOnLine(std::function<void()> work);
void RunAside(std::function<void()> work);

// Runs `work` on the line: through the installed carrier, or right here on the line's own
// thread or without a carrier. Afterwards, on the calling thread, a port that the link
// could not reopen meanwhile goes to the port failure reaction (a stop box without one).
Status CarryOnLine(const LineTask& task, const std::function<Status()>& work);

// Marks the calling thread as the line's own: its work runs in place.
void MarkLineThread();
bool OnLineThread();
