#pragma once

#include <optional>
#include <string>

#include "platform/Geometry.h"

namespace sim {

// The pixel size of a PNG file, after decoding all of it; nothing when it is no PNG.
std::optional<platform::Size> pngPixelSize(const std::string& path);

// Writes an opaque grey PNG of the given size (for scenes and tests); false on failure.
bool writePng(const std::string& path, uint32_t width, uint32_t height);

}  // namespace sim
