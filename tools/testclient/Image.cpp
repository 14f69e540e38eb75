#include "Image.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Bits per pixel of the server's image format for `depth`; 0 when it has none.
int bitsPerPixel(xcb_connection_t* connection, uint8_t depth) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    auto formats = xcb_setup_pixmap_formats_iterator(setup);
    for (; formats.rem > 0; xcb_format_next(&formats))
        if (formats.data->depth == depth) return formats.data->bits_per_pixel;
    return 0;
}

bool convert(const xcb_get_image_reply_t& reply, int bpp, bool littleEndian, Image& image) {
    const uint8_t* data = xcb_get_image_data(&reply);
    const size_t length = static_cast<size_t>(xcb_get_image_data_length(&reply));
    if (bpp != 32 || !littleEndian || image.height == 0 ||
        length < static_cast<size_t>(image.width) * 4 * static_cast<size_t>(image.height))
        return false;
    const size_t stride = length / static_cast<size_t>(image.height);
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    for (int row = 0; row < image.height; ++row) {
        const uint8_t* source = data + static_cast<size_t>(row) * stride;
        for (int column = 0; column < image.width; ++column, source += 4)
            image.pixels[static_cast<size_t>(row * image.width + column)] =
                static_cast<uint32_t>(source[2]) << 16 | static_cast<uint32_t>(source[1]) << 8 |
                source[0];
    }
    return true;
}

}  // namespace

std::optional<Image> Image::grab(xcb_connection_t* connection, xcb_drawable_t drawable, int x,
                                 int y, int width, int height, std::string& error) {
    xcb_generic_error_t* failure = nullptr;
    const auto cookie =
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), static_cast<uint16_t>(width),
                      static_cast<uint16_t>(height), UINT32_MAX);
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(connection, cookie, &failure), &std::free);
    if (reply == nullptr) {
        error = "GetImage failed (X error " +
                std::to_string(failure != nullptr ? failure->error_code : 0) + ")";
        std::free(failure);
        return std::nullopt;
    }
    Image image{width, height, {}};
    const bool littleEndian =
        xcb_get_setup(connection)->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    if (!convert(*reply, bitsPerPixel(connection, reply->depth), littleEndian, image)) {
        error = "unsupported image format (depth " + std::to_string(reply->depth) + ")";
        return std::nullopt;
    }
    return image;
}

bool Image::writePng(const std::string& path, std::string& error) const {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(width);
    png.height = static_cast<png_uint_32>(height);
    png.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb;
    rgb.reserve(pixels.size() * 3);
    for (const uint32_t pixel : pixels) {
        rgb.push_back(static_cast<uint8_t>(pixel >> 16));
        rgb.push_back(static_cast<uint8_t>(pixel >> 8));
        rgb.push_back(static_cast<uint8_t>(pixel));
    }
    if (png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), 0, nullptr) != 0) return true;
    error = "cannot write " + path + ": " + png.message;
    return false;
}
