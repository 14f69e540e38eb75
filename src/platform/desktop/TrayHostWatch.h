#pragma once

#include <functional>
#include <memory>

class QDBusServiceWatcher;
class QTimer;

namespace desktop {

// Whether a tray host (StatusNotifierItem) is on the session bus, and when one comes. On
// Wayland the toolkit asks only once, when the first tray icon is made, and never again: the
// icon waits for a host rather than ask too early.
class TrayHostWatch {
public:
    // A watcher with a host registered is there now.
    static bool present();

    // Calls `arrived` once, on the main thread, when a host is there.
    explicit TrayHostWatch(std::function<void()> arrived);
    ~TrayHostWatch();
    TrayHostWatch(const TrayHostWatch&) = delete;
    TrayHostWatch& operator=(const TrayHostWatch&) = delete;

private:
    std::function<void()> arrived_;
    std::unique_ptr<QTimer> check_;
    std::unique_ptr<QDBusServiceWatcher> watcher_;
};

}  // namespace desktop
