#include <gtest/gtest.h>
#include <malloc.h>

#include <string>

#include "support/ShellFixture.h"

namespace {

using LongSessionTest = ScenarioFixture;

size_t bytesInUse() {
    return mallinfo2().uordblks;
}

std::string toggles(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += "toggle\n";
    return lines;
}

// The desktop keeps only the history that dumps and tests read, so a long session of
// pins and unpins stays in flat memory once the kept history has filled up.
TEST_F(LongSessionTest, ThousandsOfTogglesRunInFlatMemory) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers' allocators are not the one measured here";
#endif
    ASSERT_TRUE(play(launchedScene + toggles(4000))) << errors.str();
    const size_t warm = bytesInUse();
    ASSERT_TRUE(play(toggles(4000))) << errors.str();
    const size_t grown = bytesInUse() > warm ? bytesInUse() - warm : 0;
    EXPECT_LT(grown, 3u << 20) << "bytes kept by 4000 more toggles";  // 8 MB unbounded
}

}  // namespace
