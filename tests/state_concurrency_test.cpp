// Per-thread state: each thread's record, last error and log object are its own.
#include "support/TempRegistry.h"

#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// All parties wait until the last one arrives.
struct Latch {
    std::atomic<int> left;
    void arriveAndWait() {
        for (--left; left > 0;) std::this_thread::yield();
    }
};

TEST(ThreadStateTest, EachThreadSeesOnlyItsOwnRecord) {
    vsdktest::TempRegistry reg(6);
    constexpr int kThreads = 5;
    Latch written{{kThreads + 1}}, read{{kThreads + 1}};  // with the test's thread, which has no record
    std::vector<std::string> seen(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            const std::string n = std::to_string(i);
            VSDKAPIGlobalData fresh;
            fresh.getUser() = "user" + n;
            EXPECT_TRUE(g_dataMap.insert(fresh).second);
            EXPECT_TRUE(setErrorString("failure " + n));
            QEvDebug& log = g_dataMap.current()->getEvDebug();
            log.initialize(("thread" + n).c_str(), 0);
            log.debugLvl("Worker()", 1, "written by %d", i);
            written.arriveAndWait();
            seen[i] = std::string(VSDKGetLastErrorString()) + "|" + g_dataMap.current()->getUser();
            read.arriveAndWait();
            g_dataMap.erase();
        });
    }
    written.arriveAndWait();
    // Without a record: nothing is stored or erased, and the texts are those of no start-up.
    const std::string deinit = GetErrorString(0x280);
    const unsigned long code = 0x10c, locale = 0;
    EXPECT_FALSE(setErrorString("not stored"));
    g_dataMap.erase();
    EXPECT_EQ(nullptr, g_dataMap.current());
    EXPECT_EQ(deinit, VSDKGetLastErrorString());
    EXPECT_EQ(deinit, VSDKGetLocaleErrorString(&code, &locale));
    EXPECT_STREQ("Operation failed at Mardock", VSDKGetErrorString(&code));
    read.arriveAndWait();
    for (auto& t : threads) t.join();

    for (int i = 0; i < kThreads; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_EQ("failure " + n + "|user" + n, seen[i]);
        const auto lines = vsdktest::readLines(reg.logDir() + "/thread" + n + ".log");
        ASSERT_EQ(1u, lines.size());
        EXPECT_NE(std::string::npos, lines[0].find("written by " + n));
    }
    EXPECT_TRUE(reg.logLines().empty());  // every line went to its thread's own log
}

TEST(ThreadStateTest, SecondInsertKeepsTheFirstRecord) {
    VSDKAPIGlobalData first, second;
    first.getUser() = "first";
    const auto a = g_dataMap.insert(first);
    const auto b = g_dataMap.insert(second);
    EXPECT_TRUE(a.second && !b.second && a.first == b.first);
    EXPECT_EQ("first", g_dataMap.current()->getUser());
    g_dataMap.erase();
}

}  // namespace
