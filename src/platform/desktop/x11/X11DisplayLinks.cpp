#include <chrono>
#include <memory>
#include <mutex>

#include "platform/DisplayLink.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Monitors.h"
#include "platform/desktop/x11/X11RefreshThread.h"
#include "platform/desktop/x11/X11Services.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {
namespace {

// The handler of one link, shared with the refresh thread, which may still hold it while
// the link goes.
struct LinkHandler {
    std::mutex mutex;  // guards handler
    platform::DisplayLink::OutputHandler handler;

    void call() {
        platform::DisplayLink::OutputHandler copy;
        {
            std::lock_guard lock(mutex);
            copy = handler;
        }
        if (copy) copy();
    }
};

// A link called on the one refresh thread that all links share.
class X11DisplayLink : public platform::DisplayLink {
public:
    explicit X11DisplayLink(std::shared_ptr<X11RefreshThread> refresh)
        : refresh_(std::move(refresh)) {}
    ~X11DisplayLink() override { stop(); }

    int32_t setOutputHandler(OutputHandler handler) override {
        std::lock_guard lock(handler_->mutex);
        handler_->handler = std::move(handler);
        return 0;
    }

    int32_t start() override {
        {
            std::lock_guard lock(mutex_);
            if (running_) return 0;
            running_ = true;
        }
        refresh_->add(this, [handler = handler_] { handler->call(); });
        return 0;
    }

    int32_t stop() override {
        {
            std::lock_guard lock(mutex_);
            running_ = false;
        }
        refresh_->remove(this);
        return 0;
    }

    bool isRunning() const override {
        std::lock_guard lock(mutex_);
        return running_;
    }

private:
    const std::shared_ptr<X11RefreshThread> refresh_;
    const std::shared_ptr<LinkHandler> handler_ = std::make_shared<LinkHandler>();
    mutable std::mutex mutex_;  // guards running_
    bool running_ = false;
};

class X11DisplayLinks : public platform::DisplayLinks {
public:
    explicit X11DisplayLinks(X11Context& context) : context_(context) {}

    std::shared_ptr<platform::DisplayLink> createWithActiveDisplays() override {
        if (refresh_ == nullptr) {
            const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(1.0 / readRefreshRate(context_.main())));
            refresh_ = std::make_shared<X11RefreshThread>(period, context_.windows().changes());
        }
        return std::make_shared<X11DisplayLink>(refresh_);
    }

private:
    X11Context& context_;
    // Made on the main thread; the service outlives the program's links, so the thread
    // ends on the main thread too.
    std::shared_ptr<X11RefreshThread> refresh_;
};

}  // namespace

std::unique_ptr<platform::DisplayLinks> makeDisplayLinks(X11Context& context) {
    return std::make_unique<X11DisplayLinks>(context);
}

}  // namespace desktop
