// files, lockout, gpi, effects.
#include <cstdio>

#include "link/EffectCommands.h"
#include "link/FileCommands.h"
#include "link/GpiCommands.h"
#include "link/LockoutCommands.h"
#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "tools/probe/JsonWriter.h"
#include "tools/probe/ProbeCommand.h"

namespace {

void Report(const char* what, Status status) {
    if (status != Status::Ok) {
        std::fprintf(stderr, "vcp-probe: %s failed with status %d\n", what, ExitStatus(status));
    }
}

void Print(const std::string& json) {
    std::printf("%s\n", json.c_str());
}

std::string NameJson(const NameField& name) {
    return JsonText(NameText(name));
}

// The directory as the command left it: every slot it filled, and its count.
int Files(const ProbeRequest& request) {
    const std::string& which = request.args[0];
    if (which != "main" && which != "user") {
        std::fprintf(stderr, "vcp-probe: files takes main or user\n");
        return kUsageError;
    }
    const FileKind kind = which == "user" ? FileKind::User : FileKind::Main;
    const Status status = ReadFileList(kind);
    Report("ReadFileList", status);
    const FileDirectory& directory = DirectoryOf(kind);
    std::vector<std::string> entries;
    for (int i = 0; i < directory.stored; ++i) {
        const DirectoryEntry& entry = directory.entries[i];
        entries.push_back(JsonObject({{"id", JsonInt(entry.fileId)},
                                      {"second", JsonInt(entry.secondNumber)},
                                      {"name", NameJson(entry.name)}}));
    }
    Print(JsonObject({{"count", JsonInt(directory.count)}, {"entries", JsonArray(entries)}}));
    return ExitStatus(status);
}

// The unit's model decides which table comes first, so it identifies itself before.
int Lockout(const ProbeRequest&) {
    Status status = IdentifyUnit(g_currentUnitAddress, g_unitStatus);
    Report("IdentifyUnit", status);
    if (status == Status::Ok) {
        status = ReadOnAirLockout();
        Report("ReadOnAirLockout", status);
    }
    Print(JsonObject({{"knobs", JsonIntArray(g_onAirLockTable[kKnobLockTable])},
                      {"functions", JsonIntArray(g_onAirLockTable[kFunctionLockTable])}}));
    return ExitStatus(status);
}

std::string SequenceJson(int gpi) {
    const GpiSequenceRecord& record = g_gpiSequence[gpi];
    std::vector<std::string> events;
    for (int j = 0; j < record.eventCount; ++j) {
        events.push_back(JsonArray({JsonInt(record.eventKind[j]), JsonInt(record.eventFile[j])}));
    }
    return JsonObject(
        {{"gpi", JsonInt(gpi)}, {"step", JsonInt(record.step)}, {"events", JsonArray(events)}});
}

// The list, then the record of every sequence it holds; stops at the first failure.
int Gpi(const ProbeRequest&) {
    Status status = ReadGpiEventList();
    Report("ReadGpiEventList", status);
    std::vector<std::string> entries;
    std::vector<std::string> sequences;
    for (int i = 0; i < g_gpiList.count; ++i) {
        const GpiEntry& entry = g_gpiList.entries[i];
        entries.push_back(JsonObject({{"number", JsonInt(entry.number)},
                                      {"events", JsonInt(entry.eventCount)},
                                      {"name", NameJson(entry.name)}}));
    }
    for (int i = 0; status == Status::Ok && i < g_gpiList.count; ++i) {
        status = ReadGpiSequence(static_cast<uint8_t>(i), GpiSequenceAction::Read);
        Report("ReadGpiSequence", status);
        sequences.push_back(SequenceJson(i));
    }
    Print(JsonObject({{"count", JsonInt(g_gpiList.count)},
                      {"entries", JsonArray(entries)},
                      {"sequences", JsonArray(sequences)}}));
    return ExitStatus(status);
}

int Effects(const ProbeRequest&) {
    const Status status = ReadEffectList();
    Report("ReadEffectList", status);
    std::vector<std::string> entries;
    for (int i = 0; i < g_effectCount; ++i) {
        const EffectRecord& effect = g_effectTable[i];
        entries.push_back(JsonObject({{"number", JsonInt(effect.number)},
                                      {"info", JsonInt(effect.info)},
                                      {"name", NameJson(effect.name)}}));
    }
    Print(JsonObject({{"count", JsonInt(g_effectCount)}, {"entries", JsonArray(entries)}}));
    return ExitStatus(status);
}

}  // namespace

const std::vector<ProbeCommand>& StorageProbeCommands() {
    static const std::vector<ProbeCommand> commands = {
        {"files", "--unit N files main|user", true, 1, Files},
        {"lockout", "--unit N lockout", true, 0, Lockout},
        {"gpi", "--unit N gpi", true, 0, Gpi},
        {"effects", "--unit N effects", true, 0, Effects},
    };
    return commands;
}
