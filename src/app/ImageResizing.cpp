#include "app/ImageResizing.h"

#include "platform/Platform.h"

std::shared_ptr<platform::Image> resized(const std::shared_ptr<platform::Image>& image,
                                         platform::Size to) {
    const platform::Size from = image->size();
    return platform::images().drawing(to, image, {0, 0, to.width, to.height},
                                      {0, 0, from.width, from.height},
                                      platform::CompositingOperation::sourceOver, 1.0);
}
