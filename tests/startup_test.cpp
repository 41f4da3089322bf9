// Start-up and tear-down of a thread against the simulated server: where each
// setting comes from, every failure (with the record erased and nothing left
// connected), pre-install mode, saved logins and tear-down.
#include "support/TestEnv.h"

#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/Exchange.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "platform/CRkNetwork.h"
#include "platform/RKPlatformInfo.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

VSDKAPIGlobalData* state() { return g_dataMap.current(); }

// A loopback port where nothing listens.
unsigned short closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&sin), sizeof sin);
    socklen_t len = sizeof sin;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sin), &len);
    ::close(fd);
    return ntohs(sin.sin_port);
}

class StartupTest : public ::testing::Test {
protected:
    StartupTest() : env(options()) {}
    static vsdktest::EnvOptions options() {
        vsdktest::EnvOptions o;
        o.commandTimeout = 5;
        return o;
    }
    void TearDown() override {
        if (state()) VSDKDeInitialize();
    }

    _QInitializeParameters params() {
        _QInitializeParameters p;
        env.fillInitParams(p);
        return p;
    }
    simserver::Connection lastConnection() {
        auto all = env.server().connections();
        return all.empty() ? simserver::Connection() : all.back();
    }
    bool noConnectionLeft() { return env.server().waitForOpenConnections(0, 5s); }

    vsdktest::TestEnv env;
};

TEST_F(StartupTest, ConnectsTheThreadToTheService) {
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, env.initThread());
    ASSERT_NE(nullptr, state());
    CRkNetwork* network = state()->getVSDKHandle().network;
    ASSERT_NE(nullptr, network);
    EXPECT_TRUE(network->IsConnected());
    EXPECT_EQ("localhost", state()->getMardockName());
    EXPECT_EQ("simcs", state()->getVSDKHandle().mardockClientName);
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    const simserver::Connection c = lastConnection();
    EXPECT_EQ("CMDLINE_SERVICE", c.service);
    EXPECT_EQ("testclient", c.clientName);
    EXPECT_TRUE(env.logContains("Connected to VSDK service [localhost * simcs] successfully.", mark));
    EXPECT_TRUE(env.logContains("No session file.First time login. So conenct to the server to login.", mark));
    EXPECT_TRUE(env.logContains(
        "Connection to VSDK Service with parameters: serviceName:[CMDLINE_SERVICE] CSMangled "
        "name:[localhost*simcs*8400*8402] CSClient name [simcs] local client Name from "
        "registry[testclient]",
        mark));
}

TEST_F(StartupTest, RegistersTheMessageFamilies) {
    ASSERT_EQ(0u, env.initThread());
    for (int module : {4, 5, 6, 1, 10}) EXPECT_TRUE(vsdkmsg::isRegistered(module)) << module;
}

// --- Where the settings come from ---------------------------------------

TEST_F(StartupTest, CallersHostAndClientNamesWin) {
    _QInitializeParameters p = params();
    std::strcpy(p.mardockName, "LOCALHOST");
    p.mardockClientName = "callercs";
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKInitialize(&p));
    EXPECT_EQ("LOCALHOST", state()->getMardockName());
    EXPECT_EQ("callercs", state()->getVSDKHandle().mardockClientName);
    EXPECT_TRUE(env.logContains("Mardock Host Name User Input:[LOCALHOST]", mark));
    EXPECT_TRUE(env.logContains("Mardock client Name:[callercs] from input", mark));
    EXPECT_TRUE(env.logContains("Login with csClientName:[callercs]", mark));
}

TEST_F(StartupTest, RegistryGivesHostAndClientNamesWhenTheCallerDoesNot) {
    _QInitializeParameters p = params();
    p.mardockName[0] = '\0';
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKInitialize(&p));
    EXPECT_EQ("localhost", state()->getMardockName());
    EXPECT_EQ("simcs", state()->getVSDKHandle().mardockClientName);
    EXPECT_TRUE(env.logContains("Mardock Host Name from Registry:[localhost]", mark));
    EXPECT_TRUE(env.logContains("Mardock client Name:[simcs] from Registry", mark));
}

TEST_F(StartupTest, NoClientNameAnywhereLeavesTheHandlesEmpty) {
    env.removeValue("Mardock", "sMardockClientName");
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, env.initThread());
    EXPECT_EQ("", state()->getVSDKHandle().mardockClientName);
    EXPECT_FALSE(env.logContains("Login with csClientName", mark));
}

struct InstanceCase {
    const char* name;
    const char* recordVm;  // null: none
    const char* envVm;     // null: ORVANE_VM unset
    const char* focusFile; // null: no focus file
    const char* expected;
};

class InstanceTest : public StartupTest, public ::testing::WithParamInterface<InstanceCase> {};

TEST_P(InstanceTest, FirstSourceWins) {
    const InstanceCase& c = GetParam();
    // Every instance the test may select points at the same server.
    for (const char* inst : {"FromRecord", "FromEnv", "FromFocus"}) {
        vsdktest::writeRegistryValue(env.root(), inst, "Network", "nCmdLineServicePort",
                                     std::to_string(env.port()));
        vsdktest::writeRegistryValue(env.root(), inst, "Mardock", "sMardockHostName", "localhost");
    }
    if (c.envVm) {
        setenv("ORVANE_VM", c.envVm, 1);
    } else {
        unsetenv("ORVANE_VM");
    }
    RKPI_Focus::setFocus(nullptr);
    std::remove((env.root() + "/focus").c_str());
    if (c.focusFile) env.setFocusFile(c.focusFile);

    _QInitializeParameters p = params();
    if (c.recordVm) std::strcpy(p.vmName, c.recordVm);
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKInitialize(&p)) << c.name;
    EXPECT_STREQ(c.expected, RKPI_Focus::getFocus()) << c.name;
    EXPECT_TRUE(env.logContains(std::string("Orvane Instance name: [") + c.expected + "]", mark));
    VSDKDeInitialize();
    setenv("ORVANE_VM", env.options().instance.c_str(), 1);
    RKPI_Focus::setFocus(env.options().instance.c_str());
}

const InstanceCase kInstances[] = {
    {"record", "FromRecord", "FromEnv", "FromFocus", "FromRecord"},
    {"environment", nullptr, "FromEnv", "FromFocus", "FromEnv"},
    {"focus", nullptr, nullptr, "FromFocus", "FromFocus"},
};

INSTANTIATE_TEST_SUITE_P(Sources, InstanceTest, ::testing::ValuesIn(kInstances));

TEST_F(StartupTest, PortTypeSkipsTheInstanceName) {
    unsetenv("ORVANE_VM");
    RKPI_Focus::setFocus(nullptr);
    _QInitializeParameters p = params();
    p.portType = 1;
    // Registry reads then go to the default instance, which is the test's.
    EXPECT_EQ(0u, VSDKInitialize(&p));
    p.portType = 0;
    VSDKDeInitialize();
    EXPECT_EQ(0x20du, VSDKInitialize(&p));
    setenv("ORVANE_VM", env.options().instance.c_str(), 1);
}

// --- Failures: the record is erased and nothing stays connected ---------

struct FailureCase {
    const char* name;
    unsigned long code;
    void (*prepare)(vsdktest::TestEnv&, _QInitializeParameters&);
    const char* logLine;
};

class StartupFailureTest : public StartupTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StartupFailureTest, ErasesTheRecordAndReleasesTheConnection) {
    const FailureCase& c = GetParam();
    _QInitializeParameters p = params();
    c.prepare(env, p);
    const std::size_t mark = env.logMark();
    EXPECT_EQ(c.code, VSDKInitialize(&p)) << c.name;
    EXPECT_EQ(nullptr, state()) << c.name;
    EXPECT_TRUE(noConnectionLeft()) << c.name;
    if (*c.logLine) {
        EXPECT_TRUE(env.logContains(c.logLine, mark)) << c.name << "\n" << env.logSince(mark);
    }
    // The thread can start up again once the cause is gone.
    setenv("ORVANE_VM", env.options().instance.c_str(), 1);
    env.setValue("Network", "nCmdLineServicePort", static_cast<long long>(env.port()));
    env.setValue("Mardock", "sMardockHostName", env.mardockName());
    EXPECT_EQ(0u, env.initThread()) << c.name;
}

const FailureCase kFailures[] = {
    {"no instance name", 0x20d,
     [](vsdktest::TestEnv&, _QInitializeParameters&) {
         unsetenv("ORVANE_VM");
         RKPI_Focus::setFocus(nullptr);
     },
     ""},
    {"no Mardock name anywhere", 0x20e,
     [](vsdktest::TestEnv& env, _QInitializeParameters& p) {
         p.mardockName[0] = '\0';
         env.removeValue("Mardock", "sMardockHostName");
     },
     "Error code [0x20e] Error string [Mardock name not specified]"},
    {"token file cannot be opened", 0x30b,
     [](vsdktest::TestEnv& env, _QInitializeParameters& p) {
         p.tokenFileLocation = env.root() + "/no/such/tokenfile";
     },
     ""},
    {"token file cannot be opened, session file off", 0x30b,
     [](vsdktest::TestEnv& env, _QInitializeParameters& p) {
         p.tokenFileLocation = env.root() + "/no/such/tokenfile";
         p.useSessionFile = false;
     },
     ""},
    {"no saved login for the Mardock", 0x10b,
     [](vsdktest::TestEnv&, _QInitializeParameters& p) { p.useSessionFile = true; },
     "Commands other than vlogin searching the token file."},
    {"nothing listens", 0x202,
     [](vsdktest::TestEnv& env, _QInitializeParameters&) {
         env.setValue("Network", "nCmdLineServicePort", static_cast<long long>(closedPort()));
     },
     "Connection to VSDK Service failed with network error:["},
    {"host cannot be resolved", 0x202,
     [](vsdktest::TestEnv&, _QInitializeParameters& p) {
         std::strcpy(p.mardockName, "no-such-host.invalid");
     },
     "Error code [0x202] Error string ["},
};

INSTANTIATE_TEST_SUITE_P(Codes, StartupFailureTest, ::testing::ValuesIn(kFailures));

TEST_F(StartupTest, AServiceTheServerDoesNotOfferIsRefused) {
    simserver::Options o;
    o.services = {"SOME_OTHER_SERVICE"};
    simserver::SimServer other(o);
    ASSERT_TRUE(other.ok());
    env.setValue("Network", "nCmdLineServicePort", static_cast<long long>(other.port()));
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x202u, env.initThread());
    EXPECT_EQ(nullptr, state());
    ASSERT_FALSE(other.connections().empty());
    EXPECT_TRUE(other.connections().back().refused);
    EXPECT_TRUE(env.logContains("refused", mark));
}

TEST_F(StartupTest, NullRecordIsRefused) {
    EXPECT_EQ(0x303u, VSDKInitialize(nullptr));
    EXPECT_EQ(0x303u, VSDKInitializeWithLoginFlag(nullptr, false, false, false));
    EXPECT_EQ(nullptr, state());
}

TEST_F(StartupTest, SecondStartUpLeavesTheFirstRecordAlone) {
    ASSERT_EQ(0u, env.initThread());
    state()->getUser() = "first";
    CRkNetwork* first = state()->getVSDKHandle().network;
    EXPECT_EQ(0x280u, env.initThread());
    ASSERT_NE(nullptr, state());
    EXPECT_EQ("first", state()->getUser());
    EXPECT_EQ(first, state()->getVSDKHandle().network);
    EXPECT_TRUE(first->IsConnected());
    EXPECT_EQ(1u, env.server().connections().size());
}

// --- Pre-install mode ---------------------------------------------------

struct PreInstallCase {
    const char* name;
    const char* registryValue;  // nEnablePreInstallVCMD, null: absent
    bool otherMardock;          // the registry names another Mardock
    bool argument;              // preInstallMode argument
    int authMethod;             // what the server must see
    const char* logLine;
};

class PreInstallTest : public StartupTest, public ::testing::WithParamInterface<PreInstallCase> {};

TEST_P(PreInstallTest, DecidesTheAuthenticationMethod) {
    const PreInstallCase& c = GetParam();
    if (c.registryValue) env.setValue("EventManager", "nEnablePreInstallVCMD", std::string(c.registryValue));
    if (c.otherMardock) env.setValue("Mardock", "sMardockHostName", "othercs.invalid");
    _QInitializeParameters p = params();
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKInitializeWithLoginFlag(&p, false, c.argument, false)) << c.name;
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    EXPECT_EQ(c.authMethod, lastConnection().authMethod) << c.name;
    EXPECT_TRUE(env.logContains(c.logLine, mark)) << c.name << "\n" << env.logSince(mark);
}

const PreInstallCase kPreInstall[] = {
    {"registry on", "1", false, false, 1,
     "Found registry nEnablePreInstallVCMD. So setting enable pre install mode: [1]"},
    {"registry off", "0", true, true, 0,
     "Found registry nEnablePreInstallVCMD. So setting enable pre install mode: [0]"},
    {"same Mardock", nullptr, false, true, 0,
     "Registry nEnablePreInstallVCMD is not present and trying to talk to same CS. So setting "
     "enable pre install mode: [0]"},
    {"other Mardock, argument on", nullptr, true, true, 1,
     "Registry nEnablePreInstallVCMD is not present and trying to talk to different CS. So "
     "setting enable pre install mode: [1]"},
    {"other Mardock, argument off", nullptr, true, false, 0,
     "Registry nEnablePreInstallVCMD is not present and trying to talk to different CS. So "
     "setting enable pre install mode: [0]"},
};

INSTANTIATE_TEST_SUITE_P(Modes, PreInstallTest, ::testing::ValuesIn(kPreInstall));

TEST_F(StartupTest, VSDKInitializeAsksForPreInstallModeTowardsAnotherMardock) {
    env.setValue("Mardock", "sMardockHostName", "othercs.invalid");
    ASSERT_EQ(0u, env.initThread());
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    EXPECT_EQ(1, lastConnection().authMethod);
}

// --- Saved logins -------------------------------------------------------

TEST_F(StartupTest, SamlTokenWithCallersHostUsesTheDummyClientName) {
    _QInitializeParameters p = params();
    p.tokenString = "SAML tok123";
    p.useSessionFile = true;  // no look-up for a SAML token
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKInitialize(&p));
    EXPECT_TRUE(state()->ismultifenmarktoken());
    EXPECT_EQ("tok123", state()->getmultifenmarktoken());
    EXPECT_EQ("_DummyCSClientName_", state()->getVSDKHandle().mardockClientName);
    EXPECT_TRUE(env.logContains("Found Saml token [", mark));
    EXPECT_FALSE(env.logContains("tok123", mark));
}

TEST_F(StartupTest, SamlTokenKeepsTheClientNameWithRegistryHostOrALogin) {
    _QInitializeParameters p = params();
    p.tokenString = "SAML tok";
    p.mardockName[0] = '\0';
    ASSERT_EQ(0u, VSDKInitialize(&p));
    EXPECT_EQ("simcs", state()->getVSDKHandle().mardockClientName);
    VSDKDeInitialize();

    p = params();
    p.tokenString = "SAML tok";
    ASSERT_EQ(0u, VSDKInitializeWithLoginFlag(&p, true, false, false));
    EXPECT_EQ("simcs", state()->getVSDKHandle().mardockClientName);
    EXPECT_EQ("tok", state()->getmultifenmarktoken());
}

TEST_F(StartupTest, SamlAnywhereInTheTokenCutsItsFirstFiveCharacters) {
    _QInitializeParameters p = params();
    p.tokenString = "abcSAML xyz";
    ASSERT_EQ(0u, VSDKInitialize(&p));
    EXPECT_EQ("ML xyz", state()->getmultifenmarktoken());
}

TEST_F(StartupTest, SamlTokenFromTheCallersTokenFile) {
    const std::string file = env.root() + "/saml.token";
    std::ofstream(file) << "SAML fromfile";
    _QInitializeParameters p = params();
    p.tokenFileLocation = file;
    ASSERT_EQ(0u, VSDKInitialize(&p));
    EXPECT_EQ("fromfile", state()->getmultifenmarktoken());
}

TEST_F(StartupTest, SessionFileStartUpTakesTheSavedLogin) {
    // Save a login for the Mardock in the calling user's store.
    ASSERT_EQ(0u, env.initThread());
    _VSDKTokenFileContents entry;
    ASSERT_TRUE(makeVSDKTokenEntry(entry, "localhost", "storedcs", "alice", "savedtoken"));
    ASSERT_EQ(0u, setVSDKTokenInfo(entry, ""));
    VSDKDeInitialize();

    _QInitializeParameters p = params();
    p.useSessionFile = true;
    ASSERT_EQ(0u, VSDKInitialize(&p));
    EXPECT_EQ("savedtoken", state()->getGuid());
    EXPECT_EQ("alice", state()->getUser());
    EXPECT_EQ("storedcs", state()->getVSDKHandle().mardockClientName);
    EXPECT_EQ("localhost", state()->getMardockName());
}

TEST_F(StartupTest, ALoginStartUpLooksNothingUp) {
    _QInitializeParameters p = params();
    p.useSessionFile = true;
    ASSERT_EQ(0u, VSDKInitializeWithLoginFlag(&p, true, false, false));
    EXPECT_EQ("", state()->getGuid());
}

// --- Tear-down ------------------------------------------------------------

TEST_F(StartupTest, TearDownDisconnectsAndErases) {
    ASSERT_EQ(0u, env.initThread());
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0u, VSDKDeInitialize());
    EXPECT_EQ(nullptr, state());
    EXPECT_TRUE(noConnectionLeft());
    EXPECT_TRUE(env.logContains("Disconnected from VSDK service.", mark));
    EXPECT_EQ(0x280u, VSDKDeInitialize());
    EXPECT_EQ(0x280u, VSDKDeInitializeWithFlags(true));
}

TEST_F(StartupTest, KeepingTheConnectionStillReleasesWhatTheThreadOwned) {
    ASSERT_EQ(0u, env.initThread());
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0u, VSDKDeInitializeWithFlags(true));
    EXPECT_EQ(nullptr, state());
    EXPECT_FALSE(env.logContains("Disconnected from VSDK service.", mark));
    EXPECT_TRUE(noConnectionLeft());
    OrvaneOperations::QAgeDataReqMsg request;
    CNMessageBase* reply = nullptr;
    EXPECT_EQ(0x280u, SendAndReceive(nullptr, request, OrvaneOperations::QAgeDataRespMsg::kTag, reply));
}

TEST_F(StartupTest, NoConnectStartUpHasARecordButNoConnection) {
    _QInitializeParameters p = params();
    ASSERT_EQ(0u, VSDKInitializeWithLoginFlag(&p, false, false, true));
    ASSERT_NE(nullptr, state());
    EXPECT_EQ(nullptr, state()->getVSDKHandle().network);
    EXPECT_EQ("localhost", state()->getMardockName());
    EXPECT_TRUE(env.server().connections().empty());
    OrvaneOperations::QAgeDataReqMsg request;
    CNMessageBase* reply = nullptr;
    EXPECT_EQ(0x202u, SendAndReceive(state()->getVSDKHandle().network, request,
                                     OrvaneOperations::QAgeDataRespMsg::kTag, reply));
    EXPECT_EQ(0u, env.server().requestCount());
    EXPECT_EQ(0u, VSDKDeInitializeWithFlags(true));
}

TEST_F(StartupTest, StartUpAndTearDownRepeatWithoutLeaking) {
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(0u, env.initThread());
        ASSERT_EQ(0u, VSDKDeInitialize());
    }
    EXPECT_TRUE(noConnectionLeft());
    EXPECT_EQ(20u, env.server().connections().size());
}

// --- The C-text start-ups and the record dump ----------------------------

TEST_F(StartupTest, NostlStartUpsFillTheRecord) {
    ASSERT_EQ(0u, VSDKInitialize_NOSTL("localhost", nullptr, nullptr, nullptr, false, false, false));
    EXPECT_EQ("localhost", state()->getMardockName());
    VSDKDeInitialize();
    ASSERT_EQ(0u, VSDKInitializeWithLoginFlag_NOSTL("localhost", "", "", "SAML t", false, true,
                                                    true, true));
    EXPECT_EQ("t", state()->getmultifenmarktoken());
    VSDKDeInitialize();
    const std::string longName(400, 'h');
    EXPECT_EQ(0x202u, VSDKInitialize_NOSTL(longName.c_str(), "", "", "", false, false, false));
}

TEST(InitializeParametersTest, DumpsEveryFieldButTheToken) {
    _QInitializeParameters p;
    std::strcpy(p.mardockName, "cs1");
    std::strcpy(p.vmName, "Instance001");
    p.tokenFileLocation = "/tmp/tok";
    p.useTokenFile = true;
    p.tokenString = "secret-token";
    p.portType = 42;
    p.mardockClientName = "cs1client";
    EXPECT_EQ(
        "\nMardock:[cs1]\nVM Name:[Instance001]\nToken File Location:[/tmp/tok]\nuse Token File "
        ":[1]\nuse Token String :[0]\nuse SessionFile :[1]\nPort Type:[42]\nCsClientName:[cs1client]",
        p.c_str());
}

TEST(InitializeParametersTest, UnterminatedNamesAreReadToTheirBound) {
    _QInitializeParameters p;
    std::memset(p.mardockName, 'm', sizeof p.mardockName);
    const std::string dump = p.c_str();
    EXPECT_NE(std::string::npos, dump.find("Mardock:[" + std::string(256, 'm') + "]"));
}

// --- Instance name and focus ------------------------------------------------

class VmNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* vm = std::getenv("ORVANE_VM");
        hadVm = vm != nullptr;
        if (vm) oldVm = vm;
    }
    void TearDown() override {
        if (hadVm) {
            setenv("ORVANE_VM", oldVm.c_str(), 1);
        } else {
            unsetenv("ORVANE_VM");
        }
        RKPI_Focus::setFocus(nullptr);
    }
    bool hadVm = false;
    std::string oldVm;
    vsdktest::TempRegistry registry;
};

TEST_F(VmNameTest, CutsTrailingWhiteSpace) {
    setenv("ORVANE_VM", "Instance007 \t\n", 1);
    char out[1024];
    ASSERT_EQ(0u, VSDKGetVMName(out));
    EXPECT_STREQ("Instance007", out);
}

TEST_F(VmNameTest, ANameOfBlanksStaysAsItIs) {
    setenv("ORVANE_VM", "  \t", 1);
    char out[1024];
    ASSERT_EQ(0u, VSDKGetVMName(out));
    EXPECT_STREQ("  \t", out);
}

TEST_F(VmNameTest, FallsBackToTheFocusAndFailsWithoutOne) {
    unsetenv("ORVANE_VM");
    RKPI_Focus::setFocus("Focused");
    char out[1024];
    ASSERT_EQ(0u, VSDKGetVMName(out));
    EXPECT_STREQ("Focused", out);
    RKPI_Focus::setFocus(nullptr);
    std::strcpy(out, "untouched");
    EXPECT_EQ(0x20du, VSDKGetVMName(out));
    EXPECT_STREQ("untouched", out);
    EXPECT_EQ(0x20du, VSDKAPISetFocus());
    EXPECT_EQ(0x303u, VSDKGetVMName(nullptr));
}

TEST_F(VmNameTest, LongNamesAreCut) {
    setenv("ORVANE_VM", std::string(2000, 'v').c_str(), 1);
    char out[1024];
    ASSERT_EQ(0u, VSDKGetVMName(out));
    EXPECT_EQ(1023u, std::strlen(out));
}

TEST_F(VmNameTest, SetFocusExports) {
    setenv("ORVANE_VM", "FromEnv", 1);
    EXPECT_EQ(0u, VSDKAPISetFocus());
    EXPECT_STREQ("FromEnv", RKPI_Focus::getFocus());
    EXPECT_EQ(0u, VSDKInitForStoredProcedure(nullptr));
    EXPECT_STREQ("FromEnv", RKPI_Focus::getFocus());
    EXPECT_EQ(0u, VSDKInitForStoredProcedure("Stored"));
    EXPECT_STREQ("Stored", RKPI_Focus::getFocus());
}

// --- Same Mardock test ------------------------------------------------------

TEST_F(VmNameTest, IsDockedOnCsComparesNamesAndAddresses) {
    registry.setValue(vsdktest::TempRegistry::kInstance, "Mardock", "sMardockHostName", "localhost");
    RKPI_Focus::setFocus(vsdktest::TempRegistry::kInstance);
    bool same = false;
    EXPECT_EQ(0u, isDockedOnCs("LocalHost", same));
    EXPECT_TRUE(same);
    EXPECT_EQ(0u, isDockedOnCs("127.0.0.1", same));
    EXPECT_TRUE(same);
    EXPECT_EQ(0u, isDockedOnCs("127.0.0.2", same));
    EXPECT_FALSE(same);
    same = true;
    EXPECT_EQ(0x126u, isDockedOnCs("no-such-host.invalid", same));
    EXPECT_FALSE(same);
    registry.setValue(vsdktest::TempRegistry::kInstance, "Mardock", "sMardockHostName", "othercs.invalid");
    EXPECT_EQ(0u, isDockedOnCs("127.0.0.1", same));
    EXPECT_FALSE(same);
}

}  // namespace
