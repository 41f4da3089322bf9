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
#include "support/TokenStoreTestUtil.h"
#include "support/WireChecks.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

using namespace VSDKLogin;
using OrvaneOperations::QBackupInfoMsg;
using OrvaneOperations::QValidateBackupInfoMsg;

const char* const kPassword = "s3cret-pw";

// An entry as "user|client name|token".
std::string entryText(const _VSDKTokenFileContents& e) {
    return std::string(e.user) + "|" + e.mardockClientName + "|" + e.token;
}

// The entry a token string holds; "refused" when it cannot be read.
std::string fromTokenString(const std::string& tokenString) {
    _VSDKTokenFileContents e;
    return destructVSDKTokenString(tokenString, &e) == 0 ? entryText(e) : "refused";
}

// The GUID of a request's session object ("<absent>": none); a validation's
// is that of the backup request it carries.
std::string guidOf(const CNMessageBase& request) {
    if (request.getTagID() == QValidateBackupInfoMsg::kTag)
        return guidOf(*msgf::findChild(request, OrvaneOperations::kValidateBackupRequest, QBackupInfoMsg::kTag));
    const bool backup = request.getTagID() == QBackupInfoMsg::kTag;
    const CNMessageBase& s = *msgf::findChild(
        request, msgf::kRequestSession, backup ? OrvaneOperations::QSessionInfoMsg::kTag : QSessionInfoMsg::kTag);
    if (!msgf::has(s, kSessionGuid)) return "<absent>";
    return backup ? msgf::getText(s, kSessionGuid) : msgf::getBytes(s, kSessionGuid);
}

class LoginTest : public ::testing::Test {
protected:
    explicit LoginTest(const vsdktest::EnvOptions& options = vsdktest::EnvOptions()) : env(options) {}
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
    unsigned long login(const std::function<void(_QLoginParameters&)>& adjust = {}, _QLoginResp* result = nullptr) {
        _QLoginParameters p;
        vsdktest::setText(p.user, "alice");
        vsdktest::setText(p.password, kPassword);
        if (adjust) adjust(p);
        _QLoginResp local;
        return VSDKLoginApi(&p, result ? result : &local);
    }
    // The last request of tag (the journal keeps it).
    const CNMessageBase& last(unsigned long tag = QLoginInfoMsg::kTag) {
        const auto sent = env.server().requestsOfType(tag);
        return *sent.at(sent.size() - 1).message;
    }
    // The session object of the last request of tag checked against table.
    void expectSession(const std::vector<vsdktest::Expect>& table, unsigned long tag = QLoginInfoMsg::kTag) {
        vsdktest::expectObject(last(tag), msgf::kRequestSession, QSessionInfoMsg::kTag, table);
    }

    std::string storePath() const { return env.baseDir() + "/vsessions." + std::to_string(getuid()); }
    // The store's one entry as entryText; else how many it holds.
    std::string onlyEntry(const std::string& path = "") const {
        const auto all = vsdktest::storeEntries(path.empty() ? storePath() : path);
        return all.size() == 1 ? entryText(all[0]) : std::to_string(all.size()) + " entries";
    }
    // An entry for this Mardock, as another process's login would leave it.
    void saveEntry(const std::string& user, const std::string& token) {
        ASSERT_EQ(0u, setVSDKTokenInfo(vsdktest::makeEntry(env.mardockName(), user, token, "simcs"), ""));
    }

    vsdktest::TestEnv env;
    simserver::LoginService logins{env.server()};
};

TEST_F(LoginTest, SuccessFillsResultThreadAndRequest) {
    startUp(false);
    const std::string token("login-token-7f3a9c\0\x01", 20);
    logins.setToken(token);
    _QLoginResp result;
    ASSERT_EQ(0u, login([](_QLoginParameters& p) { p.validityDuration = 30, p.flags = 6, p.guid = "caller-guid"; },
                        &result));

    EXPECT_EQ(1001, result.userId);
    EXPECT_EQ(token, result.token);  // every byte
    EXPECT_EQ("alice", state().getUser());
    EXPECT_EQ("login-token-7f3a9c", state().getGuid());  // up to the first zero byte
    vsdktest::expectFields(last(), {{kLoginMardock, env.mardockName()}, {kLoginPassword, kPassword},
                                    {kLoginGuid, "caller-guid"}, {kLoginValidity, 30}, {kLoginForce, 0},
                                    {kLoginFlags, 6}});
    expectSession({{kSessionOne, 1}, vsdktest::Expect::absent(kSessionGuid)});

    // The dump is logged, in one line; the password and the token never are.
    EXPECT_TRUE(env.logContains(R"(Login Parameters:\nUser:[alice]\nForce login:[0])"));
    EXPECT_FALSE(env.logContains(kPassword));
    EXPECT_FALSE(env.logContains("login-token-7f3a9c"));
}

TEST_F(LoginTest, TheStoreGetsTheEntryAndTheSameUserReplacesIt) {
    startUp(true);
    vsdktest::writeBytes(storePath(), "not a scrambled store");  // does not stop the login
    ASSERT_EQ(0u, login());
    const std::string first = logins.lastToken();
    EXPECT_EQ("alice|simcs|" + first, onlyEntry());

    // The same user in other letter case: the saved token is offered, the
    // entry replaced.
    ASSERT_EQ(0u, login([](_QLoginParameters& p) { vsdktest::setText(p.user, "ALICE"); }));
    EXPECT_EQ(first, guidOf(last()));
    EXPECT_EQ("ALICE|simcs|" + logins.lastToken(), onlyEntry());

    // A caller's session token is offered instead of the saved one.
    const std::string own("caller\0token", 12);
    ASSERT_EQ(0u, login([&](_QLoginParameters& p) { p.sessionToken = own; }));
    EXPECT_EQ(own, guidOf(last()));
}

TEST_F(LoginTest, AnotherUsersEntryRefusesUnlessForced) {
    startUp(true);
    saveEntry("bob", "bob-token");
    EXPECT_EQ(0x23fu, login());
    EXPECT_EQ(0u, env.server().requestCount());

    // Forced, it goes ahead with the thread's GUID (not the saved token) and
    // hands back a token string of bob's; the store keeps bob's login.
    state().setGuid("thread-guid");
    _QLoginResp result;
    ASSERT_EQ(0u, login([](_QLoginParameters& p) { p.forceLogin = true; }, &result));
    EXPECT_EQ("thread-guid", guidOf(last()));
    EXPECT_EQ("bob|simcs|bob-token", onlyEntry());
    EXPECT_EQ("bob|simcs|" + logins.lastToken(), fromTokenString(result.tokenString));
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
        EXPECT_EQ(sessionFiles ? "alice|simcs|" + logins.lastToken() : "untouched",
                  sessionFiles ? fromTokenString(result.tokenString) : result.tokenString);
        VSDKDeInitialize();
    }
}

TEST_F(LoginTest, MultiDomainTokenRequestLeavesThreadAndStoreAndIsSentWhenAsked) {
    startUp(true, "SAML md-token-1");
    state().setGuid("before-guid");
    _QLoginResp result;
    ASSERT_EQ(0u, login([](_QLoginParameters& p) { p.samlTokenRequest = true; }, &result));
    EXPECT_EQ(1, msgf::getInt(last(), kLoginSamlRequest));
    EXPECT_EQ("simsaml-token", result.tokenString);
    EXPECT_EQ("before-guid", state().getGuid());
    EXPECT_FALSE(vsdktest::fileExists(storePath()));

    ASSERT_EQ(0u, login([](_QLoginParameters& p) { p.loginWithSamlToken = true; }));
    EXPECT_EQ(1, msgf::getInt(last(), kLoginWithSaml));
    expectSession({{kSessionMultiDomainToken, "md-token-1"}});
    ASSERT_EQ(0u, login());
    expectSession({vsdktest::Expect::absent(kSessionMultiDomainToken)});
}

// A login whose token the store cannot hold whole is reported, not saved cut.
TEST_F(LoginTest, ALoginTheStoreCannotHoldIsReported) {
    startUp(true);
    logins.setToken(std::string(200, 'T'));
    EXPECT_EQ(0x20au, login());
    EXPECT_EQ(std::string(200, 'T'), state().getGuid());  // the thread keeps the login
    EXPECT_EQ("0 entries", onlyEntry());
    _QLoginResp result;
    EXPECT_EQ(0x275u, login([](_QLoginParameters& p) { p.giveToken = true; }, &result));
    EXPECT_TRUE(result.tokenString.empty());

    logins.setToken(std::string(127, 'T'));  // the largest that fits
    ASSERT_EQ(0u, login());
    EXPECT_EQ("alice|simcs|" + std::string(127, 'T'), onlyEntry());
}

// A first run with the least registry (the Mardock and the port): the base
// folder does not exist yet and is made for the store, so the login is kept,
// a backup starts, another process's start-up finds the login, and the logout
// takes it away again. The store is 0600 in a 0700 folder.
TEST_F(LoginTest, AFirstRunWithTheLeastRegistryKeepsTheLogin) {
    for (const auto& [section, name] : {std::pair{"Base", "dBASEHOME"}, {"Machine", "sPhysicalMachine"},
                                        {"~EventManager", "nVCommandTimeOut"}, {"EventManager", "dEVLOGDIR"},
                                        {"EventManager", "nDebugLevel"}}) {
        env.removeValue(section, name);
    }
    const std::string home = env.root() + "/" + vsdktest::TempRegistry::kInstance + "/Home";
    const std::string store = home + "/vsessions." + std::to_string(getuid());
    auto startUp = [](bool loginFlag) {
        _QInitializeParameters init;  // as the example: everything from the registry
        return loginFlag ? VSDKInitializeWithLoginFlag(&init, true, true, false) : VSDKInitialize(&init);
    };
    // Another process, started before the login, starts up once it has the
    // token to expect.
    int go[2];
    ASSERT_EQ(0, ::pipe(go));
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(go[1]);
        char token[256] = {0};
        for (ssize_t n = 0, got = 0; (n = ::read(go[0], token + got, sizeof token - 1 - got)) > 0;) got += n;
        const unsigned long rc = startUp(false);
        std::_Exit(rc == 0 && threadState()->getGuid() == token ? 0 : 1);
    }
    ::close(go[0]);
    struct Reap {  // a failed assertion lets the child go and waits for it
        int fd;
        pid_t pid;
        ~Reap() {
            if (fd >= 0) ::close(fd);
            if (pid > 0) ::waitpid(pid, nullptr, 0);
        }
    } reap{go[1], child};

    ASSERT_EQ(0u, startUp(true));
    ASSERT_FALSE(vsdktest::fileExists(home));
    ASSERT_EQ(0u, login());
    EXPECT_EQ(0700u, vsdktest::modeBits(home));
    EXPECT_EQ(0600u, vsdktest::modeBits(store));

    _QBackupParameters backup;
    vsdktest::setText(backup.clientName, "client1");
    vsdktest::setText(backup.subclientName, "default");
    _QJobStartInfo job;
    ASSERT_EQ(0u, VSDKBackup(&backup, &job));
    EXPECT_NE(0, job.jobId);

    const std::string token = logins.lastToken();
    ASSERT_EQ(ssize_t(token.size()), ::write(go[1], token.data(), token.size()));
    ::close(go[1]);
    reap.fd = -1;
    int status = -1;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    reap.pid = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    _QLogoutParameters logout;
    ASSERT_EQ(0u, VSDKLogout(&logout));
    EXPECT_EQ("0 entries", onlyEntry(store));
}

// A base folder that cannot be made refuses the login's store with 0x70c;
// the log names the folder and the reason, and no lock failure: its path
// runs through a file, or it is a symbolic link to nothing (no folder is
// made in the link's place, nor where it points).
TEST_F(LoginTest, ABaseFolderThatCannotBeMadeIsNamedWithTheReason) {
    vsdktest::writeBytes(env.baseDir() + "/file", "x");
    ASSERT_EQ(0, ::symlink((env.baseDir() + "/gone").c_str(), (env.baseDir() + "/link").c_str()));
    const struct {
        std::string folder;
        int reason;
    } cases[] = {{env.baseDir() + "/file/home", ENOTDIR}, {env.baseDir() + "/link", ENOENT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        env.setValue("Base", "dBASEHOME", c.folder);
        startUp(true);
        const std::size_t mark = env.logMark();
        EXPECT_EQ(0x70cu, login());
        EXPECT_TRUE(env.logContains("Could not create the folder [" + c.folder + "] of the Token file: " +
                                        std::strerror(c.reason),
                                    mark))
            << env.logSince(mark);
        EXPECT_FALSE(env.logContains("Could not lock the Token file", mark));
        VSDKDeInitialize();
    }
    EXPECT_FALSE(vsdktest::fileExists(env.baseDir() + "/gone"));
}

TEST_F(LoginTest, RefusalsSendNothing) {
    _QLoginParameters p;
    EXPECT_EQ(0x280u, VSDKLoginApi(&p, nullptr));  // no start-up: before the pointers
    startUp(false);
    EXPECT_EQ(0x303u, VSDKLoginApi(&p, nullptr));
    EXPECT_EQ(0x264u, login([](_QLoginParameters& p) { p.flags = 1; }));  // single sign-on
    QLoginInfoMsg request;
    QLoginRespMsg* reply = nullptr;
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
    vsdktest::expectFields(last(), {{kLoginUser, std::string(256, 'u')}, {kLoginPassword, std::string(128, 'p')}});
    ASSERT_EQ(0u, VSDKLoginApi_NOSTL(std::string(300, 'a').c_str(), std::string(200, 'b').c_str(), "principal",
                                     "domain", "nostl-guid", "", 3, 4, false, true, false));
    vsdktest::expectFields(last(), {{kLoginUser, std::string(255, 'a')}, {kLoginPassword, std::string(127, 'b')},
                                    {kLoginGuid, "nostl-guid"}});
}

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

    EXPECT_EQ(guid, guidOf(last(QLogoutInfoMsg::kTag)));
    expectSession({{kSessionMardock, env.mardockName()}}, QLogoutInfoMsg::kTag);
    EXPECT_EQ(c.allUsers ? 1 : 0, msgf::getInt(last(QLogoutInfoMsg::kTag), kLogoutAllUsers));
    EXPECT_EQ(c.result == 0 ? "" : guid, state().getGuid());
    EXPECT_STREQ(c.result == 0 ? "" : "logout refused", VSDKGetLastErrorString());
    EXPECT_EQ(c.sessionFiles && !c.entryRemoved ? "alice|simcs|" + guid : "0 entries", onlyEntry());
}

// Code, session files, reference count, all users -> result, entry removed.
const LogoutCase kLogoutCases[] = {
    {0, true, 2, false, 0, false}, {0, true, 0, false, 0, true}, {0, true, 2, true, 0, true},
    // 0x50d is accepted (and drops the entry) with session files only; 0x10b always.
    {0x50d, true, 1, false, 0, true}, {0x10b, true, 1, false, 0, false}, {0x103, true, 1, false, 0x103, false},
    {0, false, 1, false, 0, false}, {0x50d, false, 1, false, 0x50d, false}, {0x10b, false, 1, false, 0, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, LogoutOutcomeTest, ::testing::ValuesIn(kLogoutCases));

// A logout keeping the token store leaves it; one that finds the user's own
// store damaged on removal deletes it.
TEST_F(LoginTest, LogoutKeepsOrDeletesTheStore) {
    startUp(true);
    ASSERT_EQ(0u, login());
    logins.setReferenceCount(0);
    const std::string before = vsdktest::fileBytes(storePath());
    ASSERT_EQ(0u, VSDKLogout_NOSTL(true, nullptr, nullptr, false, true));
    EXPECT_EQ(1, msgf::getInt(last(QLogoutInfoMsg::kTag), kLogoutAllUsers));
    EXPECT_EQ(before, vsdktest::fileBytes(storePath()));
    EXPECT_TRUE(state().getGuid().empty());

    ASSERT_EQ(0u, login());
    // The store is damaged while the logout is on the wire.
    env.server().clearScripts();
    env.server().script(QLogoutInfoMsg::kTag,
                        simserver::Action::reply(QLogoutRespMsg::kTag, [this](const CNMessageBase&, CNMessageBase&) {
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

class ReloginTest : public LoginTest {
protected:
    explicit ReloginTest(const vsdktest::EnvOptions& options = vsdktest::EnvOptions()) : LoginTest(options) {}

    // Starts up and logs alice in.
    void loggedIn(bool sessionFiles = false) {
        startUp(sessionFiles);
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
        SCOPED_TRACE(i);
        if (i % 2 == 1) {
            ASSERT_EQ(QLoginInfoMsg::kTag, sent[i].tag);
            vsdktest::expectFields(*sent[i].message, {{kLoginForce, 1}, {kLoginUser, "alice"}});
        } else {
            EXPECT_EQ(tokens[i / 2], guidOf(*sent[i].message));
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
    EXPECT_EQ(1u, env.server().requestCount(QLoginInfoMsg::kTag));
}

// A refused login leaves the thread and the store; a refused forced login
// returns its code with no reply and no resend.
TEST_F(ReloginTest, AFailedLoginLeavesThreadAndStore) {
    startUp(true);
    state().getUser() = "before";
    state().setGuid("before-guid");
    logins.failLogins(0x149, "Account is locked. Please contact administrator", 2);
    EXPECT_EQ(0x149u, login());
    EXPECT_STREQ("Account is locked. Please contact administrator", VSDKGetLastErrorString());
    env.server().relogin(QBackupInfoMsg::kTag, 1);
    EXPECT_EQ(0x149u, backup());
    EXPECT_EQ(1u, env.server().requestCount(QBackupInfoMsg::kTag));
    EXPECT_EQ("before|before-guid", state().getUser() + "|" + state().getGuid());
    EXPECT_FALSE(vsdktest::fileExists(storePath()));
}

// The resend keeps the caller's time-out choice (the options go over whole);
// the forced login itself waits the default. A forced login whose token is
// too long for a token string (session files on: a forced login builds one)
// still logs the thread in, so the request is resent with it.
TEST_F(ReloginTest, TheResendKeepsTheTimeOutAndATokenTooLongForATokenString) {
    env.removeValue("~EventManager", "nVCommandTimeOut");
    loggedIn(true);
    logins.setToken(std::string(200, 'L'));
    env.server().relogin(QBackupInfoMsg::kTag, 1);
    const std::size_t mark = env.logMark();
    ExchangeOptions options;
    options.longWait = true;
    ASSERT_EQ(0u, backup(options));
    EXPECT_EQ(2u, env.logCount("Waiting for receive message with time out [86400]", mark));
    EXPECT_EQ(1u, env.logCount("Waiting for receive message with time out [3600]", mark));
    EXPECT_EQ(std::string(200, 'L'), guidOf(last(QBackupInfoMsg::kTag)));  // the resend
}

// With pooling on, re-login and resend borrow connections of their own and
// give them back.
class PooledReloginTest : public ReloginTest {
protected:
    PooledReloginTest() : ReloginTest(vsdktest::EnvOptions::withPooling()) {}
};

TEST_F(PooledReloginTest, NothingLeakedAndThePoolNotExhausted) {
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        loggedIn();
        env.server().relogin(QValidateBackupInfoMsg::kTag, 3);
        ASSERT_EQ(0u, validate());
        auto pool = VSDKAPIGlobalData::getSessionPool(env.mardockName());
        EXPECT_EQ(0, pool->lentCount());
        EXPECT_EQ(1, pool->connectionCount());  // one at a time is all it needed
        ASSERT_EQ(0u, VSDKDeInitialize());
    }
}

// A login another process left in the store is taken by a start-up with
// session files (its user, token and client name), and a forced re-login logs
// its user in again.
TEST_F(ReloginTest, ASavedLoginIsReusedWithItsUser) {
    ASSERT_EQ(0u, env.initThread());  // the store resolves its path through thread state
    ASSERT_EQ(0u, setVSDKTokenInfo(vsdktest::makeEntry(env.mardockName(), "carol", "carol-token", "storedcs"), ""));
    ASSERT_EQ(0u, VSDKDeInitialize());
    ASSERT_EQ(0u, env.initThread([](_QInitializeParameters& p) { p.useSessionFile = true; }));
    EXPECT_EQ("carol|carol-token|storedcs",
              state().getUser() + "|" + state().getGuid() + "|" + state().getVSDKHandle().mardockClientName);
    env.server().relogin(QValidateBackupInfoMsg::kTag, 1);
    ASSERT_EQ(0u, validate());
    EXPECT_EQ("carol-token", guidOf(*env.server().requestsOfType(QValidateBackupInfoMsg::kTag).at(0).message));
    EXPECT_EQ("carol", msgf::getText(last(), kLoginUser));
}

}  // namespace
