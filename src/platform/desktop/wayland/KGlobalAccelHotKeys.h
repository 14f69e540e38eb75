#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/HotKeys.h"

class QDBusConnection;
class QString;

namespace desktop {

class KGlobalAccelPresses;

// Hot keys held by KDE's shortcut service (KGlobalAccel, on the session bus): each
// registration is an action of our component carrying the combination; the service
// answers a combination that another component holds by leaving ours empty. Presses come
// as the component's signal, on the main thread. Calls to the service wait at most a few
// seconds; without the service, registering fails.
class KGlobalAccelHotKeys final : public platform::HotKeys {
public:
    // The bus at busAddress (empty: the session bus); component is the service's name for
    // us, friendlyName what the desktop's shortcut settings show.
    explicit KGlobalAccelHotKeys(const std::string& busAddress = {},
                                 std::string component = "veltrin",
                                 std::string friendlyName = "Veltrin");
    ~KGlobalAccelHotKeys() override;

    platform::EventTargetRef applicationEventTarget() override;
    platform::OSStatus registerEventHotKey(
        uint32_t keyCode, uint32_t modifiers, platform::EventHotKeyID identifier,
        platform::EventTargetRef target, uint32_t options,
        std::optional<platform::EventHotKeyRef>& outRef) override;
    platform::OSStatus unregisterEventHotKey(platform::EventHotKeyRef ref) override;
    platform::OSStatus installEventHandler(platform::EventTargetRef target,
                                           platform::EventHandlerUPP handler,
                                           const std::vector<platform::EventTypeSpec>& types,
                                           void* userData) override;
    platform::OSStatus getEventHotKeyID(platform::EventRef event,
                                        platform::EventHotKeyID& identifier) override;

private:
    struct Registration {
        platform::EventHotKeyRef ref;
        int key;
        platform::EventHotKeyID identifier;
        std::string action;
    };
    struct Handler {
        platform::EventHandlerUPP function;
        void* userData;
    };

    platform::OSStatus claim(const std::string& action, int key);
    void release(const std::string& action);
    void pressed(const QString& component, const QString& action);
    void callHandlers(const platform::EventHotKeyID& identifier);

    std::unique_ptr<QDBusConnection> bus_;
    const std::string component_;
    const std::string friendlyName_;
    std::unique_ptr<KGlobalAccelPresses> presses_;
    std::vector<Registration> registrations_;
    std::vector<Handler> handlers_;
    std::map<uint64_t, platform::EventHotKeyID> events_;  // presses being handled
    uint64_t nextHandle_ = 1;
};

}  // namespace desktop
