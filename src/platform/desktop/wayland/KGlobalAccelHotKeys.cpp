#include "platform/desktop/wayland/KGlobalAccelHotKeys.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <cctype>

#include "platform/desktop/wayland/KGlobalAccelKeys.h"
#include "platform/desktop/wayland/KGlobalAccelPresses.h"

namespace desktop {
namespace {

const QString service = QStringLiteral("org.kde.kglobalaccel");
const QString servicePath = QStringLiteral("/kglobalaccel");
const QString serviceInterface = QStringLiteral("org.kde.KGlobalAccel");
const QString componentInterface = QStringLiteral("org.kde.kglobalaccel.Component");
constexpr platform::EventTargetRef applicationTarget{1};
constexpr int callTimeoutMs = 3000;
// Mark the action present, and take the given keys instead of those the service remembers.
constexpr uint setPresent = 2;
constexpr uint noAutoloading = 4;

QDBusConnection connectBus(const std::string& address) {
    if (address.empty()) return QDBusConnection::sessionBus();
    const QString name = QString::fromStdString("veltrin-hotkeys " + address);
    return QDBusConnection::connectToBus(QString::fromStdString(address), name);
}

// The service's object path of a component: its name with what a path cannot hold as _.
QString componentPath(const std::string& component) {
    QString path = QStringLiteral("/component/");
    for (char c : component)
        path += std::isalnum(static_cast<unsigned char>(c)) ? QChar(c) : QChar('_');
    return path;
}

}  // namespace

KGlobalAccelHotKeys::KGlobalAccelHotKeys(const std::string& busAddress, std::string component,
                                         std::string friendlyName)
    : bus_(std::make_unique<QDBusConnection>(connectBus(busAddress))),
      component_(std::move(component)),
      friendlyName_(std::move(friendlyName)),
      presses_(std::make_unique<KGlobalAccelPresses>(
          [this](const QString& component, const QString& action) {
              pressed(component, action);
          })) {
    bus_->connect(service, componentPath(component_), componentInterface,
                  QStringLiteral("globalShortcutPressed"), presses_.get(),
                  SLOT(globalShortcutPressed(QString, QString, qlonglong)));
}

// Registrations stay with the service when the program ends, as KDE programs' shortcuts do.
KGlobalAccelHotKeys::~KGlobalAccelHotKeys() {
    bus_->disconnect(service, componentPath(component_), componentInterface,
                     QStringLiteral("globalShortcutPressed"), presses_.get(),
                     SLOT(globalShortcutPressed(QString, QString, qlonglong)));
}

platform::EventTargetRef KGlobalAccelHotKeys::applicationEventTarget() {
    return applicationTarget;
}

platform::OSStatus KGlobalAccelHotKeys::registerEventHotKey(
    uint32_t keyCode, uint32_t modifiers, platform::EventHotKeyID identifier,
    platform::EventTargetRef target, uint32_t, std::optional<platform::EventHotKeyRef>& outRef) {
    const std::optional<int> key = kglobalAccelKeyOf(keyCode, modifiers);
    const std::string action = "hotkey-" + std::to_string(identifier.id);
    if (target != applicationTarget || !key) return platform::eventHotKeyInvalidErr;
    const bool ours = std::any_of(registrations_.begin(), registrations_.end(),
                                  [&](auto& r) { return r.key == *key || r.action == action; });
    if (ours) return platform::eventHotKeyExistsErr;
    if (const platform::OSStatus status = claim(action, *key); status != platform::noErr)
        return status;
    const platform::EventHotKeyRef ref{nextHandle_++};
    registrations_.push_back({ref, *key, identifier, action});
    outRef = ref;
    return platform::noErr;
}

// The service gives the action the keys it could have: none when another component
// holds the combination. Such an action is taken back, so it leaves nothing behind.
platform::OSStatus KGlobalAccelHotKeys::claim(const std::string& action, int key) {
    if (!bus_->isConnected()) return platform::eventHotKeyInvalidErr;
    const QStringList actionId = {QString::fromStdString(component_),
                                  QString::fromStdString(action),
                                  QString::fromStdString(friendlyName_),
                                  QString::fromStdString(friendlyName_ + ": " + action)};
    QDBusMessage doRegister =
        QDBusMessage::createMethodCall(service, servicePath, serviceInterface, "doRegister");
    doRegister << actionId;
    if (bus_->call(doRegister, QDBus::Block, callTimeoutMs).type() == QDBusMessage::ErrorMessage)
        return platform::eventHotKeyInvalidErr;
    QDBusMessage setShortcut =
        QDBusMessage::createMethodCall(service, servicePath, serviceInterface, "setShortcut");
    setShortcut << actionId << QVariant::fromValue(QList<int>{key}) << (setPresent | noAutoloading);
    const QDBusMessage reply = bus_->call(setShortcut, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        release(action);
        return platform::eventHotKeyInvalidErr;
    }
    const QList<int> given = qdbus_cast<QList<int>>(reply.arguments().at(0));
    if (given.size() == 1 && given.front() == key) return platform::noErr;
    release(action);
    return platform::eventHotKeyExistsErr;
}

void KGlobalAccelHotKeys::release(const std::string& action) {
    QDBusMessage unregister =
        QDBusMessage::createMethodCall(service, servicePath, serviceInterface, "unregister");
    unregister << QString::fromStdString(component_) << QString::fromStdString(action);
    bus_->call(unregister, QDBus::Block, callTimeoutMs);
}

platform::OSStatus KGlobalAccelHotKeys::unregisterEventHotKey(platform::EventHotKeyRef ref) {
    const auto found = std::find_if(registrations_.begin(), registrations_.end(),
                                    [ref](const Registration& r) { return r.ref == ref; });
    if (found == registrations_.end()) return platform::eventHotKeyInvalidErr;
    const std::string action = found->action;
    registrations_.erase(found);
    release(action);
    return platform::noErr;
}

platform::OSStatus KGlobalAccelHotKeys::installEventHandler(
    platform::EventTargetRef target, platform::EventHandlerUPP handler,
    const std::vector<platform::EventTypeSpec>& types, void* userData) {
    if (target != applicationTarget || handler == nullptr) return platform::eventHotKeyInvalidErr;
    const bool wantsPresses = std::any_of(types.begin(), types.end(), [](auto& type) {
        return type.eventClass == platform::kEventClassKeyboard &&
               type.eventKind == platform::kEventHotKeyPressed;
    });
    if (wantsPresses) handlers_.push_back({handler, userData});
    return platform::noErr;
}

platform::OSStatus KGlobalAccelHotKeys::getEventHotKeyID(platform::EventRef event,
                                                         platform::EventHotKeyID& identifier) {
    const auto found = events_.find(event.handle);
    if (found == events_.end()) return platform::eventParameterNotFoundErr;
    identifier = found->second;
    return platform::noErr;
}

void KGlobalAccelHotKeys::pressed(const QString& component, const QString& action) {
    if (component.toStdString() != component_) return;
    const auto found =
        std::find_if(registrations_.begin(), registrations_.end(),
                     [&](const Registration& r) { return r.action == action.toStdString(); });
    if (found != registrations_.end()) callHandlers(found->identifier);
}

void KGlobalAccelHotKeys::callHandlers(const platform::EventHotKeyID& identifier) {
    const uint64_t handle = nextHandle_++;
    events_[handle] = identifier;
    const std::vector<Handler> handlers = handlers_;
    for (const Handler& handler : handlers)
        handler.function({nextHandle_++}, {handle}, handler.userData);
    events_.erase(handle);
}

}  // namespace desktop
