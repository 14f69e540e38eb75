// The colour codec: any text that parses formats back to the same colour, and any colour,
// whatever its components, formats as six upper-case hexadecimal digits.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "settings/ColorHex.h"

namespace {

bool isSixUpperCaseDigits(const std::string& text) {
    if (text.size() != 6) return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

void check(bool holds) {
    if (!holds) std::abort();
}

void roundTrip(const std::string& text) {
    const auto color = colorFromHex(text);
    if (!color) return;
    const std::string formatted = hexString(*color);
    check(isSixUpperCaseDigits(formatted));
    const auto again = colorFromHex(formatted);
    check(again && *again == *color && hexString(*again) == formatted);
}

void anyColor(FuzzedDataProvider& data) {
    const auto space =
        data.PickValueInArray({platform::Color::Space::sRGB, platform::Color::Space::calibratedRGB,
                               platform::Color::Space::gray, platform::Color::Space::pattern});
    const platform::Color color{
        space, data.ConsumeFloatingPoint<double>(), data.ConsumeFloatingPoint<double>(),
        data.ConsumeFloatingPoint<double>(), data.ConsumeFloatingPoint<double>()};
    check(isSixUpperCaseDigits(hexString(color)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    roundTrip(std::string(reinterpret_cast<const char*>(bytes), size));
    FuzzedDataProvider data(bytes, size);
    anyColor(data);
    return 0;
}
