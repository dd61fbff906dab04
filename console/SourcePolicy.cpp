#include "console/SourcePolicy.h"

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
                    return "FILE CLEAR is pressed at the panel only.";
            }
            return {};
        case ActionSource::Surface:
            return reach == PanelReach::FileClear ? "FILE CLEAR is pressed at the panel only."
                                                  : std::string();
        case ActionSource::Mouse:
        case ActionSource::Keyboard:
            return {};
    }
    return {};
}
