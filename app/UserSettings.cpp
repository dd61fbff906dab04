#include "app/UserSettings.h"

#include <QCoreApplication>
#include <QString>

namespace {

constexpr const char* kCompany = "Korvanthe";
constexpr const char* kDefaultApplication = "KorvantheVCP";

}  // namespace

std::unique_ptr<QSettings> OpenUserSettings() {
    const QString name = QCoreApplication::applicationName();
    return std::make_unique<QSettings>(
        QString::fromLatin1(kCompany),
        name.isEmpty() ? QString::fromLatin1(kDefaultApplication) : name);
}
