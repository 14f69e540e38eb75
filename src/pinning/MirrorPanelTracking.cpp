#include "app/Entry.h"
#include "pinning/MirrorPanel.h"
#include "pinning/PinManager.h"
#include "platform/Platform.h"
#include "settings/FrameStyle.h"

namespace {

// The main display's frame when the first panel was built; fixed until forgotten.
platform::Rect cachedScreenFrame;
bool screenFrameKnown = false;

platform::Rect flipped(const platform::Rect& rect, double screenHeight) {
    return {rect.x, screenHeight - rect.y - rect.height, rect.width, rect.height};
}

}  // namespace

platform::Rect cgToScreen(const platform::Rect& rect) {
    const std::vector<platform::Screen> screens = platform::screens().screens();
    if (screens.empty()) return rect;
    return flipped(rect, screens.front().frame.height);
}

const platform::Rect& MirrorPanel::screenFrame() {
    if (!screenFrameKnown) {
        const std::vector<platform::Screen> screens = platform::screens().screens();
        cachedScreenFrame = screens.empty() ? platform::Rect{} : screens.front().frame;
        screenFrameKnown = true;
    }
    return cachedScreenFrame;
}

void MirrorPanel::forgetScreenFrame() {
    screenFrameKnown = false;
    cachedScreenFrame = {};
}

void MirrorPanel::startObserver() {
    if (pid_ == 0) return;
    const platform::AXElement axApp = platform::axElements().applicationElement(pid_);
    const std::optional<platform::AXElement> axWindow = findAXWindow(axApp);
    if (!axWindow) return;  // followed by polling alone
    platform::AXObservers& observers = platform::axObservers();
    std::shared_ptr<platform::AXObserver> observer;
    if (observers.create(pid_, observerCallback, observer) != platform::axSuccess || !observer)
        return;
    observers.addNotification(*observer, *axWindow, "AXWindowMoved", this);
    observers.addNotification(*observer, *axWindow, "AXWindowResized", this);
    observers.addToMainRunLoop(observers.runLoopSource(*observer));
    axObserver_ = observer;
}

void MirrorPanel::stopObserver() {
    if (!axObserver_) return;
    platform::AXObservers& observers = platform::axObservers();
    observers.removeFromMainRunLoop(observers.runLoopSource(*axObserver_));
    axObserver_.reset();
}

// A move and a resize are handled alike.
void MirrorPanel::observerCallback(const platform::AXElement&, std::string_view, void* refcon) {
    if (refcon == nullptr) return;
    auto* panel = static_cast<MirrorPanel*>(refcon);
    platform::dispatch().mainAsync([weak = panel->weak_from_this()] {
        if (auto panel = weak.lock()) panel->syncFrame();
    });
}

std::optional<platform::AXElement> MirrorPanel::findAXWindow(
    const platform::AXElement& axApp) const {
    std::optional<std::vector<platform::AXElement>> windows;
    if (platform::axElements().copyElementListAttribute(axApp, "AXWindows", windows) !=
            platform::axSuccess ||
        !windows || windows->empty())
        return std::nullopt;
    const platform::WindowNumberFunction& windowNumber = axUIElementGetWindow();
    if (!windowNumber) return std::nullopt;  // the desktop has no such function
    for (const auto& element : *windows) {
        uint32_t number = 0;
        if (windowNumber(element, number) == platform::axSuccess && number == scWindow_.windowID)
            return element;
    }
    return std::nullopt;
}

// The window server's rectangle of the real window; a missing key counts as 0.
std::optional<platform::Rect> MirrorPanel::readBounds(
    std::vector<platform::WindowInfo>& records) const {
    if (!platform::windowList().copyWindowInfo(platform::WindowList::optionIncludingWindow,
                                               scWindow_.windowID, records) ||
        records.empty())
        return std::nullopt;
    const std::optional<platform::WindowBounds>& bounds = records.front().bounds;
    if (!bounds) return std::nullopt;
    return platform::Rect{bounds->x.value_or(0), bounds->y.value_or(0), bounds->width.value_or(0),
                          bounds->height.value_or(0)};
}

void MirrorPanel::syncFrame() {
    std::vector<platform::WindowInfo> records;
    if (const auto bounds = readBounds(records)) applyFrame(cgToScreen(*bounds));
}

void MirrorPanel::pollFrame() {
    const std::optional<platform::Rect> bounds = readBounds(pollRecords_);
    if (!bounds) return;
    bool unchanged = false;
    {
        std::lock_guard guard(lock_);
        unchanged = *bounds == lastScheduled_;
        lastScheduled_ = *bounds;
    }
    if (unchanged) return;
    const platform::Rect frame = flipped(*bounds, cachedScreenFrame.height);
    platform::dispatch().mainAsync([weak = weak_from_this(), frame] {
        if (auto panel = weak.lock()) panel->applyFrame(frame);
    });
}

void MirrorPanel::applyFrame(const platform::Rect& frame) {
    const platform::Rect target = frame.insetBy(-FrameStyle::pad, -FrameStyle::pad);
    if (panel_->frame() == target) return;
    platform::Transaction& transaction = platform::transaction();
    transaction.begin();
    transaction.setDisableActions(true);
    panel_->setFrame(target, true);
    // The picture keeps the real window's size, so a resized window is shown whole; a mere
    // move leaves the layers alone, so nothing needs drawing again.
    if (contentLayer_->frame().size() != frame.size())
        contentLayer_->setFrame({FrameStyle::pad, FrameStyle::pad, frame.width, frame.height});
    transaction.commit();
}

void MirrorPanel::checkAlive() {
    std::vector<platform::WindowInfo> records;
    if (platform::windowList().copyWindowInfo(platform::WindowList::optionIncludingWindow,
                                              scWindow_.windowID, records) &&
        !records.empty())
        return;
    PinManager::shared().unpin(scWindow_.windowID);
}

// The alive check once a second, then polling once per display refresh if a link can be had.
void MirrorPanel::startTracking() {
    std::weak_ptr<MirrorPanel> weak = weak_from_this();
    aliveTimer_ = platform::timers().scheduledTimer(1.0, true, [weak](platform::Timer&) {
        if (auto panel = weak.lock()) panel->checkAlive();
    });
    auto link = platform::displayLinks().createWithActiveDisplays();
    if (!link) return;
    link->setOutputHandler([weak] {
        if (auto panel = weak.lock()) panel->pollFrame();
        return int32_t{0};
    });
    link->start();
    displayLink_ = link;
}
