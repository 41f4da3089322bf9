// The log object: format rewrite, job id, level filter, time texts.
#include "support/TempRegistry.h"

#include "VSDK.h"
#include "VSDKAPIGlobalData/QEvDebug.h"
#include "platform/RKPlatformInfo.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using vsdktest::ScopedEnv;

// %S reads a narrow text; lines above the log level (6) are left out.
TEST(LogTest, UpperCaseSIsNarrowTextAndTheLevelFilters) {
    vsdktest::TempRegistry reg{6};
    const char* format = "Parameters of the Backup Operation:%S and %S";  // a variable: no wide-text check
    QEvDebug log;
    log.debugLvl("VSDKBackup()", 6, format, "c1", "c2");
    for (int level : {7, 10, 0}) log.debugLvl("F()", level, "level %d", level);
    const auto lines = reg.logLines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find(" VSDKBackup() [6] Parameters of the Backup Operation:c1 and c2"));
    EXPECT_NE(std::string::npos, lines[1].find(" F() [0] level 0"));
}

// One call writes one line, whatever its text holds: a line end at the very
// end is left out, other control bytes but the tab are escaped.
TEST(LogTest, ACallWritesOneLine) {
    vsdktest::TempRegistry reg{6};
    QEvDebug().debugLvl("F()", 0, "%s", "a\tb\r\nc\x1b\x7f\n\n");
    const auto lines = reg.logLines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(" F() [0] a\tb\\r\\nc\\x1B\\x7F", lines[0].substr(lines[0].find(" F() [0]")));
}

// A level changed in the registry takes effect in a running process within a
// second, without a reload.
TEST(LogTest, ALevelChangedInTheRegistryTakesEffectWithinASecond) {
    vsdktest::TempRegistry reg{6};
    QEvDebug log;
    log.debugLvl(0, "read");
    // Written as an administrator would, without the test registry's reload.
    std::ofstream(reg.root() + "/" + vsdktest::TempRegistry::kInstance + "/EventManager", std::ios::trunc)
        << "dEVLOGDIR " << reg.logDir() << "\nnDebugLevel 10\n";
    for (const time_t start = std::time(nullptr); std::time(nullptr) == start;) ::usleep(10000);
    log.debugLvl(10, "detail");
    EXPECT_TRUE(reg.logContains("[10] detail"));
}

TEST(LogTest, JobIdComesFromContextJobId) {
    vsdktest::TempRegistry reg{6};
    const std::pair<const char*, long long> cases[] = {{"4711", 4711}, {nullptr, 0}, {"abc", 0}, {"12abc", 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first ? c.first : "(unset)");
        std::ofstream(reg.logFile(), std::ios::trunc);  // emptied in place
        QEvDebug log;
        {
            ScopedEnv env("ContextJobId", c.first);
            log = QEvDebug();
        }
        QEvDebug(log).debugLvl(1, "line");  // copies keep the job id
        const auto lines = reg.logLines();
        ASSERT_EQ(1u, lines.size());
        long long jobId = -1;  // a line is "<pid> <tid> <date> <time> <job id> <function> [<level>] <text>"
        std::sscanf(lines[0].c_str(), "%*s %*s %*s %*s %lld", &jobId);
        EXPECT_EQ(c.second, jobId);
    }
}

// A child made by fork() writes its own process and thread ids.
TEST(LogTest, ForkedChildWritesItsOwnIds) {
    vsdktest::TempRegistry reg{6};
    QEvDebug().debugLvl(1, "parent");
    const pid_t child = ::fork();
    if (child == 0) {
        QEvDebug().debugLvl(1, "child");
        std::_Exit(0);
    }
    ASSERT_EQ(child, ::waitpid(child, nullptr, 0));
    const auto lines = reg.logLines();
    long pid = 0, tid = 0;
    ASSERT_EQ(2u, lines.size());
    ASSERT_EQ(2, std::sscanf(lines[1].c_str(), "%ld %ld", &pid, &tid));
    EXPECT_TRUE(pid == child && tid == child) << lines[1];
}

TEST(LogTest, FolderAndLevelFollowTheChosenInstance) {
    vsdktest::TempRegistry reg{6};
    const std::string chosenLog = reg.root() + "/chosen-log";
    vsdktest::writeRegistryValue(reg.root(), "Chosen", "EventManager", "dEVLOGDIR", chosenLog);
    vsdktest::writeRegistryValue(reg.root(), "Chosen", "EventManager", "nDebugLevel", "10");
    QEvDebug().debugLvl(0, "before the instance is chosen");
    ScopedEnv vm("ORVANE_VM", "Chosen");
    ASSERT_EQ(0u, VSDKAPISetFocus());
    QEvDebug().debugLvl(10, "after");
    RKPI_Focus::setFocus(nullptr);
    EXPECT_TRUE(reg.logContains("before the instance is chosen"));
    const auto lines = vsdktest::readLines(chosenLog + "/vsdk.log");
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("[10] after"));
}

// The log folder, its parents and the log file are made with the owner's
// bits whatever the umask, which takes the group's and others' only.
TEST(LogTest, TheOwnerKeepsItsBitsWhateverTheUmask) {
    vsdktest::TempRegistry reg{6};
    const struct {
        mode_t mask;
        unsigned folder, file;
    } cases[] = {{0100, 0750, 0640}, {0277, 0700, 0600}, {0022, 0750, 0640}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        const std::string above = reg.root() + "/log" + std::to_string(c.mask), folder = above + "/made";
        reg.setValue(vsdktest::TempRegistry::kInstance, "EventManager", "dEVLOGDIR", folder);
        const mode_t before = ::umask(c.mask);
        QEvDebug().debugLvl(0, "written");
        ::umask(before);
        for (const std::string& path : {above, folder}) {
            struct stat st {};
            ASSERT_EQ(0, ::stat(path.c_str(), &st)) << path;
            EXPECT_EQ(c.folder, st.st_mode & 07777) << path;
        }
        struct stat st {};
        ASSERT_EQ(0, ::stat((folder + "/vsdk.log").c_str(), &st));
        EXPECT_EQ(c.file, st.st_mode & 07777);
        EXPECT_EQ(1u, vsdktest::readLines(folder + "/vsdk.log").size());
    }
}

TEST(TimeTextTest, LocalTimeTexts) {
    EXPECT_EQ("now", UnixTimeToLocTimeString(0));
    for (unsigned long seconds : {1UL, 1700000000UL, 4102444800UL}) {
        const time_t t = static_cast<time_t>(seconds);
        char expected[64] = {0};
        ASSERT_NE(nullptr, ctime_r(&t, expected));
        EXPECT_EQ(std::string(expected, 24), UnixTimeToLocTimeString(seconds));
    }
    EXPECT_EQ("error", UnixTimeToLocTimeString(ULONG_MAX));
}

}  // namespace
