#include "app/AppDelegate.h"
#include "app/ImageResizing.h"
#include "platform/Platform.h"

// The menu-bar size of the icon file, stretched to the square; else the named image as is.
std::shared_ptr<platform::Image> AppDelegate::appIconImage() {
    if (const auto url = platform::bundle().urlForResource("AppIcon", "png")) {
        if (auto image = platform::images().contentsOfFile(*url)) return resized(image, {17, 17});
    }
    return platform::images().named("AppIcon");
}
