#include "Animation.h"

#include <algorithm>

namespace {

uint32_t colorOf(uint64_t number) {
    const auto channel = [number](uint64_t step, uint64_t offset) {
        return uint32_t((number * step + offset) % 256);
    };
    return channel(53, 0) << 16 | channel(97, 64) << 8 | channel(151, 128);
}

}  // namespace

bool Animation::start(double fps, double seconds, int64_t nowNs) {
    if (!(fps > 0 && fps <= 1000 && seconds >= 0 && seconds <= 3600)) return false;
    startNs_ = nowNs;
    periodNs_ = int64_t(1e9 / fps);
    total_ = uint64_t(fps * seconds + 0.5);
    drawn_ = 0;
    return true;
}

int Animation::waitMs(int64_t nowNs) const {
    if (!running()) return -1;
    const int64_t wait = startNs_ + int64_t(drawn_) * periodNs_ - nowNs;
    return wait <= 0 ? 0 : int((wait + 999'999) / 1'000'000);
}

std::optional<Animation::Frame> Animation::due(int64_t nowNs) {
    if (!running() || nowNs < startNs_ + int64_t(drawn_) * periodNs_) return std::nullopt;
    drawn_ = std::max(drawn_, uint64_t((nowNs - startNs_) / periodNs_)) + 1;
    ++number_;
    return Frame{number_, colorOf(number_)};
}
