#include "desktop/wayland/TrayHost.h"

#include <unistd.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

#include <mutex>
#include <thread>

#include "desktop/wayland/HeadlessKWin.h"

namespace {

using namespace std::chrono_literals;

const QString watcherName = "org.kde.StatusNotifierWatcher";
const QString watcherPath = "/StatusNotifierWatcher";
const QString itemInterface = "org.kde.StatusNotifierItem";
const QString menuInterface = "com.canonical.dbusmenu";
const QString propertiesInterface = "org.freedesktop.DBus.Properties";
constexpr int callTimeoutMs = 5000;

const char* watcherInterface = R"( <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
)";

// A key of a dbusmenu shortcut as the menus themselves write it ("Control" is "Ctrl").
QString keyName(const QString& key) {
    if (key == "Control") return "Ctrl";
    if (key == "Super") return "Meta";
    return key;
}

QString shortcutText(const QVariant& value) {
    const QDBusArgument argument = value.value<QDBusArgument>();
    QStringList combinations;
    argument.beginArray();
    while (!argument.atEnd()) {
        QStringList keys;
        argument >> keys;
        for (QString& key : keys)
            key = keyName(key);
        combinations << keys.join('+');
    }
    argument.endArray();
    return combinations.join(", ");
}

QString entryText(const QVariantMap& properties) {
    if (properties.value("type").toString() == "separator") return "---";
    QString text = properties.value("label").toString().replace("__", "_");
    if (properties.contains("shortcut"))
        text += " [" + shortcutText(properties.value("shortcut")) + "]";
    if (!properties.value("enabled", true).toBool()) text += " (disabled)";
    if (properties.value("toggle-state", 0).toInt() == 1) text = "[x] " + text;
    return text;
}

}  // namespace

// The watcher's object, served on a thread of its own so that a program's calls are answered
// while the test waits or calls the program in turn.
class TrayHost::Watcher : public QDBusVirtualObject {
public:
    explicit Watcher(bool withPanel) : panel_(withPanel) {}

    void registerPanel(const QDBusConnection& connection) {
        {
            std::lock_guard lock(mutex_);
            panel_ = true;
        }
        connection.send(
            QDBusMessage::createSignal(watcherPath, watcherName, "StatusNotifierHostRegistered"));
    }

    std::optional<std::string> firstItem() const {
        std::lock_guard lock(mutex_);
        if (items_.isEmpty()) return std::nullopt;
        return items_.front().toStdString();
    }

    QString introspect(const QString&) const override { return watcherInterface; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        QDBusMessage reply = message.createReply();
        if (member == "Introspect") {
            reply << "<node>\n" + introspect({}) + "</node>\n";
        } else if (member == "RegisterStatusNotifierItem") {
            registerItem(message, connection);
        } else if (member == "Get" && message.interface() == propertiesInterface) {
            const QVariantMap all = properties();
            const QString name = message.arguments().value(1).toString();
            if (!all.contains(name)) return false;
            reply << QVariant::fromValue(QDBusVariant(all.value(name)));
        } else if (member == "GetAll" && message.interface() == propertiesInterface) {
            reply << properties();
        } else if (member != "RegisterStatusNotifierHost") {
            return false;
        }
        connection.send(reply);
        return true;
    }

private:
    // An item names its bus name, or only its path on the caller's connection.
    void registerItem(const QDBusMessage& message, const QDBusConnection& connection) {
        QString service = message.arguments().value(0).toString();
        if (service.startsWith('/')) service = message.service();
        {
            std::lock_guard lock(mutex_);
            if (!items_.contains(service)) items_ << service;
        }
        QDBusMessage signal =
            QDBusMessage::createSignal(watcherPath, watcherName, "StatusNotifierItemRegistered");
        signal << service;
        connection.send(signal);
    }

    QVariantMap properties() const {
        std::lock_guard lock(mutex_);
        return {{"RegisteredStatusNotifierItems", items_},
                {"IsStatusNotifierHostRegistered", panel_},
                {"ProtocolVersion", 0}};
    }

    mutable std::mutex mutex_;  // guards items_ and panel_
    QStringList items_;
    bool panel_;
};

TrayHost::TrayHost(const std::string& busAddress, bool withPanel)
    : connectionName_("veltrin tray host " + busAddress),
      thread_(std::make_unique<QThread>()),
      watcher_(std::make_unique<Watcher>(withPanel)) {
    HeadlessKWin::ensureApplication();
    thread_->start();
    watcher_->moveToThread(thread_.get());
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromStdString(busAddress),
                                                        QString::fromStdString(connectionName_));
    bus.registerVirtualObject(watcherPath, watcher_.get());
    bus.registerService(watcherName);
    if (withPanel) registerPanel();
}

void TrayHost::registerPanel() {
    QDBusConnection bus(QString::fromStdString(connectionName_));
    bus.registerService("org.kde.StatusNotifierHost-" + QString::number(::getpid()));
    watcher_->registerPanel(bus);
}

TrayHost::~TrayHost() {
    {
        QDBusConnection bus(QString::fromStdString(connectionName_));
        bus.unregisterObject(watcherPath);
    }
    QDBusConnection::disconnectFromBus(QString::fromStdString(connectionName_));
    thread_->quit();
    thread_->wait();
}

std::optional<std::string> TrayHost::waitForItem(std::chrono::milliseconds timeout) {
    for (auto deadline = std::chrono::steady_clock::now() + timeout;;
         std::this_thread::sleep_for(20ms)) {
        if (auto item = watcher_->firstItem()) return item;
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    }
}

// Where the item serves its menu: its Menu property.
std::string TrayHost::menuPath() {
    const auto item = watcher_->firstItem();
    if (!item) return {};
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromStdString(*item), "/StatusNotifierItem", propertiesInterface, "Get");
    get << itemInterface << QString("Menu");
    const QDBusMessage reply = QDBusConnection(QString::fromStdString(connectionName_))
                                   .call(get, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    const QVariant value = reply.arguments().front().value<QDBusVariant>().variant();
    return qdbus_cast<QDBusObjectPath>(value).path().toStdString();
}

// As a panel opens a menu: the item is told, then its entries read.
std::vector<TrayHost::Entry> TrayHost::open() {
    const auto item = watcher_->firstItem();
    const std::string path = menuPath();
    if (!item || path.empty()) return {};
    QDBusConnection bus(QString::fromStdString(connectionName_));
    const auto call = [&](const QString& method, const QVariantList& arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            QString::fromStdString(*item), QString::fromStdString(path), menuInterface, method);
        message.setArguments(arguments);
        return bus.call(message, QDBus::Block, callTimeoutMs);
    };
    call("AboutToShow", {0});
    const QDBusMessage layout = call("GetLayout", {0, -1, QStringList()});
    if (layout.type() != QDBusMessage::ReplyMessage || layout.arguments().size() < 2) return {};
    // (ia{sv}av): the root, whose children are the entries.
    const QDBusArgument root = layout.arguments().at(1).value<QDBusArgument>();
    int rootId = 0;
    QVariantMap rootProperties;
    root.beginStructure();
    root >> rootId >> rootProperties;
    std::vector<Entry> entries;
    root.beginArray();
    while (!root.atEnd()) {
        QDBusVariant child;
        root >> child;
        const QDBusArgument node = child.variant().value<QDBusArgument>();
        Entry entry;
        QVariantMap properties;
        node.beginStructure();
        node >> entry.id >> properties;
        node.endStructure();
        if (!properties.value("visible", true).toBool()) continue;
        entry.title = properties.value("label").toString().replace("__", "_").toStdString();
        entry.enabled = properties.value("enabled", true).toBool();
        entry.text = entryText(properties).toStdString();
        entries.push_back(entry);
    }
    root.endArray();
    root.endStructure();
    return entries;
}

std::vector<std::string> TrayHost::menu() {
    std::vector<std::string> texts;
    for (const Entry& entry : open())
        texts.push_back(entry.text);
    return texts;
}

bool TrayHost::choose(const std::string& title) {
    const auto item = watcher_->firstItem();
    for (const Entry& entry : open()) {
        if (entry.title != title || !entry.enabled) continue;
        QDBusMessage event = QDBusMessage::createMethodCall(QString::fromStdString(*item),
                                                            QString::fromStdString(menuPath()),
                                                            menuInterface, "Event");
        event << entry.id << QString("clicked") << QVariant::fromValue(QDBusVariant(QString()))
              << uint(0);
        // Sent without waiting, as a panel does: the toolkit answers no event.
        return QDBusConnection(QString::fromStdString(connectionName_)).send(event);
    }
    return false;
}
