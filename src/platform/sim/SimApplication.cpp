#include "platform/sim/SimApplication.h"

namespace sim {

void SimApplication::setActivationPolicy(int policy) {
    desktop_.currentProcess().activationPolicy = policy;
}

void SimApplication::setDelegate(platform::ApplicationDelegate* delegate) {
    desktop_.currentProcess().delegate = delegate;
}

void SimApplication::run() {
    SimProcess& process = desktop_.currentProcess();
    desktop_.postMainFor(process.pid, 0, [&process] {
        if (process.delegate != nullptr) process.delegate->applicationDidFinishLaunching();
    });
}

void SimApplication::activateIgnoringOtherApps(bool flag) {
    SimProcess& process = desktop_.currentProcess();
    if (flag) ++process.activationsIgnoringOthers;
    desktop_.setFrontmost(process.pid);
}

}  // namespace sim
