#include "platform/desktop/DesktopCommandObject.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include "platform/desktop/DesktopBusAddress.h"

namespace desktop {

QString DesktopCommandObject::introspect(const QString&) const {
    QString text = QStringLiteral("<interface name=\"%1\">").arg(DesktopBusAddress::interface);
    for (const ShellCommand command :
         {ShellCommand::toggle, ShellCommand::unpinAll, ShellCommand::quit})
        text += QStringLiteral("<method name=\"%1\"/>").arg(DesktopBusAddress::methodOf(command));
    return text + QStringLiteral("</interface>");
}

bool DesktopCommandObject::handleMessage(const QDBusMessage& message,
                                         const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage) return false;
    const QString interface = message.interface();
    if (!interface.isEmpty() && interface != QLatin1String(DesktopBusAddress::interface))
        return false;  // introspection and properties are the bus library's
    const auto command = DesktopBusAddress::commandOf(message.member().toStdString());
    if (!command && interface.isEmpty()) return false;
    if (!command || !message.arguments().isEmpty()) {
        connection.send(message.createErrorReply(
            QDBusError::UnknownMethod,
            QStringLiteral("no command %1 taking these arguments").arg(message.member())));
        return true;
    }
    runShellCommand(*command);
    connection.send(message.createReply());
    return true;
}

}  // namespace desktop
