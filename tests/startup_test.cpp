// Start-up and tear-down of a thread against the simulated server: where each
// setting comes from, every failure (with the record erased and nothing left
// connected), pre-install mode and SAML tokens (saved logins: the login suite).
#include "support/TestEnv.h"

#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/Exchange.h"
#include "platform/CRkNetwork.h"
#include "platform/RKPlatformInfo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <tuple>

#include <sys/stat.h>

namespace {

using namespace std::chrono_literals;

VSDKAPIGlobalData* state() { return g_dataMap.current(); }

class StartupTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (state()) VSDKDeInitialize();
        setenv("ORVANE_VM", env.options().instance.c_str(), 1);
    }
    bool noConnectionLeft() { return env.server().waitForOpenConnections(0, 5s); }

    vsdktest::TestEnv env;
};

TEST_F(StartupTest, ConnectsTheThreadAndTearsItDown) {
    ASSERT_EQ(0u, env.initThread());
    ASSERT_NE(nullptr, state()->getVSDKHandle().network);
    EXPECT_TRUE(state()->getVSDKHandle().network->IsConnected());
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    EXPECT_EQ("testclient", env.server().connections().back().clientName);

    // A second start-up leaves the record alone.
    state()->getUser() = "first";
    EXPECT_EQ(0x280u, env.initThread());
    EXPECT_EQ("first", state()->getUser());
    EXPECT_TRUE(state()->getVSDKHandle().network->IsConnected());
    EXPECT_EQ(1u, env.server().connections().size());

    EXPECT_EQ(0u, VSDKDeInitialize());
    EXPECT_EQ(nullptr, state());
    EXPECT_TRUE(noConnectionLeft());
    EXPECT_EQ(0x280u, VSDKDeInitialize());

    // Keeping the connection still releases what the thread owned.
    ASSERT_EQ(0u, env.initThread());
    EXPECT_EQ(0u, VSDKDeInitializeWithFlags(true));
    EXPECT_EQ(nullptr, state());
    EXPECT_TRUE(noConnectionLeft());
}

TEST_F(StartupTest, CallersNamesWinOverTheRegistrys) {
    ASSERT_EQ(0u, env.initThread([](_QInitializeParameters& p) {
        std::strcpy(p.mardockName, "LOCALHOST");
        p.mardockClientName = "callercs";
    }));
    EXPECT_EQ("LOCALHOST", state()->getMardockName());
    EXPECT_EQ("callercs", state()->getVSDKHandle().mardockClientName);
    VSDKDeInitialize();
    ASSERT_EQ(0u, env.initThread([](_QInitializeParameters& p) { p.mardockName[0] = '\0'; }));
    EXPECT_EQ("localhost", state()->getMardockName());
    EXPECT_EQ("simcs", state()->getVSDKHandle().mardockClientName);
    VSDKDeInitialize();
    // The C-string forms fill the record alike.
    ASSERT_EQ(0u, VSDKInitialize_NOSTL("LocalHost", nullptr, nullptr, nullptr, false, false, false));
    EXPECT_EQ("LocalHost", state()->getMardockName());
    VSDKDeInitialize();
    ASSERT_EQ(0u, VSDKInitializeWithLoginFlag_NOSTL("localhost", "", "", "SAML t", false, true, true, true));
    EXPECT_EQ("t", state()->getmultifenmarktoken());
}

TEST_F(StartupTest, TheFirstSourceOfTheInstanceNameWins) {
    for (const char* inst : {"FromRecord", "FromEnv", "FromFocus"}) {
        vsdktest::writeRegistryValue(env.root(), inst, "Network", "nCmdLineServicePort", std::to_string(env.port()));
        vsdktest::writeRegistryValue(env.root(), inst, "Mardock", "sMardockHostName", "localhost");
    }
    env.setFocusFile("FromFocus");
    // The record's name, ORVANE_VM (null: none of either), and the winner.
    const char* const cases[][3] = {
        {"FromRecord", "FromEnv", "FromRecord"}, {nullptr, "FromEnv", "FromEnv"}, {nullptr, nullptr, "FromFocus"}};
    for (const auto& c : cases) {
        c[1] ? setenv("ORVANE_VM", c[1], 1) : unsetenv("ORVANE_VM");
        RKPI_Focus::setFocus(nullptr);
        ASSERT_EQ(0u, env.initThread([&](_QInitializeParameters& p) {
            if (c[0]) std::strcpy(p.vmName, c[0]);
        }));
        EXPECT_STREQ(c[2], RKPI_Focus::getFocus());
        VSDKDeInitialize();
    }
    RKPI_Focus::setFocus(env.options().instance.c_str());
}

TEST_F(StartupTest, AFailedStartUpErasesTheRecordAndReleasesTheConnection) {
    struct Case {
        unsigned long code;
        const char* mardock;  // null: the test's
        bool sessionFile;
        const char* tokenFile;  // one that cannot be read (under the root unless absolute)
    };
    ASSERT_EQ(0, ::mkfifo((env.root() + "/fifo").c_str(), 0600));
    for (const Case& c : {Case{0x20d, nullptr, false, nullptr}, Case{0x20e, "", false, nullptr},
                          Case{0x30b, nullptr, true, "none"}, Case{0x30b, nullptr, false, "none"},
                          Case{0x30b, nullptr, false, "."}, Case{0x30b, nullptr, false, "fifo"},
                          Case{0x30b, nullptr, false, "/dev/zero"}, Case{0x10b, nullptr, true, nullptr},
                          Case{0x202, "127.0.0.2", false, nullptr},
                          Case{0x202, "no-such-host.invalid", false, nullptr}}) {
        if (c.code == 0x20d) {  // no instance name anywhere
            unsetenv("ORVANE_VM");
            RKPI_Focus::setFocus(nullptr);
        }
        if (c.code == 0x20e) env.removeValue("Mardock", "sMardockHostName");
        EXPECT_EQ(c.code, env.initThread([&](_QInitializeParameters& p) {
            if (c.mardock) std::strcpy(p.mardockName, c.mardock);
            p.useSessionFile = c.sessionFile;
            if (c.tokenFile) p.tokenFileLocation = *c.tokenFile == '/' ? c.tokenFile : env.root() + "/" + c.tokenFile;
        })) << (c.mardock ? c.mardock : "");
        EXPECT_EQ(nullptr, state());
        EXPECT_TRUE(noConnectionLeft());
        setenv("ORVANE_VM", env.options().instance.c_str(), 1);
        env.setValue("Mardock", "sMardockHostName", "localhost");
    }
}

// Whatever answers on the service port, its refusal reaches the log in the
// one line of its call, escaped: it can start no line of its own.
TEST_F(StartupTest, AHandshakeRefusalStaysInsideItsLogLine) {
    env.server().refuseHandshakes("REFUSED\r\n4242 4242 2030/01/01 00:00:00.000 0 VSDKLoginApi() [1] ok\x1b[2J");
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x202u, env.initThread());
    const std::string log = env.logSince(mark);
    const std::size_t at = log.find(R"(REFUSED\r\n4242 4242 2030/01/01 00:00:00.000 0 VSDKLoginApi() [1] ok\x1B[2J)");
    ASSERT_NE(std::string::npos, at) << log;
    const std::size_t lineStart = log.rfind('\n', at) + 1;
    EXPECT_NE(std::string::npos, log.substr(lineStart, at - lineStart).find("network error:[")) << log;
    EXPECT_EQ(std::string::npos, log.find("\n4242 4242"));
    EXPECT_EQ(std::string::npos, log.find_first_of("\r\x1b"));
    EXPECT_EQ(nullptr, state());
}

TEST_F(StartupTest, FailureTwinsSucceed) {
    // A non-zero port type needs no instance name.
    unsetenv("ORVANE_VM");
    RKPI_Focus::setFocus(nullptr);
    EXPECT_EQ(0u, env.initThread([](_QInitializeParameters& p) { p.portType = 1; }));
    VSDKDeInitialize();
    setenv("ORVANE_VM", env.options().instance.c_str(), 1);
    // A start-up that does not connect needs no Mardock name, and its record
    // sends nothing.
    const std::size_t connections = env.server().connections().size();
    env.removeValue("Mardock", "sMardockHostName");
    EXPECT_EQ(0u, env.initThread([](_QInitializeParameters& p) { p.mardockName[0] = '\0'; }, false, true, true));
    OrvaneOperations::QAgeDataReqMsg request;
    CNMessageBase* reply = nullptr;
    EXPECT_EQ(0x202u, SendAndReceive(nullptr, request, OrvaneOperations::QAgeDataRespMsg::kTag, reply));
    EXPECT_EQ(connections, env.server().connections().size());
    EXPECT_EQ(0u, VSDKDeInitializeWithFlags(true));
    env.setValue("Mardock", "sMardockHostName", "localhost");
    // A start-up for a login looks no saved login up.
    ASSERT_EQ(0u, env.initThread([](_QInitializeParameters& p) { p.useSessionFile = true; }, true));
    EXPECT_EQ("", state()->getGuid());
    // Null records are refused before anything is made.
    VSDKDeInitialize();
    EXPECT_EQ(0x303u, VSDKInitialize(nullptr));
    EXPECT_EQ(nullptr, state());
}

TEST_F(StartupTest, PreInstallModeDecidesTheAuthenticationMethod) {
    // nEnablePreInstallVCMD (null: absent), the registry names another
    // Mardock, the preInstallMode argument, and the method the server sees.
    const std::tuple<const char*, bool, bool, int> cases[] = {
        {"1", false, false, 1}, {"0", true, true, 0}, {nullptr, false, true, 0}, {nullptr, true, true, 1},
        {nullptr, true, false, 0}};
    for (const auto& [registryValue, otherMardock, argument, authMethod] : cases) {
        if (registryValue) env.setValue("EventManager", "nEnablePreInstallVCMD", std::string(registryValue));
        if (!registryValue) env.removeValue("EventManager", "nEnablePreInstallVCMD");
        env.setValue("Mardock", "sMardockHostName", otherMardock ? "othercs.invalid" : "localhost");
        ASSERT_EQ(0u, env.initThread([](_QInitializeParameters&) {}, false, argument));
        ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
        EXPECT_EQ(authMethod, env.server().connections().back().authMethod) << argument;
        VSDKDeInitialize();
        ASSERT_TRUE(noConnectionLeft());
    }
}

TEST_F(StartupTest, ASamlTokenLosesItsFirstFiveCharactersAndStaysOutOfTheLog) {
    struct Case {
        const char* token;
        bool fromFile, hostFromRegistry, loginFlag;
        const char* multiDomainToken;
        const char* clientName;
    };
    const char* const dummy = "_DummyCSClientName_";
    for (const Case& c : {Case{"SAML tok123", false, false, false, "tok123", dummy},
                          Case{"SAML tok123", false, true, false, "tok123", "simcs"},
                          Case{"SAML tok123", false, false, true, "tok123", "simcs"},
                          Case{"abcSAML xyz7", false, false, false, "ML xyz7", dummy},
                          Case{"SAML fromfile", true, false, false, "fromfile", dummy}}) {
        SCOPED_TRACE(c.token);
        const std::string file = env.root() + "/saml.token";
        std::ofstream(file) << c.token;
        ASSERT_EQ(0u, env.initThread(
                          [&](_QInitializeParameters& p) {
                              p.useSessionFile = true;  // no look-up for a SAML token
                              (c.fromFile ? p.tokenFileLocation : p.tokenString) = c.fromFile ? file : c.token;
                              if (c.hostFromRegistry) p.mardockName[0] = '\0';
                          },
                          c.loginFlag));
        EXPECT_TRUE(state()->ismultifenmarktoken());
        EXPECT_EQ(c.multiDomainToken, state()->getmultifenmarktoken());
        EXPECT_EQ(c.clientName, state()->getVSDKHandle().mardockClientName);
        VSDKDeInitialize();
        // The token is a credential: the log says that one came, not what it is.
        EXPECT_FALSE(env.logContains(c.multiDomainToken));
    }
    EXPECT_EQ(5u, env.logCount("Found Saml token [****]"));
}

// The dump reads the name to its bound (the whole dump is in recorddump_test).
TEST(InitializeParametersTest, DumpReadsTheNameToItsBound) {
    _QInitializeParameters p;
    std::memset(p.mardockName, 'm', sizeof p.mardockName);  // no terminating zero
    EXPECT_EQ(0u, p.c_str().find("\nMardock:[" + std::string(256, 'm') + "]\nVM Name:[]"));
}

TEST_F(StartupTest, GetVMNameCutsTheNameOrFallsBackToTheFocus) {
    char out[1024];
    setenv("ORVANE_VM", "Instance007 \t\n", 1);
    ASSERT_EQ(0u, VSDKGetVMName(out));
    EXPECT_STREQ("Instance007", out);
    setenv("ORVANE_VM", std::string(2000, 'v').c_str(), 1);
    ASSERT_EQ(0u, VSDKGetVMName(out));
    EXPECT_EQ(std::string(1023, 'v'), out);

    unsetenv("ORVANE_VM");
    RKPI_Focus::setFocus("Focused");
    ASSERT_EQ(0u, VSDKGetVMName(out));
    EXPECT_STREQ("Focused", out);
    RKPI_Focus::setFocus(nullptr);
    EXPECT_EQ(0x20du, VSDKGetVMName(out));
    EXPECT_STREQ("Focused", out);
    EXPECT_EQ(0x20du, VSDKAPISetFocus());
    EXPECT_EQ(0u, VSDKInitForStoredProcedure("Stored"));
    EXPECT_EQ(0u, VSDKInitForStoredProcedure(nullptr));  // changes nothing
    EXPECT_STREQ("Stored", RKPI_Focus::getFocus());
}

TEST_F(StartupTest, IsDockedOnCsComparesNamesAndAddresses) {
    const std::tuple<const char*, unsigned long, bool> cases[] = {
        {"LocalHost", 0, true}, {"127.0.0.1", 0, true}, {"127.0.0.2", 0, false},
        {"no-such-host.invalid", 0x126, false}};
    for (const auto& [name, rc, expected] : cases) {
        bool same = !expected;
        EXPECT_EQ(rc, isDockedOnCs(name, same)) << name;
        EXPECT_EQ(expected, same) << name;
    }
}

}  // namespace
