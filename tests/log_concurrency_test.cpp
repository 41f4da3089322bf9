// Lines written by many threads at once reach the log whole and in order.
#include "support/TempRegistry.h"

#include "VSDKAPIGlobalData/QEvDebug.h"
#include "platform/EvDebug.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <thread>

namespace {

TEST(LogConcurrencyTest, ConcurrentLinesStayWhole) {
    vsdktest::TempRegistry reg(6);
    constexpr int kThreads = 8, kLines = 200;
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
