#include "ui/SettingsWindow.h"

#include "app/Outfit.h"
#include "platform/Platform.h"
#include "platform/VisualEffectView.h"
#include "settings/KeyNames.h"
#include "settings/L10n.h"
#include "settings/Settings.h"
#include "settings/Swatch.h"
#include "ui/BuildingBlocks.h"

namespace {

constexpr platform::Rect contentRect{0, 0, 440, 264};
constexpr double windowRadius = 24;

platform::Color white(double alpha) {
    return platform::Color::white(alpha);
}

// Tag 0 is Polish; any other tag English.
std::string languageOf(const platform::Button& button) {
    return button.tag() == 0 ? "pl" : "en";
}

void setLanguageLook(platform::Button& button, bool selected) {
    button.setFont(outfit(selected ? "Bold" : "SemiBold", 11));
    button.layer()->setBackgroundColor(white(selected ? 0.22 : 0.08));
    button.layer()->setBorderColor(white(selected ? 0.35 : 0.12));
}

std::shared_ptr<platform::View> makeRootView() {
    auto root = platform::View::make(contentRect);
    root->setWantsLayer(true);
    const auto layer = root->layer();
    layer->setCornerRadius(windowRadius);
    layer->setShadowColor(platform::Color::black());
    layer->setShadowOpacity(0.4);
    layer->setShadowRadius(20);
    layer->setShadowOffset({0, -8});
    return root;
}

std::shared_ptr<platform::VisualEffectView> makeGlassView() {
    auto glass = platform::VisualEffectView::make(contentRect);
    glass->setMaterial(platform::VisualEffectView::hudWindowMaterial);
    glass->setBlendingMode(platform::VisualEffectView::withinWindowBlending);
    glass->setState(platform::VisualEffectView::activeState);
    glass->setWantsLayer(true);
    const auto layer = glass->layer();
    layer->setCornerRadius(windowRadius);
    layer->setMasksToBounds(true);
    layer->setBorderWidth(1);
    layer->setBorderColor(white(0.12));
    return glass;
}

template <class Control>
const std::shared_ptr<Control>& place(platform::View& parent,
                                      const std::shared_ptr<Control>& control,
                                      const platform::Rect& frame) {
    control->setFrame(frame);
    parent.addSubview(control);
    return control;
}

}  // namespace

void SettingsWindow::show() {
    if (!window) {
        build();
    } else {
        refreshLanguage();
    }
    window->makeKeyAndOrderFront();
    platform::application().activateIgnoringOtherApps(true);
}

void SettingsWindow::build() {
    window = platform::windows().makeWindow(contentRect, platform::Window::borderlessStyle,
                                            platform::Window::bufferedBacking, false);
    window->setMovableByWindowBackground(true);
    window->setOpaque(false);
    window->setBackgroundColor(platform::Color::clear());
    window->setHasShadow(false);
    window->setLevel(platform::Window::floatingLevel);
    window->setTitleVisibility(platform::Window::titleHidden);

    const auto root = makeRootView();
    window->setContentView(root);
    const auto glass = makeGlassView();
    root->addSubview(glass);
    buildControls(*glass);
    markCurrentColor();
    centre();
}

// In this order: later controls lie above earlier ones.
void SettingsWindow::buildControls(platform::View& glass) {
    const auto self = weak_from_this();
    place(glass, glassLabel(L10n::appName(), 20, "Black", white(1)), {30, 218, 302, 24});
    const std::string language = Settings::language();
    langPLBtn = place(glass, makeLangButton("PL", "pl", language == "pl"), {340, 218, 32, 24});
    langPLBtn->setTag(0);
    langENBtn = place(glass, makeLangButton("EN", "en", language == "en"), {378, 218, 32, 24});
    langENBtn->setTag(1);
    borderLabel = place(glass, glassLabel(L10n::borderColorLabel(), 12, "Regular", white(0.6)),
                        {30, 184, 380, 16});
    const auto swatches = Swatch::all();
    for (size_t index = 0; index < swatches.size(); ++index)
        place(glass, roundSwatch(swatches[index].color),
              {30 + 32 * static_cast<double>(index), 154, 22, 22});
    shortcutLabel = place(glass, glassLabel(L10n::shortcutLabel(), 12, "Regular", white(0.6)),
                          {30, 120, 380, 16});
    recButton = place(glass, makeRecButton(), {30, 68, 380, 44});
    closeBtnRef = place(glass, pill(L10n::close(), self, &SettingsWindow::closeWindow, false),
                        {30, 20, 110, 32});
    quitBtnRef =
        place(glass, pill(L10n::quit(), self, &SettingsWindow::quitApp, true), {300, 20, 110, 32});
}

std::shared_ptr<platform::Button> SettingsWindow::makeRecButton() {
    auto button = platform::Button::buttonWithTitle(formatShortcut(), {});
    button->setTarget(weak_from_this(), &SettingsWindow::tapRecord);
    button->setBordered(false);
    button->setWantsLayer(true);
    button->layer()->setCornerRadius(12);
    button->layer()->setBackgroundColor(white(0.12));
    button->setFont(outfit("SemiBold", 18));
    button->setContentTintColor(white(1));
    return button;
}

// The caller sets the frame and the tag, which carries the language.
std::shared_ptr<platform::Button> SettingsWindow::makeLangButton(
    const std::string& title, [[maybe_unused]] const std::string& lang, bool selected) {
    auto button = platform::Button::buttonWithTitle(title, {});
    button->setTarget(weak_from_this(), &SettingsWindow::switchLanguage);
    button->setBordered(false);
    button->setWantsLayer(true);
    button->layer()->setCornerRadius(8);
    button->setContentTintColor(white(1));
    button->layer()->setBorderWidth(1);
    setLanguageLook(*button, selected);
    return button;
}

void SettingsWindow::centre() {
    const auto screen = platform::screens().mainScreen();
    if (!screen) return;
    const platform::Rect frame = window->frame();
    window->setFrameOrigin({screen->visibleFrame.midX() - frame.width / 2,
                            screen->visibleFrame.midY() - frame.height / 2});
}

void SettingsWindow::refreshLanguage() {
    if (borderLabel) borderLabel->setStringValue(L10n::borderColorLabel());
    if (shortcutLabel) shortcutLabel->setStringValue(L10n::shortcutLabel());
    if (closeBtnRef) closeBtnRef->setTitle(L10n::close());
    if (quitBtnRef) quitBtnRef->setTitle(L10n::quit());
    if (recButton) recButton->setTitle(recording ? L10n::pressShortcut() : formatShortcut());
    const std::string language = Settings::language();
    for (const auto& button : {langPLBtn, langENBtn})
        if (button) setLanguageLook(*button, languageOf(*button) == language);
}

void SettingsWindow::switchLanguage(platform::Button& sender) {
    const std::string chosen = languageOf(sender);
    if (chosen == Settings::language()) {
        bounce(sender);
        return;
    }
    Settings::setLanguage(chosen);
    bounce(sender);
    refreshLanguage();
}

// The window keeps its views and place; a recording in progress goes on.
void SettingsWindow::closeWindow() {
    if (window) window->orderOut();
}

void SettingsWindow::quitApp() {
    platform::application().terminate();
}
