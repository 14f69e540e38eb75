#pragma once

// The fixed geometry of the coloured frame around a pinned picture, in points.
struct FrameStyle {
    static constexpr double width = 8.0;         // frame line width
    static constexpr double cornerRadius = 8.0;  // picture radius until one is measured
    static constexpr double pad = 6.0;           // picture to panel edge, on every side
};
