#pragma once

#include <QImage>

#include "platform/Image.h"

namespace desktop {

// A picture held by the toolkit, sized in points (one point a pixel on this desktop).
class DesktopImage : public platform::Image {
public:
    explicit DesktopImage(QImage image) : image_(std::move(image)) {}

    platform::Size size() const override {
        return {static_cast<double>(image_.width()), static_cast<double>(image_.height())};
    }
    bool isTemplate() const override { return template_; }
    void setTemplate(bool flag) override { template_ = flag; }
    const QImage& image() const { return image_; }

private:
    QImage image_;
    bool template_ = false;
};

}  // namespace desktop
