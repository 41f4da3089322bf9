// Per-thread state: each thread's record, last error and log object are its own.
#include "support/TempRegistry.h"

#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKErrors/VSDKErrors.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// All parties wait until the last one arrives.
class Latch {
public:
    explicit Latch(int count) : m_count(count) {}
    void arriveAndWait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (--m_count == 0) {
            m_cv.notify_all();
        } else {
            m_cv.wait(lock, [this] { return m_count == 0; });
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_count;
};

struct ThreadResult {
    bool inserted = false;
    std::string lastError;
    std::string user;
    std::string guid;
    const QEvDebug* log = nullptr;
    std::string logFile;
    bool erasedGone = false;
};

TEST(ThreadStateTest, EachThreadSeesOnlyItsOwnRecord) {
    vsdktest::TempRegistry reg(6);
    constexpr int kThreads = 8;
    Latch allInserted(kThreads);
    Latch allWritten(kThreads);
    Latch allRead(kThreads);
    std::vector<ThreadResult> results(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            ThreadResult& r = results[i];
            VSDKAPIGlobalData fresh;
            fresh.getUser() = "user" + std::to_string(i);
            r.inserted = g_dataMap.insert(fresh).second;
            allInserted.arriveAndWait();

            VSDKAPIGlobalData* state = g_dataMap.current();
            ASSERT_NE(nullptr, state);
            state->setGuid("guid" + std::to_string(i));
            EXPECT_TRUE(setErrorString("failure of thread " + std::to_string(i)));
            state->getEvDebug().initialize(("thread" + std::to_string(i)).c_str(), 0);
            state->getEvDebug().debugLvl("Worker()", 1, "written by %d", i);
            allWritten.arriveAndWait();

            // Every other thread has written its own values by now.
            r.lastError = VSDKGetLastErrorString();
            r.user = g_dataMap.current()->getUser();
            r.guid = g_dataMap.current()->getGuid();
            r.log = &g_dataMap.current()->getEvDebug();
            r.logFile = g_dataMap.current()->getEvDebug().logFilePath();
            allRead.arriveAndWait();

            g_dataMap.erase();
            r.erasedGone = g_dataMap.current() == nullptr;
        });
    }
    for (auto& t : threads) t.join();

    for (int i = 0; i < kThreads; ++i) {
        SCOPED_TRACE(i);
        const ThreadResult& r = results[i];
        const std::string n = std::to_string(i);
        EXPECT_TRUE(r.inserted);
        EXPECT_EQ("failure of thread " + n, r.lastError);
        EXPECT_EQ("user" + n, r.user);
        EXPECT_EQ("guid" + n, r.guid);
        EXPECT_TRUE(r.erasedGone);
        for (int j = 0; j < i; ++j) EXPECT_NE(results[j].log, r.log);
        const auto lines = vsdktest::readLines(r.logFile);
        ASSERT_EQ(1u, lines.size()) << r.logFile;
        EXPECT_NE(std::string::npos, lines[0].find("Worker() [1] written by " + n));
    }
    EXPECT_EQ(nullptr, g_dataMap.current());
}

TEST(ThreadStateTest, ThreadWithoutRecordGetsTheUninitialisedTexts) {
    const std::string deinit = GetErrorString(0x280);
    ASSERT_EQ("VSDKAPI already deinitialized. Please check vcommand.log for more information.", deinit);

    // Another thread holds a record with an error text; this one has none.
    Latch held(2);
    Latch checked(2);
    std::thread other([&] {
        g_dataMap.insert(VSDKAPIGlobalData());
        setErrorString("the other thread's failure");
        held.arriveAndWait();
        checked.arriveAndWait();
        EXPECT_STREQ("the other thread's failure", VSDKGetLastErrorString());
        g_dataMap.erase();
    });
    held.arriveAndWait();
    EXPECT_EQ(nullptr, g_dataMap.current());
    EXPECT_EQ(deinit, VSDKGetLastErrorString());
    const unsigned long code = 0x10c, locale = 0;
    EXPECT_EQ(deinit, VSDKGetLocaleErrorString(&code, &locale));
    EXPECT_STREQ("Operation failed at Mardock", VSDKGetErrorString(&code));
    EXPECT_FALSE(setErrorString("not stored"));
    checked.arriveAndWait();
    other.join();
}

TEST(ThreadStateTest, SecondInsertKeepsTheFirstRecord) {
    VSDKAPIGlobalData first;
    first.getUser() = "first";
    VSDKAPIGlobalData second;
    second.getUser() = "second";
    second.setGuid("other");

    const auto a = g_dataMap.insert(first);
    ASSERT_TRUE(a.second);
    setErrorString("kept");
    const auto b = g_dataMap.insert(second);
    EXPECT_FALSE(b.second);
    EXPECT_EQ(a.first, b.first);
    VSDKAPIGlobalData* state = g_dataMap.current();
    ASSERT_NE(nullptr, state);
    EXPECT_EQ("first", state->getUser());
    EXPECT_EQ("", state->getGuid());
    EXPECT_EQ("kept", state->getErrorString());
    g_dataMap.erase();
    EXPECT_EQ(nullptr, g_dataMap.current());
}

TEST(ThreadStateTest, EraseWithoutRecordLeavesOthersAlone) {
    Latch held(2);
    Latch erased(2);
    std::thread other([&] {
        VSDKAPIGlobalData mine;
        mine.getUser() = "owner";
        g_dataMap.insert(mine);
        held.arriveAndWait();
        erased.arriveAndWait();
        ASSERT_NE(nullptr, g_dataMap.current());
        EXPECT_EQ("owner", g_dataMap.current()->getUser());
        g_dataMap.erase();
    });
    held.arriveAndWait();
    g_dataMap.erase();  // this thread has no record
    EXPECT_EQ(nullptr, g_dataMap.current());
    erased.arriveAndWait();
    other.join();
}

TEST(ThreadStateTest, FreshRecordDefaults) {
    VSDKAPIGlobalData record;
    EXPECT_TRUE(record.getUseSessionFile());
    EXPECT_TRUE(record.getSessionID().empty());
    EXPECT_EQ(0, record.getLoginRetryCount());
    EXPECT_FALSE(record.ismultifenmarktoken());
    EXPECT_TRUE(record.getmultifenmarktoken().empty());
    EXPECT_TRUE(record.getErrorString().empty());
    EXPECT_EQ(nullptr, record.getVSDKHandle().network);
}

TEST(ThreadStateTest, CopySharesTheConnectionAndKeepsIt) {
    VSDKAPIGlobalData record;
    auto* fakeConnection = reinterpret_cast<CRkNetwork*>(&record);  // never dereferenced
    record.getVSDKHandle().network = fakeConnection;
    record.getMardockName() = "cs1";
    record.setGuid("token");
    {
        VSDKAPIGlobalData copy(record);
        EXPECT_EQ(fakeConnection, copy.getVSDKHandle().network);
        EXPECT_EQ("cs1", copy.getMardockName());
        EXPECT_EQ("token", copy.getGuid());
        EXPECT_EQ(record.getEvDebug().getJobId(), copy.getEvDebug().getJobId());
    }
    EXPECT_EQ(fakeConnection, record.getVSDKHandle().network);
    EXPECT_EQ("cs1", record.getMardockName());
    EXPECT_EQ("token", record.getGuid());
}

}  // namespace
