#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Image.h"
#include "platform/Images.h"

namespace sim {

class SimImage;

// One drawing made into an image.
struct SimImageDrawing {
    std::shared_ptr<const SimImage> source;
    platform::Rect into;
    platform::Rect from;
    platform::CompositingOperation operation = platform::CompositingOperation::sourceOver;
    double fraction = 1;
};

// An image that remembers where it came from and what was drawn into it.
class SimImage : public platform::Image {
public:
    SimImage(std::string name, platform::Size size) : name_(std::move(name)), size_(size) {}

    platform::Size size() const override { return size_; }
    bool isTemplate() const override { return isTemplate_; }
    void setTemplate(bool isTemplate) override { isTemplate_ = isTemplate; }

    // The symbol, resource or file it was made from; empty for a drawn image.
    const std::string& name() const { return name_; }
    std::optional<std::string> accessibilityDescription;
    std::vector<SimImageDrawing> drawings;

private:
    std::string name_;
    platform::Size size_;
    bool isTemplate_ = false;
};

}  // namespace sim
