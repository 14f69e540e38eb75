#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace sim {

// A window of this program on the simulated desktop. It keeps every property the logic
// sets and a record of the setters called, in order, and of each setFrame.
class SimProgramWindow : public platform::Window {
public:
    struct FrameChange {
        platform::Rect frame;
        bool display = false;
        bool actionsDisabled = false;
    };
    // Told when the window becomes key, so the others stop being key.
    using KeyHandler = std::function<void(SimProgramWindow& window)>;

    SimProgramWindow(const platform::Rect& contentRect, uint64_t styleMask, int backing, bool defer,
                     bool panel, KeyHandler onKey);

    platform::Rect frame() const override { return frame_; }
    void setFrame(const platform::Rect& frame, bool display) override;
    void setFrameOrigin(const platform::Point& origin) override;
    uint64_t styleMask() const override { return styleMask_; }
    int level() const override { return level_; }
    void setLevel(int level) override;
    platform::Color backgroundColor() const override { return backgroundColor_; }
    void setBackgroundColor(const platform::Color& color) override;
    bool hasShadow() const override { return hasShadow_; }
    void setHasShadow(bool flag) override;
    bool isOpaque() const override { return opaque_; }
    void setOpaque(bool flag) override;
    bool isReleasedWhenClosed() const override { return releasedWhenClosed_; }
    void setReleasedWhenClosed(bool flag) override;
    uint64_t collectionBehavior() const override { return collectionBehavior_; }
    void setCollectionBehavior(uint64_t behavior) override;
    bool ignoresMouseEvents() const override { return ignoresMouseEvents_; }
    void setIgnoresMouseEvents(bool flag) override;
    bool isMovableByWindowBackground() const override { return movableByBackground_; }
    void setMovableByWindowBackground(bool flag) override;
    int titleVisibility() const override { return titleVisibility_; }
    void setTitleVisibility(int visibility) override;
    std::shared_ptr<platform::View> contentView() const override { return contentView_; }
    void setContentView(const std::shared_ptr<platform::View>& view) override;
    void makeKeyAndOrderFront() override;
    void orderOut() override;
    void close() override;
    bool isVisible() const override { return visible_; }
    bool isKeyWindow() const override { return key_; }

    // --- control ---------------------------------------------------------------------
    bool isPanel() const { return panel_; }
    int backing() const { return backing_; }
    bool deferred() const { return defer_; }
    int closeCount() const { return closeCount_; }
    // The setters called, by name ("setLevel", ...), oldest first.
    const std::vector<std::string>& setters() const { return setters_; }
    const std::vector<FrameChange>& frameChanges() const { return frameChanges_; }
    void resignKey() { key_ = false; }

private:
    void record(const char* setter) { setters_.emplace_back(setter); }
    void fitContentView();

    platform::Rect frame_;
    uint64_t styleMask_ = 0;
    int backing_ = 0;
    bool defer_ = false;
    bool panel_ = false;
    KeyHandler onKey_;
    int level_ = 0;
    platform::Color backgroundColor_ = platform::Color::white(1);
    bool hasShadow_ = true;
    bool opaque_ = true;
    bool releasedWhenClosed_ = true;
    uint64_t collectionBehavior_ = 0;
    bool ignoresMouseEvents_ = false;
    bool movableByBackground_ = false;
    int titleVisibility_ = 0;
    std::shared_ptr<platform::View> contentView_;
    bool visible_ = false;
    bool key_ = false;
    int closeCount_ = 0;
    std::vector<std::string> setters_;
    std::vector<FrameChange> frameChanges_;
};

}  // namespace sim
