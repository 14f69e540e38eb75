#pragma once

#include <memory>

#include "platform/Geometry.h"
#include "platform/Image.h"

// A new image of exactly the given size with the whole image stretched over it.
std::shared_ptr<platform::Image> resized(const std::shared_ptr<platform::Image>& image,
                                         platform::Size to);
