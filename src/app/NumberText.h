#pragma once

#include <string>

#include "platform/Geometry.h"

// Numbers as the log writes them: the shortest text that reads back exactly, always with
// a fractional part (800 is "800.0").
std::string decimalText(double value);
// "(x, y, width, height)"
std::string rectText(const platform::Rect& rect);
// "(x, y)"
std::string pointText(const platform::Point& point);
