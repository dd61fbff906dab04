#include "platform/QtPrompter.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Stop:
            return QMessageBox::Critical;
        case PromptIcon::Question:
            return QMessageBox::Question;
        case PromptIcon::Warning:
            return QMessageBox::Warning;
        case PromptIcon::Information:
            break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons ButtonsOf(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case PromptButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case PromptButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

PromptAnswer QtPrompter::Show(const std::string& text, const std::string& caption, PromptIcon icon,
                              PromptButtons buttons) {
    return ShowWithDetail(text, {}, caption, icon, buttons);
}

PromptAnswer QtPrompter::ShowWithDetail(const std::string& text, const std::string& detail,
                                        const std::string& caption, PromptIcon icon,
                                        PromptButtons buttons) {
    QMessageBox box(IconOf(icon), QString::fromLatin1(caption.c_str()),
                    QString::fromLatin1(text.c_str()), ButtonsOf(buttons), m_parent);
    box.setInformativeText(QString::fromLatin1(detail.c_str()));
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return PromptAnswer::Cancel;
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Ok;
    }
}
