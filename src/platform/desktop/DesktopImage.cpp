#include "platform/desktop/DesktopImage.h"

#include <QPainter>
#include <QPixmap>

namespace desktop {

QIcon DesktopImage::icon(const QColor& templateColour) const {
    if (!template_ || themed_) return QIcon(QPixmap::fromImage(image_));
    return QIcon(QPixmap::fromImage(tinted(templateColour)));
}

QImage DesktopImage::tint(const QImage& image, const QColor& colour) {
    QImage shape = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(shape.rect(), colour);
    painter.end();
    return shape;
}

}  // namespace desktop
