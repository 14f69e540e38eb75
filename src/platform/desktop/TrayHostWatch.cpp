#include "platform/desktop/TrayHostWatch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QTimer>

namespace desktop {
namespace {

const QString watcherName = "org.kde.StatusNotifierWatcher";
const QString watcherPath = "/StatusNotifierWatcher";
constexpr int askTimeoutMs = 1000;

}  // namespace

bool TrayHostWatch::present() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcherName).value())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(watcherName, watcherPath,
                                                      "org.freedesktop.DBus.Properties", "Get");
    get << watcherName << QString("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, askTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().front().value<QDBusVariant>().variant().toBool();
}

// Asked again when the watcher's name is taken and when it says a host registered.
TrayHostWatch::TrayHostWatch(std::function<void()> arrived)
    : arrived_(std::move(arrived)), check_(std::make_unique<QTimer>()) {
    check_->setSingleShot(true);
    QObject::connect(check_.get(), &QTimer::timeout, [this] {
        if (!arrived_ || !present()) return;
        const auto arrived = std::move(arrived_);
        arrived_ = nullptr;
        arrived();
    });
    QDBusConnection bus = QDBusConnection::sessionBus();
    watcher_ = std::make_unique<QDBusServiceWatcher>(watcherName, bus,
                                                     QDBusServiceWatcher::WatchForRegistration);
    QObject::connect(watcher_.get(), &QDBusServiceWatcher::serviceRegistered,
                     [this] { check_->start(0); });
    bus.connect(watcherName, watcherPath, watcherName, "StatusNotifierHostRegistered", check_.get(),
                SLOT(start()));
}

TrayHostWatch::~TrayHostWatch() {
    QDBusConnection::sessionBus().disconnect(watcherName, watcherPath, watcherName,
                                             "StatusNotifierHostRegistered", check_.get(),
                                             SLOT(start()));
}

}  // namespace desktop
