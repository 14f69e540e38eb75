#include <gmock/gmock.h>

#include <algorithm>

#include "settings/ColorHex.h"
#include "settings/Settings.h"
#include "ui/SettingsWindowFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr size_t teal = 2;
constexpr size_t amber = 4;
constexpr size_t none = 6;

class SwatchPickerTest : public SettingsWindowFixture {
protected:
    // Pins the editor's and the browser's windows.
    void pinTwo() {
        desktop.setFrontmost(editor);  // the settings window put the program in front
        toggle();
        desktop.setFrontmost(browser);
        toggle();
        ASSERT_THAT(pinnedWindows(), ElementsAre(471u, 501u));
    }
    static std::shared_ptr<platform::Layer> frameLayer(size_t index) {
        return PinManager::shared().mirrors.at(index)->panel()->contentView()->layer();
    }
    std::optional<std::string> storedColor() const {
        const auto found = desktop.defaults.find(Settings::colorKey);
        if (found == desktop.defaults.end()) return std::nullopt;
        return std::get<std::string>(found->second);
    }
    // Where in the record of layer changes a layer's property changed last.
    size_t lastChange(const platform::Layer& layer, std::string_view property) const {
        const auto& changes = desktop.transactions.changes();
        for (size_t i = changes.size(); i-- > 0;)
            if (changes[i].layer.lock().get() == &layer && changes[i].property == property)
                return i;
        return changes.size();
    }
    void rebuild() {
        settings = std::make_shared<SettingsWindow>();
        settings->show();
    }
};

TEST_F(SwatchPickerTest, TheStoredColourIsRingedAndTheDefaultMatchesNoSwatch) {
    EXPECT_THAT(ringed(), IsEmpty());
    for (size_t i = 0; i < swatchCount; ++i) {
        EXPECT_EQ(swatch(i)->layer()->cornerRadius(), 11);
        EXPECT_EQ(swatch(i)->layer()->borderWidth(), 1);
    }
    // A window built later rings the stored colour, read as any accepted text.
    desktop.defaults[Settings::colorKey] = std::string(" #f2b23e\n");
    rebuild();
    EXPECT_THAT(ringed(), ElementsAre(amber));
    EXPECT_EQ(swatch(amber)->layer()->borderColor(), platform::Color::white(1));
}

TEST_F(SwatchPickerTest, AClickStoresTheColourAndMovesTheRing) {
    click(swatch(teal));
    EXPECT_EQ(storedColor(), "3DB6A6");
    EXPECT_THAT(ringed(), ElementsAre(teal));
    EXPECT_TRUE(swatch(teal)->layer()->animation("bounce"));

    click(swatch(amber));
    EXPECT_EQ(storedColor(), "F2B23E");
    EXPECT_THAT(ringed(), ElementsAre(amber));
    EXPECT_EQ(swatch(teal)->layer()->borderColor(), platform::Color::white(0.25));

    click(swatch(amber));  // again: the ring stays
    EXPECT_THAT(ringed(), ElementsAre(amber));
}

TEST_F(SwatchPickerTest, EveryPinnedFrameIsRecolouredBeforeTheRingMoves) {
    pinTwo();
    click(swatch(amber));
    desktop.transactions.clearChanges();
    click(swatch(teal));

    const auto tealColor = *colorFromHex("3DB6A6");
    EXPECT_EQ(frameLayer(0)->borderColor(), tealColor);
    EXPECT_EQ(frameLayer(1)->borderColor(), tealColor);
    const size_t first = lastChange(*frameLayer(0), "borderColor");
    const size_t second = lastChange(*frameLayer(1), "borderColor");
    const size_t oldRing = lastChange(*swatch(amber)->layer(), "borderWidth");
    const size_t newRing = lastChange(*swatch(teal)->layer(), "borderWidth");
    EXPECT_LT(first, second);
    EXPECT_LT(second, oldRing);
    EXPECT_LT(oldRing, newRing);
    EXPECT_LT(newRing, desktop.transactions.changes().size());
}

TEST_F(SwatchPickerTest, TheClearSwatchHidesEveryFrameAndComesBackAsNoFrame) {
    pinTwo();
    click(swatch(none));
    EXPECT_EQ(frameLayer(0)->borderWidth(), 0);
    EXPECT_EQ(frameLayer(1)->borderWidth(), 0);
    EXPECT_EQ(storedColor(), Settings::clearColorText);

    // What the next start reads: no frame, and the clear swatch ringed.
    EXPECT_EQ(Settings::borderColor(), platform::Color::clear());
    rebuild();
    EXPECT_THAT(ringed(), ElementsAre(none));
    PinManager::shared().unpinAll();  // a panel pinned now draws no frame
    desktop.setFrontmost(editor);
    toggle();
    ASSERT_THAT(pinnedWindows(), ElementsAre(471u));
    EXPECT_EQ(frameLayer(0)->borderColor().alpha, 0);
    EXPECT_EQ(frameLayer(0)->borderWidth(), 0);

    click(swatch(teal));  // a colour again brings the frames back
    EXPECT_EQ(frameLayer(0)->borderWidth(), 8);
    EXPECT_EQ(storedColor(), "3DB6A6");
}

TEST_F(SwatchPickerTest, AButtonThatIsNoSwatchChangesNothing) {
    settings->tapColor(*closeButton());
    EXPECT_FALSE(storedColor());
    EXPECT_FALSE(closeButton()->layer()->animation("bounce"));
    EXPECT_THAT(ringed(), IsEmpty());
}

}  // namespace
