// Login, logout and the forced re-login against the simulated server: what
// crosses the wire, what the caller and the thread get back, what the token
// store keeps, and how a code-9 reply is answered.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "platform/RkNetworkPool.h"
#include "simserver/LoginService.h"
#include "support/TestEnv.h"
#include "support/TokenStoreTestUtil.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <functional>

namespace {

using namespace VSDKLogin;

const char* const kPassword = "s3cret-pw";

_QLoginParameters params(const std::string& user) {
    _QLoginParameters p;
    vsdktest::setText(p.user, user);
    vsdktest::setText(p.password, kPassword);
    return p;
}

class LoginTest : public ::testing::Test {
protected:
    explicit LoginTest(const vsdktest::EnvOptions& options = vsdktest::EnvOptions())
        : env(options) {}
    void TearDown() override { VSDKDeInitialize(); }
    VSDKAPIGlobalData& state() { return *threadState(); }

    // Starts the thread up for a login (no saved login is looked up).
    void startUp(bool sessionFiles, const std::string& tokenString = "") {
        ASSERT_EQ(0u, env.initThread(
                          [&](_QInitializeParameters& p) {
                              p.useSessionFile = sessionFiles;
                              p.tokenString = tokenString;
                          },
                          true));
    }
    // Logs alice in with the parameters adjust sets.
    unsigned long login(const std::function<void(_QLoginParameters&)>& adjust = {},
                        _QLoginResp* result = nullptr) {
        _QLoginParameters p = params("alice");
        if (adjust) adjust(p);
        _QLoginResp local;
        return VSDKLoginApi(&p, result ? result : &local);
    }
    const CNMessageBase& lastLogin() { return *last(QLoginInfoMsg::kTag); }

    std::string storePath() const {
        return env.baseDir() + "/vsessions." + std::to_string(getuid());
    }
    std::vector<_VSDKTokenFileContents> entries() const {
        return vsdktest::storeEntries(storePath());
    }
    // An entry for this Mardock, as another process's login would leave it.
    void saveEntry(const std::string& user, const std::string& token) {
        ASSERT_EQ(
            0u, setVSDKTokenInfo(vsdktest::makeEntry(env.mardockName(), user, token, "simcs"), ""));
    }

    std::shared_ptr<const CNMessageBase> last(unsigned long tag) {
        auto sent = env.server().requestsOfType(tag);
        return sent.empty() ? nullptr : sent.back().message;
    }
    static const CNMessageBase& session(const CNMessageBase& request) {
        return *msgf::findChild(request, msgf::kRequestSession, QSessionInfoMsg::kTag);
    }
    static std::string sessionGuid(const CNMessageBase& request) {
        const CNMessageBase& s = session(request);
        return msgf::has(s, kSessionGuid) ? msgf::getBytes(s, kSessionGuid) : "<absent>";
    }

    vsdktest::TestEnv env;
    simserver::LoginService logins{env.server()};
};

// ---- Login -----------------------------------------------------------------

TEST_F(LoginTest, SuccessFillsResultThreadAndRequest) {
    startUp(false);
    const std::string token("login-token-7f3a9c\0\x01", 20);
    logins.setToken(token);
    _QLoginResp result;
    ASSERT_EQ(0u, login([](_QLoginParameters& p) { p.validityDuration = 30, p.flags = 6, p.guid = "caller-guid"; },
                        &result));

    EXPECT_EQ(1001, result.userId);
    EXPECT_EQ(token, result.token);  // every byte
    EXPECT_TRUE(result.tokenString.empty());
    EXPECT_EQ("alice", state().getUser());
    EXPECT_EQ("login-token-7f3a9c", state().getGuid());  // up to the first zero byte

    vsdktest::expectFields(lastLogin(), {{kLoginMardock, env.mardockName()}, {kLoginPassword, kPassword},
                                         {kLoginGuid, "caller-guid"}, {kLoginValidity, 30}, {kLoginForce, 0},
                                         {kLoginFlags, 6}});
    EXPECT_EQ(1, msgf::getInt(session(lastLogin()), kSessionOne));
    EXPECT_EQ("<absent>", sessionGuid(lastLogin()));

    // The dump is logged; the password and the token never are.
    EXPECT_TRUE(env.logContains("Login Parameters:\nUser:[alice]\nForce login:[0]"));
    EXPECT_FALSE(env.logContains(kPassword));
    EXPECT_FALSE(env.logContains("login-token-7f3a9c"));
}

TEST_F(LoginTest, ServerFailureLeavesThreadAndStore) {
    startUp(true);
    state().getUser() = "before";
    state().setGuid("before-guid");
    logins.failLogins(0x149, "Account is locked. Please contact administrator");
    EXPECT_EQ(0x149u, login());
    EXPECT_STREQ("Account is locked. Please contact administrator", VSDKGetLastErrorString());
    EXPECT_EQ("before", state().getUser());
    EXPECT_EQ("before-guid", state().getGuid());
    EXPECT_FALSE(vsdktest::fileExists(storePath()));
}

TEST_F(LoginTest, TheStoreGetsTheEntryAndTheSameUserReplacesIt) {
    startUp(true);
    vsdktest::writeBytes(storePath(), "not a scrambled store");  // does not stop the login
    ASSERT_EQ(0u, login());
    const std::string first = logins.lastToken();
    ASSERT_EQ(1u, entries().size());
    EXPECT_STREQ("alice", entries()[0].user);
    EXPECT_STREQ("simcs", entries()[0].mardockClientName);
    EXPECT_EQ(first, entries()[0].token);

    // The same user in other letter case: the saved token is offered, the
    // entry replaced.
    ASSERT_EQ(0u, login([](_QLoginParameters& p) { vsdktest::setText(p.user, "ALICE"); }));
    EXPECT_EQ(first, sessionGuid(lastLogin()));
    ASSERT_EQ(1u, entries().size());
    EXPECT_STREQ("ALICE", entries()[0].user);
    EXPECT_EQ(logins.lastToken(), entries()[0].token);
    EXPECT_EQ(logins.lastToken(), state().getGuid());

    // A caller's session token is offered instead of the saved one.
    const std::string own("caller\0token", 12);
    ASSERT_EQ(0u, login([&](_QLoginParameters& p) { p.sessionToken = own; }));
    EXPECT_EQ(own, sessionGuid(lastLogin()));
}

TEST_F(LoginTest, AnotherUsersEntryRefusesUnlessForced) {
    startUp(true);
    saveEntry("bob", "bob-token");
    EXPECT_EQ(0x23fu, login());
    EXPECT_EQ(0u, env.server().requestCount());

    // Forced, it goes ahead and hands back a token string.
    state().setGuid("thread-guid");
    _QLoginResp result;
    ASSERT_EQ(0u, login([](_QLoginParameters& p) { p.forceLogin = true; }, &result));

    EXPECT_EQ("thread-guid", sessionGuid(lastLogin()));  // not the saved token
    ASSERT_EQ(1u, entries().size());                     // the store keeps bob's login
    EXPECT_STREQ("bob-token", entries()[0].token);
    _VSDKTokenFileContents fromString;
    ASSERT_EQ(0u, destructVSDKTokenString(result.tokenString, &fromString));
    EXPECT_STREQ("bob", fromString.user);
    EXPECT_EQ(logins.lastToken(), fromString.token);
    EXPECT_EQ(logins.lastToken(), state().getGuid());
}

// A token asked for skips the store (another user's entry is not even read);
// with session files off there is no token string either.
TEST_F(LoginTest, GiveTokenSkipsTheStore) {
    for (const bool sessionFiles : {true, false}) {
        SCOPED_TRACE(sessionFiles);
        startUp(sessionFiles);
        saveEntry("bob", "bob-token");
        const std::string before = vsdktest::fileBytes(storePath());
        _QLoginResp result;
        result.tokenString = "untouched";
        ASSERT_EQ(0u, login([](_QLoginParameters& p) { p.giveToken = true; }, &result));
        EXPECT_EQ(before, vsdktest::fileBytes(storePath()));
        EXPECT_EQ(logins.lastToken(), state().getGuid());
        _VSDKTokenFileContents fromString;
        if (sessionFiles) {
            ASSERT_EQ(0u, destructVSDKTokenString(result.tokenString, &fromString));
            EXPECT_STREQ("alice", fromString.user);
        } else {
            EXPECT_EQ("untouched", result.tokenString);
        }
        VSDKDeInitialize();
    }
}

TEST_F(LoginTest, MultiDomainTokenRequestLeavesThreadAndStoreAndIsSentWhenAsked) {
    startUp(true, "SAML md-token-1");
    state().setGuid("before-guid");
    _QLoginResp result;
    ASSERT_EQ(0u, login([](_QLoginParameters& p) { p.samlTokenRequest = true; }, &result));
    EXPECT_EQ(1, msgf::getInt(lastLogin(), kLoginSamlRequest));
    EXPECT_EQ("simsaml-token", result.tokenString);
    EXPECT_EQ(logins.lastToken(), result.token);
    EXPECT_EQ("before-guid", state().getGuid());
    EXPECT_FALSE(vsdktest::fileExists(storePath()));

    ASSERT_EQ(0u, login([](_QLoginParameters& p) { p.loginWithSamlToken = true; }));
    EXPECT_EQ(1, msgf::getInt(lastLogin(), kLoginWithSaml));
    EXPECT_EQ("md-token-1", msgf::getText(session(lastLogin()), kSessionMultiDomainToken));
    ASSERT_EQ(0u, login());
    EXPECT_FALSE(msgf::has(session(lastLogin()), kSessionMultiDomainToken));
}

// A login whose token the store cannot hold whole is reported, not saved cut.
TEST_F(LoginTest, ALoginTheStoreCannotHoldIsReported) {
    startUp(true);
    logins.setToken(std::string(200, 'T'));
    EXPECT_EQ(0x20au, login());
    EXPECT_EQ(std::string(200, 'T'), state().getGuid());  // the thread keeps the login
    EXPECT_TRUE(entries().empty());
    _QLoginResp result;
    EXPECT_EQ(0x275u, login([](_QLoginParameters& p) { p.giveToken = true; }, &result));
    EXPECT_TRUE(result.tokenString.empty());

    logins.setToken(std::string(127, 'T'));  // the largest that fits
    ASSERT_EQ(0u, login());
    EXPECT_EQ(std::string(127, 'T'), entries().at(0).token);
}

TEST_F(LoginTest, RefusalsSendNothing) {
    _QLoginParameters p = params("alice");
    _QLoginResp result;
    _QLogoutParameters out;
    QLoginInfoMsg request;
    QLoginRespMsg* reply = nullptr;
    EXPECT_EQ(0x280u, VSDKLoginApi(&p, &result));  // no start-up
    EXPECT_EQ(0x280u, VSDKLoginSSO(request, reply));
    EXPECT_EQ(0x280u, VSDKLogout(&out));
    startUp(false);
    EXPECT_EQ(0x303u, VSDKLoginApi(nullptr, &result));
    EXPECT_EQ(0x303u, VSDKLoginApi(&p, nullptr));
    EXPECT_EQ(0x303u, VSDKLogout(nullptr));
    EXPECT_EQ(0x264u, login([](_QLoginParameters& p) { p.flags = 1; }));  // single sign-on
    EXPECT_EQ(0u, VSDKLoginSSO(request, reply));
    msgf::putInt(request, kLoginFlags, 1);
    EXPECT_EQ(0x264u, VSDKLoginSSO(request, reply));
    EXPECT_EQ(0u, env.server().requestCount());
}

TEST_F(LoginTest, FixedFieldsAreReadWithABoundAndFilledWithACut) {
    startUp(false);
    ASSERT_EQ(0u, login([](_QLoginParameters& p) {
                  std::memset(p.user, 'u', sizeof p.user);  // no terminating zero
                  std::memset(p.password, 'p', sizeof p.password);
              }));
    vsdktest::expectFields(lastLogin(), {{kLoginUser, std::string(256, 'u')},
                                         {kLoginPassword, std::string(128, 'p')}});
    ASSERT_EQ(
        0u, VSDKLoginApi_NOSTL(std::string(300, 'a').c_str(), std::string(200, 'b').c_str(),
                               "principal", "domain", "nostl-guid", "", 3, 4, false, true, false));
    vsdktest::expectFields(lastLogin(), {{kLoginUser, std::string(255, 'a')},
                                         {kLoginPassword, std::string(127, 'b')},
                                         {kLoginGuid, "nostl-guid"}});
}

// ---- Logout ----------------------------------------------------------------

struct LogoutCase {
    long long code;
    bool sessionFiles;
    int referenceCount;
    bool allUsers;
    unsigned long result;
    bool entryRemoved;
};

class LogoutOutcomeTest : public LoginTest, public ::testing::WithParamInterface<LogoutCase> {};

TEST_P(LogoutOutcomeTest, FollowsTheCodeAndTheReferenceCount) {
    const LogoutCase c = GetParam();
    startUp(c.sessionFiles);
    ASSERT_EQ(0u, login());
    const std::string guid = state().getGuid();
    logins.setReferenceCount(c.referenceCount);
    logins.failLogouts(c.code, "logout refused");
    _QLogoutParameters p;
    p.logoutAllUsers = c.allUsers;
    EXPECT_EQ(c.result, VSDKLogout(&p));

    auto sent = last(QLogoutInfoMsg::kTag);
    EXPECT_EQ(guid, sessionGuid(*sent));
    EXPECT_EQ(env.mardockName(), msgf::getText(session(*sent), kSessionMardock));
    EXPECT_EQ(c.allUsers ? 1 : 0, msgf::getInt(*sent, kLogoutAllUsers));
    EXPECT_EQ(c.result == 0 ? "" : guid, state().getGuid());
    EXPECT_STREQ(c.result == 0 ? "" : "logout refused", VSDKGetLastErrorString());
    EXPECT_EQ(c.sessionFiles && !c.entryRemoved ? 1u : 0u, entries().size());
    EXPECT_EQ(c.sessionFiles && c.result == 0,
              env.logContains("User logged out,Reference Count:[" +
                              std::to_string(c.referenceCount) + "]"));
}

INSTANTIATE_TEST_SUITE_P(Cases, LogoutOutcomeTest,
                         ::testing::Values(LogoutCase{0, true, 2, false, 0, false},
                                           LogoutCase{0, true, 0, false, 0, true},
                                           LogoutCase{0, true, 2, true, 0, true},
                                           LogoutCase{0x50d, true, 1, false, 0, true},
                                           LogoutCase{0x10b, true, 1, false, 0, false},
                                           LogoutCase{0x103, true, 1, false, 0x103, false},
                                           LogoutCase{0, false, 1, false, 0, false},
                                           LogoutCase{0x50d, false, 1, false, 0x50d, false},
                                           LogoutCase{0x10b, false, 1, false, 0, false}));

TEST_F(LoginTest, LogoutKeepingTheTokenStoreLeavesIt) {
    startUp(true);
    ASSERT_EQ(0u, login());
    logins.setReferenceCount(0);
    const std::string before = vsdktest::fileBytes(storePath());
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKLogout_NOSTL(true, nullptr, nullptr, false, true));
    EXPECT_EQ(1, msgf::getInt(*last(QLogoutInfoMsg::kTag), kLogoutAllUsers));
    EXPECT_FALSE(env.logContains("Reference Count", mark));
    EXPECT_EQ(before, vsdktest::fileBytes(storePath()));
    EXPECT_TRUE(state().getGuid().empty());
}

TEST_F(LoginTest, LogoutDeletesTheUsersOwnStoreFoundDamagedOnRemoval) {
    startUp(true);
    ASSERT_EQ(0u, login());
    // The store is damaged while the logout is on the wire.
    env.server().clearScripts();
    env.server().script(QLogoutInfoMsg::kTag,
                        simserver::Action::reply(QLogoutRespMsg::kTag,
                                                 [this](const CNMessageBase&, CNMessageBase&) {
                                                     vsdktest::writeBytes(storePath(), "damaged");
                                                 }));
    EXPECT_EQ(0x208u, VSDKLogout_NOSTL(false, nullptr, nullptr, false, false));
    EXPECT_FALSE(vsdktest::fileExists(storePath()));
}

TEST_F(LoginTest, LogoutWithoutStoreOrEntryForTheMardockSendsNothing) {
    startUp(true);
    state().setGuid("kept");
    EXPECT_EQ(0x209u, VSDKLogout_NOSTL(false, nullptr, nullptr, false, false));  // no store: the GUID stays
    EXPECT_EQ("kept", state().getGuid());
    ASSERT_EQ(0u, setVSDKTokenInfo(vsdktest::makeEntry("127.0.0.2", "alice", "t", "other"), ""));
    ASSERT_EQ(0u, VSDKLogout_NOSTL(false, "", "", false, false));
    EXPECT_TRUE(state().getGuid().empty());
    EXPECT_EQ(0u, env.server().requestCount());
}

// ---- Forced re-login ---------------------------------------------------------

using OrvaneOperations::QBackupInfoMsg;
using OrvaneOperations::QValidateBackupInfoMsg;

// The GUID of the session object of a backup request, or of the backup
// request a validation carries.
std::string guidOf(const CNMessageBase& request) {
    const CNMessageBase* carrier =
        request.getTagID() != QValidateBackupInfoMsg::kTag
            ? &request
            : msgf::findChild(request, OrvaneOperations::kValidateBackupRequest,
                              QBackupInfoMsg::kTag);
    return msgf::getText(
        *msgf::findChild(*carrier, msgf::kRequestSession, OrvaneOperations::QSessionInfoMsg::kTag),
        msgf::kSessionGuid);
}

class ReloginTest : public LoginTest {
protected:
    explicit ReloginTest(const vsdktest::EnvOptions& options = vsdktest::EnvOptions())
        : LoginTest(options) {}

    // Starts up (session files off) and logs alice in.
    void loggedIn() {
        startUp(false);
        ASSERT_EQ(0u, login());
        env.server().clearJournal();
    }
    unsigned long validate() {
        _QBackupParameters p;
        vsdktest::setText(p.clientName, "client1");
        return VSDKValidateBackup(&p);
    }
    // Sends a backup request through the exchange; the reply is dropped.
    unsigned long backup(const ExchangeOptions& options = ExchangeOptions()) {
        QBackupInfoMsg request;
        fillSession(state(), request, MultiDomain::Never);
        CNMessageBase* reply = &request;  // the exchange must reset it
        const unsigned long rc = exchange(state(), state().getVSDKHandle().network, request,
                                          OrvaneOperations::QBackupRespMsg::kTag, reply, options);
        EXPECT_EQ(rc == 0, reply != nullptr);
        delete reply;
        return rc;
    }
    std::vector<simserver::Request> loginsSent() {
        return env.server().requestsOfType(QLoginInfoMsg::kTag);
    }
};

TEST_F(ReloginTest, ThreeCode9RepliesGiveThreeLoginsAndFourSends) {
    loggedIn();
    const std::size_t mark = env.logMark();
    env.server().relogin(QValidateBackupInfoMsg::kTag, 3);
    ASSERT_EQ(0u, validate());

    // validate, login, validate, login, validate, login, validate; each send
    // carries the login made just before it (the first login's, then the new).
    const auto sent = env.server().journal();
    const auto tokens = logins.issuedTokens();
    ASSERT_EQ(7u, sent.size());
    ASSERT_EQ(4u, tokens.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        if (i % 2 == 1) {
            ASSERT_EQ(QLoginInfoMsg::kTag, sent[i].tag) << i;
            EXPECT_EQ(1, msgf::getInt(*sent[i].message, VSDKLogin::kLoginForce));
            EXPECT_EQ("alice", msgf::getText(*sent[i].message, VSDKLogin::kLoginUser));
        } else {
            EXPECT_EQ(tokens[i / 2], guidOf(*sent[i].message)) << i;
        }
    }
    EXPECT_EQ(3u, env.logCount("failed with Error code [0x9]", mark));
    EXPECT_TRUE(env.logContains("Retrying Connection with Retrial Count:[3]", mark));

    // The fourth code-9 reply in the life of the record is handed out.
    env.server().clearJournal();
    env.server().relogin(QValidateBackupInfoMsg::kTag, 1);
    EXPECT_EQ(9u, validate());
    EXPECT_EQ(1u, env.server().requestCount());
    EXPECT_EQ(4, state().getLoginRetryCount());

    // A new state record counts from 0 again.
    ASSERT_EQ(0u, VSDKDeInitialize());
    loggedIn();
    env.server().relogin(QValidateBackupInfoMsg::kTag, 1);
    EXPECT_EQ(0u, validate());
    EXPECT_EQ(1u, loginsSent().size());
}

TEST_F(ReloginTest, AFailedForcedLoginReturnsItsCodeWithNoReply) {
    loggedIn();
    const std::string guid = state().getGuid();
    env.server().relogin(QBackupInfoMsg::kTag, 1);
    logins.failLogins(0x149, "Account is locked. Please contact administrator");
    EXPECT_EQ(0x149u, backup());
    EXPECT_EQ(1u, env.server().requestCount(QBackupInfoMsg::kTag));  // no resend
    EXPECT_EQ(guid, state().getGuid());
    EXPECT_STREQ("Account is locked. Please contact administrator", VSDKGetLastErrorString());
}

// A forced login whose token is too long for a token string still logs the
// thread in, so the request is resent with it.
TEST_F(ReloginTest, ALoginTooLongForATokenStringStillResends) {
    startUp(true);  // session files on: a forced login builds a token string
    ASSERT_EQ(0u, login());
    env.server().clearJournal();
    const std::string longToken(200, 'L');
    logins.setToken(longToken);
    env.server().relogin(QBackupInfoMsg::kTag, 1);
    EXPECT_EQ(0u, backup());
    const auto sent = env.server().requestsOfType(QBackupInfoMsg::kTag);
    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(longToken, guidOf(*sent[1].message));
}

// The resend keeps the caller's time-out choice; the forced login itself
// waits the default.
TEST_F(ReloginTest, TheResendKeepsTheTimeOut) {
    env.removeValue("~EventManager", "nVCommandTimeOut");
    loggedIn();
    for (const int wait : {7200, 86400}) {
        env.server().relogin(QBackupInfoMsg::kTag, 1);
        env.server().clearJournal();
        const std::size_t mark = env.logMark();
        ExchangeOptions options;
        options.longWait = wait == 86400;
        options.minTimeout = wait == 7200 ? 7200 : 0;
        ASSERT_EQ(0u, backup(options));
        EXPECT_EQ(2u, env.logCount("Waiting for receive message with time out [" +
                                       std::to_string(wait) + "]",
                                   mark));
        EXPECT_EQ(1u, env.logCount("Waiting for receive message with time out [3600]", mark));
        EXPECT_EQ(logins.lastToken(),
                  guidOf(*env.server().requestsOfType(QBackupInfoMsg::kTag).at(1).message));
    }
}

// With pooling on, re-login and resend borrow connections of their own and
// give them back.
class PooledReloginTest : public ReloginTest {
protected:
    PooledReloginTest() : ReloginTest(vsdktest::EnvOptions::withPooling()) {}
};

TEST_F(PooledReloginTest, NothingLeakedAndThePoolNotExhausted) {
    for (int round = 0; round < 4; ++round) {
        loggedIn();
        env.server().relogin(QValidateBackupInfoMsg::kTag, 3);
        ASSERT_EQ(0u, validate()) << round;
        auto pool = VSDKAPIGlobalData::getSessionPool(env.mardockName());
        EXPECT_EQ(0, pool->lentCount()) << round;
        EXPECT_EQ(1, pool->connectionCount()) << round;  // one at a time is all it needed
        ASSERT_EQ(0u, VSDKDeInitialize());
    }
}

// ---- Saved logins ----------------------------------------------------------

// A login another process left in the store is reused, and a forced
// re-login logs its user in again.
TEST_F(ReloginTest, ASavedLoginIsReusedWithItsUser) {
    const std::string token = "carol-token";
    ASSERT_EQ(0u, env.initThread());
    saveEntry("carol", token);
    ASSERT_EQ(0u, VSDKDeInitialize());
    ASSERT_EQ(0u, env.initThread([](_QInitializeParameters& p) { p.useSessionFile = true; }));
    EXPECT_EQ(token, state().getGuid());
    env.server().relogin(QValidateBackupInfoMsg::kTag, 1);
    ASSERT_EQ(0u, validate());
    EXPECT_EQ(token,
              guidOf(*env.server().requestsOfType(QValidateBackupInfoMsg::kTag).at(0).message));
    EXPECT_EQ("carol", msgf::getText(*loginsSent().at(0).message, VSDKLogin::kLoginUser));
}

}  // namespace
