#include "platform/sim/SimProgramWindow.h"

#include "platform/Platform.h"

namespace sim {

SimProgramWindow::SimProgramWindow(const platform::Rect& contentRect, uint64_t styleMask,
                                   int backing, bool defer, bool panel, KeyHandler onKey)
    : frame_(contentRect),
      styleMask_(styleMask),
      backing_(backing),
      defer_(defer),
      panel_(panel),
      onKey_(std::move(onKey)) {}

// The content has no decorations, so the content view fills the whole frame.
void SimProgramWindow::fitContentView() {
    if (contentView_ && contentView_->frame() != frame_.bounds())
        contentView_->setFrame(frame_.bounds());
}

void SimProgramWindow::setFrame(const platform::Rect& frame, bool display) {
    const bool disabled = platform::isInstalled() && platform::transaction().disableActions();
    frameChanges_.push_back({frame, display, disabled});
    record("setFrame");
    frame_ = frame;
    fitContentView();
}

void SimProgramWindow::setFrameOrigin(const platform::Point& origin) {
    record("setFrameOrigin");
    frame_.x = origin.x;
    frame_.y = origin.y;
}

void SimProgramWindow::setLevel(int level) {
    record("setLevel");
    level_ = level;
}

void SimProgramWindow::setBackgroundColor(const platform::Color& color) {
    record("setBackgroundColor");
    backgroundColor_ = color;
}

void SimProgramWindow::setHasShadow(bool flag) {
    record("setHasShadow");
    hasShadow_ = flag;
}

void SimProgramWindow::setOpaque(bool flag) {
    record("setOpaque");
    opaque_ = flag;
}

void SimProgramWindow::setReleasedWhenClosed(bool flag) {
    record("setReleasedWhenClosed");
    releasedWhenClosed_ = flag;
}

void SimProgramWindow::setCollectionBehavior(uint64_t behavior) {
    record("setCollectionBehavior");
    collectionBehavior_ = behavior;
}

void SimProgramWindow::setIgnoresMouseEvents(bool flag) {
    record("setIgnoresMouseEvents");
    ignoresMouseEvents_ = flag;
}

void SimProgramWindow::setMovableByWindowBackground(bool flag) {
    record("setMovableByWindowBackground");
    movableByBackground_ = flag;
}

void SimProgramWindow::setTitleVisibility(int visibility) {
    record("setTitleVisibility");
    titleVisibility_ = visibility;
}

void SimProgramWindow::setContentView(const std::shared_ptr<platform::View>& view) {
    record("setContentView");
    contentView_ = view;
    fitContentView();
}

void SimProgramWindow::makeKeyAndOrderFront() {
    record("makeKeyAndOrderFront");
    visible_ = true;
    key_ = true;
    if (onKey_) onKey_(*this);
}

void SimProgramWindow::orderOut() {
    record("orderOut");
    visible_ = false;
    key_ = false;
}

void SimProgramWindow::close() {
    record("close");
    visible_ = false;
    key_ = false;
    ++closeCount_;
}

}  // namespace sim
