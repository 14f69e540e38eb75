#pragma once

#include "platform/Images.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimImage.h"

namespace sim {

class SimImages : public platform::Images {
public:
    explicit SimImages(SimDesktop& desktop) : desktop_(desktop) {}

    std::shared_ptr<platform::Image> contentsOfFile(const std::string& url) override;
    std::shared_ptr<platform::Image> named(const std::string& name) override;
    std::shared_ptr<platform::Image> systemSymbol(
        const std::string& name,
        const std::optional<std::string>& accessibilityDescription) override;
    std::shared_ptr<platform::Image> drawing(platform::Size size,
                                             const std::shared_ptr<platform::Image>& source,
                                             platform::Rect into, platform::Rect from,
                                             platform::CompositingOperation operation,
                                             double fraction) override;

private:
    SimDesktop& desktop_;
};

}  // namespace sim
