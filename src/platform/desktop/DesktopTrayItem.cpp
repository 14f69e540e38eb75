#include "platform/desktop/DesktopTrayItem.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>

#include "app/Log.h"
#include "platform/desktop/DesktopImage.h"
#include "platform/desktop/DesktopMenu.h"
#include "platform/desktop/TrayHostWatch.h"

namespace desktop {
namespace {

constexpr int titleIconSide = 22;

// A tray cannot ask whether its panel is light or dark: a light shape in a dark rim reads
// on both.
QIcon rimmed(QImage shape) {
    const qreal ratio = shape.devicePixelRatio();
    shape.setDevicePixelRatio(1);  // the rim is one pixel of the file, drawn 1:1
    const QImage rim = DesktopImage::tint(shape, QColor(0, 0, 0, 210));
    QImage canvas(shape.size(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    for (const QPoint offset : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1),
                                QPoint(-1, -1), QPoint(1, 1), QPoint(-1, 1), QPoint(1, -1)})
        painter.drawImage(offset, rim);
    painter.drawImage(QPoint(0, 0), DesktopImage::tint(shape, Qt::white));
    painter.end();
    canvas.setDevicePixelRatio(ratio);
    return QIcon(QPixmap::fromImage(canvas));
}

QIcon trayIcon(const DesktopImage& picture) {
    if (!picture.isTemplate() || picture.themed()) return picture.icon(Qt::white);
    return rimmed(picture.image());
}

// A title in a square picture, since a tray shows no text.
QIcon titleIcon(const QString& title) {
    QImage canvas(titleIconSide, titleIconSide, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    QFont font = painter.font();
    font.setPixelSize(titleIconSide - 6);
    painter.setFont(font);
    painter.drawText(canvas.rect(), Qt::AlignCenter, title);
    painter.end();
    return rimmed(canvas);
}

}  // namespace

// On Wayland the toolkit's tray is a StatusNotifierItem, and whether a host is there is asked
// once for the whole process: the icon is made only when one is.
DesktopTrayItem::DesktopTrayItem() {
    if (QGuiApplication::platformName() != "wayland" || TrayHostWatch::present()) {
        makeIcon();
        return;
    }
    hostWatch_ = std::make_unique<TrayHostWatch>([this] {
        makeIcon();
        if (!picture_.isNull()) show();
    });
}

DesktopTrayItem::~DesktopTrayItem() = default;

void DesktopTrayItem::makeIcon() {
    icon_ = std::make_unique<QSystemTrayIcon>(picture_);
    icon_->setToolTip(toolTip_);
    if (menu_) icon_->setContextMenu(&menu_->menu());
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         // The toolkit opens the context menu itself on the other button.
                         if (reason == QSystemTrayIcon::Trigger) popUpMenu();
                     });
}

void DesktopTrayItem::setMenu(std::shared_ptr<platform::Menu> menu) {
    if (icon_) icon_->setContextMenu(nullptr);
    menu_ = menu ? std::make_unique<DesktopMenu>(std::move(menu)) : nullptr;
    if (icon_ && menu_) icon_->setContextMenu(&menu_->menu());
}

void DesktopTrayItem::setImage(std::shared_ptr<platform::Image> image) {
    const auto* picture = dynamic_cast<const DesktopImage*>(image.get());
    picture_ = picture != nullptr ? trayIcon(*picture) : QIcon();
    if (icon_) icon_->setIcon(picture_);
    if (picture != nullptr) show();
}

void DesktopTrayItem::setToolTip(const std::string& toolTip) {
    toolTip_ = QString::fromStdString(toolTip);
    if (icon_) icon_->setToolTip(toolTip_);
}

void DesktopTrayItem::setTitle(const std::string& title) {
    if (title.empty()) return;
    picture_ = titleIcon(QString::fromStdString(title));
    if (icon_) icon_->setIcon(picture_);
    show();
}

void DesktopTrayItem::show() {
    if (!toldNoTray_ && (!icon_ || !QSystemTrayIcon::isSystemTrayAvailable())) {
        toldNoTray_ = true;
        flog("tray: no system tray yet; the icon shows when one starts");
    }
    if (icon_) icon_->show();
}

void DesktopTrayItem::popUpMenu() {
    if (!menu_) return;
    const QRect area = icon_->geometry();
    menu_->menu().popup(area.isValid() ? area.bottomLeft() : QCursor::pos());
}

}  // namespace desktop
