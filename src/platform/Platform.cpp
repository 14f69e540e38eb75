#include "platform/Platform.h"

#include <atomic>
#include <cstdlib>

namespace platform {
namespace {

std::unique_ptr<Platform> installed;
std::atomic<Platform*> active{nullptr};

}  // namespace

void install(std::unique_ptr<Platform> backend) {
    active.store(backend.get());
    installed = std::move(backend);
}

void uninstall() {
    active.store(nullptr);
    installed.reset();
}

bool isInstalled() {
    return active.load() != nullptr;
}

Platform& current() {
    Platform* backend = active.load();
    if (backend == nullptr) std::abort();  // a programming error: nothing was installed
    return *backend;
}

}  // namespace platform
