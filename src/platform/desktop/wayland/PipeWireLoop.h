#pragma once

struct pw_context;
struct pw_thread_loop;

namespace desktop {

// The one PipeWire thread that all capture streams share, with its context; made on first
// use and kept until the process ends, so that no stream has to care who lets go last.
// Every PipeWire object made on it is touched only by its thread or under its lock (a
// recursive one, which the thread holds while it runs callbacks).
class PipeWireLoop {
public:
    // The running loop; null when PipeWire cannot be set up at all.
    static PipeWireLoop* shared();

    PipeWireLoop(const PipeWireLoop&) = delete;
    PipeWireLoop& operator=(const PipeWireLoop&) = delete;

    pw_thread_loop* loop() const { return loop_; }
    pw_context* context() const { return context_; }

    // Holds the loop's lock for its lifetime.
    class Lock {
    public:
        explicit Lock(const PipeWireLoop& loop);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pw_thread_loop* loop_;
    };

private:
    static PipeWireLoop* make();
    PipeWireLoop(pw_thread_loop* loop, pw_context* context) : loop_(loop), context_(context) {}

    pw_thread_loop* loop_;
    pw_context* context_;
};

}  // namespace desktop
