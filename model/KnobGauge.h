#pragma once

#include <string>

#include "model/PanelModel.h"

// The arithmetic of a knob display's picture: where the fill bar, the zero point and the
// reference mark fall, and the three texts. Kept apart from the painting so the numbers the
// user reads can be checked exactly.
struct GaugePicture {
    bool showBar = true;  // flag 0x0008 hides the bar and the reference mark
    int barLeft = 0;      // the bar covers columns barLeft .. barRight - 1
    int barRight = 0;
    bool showReference = true;  // false also for a reference outside the raw range
    int referenceX = 0;
    std::string minLabel;
    std::string maxLabel;
    std::string valueText;
};

// The knob display's width in columns: the gauge's bar and marks fall across them.
constexpr int kKnobDisplayColumns = 148;

// The gauge of `param` across columns left..right (right exclusive, the display's 0..148).
//
// Worked example, a range around zero (raw 0..200, shown -100..100, value 100): f = 0.5,
// fa = f - 0.001 = 0.499, the value's x = trunc(148 * 0.499) = 73, the zero point
// z = trunc(148 * 100 / 200) = 74; x is not left of z - 1, so the bar runs from z - 1 to
// x, and x = z - 1 becomes z: one column at 73, and the text reads
// -100 + trunc(200 * (0.499 + 0.001)) = 0.
//
// An empty raw range counts as a value at the range's start. A value outside its raw range
// draws its bar to the nearer end, so a unit's odd numbers never put the bar outside the
// display, while the text shows what the unit holds (150% of a 0..100 range).
GaugePicture ComputeGauge(const ParamRecord& param, int left, int right);

// The value text a knob display shows for `param`: its timecode, or the gauge's text.
std::string ShownValueText(const ParamRecord& param);

// hh:mm:ss:ff of a count of frames at 30 frames per second; a negative count shows zero.
std::string TimecodeText(int frames);

// Turns the small knob deltas of a coarse parameter into single steps: once the running sum
// passes 64 either way it yields +1 or -1 and starts again from zero.
class CoarseAccumulator {
  public:
    // The step to send for `delta`: -1, 0 (nothing yet) or +1.
    int Add(int delta);
    int Sum() const { return m_sum; }

  private:
    static constexpr int kStepThreshold = 64;
    int m_sum = 0;
};

// printf into the 32-character buffer every number on the panel is formatted in.
std::string FormatNumber(const char* format, int number);
