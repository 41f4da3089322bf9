// The event-manager map is filled exactly once, whichever function uses it first.
#include "VSDK.h"
#include "VSDKErrors/ErrorMap.h"
#include "platform/EvEvent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Must run first in this program: nothing else has used the map yet.
TEST(ErrorMapConcurrencyTest, FirstUseFromManyThreadsFillsOnce) {
    ASSERT_EQ(0, errorMapFillCount());
    const std::string expected = EvEvent::catalogueText(0x23000894);
    constexpr int kThreads = 16;
    std::atomic<bool> go{false};
    std::vector<std::string> texts(kThreads);
    std::vector<unsigned long> codes(kThreads, 0x150);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            while (!go) std::this_thread::yield();
            if (i % 3 == 0) initializeErrorMap();
            if (i % 3 == 2) {
                codes[i] = 0;
                frameErrorMsg(texts[i], codes[i], -5);
            } else {
                getLocaleErrorMsgFromVSDKErrorCode(texts[i], 0x150, 0);
            }
        });
    }
    go = true;
    for (auto& t : threads) t.join();
    EXPECT_EQ(1, errorMapFillCount());
    EXPECT_EQ(11u, errorMapSize());
    EXPECT_EQ(std::vector<std::string>(kThreads, expected), texts);
    EXPECT_EQ(std::vector<unsigned long>(kThreads, 0x150), codes);
}

}  // namespace
