#include "surface/MappingFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <vector>

namespace {

constexpr const char* kFormat = "vcp-surface-mapping";

// Where the file has its top-level keys and the entries of its top-level lists, read from
// the text itself: the JSON reader keeps no positions. A key given twice is where it was
// given last, as the reader takes the last.
struct FileLines {
    std::map<QByteArray, int> keys;
    std::map<QByteArray, std::vector<int>> entries;

    // The line of top-level `key`; 1 when the file has none.
    int KeyLine(const char* key) const {
        const auto found = keys.find(QByteArray(key));
        return found != keys.end() ? found->second : 1;
    }
    // The line of entry `index` of the top-level list `key`; the list's own line for one the
    // text does not show.
    int EntryLine(const char* key, qsizetype index) const {
        const auto found = entries.find(QByteArray(key));
        if (found == entries.end() || index < 0 ||
            index >= static_cast<qsizetype>(found->second.size())) {
            return KeyLine(key);
        }
        return found->second[static_cast<size_t>(index)];
    }
};

FileLines ScanLines(const QByteArray& text) {
    FileLines lines;
    int line = 1;
    int depth = 0;
    bool inString = false;
    std::vector<int>* entries = nullptr;  // the top-level list being read
    bool expectEntry = false;
    QByteArray lastString;
    int stringStart = 0;
    for (int at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '\n') {
            ++line;
        }
        if (inString) {
            if (c == '\\') {
                ++at;
            } else if (c == '"') {
                inString = false;
                lastString = text.mid(stringStart, at - stringStart);
            }
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            continue;
        }
        if (entries != nullptr && depth == 2 && expectEntry && c != ']') {
            entries->push_back(line);
            expectEntry = false;
        }
        switch (c) {
            case '"':
                inString = true;
                stringStart = at + 1;
                break;
            case ':':
                if (depth == 1) {
                    lines.keys[lastString] = line;
                }
                break;
            case '[':
            case '{':
                ++depth;
                if (c == '[' && depth == 2) {
                    entries = &lines.entries[lastString];
                    entries->clear();
                    expectEntry = true;
                }
                break;
            case ']':
            case '}':
                --depth;
                if (depth < 2) {
                    entries = nullptr;
                }
                break;
            case ',':
                expectEntry = entries != nullptr && depth == 2;
                break;
            default:
                break;
        }
        if (c != '"' && c != ':') {
            lastString.clear();
        }
    }
    return lines;
}

int LineAtOffset(const QByteArray& text, int offset) {
    const int end = std::clamp(offset, 0, static_cast<int>(text.size()));
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + end, '\n'));
}

// One entry's reading; `error` says what is wrong with it.
struct EntryReader {
    const QJsonObject& entry;
    std::string error;

    // The whole number at `key` in [low, high]; `fallback` when absent.
    int Number(const char* key, int low, int high, int fallback) {
        const QJsonValue value = entry.value(QLatin1String(key));
        if (value.isUndefined()) {
            return fallback;
        }
        const double number = value.toDouble(-1e9);
        // The range first: a number beyond int has no whole-number test of its own.
        if (!value.isDouble() || number < low || number > high || number != std::floor(number)) {
            Fail(std::string("\"") + key + "\" takes a whole number from " + std::to_string(low) +
                 " to " + std::to_string(high));
            return fallback;
        }
        return static_cast<int>(number);
    }
    bool Has(const char* key) const { return entry.contains(QLatin1String(key)); }
    void Fail(std::string what) {
        if (error.empty()) {
            error = std::move(what);
        }
    }
    // The control of "cc" or "note" and "channel".
    MidiControl Control(bool noteAllowed) {
        MidiControl control;
        control.channel = Number("channel", 1, kMidiChannels, 1) - 1;
        if (Has("cc") == Has("note") || (!noteAllowed && Has("note"))) {
            Fail(noteAllowed ? "give either \"cc\" or \"note\"" : "give \"cc\"");
            return control;
        }
        control.kind = Has("note") ? MidiKind::Note : MidiKind::ControlChange;
        control.number = Number(Has("note") ? "note" : "cc", 0, kMidiDataMaximum, 0);
        return control;
    }
};

std::optional<RingBinding> ReadRing(const QJsonValue& value, EntryReader& knob) {
    if (value.isUndefined()) {
        return std::nullopt;
    }
    if (!value.isObject()) {
        knob.Fail("\"ring\" is an object");
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    EntryReader reader{object, {}};
    RingBinding ring;
    ring.control = reader.Control(false);
    const QString style = object.value(QLatin1String("style")).toString(QStringLiteral("plain"));
    if (style == QLatin1String("vpot")) {
        ring.style = RingStyle::VPot;
    } else if (style != QLatin1String("plain")) {
        reader.Fail("a ring's \"style\" is \"plain\" or \"vpot\"");
    }
    ring.vpotMode = reader.Number("mode", 0, kVPotModes - 1, 0);
    if (!reader.error.empty()) {
        knob.Fail("ring: " + reader.error);
    }
    return ring;
}

KnobBinding ReadKnob(EntryReader& reader, int& knob) {
    KnobBinding binding;
    if (!reader.Has("knob")) {
        reader.Fail("a knob entry names its \"knob\"");
    }
    knob = reader.Number("knob", 1, kActionKnobs, 1) - 1;
    binding.control = reader.Control(false);
    const QString name = reader.entry.value(QLatin1String("encoding")).toString();
    const std::optional<Encoding> encoding = EncodingNamed(name.toStdString());
    if (!encoding) {
        reader.Fail(
            "\"encoding\" is absolute, twos-complement, binary-offset, sign-bit or "
            "sign-bit-inverted");
    }
    binding.encoding = encoding.value_or(Encoding::Absolute);
    binding.ring = ReadRing(reader.entry.value(QLatin1String("ring")), reader);
    return binding;
}

ButtonBinding ReadButton(EntryReader& reader) {
    ButtonBinding binding;
    const int targets = reader.Has("menu") + reader.Has("function") + reader.Has("toggle");
    if (targets != 1) {
        reader.Fail("a button entry names one of \"menu\", \"function\" or \"toggle\"");
    } else if (reader.Has("menu")) {
        binding.target = {PanelControl::Kind::MenuButton,
                          reader.Number("menu", 1, kActionMenuButtons, 1) - 1,
                          {}};
    } else if (reader.Has("function")) {
        binding.target = {PanelControl::Kind::FunctionButton,
                          reader.Number("function", 1, kActionFunctionButtons, 1) - 1,
                          {}};
    } else {
        const QJsonValue label = reader.entry.value(QLatin1String("toggle"));
        if (!label.isString() || label.toString().trimmed().isEmpty()) {
            reader.Fail("\"toggle\" is the key's printed label, such as \"UNIT 1\"");
        }
        binding.target = {PanelControl::Kind::Toggle, 0,
                          ToggleLabel(label.toString().toStdString())};
    }
    binding.control = reader.Control(true);
    const QJsonValue lamp = reader.entry.value(QLatin1String("lamp"));
    if (!lamp.isUndefined() && !lamp.isBool()) {
        reader.Fail("\"lamp\" is true or false");
    }
    binding.lamp = lamp.toBool(true);
    return binding;
}

MappingRead Refuse(const std::string& fileName, int line, const std::string& what) {
    return {std::nullopt, fileName + ", line " + std::to_string(line) + ": " + what + ".", fileName,
            line};
}

QJsonObject ControlObject(const MidiControl& control) {
    QJsonObject object;
    object.insert(control.kind == MidiKind::Note ? QStringLiteral("note") : QStringLiteral("cc"),
                  control.number);
    object.insert(QStringLiteral("channel"), control.channel + 1);
    return object;
}

}  // namespace

MappingRead ParseMapping(const QByteArray& text, const std::string& fileName) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return Refuse(fileName, LineAtOffset(text, parseError.offset),
                      "not JSON (" + parseError.errorString().toStdString() + ")");
    }
    const FileLines lines = ScanLines(text);
    const QJsonObject top = document.object();
    if (!document.isObject() || top.value(QLatin1String("format")).toString() != kFormat) {
        return Refuse(
            fileName, lines.KeyLine("format"),
            std::string("not a control surface mapping (no \"format\": \"") + kFormat + "\")");
    }
    const QJsonValue version = top.value(QLatin1String("version"));
    if (version.toInt(-1) != kMappingVersion) {
        return Refuse(fileName, lines.KeyLine("version"),
                      "mapping version " + std::to_string(version.toInt(-1)) +
                          ", this program reads version " + std::to_string(kMappingVersion));
    }
    Mapping mapping;
    mapping.name = top.value(QLatin1String("name")).toString().toStdString();
    if (mapping.name.empty()) {
        return Refuse(fileName, lines.KeyLine("name"), "the mapping has no \"name\"");
    }
    std::set<MidiControl> inputs;
    for (const char* key : {"knobs", "buttons"}) {
        const QJsonValue list = top.value(QLatin1String(key));
        if (list.isUndefined()) {
            continue;
        }
        const auto lineOf = [&lines, key](qsizetype index) { return lines.EntryLine(key, index); };
        if (!list.isArray()) {
            return Refuse(fileName, lines.KeyLine(key), std::string("\"") + key + "\" is a list");
        }
        const QJsonArray entries = list.toArray();
        for (qsizetype index = 0; index < entries.size(); ++index) {
            const QJsonObject entry = entries[index].toObject();
            EntryReader reader{entry, {}};
            if (!entries[index].isObject()) {
                reader.Fail("an entry is an object");
            }
            MidiControl control;
            if (std::string_view(key) == "knobs") {
                int knob = 0;
                KnobBinding binding = ReadKnob(reader, knob);
                binding.line = lineOf(index);
                if (reader.error.empty() && mapping.knobs[knob]) {
                    reader.Fail("knob " + std::to_string(knob + 1) + " is bound twice");
                }
                control = binding.control;
                mapping.knobs[knob] = binding;
            } else {
                ButtonBinding binding = ReadButton(reader);
                binding.line = lineOf(index);
                control = binding.control;
                mapping.buttons.push_back(binding);
            }
            if (reader.error.empty() && !inputs.insert(control).second) {
                reader.Fail("this control of the surface is bound twice");
            }
            if (!reader.error.empty()) {
                return Refuse(fileName, lineOf(index), reader.error);
            }
        }
    }
    return {std::move(mapping), {}};
}

MappingRead ReadMappingFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    const std::string name = QFileInfo(file).fileName().toStdString();
    if (!file.open(QIODevice::ReadOnly)) {
        return {std::nullopt, name + ": " + file.errorString().toStdString() + ".", name, 0};
    }
    if (file.size() > kMostMappingBytes) {
        return {std::nullopt, name + ": too large for a mapping.", name, 0};
    }
    return ParseMapping(file.read(kMostMappingBytes), name);
}

QByteArray WriteMapping(const Mapping& mapping) {
    QJsonObject top;
    top.insert(QStringLiteral("format"), QLatin1String(kFormat));
    top.insert(QStringLiteral("version"), kMappingVersion);
    top.insert(QStringLiteral("name"), QString::fromStdString(mapping.name));
    QJsonArray knobs;
    for (int knob = 0; knob < kActionKnobs; ++knob) {
        const auto& binding = mapping.knobs[knob];
        if (!binding) {
            continue;
        }
        QJsonObject entry = ControlObject(binding->control);
        entry.insert(QStringLiteral("knob"), knob + 1);
        entry.insert(
            QStringLiteral("encoding"),
            QString::fromUtf8(EncodingName(binding->encoding).data(),
                              static_cast<qsizetype>(EncodingName(binding->encoding).size())));
        if (binding->ring) {
            QJsonObject ring = ControlObject(binding->ring->control);
            ring.insert(QStringLiteral("style"), binding->ring->style == RingStyle::VPot
                                                     ? QStringLiteral("vpot")
                                                     : QStringLiteral("plain"));
            ring.insert(QStringLiteral("mode"), binding->ring->vpotMode);
            entry.insert(QStringLiteral("ring"), ring);
        }
        knobs.append(entry);
    }
    QJsonArray buttons;
    for (const ButtonBinding& binding : mapping.buttons) {
        QJsonObject entry = ControlObject(binding.control);
        switch (binding.target.kind) {
            case PanelControl::Kind::MenuButton:
                entry.insert(QStringLiteral("menu"), binding.target.index + 1);
                break;
            case PanelControl::Kind::FunctionButton:
                entry.insert(QStringLiteral("function"), binding.target.index + 1);
                break;
            case PanelControl::Kind::Toggle:
            case PanelControl::Kind::Knob:
                entry.insert(QStringLiteral("toggle"),
                             QString::fromStdString(binding.target.label));
                break;
        }
        entry.insert(QStringLiteral("lamp"), binding.lamp);
        buttons.append(entry);
    }
    top.insert(QStringLiteral("knobs"), knobs);
    top.insert(QStringLiteral("buttons"), buttons);
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}
