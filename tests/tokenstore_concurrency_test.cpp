// Concurrent changes of one token store, from threads and from processes:
// no entry is lost, and a reader never meets a half-written store.
#include "support/TestEnv.h"
#include "support/TokenStoreTestUtil.h"

#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "simserver/LoginService.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <set>
#include <thread>

namespace {

using namespace vsdktest;
using TokenStoreConcurrencyTest = StoreFixture;

constexpr int kPerWriter = 6;

std::string host(int writer, int i) { return "h" + std::to_string(writer) + "-" + std::to_string(i); }

// Appends kPerWriter entries; the number of failed appends.
int appendAll(int writer) {
    int failures = 0;
    for (int i = 0; i < kPerWriter; ++i) failures += setVSDKTokenInfo(makeEntry(host(writer, i), "u", "t"), "") != 0;
    return failures;
}

// Threads and processes append at once, while one thread keeps replacing an
// entry that another must always find.
TEST_F(TokenStoreConcurrencyTest, ThreadsAndProcessesChangingAtOnceLoseNothing) {
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "v0"), ""));
    constexpr int kWriters = 4;  // threads; the two processes are the writers after them
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) ::_exit(appendAll(kWriters + c));  // with this thread's state from the parent's map
    }
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
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(0, failures.load());
    std::multiset<std::string> want{"localhost"}, got;
    for (int w = 0; w < kWriters + 2; ++w)
        for (int i = 0; i < kPerWriter; ++i) want.insert(host(w, i));
    for (const auto& e : storeEntries(storePath())) got.insert(e.mardockName);
    EXPECT_EQ(want, got);  // every writer's entries, once each
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
            failures += env.initThread([](_QInitializeParameters& i) { i.useSessionFile = true; }, true) != 0 ||
                        VSDKLoginApi_NOSTL("alice", "pw", "", "", "", "", 0, 0, false, false, false) != 0;
            VSDKDeInitialize();
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(0, failures.load());
    EXPECT_EQ(1u, storeEntries(env.baseDir() + "/vsessions." + std::to_string(getuid())).size());
}

}  // namespace
