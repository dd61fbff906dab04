#include "app/SurfaceSettings.h"

#include "app/UserSettings.h"

namespace {

constexpr const char* kSection = "Surface";

std::string Text(const QSettings& settings, const char* key, const std::string& fallback) {
    return settings.value(QLatin1String(key), QString::fromStdString(fallback))
        .toString()
        .toStdString();
}

}  // namespace

SurfaceSettings ReadSurfaceSettings() {
    const std::unique_ptr<QSettings> opened = OpenUserSettings();
    QSettings& settings = *opened;
    settings.beginGroup(QLatin1String(kSection));
    SurfaceSettings read;
    read.enabled = settings.value(QStringLiteral("Enabled"), false).toBool();
    read.input = Text(settings, "Input", read.input);
    read.output = Text(settings, "Output", read.output);
    read.mapping = Text(settings, "Mapping", read.mapping);
    read.system = Text(settings, "System", read.system);
    return read;
}

void StoreSurfaceSettings(const SurfaceSettings& stored) {
    const std::unique_ptr<QSettings> opened = OpenUserSettings();
    QSettings& settings = *opened;
    settings.beginGroup(QLatin1String(kSection));
    settings.setValue(QStringLiteral("Enabled"), stored.enabled);
    settings.setValue(QStringLiteral("Input"), QString::fromStdString(stored.input));
    settings.setValue(QStringLiteral("Output"), QString::fromStdString(stored.output));
    settings.setValue(QStringLiteral("Mapping"), QString::fromStdString(stored.mapping));
    settings.setValue(QStringLiteral("System"), QString::fromStdString(stored.system));
}
