#include "platform/sim/SimImages.h"

#include "platform/sim/SimPng.h"

namespace sim {

// A PNG is sized by its pixels, one point each.
std::shared_ptr<platform::Image> SimImages::contentsOfFile(const std::string& url) {
    const auto pixels = pngPixelSize(url);
    if (!pixels) return nullptr;
    return std::make_shared<SimImage>(url, *pixels);
}

// The catalogue first, then a PNG of that name among the resources.
std::shared_ptr<platform::Image> SimImages::named(const std::string& name) {
    const auto& catalogue = desktop_.shell.images.namedImages;
    if (auto found = catalogue.find(name); found != catalogue.end())
        return std::make_shared<SimImage>(name, found->second);
    const auto url = desktop_.shell.resourceURL(name, "png");
    return url ? contentsOfFile(*url) : nullptr;
}

std::shared_ptr<platform::Image> SimImages::systemSymbol(
    const std::string& name, const std::optional<std::string>& accessibilityDescription) {
    if (!desktop_.shell.images.symbols.contains(name)) return nullptr;
    const double side = SimImageStore::symbolSide;
    auto image = std::make_shared<SimImage>(name, platform::Size{side, side});
    image->accessibilityDescription = accessibilityDescription;
    return image;
}

std::shared_ptr<platform::Image> SimImages::drawing(platform::Size size,
                                                    const std::shared_ptr<platform::Image>& source,
                                                    platform::Rect into, platform::Rect from,
                                                    platform::CompositingOperation operation,
                                                    double fraction) {
    auto image = std::make_shared<SimImage>("", size);
    if (auto drawn = std::dynamic_pointer_cast<const SimImage>(source))
        image->drawings.push_back({drawn, into, from, operation, fraction});
    return image;
}

}  // namespace sim
