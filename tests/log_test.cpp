// The log object: format rewrite, job id, level filter, own log files, time texts.
#include "support/TempRegistry.h"

#include "VSDK.h"
#include "VSDKAPIGlobalData/QEvDebug.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct LogLine {
    std::string pid, tid, date, time, jobId, function, level, text;
};

// "<pid> <tid> <date> <time> <job id> <function> [<level>] <text>"
LogLine parse(const std::string& line) {
    LogLine l;
    std::istringstream in(line);
    in >> l.pid >> l.tid >> l.date >> l.time >> l.jobId >> l.function >> l.level;
    std::getline(in, l.text);
    if (!l.text.empty() && l.text[0] == ' ') l.text.erase(0, 1);
    return l;
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        if (old) m_old = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_had) {
            setenv(m_name.c_str(), m_old.c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    bool m_had = false;
    std::string m_old;
};

class LogTest : public ::testing::Test {
protected:
    vsdktest::TempRegistry reg{6};
};

TEST_F(LogTest, UpperCaseSIsReadAsNarrowText) {
    QEvDebug log;
    // Held in variables: the compiler would read "%S" as a wide text.
    const char* format = "Parameters of the Backup Operation:%S";
    const char* twice = "%S and %S";
    log.debugLvl("VSDKBackup()", 6, format, "\nClient:[c1]");
    log.debugLvl(6, twice, "first", "second");

    const auto lines = reg.logLines();
    ASSERT_EQ(3u, lines.size());  // the dump holds one line end
    const LogLine first = parse(lines[0]);
    EXPECT_EQ("VSDKBackup()", first.function);
    EXPECT_EQ("[6]", first.level);
    EXPECT_EQ("Parameters of the Backup Operation:", first.text);
    EXPECT_EQ("Client:[c1]", lines[1]);
    const LogLine second = parse(lines[2]);
    EXPECT_EQ("-", second.function);
    EXPECT_EQ("first and second", second.text);
}

TEST_F(LogTest, PlainFormatsAreUntouched) {
    QEvDebug log;
    log.debugLvl("F()", 0, "code [0x%x] text [%s] 100%%", 0x207u, "Invalid");
    const auto lines = reg.logLines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("code [0x207] text [Invalid] 100%", parse(lines[0]).text);
}

TEST_F(LogTest, JobIdComesFromContextJobId) {
    struct Case {
        const char* value;  // null: unset
        const char* expected;
    };
    const Case cases[] = {{"4711", "4711"}, {nullptr, "0"}, {"abc", "0"}, {"12abc", "12"}, {"", "0"},
                          {"-3", "-3"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(unset)");
        std::filesystem::remove(reg.logFile());
        QEvDebug log;
        {
            ScopedEnv env("ContextJobId", c.value);
            QEvDebug fresh;
            log = fresh;
        }
        QEvDebug copy(log);  // copies keep the job id
        copy.debugLvl("F()", 1, "line");
        const auto lines = reg.logLines();
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ(c.expected, parse(lines[0]).jobId);
        EXPECT_EQ(std::atoll(c.expected), copy.getJobId());
    }
}

TEST_F(LogTest, LinesAboveTheLogLevelAreLeftOut) {
    struct Case {
        int level;
        bool written;
    };
    const Case cases[] = {{0, true}, {1, true}, {6, true}, {7, false}, {10, false}, {20, false}};
    QEvDebug log;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        std::filesystem::remove(reg.logFile());
        log.debugLvl("F()", c.level, "level %d", c.level);
        EXPECT_EQ(c.written ? 1u : 0u, reg.logLines().size());
    }
    EXPECT_EQ(6, log.getDebugLevel());
}

TEST_F(LogTest, LevelChangesAfterReload) {
    QEvDebug log;
    log.debugLvl(10, "hidden");
    reg.setDebugLevel(10);  // re-reads the settings
    EXPECT_EQ(10, log.getDebugLevel());
    log.debugLvl(10, "shown");
    const auto lines = reg.logLines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("shown", parse(lines[0]).text);
}

TEST_F(LogTest, InitializeOpensTheNamedLog) {
    const std::string custom = reg.root() + "/custom/run.log";
    struct Case {
        const char* env;  // RK_RKC_LOG_FILE, null: unset
        std::string file;
    };
    const Case cases[] = {
        {nullptr, reg.logDir() + "/vcommand.log"},
        {"", reg.logDir() + "/vcommand.log"},
        {"nofolder.log", reg.logDir() + "/vcommand.log"},  // not splittable
        {custom.c_str(), custom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.env ? c.env : "(unset)");
        std::filesystem::remove(c.file);
        ScopedEnv env("RK_RKC_LOG_FILE", c.env);
        QEvDebug log;
        EXPECT_EQ(0, log.initialize("vcommand", 0));
        EXPECT_EQ(c.file, log.logFilePath());
        log.debugLvl("VSDAKBackupEx()", 1, "own log");
        const auto lines = vsdktest::readLines(c.file);
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ("own log", parse(lines[0]).text);
        EXPECT_TRUE(reg.logLines().empty());  // nothing in the default log
    }
}

TEST_F(LogTest, InitializeRefusesAnUnwritableFolder) {
    const std::string file = reg.root() + "/blocker";
    { std::ofstream(file) << "x"; }  // a file where a folder would have to be
    const std::string named = file + "/sub/run.log";
    ScopedEnv env("RK_RKC_LOG_FILE", named.c_str());
    QEvDebug log;
    EXPECT_NE(0, log.initialize("vcommand", 0));
    log.debugLvl(0, "goes nowhere");  // must not fail
}

TEST(TimeTextTest, ZeroIsNow) { EXPECT_EQ("now", UnixTimeToLocTimeString(0)); }

TEST(TimeTextTest, SecondsGiveTheLocalTimeText) {
    for (unsigned long seconds : {1UL, 86400UL * 365, 1700000000UL, 4102444800UL}) {
        SCOPED_TRACE(seconds);
        const time_t t = static_cast<time_t>(seconds);
        char expected[64] = {0};
        ASSERT_NE(nullptr, ctime_r(&t, expected));
        const std::string text = UnixTimeToLocTimeString(seconds);
        EXPECT_EQ(24u, text.size());
        EXPECT_EQ(std::string(expected, 24), text);
        EXPECT_EQ(text, UnixTimeToLocTimeStringImpl(seconds));
    }
}

TEST(TimeTextTest, UnconvertibleSecondsGiveError) {
    EXPECT_EQ("error", UnixTimeToLocTimeString(ULONG_MAX));
    EXPECT_EQ("error", UnixTimeToLocTimeString(static_cast<unsigned long>(LLONG_MAX)));
}

}  // namespace
