#pragma once

#include <QIcon>
#include <QString>

#include <memory>
#include <string>

#include "platform/StatusBar.h"

class QSystemTrayIcon;

namespace desktop {

class DesktopMenu;
class TrayHostWatch;

// A status item in the desktop's system tray (StatusNotifierItem where the desktop offers
// it, the XEmbed tray otherwise). The item is its own button: the tray shows an image, so a
// title is drawn into one. With no tray running, the icon shows once one starts: the toolkit
// sees an XEmbed tray come, and the item waits for a StatusNotifierItem host on Wayland.
class DesktopTrayItem : public platform::StatusItem, public platform::StatusBarButton {
public:
    DesktopTrayItem();
    ~DesktopTrayItem() override;
    DesktopTrayItem(const DesktopTrayItem&) = delete;
    DesktopTrayItem& operator=(const DesktopTrayItem&) = delete;

    platform::StatusBarButton* button() override { return this; }
    void setMenu(std::shared_ptr<platform::Menu> menu) override;

    void setImage(std::shared_ptr<platform::Image> image) override;
    void setImagePosition(int) override {}  // a tray icon is an image only
    void setToolTip(const std::string& toolTip) override;
    void setTitle(const std::string& title) override;

private:
    void makeIcon();
    void show();
    void popUpMenu();

    // What the icon shows, kept for an icon made later.
    QIcon picture_;
    QString toolTip_;
    std::unique_ptr<DesktopMenu> menu_;
    std::unique_ptr<TrayHostWatch> hostWatch_;  // while a Wayland session has no tray host
    std::unique_ptr<QSystemTrayIcon> icon_;     // goes before the menu it shows
    bool toldNoTray_ = false;
};

}  // namespace desktop
