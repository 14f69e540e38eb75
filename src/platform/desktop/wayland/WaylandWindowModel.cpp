#include "platform/desktop/wayland/WaylandWindowModel.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <sstream>

#include "plasma-window-management-client-protocol.h"
#include "platform/desktop/wayland/WaylandConnection.h"

namespace desktop {
namespace {

std::string executableOf(int32_t pid) {
    if (pid <= 0) return {};
    char path[PATH_MAX];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t length = ::readlink(link.c_str(), path, sizeof path - 1);
    return length > 0 ? std::string(path, size_t(length)) : std::string();
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

}  // namespace

struct WaylandWindowModel::Entry {
    WaylandWindowModel* model;
    org_kde_plasma_window* proxy;
    WaylandWindow window;
};

WaylandWindowModel::WaylandWindowModel(WaylandConnection& connection) : connection_(connection) {
    connection.onWindowManagementBound([this] { listen(); });
    connection.onGlobalRemoved([this](const std::string& interface) {
        if (interface == org_kde_plasma_window_management_interface.name) forgetAll();
    });
}

// The compositor withdrew its window list: no window is known any more.
void WaylandWindowModel::forgetAll() {
    std::vector<std::unique_ptr<Entry>> gone;
    {
        std::lock_guard lock(mutex_);
        gone.swap(entries_);
        stacking_.clear();
    }
    for (const auto& entry : gone)
        org_kde_plasma_window_destroy(entry->proxy);
    notifyChange();
}

WaylandWindowModel::~WaylandWindowModel() {
    for (const auto& entry : entries_)
        org_kde_plasma_window_destroy(entry->proxy);
}

void WaylandWindowModel::listen() {
    static const org_kde_plasma_window_management_listener listener{
        [](void*, org_kde_plasma_window_management*, uint32_t) {},
        &WaylandWindowModel::windowAnnounced,
        [](void*, org_kde_plasma_window_management*, wl_array*) {},
        &WaylandWindowModel::stackingChanged,
        &WaylandWindowModel::windowWithUuid,
    };
    if (auto* management = connection_.windowManagement())
        org_kde_plasma_window_management_add_listener(management, &listener, this);
}

std::vector<WaylandWindow> WaylandWindowModel::windowsTopFirst() const {
    std::lock_guard lock(mutex_);
    std::vector<WaylandWindow> windows;
    for (const auto& entry : entries_)
        if (entry->window.ready) windows.push_back(entry->window);
    const auto rank = [this](const WaylandWindow& w) {
        const auto found = std::find(stacking_.begin(), stacking_.end(), w.uuid);
        return found == stacking_.end() ? -1 : long(found - stacking_.begin());
    };
    std::stable_sort(windows.begin(), windows.end(),
                     [&](const auto& a, const auto& b) { return rank(a) > rank(b); });
    return windows;
}

std::optional<WaylandWindow> WaylandWindowModel::window(uint32_t id) const {
    std::lock_guard lock(mutex_);
    for (const auto& entry : entries_)
        if (entry->window.id == id && entry->window.ready) return entry->window;
    return std::nullopt;
}

std::optional<WaylandWindow> WaylandWindowModel::activeWindow() const {
    std::lock_guard lock(mutex_);
    for (const auto& entry : entries_)
        if (entry->window.ready && entry->window.active()) return entry->window;
    return std::nullopt;
}

bool WaylandWindowModel::bounds(uint32_t id, platform::Rect& rect) const {
    std::lock_guard lock(mutex_);
    for (const auto& entry : entries_) {
        if (entry->window.id != id || !entry->window.ready) continue;
        rect = entry->window.geometry;
        rect.x -= origin_.x;
        rect.y -= origin_.y;
        return true;
    }
    return false;
}

void WaylandWindowModel::setOrigin(platform::Point origin) {
    std::lock_guard lock(mutex_);
    origin_ = origin;
}

platform::Point WaylandWindowModel::origin() const {
    std::lock_guard lock(mutex_);
    return origin_;
}

bool WaylandWindowModel::activate(uint32_t id) {
    for (const auto& entry : entries_) {
        if (entry->window.id != id) continue;
        org_kde_plasma_window_set_state(entry->proxy, WaylandWindow::activeState,
                                        WaylandWindow::activeState);
        connection_.flush();
        return true;
    }
    return false;
}

int WaylandWindowModel::addGeometryListener(GeometryListener listener) {
    listeners_.push_back({nextToken_, std::move(listener), nullptr});
    return nextToken_++;
}

int WaylandWindowModel::addChangeListener(ChangeListener listener) {
    listeners_.push_back({nextToken_, nullptr, std::move(listener)});
    return nextToken_++;
}

void WaylandWindowModel::removeListener(int token) {
    std::erase_if(listeners_, [token](const Listener& l) { return l.token == token; });
}

void WaylandWindowModel::windowAnnounced(void* data, org_kde_plasma_window_management*,
                                         uint32_t id) {
    auto& self = *static_cast<WaylandWindowModel*>(data);
    // Newer compositors announce each window twice; the announcement with its uuid counts.
    if (self.connection_.windowManagementVersion() < 13) self.add(id, {});
}

void WaylandWindowModel::windowWithUuid(void* data, org_kde_plasma_window_management*, uint32_t id,
                                        const char* uuid) {
    static_cast<WaylandWindowModel*>(data)->add(id, uuid != nullptr ? uuid : "");
}

void WaylandWindowModel::stackingChanged(void* data, org_kde_plasma_window_management*,
                                         const char* uuids) {
    auto& self = *static_cast<WaylandWindowModel*>(data);
    {
        std::lock_guard lock(self.mutex_);
        self.stacking_ = split(uuids != nullptr ? uuids : "", ';');
    }
    self.notifyChange();
}

void WaylandWindowModel::add(uint32_t id, const std::string& uuid) {
    auto* management = connection_.windowManagement();
    if (management == nullptr) return;
    auto entry = std::make_unique<Entry>();
    entry->model = this;
    entry->proxy = uuid.empty() ? org_kde_plasma_window_management_get_window(management, id)
                                : org_kde_plasma_window_management_get_window_by_uuid(management,
                                                                                      uuid.c_str());
    entry->window.id = id;
    entry->window.uuid = uuid;
    org_kde_plasma_window_add_listener(entry->proxy, &windowListener(), entry.get());
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(entry));
}

void WaylandWindowModel::remove(Entry* entry) {
    std::unique_ptr<Entry> owned;
    {
        std::lock_guard lock(mutex_);
        const auto found = std::find_if(entries_.begin(), entries_.end(),
                                        [entry](const auto& e) { return e.get() == entry; });
        if (found == entries_.end()) return;
        owned = std::move(*found);
        entries_.erase(found);
    }
    org_kde_plasma_window_destroy(owned->proxy);
    notifyChange();
}

void WaylandWindowModel::update(Entry* entry, const std::function<void(WaylandWindow&)>& change) {
    bool ready = false;
    {
        std::lock_guard lock(mutex_);
        change(entry->window);
        ready = entry->window.ready;
    }
    if (ready) notifyChange();
}

void WaylandWindowModel::moved(Entry* entry, const platform::Rect& geometry) {
    WaylandWindow copy;
    bool movedNow = false;
    bool resized = false;
    {
        std::lock_guard lock(mutex_);
        const platform::Rect old = entry->window.geometry;
        movedNow = old.x != geometry.x || old.y != geometry.y;
        resized = old.width != geometry.width || old.height != geometry.height;
        entry->window.geometry = geometry;
        copy = entry->window;
    }
    if (!copy.ready || (!movedNow && !resized)) return;
    changes_.notify();
    for (const Listener& listener : std::vector(listeners_))
        if (listener.geometry) listener.geometry(copy, movedNow, resized);
}

void WaylandWindowModel::notifyChange() {
    changes_.notify();
    for (const Listener& listener : std::vector(listeners_))
        if (listener.change) listener.change();
}

const org_kde_plasma_window_listener& WaylandWindowModel::windowListener() {
    using W = org_kde_plasma_window;
    static const org_kde_plasma_window_listener listener{
        [](void* data, W*, const char* title) {  // title_changed
            static_cast<Entry*>(data)->model->update(static_cast<Entry*>(data),
                                                     [&](WaylandWindow& w) { w.title = title; });
        },
        [](void* data, W*, const char* appId) {  // app_id_changed
            static_cast<Entry*>(data)->model->update(static_cast<Entry*>(data),
                                                     [&](WaylandWindow& w) { w.appId = appId; });
        },
        [](void* data, W*, uint32_t flags) {  // state_changed
            static_cast<Entry*>(data)->model->update(static_cast<Entry*>(data),
                                                     [&](WaylandWindow& w) { w.state = flags; });
        },
        [](void*, W*, int32_t) {},      // virtual_desktop_changed (numbered desktops)
        [](void*, W*, const char*) {},  // themed_icon_name_changed
        [](void* data, W*) {            // unmapped
            static_cast<Entry*>(data)->model->remove(static_cast<Entry*>(data));
        },
        [](void* data, W*) {  // initial_state
            static_cast<Entry*>(data)->model->update(static_cast<Entry*>(data),
                                                     [](WaylandWindow& w) { w.ready = true; });
        },
        [](void*, W*, W*) {},  // parent_window
        [](void* data, W*, int32_t x, int32_t y, uint32_t width, uint32_t height) {
            static_cast<Entry*>(data)->model->moved(
                static_cast<Entry*>(data), {double(x), double(y), double(width), double(height)});
        },
        [](void*, W*) {},                   // icon_changed
        [](void* data, W*, uint32_t pid) {  // pid_changed
            const std::string executable = executableOf(int32_t(pid));
            static_cast<Entry*>(data)->model->update(static_cast<Entry*>(data),
                                                     [&](WaylandWindow& w) {
                                                         w.pid = int32_t(pid);
                                                         w.executable = executable;
                                                     });
        },
        [](void* data, W*, const char* id) {  // virtual_desktop_entered
            static_cast<Entry*>(data)->model->update(
                static_cast<Entry*>(data), [&](WaylandWindow& w) { w.desktops.push_back(id); });
        },
        [](void* data, W*, const char* id) {  // virtual_desktop_left
            static_cast<Entry*>(data)->model->update(
                static_cast<Entry*>(data),
                [&](WaylandWindow& w) { std::erase(w.desktops, std::string(id)); });
        },
        [](void*, W*, const char*, const char*) {},  // application_menu
        [](void*, W*, const char*) {},               // activity_entered
        [](void*, W*, const char*) {},               // activity_left
        [](void*, W*, const char*) {},               // resource_name_changed
    };
    return listener;
}

}  // namespace desktop
