#include "platform/desktop/DesktopImages.h"

#include <QPainter>

#include "platform/Bundle.h"
#include "platform/desktop/DesktopImage.h"

namespace desktop {
namespace {

QRectF qrect(const platform::Rect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
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

std::shared_ptr<platform::Image> DesktopImages::systemSymbol(const std::string&,
                                                             const std::optional<std::string>&) {
    return nullptr;
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
        const QRectF whole(0, 0, image->image().width(), image->image().height());
        painter.drawImage(qrect(into), image->image(),
                          from.width > 0 && from.height > 0 ? qrect(from) : whole);
    }
    return std::make_shared<DesktopImage>(std::move(canvas));
}

}  // namespace desktop
