#include "platform/desktop/DesktopImages.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <array>

#include "app/Log.h"
#include "platform/desktop/DesktopImage.h"

namespace desktop {
namespace {

constexpr int symbolPoints = 16;
// Our own symbol files are drawn at twice the point size, sharp on dense screens too.
constexpr double symbolFileScale = 2.0;

struct Symbol {
    const char* name;
    const char* themeIcon;  // freedesktop icon name; null where none fits
    const char* file;       // under Symbols/ among the resources
};

constexpr std::array<Symbol, 6> symbols{{
    {"pin", nullptr, "pin"},
    {"pin.slash", nullptr, "pin-slash"},
    {"accessibility", "preferences-desktop-accessibility", "accessibility"},
    {"record.circle", "media-record", "record-circle"},
    {"gearshape", "preferences-system", "gearshape"},
    {"power", "system-shutdown", "power"},
}};

const Symbol* findSymbol(const std::string& name) {
    for (const auto& symbol : symbols)
        if (name == symbol.name) return &symbol;
    return nullptr;
}

std::shared_ptr<platform::Image> themeSymbol(const char* iconName) {
    if (iconName == nullptr || !QIcon::hasThemeIcon(QString::fromLatin1(iconName))) return nullptr;
    const QIcon icon = QIcon::fromTheme(QString::fromLatin1(iconName));
    const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    const QPixmap pixmap = icon.pixmap(QSize(symbolPoints, symbolPoints), ratio);
    if (pixmap.isNull()) return nullptr;
    return std::make_shared<DesktopImage>(pixmap.toImage(), true);
}

QRectF qrect(const platform::Rect& rect, qreal scale = 1.0) {
    return {rect.x * scale, rect.y * scale, rect.width * scale, rect.height * scale};
}

}  // namespace

std::shared_ptr<platform::Image> DesktopImages::contentsOfFile(const std::string& url) {
    QImage image(QString::fromStdString(url));
    if (image.isNull()) return nullptr;
    return std::make_shared<DesktopImage>(std::move(image));
}

std::shared_ptr<platform::Image> DesktopImages::named(const std::string& name) {
    const auto url = bundle_.urlForResource(name, "png");
    return url ? contentsOfFile(*url) : nullptr;
}

// The accessibility description is for screen readers; the toolkit's icons carry none.
std::shared_ptr<platform::Image> DesktopImages::systemSymbol(const std::string& name,
                                                             const std::optional<std::string>&) {
    const Symbol* symbol = findSymbol(name);
    if (symbol == nullptr) return nullptr;
    if (auto themed = themeSymbol(symbol->themeIcon)) return themed;
    return ownSymbol(symbol->file);
}

std::shared_ptr<platform::Image> DesktopImages::ownSymbol(const std::string& file) {
    const std::string resource = "Symbols/" + file;
    const auto url = bundle_.urlForResource(resource, "png");
    if (!url) {
        reportOnce("images: symbol file " + resource + ".png is missing; the item shows none");
        return nullptr;
    }
    QImage image(QString::fromStdString(*url));
    if (image.isNull()) {
        reportOnce("images: cannot read symbol file " + *url + "; the item shows none");
        return nullptr;
    }
    image.setDevicePixelRatio(symbolFileScale);
    return std::make_shared<DesktopImage>(std::move(image));
}

void DesktopImages::reportOnce(const std::string& message) {
    if (reported_.insert(message).second) flog(message);
}

std::shared_ptr<platform::Image> DesktopImages::drawing(
    platform::Size size, const std::shared_ptr<platform::Image>& source, platform::Rect into,
    platform::Rect from, platform::CompositingOperation operation, double fraction) {
    const int width = std::max(1, static_cast<int>(size.width));
    const int height = std::max(1, static_cast<int>(size.height));
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    if (const auto* image = dynamic_cast<const DesktopImage*>(source.get())) {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setOpacity(fraction);
        painter.setCompositionMode(operation == platform::CompositingOperation::copy
                                       ? QPainter::CompositionMode_Source
                                       : QPainter::CompositionMode_SourceOver);
        // `from` is in the source's points; the toolkit reads it in the source's pixels.
        const QImage& pixels = image->image();
        const QRectF whole(0, 0, pixels.width(), pixels.height());
        painter.drawImage(
            qrect(into), pixels,
            from.width > 0 && from.height > 0 ? qrect(from, pixels.devicePixelRatio()) : whole);
    }
    return std::make_shared<DesktopImage>(std::move(canvas));
}

}  // namespace desktop
