// The event-manager map is filled exactly once, whichever function uses it first.
#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKErrors/ErrorMap.h"
#include "platform/EvEvent.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

class Gate {
public:
    void wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_open; });
    }
    void open() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_open = true;
        }
        m_cv.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_open = false;
};

// Must run first in this program: nothing else has used the map yet.
TEST(ErrorMapConcurrencyTest, FirstUseFromManyThreadsFillsOnce) {
    ASSERT_EQ(0, errorMapFillCount());
    const std::string expected = EvEvent::catalogueText(0x23000894);
    constexpr int kThreads = 16;
    Gate gate;
    std::vector<std::string> texts(kThreads);
    std::vector<unsigned long> codes(kThreads, 0);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            gate.wait();
            switch (i % 3) {
                case 0:
                    initializeErrorMap();
                    getLocaleErrorMsgFromVSDKErrorCode(texts[i], 0x150, 0);
                    codes[i] = 0x150;
                    break;
                case 1:
                    getLocaleErrorMsgFromVSDKErrorCode(texts[i], 0x150, 0);
                    codes[i] = 0x150;
                    break;
                case 2:
                    frameErrorMsg(texts[i], codes[i], -5);
                    break;
            }
        });
    }
    gate.open();
    for (auto& t : threads) t.join();
    EXPECT_EQ(1, errorMapFillCount());
    EXPECT_EQ(11u, errorMapSize());
    for (int i = 0; i < kThreads; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected, texts[i]);
        EXPECT_EQ(0x150UL, codes[i]);
    }
    initializeErrorMap();  // a later call changes nothing
    EXPECT_EQ(1, errorMapFillCount());
}

TEST(ErrorMapConcurrencyTest, LocalizedTextsStayWithTheirThreads) {
    struct Ask {
        unsigned long code;
        std::string text;
    };
    const Ask asks[] = {{0x103, EvEvent::catalogueText(0x23000008)},
                        {0x149, EvEvent::catalogueText(0x2300124e)},
                        {0x207, ""},
                        {0x151, "Login is not permitted for the user."}};
    constexpr int kRounds = 50;
    Gate gate;
    std::vector<std::thread> threads;
    for (const Ask& ask : asks) {
        threads.emplace_back([&gate, ask] {
            g_dataMap.insert(VSDKAPIGlobalData());
            gate.wait();
            const unsigned long locale = 0;
            for (int round = 0; round < kRounds; ++round) {
                setErrorString("server text");
                EXPECT_EQ(ask.text, VSDKGetLocaleErrorString(&ask.code, &locale));
                EXPECT_EQ(ask.text, VSDKGetLastErrorString());
            }
            g_dataMap.erase();
        });
    }
    gate.open();
    for (auto& t : threads) t.join();
}

}  // namespace
