// scan, status, values, menus, set, adjust.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "tools/probe/JsonWriter.h"
#include "tools/probe/ProbeCommand.h"
#include "unit/MenuImageDownload.h"
#include "unit/MenuImageParser.h"

namespace {

// Reports a failed command and gives its exit status.
int Fail(const char* what, Status status) {
    std::fprintf(stderr, "vcp-probe: %s failed with status %d\n", what, ExitStatus(status));
    return ExitStatus(status);
}

bool ParseNumber(const std::string& text, long min, long max, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return !text.empty() && *end == '\0' && value >= min && value <= max;
}

int Scan(const ProbeRequest&) {
    for (int unit = 1; unit <= 4; ++unit) {
        UnitStatus status{};
        if (IdentifyUnit(AddressOfUnit(unit), status) == Status::Ok) {
            std::printf("unit %d: model %d\n", unit, status[kStatusByteModel]);
        } else {
            std::printf("unit %d: absent\n", unit);
        }
    }
    return ExitStatus(Status::Ok);
}

int ShowStatus(const ProbeRequest& request) {
    UnitStatus status{};
    const Status result = IdentifyUnit(AddressOfUnit(request.unit), status);
    if (result != Status::Ok) {
        return Fail("IdentifyUnit", result);
    }
    for (size_t i = 0; i < status.size(); ++i) {
        std::printf("%s%02X", i ? " " : "", status[i]);
    }
    std::printf("\n");
    return ExitStatus(Status::Ok);
}

// Parameter n < 128 is a knob parameter, n >= 128 a function parameter.
int ValueOf(int number) {
    return number < 128 ? g_paramTable[number].value : g_functionTable[number - 128].value;
}

int ReferenceOf(int number) {
    return number < 128 ? g_paramTable[number].referenceValue
                        : g_functionTable[number - 128].referenceValue;
}

int Values(const ProbeRequest&) {
    Status result = ReadReferenceValues();
    if (result != Status::Ok) {
        return Fail("ReadReferenceValues", result);
    }
    result = ReadParameterValues();
    if (result != Status::Ok) {
        return Fail("ReadParameterValues", result);
    }
    std::vector<int> values;
    std::vector<int> references;
    for (int n = 0; n < 256; ++n) {
        values.push_back(ValueOf(n));
        references.push_back(ReferenceOf(n));
    }
    std::printf("%s\n", JsonObject({{"value", JsonIntArray(values)},
                                    {"reference", JsonIntArray(references)}})
                            .c_str());
    return ExitStatus(Status::Ok);
}

std::string OptionsJson(const ParamRecord& record) {
    std::vector<std::string> pairs;
    for (const auto& [first, second] : record.options) {
        pairs.push_back(JsonArray({JsonText(first), JsonText(second)}));
    }
    return JsonArray(pairs);
}

std::string ParamsJson() {
    std::vector<std::string> items;
    for (const ParamRecord& p : g_paramTable) {
        items.push_back(JsonObject({{"number", JsonInt(p.number)},
                                    {"kind", JsonInt(p.kind)},
                                    {"flags", JsonInt(p.flags)},
                                    {"extra", JsonInt(p.extra)},
                                    {"rawMin", JsonInt(p.rawMin)},
                                    {"rawMax", JsonInt(p.rawMax)},
                                    {"dispMin", JsonInt(p.dispMin)},
                                    {"dispMax", JsonInt(p.dispMax)},
                                    {"name", JsonText(p.name)},
                                    {"options", OptionsJson(p)}}));
    }
    return JsonArray(items);
}

std::string FunctionsJson() {
    std::vector<std::string> items;
    for (const FunctionRecord& f : g_functionTable) {
        items.push_back(JsonObject({{"number", JsonInt(f.number)},
                                    {"kind", JsonInt(f.kind)},
                                    {"flags", JsonInt(f.flags)},
                                    {"extra", JsonInt(f.extra)},
                                    {"minValue", JsonInt(f.minValue)},
                                    {"maxValue", JsonInt(f.maxValue)},
                                    {"optionCount", JsonInt(f.optionCount)},
                                    {"label", JsonText(f.label)}}));
    }
    return JsonArray(items);
}

std::string MenusJson() {
    std::vector<std::string> items;
    for (const MenuRecord& m : g_menuTable) {
        items.push_back(JsonObject({{"number", JsonInt(m.number)},
                                    {"kind", JsonInt(m.kind)},
                                    {"flags", JsonInt(m.flags)},
                                    {"knobParam", JsonIntArray(m.knobParam)},
                                    {"entry", JsonIntArray(m.entry)},
                                    {"title", JsonText(m.title)},
                                    {"shortName", JsonText(m.shortName)}}));
    }
    return JsonArray(items);
}

std::string MessagesJson() {
    std::vector<std::string> items;
    for (const MessageRecord& m : g_messageTable) {
        items.push_back(JsonObject({{"number", JsonInt(m.number)},
                                    {"flags", JsonInt(m.flags)},
                                    {"caption", JsonText(m.caption)},
                                    {"text", JsonText(m.text)}}));
    }
    return JsonArray(items);
}

bool WriteRawImage(const std::string& path, int unit) {
    std::ofstream out(path, std::ios::binary);
    const auto& image = g_panelModel.MenuImage(unit);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    return static_cast<bool>(out);
}

int Menus(const ProbeRequest& request) {
    Status result = IdentifyUnit(AddressOfUnit(request.unit), g_unitStatus);
    if (result != Status::Ok) {
        return Fail("IdentifyUnit", result);
    }
    result = DownloadMenuImage(request.unit);
    if (result != Status::Ok) {
        return Fail("DownloadMenuImage", result);
    }
    ParseMenuImage(request.unit);
    if (!request.rawPath.empty() && !WriteRawImage(request.rawPath, request.unit)) {
        std::fprintf(stderr, "vcp-probe: cannot write the raw image to %s\n",
                     request.rawPath.c_str());
    }
    std::printf("%s\n", JsonObject({{"model", JsonInt(g_unitStatus[kStatusByteModel])},
                                    {"extendedMenus", JsonBool(g_extendedMenus)},
                                    {"params", ParamsJson()},
                                    {"functions", FunctionsJson()},
                                    {"menus", MenusJson()},
                                    {"messages", MessagesJson()}})
                            .c_str());
    return ExitStatus(Status::Ok);
}

bool ParseNumberAndValue(const ProbeRequest& request, long valueMin, long valueMax, long& number,
                         long& value) {
    if (!ParseNumber(request.args[0], 0, 255, number)) {
        std::fprintf(stderr, "vcp-probe: NUMBER must be 0..255\n");
        return false;
    }
    if (!ParseNumber(request.args[1], valueMin, valueMax, value)) {
        std::fprintf(stderr, "vcp-probe: the value must be %ld..%ld\n", valueMin, valueMax);
        return false;
    }
    return true;
}

int PrintValueAfter(const char* what, Status result, long number) {
    if (result != Status::Ok) {
        return Fail(what, result);
    }
    std::printf("%d\n", ValueOf(static_cast<int>(number)));
    return ExitStatus(Status::Ok);
}

int Set(const ProbeRequest& request) {
    long number = 0;
    long value = 0;
    if (!ParseNumberAndValue(request, -32768, 65535, number, value)) {
        return kUsageError;
    }
    if (number < 128) {
        return PrintValueAfter(
            "SetParameterWord",
            SetParameterWord(static_cast<uint8_t>(number), static_cast<uint16_t>(value)), number);
    }
    if (value < 0 || value > 255) {
        std::fprintf(stderr, "vcp-probe: a function value must be 0..255\n");
        return kUsageError;
    }
    return PrintValueAfter(
        "SetParameterByte",
        SetParameterByte(static_cast<uint8_t>(number), static_cast<uint8_t>(value)), number);
}

int Adjust(const ProbeRequest& request) {
    long number = 0;
    long delta = 0;
    if (!ParseNumberAndValue(request, -32768, 32767, number, delta)) {
        return kUsageError;
    }
    return PrintValueAfter(
        "AdjustParameter",
        AdjustParameter(static_cast<uint8_t>(number), static_cast<int16_t>(delta)), number);
}

}  // namespace

const std::vector<ProbeCommand>& UnitProbeCommands() {
    static const std::vector<ProbeCommand> commands = {
        {"scan", "scan", false, 0, Scan},
        {"status", "--unit N status", true, 0, ShowStatus},
        {"values", "--unit N values", true, 0, Values},
        {"menus", "--unit N menus [--raw FILE]", true, 0, Menus},
        {"set", "--unit N set NUMBER VALUE", true, 2, Set},
        {"adjust", "--unit N adjust NUMBER DELTA", true, 2, Adjust},
    };
    return commands;
}
