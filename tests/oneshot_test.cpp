// VSDAKBackupEx, the one-shot backup, against the simulated server: the whole
// road on the wire, the clean-up after each failure, a thread that is started
// already, and where its log goes.
#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "simserver/LoginService.h"
#include "support/TokenStoreTestUtil.h"
#include "support/WireChecks.h"

#include <chrono>

namespace {

using OrvaneOperations::QBackupInfoMsg;
using VSDKLogin::QLoginInfoMsg;
using VSDKLogin::QLogoutInfoMsg;

constexpr long long kJobId = 0x1234567ALL;
const std::vector<unsigned long> kWholeRoad{QLoginInfoMsg::kTag, QBackupInfoMsg::kTag, QLogoutInfoMsg::kTag};

class OneShotTest : public ::testing::Test {
protected:
    void SetUp() override { vsdktest::setText(params.clientName, "client-a"); }
    // Backups get kJobId from here on (rules added before take precedence).
    void answerBackups() {
        vsdktest::replyJobId(server(), QBackupInfoMsg::kTag, OrvaneOperations::QBackupRespMsg::kTag, kJobId);
    }
    void TearDown() override {
        if (threadState()) VSDKDeInitialize();  // never hide a started thread from the next test
    }
    simserver::SimServer& server() { return env.server(); }
    std::vector<unsigned long> wireTags() {
        std::vector<unsigned long> tags;
        for (const simserver::Request& r : server().journal()) tags.push_back(r.tag);
        return tags;
    }
    std::string vcommandLog() const { return vsdktest::fileBytes(env.logDir() + "/vcommand.log"); }

    vsdktest::TestEnv env;
    simserver::LoginService logins{env.server()};
    _QBackupParameters params;
    _QJobStartInfo info;
};

TEST_F(OneShotTest, LogsInBacksUpLogsOutAndLeavesNoThreadState) {
    answerBackups();
    ASSERT_EQ(0u, VSDAKBackupEx(&params, &info, env.mardockName()));

    EXPECT_EQ(kJobId, info.jobId);
    EXPECT_EQ(kWholeRoad, wireTags());
    EXPECT_EQ(nullptr, threadState());
    EXPECT_EQ(0, logins.activeLogins());
    EXPECT_TRUE(server().waitForOpenConnections(0, std::chrono::seconds(5)));
    // The login carries flag 8 and no user; the backup the caller's record,
    // with the session of the login made for it.
    vsdktest::expectSent(server(), QLoginInfoMsg::kTag,
                         {{VSDKLogin::kLoginFlags, 8}, {VSDKLogin::kLoginUser, ""},
                          {VSDKLogin::kLoginMardock, env.mardockName()}});
    auto backup =
        vsdktest::expectSent(server(), QBackupInfoMsg::kTag, {{OrvaneOperations::kBackupClientName, "client-a"}});
    vsdktest::expectSession(*backup, {env.mardockName(), logins.lastToken(), false, ""});
}

// Each failing step: what the call returns, what crossed the wire, and that
// whatever was started has been ended.
struct FailureCase {
    const char* name;
    enum Step { Login, Backup, Logout } step;
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
    if (c.step == FailureCase::Login) logins.failLogins(c.code, c.text);
    if (c.step == FailureCase::Backup) server().serverError(QBackupInfoMsg::kTag, c.code, c.text, 1);
    if (c.step == FailureCase::Logout) logins.failLogouts(c.code, c.text);
    answerBackups();
    info.jobId = 77;

    EXPECT_EQ(c.code, VSDAKBackupEx(&params, &info, env.mardockName()));

    EXPECT_EQ(c.wire, wireTags());
    EXPECT_EQ(c.jobId, info.jobId);
    EXPECT_EQ(nullptr, threadState());
    EXPECT_TRUE(server().waitForOpenConnections(0, std::chrono::seconds(5)));
    EXPECT_EQ(c.loginsLeft, logins.activeLogins());
    // The completed line names the first failure with the server's own text,
    // though the tear-down has taken the thread's record with it since.
    const std::string log = vcommandLog();
    EXPECT_NE(std::string::npos, log.find(c.failureLine));
    EXPECT_NE(std::string::npos,
              log.find("completed. apiError=[" + std::to_string(c.code) + "], errorString=<" + c.text + ">"));

    // Nothing of the failed call stands in the way of the next one.
    server().clearJournal();
    ASSERT_EQ(0u, VSDAKBackupEx(&params, &info, env.mardockName()));
    EXPECT_EQ(kWholeRoad, wireTags());
    EXPECT_EQ(nullptr, threadState());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, OneShotFailureTest,
    ::testing::Values(
        // No login: nothing to log out of, only the tear-down.
        FailureCase{"Login", FailureCase::Login, 0x103, "Invalid Login/Password", {QLoginInfoMsg::kTag},
                    "VSDKLogin failed", 77, 0},
        // Logged in: the logout still runs, then the tear-down.
        FailureCase{"Backup", FailureCase::Backup, 0x50d, "subclient is busy", kWholeRoad, "VSDKBackup failed", -1, 0},
        FailureCase{"Logout", FailureCase::Logout, 0x1f4, "logout refused", kWholeRoad, "VSDKLogout failed", kJobId, 1}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// A started thread gets 0x280 and keeps its record; null pointers give 0x303
// and start nothing.
TEST_F(OneShotTest, ThreadThatIsStartedAlreadyGets0x280AndKeepsItsRecord) {
    EXPECT_EQ(0x303u, VSDAKBackupEx(&params, nullptr, env.mardockName()));
    EXPECT_EQ(nullptr, threadState());
    EXPECT_TRUE(server().connections().empty());

    answerBackups();
    ASSERT_EQ(0u, env.initThread());
    VSDKAPIGlobalData* before = threadState();
    before->setGuid("caller-guid");
    info.jobId = 77;
    EXPECT_EQ(0x280u, VSDAKBackupEx(&params, &info, env.mardockName()));
    EXPECT_EQ(before, threadState());
    EXPECT_EQ("caller-guid", threadState()->getGuid());
    EXPECT_EQ(77, info.jobId);
    EXPECT_EQ(0u, server().requestCount());
    EXPECT_EQ(1, server().openConnections());
    EXPECT_NE(std::string::npos, vcommandLog().find("VSDKInitialize failed"));
    // The caller's record still serves the caller's own requests.
    EXPECT_EQ(0u, VSDKBackup(&params, &info));
    EXPECT_EQ(kJobId, info.jobId);
}

// The one-shot's log goes to the file RK_RKC_LOG_FILE names, the lines of the
// steps it runs as well (the start-up's own ones excepted). An empty Mardock
// name leaves the start-up to take the registry's.
TEST_F(OneShotTest, LogGoesToTheFileThatRkRkcLogFileNames) {
    answerBackups();
    const std::string named = env.root() + "/oneshot-run.log";
    {
        const vsdktest::ScopedEnv logFile("RK_RKC_LOG_FILE", named.c_str());
        ASSERT_EQ(0u, VSDAKBackupEx(&params, &info, std::string()));
    }

    const std::string log = vsdktest::fileBytes(named);
    EXPECT_NE(std::string::npos, log.find("VSDAKBackupEx() [6] csname = <>"));
    EXPECT_NE(std::string::npos, log.find("Parameters of the Backup Operation:"));
    EXPECT_NE(std::string::npos, log.find("completed. apiError=[0]"));
    EXPECT_EQ("", vcommandLog());
    EXPECT_FALSE(env.logContains("completed. apiError="));
    vsdktest::expectSent(server(), QLoginInfoMsg::kTag, {{VSDKLogin::kLoginMardock, env.mardockName()}});
}

}  // namespace
