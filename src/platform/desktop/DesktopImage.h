#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

#include "platform/Image.h"

namespace desktop {

// A picture held by the toolkit, sized in points (its pixels over its device pixel ratio).
class DesktopImage : public platform::Image {
public:
    // A themed image comes from the desktop's icon theme, already in the desktop's colours.
    explicit DesktopImage(QImage image, bool themed = false)
        : image_(std::move(image)), themed_(themed) {}

    platform::Size size() const override {
        const QSizeF points = image_.deviceIndependentSize();
        return {points.width(), points.height()};
    }
    bool isTemplate() const override { return template_; }
    void setTemplate(bool flag) override { template_ = flag; }
    const QImage& image() const { return image_; }
    bool themed() const { return themed_; }

    // What a menu or tray shows: a template image of our own keeps only its shape, filled
    // with the colour of the text around it.
    QIcon icon(const QColor& templateColour) const;
    QImage tinted(const QColor& colour) const { return tint(image_, colour); }
    // The image's shape alone, filled with one colour.
    static QImage tint(const QImage& image, const QColor& colour);

private:
    QImage image_;
    bool themed_ = false;
    bool template_ = false;
};

}  // namespace desktop
