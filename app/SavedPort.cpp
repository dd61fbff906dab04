#include "app/SavedPort.h"

#include <QString>

#include "app/UserSettings.h"

namespace {

constexpr const char* kPortKey = "Ports/Port";

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
    const QString stored = OpenUserSettings()->value(QString::fromLatin1(kPortKey)).toString();
    return PortNumberFromText(stored.toStdString());
}

void SavePortNumber(int portNumber) {
    const auto settings = OpenUserSettings();
    settings->setValue(QString::fromLatin1(kPortKey), QString::number(portNumber));
    settings->sync();
}
