#pragma once

// Where the knob's thumb sits for a position and which position a pointer row means.
// The track is m_height rows tall and the thumb m_thumbHeight rows; the thumb's centre runs
// from row H = thumbHeight / 2 over T = height - thumbHeight rows.
//
// Worked example, the panel's knob (track 87 rows, thumb 11, range 0..10): H = 5, T = 76,
// row(p) for p = 0..10 is 5, 12, 20, 27, 35, 43, 50, 58, 65, 73, 81, and position 5 covers
// pointer rows 43 to 50. Position 0 is at the top.
struct KnobGeometry {
    int rangeMin = 0;
    int rangeMax = 10;
    int height = 0;       // track rows
    int thumbHeight = 0;  // thumb rows

    int HalfThumb() const { return thumbHeight / 2; }
    int Travel() const { return height - thumbHeight; }

    // Centre row of the thumb at position p: trunc((p - min) / (max - min) * T) + H.
    // An empty range or a track no taller than the thumb keeps the thumb at its top row.
    int RowOfPosition(int position) const;
    // Position for pointer row y: trunc((y - H) / T * (max - min) + min), not yet clamped.
    int PositionOfRow(int row) const;
    int ClampPosition(int position) const;
    // Pointer rows the thumb's centre may take: [H, height - H].
    int ClampRow(int row) const;
};
