#include "app/NumberText.h"

#include <charconv>
#include <string_view>

std::string decimalText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    const bool complete = text.find_first_of(".e") != std::string::npos ||
                          text.find("inf") != std::string::npos ||
                          text.find("nan") != std::string::npos;
    if (!complete) text += ".0";
    return text;
}

std::string rectText(const platform::Rect& rect) {
    return "(" + decimalText(rect.x) + ", " + decimalText(rect.y) + ", " + decimalText(rect.width) +
           ", " + decimalText(rect.height) + ")";
}

std::string pointText(const platform::Point& point) {
    return "(" + decimalText(point.x) + ", " + decimalText(point.y) + ")";
}
