// The forced re-login: the server answers code 9, the library logs in again as
// the thread's user and resends the request with the new login.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "platform/RkNetworkPool.h"
#include "simserver/LoginService.h"
#include "support/TestEnv.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using VSDKLogin::QLoginInfoMsg;
using OrvaneOperations::QBackupInfoMsg;
using OrvaneOperations::QBackupRespMsg;
using OrvaneOperations::QValidateBackupInfoMsg;

const char* const kReloginLine =
    "Response from VSDK Server failed with Error code [0x9] Error string [VSDK Server failed to "
    "find a connection to the Mardock, Relogin required]";

// The GUID of the session object of a validation request (inside the backup
// request it carries) or of a backup request.
std::string guidOf(const CNMessageBase& request) {
    const CNMessageBase* carrier = &request;
    if (request.getTagID() == QValidateBackupInfoMsg::kTag) {
        carrier = msgf::findChild(request, OrvaneOperations::kValidateBackupRequest,
                                  QBackupInfoMsg::kTag);
        if (!carrier) return "<no inner request>";
    }
    const CNMessageBase* session = msgf::findChild(*carrier, msgf::kRequestSession,
                                                   OrvaneOperations::QSessionInfoMsg::kTag);
    return session ? msgf::getText(*session, msgf::kSessionGuid) : "<no session>";
}

class ReloginTest : public ::testing::Test {
protected:
    explicit ReloginTest(const vsdktest::EnvOptions& options = vsdktest::EnvOptions())
        : env(options), logins(env.server()) {}
    void TearDown() override { VSDKDeInitialize(); }

    simserver::SimServer& server() { return env.server(); }
    VSDKAPIGlobalData& state() { return *threadState(); }

    // Starts up (session files off) and logs user in.
    void loggedIn(const std::string& user = "alice") {
        ASSERT_EQ(0u, env.initThread());
        _QLoginParameters p;
        vsdktest::setText(p.user, user);
        vsdktest::setText(p.password, "pw");
        _QLoginResp result;
        ASSERT_EQ(0u, VSDKLoginApi(&p, &result));
    }

    unsigned long validate() {
        _QBackupParameters p;
        vsdktest::setText(p.clientName, "client1");
        return VSDKValidateBackup(&p);
    }

    std::vector<simserver::Request> loginsSent() { return server().requestsOfType(QLoginInfoMsg::kTag); }

    vsdktest::TestEnv env;
    simserver::LoginService logins;
};

TEST_F(ReloginTest, ThreeCode9RepliesGiveThreeLoginsAndFourSends) {
    loggedIn();
    server().clearJournal();
    const std::size_t mark = env.logMark();
    server().relogin(QValidateBackupInfoMsg::kTag, 3);

    ASSERT_EQ(0u, validate());

    // Journal: validate, login, validate, login, validate, login, validate.
    const std::vector<simserver::Request> sent = server().journal();
    ASSERT_EQ(7u, sent.size());
    const std::vector<std::string> tokens = logins.issuedTokens();
    ASSERT_EQ(4u, tokens.size());  // the first login's and three forced ones
    for (std::size_t i = 0; i < sent.size(); ++i) {
        ASSERT_NE(nullptr, sent[i].message);
        if (i % 2 == 1) {
            ASSERT_EQ(QLoginInfoMsg::kTag, sent[i].tag) << i;
            EXPECT_EQ(1, msgf::getInt(*sent[i].message, VSDKLogin::kLoginForce));
            EXPECT_EQ("alice", msgf::getText(*sent[i].message, VSDKLogin::kLoginUser));
            EXPECT_EQ("", msgf::getText(*sent[i].message, VSDKLogin::kLoginPassword));
        } else {
            ASSERT_EQ(QValidateBackupInfoMsg::kTag, sent[i].tag) << i;
            // Each send carries the login made just before it.
            EXPECT_EQ(tokens[i / 2], guidOf(*sent[i].message)) << i;
            vsdktest::expectHeader(*sent[i].message);
        }
    }
    EXPECT_EQ(tokens.back(), state().getGuid());
    EXPECT_EQ(3, state().getLoginRetryCount());
    EXPECT_EQ(3u, env.logCount(kReloginLine, mark));
    EXPECT_EQ(3u, env.logCount("Retrying Connection to VSDK Server", mark));
    EXPECT_EQ(3u, env.logCount("Attempting Force Login to VSDK Server", mark));
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(env.logContains("Retrying Connection with Retrial Count:[" + std::to_string(n) +
                                        "]",
                                    mark));
    }

    // The fourth code-9 reply in the life of the state record is handed out.
    server().clearJournal();
    server().relogin(QValidateBackupInfoMsg::kTag, 1);
    const std::size_t second = env.logMark();
    EXPECT_EQ(9u, validate());
    EXPECT_EQ(1u, server().requestCount());
    EXPECT_TRUE(loginsSent().empty());
    EXPECT_EQ(0u, env.logCount("Attempting Force Login", second));
    EXPECT_EQ(4, state().getLoginRetryCount());
}

TEST_F(ReloginTest, CounterSpansCallsAndStartsAfreshWithANewRecord) {
    loggedIn();
    server().relogin(QValidateBackupInfoMsg::kTag, 2);
    ASSERT_EQ(0u, validate());
    server().relogin(QValidateBackupInfoMsg::kTag, 2);
    EXPECT_EQ(9u, validate());  // one more re-login, then the reply is handed out
    EXPECT_EQ(1 + 3u, loginsSent().size());

    // A new state record counts from 0 again.
    ASSERT_EQ(0u, VSDKDeInitialize());
    loggedIn();
    server().clearJournal();
    server().relogin(QValidateBackupInfoMsg::kTag, 1);
    EXPECT_EQ(0u, validate());
    EXPECT_EQ(1u, loginsSent().size());
}

TEST_F(ReloginTest, FailedForcedLoginReturnsItsCodeWithNoReply) {
    loggedIn();
    const std::string guid = state().getGuid();
    server().clearJournal();
    server().relogin(OrvaneOperations::QBackupInfoMsg::kTag, 1);
    logins.failLogins(0x149, "Account is locked. Please contact administrator");

    QBackupInfoMsg request;
    fillSession(state(), request, MultiDomain::Never);
    CNMessageBase* reply = &request;  // the exchange must clear it
    EXPECT_EQ(0x149u, exchange(state(), state().getVSDKHandle().network, request,
                               QBackupRespMsg::kTag, reply));
    EXPECT_EQ(nullptr, reply);

    EXPECT_EQ(1u, server().requestCount(QBackupInfoMsg::kTag));  // no resend
    EXPECT_EQ(1u, loginsSent().size());
    EXPECT_EQ(guid, state().getGuid());
    EXPECT_STREQ("Account is locked. Please contact administrator", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("Login Response failed with Error code [0x149]"));
}

TEST_F(ReloginTest, WithoutAUserNameTheForcedLoginSendsAnEmptyUser) {
    // A thread that never logged in has no user: the server decides.
    ASSERT_EQ(0u, env.initThread());
    server().relogin(QValidateBackupInfoMsg::kTag, 1);
    EXPECT_EQ(0u, validate());
    ASSERT_EQ(1u, loginsSent().size());
    EXPECT_EQ("", msgf::getText(*loginsSent()[0].message, VSDKLogin::kLoginUser));
}

// The resend keeps the caller's time-out choice.
struct WaitCase {
    bool longWait;
    unsigned long minTimeout;
    const char* line;
};

class ReloginWaitTest : public ReloginTest, public ::testing::WithParamInterface<WaitCase> {
protected:
    static vsdktest::EnvOptions noRegistryTimeout() {
        vsdktest::EnvOptions o;
        o.commandTimeout = 0;  // nVCommandTimeOut absent
        return o;
    }
    ReloginWaitTest() : ReloginTest(noRegistryTimeout()) {}
};

TEST_P(ReloginWaitTest, ResendKeepsTheTimeOut) {
    loggedIn();
    server().relogin(QBackupInfoMsg::kTag, 1);
    const std::size_t mark = env.logMark();

    QBackupInfoMsg request;
    fillSession(state(), request, MultiDomain::Never);
    ExchangeOptions options;
    options.longWait = GetParam().longWait;
    options.minTimeout = GetParam().minTimeout;
    CNMessageBase* raw = nullptr;
    ASSERT_EQ(0u, exchange(state(), state().getVSDKHandle().network, request,
                           QBackupRespMsg::kTag, raw, options));
    std::unique_ptr<CNMessageBase> reply(raw);
    ASSERT_NE(nullptr, reply);

    // The first send and the resend wait alike; the forced login itself waits
    // the default.
    EXPECT_EQ(2u, env.logCount(GetParam().line, mark)) << env.logSince(mark);
    EXPECT_EQ(1u, env.logCount("Waiting for receive message with time out [3600] seconds", mark));
    auto sent = server().requestsOfType(QBackupInfoMsg::kTag);
    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(logins.lastToken(), guidOf(*sent[1].message));
}

INSTANTIATE_TEST_SUITE_P(
    Waits, ReloginWaitTest,
    ::testing::Values(
        WaitCase{false, 7200, "Waiting for receive message with time out [7200] seconds"},
        WaitCase{true, 0, "Waiting for receive message with time out [86400] seconds"}));

// With pooling on, re-login and resend borrow connections of their own and
// give them back.
class PooledReloginTest : public ReloginTest {
protected:
    static vsdktest::EnvOptions pooled() {
        vsdktest::EnvOptions o;
        o.pooling = true;
        return o;
    }
    PooledReloginTest() : ReloginTest(pooled()) {}
};

TEST_F(PooledReloginTest, NothingLeakedAndThePoolNotExhausted) {
    for (int round = 0; round < 4; ++round) {
        loggedIn();
        std::shared_ptr<RkNetworkPool> pool = VSDKAPIGlobalData::getSessionPool(env.mardockName());
        ASSERT_NE(nullptr, pool);
        server().relogin(QValidateBackupInfoMsg::kTag, 3);
        ASSERT_EQ(0u, validate()) << round;
        EXPECT_EQ(0, pool->lentCount()) << round;
        EXPECT_LE(pool->connectionCount(), 1) << round;  // one at a time is all it needed
        ASSERT_EQ(0u, VSDKDeInitialize());
    }
    EXPECT_EQ(4u * 4u, server().requestCount(QValidateBackupInfoMsg::kTag));
    EXPECT_LE(server().openConnections(), 1);
}

// ---- Across processes --------------------------------------------------------

// Runs in a child process started by the test below: logs in with session
// files on and leaves the login in the token store.
TEST(CrossProcessHelper, LogInAndLeave) {
    const char* user = std::getenv("VSDK_TEST_HELPER_USER");
    if (!user) GTEST_SKIP() << "only run as the helper process";
    _QInitializeParameters init;
    init.useSessionFile = true;  // Mardock name from the registry
    ASSERT_EQ(0u, VSDKInitializeWithLoginFlag(&init, true, true, false));
    _QLoginParameters p;
    vsdktest::setText(p.user, user);
    vsdktest::setText(p.password, "pw");
    _QLoginResp result;
    ASSERT_EQ(0u, VSDKLoginApi(&p, &result));
    ASSERT_EQ(0u, VSDKDeInitialize());
}

// Runs the helper above in a new process of this program; its exit status.
int runLoginHelper(const std::string& user) {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return -1;
    self[n] = '\0';
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        ::setenv("VSDK_TEST_HELPER_USER", user.c_str(), 1);
        ::execl(self, self, "--gtest_filter=CrossProcessHelper.LogInAndLeave", nullptr);
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ReloginTest, LoginOfAnotherProcessIsReusedThroughTheTokenStore) {
    ASSERT_EQ(0, runLoginHelper("carol"));
    ASSERT_EQ(1, logins.loginCount());
    const std::string token = logins.lastToken();

    // A start-up with session files on takes the saved login, user included.
    _QInitializeParameters init;
    env.fillInitParams(init);
    init.useSessionFile = true;
    ASSERT_EQ(0u, VSDKInitialize(&init));
    EXPECT_EQ(token, state().getGuid());
    EXPECT_EQ("carol", state().getUser());

    server().clearJournal();
    ASSERT_EQ(0u, validate());
    EXPECT_EQ(token, guidOf(*server().requestsOfType(QValidateBackupInfoMsg::kTag)[0].message));

    // So a forced re-login logs in as that user.
    server().relogin(QValidateBackupInfoMsg::kTag, 1);
    ASSERT_EQ(0u, validate());
    ASSERT_EQ(1u, loginsSent().size());
    EXPECT_EQ("carol", msgf::getText(*loginsSent()[0].message, VSDKLogin::kLoginUser));
    EXPECT_EQ(logins.lastToken(), state().getGuid());
}

TEST_F(ReloginTest, StartUpFromATokenStringTakesItsUser) {
    std::string tokenString;
    ASSERT_EQ(0u, VSDKConstructTokenWrapper(env.mardockName().c_str(),
                                            env.options().mardockClientName.c_str(), "dave",
                                            "dave-token", tokenString));
    _QInitializeParameters init;
    env.fillInitParams(init);
    init.useSessionFile = true;
    init.tokenString = tokenString;
    ASSERT_EQ(0u, VSDKInitialize(&init));
    EXPECT_EQ("dave-token", state().getGuid());
    EXPECT_EQ("dave", state().getUser());

    server().relogin(QValidateBackupInfoMsg::kTag, 1);
    ASSERT_EQ(0u, validate());
    ASSERT_EQ(1u, loginsSent().size());
    EXPECT_EQ("dave", msgf::getText(*loginsSent()[0].message, VSDKLogin::kLoginUser));
}

}  // namespace
