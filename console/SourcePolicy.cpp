#include "console/SourcePolicy.h"

namespace {

// It clears the unit's files without asking.
const char* const kFileClearAtThePanel =
    "FILE CLEAR clears the unit's files: press it on the panel.";

}  // namespace

std::string RefusedReach(const ActionOrigin& origin, PanelReach reach) {
    switch (origin.source) {
        case ActionSource::Network:
            switch (reach) {
                case PanelReach::Dialog:
                    return "That opens a dialog on the panel; only the operator at the panel "
                           "can do that.";
                case PanelReach::PortSetup:
                    return "The port setup is done at the panel only.";
                case PanelReach::FileClear:
                    return kFileClearAtThePanel;
            }
            return {};
        case ActionSource::Surface:
            return reach == PanelReach::FileClear ? kFileClearAtThePanel : std::string();
        case ActionSource::Mouse:
        case ActionSource::Keyboard:
            return {};
    }
    return {};
}
