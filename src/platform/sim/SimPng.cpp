#include "platform/sim/SimPng.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace sim {
namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// Unreadable files are an answer here, not something to print.
void quietError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void quietWarning(png_structp, png_const_charp) {}

// libpng reports errors by long jump; nothing with a destructor may live in this frame.
bool decode(FILE* file, png_uint_32& width, png_uint_32& height) {
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    png_bytep volatile pixels = nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        std::free(pixels);
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    const size_t stride = png_get_rowbytes(png, info);
    pixels = static_cast<png_bytep>(std::malloc(stride * height));
    if (pixels == nullptr) png_error(png, "out of memory");
    for (png_uint_32 y = 0; y < height; ++y)
        png_read_row(png, pixels + y * stride, nullptr);
    png_read_end(png, nullptr);
    std::free(pixels);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool encode(FILE* file, png_uint_32 width, png_uint_32 height, const png_byte* row) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (png_uint_32 y = 0; y < height; ++y)
        png_write_row(png, row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::optional<platform::Size> pngPixelSize(const std::string& path) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) return std::nullopt;
    png_byte signature[8] = {};
    if (std::fread(signature, 1, 8, file.get()) != 8 || png_sig_cmp(signature, 0, 8) != 0)
        return std::nullopt;
    std::rewind(file.get());
    png_uint_32 width = 0, height = 0;
    if (!decode(file.get(), width, height)) return std::nullopt;
    return platform::Size{double(width), double(height)};
}

bool writePng(const std::string& path, uint32_t width, uint32_t height) {
    if (width == 0 || height == 0) return false;
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const std::vector<png_byte> row(size_t(width) * 3, 0x80);
    return encode(file.get(), width, height, row.data());
}

}  // namespace sim
