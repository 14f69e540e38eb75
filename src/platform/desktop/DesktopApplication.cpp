#include "platform/desktop/DesktopApplication.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "app/Log.h"

namespace desktop {

void DesktopApplication::run() {
    dispatch_.mainAsync([this] {
        if (delegate_ != nullptr) delegate_->applicationDidFinishLaunching();
    });
    QCoreApplication::exec();
}

void DesktopApplication::terminate() {
    // Leaves the loop once the current work is done, as the desktop's own quit does.
    dispatch_.mainAsync([] { QCoreApplication::exit(0); });
}

// Not modal, so the tray and the shortcut go on working; its text can be selected and copied.
void DesktopApplication::showMessage(const std::string& title, const std::string& text,
                                     const std::string& buttonTitle) {
    auto* box = new QMessageBox(QMessageBox::Information, QString::fromStdString(title),
                                QString::fromStdString(text));
    // The text as the box holds it, on one line.
    flog("message: " + title + ": " + box->text().replace('\n', " | ").toStdString());
    box->addButton(QString::fromStdString(buttonTitle), QMessageBox::AcceptRole);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    box->raise();
    box->activateWindow();
}

}  // namespace desktop
