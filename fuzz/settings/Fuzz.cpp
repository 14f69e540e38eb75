// The settings reader: whatever the preferences hold, each setting reads back as a valid
// value or its default, and what the program stores itself reads back valid too.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/sim/SimPlatform.h"
#include "settings/ColorHex.h"
#include "settings/Settings.h"

namespace {

void check(bool holds) {
    if (!holds) std::abort();
}

sim::SimDesktop& desktop() {
    static sim::SimDesktop* const shared = [] {
        auto* made = new sim::SimDesktop;  // lives as long as the process
        platform::install(std::make_unique<sim::SimPlatform>(*made));
        return made;
    }();
    return *shared;
}

void store(FuzzedDataProvider& data, const char* key) {
    switch (data.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return;
        case 1:
            desktop().defaults[key] = data.ConsumeIntegral<int64_t>();
            return;
        default:
            desktop().defaults[key] = data.ConsumeRandomLengthString(24);
    }
}

// Clear (no frame), or opaque with components that six digits hold exactly.
bool isBorderColor(const platform::Color& color) {
    if (color == platform::Color::clear()) return true;
    return color.alpha == 1 && colorFromHex(hexString(color)) == color;
}

void checkEverySetting() {
    check(isBorderColor(Settings::borderColor()));
    check(Settings::keyCode() >= 2);
    check(Settings::modifiers() != 0);
    const std::string language = Settings::language();
    check(language == "en" || language == "pl");
}

platform::Color anyColor(FuzzedDataProvider& data) {
    return platform::Color::sRGB(
        data.ConsumeFloatingPoint<double>(), data.ConsumeFloatingPoint<double>(),
        data.ConsumeFloatingPoint<double>(), data.ConsumeFloatingPoint<double>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    desktop().defaults.clear();
    for (const char* key :
         {Settings::colorKey, Settings::kcKey, Settings::modsKey, Settings::languageKey})
        store(data, key);
    checkEverySetting();
    Settings::resetDefaultsIfNeeded();
    checkEverySetting();
    check(Settings::carbonOf(Settings::modifiers()) != 0);

    Settings::saveShortcut(data.ConsumeIntegral<int64_t>(),
                           Settings::mask(data.ConsumeIntegral<uint64_t>()));
    Settings::setBorderColor(anyColor(data));
    checkEverySetting();
    return 0;
}
