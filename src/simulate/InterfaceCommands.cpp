#include <algorithm>
#include <string>

#include "platform/sim/SimDesktop.h"
#include "simulate/InterfaceText.h"
#include "simulate/ScenarioCommands.h"

namespace {

sim::SimWindow& windowNamed(Scenario& s, const std::string& word) {
    const uint32_t number = scenarioWindow(word);
    sim::SimWindow* window = s.desktop().findWindow(number);
    if (window == nullptr) throw ScenarioError{"no window " + word};
    return *window;
}

// Through the accessibility side, so that the owner's observers hear of it.
void moveWindow(Scenario& s, const Scenario::Args& args) {
    const sim::SimWindow& window = windowNamed(s, args[0]);
    s.desktop().axObservers.moveWindow(window.number,
                                       {scenarioCoordinate(args[1]), scenarioCoordinate(args[2])});
}

void resize(Scenario& s, const Scenario::Args& args) {
    const sim::SimWindow& window = windowNamed(s, args[0]);
    s.desktop().axObservers.resizeWindow(window.number,
                                         {scenarioLength(args[1]), scenarioLength(args[2])});
}

void closeWindow(Scenario& s, const Scenario::Args& args) {
    const uint32_t number = windowNamed(s, args[0]).number;
    s.desktop().closeWindow(number);
}

void refresh(Scenario& s, const Scenario::Args& args) {
    const int64_t count =
        args.empty() ? 1 : scenarioIntegerIn(args[0], 0, scenarioArgs::maxRefreshes);
    s.desktop().displayLinks.refresh(static_cast<int>(count));
}

platform::Point pointFrom(const Scenario::Args& args) {
    return {scenarioCoordinate(args[0]), scenarioCoordinate(args[1])};
}

void key(Scenario& s, const Scenario::Args& args) {
    const int64_t code = scenarioInteger(args[0]);
    if (code < 0 || code > 0xFFFF) throw ScenarioError{"key code out of range: " + args[0]};
    const int64_t modifiers = args.size() > 1 ? scenarioInteger(args[1]) : 0;
    if (modifiers < 0) throw ScenarioError{"modifiers must not be negative"};
    s.desktop().keyMonitors.keyDown(static_cast<uint16_t>(code), static_cast<uint64_t>(modifiers));
}

// The main display's height; its visible frame is clipped to the new frame.
void screenHeight(Scenario& s, const Scenario::Args& args) {
    if (s.desktop().screens.empty()) throw ScenarioError{"there is no screen"};
    const double height = scenarioLength(args[0]);
    sim::SimScreen& main = s.desktop().screens.front();
    main.frame.height = height;
    const double visibleTop = std::min(main.visibleFrame.maxY(), main.frame.maxY());
    main.visibleFrame.height = std::max(0.0, visibleTop - main.visibleFrame.y);
}

void layerTree(Scenario& s, const platform::Layer& layer, int depth) {
    s.out() << std::string(static_cast<size_t>(2 * depth), ' ') << "layer " << layerText(layer)
            << "\n";
    for (const auto& sublayer : layer.sublayers())
        layerTree(s, *sublayer, depth + 1);
}

// This program's windows and the layers of their content views.
void windows(Scenario& s, const Scenario::Args&) {
    const auto all = s.desktop().ownWindows.all();
    s.out() << "windows: " << all.size() << "\n";
    for (const auto& window : all) {
        s.out() << "  window " << windowText(*window) << "\n";
        if (const auto view = window->contentView(); view && view->layer())
            layerTree(s, *view->layer(), 2);
    }
}

}  // namespace

void defineInterfaceCommands(Scenario& scenario) {
    scenario.define("move", 3, "move WINDOW X Y", moveWindow);
    scenario.define("resize", 3, "resize WINDOW W H", resize);
    scenario.define("close", 1, "close WINDOW", closeWindow);
    scenario.define("refresh", 0, "refresh [N]", refresh);
    scenario.define("mouse-press", 2, "mouse-press X Y", [](Scenario& s, const Scenario::Args& a) {
        s.desktop().eventTaps.mousePress(pointFrom(a));
    });
    scenario.define("mouse-release", 2, "mouse-release X Y",
                    [](Scenario& s, const Scenario::Args& a) {
                        s.desktop().eventTaps.mouseRelease(pointFrom(a));
                    });
    scenario.define("key", 1, "key KEYCODE [MODIFIERS]", key);
    scenario.define("screen-height", 1, "screen-height H", screenHeight);
    scenario.define("windows", 0, "windows", windows);
}
