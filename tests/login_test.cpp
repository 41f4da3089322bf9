// Login and logout against the simulated server: what goes over the wire,
// what the caller and the thread get back, and what the token store keeps.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "simserver/LoginService.h"
#include "support/TestEnv.h"
#include "support/TokenStoreTestUtil.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace VSDKLogin;

const char* const kPassword = "s3cret-pw";

class LoginTest : public ::testing::Test {
protected:
    void TearDown() override { VSDKDeInitialize(); }

    simserver::SimServer& server() { return env.server(); }
    VSDKAPIGlobalData& state() { return *threadState(); }

    // Starts the thread up for a login (no saved login looked up).
    void startUp(bool sessionFiles, const std::string& tokenString = std::string()) {
        _QInitializeParameters params;
        env.fillInitParams(params);
        params.useSessionFile = sessionFiles;
        params.tokenString = tokenString;
        ASSERT_EQ(0u, VSDKInitializeWithLoginFlag(&params, true, true, false));
        ASSERT_NE(nullptr, threadState());
    }

    std::string storePath() const {
        return env.baseDir() + "/vsessions." + std::to_string(static_cast<unsigned long>(getuid()));
    }
    std::vector<_VSDKTokenFileContents> entries() const { return vsdktest::storeEntries(storePath()); }
    // Puts one entry into the store as another process's login would have.
    void saveEntry(const std::string& user, const std::string& token) {
        ASSERT_EQ(0u, setVSDKTokenInfo(vsdktest::makeEntry(env.mardockName(), user, token,
                                                           env.options().mardockClientName),
                                       std::string()));
    }

    static _QLoginParameters params(const std::string& user) {
        _QLoginParameters p;
        vsdktest::setText(p.user, user);
        vsdktest::setText(p.password, kPassword);
        return p;
    }

    unsigned long login(_QLoginParameters p, _QLoginResp* result = nullptr) {
        _QLoginResp local;
        return VSDKLoginApi(&p, result ? result : &local);
    }

    std::shared_ptr<const CNMessageBase> lastLogin() {
        auto sent = env.server().requestsOfType(QLoginInfoMsg::kTag);
        return sent.empty() ? nullptr : sent.back().message;
    }
    std::shared_ptr<const CNMessageBase> lastLogout() {
        auto sent = env.server().requestsOfType(QLogoutInfoMsg::kTag);
        return sent.empty() ? nullptr : sent.back().message;
    }
    static const CNMessageBase* session(const CNMessageBase& request) {
        return msgf::findChild(request, msgf::kRequestSession, QSessionInfoMsg::kTag);
    }
    // The session object's GUID, or "<absent>".
    static std::string sessionGuid(const CNMessageBase& request) {
        const CNMessageBase* s = session(request);
        if (!s || !msgf::has(*s, kSessionGuid)) return "<absent>";
        return msgf::getBytes(*s, kSessionGuid);
    }

    vsdktest::TestEnv env;
    simserver::LoginService logins{env.server()};
};

// ---- Login -----------------------------------------------------------------

// The login token crosses the wire in the reply and in every later request,
// and the log is at level 10: neither side may write it.
TEST_F(LoginTest, TokenNeverReachesTheLog) {
    startUp(false);
    const std::string token = "login-token-7f3a9c";
    logins.setToken(token);
    _QLoginParameters p = params("alice");
    _QLoginResp result;
    ASSERT_EQ(0u, login(p, &result));
    ASSERT_EQ(token, result.token);
    EXPECT_TRUE(env.logContains("XML response from VSDK Server received"));
    EXPECT_FALSE(env.logContains(token)) << env.logText();
    EXPECT_FALSE(env.logContains("bG9naW4tdG9rZW4tN2YzYTlj")) << env.logText();  // its base64
}

TEST_F(LoginTest, SuccessFillsResultAndThread) {
    startUp(false);
    const std::string token("tok\0\x01\xfe-42", 9);
    logins.setToken(token);
    logins.setUserId(4242);

    _QLoginParameters p = params("alice");
    p.validityDuration = 30;
    p.loginOption = 7;
    p.flags = 6;
    p.guid = "caller-guid";
    _QLoginResp result;
    ASSERT_EQ(0u, login(p, &result));

    EXPECT_EQ(4242, result.userId);
    EXPECT_EQ(token, result.token);           // every byte of the reply's token
    EXPECT_TRUE(result.tokenString.empty());  // session files off: no token string
    EXPECT_EQ("alice", state().getUser());
    EXPECT_EQ(std::string("tok"), state().getGuid());  // up to the first zero byte

    auto sent = lastLogin();
    ASSERT_NE(nullptr, sent);
    vsdktest::expectHeader(*sent);
    vsdktest::expectTexts(*sent, {{"mardock", kLoginMardock, env.mardockName()},
                                  {"user", kLoginUser, "alice"},
                                  {"password", kLoginPassword, kPassword},
                                  {"guid", kLoginGuid, "caller-guid"}});
    vsdktest::expectInts(*sent, {{"saml request", kLoginSamlRequest, 0},
                                 {"validity", kLoginValidity, 30},
                                 {"option", kLoginOption, 7},
                                 {"force", kLoginForce, 0},
                                 {"flags", kLoginFlags, 6}});
    EXPECT_FALSE(msgf::has(*sent, kLoginWithSaml));
    const CNMessageBase* s = session(*sent);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(1, msgf::getInt(*s, kSessionOne));
    EXPECT_EQ("<absent>", sessionGuid(*sent));
    EXPECT_FALSE(msgf::has(*s, kSessionMultiDomainToken));

    // The dump is logged, the password never.
    EXPECT_TRUE(env.logContains("Login Parameters:\nUser:[alice]\nForce login:[0]\nProvider ID:[0]\n"
                                "Prinicipal Name:[]\nDomain Name:[]\nFlags:[6]\nGuid:[caller-guid]\n"
                                "IsTokenFile:[0]\nGiveToken:[0]\nsamlTokenrequesst:[0]\n"
                                "Validity Duration:[30]\nLoginWithSamlToken:[0]"));
    EXPECT_TRUE(env.logContains("Regular Login"));
    EXPECT_FALSE(env.logContains(kPassword));
}

// The codes the server's event manager reports for failed logins.
struct FailureCase {
    long long code;
    const char* text;
};

class LoginFailureTest : public LoginTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(LoginFailureTest, ServerFailureLeavesThreadAndStore) {
    startUp(true);
    state().getUser() = "before";
    state().setGuid("before-guid");
    logins.failLogins(GetParam().code, GetParam().text);
    const std::size_t mark = env.logMark();

    _QLoginResp result;
    EXPECT_EQ(static_cast<unsigned long>(GetParam().code), login(params("alice"), &result));

    EXPECT_STREQ(GetParam().text, VSDKGetLastErrorString());
    EXPECT_EQ("before", state().getUser());
    EXPECT_EQ("before-guid", state().getGuid());
    EXPECT_TRUE(result.token.empty());
    EXPECT_FALSE(vsdktest::fileExists(storePath()));
    char line[256];
    std::snprintf(line, sizeof line,
                  "Login Response failed with Error code [0x%llx] Error string [%s]",
                  static_cast<unsigned long long>(GetParam().code), GetParam().text);
    EXPECT_TRUE(env.logContains(line, mark)) << env.logSince(mark);
}

INSTANTIATE_TEST_SUITE_P(
    EventManagerCodes, LoginFailureTest,
    ::testing::Values(FailureCase{0x103, "Invalid Login/Password"},
                      FailureCase{0x149, "Account is locked. Please contact administrator"},
                      FailureCase{0x14a, "Answer challenge from RADIUS server as password"},
                      FailureCase{0x115, "Mardock requires new passowrd for the user"},
                      FailureCase{0x105, "Login Retry count exceeded"},
                      FailureCase{0x104, "Login failed"},
                      FailureCase{0x150, "Login failed (mapped)"}));

TEST_F(LoginTest, TokenStoreGetsTheEntry) {
    startUp(true);
    ASSERT_EQ(0u, login(params("alice")));

    auto saved = entries();
    ASSERT_EQ(1u, saved.size());
    EXPECT_STREQ(env.mardockName().c_str(), saved[0].mardockName);
    EXPECT_STREQ("alice", saved[0].user);
    EXPECT_EQ(logins.lastToken(), std::string(saved[0].token));
    EXPECT_STREQ(env.options().mardockClientName.c_str(), saved[0].mardockClientName);
    EXPECT_EQ("<absent>", sessionGuid(*lastLogin()));  // nothing saved before
}

TEST_F(LoginTest, SecondLoginOfTheSameUserReplacesTheEntry) {
    startUp(true);
    ASSERT_EQ(0u, login(params("alice")));
    const std::string first = logins.lastToken();

    // The same user in other letter case counts as the same.
    ASSERT_EQ(0u, login(params("ALICE")));
    EXPECT_EQ(first, sessionGuid(*lastLogin()));  // the saved token is offered

    auto saved = entries();
    ASSERT_EQ(1u, saved.size());
    EXPECT_STREQ("ALICE", saved[0].user);
    EXPECT_EQ(logins.lastToken(), std::string(saved[0].token));
    EXPECT_NE(first, logins.lastToken());
    EXPECT_EQ(logins.lastToken(), state().getGuid());
}

TEST_F(LoginTest, AnotherUsersEntryRefusesWithNothingSent) {
    startUp(true);
    saveEntry("bob", "bob-token");
    state().setGuid("kept");
    const std::size_t mark = env.logMark();

    EXPECT_EQ(0x23fu, login(params("alice")));

    EXPECT_EQ(0u, server().requestCount(QLoginInfoMsg::kTag));
    EXPECT_EQ("kept", state().getGuid());
    ASSERT_EQ(1u, entries().size());
    EXPECT_STREQ("bob", entries()[0].user);
    EXPECT_TRUE(env.logContains("Login to Mardock failed with Error code [0x23f]", mark));
}

TEST_F(LoginTest, ForceLoginGoesAheadAndHandsBackATokenString) {
    startUp(true);
    saveEntry("bob", "bob-token");
    state().setGuid("thread-guid");

    _QLoginParameters p = params("alice");
    p.forceLogin = true;
    _QLoginResp result;
    ASSERT_EQ(0u, login(p, &result));

    auto sent = lastLogin();
    EXPECT_EQ(1, msgf::getInt(*sent, kLoginForce));
    EXPECT_EQ("thread-guid", sessionGuid(*sent));  // the thread's GUID, not the saved token
    // The store keeps the other user's login.
    ASSERT_EQ(1u, entries().size());
    EXPECT_STREQ("bob", entries()[0].user);
    EXPECT_STREQ("bob-token", entries()[0].token);
    // The token string names the saved entry's user and the new token.
    _VSDKTokenFileContents fromString;
    ASSERT_EQ(0u, destructVSDKTokenString(result.tokenString, &fromString));
    EXPECT_STREQ("bob", fromString.user);
    EXPECT_EQ(logins.lastToken(), std::string(fromString.token));
    EXPECT_STREQ(env.mardockName().c_str(), fromString.mardockName);
    EXPECT_EQ("alice", state().getUser());
    EXPECT_EQ(logins.lastToken(), state().getGuid());
}

TEST_F(LoginTest, GiveTokenSkipsTheStore) {
    startUp(true);
    saveEntry("bob", "bob-token");
    const std::string before = vsdktest::fileBytes(storePath());

    _QLoginParameters p = params("alice");
    p.giveToken = true;
    _QLoginResp result;
    ASSERT_EQ(0u, login(p, &result));  // another user's entry is not even read

    EXPECT_EQ("<absent>", sessionGuid(*lastLogin()));
    EXPECT_EQ(before, vsdktest::fileBytes(storePath()));
    _VSDKTokenFileContents fromString;
    ASSERT_EQ(0u, destructVSDKTokenString(result.tokenString, &fromString));
    EXPECT_STREQ("alice", fromString.user);
    EXPECT_EQ(logins.lastToken(), std::string(fromString.token));
}

TEST_F(LoginTest, GiveTokenWithoutSessionFilesLeavesTheTokenStringAlone) {
    startUp(false);
    _QLoginParameters p = params("alice");
    p.giveToken = true;
    _QLoginResp result;
    result.tokenString = "untouched";
    ASSERT_EQ(0u, login(p, &result));
    EXPECT_EQ("untouched", result.tokenString);
    EXPECT_FALSE(vsdktest::fileExists(storePath()));
}

TEST_F(LoginTest, SamlTokenRequestLeavesThreadAndStore) {
    startUp(true);
    logins.setSamlToken("saml-abc");
    logins.setUserId(77);
    state().getUser() = "before";
    state().setGuid("before-guid");

    _QLoginParameters p = params("alice");
    p.samlTokenRequest = true;
    _QLoginResp result;
    ASSERT_EQ(0u, login(p, &result));

    EXPECT_EQ(1, msgf::getInt(*lastLogin(), kLoginSamlRequest));
    EXPECT_EQ("saml-abc", result.tokenString);
    EXPECT_EQ(77, result.userId);
    EXPECT_EQ(logins.lastToken(), result.token);
    EXPECT_EQ("before", state().getUser());
    EXPECT_EQ("before-guid", state().getGuid());
    EXPECT_FALSE(vsdktest::fileExists(storePath()));
}

TEST_F(LoginTest, LoginWithSamlTokenSendsTheThreadsMultiDomainToken) {
    startUp(false, "SAML md-token-1");
    ASSERT_TRUE(state().ismultifenmarktoken());

    _QLoginParameters with = params("alice");
    with.loginWithSamlToken = true;
    ASSERT_EQ(0u, login(with));
    auto sent = lastLogin();
    EXPECT_EQ(1, msgf::getInt(*sent, kLoginWithSaml));
    EXPECT_EQ("md-token-1", msgf::getText(*session(*sent), kSessionMultiDomainToken));

    ASSERT_EQ(0u, login(params("alice")));
    sent = lastLogin();
    EXPECT_FALSE(msgf::has(*sent, kLoginWithSaml));
    EXPECT_FALSE(msgf::has(*session(*sent), kSessionMultiDomainToken));
}

TEST_F(LoginTest, SessionTokenReplacesTheSavedToken) {
    startUp(true);
    saveEntry("alice", "saved-token");
    _QLoginParameters p = params("alice");
    p.sessionToken = std::string("caller\0token", 12);
    ASSERT_EQ(0u, login(p));
    EXPECT_EQ(p.sessionToken, sessionGuid(*lastLogin()));
}

TEST_F(LoginTest, SessionFilesOffTouchNoStore) {
    startUp(false);
    saveEntry("bob", "bob-token");
    const std::string before = vsdktest::fileBytes(storePath());

    ASSERT_EQ(0u, login(params("alice")));  // bob's entry is not consulted

    EXPECT_EQ("<absent>", sessionGuid(*lastLogin()));
    EXPECT_EQ(before, vsdktest::fileBytes(storePath()));
    EXPECT_EQ(logins.lastToken(), state().getGuid());
}

TEST_F(LoginTest, UnreadableStoreDoesNotStopTheLogin) {
    startUp(true);
    vsdktest::writeBytes(storePath(), "not a scrambled store");
    ASSERT_EQ(0u, login(params("alice")));
    auto saved = entries();
    ASSERT_EQ(1u, saved.size());
    EXPECT_STREQ("alice", saved[0].user);
}

TEST_F(LoginTest, SingleSignOnIsRefusedWithNothingSent) {
    startUp(false);
    _QLoginParameters p = params("alice");
    p.flags = 1;
    EXPECT_EQ(0x264u, login(p));
    EXPECT_EQ(0u, server().requestCount());
    EXPECT_TRUE(env.logContains(
        "Login failed with Error code [0x264] Error string [Single signon is supported only from "
        "Windows machines]"));

    QLoginInfoMsg request;
    QLoginRespMsg* reply = nullptr;
    msgf::putInt(request, kLoginFlags, 1);
    EXPECT_EQ(0x264u, VSDKLoginSSO(request, reply));
    msgf::putInt(request, kLoginFlags, 2);
    EXPECT_EQ(0u, VSDKLoginSSO(request, reply));
    EXPECT_EQ(nullptr, reply);
    EXPECT_EQ(0u, server().requestCount());
}

TEST_F(LoginTest, WithoutStartUpNothingIsSent) {
    _QLoginParameters p = params("alice");
    _QLoginResp result;
    EXPECT_EQ(0x280u, VSDKLoginApi(&p, &result));
    EXPECT_EQ(0x280u, VSDKLoginApi_NOSTL("alice", "pw", "", "", "", "", 0, 0, false, false, false));
    QLoginInfoMsg request;
    QLoginRespMsg* reply = nullptr;
    EXPECT_EQ(0x280u, VSDKLoginSSO(request, reply));
    _QLogoutParameters out;
    EXPECT_EQ(0x280u, VSDKLogout(&out));
    EXPECT_EQ(0u, server().requestCount());
}

TEST_F(LoginTest, NullRecordsAreRefused) {
    startUp(false);
    _QLoginParameters p = params("alice");
    _QLoginResp result;
    EXPECT_EQ(0x303u, VSDKLoginApi(nullptr, &result));
    EXPECT_EQ(0x303u, VSDKLoginApi(&p, nullptr));
    EXPECT_EQ(0x303u, VSDKLogout(nullptr));
    EXPECT_EQ(0u, server().requestCount());
}

TEST_F(LoginTest, FixedFieldsAreReadWithABound) {
    startUp(false);
    _QLoginParameters p;
    std::memset(p.user, 'u', sizeof p.user);          // no terminating zero
    std::memset(p.password, 'p', sizeof p.password);  // no terminating zero
    ASSERT_EQ(0u, login(p));
    vsdktest::expectTexts(*lastLogin(), {{"user", kLoginUser, std::string(256, 'u')},
                                         {"password", kLoginPassword, std::string(128, 'p')}});
    EXPECT_EQ(std::string(256, 'u'), state().getUser());
}

TEST_F(LoginTest, NostlCutsNamesToTheirFields) {
    startUp(false);
    const std::string user(300, 'a');
    const std::string password(200, 'b');
    ASSERT_EQ(0u, VSDKLoginApi_NOSTL(user.c_str(), password.c_str(), "principal", "domain",
                                     "nostl-guid", "", 3, 4, false, true, false));
    auto sent = lastLogin();
    vsdktest::expectTexts(*sent, {{"user", kLoginUser, std::string(255, 'a')},
                                  {"password", kLoginPassword, std::string(127, 'b')},
                                  {"guid", kLoginGuid, "nostl-guid"}});
    vsdktest::expectInts(*sent, {{"flags", kLoginFlags, 4}});
    EXPECT_TRUE(env.logContains("Provider ID:[3]\nPrinicipal Name:[principal]\nDomain Name:[domain]"));
    // Null texts count as empty.
    EXPECT_EQ(0u, VSDKLoginApi_NOSTL(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0,
                                     false, false, false));
    vsdktest::expectTexts(*lastLogin(), {{"user", kLoginUser, ""}});
}

TEST_F(LoginTest, TokenTooLongForTheStoreIsNotSavedCut) {
    startUp(true);
    const std::string longToken(200, 'T');
    logins.setToken(longToken);
    const std::size_t mark = env.logMark();

    ASSERT_EQ(0u, login(params("alice")));

    EXPECT_EQ(longToken, state().getGuid());  // the thread keeps the whole login
    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(env.logContains("Login is not saved: token [200 bytes]", mark));
}

TEST_F(LoginTest, TokenThatFitsTheStoreIsSavedWhole) {
    startUp(true);
    const std::string token(127, 'T');
    logins.setToken(token);
    ASSERT_EQ(0u, login(params("alice")));
    auto saved = entries();
    ASSERT_EQ(1u, saved.size());
    EXPECT_EQ(token, std::string(saved[0].token));
}

// ---- Logout ----------------------------------------------------------------

class LogoutTest : public LoginTest {
protected:
    // Starts up with session files on or off and logs alice in.
    void loggedIn(bool sessionFiles) {
        startUp(sessionFiles);
        ASSERT_EQ(0u, login(params("alice")));
        ASSERT_FALSE(state().getGuid().empty());
    }
    unsigned long logout(bool allUsers = false, bool keep = false) {
        _QLogoutParameters p;
        p.logoutAllUsers = allUsers;
        p.keepTokenStore = keep;
        return VSDKLogout(&p);
    }
};

struct ReferenceCase {
    int referenceCount;
    bool allUsers;
    bool entryRemoved;
};

class LogoutReferenceTest : public LogoutTest,
                            public ::testing::WithParamInterface<ReferenceCase> {};

TEST_P(LogoutReferenceTest, EntryGoesWhenNoLoginRemains) {
    loggedIn(true);
    const std::string guid = state().getGuid();
    logins.setReferenceCount(GetParam().referenceCount);
    const std::size_t mark = env.logMark();

    ASSERT_EQ(0u, logout(GetParam().allUsers));

    auto sent = lastLogout();
    ASSERT_NE(nullptr, sent);
    vsdktest::expectHeader(*sent);
    EXPECT_EQ(guid, sessionGuid(*sent));
    EXPECT_EQ(env.mardockName(), msgf::getText(*session(*sent), kSessionMardock));
    EXPECT_EQ(1, msgf::getInt(*session(*sent), kSessionOne));
    EXPECT_EQ(GetParam().allUsers ? 1 : 0, msgf::getInt(*sent, kLogoutAllUsers));
    EXPECT_TRUE(env.logContains("User logged out,Reference Count:[" +
                                    std::to_string(GetParam().referenceCount) + "]",
                                mark));
    EXPECT_EQ(GetParam().entryRemoved ? 0u : 1u, entries().size());
    EXPECT_TRUE(state().getGuid().empty());
    EXPECT_EQ("alice", state().getUser());
}

INSTANTIATE_TEST_SUITE_P(ReferenceCounts, LogoutReferenceTest,
                         ::testing::Values(ReferenceCase{2, false, false},
                                           ReferenceCase{1, false, false},
                                           ReferenceCase{0, false, true},
                                           ReferenceCase{-1, false, true},
                                           ReferenceCase{2, true, true}));

struct CodeCase {
    long long code;
    bool sessionFiles;
    unsigned long result;
    bool entryRemoved;  // with session files
};

class LogoutCodeTest : public LogoutTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(LogoutCodeTest, AcceptedCodes) {
    const CodeCase c = GetParam();
    loggedIn(c.sessionFiles);
    const std::string guid = state().getGuid();
    logins.setReferenceCount(1);  // a login remains: only the code can remove the entry
    logins.failLogouts(c.code, "logout says " + std::to_string(c.code));

    EXPECT_EQ(c.result, logout());

    if (c.result == 0) {
        EXPECT_TRUE(state().getGuid().empty());
    } else {
        EXPECT_EQ(guid, state().getGuid());
        EXPECT_EQ("logout says " + std::to_string(c.code), std::string(VSDKGetLastErrorString()));
        char line[128];
        std::snprintf(line, sizeof line, "Logout Response failed with Error code [0x%llx]",
                      static_cast<unsigned long long>(c.code));
        EXPECT_TRUE(env.logContains(line));
    }
    if (c.sessionFiles) {
        EXPECT_EQ(c.entryRemoved ? 0u : 1u, entries().size());
    } else {
        EXPECT_FALSE(vsdktest::fileExists(storePath()));
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, LogoutCodeTest,
                         ::testing::Values(CodeCase{0, true, 0, false},
                                           CodeCase{0x50d, true, 0, true},
                                           CodeCase{0x10b, true, 0, false},
                                           CodeCase{0x103, true, 0x103, false},
                                           CodeCase{0, false, 0, false},
                                           CodeCase{0x50d, false, 0x50d, false},
                                           CodeCase{0x10b, false, 0, false},
                                           CodeCase{0x103, false, 0x103, false}));

TEST_F(LogoutTest, KeepTokenStoreLeavesTheStore) {
    loggedIn(true);
    logins.setReferenceCount(0);
    const std::string before = vsdktest::fileBytes(storePath());
    const std::size_t mark = env.logMark();

    ASSERT_EQ(0u, logout(false, true));

    EXPECT_EQ(1u, server().requestCount(QLogoutInfoMsg::kTag));
    EXPECT_FALSE(env.logContains("Reference Count", mark));
    EXPECT_EQ(before, vsdktest::fileBytes(storePath()));
    EXPECT_TRUE(state().getGuid().empty());
}

TEST_F(LogoutTest, NostlPassesItsFields) {
    loggedIn(true);
    logins.setReferenceCount(0);
    ASSERT_EQ(0u, VSDKLogout_NOSTL(true, nullptr, nullptr, false, true));
    EXPECT_EQ(1, msgf::getInt(*lastLogout(), kLogoutAllUsers));
    EXPECT_EQ(1u, entries().size());  // kept
    EXPECT_TRUE(env.logContains("Log out All users:[True]"));
}

TEST_F(LogoutTest, NoEntryMeansNothingSent) {
    startUp(true);
    // The store holds only the login of another Mardock.
    ASSERT_EQ(0u, setVSDKTokenInfo(vsdktest::makeEntry("127.0.0.2", "alice", "t", "other"), ""));
    state().setGuid("stale");
    ASSERT_EQ(0u, logout());
    EXPECT_EQ(0u, server().requestCount());
    EXPECT_TRUE(state().getGuid().empty());
    EXPECT_EQ(1u, entries().size());
}

TEST_F(LogoutTest, UnreadableStoreMeansNothingSent) {
    startUp(true);  // no store file at all
    state().setGuid("kept");
    EXPECT_EQ(0x209u, logout());
    EXPECT_EQ(0u, server().requestCount());
    EXPECT_EQ("kept", state().getGuid());
}

TEST_F(LogoutTest, FailedExchangeKeepsGuidAndStore) {
    loggedIn(true);
    const std::string guid = state().getGuid();
    // The server drops the connection instead of answering the logout.
    server().clearScripts();
    server().script(QLogoutInfoMsg::kTag, simserver::Action::noReplyClose(), 1);
    EXPECT_EQ(0x205u, logout());
    EXPECT_EQ(guid, state().getGuid());
    EXPECT_EQ(1u, entries().size());
}

}  // namespace
