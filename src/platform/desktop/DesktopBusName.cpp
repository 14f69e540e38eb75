#include "platform/desktop/DesktopBusName.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <string>

#include "app/Log.h"
#include "platform/desktop/DesktopBusAddress.h"
#include "platform/desktop/DesktopCommandObject.h"

namespace desktop {
namespace {

QString serviceName() {
    return QString::fromLatin1(DesktopBusAddress::service);
}

}  // namespace

DesktopBusName::DesktopBusName() = default;

DesktopBusName::~DesktopBusName() {
    if (commands_ != nullptr)
        QDBusConnection::sessionBus().unregisterObject(DesktopBusAddress::path);
}

std::optional<int32_t> DesktopBusName::otherCopy() {
    if (asked_) return other_;
    asked_ = true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        flog("bus: no session bus (" + bus.lastError().message().toStdString() +
             "): no commands from the shell, one copy per display only");
        return std::nullopt;
    }
    // The object goes on the bus before the name, so that the first call finds it.
    commands_ = std::make_unique<DesktopCommandObject>();
    bus.registerVirtualObject(DesktopBusAddress::path, commands_.get());
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(serviceName(), QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {  // the bus refused us, which is no sign of another copy
        flog("bus: cannot own " + serviceName().toStdString() + " (" +
             reply.error().message().toStdString() + "): no commands from the shell");
        return std::nullopt;
    }
    if (reply.value() == QDBusConnectionInterface::ServiceRegistered) return std::nullopt;
    const QDBusReply<uint> pid = bus.interface()->servicePid(serviceName());
    other_ = pid.isValid() ? static_cast<int32_t>(pid.value()) : -1;
    return other_;
}

}  // namespace desktop
