#include "desktop/InputMainLoop.h"

#include <poll.h>

#include "platform/desktop/x11/X11WindowModel.h"

std::unique_ptr<desktop::X11Context> InputMainLoop::openContext(const std::string& display) {
    auto main = desktop::X11Connection::open(display);
    if (!main) return nullptr;
    auto context = std::make_unique<desktop::X11Context>(main, display);
    context->windows().start();
    return context;
}

void InputMainLoop::mainAsync(Task task) {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(task));
}

size_t InputMainLoop::pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void InputMainLoop::pumpEvents() {
    xcb_connection_t* c = context_.main().get();
    context_.main().flush();
    while (const auto event = desktop::xreply(xcb_poll_for_event(c)))
        context_.events().dispatch(*event);
}

void InputMainLoop::syncEvents() {
    xcb_connection_t* c = context_.main().get();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    pumpEvents();
}

void InputMainLoop::runQueued() {
    std::deque<Task> tasks;
    {
        std::lock_guard lock(mutex_);
        tasks.swap(queue_);
    }
    for (Task& task : tasks)
        task();
}

// Tasks come from other threads without waking the connection, so the wait is short.
bool InputMainLoop::runUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    pollfd readable{xcb_get_file_descriptor(context_.main().get()), POLLIN, 0};
    for (;;) {
        pumpEvents();
        runQueued();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        ::poll(&readable, 1, 5);
    }
}
