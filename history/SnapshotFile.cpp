#include "history/SnapshotFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <cmath>
#include <cstdio>
#include <limits>

#include "protocol/ParameterArguments.h"

namespace {

// A snapshot holds 128 knob parameters and 128 functions at most; a file many times larger
// than a full one is not a snapshot.
constexpr qint64 kMaxFileBytes = 1 << 20;
constexpr int kMaxValues = 256;
constexpr int kLastNumber = 255;
constexpr int kMaxNameChars = 64;
constexpr int kMaxSettingsChars = 1024;
constexpr int kMaxTimeChars = 64;
constexpr int kHashDigits = 16;
constexpr int kLastUnit = 4;
constexpr int kLastModel = 255;

// The checks of one file; the first failure is the message.
class SnapshotChecks {
  public:
    explicit SnapshotChecks(std::string fileName) : m_fileName(std::move(fileName)) {}

    bool Failed() const { return !m_error.empty(); }
    const std::string& Error() const { return m_error; }
    void Fail(const std::string& what) {
        if (m_error.empty()) {
            m_error = m_fileName + ": " + what;
        }
    }

    std::optional<int> Integer(const QJsonObject& object, const char* key, int least, int most,
                               const std::string& where = {}) {
        const QJsonValue value = object.value(QLatin1String(key));
        const std::string named = where.empty() ? std::string(key) : where + " " + key;
        if (!value.isDouble()) {
            Fail(named + " is missing or not a number");
            return std::nullopt;
        }
        const double number = value.toDouble();
        if (std::floor(number) != number || number < least || number > most) {
            Fail(named + " must be a whole number from " + std::to_string(least) + " to " +
                 std::to_string(most));
            return std::nullopt;
        }
        return static_cast<int>(number);
    }

    std::optional<std::string> Text(const QJsonObject& object, const char* key, int mostChars,
                                    const std::string& where = {}) {
        const QJsonValue value = object.value(QLatin1String(key));
        const std::string named = where.empty() ? std::string(key) : where + " " + key;
        if (!value.isString()) {
            Fail(named + " is missing or not text");
            return std::nullopt;
        }
        const QString text = value.toString();
        if (text.size() > mostChars) {
            Fail(named + " is longer than " + std::to_string(mostChars) + " characters");
            return std::nullopt;
        }
        return text.toStdString();
    }

  private:
    std::string m_fileName;
    std::string m_error;
};

std::optional<uint64_t> ParseHash(const std::string& text) {
    if (text.size() != kHashDigits) {
        return std::nullopt;
    }
    uint64_t hash = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        hash = hash << 4 | static_cast<uint64_t>(digit);
    }
    return hash;
}

std::string HashText(uint64_t hash) {
    char text[kHashDigits + 1];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

void ReadValues(const QJsonObject& root, SnapshotChecks& checks, Snapshot& snapshot) {
    const QJsonValue values = root.value(QLatin1String("values"));
    if (!values.isArray()) {
        checks.Fail("values is missing or not a list");
        return;
    }
    const QJsonArray list = values.toArray();
    if (list.size() > kMaxValues) {
        checks.Fail("values holds more than " + std::to_string(kMaxValues) + " entries");
        return;
    }
    for (qsizetype i = 0; i < list.size() && !checks.Failed(); ++i) {
        const std::string where = "value " + std::to_string(i + 1);
        if (!list[i].isObject()) {
            checks.Fail(where + " is not an object");
            return;
        }
        const QJsonObject entry = list[i].toObject();
        const auto number = checks.Integer(entry, "number", 0, kLastNumber, where);
        const auto name = checks.Text(entry, "name", kMaxNameChars, where);
        if (!number || !name) {
            return;
        }
        const bool knob = *number <= kLastKnobParameter;
        const auto value =
            checks.Integer(entry, "value", knob ? std::numeric_limits<int16_t>::min() : 0,
                           knob ? std::numeric_limits<int16_t>::max() : 255, where);
        if (!value) {
            return;
        }
        if (!snapshot.values.empty() && snapshot.values.back().number >= *number) {
            checks.Fail(where + " is out of number order or repeats a number");
            return;
        }
        snapshot.values.push_back({*number, *name, *value});
    }
}

}  // namespace

std::string SnapshotJson(const Snapshot& snapshot) {
    QJsonObject root;
    root[QLatin1String("version")] = Snapshot::kVersion;
    root[QLatin1String("unit")] = snapshot.unit;
    root[QLatin1String("model")] = snapshot.model;
    root[QLatin1String("menuImage")] = QString::fromStdString(HashText(snapshot.menuImageHash));
    root[QLatin1String("settings")] = QString::fromStdString(snapshot.settingsText);
    root[QLatin1String("taken")] = QString::fromStdString(snapshot.takenAt);
    QJsonArray values;
    for (const SnapshotValue& entry : snapshot.values) {
        QJsonObject item;
        item[QLatin1String("number")] = entry.number;
        item[QLatin1String("name")] = QString::fromStdString(entry.name);
        item[QLatin1String("value")] = entry.value;
        values.append(item);
    }
    root[QLatin1String("values")] = values;
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

SnapshotRead ParseSnapshot(std::string_view text, const std::string& fileName) {
    SnapshotChecks checks(fileName);
    if (static_cast<qint64>(text.size()) > kMaxFileBytes) {
        checks.Fail("the file is too large to be a snapshot");
        return {std::nullopt, checks.Error()};
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(text.data(), static_cast<qsizetype>(text.size())), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        checks.Fail("not a snapshot (no JSON object: " + parseError.errorString().toStdString() +
                    ")");
        return {std::nullopt, checks.Error()};
    }
    const QJsonObject root = document.object();
    const auto version = checks.Integer(root, "version", 0, std::numeric_limits<int>::max());
    if (version && *version != Snapshot::kVersion) {
        checks.Fail("snapshot version " + std::to_string(*version) +
                    " is not one this program reads");
    }
    Snapshot snapshot;
    if (!checks.Failed()) {
        const auto unit = checks.Integer(root, "unit", 1, kLastUnit);
        const auto model = checks.Integer(root, "model", 0, kLastModel);
        const auto image = checks.Text(root, "menuImage", kHashDigits);
        const auto settings = checks.Text(root, "settings", kMaxSettingsChars);
        const auto taken = checks.Text(root, "taken", kMaxTimeChars);
        const auto hash = image ? ParseHash(*image) : std::nullopt;
        if (image && !hash) {
            checks.Fail("menuImage is not 16 hexadecimal digits");
        }
        if (!checks.Failed()) {
            snapshot.unit = *unit;
            snapshot.model = *model;
            snapshot.menuImageHash = *hash;
            snapshot.settingsText = *settings;
            snapshot.takenAt = *taken;
            ReadValues(root, checks, snapshot);
        }
    }
    if (checks.Failed()) {
        return {std::nullopt, checks.Error()};
    }
    return {std::move(snapshot), {}};
}

SnapshotRead ReadSnapshotFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {std::nullopt, path + ": " + file.errorString().toStdString()};
    }
    if (file.size() > kMaxFileBytes) {
        return {std::nullopt, path + ": the file is too large to be a snapshot"};
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    return ParseSnapshot(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                         path);
}

std::string WriteSnapshotFile(const std::string& path, const Snapshot& snapshot) {
    const QString name = QString::fromStdString(path);
    QDir().mkpath(QFileInfo(name).absolutePath());
    QSaveFile file(name);
    const std::string text = SnapshotJson(snapshot);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        return path + ": " + file.errorString().toStdString();
    }
    return {};
}

std::string SnapshotFolder() {
    return (QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/snapshots"))
        .toStdString();
}

std::string DefaultSnapshotPath(const Snapshot& snapshot) {
    std::string stamp = snapshot.takenAt;
    for (char& c : stamp) {
        if (c == ':') {
            c = '-';
        }
    }
    return SnapshotFolder() + "/unit" + std::to_string(snapshot.unit) + "-model" +
           std::to_string(snapshot.model) + "-" + stamp + ".json";
}
