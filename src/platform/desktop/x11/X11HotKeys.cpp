#include <algorithm>
#include <map>

#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11HotKeyGrab.h"
#include "platform/desktop/x11/X11KeyCodes.h"
#include "platform/desktop/x11/X11Services.h"

namespace desktop {
namespace {

constexpr platform::EventTargetRef applicationTarget{1};
constexpr uint8_t xkbNewKeyboardNotify = 0;
// Longer than any repeat delay: a press after such a pause is new even if a release was lost.
constexpr xcb_timestamp_t repeatWindowMs = 2000;

// The first event code of the keyboard extension, 0 without it.
uint8_t xkbEventBase(X11Connection& x) {
    constexpr std::string_view name = "XKEYBOARD";
    const auto cookie = xcb_query_extension(x.get(), name.size(), name.data());
    const auto reply = xreply(xcb_query_extension_reply(x.get(), cookie, nullptr));
    return reply && reply->present ? reply->first_event : 0;
}

// Hot keys as passive key grabs on the root of the main connection; presses arrive with
// its events on the main thread.
class X11HotKeys final : public platform::HotKeys {
public:
    explicit X11HotKeys(X11Context& context);
    ~X11HotKeys() override;

    platform::EventTargetRef applicationEventTarget() override { return applicationTarget; }
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
        uint32_t keyCode;
        uint32_t mask;
        platform::EventHotKeyID identifier;
        X11HotKeyGrab grab;
        // Held: the toolkit's connection reports a key's repeats as presses without releases.
        bool down = false;
        xcb_timestamp_t pressedAt = 0;
    };
    struct Handler {
        platform::EventHandlerUPP function;
        void* userData;
    };

    X11HotKeyGrab grabFor(uint32_t keyCode, uint32_t mask) const;
    bool handle(const xcb_generic_event_t& event);
    bool pressed(const xcb_key_press_event_t& event);
    bool released(const xcb_key_release_event_t& event);
    void mappingChanged(const xcb_mapping_notify_event_t& event);
    bool isNewKeyboard(const xcb_generic_event_t& event) const;
    void grabAgain();
    void callHandlers(const platform::EventHotKeyID& identifier);

    X11Context& context_;
    X11KeyCodes keyCodes_;
    uint16_t numLock_;
    uint8_t xkbEventBase_;
    int subscription_ = 0;
    std::vector<Registration> registrations_;
    std::vector<Handler> handlers_;
    std::map<uint64_t, platform::EventHotKeyID> events_;  // presses being handled
    uint64_t nextHandle_ = 1;
};

X11HotKeys::X11HotKeys(X11Context& context)
    : context_(context),
      keyCodes_(context.main().get()),
      numLock_(keyCodes_.numLockMask()),
      xkbEventBase_(xkbEventBase(context.main())),
      subscription_(context.events().subscribe(
          [this](const xcb_generic_event_t& event) { return handle(event); })) {}

X11HotKeys::~X11HotKeys() {
    context_.events().unsubscribe(subscription_);
    for (Registration& registration : registrations_)
        registration.grab.release(context_.main());
}

X11HotKeyGrab X11HotKeys::grabFor(uint32_t keyCode, uint32_t mask) const {
    return X11HotKeyGrab(keyCodes_.keycodesOfKeyCode(keyCode),
                         X11KeyCodes::modifierStateOfMask(mask), numLock_);
}

// Grabbing the same combination twice would share one grab, so a second registration of
// it is refused as taken.
platform::OSStatus X11HotKeys::registerEventHotKey(
    uint32_t keyCode, uint32_t modifiers, platform::EventHotKeyID identifier,
    platform::EventTargetRef target, uint32_t, std::optional<platform::EventHotKeyRef>& outRef) {
    if (target != applicationTarget) return platform::eventHotKeyInvalidErr;
    const bool ours = std::any_of(registrations_.begin(), registrations_.end(), [&](auto& r) {
        return r.keyCode == keyCode && r.mask == modifiers;
    });
    if (ours) return platform::eventHotKeyExistsErr;
    X11HotKeyGrab grab = grabFor(keyCode, modifiers);
    if (const platform::OSStatus status = grab.grab(context_.main()); status != platform::noErr)
        return status;
    const platform::EventHotKeyRef ref{nextHandle_++};
    registrations_.push_back({ref, keyCode, modifiers, identifier, std::move(grab)});
    outRef = ref;
    return platform::noErr;
}

platform::OSStatus X11HotKeys::unregisterEventHotKey(platform::EventHotKeyRef ref) {
    const auto found = std::find_if(registrations_.begin(), registrations_.end(),
                                    [ref](const Registration& r) { return r.ref == ref; });
    if (found == registrations_.end()) return platform::eventHotKeyInvalidErr;
    found->grab.release(context_.main());
    registrations_.erase(found);
    return platform::noErr;
}

platform::OSStatus X11HotKeys::installEventHandler(
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

platform::OSStatus X11HotKeys::getEventHotKeyID(platform::EventRef event,
                                                platform::EventHotKeyID& identifier) {
    const auto found = events_.find(event.handle);
    if (found == events_.end()) return platform::eventParameterNotFoundErr;
    identifier = found->second;
    return platform::noErr;
}

bool X11HotKeys::handle(const xcb_generic_event_t& event) {
    switch (eventType(event)) {
        case XCB_KEY_PRESS:
            return pressed(reinterpret_cast<const xcb_key_press_event_t&>(event));
        case XCB_KEY_RELEASE:
            return released(reinterpret_cast<const xcb_key_release_event_t&>(event));
        case XCB_MAPPING_NOTIFY:
            mappingChanged(reinterpret_cast<const xcb_mapping_notify_event_t&>(event));
            return false;  // the toolkit keeps its own keymap
        default:
            if (isNewKeyboard(event)) {
                keyCodes_.reload();
                grabAgain();
            }
            return false;
    }
}

bool X11HotKeys::pressed(const xcb_key_press_event_t& event) {
    if (event.event != context_.main().root()) return false;
    const auto found = std::find_if(registrations_.begin(), registrations_.end(),
                                    [&](const auto& r) { return r.grab.matchesPress(event); });
    if (found == registrations_.end()) return false;
    const bool repeat = found->down && event.time - found->pressedAt < repeatWindowMs;
    found->down = true;
    found->pressedAt = event.time;
    if (!repeat) callHandlers(found->identifier);
    return true;
}

// The modifiers may go up before the key, so a release is known by its key alone.
bool X11HotKeys::released(const xcb_key_release_event_t& event) {
    if (event.event != context_.main().root()) return false;
    bool ours = false;
    for (Registration& registration : registrations_) {
        if (!registration.down || !registration.grab.matchesKey(event.detail)) continue;
        registration.down = false;
        ours = true;
    }
    return ours;
}

void X11HotKeys::mappingChanged(const xcb_mapping_notify_event_t& event) {
    if (event.request == XCB_MAPPING_POINTER) return;
    keyCodes_.refresh(event);
    grabAgain();
}

// The toolkit's connection uses the keyboard extension, which reports a new layout with
// this event instead of a MappingNotify.
bool X11HotKeys::isNewKeyboard(const xcb_generic_event_t& event) const {
    return xkbEventBase_ != 0 && eventType(event) == xkbEventBase_ &&
           event.pad0 == xkbNewKeyboardNotify;
}

// Key codes may have moved to other keys, and NumLock to another modifier.
void X11HotKeys::grabAgain() {
    numLock_ = keyCodes_.numLockMask();
    for (Registration& registration : registrations_) {
        registration.grab.release(context_.main());
        registration.grab = grabFor(registration.keyCode, registration.mask);
        registration.grab.grab(context_.main());  // a refused key stays silent until reinstalled
        registration.down = false;
    }
}

// The handlers read the identifier back while the press is on record. A handler may
// install another one, so they are called from a copy.
void X11HotKeys::callHandlers(const platform::EventHotKeyID& identifier) {
    const uint64_t handle = nextHandle_++;
    events_[handle] = identifier;
    const std::vector<Handler> handlers = handlers_;
    for (const Handler& handler : handlers)
        handler.function({nextHandle_++}, {handle}, handler.userData);
    events_.erase(handle);
}

}  // namespace

std::unique_ptr<platform::HotKeys> makeHotKeys(X11Context& context) {
    return std::make_unique<X11HotKeys>(context);
}

}  // namespace desktop
