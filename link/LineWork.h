#pragma once

#include <cstdint>
#include <functional>
#include <string>

// One piece of work on the line: a selection with its reads and router settings, a dialog
// from its opening to its closing, a routing send, a file clear, one poll tick. A unit that
// leaves a request unanswered inside it is asked nothing more until the piece ends, so the
// rest of the work stops at once instead of waiting out every request's patience; the
// status poll, a piece of its own, brings the unit back. Pieces nest: the outermost one
// holds the units given up on. Used on the window's thread only.
class LineWork {
  public:
    // `what` names the work for the report ("selecting unit 2"); empty for none.
    explicit LineWork(std::string what = {});
    ~LineWork();
    LineWork(const LineWork&) = delete;
    LineWork& operator=(const LineWork&) = delete;

    // Whether requests to `unitAddress` are left unsent in the present piece.
    static bool GivenUp(uint8_t unitAddress);
    // A request to `unitAddress` went unanswered (nothing outside a piece).
    static void NoteSilence(uint8_t unitAddress);

    // Told once when an outermost piece with a name ends having given up on a unit.
    using Report = std::function<void(const std::string& what, int unit)>;
    static void SetReport(Report report);
};
