#include "link/LineWork.h"

#include <bitset>

#include "model/PanelModel.h"

namespace {

struct Piece {
    int depth = 0;
    std::string what;
    std::bitset<kUnitSlots> silent;
};

Piece g_piece;
LineWork::Report g_report;

int UnitSlot(uint8_t unitAddress) {
    const int unit = UnitOfAddress(unitAddress);
    return unit >= 0 && unit < kUnitSlots ? unit : 0;
}

}  // namespace

LineWork::LineWork(std::string what) {
    if (g_piece.depth++ == 0) {
        g_piece.what = std::move(what);
        g_piece.silent.reset();
    }
}

LineWork::~LineWork() {
    if (--g_piece.depth > 0) {
        return;
    }
    const Piece ended = std::move(g_piece);
    g_piece = {};
    if (ended.what.empty() || ended.silent.none() || !g_report) {
        return;
    }
    for (int unit = 1; unit < kUnitSlots; ++unit) {
        if (ended.silent.test(static_cast<size_t>(unit))) {
            g_report(ended.what, unit);
            return;
        }
    }
}

bool LineWork::GivenUp(uint8_t unitAddress) {
    return g_piece.depth > 0 && g_piece.silent.test(static_cast<size_t>(UnitSlot(unitAddress)));
}

void LineWork::NoteSilence(uint8_t unitAddress) {
    if (g_piece.depth > 0) {
        g_piece.silent.set(static_cast<size_t>(UnitSlot(unitAddress)));
    }
}

void LineWork::SetReport(Report report) {
    g_report = std::move(report);
}
