#include "pinning/PinManager.h"
#include "settings/ColorHex.h"
#include "settings/Settings.h"
#include "ui/BuildingBlocks.h"
#include "ui/SettingsWindow.h"

namespace {

void setSwatchRing(platform::Button& swatch, bool selected) {
    swatch.layer()->setBorderWidth(selected ? 2.5 : 1);
    swatch.layer()->setBorderColor(platform::Color::white(selected ? 1 : 0.25));
}

}  // namespace

std::shared_ptr<platform::Button> SettingsWindow::roundSwatch(const platform::Color& color) {
    auto button = platform::Button::buttonWithTitle("", {});
    button->setTarget(weak_from_this(), &SettingsWindow::tapColor);
    button->setBordered(false);
    button->setWantsLayer(true);
    button->layer()->setBackgroundColor(color);
    button->layer()->setCornerRadius(11);
    setSwatchRing(*button, false);
    swatchColors.insert_or_assign(button.get(), color);
    return button;
}

// Every frame takes the colour before the ring moves.
void SettingsWindow::tapColor(platform::Button& sender) {
    const auto entry = swatchColors.find(&sender);
    if (entry == swatchColors.end()) return;
    const platform::Color color = entry->second;
    bounce(sender);
    Settings::setBorderColor(color);
    for (const auto& panel : PinManager::shared().mirrors)
        panel->setBorderColor(color);
    if (selectedSwatch) setSwatchRing(*selectedSwatch, false);
    selectedSwatch = std::static_pointer_cast<platform::Button>(sender.shared_from_this());
    setSwatchRing(*selectedSwatch, true);
}

// The swatch of the stored colour, compared by colour text, carries the ring.
void SettingsWindow::markCurrentColor() {
    const std::string current = hexString(Settings::borderColor());
    for (const auto& [identity, color] : swatchColors) {
        if (hexString(color) != current) continue;
        for (const auto& view : window->contentView()->subviews())
            for (const auto& subview : view->subviews())
                if (subview.get() == identity) {
                    selectedSwatch = std::static_pointer_cast<platform::Button>(subview);
                    setSwatchRing(*selectedSwatch, true);
                    return;
                }
        return;
    }
}
