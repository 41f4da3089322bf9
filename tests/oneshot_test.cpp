// VSDAKBackupEx, the one-shot backup, against the simulated server: the whole
// road on the wire, the clean-up after each failure, a thread that is started
// already, and where its log goes.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "simserver/LoginService.h"
#include "support/TestEnv.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using OrvaneOperations::QBackupInfoMsg;
using OrvaneOperations::QBackupRespMsg;
using VSDKLogin::QLoginInfoMsg;
using VSDKLogin::QLogoutInfoMsg;

constexpr std::chrono::milliseconds kWait{5000};
constexpr long long kJobId = 0x1234567ALL;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_had = true;
            m_old = old;
        }
        setenv(name, value.c_str(), 1);
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

class OneShotTest : public ::testing::Test {
protected:
    void TearDown() override {
        // A test that left the thread started must not hide it from the next.
        if (threadState()) VSDKDeInitialize();
    }

    simserver::SimServer& server() { return env.server(); }

    static _QBackupParameters record() {
        _QBackupParameters p;
        vsdktest::setText(p.clientName, "client-a");
        vsdktest::setText(p.subclientName, "sub-1");
        p.subclientId = 5;
        return p;
    }

    // The job id the server hands out for the following backups.
    void answerBackups(long long jobId) {
        server().replyWith(QBackupInfoMsg::kTag, QBackupRespMsg::kTag,
                           [jobId](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putInt(reply, OrvaneOperations::kReplyJobId, jobId);
                           });
    }

    std::vector<unsigned long> wireTags() {
        std::vector<unsigned long> tags;
        for (const simserver::Request& r : server().journal()) tags.push_back(r.tag);
        return tags;
    }

    std::string vcommandLog() const { return readFile(env.logDir() + "/vcommand.log"); }

    vsdktest::TestEnv env;
    simserver::LoginService logins{env.server()};
};

TEST_F(OneShotTest, LogsInBacksUpLogsOutAndLeavesNoThreadState) {
    answerBackups(kJobId);
    const _QBackupParameters params = record();
    _QJobStartInfo info;

    ASSERT_EQ(0u, VSDAKBackupEx(&params, &info, env.mardockName()));

    EXPECT_EQ(kJobId, info.jobId);
    EXPECT_EQ((std::vector<unsigned long>{QLoginInfoMsg::kTag, QBackupInfoMsg::kTag,
                                          QLogoutInfoMsg::kTag}),
              wireTags());
    EXPECT_EQ(nullptr, threadState());
    EXPECT_EQ(0, logins.activeLogins());
    EXPECT_TRUE(server().waitForOpenConnections(0, kWait));

    // The login carries flag 8 and no user; the backup the caller's record.
    auto login = vsdktest::onlyRequest(server(), QLoginInfoMsg::kTag);
    ASSERT_TRUE(login);
    EXPECT_EQ(8, msgf::getInt(*login, VSDKLogin::kLoginFlags));
    EXPECT_EQ("", msgf::getText(*login, VSDKLogin::kLoginUser));
    EXPECT_EQ(env.mardockName(), msgf::getText(*login, VSDKLogin::kLoginMardock));
    auto backup = vsdktest::onlyRequest(server(), QBackupInfoMsg::kTag);
    ASSERT_TRUE(backup);
    EXPECT_EQ("client-a", msgf::getText(*backup, OrvaneOperations::kBackupClientName));
    EXPECT_EQ("sub-1", msgf::getText(*backup, OrvaneOperations::kBackupSubclientName));
    // The backup goes out with the session of the login made for it.
    EXPECT_EQ(logins.lastToken(),
              msgf::getText(*msgf::findChild(*backup, msgf::kRequestSession,
                                             OrvaneOperations::QSessionInfoMsg::kTag),
                            msgf::kSessionGuid));

    const std::string log = vcommandLog();
    EXPECT_NE(std::string::npos, log.find("csname = <" + env.mardockName() + ">"));
    EXPECT_NE(std::string::npos, log.find("completed. apiError=[0], errorString=<"));
    EXPECT_EQ(std::string::npos, log.find(" failed\n"));
}

TEST_F(OneShotTest, EmptyMardockNameTakesTheRegistrysMardock) {
    answerBackups(kJobId);
    const _QBackupParameters params = record();
    _QJobStartInfo info;

    ASSERT_EQ(0u, VSDAKBackupEx(&params, &info, std::string()));

    EXPECT_EQ(kJobId, info.jobId);
    auto login = vsdktest::onlyRequest(server(), QLoginInfoMsg::kTag);
    ASSERT_TRUE(login);
    EXPECT_EQ(env.mardockName(), msgf::getText(*login, VSDKLogin::kLoginMardock));
    EXPECT_NE(std::string::npos, vcommandLog().find("csname = <>"));
}

// Each failing step: what the call returns, what crossed the wire, and that
// whatever was started has been ended.
struct FailureCase {
    const char* name;
    enum class Step { Login, Backup, Logout } step;
    unsigned long code;
    const char* text;
    std::vector<unsigned long> wire;
    const char* failureLine;
    long long jobId;  // in the caller's result afterwards
    int loginsLeft;   // logins the server still counts (a refused logout ends none)
};

class OneShotFailureTest : public OneShotTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OneShotFailureTest, CleansUpReturnsTheFirstFailureAndTheThreadWorksAgain) {
    const FailureCase& c = GetParam();
    switch (c.step) {
        case FailureCase::Step::Login:
            logins.failLogins(static_cast<long long>(c.code), c.text);
            break;
        case FailureCase::Step::Backup:
            server().script(QBackupInfoMsg::kTag,
                            simserver::Action::serverError(static_cast<long long>(c.code), c.text),
                            1);
            break;
        case FailureCase::Step::Logout:
            logins.failLogouts(static_cast<long long>(c.code), c.text);
            break;
    }
    answerBackups(kJobId);  // after the failure rule, which comes first
    const _QBackupParameters params = record();
    _QJobStartInfo info;
    info.jobId = 77;

    EXPECT_EQ(c.code, VSDAKBackupEx(&params, &info, env.mardockName()));

    EXPECT_EQ(c.wire, wireTags());
    EXPECT_EQ(c.jobId, info.jobId);
    EXPECT_EQ(nullptr, threadState());
    EXPECT_TRUE(server().waitForOpenConnections(0, kWait));
    EXPECT_EQ(c.loginsLeft, logins.activeLogins());
    const std::string log = vcommandLog();
    EXPECT_NE(std::string::npos, log.find(c.failureLine));
    // The completed line names the first failure with the server's own text,
    // though the tear-down has taken the thread's record with it since.
    EXPECT_NE(std::string::npos,
              log.find("completed. apiError=[" + std::to_string(c.code) + "], errorString=<" +
                       c.text + ">"));

    // Nothing of the failed call stands in the way of the next one.
    server().clearJournal();
    _QJobStartInfo again;
    ASSERT_EQ(0u, VSDAKBackupEx(&params, &again, env.mardockName()));
    EXPECT_EQ(kJobId, again.jobId);
    EXPECT_EQ((std::vector<unsigned long>{QLoginInfoMsg::kTag, QBackupInfoMsg::kTag,
                                          QLogoutInfoMsg::kTag}),
              wireTags());
    EXPECT_EQ(nullptr, threadState());
    EXPECT_EQ(c.loginsLeft, logins.activeLogins());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, OneShotFailureTest,
    ::testing::Values(
        // No login: nothing to log out of, only the tear-down.
        FailureCase{"Login", FailureCase::Step::Login, 0x103, "Invalid Login/Password",
                    {QLoginInfoMsg::kTag}, "VSDKLogin failed", 77, 0},
        // Logged in: the logout still runs, then the tear-down.
        FailureCase{"Backup", FailureCase::Step::Backup, 0x50d, "subclient is busy",
                    {QLoginInfoMsg::kTag, QBackupInfoMsg::kTag, QLogoutInfoMsg::kTag},
                    "VSDKBackup failed", -1, 0},
        FailureCase{"Logout", FailureCase::Step::Logout, 0x1f4, "logout refused",
                    {QLoginInfoMsg::kTag, QBackupInfoMsg::kTag, QLogoutInfoMsg::kTag},
                    "VSDKLogout failed", kJobId, 1}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(OneShotTest, BackupFailureStillLogsOutTheLoginItMade) {
    server().serverError(QBackupInfoMsg::kTag, 0x50d, "subclient is busy");
    const _QBackupParameters params = record();
    _QJobStartInfo info;

    EXPECT_EQ(0x50du, VSDAKBackupEx(&params, &info, env.mardockName()));

    EXPECT_EQ(1, logins.loginCount());
    EXPECT_EQ(1, logins.logoutCount());
    EXPECT_EQ(0, logins.activeLogins());
}

TEST_F(OneShotTest, ThreadThatIsStartedAlreadyGets0x280AndKeepsItsRecord) {
    ASSERT_EQ(0u, env.initThread());
    VSDKAPIGlobalData* before = threadState();
    ASSERT_NE(nullptr, before);
    before->setGuid("caller-guid");
    before->getSessionID() = "caller-session";
    const std::size_t connections = server().connections().size();
    const _QBackupParameters params = record();
    _QJobStartInfo info;
    info.jobId = 77;

    EXPECT_EQ(0x280u, VSDAKBackupEx(&params, &info, env.mardockName()));

    EXPECT_EQ(before, threadState());
    EXPECT_EQ("caller-guid", threadState()->getGuid());
    EXPECT_EQ("caller-session", threadState()->getSessionID());
    EXPECT_EQ(77, info.jobId);
    EXPECT_EQ(0u, server().requestCount());
    EXPECT_EQ(connections, server().connections().size());
    EXPECT_EQ(1, server().openConnections());
    const std::string log = vcommandLog();
    EXPECT_NE(std::string::npos, log.find("VSDKInitialize failed"));
    EXPECT_NE(std::string::npos, log.find("completed. apiError=[640]"));

    // The caller's record still works for the caller's own requests.
    _QJobStartInfo own;
    answerBackups(kJobId);
    EXPECT_EQ(0u, VSDKBackup(&params, &own));
    EXPECT_EQ(kJobId, own.jobId);
    EXPECT_EQ(0u, VSDKDeInitialize());
}

TEST_F(OneShotTest, NullPointersGive0x303AndStartNothing) {
    const _QBackupParameters params = record();
    _QJobStartInfo info;
    EXPECT_EQ(0x303u, VSDAKBackupEx(nullptr, &info, env.mardockName()));
    EXPECT_EQ(0x303u, VSDAKBackupEx(&params, nullptr, env.mardockName()));
    EXPECT_EQ(nullptr, threadState());
    EXPECT_EQ(0u, server().requestCount());
    EXPECT_TRUE(server().connections().empty());
}

// Where the one-shot's log goes: the file RK_RKC_LOG_FILE names, else
// "vcommand.log" in the log folder. The lines of the steps it runs land
// there as well, the start-up's own ones excepted.
TEST_F(OneShotTest, LogGoesToTheFileThatRkRkcLogFileNames) {
    const std::string named = env.root() + "/oneshot-run.log";
    answerBackups(kJobId);
    const _QBackupParameters params = record();
    _QJobStartInfo info;
    {
        ScopedEnv variable("RK_RKC_LOG_FILE", named);
        ASSERT_EQ(0u, VSDAKBackupEx(&params, &info, env.mardockName()));
    }

    const std::string log = readFile(named);
    EXPECT_NE(std::string::npos, log.find("csname = <" + env.mardockName() + ">"));
    EXPECT_NE(std::string::npos, log.find("VSDAKBackupEx()"));
    EXPECT_NE(std::string::npos, log.find("Parameters of the Backup Operation:"));
    EXPECT_NE(std::string::npos, log.find("completed. apiError=[0]"));
    EXPECT_EQ("", vcommandLog());
    EXPECT_FALSE(env.logContains("csname = <"));
    EXPECT_FALSE(env.logContains("completed. apiError="));
}

TEST_F(OneShotTest, LogGoesToVcommandLogWithoutTheVariable) {
    answerBackups(kJobId);
    const _QBackupParameters params = record();
    _QJobStartInfo info;
    ScopedEnv variable("RK_RKC_LOG_FILE", "");

    ASSERT_EQ(0u, VSDAKBackupEx(&params, &info, env.mardockName()));

    const std::string log = vcommandLog();
    EXPECT_NE(std::string::npos, log.find("csname = <" + env.mardockName() + ">"));
    EXPECT_NE(std::string::npos, log.find("Parameters of the Backup Operation:"));
    EXPECT_NE(std::string::npos, log.find("completed. apiError=[0]"));
    EXPECT_FALSE(env.logContains("completed. apiError="));
}

}  // namespace
