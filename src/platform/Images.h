#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Geometry.h"
#include "platform/Image.h"

namespace platform {

enum class CompositingOperation { copy = 1, sourceOver = 2 };

// Where images come from. Each call gives a new image, or nullptr when there is none.
class Images {
public:
    virtual ~Images() = default;

    // The picture of a file, sized by its own pixels; nullptr when it cannot be read.
    virtual std::shared_ptr<Image> contentsOfFile(const std::string& url) = 0;
    // Among the application's own image resources.
    virtual std::shared_ptr<Image> named(const std::string& name) = 0;
    // The desktop's symbol of that name; not every desktop has every symbol.
    virtual std::shared_ptr<Image> systemSymbol(
        const std::string& name, const std::optional<std::string>& accessibilityDescription) = 0;
    // A new image of the given size with the part `from` of the source drawn into `into`.
    virtual std::shared_ptr<Image> drawing(Size size, const std::shared_ptr<Image>& source,
                                           Rect into, Rect from, CompositingOperation operation,
                                           double fraction) = 0;
};

}  // namespace platform
