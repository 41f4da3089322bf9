// Under threads: the error-code map fills once, each thread's record, last error
// and log object are its own, and log lines stay whole.
#include "support/TempRegistry.h"

#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKErrors/ErrorMap.h"
#include "platform/EvDebug.h"
#include "platform/EvEvent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <thread>

namespace {

constexpr int kThreads = 8;

// All parties wait until the last one arrives.
struct Latch {
    std::atomic<int> left;
    void arriveAndWait() { for (--left; left > 0;) std::this_thread::yield(); }
};

// Must run first in this program: nothing else has used the map yet.
TEST(ErrorMapConcurrencyTest, FirstUseFromManyThreadsFillsOnce) {
    ASSERT_EQ(0, errorMapFillCount());
    Latch start{{kThreads}};
    std::vector<std::string> texts(kThreads);
    std::vector<unsigned long> codes(kThreads, 0x150);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            start.arriveAndWait();
            if (i % 3 == 0) initializeErrorMap();
            if (i % 3 == 2) {
                codes[i] = 0;  // event-manager code -5 stands for 0x150
                frameErrorMsg(texts[i], codes[i], -5);
            } else {
                getLocaleErrorMsgFromVSDKErrorCode(texts[i], 0x150, 0);
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(1, errorMapFillCount());
    EXPECT_EQ(11u, errorMapSize());
    EXPECT_EQ(std::vector<std::string>(kThreads, EvEvent::catalogueText(0x23000894)), texts);
    EXPECT_EQ(std::vector<unsigned long>(kThreads, 0x150), codes);
}

TEST(ThreadStateTest, EachThreadSeesOnlyItsOwnRecord) {
    vsdktest::TempRegistry reg(6);
    Latch written{{kThreads + 1}}, read{{kThreads + 1}};  // with the test's thread, which has no record
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            const std::string n = std::to_string(i);
            EXPECT_TRUE(g_dataMap.insert(VSDKAPIGlobalData()).second);
            g_dataMap.current()->getUser() = "user" + n;
            EXPECT_FALSE(g_dataMap.insert(VSDKAPIGlobalData()).second) << "a second insert keeps the first record";
            EXPECT_TRUE(setErrorString("failure " + n));
            g_dataMap.current()->getEvDebug().initialize(("thread" + n).c_str(), 0);
            g_dataMap.current()->getEvDebug().debugLvl("Worker()", 1, "written by %d", i);
            written.arriveAndWait();
            EXPECT_EQ("failure " + n + "|user" + n,
                      std::string(VSDKGetLastErrorString()) + "|" + g_dataMap.current()->getUser());
            const auto lines = vsdktest::readLines(reg.logDir() + "/thread" + n + ".log");
            EXPECT_EQ(1u, lines.size());
            for (const auto& line : lines) EXPECT_NE(std::string::npos, line.find("written by " + n));
            read.arriveAndWait();
            g_dataMap.erase();
        });
    }
    written.arriveAndWait();
    // Without a record: nothing is stored or erased, and the text is that of no start-up.
    EXPECT_FALSE(setErrorString("not stored"));
    g_dataMap.erase();
    EXPECT_EQ(nullptr, g_dataMap.current());
    EXPECT_EQ(GetErrorString(0x280), VSDKGetLastErrorString());
    read.arriveAndWait();
    for (auto& t : threads) t.join();
    EXPECT_TRUE(reg.logLines().empty());  // every line went to its thread's own log
}

TEST(LogConcurrencyTest, ConcurrentLinesStayWhole) {
    vsdktest::TempRegistry reg(6);
    constexpr int kLines = 200;
    const std::string filler(300, 'f');
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &filler] {
            QEvDebug log;  // each thread its own object, all on the default log
            for (int i = 0; i < kLines; ++i) log.debugLvl("Worker()", 6, "thread %d line %d %s|", t, i, filler.c_str());
        });
    }
    for (int i = 0; i < 20; ++i) EvDebug::reloadSettings();  // settings re-read meanwhile
    for (auto& th : threads) th.join();
    const auto lines = reg.logLines();
    ASSERT_EQ(static_cast<std::size_t>(kThreads * kLines), lines.size());
    std::map<int, int> next;
    for (const std::string& line : lines) {
        const std::size_t at = line.find("Worker() [6] thread ");
        ASSERT_NE(std::string::npos, at) << line;
        int t = -1, i = -1;
        ASSERT_EQ(2, std::sscanf(line.c_str() + at, "Worker() [6] thread %d line %d", &t, &i));
        EXPECT_EQ(line.substr(line.size() - filler.size() - 1), filler + "|");
        EXPECT_EQ(next[t]++, i) << "the lines of one thread keep their order";
    }
}

}  // namespace
