#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "support/SimFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

void record(const platform::AXElement& element, std::string_view notification, void* heard) {
    static_cast<std::vector<std::string>*>(heard)->push_back(std::string(notification) + " " +
                                                             std::to_string(element.window));
}

class AXObserverTest : public SimFixture {
protected:
    AXObserverTest() {
        desktop.accessibilityTrusted = true;
        desktop.addApplication({812, "com.example.editor", "Editor"});
        desktop.addWindow({471, 812, {120, 80, 800, 600}, true});
        desktop.addWindow({472, 812, {0, 0, 100, 100}, true});
    }

    // An observer of the editor's window 471, on the main run loop.
    std::shared_ptr<platform::AXObserver> observe() {
        platform::AXObservers& observers = platform::axObservers();
        std::shared_ptr<platform::AXObserver> observer;
        EXPECT_EQ(observers.create(812, record, observer), platform::axSuccess);
        for (const char* name : {"AXWindowMoved", "AXWindowResized"})
            observers.addNotification(*observer, {812, 471}, name, &heard);
        observers.addToMainRunLoop(observers.runLoopSource(*observer));
        return observer;
    }

    std::vector<std::string> heard;
};

TEST_F(AXObserverTest, AnnouncedChangesOfTheRegisteredWindowArriveFromTheMainQueue) {
    const auto observer = observe();
    desktop.axObservers.moveWindow(471, {10, 20});
    EXPECT_THAT(heard, IsEmpty());  // not before the run loop turns
    desktop.axObservers.resizeWindow(471, {300, 200});
    desktop.axObservers.moveWindow(472, {5, 5});  // not registered
    desktop.runUntilIdle();
    EXPECT_THAT(heard, ElementsAre("AXWindowMoved 471", "AXWindowResized 471"));
    EXPECT_EQ(desktop.findWindow(471)->frame, (platform::Rect{10, 20, 300, 200}));

    desktop.axObservers.setAnnounces(812, false);  // a silent application notifies nobody
    desktop.axObservers.moveWindow(471, {30, 40});
    desktop.runUntilIdle();
    EXPECT_EQ(heard.size(), 2u);
    std::vector<platform::WindowInfo> records;
    platform::windowList().copyWindowInfo(platform::WindowList::optionIncludingWindow, 471,
                                          records);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records.front().bounds->x, 30);
}

TEST_F(AXObserverTest, ASourceRemovedOrAnObserverReleasedBeforeDeliveryHearsNothing) {
    auto observer = observe();
    desktop.axObservers.moveWindow(471, {10, 20});
    platform::axObservers().removeFromMainRunLoop(platform::axObservers().runLoopSource(*observer));
    desktop.runUntilIdle();
    auto second = observe();
    desktop.axObservers.moveWindow(471, {30, 40});
    second.reset();
    desktop.runUntilIdle();
    EXPECT_THAT(heard, IsEmpty());
    EXPECT_EQ(desktop.axObservers.callbacks(), 0);
}

TEST_F(AXObserverTest, RequestsGiveResultCodesAndAreRecorded) {
    std::shared_ptr<platform::AXObserver> observer;
    EXPECT_EQ(platform::axObservers().create(0, record, observer),
              platform::axErrorIllegalArgument);
    platform::AXElements& ax = platform::axElements();
    EXPECT_EQ(ax.setBooleanAttribute({812, 0}, "AXFrontmost", true), platform::axSuccess);
    EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, 812);
    EXPECT_EQ(ax.performAction({812, 471}, "AXRaise"), platform::axSuccess);
    EXPECT_EQ(ax.performAction({812, 999}, "AXRaise"), platform::axErrorInvalidUIElement);
    desktop.axModel.setError(812, "AXRaise", platform::axErrorFailure);
    EXPECT_EQ(ax.performAction({812, 471}, "AXRaise"), platform::axErrorFailure);
    desktop.accessibilityTrusted = false;
    EXPECT_EQ(ax.setBooleanAttribute({812, 0}, "AXFrontmost", true), platform::axErrorAPIDisabled);
    EXPECT_EQ(platform::axObservers().create(812, record, observer), platform::axErrorAPIDisabled);
    EXPECT_EQ(observer, nullptr);
    std::vector<platform::AXError> results;
    for (const auto& request : desktop.axModel.requests())
        results.push_back(request.result);
    EXPECT_THAT(results, ElementsAre(platform::axSuccess, platform::axSuccess,
                                     platform::axErrorInvalidUIElement, platform::axErrorFailure,
                                     platform::axErrorAPIDisabled));
}

}  // namespace
