// Concurrent changes of one token store, from threads and from processes:
// no entry is lost, and a reader never meets a half-written store.
#include "support/TestEnv.h"
#include "support/TokenStoreTestUtil.h"

#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "platform/RKPlatformInfo.h"
#include "simserver/LoginService.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <thread>

extern char** environ;

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

// ---- first logins of several processes at once, under a umask ---------------

// The processes are this test program started again, kChildVariable set to
// "<umask> <uid> <gid> <folder>". Each takes the umask (and becomes uid when
// that user can work in folder, where the base folder is made), says on
// kReadyFd that it is ready, waits for its standard input to close and then
// logs in kLoginsEach times. Its exit status: how many logins failed.
const char kChildVariable[] = "VSDK_TEST_FIRST_LOGIN_CHILD";
constexpr int kReadyFd = 3, kProcesses = 8, kLoginsEach = 4;

// Becomes uid and gid for good when that user may write into folder and read
// the registry; else stays the superuser.
void becomeUserIfItCanWork(uid_t uid, gid_t gid, const std::string& folder) {
    const std::string registry = std::string(std::getenv("VSDK_REGISTRY_ROOT")) + "/" + TempRegistry::kInstance;
    bool can = false;
    if (::setegid(gid) == 0 && ::seteuid(uid) == 0) {
        can = ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
        for (const char* section : {"Base", "Mardock", "Machine", "Network"})
            can = can && ::faccessat(AT_FDCWD, (registry + "/" + section).c_str(), R_OK, AT_EACCESS) == 0;
    }
    if (::seteuid(0) != 0 || ::setegid(0) != 0) std::_Exit(100);
    if (can && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) std::_Exit(101);
}

class FirstLoginProcess : public ::testing::Environment {
public:
    void SetUp() override {
        const char* setting = std::getenv(kChildVariable);
        if (setting == nullptr) return;  // not one of the processes
        std::istringstream in(setting);
        unsigned mask = 0;
        long uid = -1, gid = -1;
        std::string folder;
        in >> std::oct >> mask >> std::dec >> uid >> gid >> std::ws;
        std::getline(in, folder);
        ::umask(static_cast<mode_t>(mask));
        if (uid >= 0) becomeUserIfItCanWork(static_cast<uid_t>(uid), static_cast<gid_t>(gid), folder);
        RKPI_Focus::setFocus(TempRegistry::kInstance);
        if (::write(kReadyFd, "r", 1) != 1) std::_Exit(102);
        ::close(kReadyFd);
        for (char byte; ::read(0, &byte, 1) > 0;) {
        }
        int failures = 0;
        for (int i = 0; i < kLoginsEach; ++i) {
            _QInitializeParameters init;
            std::strcpy(init.mardockName, "localhost");
            init.useSessionFile = true;
            unsigned long rc = VSDKInitializeWithLoginFlag(&init, true, true, false);
            if (rc == 0) rc = VSDKLoginApi_NOSTL("alice", "pw", "", "", "", "", 0, 0, false, false, false);
            if (rc != 0) {
                ++failures;
                std::fprintf(stderr, "process %d, login %d: 0x%lx\n", static_cast<int>(::getpid()), i, rc);
            }
            VSDKDeInitialize();
        }
        std::_Exit(failures);
    }
};
[[maybe_unused]] ::testing::Environment* const kFirstLoginProcess =
    ::testing::AddGlobalTestEnvironment(new FirstLoginProcess);

// The processes started, released together and waited for: a failed
// assertion still lets them go and waits for them.
struct Processes {
    int go[2] = {-1, -1}, ready[2] = {-1, -1};
    std::vector<pid_t> pids;
    static void closeFd(int& fd) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    ~Processes() {
        for (int* fd : {&go[0], &go[1], &ready[0], &ready[1]}) closeFd(*fd);
        for (pid_t pid : pids) ::waitpid(pid, nullptr, 0);
    }
};

// kProcesses processes log in for the first time at once under mask: every
// login succeeds, the folders made are 0700, the store and its lock file
// 0600, and nothing else is left beside them. Started by the superuser, whom
// modes do not stop, the processes log in as "nobody" when that user can.
void firstLoginsAtOnce(mode_t mask) {
    vsdktest::TestEnv env;
    simserver::LoginService logins(env.server());
    const std::string above = env.root() + "/users", made = above + "/first", base = made + "/home";
    ASSERT_EQ(0, ::mkdir(above.c_str(), 0755));
    env.setValue("Base", "dBASEHOME", base);
    long uid = -1, gid = -1;
    passwd pw{}, *nobody = nullptr;
    std::vector<char> scratch(16384);
    if (::geteuid() == 0 && ::getpwnam_r("nobody", &pw, scratch.data(), scratch.size(), &nobody) == 0 && nobody &&
        ::chown(above.c_str(), nobody->pw_uid, nobody->pw_gid) == 0 && ::chmod(env.root().c_str(), 0711) == 0) {
        uid = nobody->pw_uid;
        gid = nobody->pw_gid;
    }

    char self[PATH_MAX] = {0};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    std::ostringstream setting;
    setting << kChildVariable << "=" << std::oct << mask << std::dec << " " << uid << " " << gid << " " << above;
    std::vector<std::string> texts{setting.str()};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, kChildVariable, sizeof kChildVariable - 1) != 0) texts.push_back(*e);
    std::vector<char*> childEnv;
    for (std::string& t : texts) childEnv.push_back(&t[0]);
    childEnv.push_back(nullptr);
    std::string filter = "--gtest_filter=";
    filter += ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
    filter += ".*";
    char* argv[] = {self, &filter[0], nullptr};

    Processes processes;
    ASSERT_EQ(0, ::pipe2(processes.go, O_CLOEXEC));
    ASSERT_EQ(0, ::pipe2(processes.ready, O_CLOEXEC));
    posix_spawn_file_actions_t actions;
    ASSERT_EQ(0, ::posix_spawn_file_actions_init(&actions));
    ::posix_spawn_file_actions_adddup2(&actions, processes.go[0], 0);
    ::posix_spawn_file_actions_adddup2(&actions, processes.ready[1], kReadyFd);
    ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (int p = 0; p < kProcesses; ++p) {
        pid_t pid = -1;
        const int rc = ::posix_spawn(&pid, self, &actions, nullptr, argv, childEnv.data());
        if (rc == 0) processes.pids.push_back(pid);
        EXPECT_EQ(0, rc) << std::strerror(rc);
    }
    ::posix_spawn_file_actions_destroy(&actions);
    Processes::closeFd(processes.ready[1]);
    int readyCount = 0;  // each closes its end once ready
    for (char byte; ::read(processes.ready[0], &byte, 1) == 1;) ++readyCount;
    EXPECT_EQ(kProcesses, readyCount);
    Processes::closeFd(processes.go[1]);  // all go at once
    while (!processes.pids.empty()) {
        const pid_t pid = processes.pids.back();
        int status = -1;
        const pid_t waited = ::waitpid(pid, &status, 0);
        processes.pids.pop_back();
        EXPECT_EQ(pid, waited);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }

    EXPECT_EQ(std::set<std::string>{"first"}, namesIn(above));
    EXPECT_EQ(std::set<std::string>{"home"}, namesIn(made));
    EXPECT_EQ(0700u, modeBits(made));
    EXPECT_EQ(0700u, modeBits(base));
    struct stat folder {};
    ASSERT_EQ(0, ::lstat(made.c_str(), &folder));  // its owner is the user the processes were
    const std::string store = "vsessions." + std::to_string(folder.st_uid);
    EXPECT_EQ((std::set<std::string>{store, store + ".lock"}), namesIn(base));
    EXPECT_EQ(0600u, modeBits(base + "/" + store));
    EXPECT_EQ(0600u, modeBits(base + "/" + store + ".lock"));
    EXPECT_EQ(1u, storeEntries(base + "/" + store).size());
}

TEST(TokenStoreFirstLoginsTest, ProcessesAtOnceUnderAnyUmaskAllSaveAndLeavePrivateFiles) {
    for (const mode_t mask : {mode_t(0100), mode_t(0277)}) {
        char name[8];
        std::snprintf(name, sizeof name, "%04o", static_cast<unsigned>(mask));
        SCOPED_TRACE(std::string("umask ") + name);
        firstLoginsAtOnce(mask);
    }
}

}  // namespace
