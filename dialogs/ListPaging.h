#pragma once

// The row a paging button moves a list's selection to: `step` rows on from `row`, never
// before the first row nor past the last of `count` (-1 for an empty list).
inline int PagedRow(int row, int step, int count) {
    const int moved = row + step;
    if (moved < 0) {
        return count > 0 ? 0 : -1;
    }
    return moved < count ? moved : count - 1;
}
