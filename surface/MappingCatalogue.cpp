#include "surface/MappingCatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

// Outside any namespace, as the resource's initialiser is declared there.
static void InitMappingResources() {
    Q_INIT_RESOURCE(mappings);
}

namespace {

constexpr const char* kShippedResources = ":/mappings";

// Shipped folders, best first: the compiled-in files, then an install tree's.
std::vector<QString> ShippedFolders() {
    InitMappingResources();
    std::vector<QString> folders{QString::fromLatin1(kShippedResources)};
    if (QCoreApplication::instance() != nullptr) {
        folders.push_back(QCoreApplication::applicationDirPath() +
                          QStringLiteral("/../share/vcp/mappings"));
    }
    return folders;
}

void AddFolder(const QString& folder, bool user, std::vector<MappingListing>& listings) {
    const QDir dir(folder);
    for (const QFileInfo& file : dir.entryInfoList(
             {QStringLiteral("*") + QLatin1String(kMappingFileSuffix)}, QDir::Files, QDir::Name)) {
        const std::string stem = file.completeBaseName().toStdString();
        const bool known = std::any_of(listings.begin(), listings.end(),
                                       [&stem](const auto& each) { return each.stem == stem; });
        if (known) {
            continue;
        }
        MappingListing listing{stem, {}, file.filePath().toStdString(), user, {}};
        const MappingRead read = ReadMappingFile(listing.path);
        if (read.mapping) {
            listing.name = read.mapping->name;
        } else {
            listing.error = read.error;
        }
        listings.push_back(std::move(listing));
    }
}

}  // namespace

std::string UserMappingFolder() {
    return (QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
            QStringLiteral("/mappings"))
        .toStdString();
}

std::vector<MappingListing> ListMappings() {
    std::vector<MappingListing> listings;
    AddFolder(QString::fromStdString(UserMappingFolder()), true, listings);
    for (const QString& folder : ShippedFolders()) {
        AddFolder(folder, false, listings);
    }
    return listings;
}

std::optional<MappingListing> FindMapping(const std::vector<MappingListing>& listings,
                                          const std::string& named) {
    const QString wanted = QString::fromStdString(named).trimmed();
    for (const MappingListing& listing : listings) {
        const QString stem = QString::fromStdString(listing.stem);
        if (wanted == stem || wanted == stem + QLatin1String(kMappingFileSuffix)) {
            return listing;
        }
    }
    for (const MappingListing& listing : listings) {
        if (!listing.name.empty() && wanted.compare(QString::fromStdString(listing.name).trimmed(),
                                                    Qt::CaseInsensitive) == 0) {
            return listing;
        }
    }
    return std::nullopt;
}

MappingRead LoadMapping(const std::string& named) {
    const std::optional<MappingListing> listing = FindMapping(ListMappings(), named);
    if (!listing) {
        return {std::nullopt,
                "No mapping is named \"" + named + "\", by its file or by its own name.",
                {},
                0};
    }
    return ReadMappingFile(listing->path);
}

std::string SaveUserMapping(const Mapping& mapping, const std::string& stem) {
    const QString folder = QString::fromStdString(UserMappingFolder());
    if (!QDir().mkpath(folder)) {
        return "Cannot create " + folder.toStdString() + ".";
    }
    QSaveFile file(folder + QLatin1Char('/') + QString::fromStdString(stem) +
                   QLatin1String(kMappingFileSuffix));
    if (!file.open(QIODevice::WriteOnly) || file.write(WriteMapping(mapping)) < 0 ||
        !file.commit()) {
        return file.fileName().toStdString() + ": " + file.errorString().toStdString() + ".";
    }
    return {};
}
