#include "app/Outfit.h"

#include "platform/Platform.h"

void registerOutfitFonts() {
    const auto urls = platform::bundle().urlsForResources("ttf", "Fonts");
    if (!urls || urls->empty()) return;
    for (const auto& url : *urls)
        platform::fonts().registerFontsForURL(url, platform::Fonts::processScope);
}

platform::Font outfit(const std::string& weight, double size) {
    if (auto font = platform::fonts().fontWithName("Outfit-" + weight, size)) return *font;
    return platform::fonts().systemFont(size, platform::FontWeight::semibold);
}
