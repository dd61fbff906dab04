#include "unit/MenuImageDownload.h"

#include "link/MenuDataCommands.h"
#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"

namespace {

constexpr int kDownloadAttempts = 10;
constexpr int kBreakPulses = 2;
constexpr uint32_t kAfterBreak_ms = 100;

}  // namespace

void SendBreakPulses() {
    for (int pulse = 0; pulse < kBreakPulses; ++pulse) {
        g_link.SendBreak();
        Wait(kAfterBreak_ms);
    }
}

int DownloadMenuImage(int unit) {
    if (unit < 1 || unit >= kUnitSlots) {
        return kStatusWriteFailed;
    }
    auto& block = g_panelModel.MenuImage(unit);
    SendBreakPulses();
    int result = kStatusNoAnswer;
    for (int attempt = 0; attempt < kDownloadAttempts; ++attempt) {
        // Cleared every time, so a short transfer leaves nothing of an older image behind.
        block.fill(0);
        result = PrepareMenuData();
        if (result == kStatusOk) {
            result = ReadMenuData(block);
        }
        if (result == kStatusOk) {
            break;
        }
        SendBreakPulses();
    }
    if (result != kStatusOk) {
        // A cleared block would read as loaded; nothing may parse what never arrived.
        g_panelModel.MarkImageNotLoaded(unit);
    }
    return result;
}
