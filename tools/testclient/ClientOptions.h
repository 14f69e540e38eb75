#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the command line asks of the test client.
struct ClientOptions {
    struct Extents {
        int left = 0;
        int right = 0;
        int top = 0;
        int bottom = 0;
    };

    struct Point {
        int x = 0;
        int y = 0;
    };

    int width = 400;
    int height = 300;
    std::optional<int> x = {};  // with y: a requested position (USPosition), else the WM places it
    std::optional<int> y = {};
    uint32_t color = 0x3366cc;  // 0xRRGGBB
    std::string title = "veltrin test client";
    std::string wmClass = "VeltrinTestClient";
    bool setPid = true;
    bool overrideRedirect = false;
    bool argb = false;
    bool noInput = false;  // WM_HINTS input false: never takes the focus, as clocks do
    std::optional<std::string> grabKey = {};  // "alt+p": hold it on the root, show no window
    std::optional<Extents> gtkExtents = {};
    // A margin the window draws itself (transparent with --argb) and tells nobody of, with
    // no window-manager decorations: a frameless window with its own shadow.
    std::optional<Extents> ownMargin = {};
    std::optional<std::string> screenshot = {};  // save the root window as PNG and exit
    std::optional<Point> pixel = {};             // print the colour there and exit
    std::optional<std::string> display = {};

    // Fills `options` from argv; on failure returns false and says why in `error`.
    static bool parse(const std::vector<std::string>& args, ClientOptions& options,
                      std::string& error);
    static const char* usage();
};

// "RRGGBB" (with or without '#') as 0xRRGGBB.
std::optional<uint32_t> parseColor(const std::string& text);
