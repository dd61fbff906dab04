#include <array>

#include "fuzz/parsers/ParserChecks.h"

namespace {

constexpr std::array kTargets{
    ParserTarget{"menu_records", CheckMenuRecords},
    ParserTarget{"parameter_answers", CheckParameterAnswers},
    ParserTarget{"effect_answers", CheckEffectAnswers},
    ParserTarget{"directory_list", CheckDirectoryList},
    ParserTarget{"gpi_list", CheckGpiList},
    ParserTarget{"effect_list", CheckEffectList},
    ParserTarget{"sequence_record", CheckSequenceRecord},
    ParserTarget{"config_file", CheckConfigFile},
    ParserTarget{"bypass_frame", CheckBypassFrames},
    ParserTarget{"about_text", CheckAboutText},
    ParserTarget{"snapshot_file", CheckSnapshotFile},
};

}  // namespace

std::span<const ParserTarget> ParserTargets() {
    return kTargets;
}

const ParserTarget* FindParserTarget(std::string_view name) {
    for (const ParserTarget& target : kTargets) {
        if (name == target.name) {
            return &target;
        }
    }
    return nullptr;
}
