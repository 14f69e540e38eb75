#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Pixels read back from an X drawable, as 0xRRGGBB, row by row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }

    // A rectangle of a depth-24 or depth-32 drawable; nullopt (and `error`) when the server
    // refuses, for example because the rectangle leaves the screen.
    static std::optional<Image> grab(xcb_connection_t* connection, xcb_drawable_t drawable, int x,
                                     int y, int width, int height, std::string& error);
    // Writes an 8-bit RGB PNG; false (and `error`) when the file cannot be written.
    bool writePng(const std::string& path, std::string& error) const;
};
