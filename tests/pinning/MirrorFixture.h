#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "pinning/PinFixture.h"
#include "platform/sim/SimCaptureStreams.h"
#include "platform/sim/SimDispatch.h"
#include "platform/sim/SimProgramWindow.h"

// The simulated desktop with two test hooks: work posted to the main queue is counted,
// and capture starts can be held until the test lets them answer (stops meanwhile are lost).
class MirrorPlatform : public sim::SimPlatform, sim::SimDispatch, sim::SimCaptureStreams {
public:
    explicit MirrorPlatform(sim::SimDesktop& desktop)
        : SimPlatform(desktop), SimDispatch(desktop), SimCaptureStreams(desktop) {}

    platform::Dispatch& dispatch() override { return *this; }
    platform::CaptureStreams& captureStreams() override { return *this; }
    void mainAsync(Task task) override {
        ++mainPosts;
        SimDispatch::mainAsync(std::move(task));
    }
    std::shared_ptr<platform::Stream> createStream(
        const platform::ContentFilter& filter, const platform::StreamConfiguration& config,
        std::weak_ptr<platform::StreamDelegate> delegate) override {
        return std::make_shared<HeldStream>(
            SimCaptureStreams::createStream(filter, config, std::move(delegate)), *this);
    }

    std::atomic<int> mainPosts{0};
    bool holdStarts = false;

    // Lets the held starts go on to the desktop's streams.
    void releaseStarts() {
        std::vector<std::function<void()>> held;
        {
            std::lock_guard lock(mutex_);
            held.swap(held_);
        }
        for (auto& start : held)
            start();
    }
    size_t heldStarts() {
        std::lock_guard lock(mutex_);
        return held_.size();
    }

private:
    class HeldStream : public platform::Stream {
    public:
        HeldStream(std::shared_ptr<platform::Stream> inner, MirrorPlatform& owner)
            : inner_(std::move(inner)), owner_(owner) {}
        std::optional<platform::PlatformError> addStreamOutput(
            std::weak_ptr<platform::StreamOutput> output,
            platform::StreamOutputType type) override {
            return inner_->addStreamOutput(std::move(output), type);
        }
        void startCapture(Completion completion) override {
            if (!owner_.holdStarts) return inner_->startCapture(std::move(completion));
            std::lock_guard lock(owner_.mutex_);
            owner_.held_.push_back(
                [inner = inner_, completion] { inner->startCapture(completion); });
        }
        // A start already on its way outruns a stop, as it may on a real desktop.
        void stopCapture(Completion completion) override {
            if (owner_.heldStarts() > 0) return;
            inner_->stopCapture(std::move(completion));
        }

    private:
        std::shared_ptr<platform::Stream> inner_;
        MirrorPlatform& owner_;
    };

    std::mutex mutex_;
    std::vector<std::function<void()>> held_;
};

// A launched program with the editor's window 471 at (120, 80, 800 x 600) on a display
// 1080 high, the editor in front.
class MirrorFixture : public PinFixture {
protected:
    MirrorFixture() {
        auto installed = std::make_unique<MirrorPlatform>(desktop);
        platform_ = installed.get();
        platform::install(std::move(installed));
    }

    // Pins the editor's front window and lets it start.
    std::shared_ptr<MirrorPanel> pinEditor() {
        toggle();
        return PinManager::shared().mirrors.empty() ? nullptr : PinManager::shared().mirrors.back();
    }

    static sim::SimProgramWindow& simPanel(const MirrorPanel& panel) {
        return dynamic_cast<sim::SimProgramWindow&>(*panel.panel());
    }

    MirrorPlatform& testPlatform() { return *platform_; }

private:
    MirrorPlatform* platform_ = nullptr;
};
