#include "history/SnapshotRestore.h"

#include <algorithm>

#include "history/ValueText.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
#include "model/PanelModel.h"
#include "protocol/ParameterArguments.h"

namespace {

Status SendValue(int number, int value) {
    if (number <= kLastKnobParameter) {
        return SetParameterWord(static_cast<uint8_t>(number), static_cast<uint16_t>(value));
    }
    return SetParameterByte(static_cast<uint8_t>(number), static_cast<uint8_t>(value));
}

// The value the tables hold for `number` and its text.
std::pair<int, std::string> HeldValue(int number) {
    const int value = number <= kLastKnobParameter
                          ? g_paramTable[number].value
                          : g_functionTable[number - kFirstFunctionNumber].value;
    return {value, ValueText(number, value)};
}

// The lowest and the highest value the selected unit's records give `number` now.
std::pair<int, int> CurrentRange(int number) {
    if (number <= kLastKnobParameter) {
        const ParamRecord& record = g_paramTable[number];
        return std::minmax<int>(record.rawMin, record.rawMax);
    }
    const FunctionRecord& record = g_functionTable[number - kFirstFunctionNumber];
    return std::minmax<int>(record.minValue, record.maxValue);
}

std::string Plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string RestoreReport::Summary() const {
    std::string text = "Restored " + std::to_string(static_cast<int>(taken.size())) + " of " +
                       Plural(planned, "value", "values");
    if (!outOfRange.empty()) {
        text += "; " + Plural(static_cast<int>(outOfRange.size()), "value", "values") +
                " not sent, outside " + (outOfRange.size() == 1 ? "its" : "their") + " range now:";
        for (const ValueDifference& value : outOfRange) {
            const auto [lowest, highest] = CurrentRange(value.number);
            text += " " + value.name + " (" + value.thenText + ", takes " +
                    ValueText(value.number, lowest) + " to " + ValueText(value.number, highest) +
                    ")";
        }
    }
    if (stoppedAnswering) {
        return text + "; Main Unit " + std::to_string(unit) + " stopped answering.";
    }
    if (readBackFailed) {
        return text + "; the values could not be read back from Main Unit " + std::to_string(unit) +
               ".";
    }
    if (!refused.empty()) {
        text += "; Main Unit " + std::to_string(unit) + " refused " +
                Plural(static_cast<int>(refused.size()), "value", "values") + ":";
        for (const ValueDifference& value : refused) {
            text += " " + value.name + " (holds " + value.nowText + ", not " + value.thenText + ")";
        }
    }
    return text + ".";
}

RestoreReport RestoreValues(const std::vector<ValueDifference>& differences, int unit,
                            const RestoreProgress& progress) {
    RestoreReport report;
    report.unit = unit;
    report.planned = static_cast<int>(differences.size());
    const LineWork work("restoring a snapshot to Main Unit " + std::to_string(unit));
    std::vector<const ValueDifference*> answered;
    std::vector<const ValueDifference*> refusedAtOnce;
    std::vector<const ValueDifference*> toSend;
    for (const ValueDifference& difference : differences) {
        const auto [lowest, highest] = CurrentRange(difference.number);
        if (difference.then < lowest || difference.then > highest) {
            report.outOfRange.push_back(difference);
        } else {
            toSend.push_back(&difference);
        }
    }
    if (toSend.empty()) {
        return report;
    }
    for (const ValueDifference* difference : toSend) {
        const Status status = SendValue(difference->number, difference->then);
        if (status == Status::WrongCode) {
            refusedAtOnce.push_back(difference);
        } else if (status != Status::Ok) {
            report.stoppedAnswering = true;
            break;
        } else {
            answered.push_back(difference);
        }
        ++report.sent;
        if (progress) {
            progress(report.sent, static_cast<int>(toSend.size()));
        }
    }
    if (report.stoppedAnswering || ReadParameterValues() != Status::Ok) {
        // Without a read-back only the answers say what the unit took.
        report.readBackFailed = !report.stoppedAnswering;
    }
    const auto sortOut = [&](const ValueDifference& difference) {
        ValueDifference result = difference;
        std::tie(result.now, result.nowText) = HeldValue(difference.number);
        (result.now == difference.then ? report.taken : report.refused).push_back(result);
    };
    for (const ValueDifference* difference : answered) {
        sortOut(*difference);
    }
    for (const ValueDifference* difference : refusedAtOnce) {
        sortOut(*difference);
    }
    return report;
}
