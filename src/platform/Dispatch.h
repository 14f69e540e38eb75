#pragma once

#include <functional>

namespace platform {

// The main queue (drained by the main event loop) and the global concurrent queue.
class Dispatch {
public:
    using Task = std::function<void()>;
    virtual ~Dispatch() = default;

    virtual void mainAsync(Task task) = 0;
    virtual void mainAsyncAfter(double seconds, Task task) = 0;
    // The global concurrent queue of the default quality-of-service class.
    virtual void globalAsync(Task task) = 0;
    virtual bool isMainThread() const = 0;
};

}  // namespace platform
