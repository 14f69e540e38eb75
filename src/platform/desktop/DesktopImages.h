#pragma once

#include <string>

#include "platform/Bundle.h"
#include "platform/Images.h"

namespace desktop {

// Images read and drawn by the toolkit; the desktop has no symbol images of its own yet.
class DesktopImages : public platform::Images {
public:
    explicit DesktopImages(platform::Bundle& bundle) : bundle_(bundle) {}

    std::shared_ptr<platform::Image> contentsOfFile(const std::string& url) override;
    std::shared_ptr<platform::Image> named(const std::string& name) override;
    std::shared_ptr<platform::Image> systemSymbol(
        const std::string& name, const std::optional<std::string>& description) override;
    std::shared_ptr<platform::Image> drawing(platform::Size size,
                                             const std::shared_ptr<platform::Image>& source,
                                             platform::Rect into, platform::Rect from,
                                             platform::CompositingOperation operation,
                                             double fraction) override;

private:
    platform::Bundle& bundle_;
};

}  // namespace desktop
