#include <sstream>

#include "platform/Button.h"
#include "platform/TextField.h"
#include "simulate/ScenarioCommands.h"
#include "support/SimFixture.h"

using platform::Rect;

using WindowTest = SimFixture;

TEST_F(WindowTest, SettersAndFrameChangesAreRecordedAndACloseKeepsTheWindowUsable) {
    auto panel = platform::windows().makePanel({94, 424, 812, 612}, 32896, 2, false);
    auto& sim = *desktop.ownWindows.all().front();
    panel->setLevel(3);
    panel->setIgnoresMouseEvents(true);
    auto& transaction = platform::transaction();
    transaction.begin();
    transaction.setDisableActions(true);
    panel->setFrame({100, 430, 812, 612}, true);
    transaction.commit();
    EXPECT_EQ(sim.setters(),
              (std::vector<std::string>{"setLevel", "setIgnoresMouseEvents", "setFrame"}));
    ASSERT_EQ(sim.frameChanges().size(), 1u);
    EXPECT_TRUE(sim.frameChanges()[0].actionsDisabled);
    EXPECT_TRUE(sim.isPanel());

    panel->makeKeyAndOrderFront();
    panel->close();
    EXPECT_FALSE(panel->isVisible());
    panel->setFrameOrigin({0, 0});
    EXPECT_EQ(panel->frame(), (Rect{0, 0, 812, 612}));
    EXPECT_EQ(sim.closeCount(), 1);
}

TEST_F(WindowTest, OnlyTheLastWindowOrderedFrontIsKey) {
    auto settings = platform::windows().makeWindow({0, 0, 440, 264}, 0, 2, false);
    auto panel = platform::windows().makePanel({0, 0, 100, 100}, 128, 2, false);
    settings->makeKeyAndOrderFront();
    panel->makeKeyAndOrderFront();
    EXPECT_FALSE(settings->isKeyWindow());
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(desktop.ownWindows.keyWindow().get(), panel.get());
    panel->orderOut();
    EXPECT_EQ(desktop.ownWindows.keyWindow(), nullptr);
}

namespace {
struct Owner {
    std::vector<int64_t> pressed;
    void tap(platform::Button& sender) { pressed.push_back(sender.tag()); }
};
}  // namespace

TEST_F(WindowTest, AButtonCallsItsTargetOnlyWhileTheTargetLives) {
    auto owner = std::make_shared<Owner>();
    auto button = platform::Button::buttonWithTitle("EN", nullptr);
    button->setTag(1);
    button->setTarget(std::weak_ptr<Owner>(owner), &Owner::tap);
    button->performClick();
    EXPECT_EQ(owner->pressed, (std::vector<int64_t>{1}));
    owner.reset();
    button->performClick();  // nothing to call, and no failure

    auto label = platform::TextField::labelWithString("Veltrin");
    EXPECT_FALSE(label->isEditable() || label->isSelectable() || label->isBordered() ||
                 label->drawsBackground());
}

TEST_F(WindowTest, ScenarioCommandsDriveTheWindowServerScreensAndKeys) {
    std::ostringstream out, errors;
    auto run = [&](const std::string& script) {
        Scenario scenario(desktop, out);
        defineAllCommands(scenario);
        return scenario.run(script, errors);
    };
    desktop.screens.push_back({{0, 0, 1920, 1080}, {0, 0, 1920, 1055}});
    desktop.addWindow({471, 812, {120, 80, 800, 600}});
    ASSERT_TRUE(run("move 471 300 200\nresize 471 640 480\nscreen-height 900\nkey 40 0xC0000\n"));
    EXPECT_EQ(desktop.findWindow(471)->frame, (Rect{300, 200, 640, 480}));
    EXPECT_EQ(platform::screens().mainScreen()->frame.height, 900);
    EXPECT_EQ(platform::screens().mainScreen()->visibleFrame.height, 900);
    ASSERT_EQ(desktop.keyMonitors.deliveries().size(), 1u);
    EXPECT_EQ(desktop.keyMonitors.deliveries()[0].pressed, (platform::KeyEvent{40, 0xC0000}));

    ASSERT_TRUE(run("close 471\n"));
    EXPECT_EQ(desktop.findWindow(471), nullptr);
    EXPECT_FALSE(run("move 471 0 0\n"));
    EXPECT_FALSE(run("refresh -1\n"));
}
