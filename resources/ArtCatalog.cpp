#include "resources/ArtCatalog.h"

#include "platform/ResourceIds.h"

#include <algorithm>
#include <array>

namespace {

using namespace ResourceId;

constexpr QSize kToggleSize(32, 32);
constexpr QSize kBadgeSize(200, 28);
constexpr QSize kLampSize(15, 15);
constexpr QSize kIndicatorSize(32, 32);

// Sorted by resource number.
constexpr std::array kCatalog = {
    ArtEntry{kApplicationIcon, QSize(32, 32), ":/art/128.svg", ArtFinish::kTransparent},
    ArtEntry{kInfoLine, QSize(458, 82), ":/art/136.svg", ArtFinish::kOpaque},
    ArtEntry{kOnLineLampUnit1, kLampSize, ":/art/144.svg", ArtFinish::kOpaque},
    ArtEntry{kBadgeModel4, kBadgeSize, ":/art/146.svg", ArtFinish::kOpaque},
    ArtEntry{kOnLineLampUnit2, kLampSize, ":/art/148.svg", ArtFinish::kOpaque},
    ArtEntry{kOnLineLampUnit3, kLampSize, ":/art/149.svg", ArtFinish::kOpaque},
    ArtEntry{kOnLineLampUnit4, kLampSize, ":/art/150.svg", ArtFinish::kOpaque},
    ArtEntry{kPanelSkin, QSize(1280, 760), ":/art/152.svg", ArtFinish::kOpaque},
    ArtEntry{kMenuButton, QSize(74, 33), ":/art/157.svg", ArtFinish::kOpaque},
    ArtEntry{kAboutBackground, QSize(364, 492), ":/art/158.svg", ArtFinish::kOpaque},
    ArtEntry{kFunctionButtonLit, QSize(76, 35), ":/art/159.svg", ArtFinish::kOpaque},
    ArtEntry{kFunctionButtonUnlit, QSize(76, 35), ":/art/160.svg", ArtFinish::kOpaque},
    ArtEntry{kBadgeModel9, kBadgeSize, ":/art/161.svg", ArtFinish::kOpaque},
    ArtEntry{kBadgeModel7, kBadgeSize, ":/art/162.svg", ArtFinish::kOpaque},
    ArtEntry{kBadgeModel5, kBadgeSize, ":/art/163.svg", ArtFinish::kOpaque},
    ArtEntry{kBadgeNoModel, kBadgeSize, ":/art/175.svg", ArtFinish::kOpaque},
    ArtEntry{kBadgeModel11, kBadgeSize, ":/art/176.svg", ArtFinish::kOpaque},
    ArtEntry{kBadgeModel80, kBadgeSize, ":/art/177.svg", ArtFinish::kOpaque},
    ArtEntry{kBadgeModel81, kBadgeSize, ":/art/178.svg", ArtFinish::kOpaque},
    ArtEntry{kToggleUnitOn, kToggleSize, ":/art/184.svg", ArtFinish::kOpaque},
    ArtEntry{kToggleKeyOff, kToggleSize, ":/art/185.svg", ArtFinish::kOpaque},
    ArtEntry{kToggleUnitOnAir, kToggleSize, ":/art/186.svg", ArtFinish::kOpaque},
    ArtEntry{kToggleLatchOn, kToggleSize, ":/art/187.svg", ArtFinish::kOpaque},
    ArtEntry{kToggleShortcutOn, kToggleSize, ":/art/188.svg", ArtFinish::kOpaque},
    ArtEntry{kKnobThumb, QSize(34, 11), ":/art/190.svg", ArtFinish::kKeyedCorners},
    ArtEntry{kKnobTrack, QSize(34, 87), ":/art/192.svg", ArtFinish::kOpaque},
    ArtEntry{kToggleSystemOn, kToggleSize, ":/art/203.svg", ArtFinish::kOpaque},
    ArtEntry{kToggleSystemOff, kToggleSize, ":/art/204.svg", ArtFinish::kOpaque},
    ArtEntry{kRoutingNoteIcon, kIndicatorSize, ":/art/205.svg", ArtFinish::kTransparent},
    ArtEntry{kBadgeModel177, kBadgeSize, ":/art/206.svg", ArtFinish::kOpaque},
    ArtEntry{kUnitIndicatorIcon, kIndicatorSize, ":/art/210.svg", ArtFinish::kOpaque},
    ArtEntry{kFunctionIndicatorIcon, kIndicatorSize, ":/art/211.svg", ArtFinish::kOpaque},
};

static_assert(std::ranges::is_sorted(kCatalog, {}, &ArtEntry::resourceId));

}  // namespace

std::span<const ArtEntry> ArtCatalog() {
    return kCatalog;
}

std::optional<ArtEntry> FindArt(int resourceId) {
    const auto found = std::ranges::lower_bound(kCatalog, resourceId, {}, &ArtEntry::resourceId);
    if (found == kCatalog.end() || found->resourceId != resourceId) {
        return std::nullopt;
    }
    return *found;
}
