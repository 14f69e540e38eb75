#pragma once

#include <QDBusVirtualObject>

namespace desktop {

// The object on the session bus that takes the shell's commands to the running copy's logic.
// Calls arrive on the main thread, where the object lives; each is answered once it has run.
class DesktopCommandObject : public QDBusVirtualObject {
public:
    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
};

}  // namespace desktop
