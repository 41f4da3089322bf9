// Concurrent changes of one token store, from threads and from processes:
// no entry is lost, and a reader never meets a half-written store.
#include "support/TestEnv.h"
#include "support/TokenStoreTestUtil.h"
#include "support/WireChecks.h"

#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/TokenStore.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <set>
#include <thread>

#include "simserver/LoginService.h"

namespace {

using namespace vsdktest;

constexpr int kPerWriter = 6;

std::string host(int writer, int i) { return "h" + std::to_string(writer) + "-" + std::to_string(i); }

// Appends kPerWriter entries; the number of failed appends.
int appendAll(int writer) {
    int failures = 0;
    for (int i = 0; i < kPerWriter; ++i) failures += setVSDKTokenInfo(makeEntry(host(writer, i), "u", "t"), "") != 0;
    return failures;
}

class TokenStoreConcurrencyTest : public StoreFixture {
protected:
    // Every writer's entries (and the extra ones) are in the store, once each.
    void expectAllStored(int writers, std::multiset<std::string> want = {}) {
        for (int w = 0; w < writers; ++w)
            for (int i = 0; i < kPerWriter; ++i) want.insert(host(w, i));
        std::multiset<std::string> got;
        for (const auto& e : storeEntries(storePath())) got.insert(e.mardockName);
        EXPECT_EQ(want, got);
    }
};

TEST_F(TokenStoreConcurrencyTest, ThreadsChangingAtOnceLoseNothing) {
    // An entry that one thread keeps replacing and another must always find.
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "v0"), ""));
    constexpr int kWriters = 4;
    std::atomic<int> writersLeft{kWriters}, failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kWriters + 2; ++t) {
        threads.emplace_back([&, t] {
            g_dataMap.insert(VSDKAPIGlobalData());
            if (t < kWriters) {
                failures += appendAll(t);
                --writersLeft;
            }
            for (int i = 1; t == kWriters && (writersLeft > 0 || i < 3); ++i)
                failures += updateVSDKTokenInfo(makeEntry("localhost", "a", "v" + std::to_string(i)), "localhost", "",
                                                false) != 0;
            while (t == kWriters + 1 && writersLeft > 0) failures += lookup("localhost").token[0] != 'v';
            g_dataMap.erase();
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(0, failures.load());
    expectAllStored(kWriters, {"localhost"});
}

TEST_F(TokenStoreConcurrencyTest, ProcessesAppendingAtOnceLoseNothing) {
    constexpr int kChildren = 2;
    std::vector<pid_t> children;
    for (int c = 1; c <= kChildren; ++c) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) ::_exit(appendAll(c));  // the child has this thread's state from the parent's map
        children.push_back(pid);
    }
    EXPECT_EQ(0, appendAll(0));
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    expectAllStored(kChildren + 1);
}

TEST(TokenStoreLoginConcurrencyTest, LoginsOfOneUserAtOnceLeaveOneEntry) {
    vsdktest::TestEnv env;
    simserver::LoginService logins(env.server());
    constexpr int kThreads = 8;
    std::atomic<int> waiting{kThreads}, failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (--waiting; waiting > 0;) std::this_thread::yield();
            _QLoginParameters p;
            vsdktest::setText(p.user, "alice");
            vsdktest::setText(p.password, "pw");
            _QLoginResp r;
            failures += env.initThread([](_QInitializeParameters& i) { i.useSessionFile = true; }, true) != 0 ||
                        VSDKLoginApi(&p, &r) != 0;
            VSDKDeInitialize();
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(0, failures.load());
    EXPECT_EQ(1u, storeEntries(env.baseDir() + "/vsessions." + std::to_string(getuid())).size());
}

}  // namespace
