// Concurrent changes of one token store, from threads and from processes:
// no entry is lost, and a reader never meets a half-written store.

#include "support/TokenStoreTestUtil.h"

#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/TokenStore.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using vsdktest::StoreFixture;
using vsdktest::makeEntry;

class TokenStoreConcurrencyTest : public StoreFixture {};

constexpr int kWriters = 4;
constexpr int kPerWriter = 6;

std::string hostOf(int writer, int i) { return "h" + std::to_string(writer) + "-" + std::to_string(i) + ".invalid"; }

// Appends kPerWriter entries; the number of failed appends.
int appendAll(int writer) {
    int failures = 0;
    for (int i = 0; i < kPerWriter; ++i) {
        if (setVSDKTokenInfo(makeEntry(hostOf(writer, i), "u", "t" + std::to_string(writer)), "") != 0) ++failures;
    }
    return failures;
}

std::set<std::string> expectedHosts(int writers) {
    std::set<std::string> hosts;
    for (int w = 0; w < writers; ++w)
        for (int i = 0; i < kPerWriter; ++i) hosts.insert(hostOf(w, i));
    return hosts;
}

std::set<std::string> storedHosts(const std::vector<_VSDKTokenFileContents>& entries) {
    std::set<std::string> hosts;
    for (const auto& e : entries) hosts.insert(e.mardockName);
    return hosts;
}

TEST_F(TokenStoreConcurrencyTest, ThreadsAppendingAtOnceLoseNothing) {
    // An entry that a replacing thread keeps rewriting meanwhile, and that a
    // reading thread must find every time.
    ASSERT_EQ(0u, setVSDKTokenInfo(makeEntry("localhost", "alice", "v0"), ""));
    std::atomic<bool> writersDone{false};
    std::atomic<int> failures{0};
    std::atomic<int> missedReads{0};

    std::vector<std::thread> threads;
    for (int w = 0; w < kWriters; ++w) {
        threads.emplace_back([w, &failures] {
            g_dataMap.insert(VSDKAPIGlobalData());
            failures += appendAll(w);
            g_dataMap.erase();
        });
    }
    std::thread replacer([&] {
        g_dataMap.insert(VSDKAPIGlobalData());
        for (int i = 1; !writersDone.load() || i < 3; ++i) {
            if (updateVSDKTokenInfo(makeEntry("localhost", "alice", "v" + std::to_string(i)), "localhost", "",
                                    false) != 0)
                ++failures;
        }
        g_dataMap.erase();
    });
    std::thread reader([&] {
        g_dataMap.insert(VSDKAPIGlobalData());
        while (!writersDone.load()) {
            _VSDKTokenFileContents e;
            std::string path;
            bool found = false;
            if (getVSDKTokenInfo(e, "localhost", path, "", found, "") != 0 || !found) ++missedReads;
        }
        g_dataMap.erase();
    });
    for (auto& t : threads) t.join();
    writersDone = true;
    replacer.join();
    reader.join();

    EXPECT_EQ(0, failures.load());
    EXPECT_EQ(0, missedReads.load());
    const auto entries = storeEntries();
    std::set<std::string> want = expectedHosts(kWriters);
    want.insert("localhost");
    EXPECT_EQ(want, storedHosts(entries));
    EXPECT_EQ(want.size(), entries.size());
}

TEST_F(TokenStoreConcurrencyTest, ProcessesAppendingAtOnceLoseNothing) {
    constexpr int kChildren = 2;
    std::vector<pid_t> children;
    for (int c = 0; c < kChildren; ++c) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // The child has this thread's state from the parent's map.
            ::_exit(appendAll(c + 1) == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    EXPECT_EQ(0, appendAll(0));
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(0, WEXITSTATUS(status));
    }
    const auto entries = storeEntries();
    EXPECT_EQ(expectedHosts(kChildren + 1), storedHosts(entries));
    EXPECT_EQ(static_cast<std::size_t>((kChildren + 1) * kPerWriter), entries.size());
}

}  // namespace
