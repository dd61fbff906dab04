#include "unit/MenuImageDownload.h"

#include "link/CommandExchange.h"
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
        // A port without BREAK still carries the transfer; the attempts tell.
        static_cast<void>(SendLineBreak());
        Wait(kAfterBreak_ms);
    }
}

Status DownloadMenuImage(int unit) {
    if (unit < 1 || unit >= kUnitSlots) {
        return Status::WriteFailed;
    }
    auto& block = g_panelModel.MenuImage(unit);
    SendBreakPulses();
    Status result = Status::NoAnswer;
    for (int attempt = 0; attempt < kDownloadAttempts; ++attempt) {
        // Cleared every time, so a short transfer leaves nothing of an older image behind.
        block.fill(0);
        result = PrepareMenuData();
        if (result == Status::Ok) {
            result = ReadMenuData(block);
        }
        if (result == Status::Ok) {
            break;
        }
        SendBreakPulses();
    }
    if (result != Status::Ok) {
        // A cleared block would read as loaded; nothing may parse what never arrived.
        g_panelModel.MarkImageNotLoaded(unit);
    }
    return result;
}
