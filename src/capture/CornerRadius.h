#pragma once

#include <optional>

#include "platform/PixelBuffer.h"

// The corner radius of a captured window in points, estimated from row 1 of one frame:
// the first pixel whose alpha, or blue byte, reaches the threshold. Nothing when the
// frame does not allow a measurement. windowWidth is the window's width in points, if
// known; without it (or at 0) the result stays in pixels.
std::optional<double> cornerRadiusPoints(const platform::SampleBuffer& sampleBuffer,
                                         std::optional<double> windowWidth);
