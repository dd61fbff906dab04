#include "app/SavedPort.h"

#include <QCoreApplication>
#include <QSettings>
#include <QString>

namespace {

constexpr const char* kCompany = "Korvanthe";
// Used when the program has not named itself (tools, tests).
constexpr const char* kDefaultApplication = "KorvantheVCP";
constexpr const char* kPortKey = "Ports/Port";

QString ApplicationName() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QString::fromLatin1(kDefaultApplication) : name;
}

int DigitValue(char c) {
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

}  // namespace

int PortNumberFromText(const std::string& text) {
    if (text.empty()) {
        return 1;
    }
    if (text.size() == 1) {
        return DigitValue(text.front());
    }
    return 10 + DigitValue(text.back());
}

int ReadSavedPort() {
    QSettings settings(QString::fromLatin1(kCompany), ApplicationName());
    const QString stored = settings.value(QString::fromLatin1(kPortKey)).toString();
    return PortNumberFromText(stored.toStdString());
}

void SavePortNumber(int portNumber) {
    QSettings settings(QString::fromLatin1(kCompany), ApplicationName());
    settings.setValue(QString::fromLatin1(kPortKey), QString::number(portNumber));
    settings.sync();
}
