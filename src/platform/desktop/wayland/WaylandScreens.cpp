#include "platform/Screens.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandServices.h"

namespace desktop {
namespace {

// The compositor's outputs as screens: bottom-left origin at the main output, y upwards.
// The whole output counts as visible: panels that reserve space do not say so to clients.
class WaylandScreens : public platform::Screens {
public:
    explicit WaylandScreens(WaylandContext& context) : context_(context) {}

    std::vector<platform::Screen> screens() const override {
        const auto outputs = context_.outputs().all();
        std::vector<platform::Screen> screens;
        if (outputs.empty()) return screens;
        const platform::Rect main = outputs.front().rect;
        for (const auto& output : outputs) {
            const platform::Rect flipped{output.rect.x - main.x, main.maxY() - output.rect.maxY(),
                                         output.rect.width, output.rect.height};
            screens.push_back({flipped, flipped});
        }
        return screens;
    }

    std::optional<platform::Screen> mainScreen() const override {
        const auto all = screens();
        if (all.empty()) return std::nullopt;
        return all.front();
    }

private:
    WaylandContext& context_;
};

}  // namespace

std::unique_ptr<platform::Screens> makeWaylandScreens(WaylandContext& context) {
    return std::make_unique<WaylandScreens>(context);
}

}  // namespace desktop
