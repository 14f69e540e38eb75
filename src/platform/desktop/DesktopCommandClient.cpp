#include "platform/desktop/DesktopCommandClient.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QThread>

#include <iostream>
#include <string>

#include "platform/desktop/DesktopBusAddress.h"

namespace desktop {
namespace {

using Clock = std::chrono::steady_clock;

std::string text(const QString& string) {
    return string.toStdString();
}

bool nameIsOwned(QDBusConnection& bus) {
    const auto reply =
        bus.interface()->isServiceRegistered(QString::fromLatin1(DesktopBusAddress::service));
    return reply.isValid() && reply.value();
}

// A copy told to quit leaves the bus as it ends; its answer may not make it out first.
bool waitUntilGone(QDBusConnection& bus, std::chrono::seconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (nameIsOwned(bus)) {
        if (Clock::now() > deadline) return false;
        QThread::msleep(20);
    }
    return true;
}

}  // namespace

int DesktopCommandClient::send(int argc, char** argv, ShellCommand command) {
    const std::string option(optionOf(command));
    QCoreApplication application(argc, argv);  // the bus wants one; no display needed
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::cerr << "veltrin " << option << ": no session bus (" << text(bus.lastError().message())
                  << ")\n";
        return 1;
    }
    if (!nameIsOwned(bus)) {
        std::cerr << "veltrin " << option << ": Veltrin is not running in this session\n";
        return 1;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(
        DesktopBusAddress::service, DesktopBusAddress::path, DesktopBusAddress::interface,
        DesktopBusAddress::methodOf(command));
    const int timeout = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(answerTimeout).count());
    const QDBusMessage answer = bus.call(call, QDBus::Block, timeout);
    if (command == ShellCommand::quit) {
        if (waitUntilGone(bus, quitTimeout)) return 0;
        std::cerr << "veltrin --quit: the running copy is still there after " << quitTimeout.count()
                  << " s\n";
        return 1;
    }
    if (answer.type() == QDBusMessage::ReplyMessage) return 0;
    if (answer.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")) {
        std::cerr << "veltrin " << option << ": Veltrin is not running in this session\n";
        return 1;
    }
    std::cerr << "veltrin " << option << ": the running copy did not answer ("
              << text(answer.errorMessage()) << ")\n";
    return 1;
}

}  // namespace desktop
