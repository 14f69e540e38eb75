#pragma once

// A tray host on a test session's bus, standing for a desktop's panel: it owns the
// StatusNotifierWatcher name, takes the items' registrations, and reads and works an item's
// menu over dbusmenu as a panel does when the user opens it. A program looks for a tray
// when it makes its icon, so the host comes first.
//
//   TrayHost tray(kwin.environment().at("DBUS_SESSION_BUS_ADDRESS"));
//   VeltrinProcess veltrin(std::nullopt, kwin.environment());
//   ASSERT_TRUE(tray.waitForItem(10s));
//   const auto entries = tray.menu();  // {"Pin active window [Ctrl+P]", "---", ...}
//   tray.choose("Quit");

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QThread;

class TrayHost {
public:
    // `withPanel` false: the watcher alone, as when a session's service is up before its
    // panel; registerPanel() brings the panel.
    explicit TrayHost(const std::string& busAddress, bool withPanel = true);
    ~TrayHost();
    TrayHost(const TrayHost&) = delete;
    TrayHost& operator=(const TrayHost&) = delete;

    void registerPanel();
    // The bus name of the first item registered within `timeout`.
    std::optional<std::string> waitForItem(std::chrono::milliseconds timeout);
    // The item's menu as it shows on opening, one entry a line as the X11 tray tests write
    // them: "Title [Ctrl+P] (disabled)", "[x] " before a checked one, "---" for a separator.
    // Empty when it cannot be read.
    std::vector<std::string> menu();
    // Opens the menu and clicks the enabled entry with that title; false when there is none.
    bool choose(const std::string& title);

private:
    struct Entry {
        int id = 0;
        std::string title;
        bool enabled = true;
        std::string text;  // as menu() writes it
    };
    class Watcher;

    std::vector<Entry> open();
    std::string menuPath();

    std::string connectionName_;
    std::unique_ptr<QThread> thread_;
    std::unique_ptr<Watcher> watcher_;
};
