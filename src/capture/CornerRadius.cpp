#include "capture/CornerRadius.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

constexpr size_t scanLimit = 600;  // pixels
constexpr uint8_t threshold = 61;
constexpr long cap = 60;  // pixels
constexpr size_t minimumSize = 2;

// The first x below limit whose byte at the given offset in the pixel reaches the
// threshold, or -1.
long firstReached(const uint8_t* row, size_t limit, size_t byte) {
    for (size_t x = 0; x < limit; ++x)
        if (row[4 * x + byte] >= threshold) return static_cast<long>(x);
    return -1;
}

std::optional<double> measureLocked(const platform::PixelBuffer& image,
                                    std::optional<double> windowWidth) {
    const uint8_t* base = image.baseAddress();
    if (base == nullptr) return std::nullopt;
    const size_t width = image.width();
    if (width < minimumSize || image.height() < minimumSize) return std::nullopt;
    const size_t limit = std::min(width, scanLimit);
    const uint8_t* row1 = base + image.bytesPerRow();
    const long a = firstReached(row1, limit, 3);
    const long b = firstReached(row1, limit, 0);
    long r = b >= 0 ? std::max(a, b) : a;
    if (r < 0) return std::nullopt;
    r = std::min(r, cap);
    if (windowWidth && *windowWidth > 0) {
        const double scale = std::max(static_cast<double>(width) / *windowWidth, 1.0);
        return static_cast<double>(r) / scale;
    }
    return static_cast<double>(r);
}

}  // namespace

std::optional<double> cornerRadiusPoints(const platform::SampleBuffer& sampleBuffer,
                                         std::optional<double> windowWidth) {
    platform::PixelBuffer* image = sampleBuffer.imageBuffer();
    if (image == nullptr) return std::nullopt;
    // Only row 1 is scanned: a window whose corner never measures is fetched row by row,
    // frame after frame, so the rest of the image must not be fetched with it.
    const platform::PixelRegion scanned{0, 1, std::min(image->width(), scanLimit), 1};
    image->lockRegion(platform::PixelBuffer::readOnly, scanned);
    const std::optional<double> radius = measureLocked(*image, windowWidth);
    image->unlockBaseAddress(platform::PixelBuffer::readOnly);
    return radius;
}
