// Lines written by many threads at once reach the log whole.
#include "support/TempRegistry.h"

#include "VSDKAPIGlobalData/QEvDebug.h"
#include "platform/EvDebug.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(LogConcurrencyTest, ConcurrentLinesStayWhole) {
    vsdktest::TempRegistry reg(6);
    constexpr int kThreads = 8;
    constexpr int kLines = 200;
    const std::string filler(300, 'f');
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &filler] {
            QEvDebug log;  // each thread its own object, all on the default log
            for (int i = 0; i < kLines; ++i) {
                log.debugLvl("Worker()", 6, "thread %d line %d %s end", t, i, filler.c_str());
                log.debugLvl("Worker()", 7, "never written");
            }
        });
    }
    // Settings are read again while the threads write.
    for (int i = 0; i < 20; ++i) EvDebug::reloadSettings();
    for (auto& th : threads) th.join();

    const auto lines = reg.logLines();
    ASSERT_EQ(static_cast<std::size_t>(kThreads * kLines), lines.size());
    std::map<int, int> nextLine;
    for (const std::string& line : lines) {
        const std::size_t at = line.find("Worker() [6] thread ");
        ASSERT_NE(std::string::npos, at) << line;
        std::istringstream in(line.substr(at + 20));
        int t = -1, i = -1;
        std::string word, rest, end;
        in >> t >> word >> i >> rest >> end;
        EXPECT_EQ(filler, rest);
        EXPECT_EQ("end", end);
        EXPECT_EQ(nextLine[t], i) << "lines of one thread keep their order";
        nextLine[t] = i + 1;
    }
    EXPECT_EQ(static_cast<std::size_t>(kThreads), nextLine.size());
}

}  // namespace
