// The stand-in network layer against the simulated server: attach and its
// handshake, frames and their failures, the receive time-out, address
// resolution, the pool, and the simulated server as a program of its own.
#include "support/TestEnv.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/RKGui.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "platform/CPvIPAddr.h"
#include "platform/CRkNetwork.h"
#include "platform/RKPlatformInfo.h"
#include "platform/RkNetworkPool.h"
#include "platform/RkWire.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using OrvaneOperations::QAgeDataReqMsg;
using OrvaneOperations::QAgeDataRespMsg;
using simserver::Action;

class NetworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        VSDKLogin::RegisterSubsystem();
        OrvaneOperations::RegisterSubsystem();
        OrvaneUtilities::RegisterSubsystem();
        RKGui::RegisterSubsystem();
        MediaManager::RegisterSubsystem();
    }
    ~NetworkTest() override { PVNET_SetFamilyPreference(0); }

    CPvError attach(CRkNetwork& c, const std::string& host = "localhost",
                    const std::string& service = "CMDLINE_SERVICE", int timeout = 5) {
        bool abort = false;
        return c.Attach_RemoteService(host, service, "netclient", timeout, abort);
    }
    CPvError sendAge(CRkNetwork& c) {
        QAgeDataReqMsg request;
        bool abort = false;
        return c.SendXMLMessage(request, 0, -1, abort);
    }
    CPvError receive(CRkNetwork& c, std::unique_ptr<CNMessageBase>& out, int timeout = 5) {
        CNMessageBase* raw = nullptr;
        unsigned long type = 0;
        bool abort = false;
        CPvError e = c.ReceiveXMLMessage(&type, raw, nullptr, 0, timeout, abort);
        out.reset(raw);
        if (raw) {
            EXPECT_EQ(raw->getTagID(), type);
        }
        return e;
    }

    vsdktest::TestEnv env;
};

TEST_F(NetworkTest, AttachOpensTheServiceWithAHandshake) {
    CRkNetwork c;
    EXPECT_FALSE(c.IsConnected());
    ASSERT_FALSE(attach(c).IsError());
    EXPECT_TRUE(c.IsConnected());
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    const simserver::Connection conn = env.server().connections().back();
    EXPECT_EQ("CMDLINE_SERVICE", conn.service);
    EXPECT_EQ("netclient", conn.clientName);
    EXPECT_EQ(0, conn.authMethod);
}

TEST_F(NetworkTest, TheAuthenticationMethodTravelsInTheHandshake) {
    CRkNetwork c;
    c.SetAuthenticationMethod(RK_AUTH_PREINSTALL);
    ASSERT_FALSE(attach(c).IsError());
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    EXPECT_EQ(1, env.server().connections().back().authMethod);
}

TEST_F(NetworkTest, AMangledHostIsAttachedByItsHostPart) {
    EXPECT_EQ("cs1*client1*8400*8402", MangleHostName("cs1", "client1", 8400, 8402));
    CRkNetwork c;
    EXPECT_FALSE(attach(c, MangleHostName("localhost", "simcs", 8400, 8402)).IsError());
}

struct AttachFailure {
    const char* name;
    const char* host;
    const char* service;
    int code;
};

class AttachFailureTest : public NetworkTest, public ::testing::WithParamInterface<AttachFailure> {};

TEST_P(AttachFailureTest, Fails) {
    const AttachFailure& c = GetParam();
    CRkNetwork net;
    CPvError e = attach(net, c.host, c.service);
    EXPECT_TRUE(e.IsError()) << c.name;
    EXPECT_EQ(c.code, e.GetErrorCode()) << c.name << ": " << e.AsString();
    EXPECT_FALSE(net.IsConnected());
    EXPECT_EQ(0, env.server().openConnections());
}

const AttachFailure kAttachFailures[] = {
    {"unknown service", "localhost", "NO_SUCH_SERVICE", kPvErrRefused},
    {"unresolvable host", "no-such-host.invalid", "CMDLINE_SERVICE", kPvErrResolve},
    {"empty host", "", "CMDLINE_SERVICE", kPvErrResolve},
    {"address where nothing listens", "127.0.0.2", "CMDLINE_SERVICE", kPvErrConnect},
};

INSTANTIATE_TEST_SUITE_P(Cases, AttachFailureTest, ::testing::ValuesIn(kAttachFailures));

TEST_F(NetworkTest, AttachUsesThePortOfTheRegistry) {
    env.removeValue("Network", "nCmdLineServicePort");
    EXPECT_EQ(kDefaultCmdLineServicePort, CRkNetwork::servicePort());
    env.setValue("Network", "nCmdLineServicePort", static_cast<long long>(env.port()));
    EXPECT_EQ(env.port(), CRkNetwork::servicePort());
}

TEST_F(NetworkTest, AttachOverIpv6) {
    if (!env.server().listensOnIpv6()) GTEST_SKIP() << "no IPv6 loopback";
    CRkNetwork c;
    ASSERT_FALSE(attach(c, "::1").IsError());
    EXPECT_FALSE(sendAge(c).IsError());
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_FALSE(receive(c, reply).IsError());
}

TEST_F(NetworkTest, OneMessagePerFrameBothWays) {
    CRkNetwork c;
    ASSERT_FALSE(attach(c).IsError());
    QAgeDataReqMsg request;
    msgf::putText(request, OrvaneOperations::kExecuteXml, std::string("bytes \x01\x02 and <>&\"", 17));
    bool abort = false;
    ASSERT_FALSE(c.SendXMLMessage(request, 0, -1, abort).IsError());
    std::unique_ptr<CNMessageBase> reply;
    ASSERT_FALSE(receive(c, reply).IsError());
    ASSERT_TRUE(reply);
    EXPECT_EQ(QAgeDataRespMsg::kTag, reply->getTagID());
    auto sent = env.server().journal();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(std::string("bytes \x01\x02 and <>&\"", 17),
              msgf::getText(*sent[0].message, OrvaneOperations::kExecuteXml));
}

struct ReceiveFailure {
    const char* name;
    Action action;
    int code;
    bool staysConnected;
};

class ReceiveFailureTest : public NetworkTest, public ::testing::WithParamInterface<ReceiveFailure> {};

TEST_P(ReceiveFailureTest, Fails) {
    const ReceiveFailure& c = GetParam();
    env.server().script(QAgeDataReqMsg::kTag, c.action);
    CRkNetwork net;
    ASSERT_FALSE(attach(net).IsError());
    ASSERT_FALSE(sendAge(net).IsError());
    std::unique_ptr<CNMessageBase> reply;
    CPvError e = receive(net, reply);
    EXPECT_EQ(c.code, e.GetErrorCode()) << c.name << ": " << e.AsString();
    EXPECT_FALSE(reply) << c.name;
    EXPECT_EQ(c.staysConnected, net.IsConnected()) << c.name;
}

const ReceiveFailure kReceiveFailures[] = {
    {"closed", Action::noReplyClose(), kPvErrClosed, false},
    {"truncated", Action::closeMidFrame(), kPvErrFrame, false},
    {"length beyond the maximum", Action::garbage(rkwire::frameHeader(64u * 1024u * 1024u + 1)),
     kPvErrFrame, false},
    {"undecodable document", Action::badDocument("<QAgeDataRespMsg tag="), kPvErrDecode, true},
    {"text that is no XML", Action::badDocument("hello"), kPvErrDecode, true},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReceiveFailureTest, ::testing::ValuesIn(kReceiveFailures));

TEST_F(NetworkTest, AnEmptyFrameIsASuccessWithoutMessage) {
    env.server().script(QAgeDataReqMsg::kTag, Action::emptyFrame());
    CRkNetwork c;
    ASSERT_FALSE(attach(c).IsError());
    ASSERT_FALSE(sendAge(c).IsError());
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_FALSE(receive(c, reply).IsError());
    EXPECT_FALSE(reply);
}

TEST_F(NetworkTest, ReceiveWaitsExactlyItsTimeOut) {
    env.server().script(QAgeDataReqMsg::kTag, Action::silent());
    CRkNetwork c;
    ASSERT_FALSE(attach(c).IsError());
    ASSERT_FALSE(sendAge(c).IsError());
    std::unique_ptr<CNMessageBase> reply;
    const auto start = std::chrono::steady_clock::now();
    CPvError e = receive(c, reply, 1);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(kPvErrTimeout, e.GetErrorCode());
    EXPECT_GE(waited, 1000ms);
    EXPECT_LT(waited, 1300ms);
    // A late reply must not be read as the answer to a later request.
    EXPECT_FALSE(c.IsConnected());
}

TEST_F(NetworkTest, ASlowReplyWithinTheTimeOutArrives) {
    env.server().script(QAgeDataReqMsg::kTag, Action::defaultReply().after(700ms));
    CRkNetwork c;
    ASSERT_FALSE(attach(c).IsError());
    ASSERT_FALSE(sendAge(c).IsError());
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_FALSE(receive(c, reply, 1).IsError());
    EXPECT_TRUE(reply);
}

TEST_F(NetworkTest, AMessageLargerThanAFrameIsNotSent) {
    CRkNetwork c;
    ASSERT_FALSE(attach(c).IsError());
    QAgeDataReqMsg request;
    msgf::putText(request, OrvaneOperations::kExecuteXml, std::string(rkwire::kMaxFrameBytes, 'a'));
    bool abort = false;
    CPvError e = c.SendXMLMessage(request, 0, -1, abort);
    EXPECT_EQ(kPvErrFrame, e.GetErrorCode());
    // Nothing reached the server; the connection still serves.
    EXPECT_FALSE(sendAge(c).IsError());
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_FALSE(receive(c, reply).IsError());
    EXPECT_EQ(1u, env.server().requestCount());
}

TEST_F(NetworkTest, SendAndReceiveNeedAConnection) {
    CRkNetwork c;
    EXPECT_EQ(kPvErrNotConnected, sendAge(c).GetErrorCode());
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_EQ(kPvErrNotConnected, receive(c, reply).GetErrorCode());
    bool abort = false;
    EXPECT_TRUE(c.Disconnect(10, abort).IsError());
    ASSERT_FALSE(attach(c).IsError());
    EXPECT_FALSE(c.Disconnect(10, abort).IsError());
    EXPECT_FALSE(c.IsConnected());
    EXPECT_TRUE(env.server().waitForOpenConnections(0, 5s));
}

TEST_F(NetworkTest, AnIdleConnectionTheServerClosedIsStale) {
    CRkNetwork c;
    ASSERT_FALSE(attach(c).IsError());
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    EXPECT_FALSE(c.isStale());
    env.server().closeAllConnections();
    ASSERT_TRUE(env.server().waitForOpenConnections(0, 5s));
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(c.isStale());
}

// --- Addresses --------------------------------------------------------------

TEST_F(NetworkTest, ResolvesAndComparesAddresses) {
    CPvIPAddr a, b, mapped;
    ASSERT_FALSE(CPvIPAddr::GetByName("127.0.0.1", a, 0).IsError());
    EXPECT_EQ("127.0.0.1", a.GetAddressString());
    EXPECT_EQ(4, a.GetFamily());
    ASSERT_FALSE(CPvIPAddr::GetByName("localhost", b, 4).IsError());
    EXPECT_TRUE(a == b);
    ASSERT_FALSE(CPvIPAddr::GetByName("::ffff:127.0.0.1", mapped, 0).IsError());
    EXPECT_TRUE(a == mapped);
    CPvIPAddr other;
    ASSERT_FALSE(CPvIPAddr::GetByName("127.0.0.2", other, 0).IsError());
    EXPECT_TRUE(a != other);
    EXPECT_TRUE(CPvIPAddr::GetByName("127.0.0.1", other, 6).IsError());
    EXPECT_TRUE(CPvIPAddr::GetByName("::1", other, 4).IsError());
    EXPECT_TRUE(CPvIPAddr::GetByName("no-such-host.invalid", other, 0).IsError());
    EXPECT_TRUE(CPvIPAddr::GetByName(nullptr, other, 0).IsError());
}

TEST_F(NetworkTest, ThePreferredFamilyComesFirst) {
    // A host with both families: take one from the resolver, if any.
    std::vector<CPvIPAddr> all;
    const char* dual = nullptr;
    for (const char* name : {"localhost", "ip6-localhost", "localhost6"}) {
        if (!CPvIPAddr::GetAllByName(name, all, 0).IsError() && all.size() > 1) {
            bool v4 = false, v6 = false;
            for (const CPvIPAddr& x : all) (x.GetFamily() == 4 ? v4 : v6) = true;
            if (v4 && v6) {
                dual = name;
                break;
            }
        }
    }
    if (!dual) GTEST_SKIP() << "no host name with both address families";
    for (int family : {4, 6}) {
        CPvIPAddr::SetPreferredFamily(family);
        CPvIPAddr first;
        ASSERT_FALSE(CPvIPAddr::GetByName(dual, first, 0).IsError());
        EXPECT_EQ(family, first.GetFamily());
    }
}

// --- The pool -----------------------------------------------------------------

class NetworkPoolTest : public NetworkTest {
protected:
    void init(int max, int attachTimeout = 5) {
        ASSERT_FALSE(pool.initNetworkPool("CMDLINE_SERVICE", "localhost*simcs*8400*8402", "poolclient",
                                          attachTimeout, 600, 1, max, 1)
                         .IsError());
    }
    RkNetworkPool pool;
};

TEST_F(NetworkPoolTest, ConnectsLazilyAndLendsEachConnectionOnce) {
    init(3);
    EXPECT_EQ(0, pool.connectionCount());
    EXPECT_TRUE(env.server().connections().empty());
    CRkNetwork *a = nullptr, *b = nullptr;
    ASSERT_FALSE(pool.getSessionObject(a).IsError());
    ASSERT_FALSE(pool.getSessionObject(b).IsError());
    EXPECT_NE(a, b);
    EXPECT_EQ(2, pool.lentCount());
    ASSERT_FALSE(pool.releaseSessionObject(a).IsError());
    CRkNetwork* c = nullptr;
    ASSERT_FALSE(pool.getSessionObject(c).IsError());
    EXPECT_EQ(a, c);  // the idle one again, no new connection
    EXPECT_EQ(2u, env.server().connections().size());
    EXPECT_EQ("poolclient", env.server().connections().front().clientName);
    pool.releaseSessionObject(b);
    pool.releaseSessionObject(c);
    EXPECT_EQ(0, pool.lentCount());
    EXPECT_EQ(2, pool.idleCount());
}

TEST_F(NetworkPoolTest, ABorrowerBeyondTheBoundWaitsForAReturn) {
    init(1);
    CRkNetwork* a = nullptr;
    ASSERT_FALSE(pool.getSessionObject(a).IsError());
    std::thread giver([&] {
        std::this_thread::sleep_for(200ms);
        pool.releaseSessionObject(a);
    });
    CRkNetwork* b = nullptr;
    EXPECT_FALSE(pool.getSessionObject(b).IsError());
    giver.join();
    EXPECT_EQ(a, b);
    EXPECT_EQ(1u, env.server().connections().size());
    pool.releaseSessionObject(b);
}

TEST_F(NetworkPoolTest, ABorrowerBeyondTheBoundGivesUpAfterTheAttachTimeOut) {
    init(1, 1);
    CRkNetwork* a = nullptr;
    ASSERT_FALSE(pool.getSessionObject(a).IsError());
    CRkNetwork* b = nullptr;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(kPvErrPoolExhausted, pool.getSessionObject(b).GetErrorCode());
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_EQ(nullptr, b);
    pool.releaseSessionObject(a);
}

TEST_F(NetworkPoolTest, DropsBrokenConnections) {
    init(2);
    CRkNetwork* a = nullptr;
    ASSERT_FALSE(pool.getSessionObject(a).IsError());
    bool abort = false;
    a->Disconnect(10, abort);
    pool.releaseSessionObject(a);
    EXPECT_EQ(0, pool.connectionCount());

    CRkNetwork* b = nullptr;
    ASSERT_FALSE(pool.getSessionObject(b).IsError());
    pool.discardSessionObject(b);
    EXPECT_EQ(0, pool.connectionCount());
    EXPECT_TRUE(env.server().waitForOpenConnections(0, 5s));
}

TEST_F(NetworkPoolTest, AnIdleConnectionThatWentStaleIsReplaced) {
    init(2);
    CRkNetwork* a = nullptr;
    ASSERT_FALSE(pool.getSessionObject(a).IsError());
    pool.releaseSessionObject(a);
    env.server().closeAllConnections();
    ASSERT_TRUE(env.server().waitForOpenConnections(0, 5s));
    std::this_thread::sleep_for(50ms);
    CRkNetwork* b = nullptr;
    ASSERT_FALSE(pool.getSessionObject(b).IsError());
    EXPECT_FALSE(sendAge(*b).IsError());
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_FALSE(receive(*b, reply).IsError());
    pool.releaseSessionObject(b);
    EXPECT_EQ(1, pool.connectionCount());
}

TEST_F(NetworkPoolTest, RefusesWhatItDidNotLend) {
    init(1);
    CRkNetwork stranger;
    EXPECT_TRUE(pool.releaseSessionObject(&stranger).IsError());
    EXPECT_TRUE(pool.releaseSessionObject(nullptr).IsError());
}

TEST_F(NetworkPoolTest, AFailedAttachLeavesRoomForTheNextBorrower) {
    init(1);
    env.server().stop();
    CRkNetwork* a = nullptr;
    EXPECT_TRUE(pool.getSessionObject(a).IsError());
    EXPECT_TRUE(pool.getSessionObject(a).IsError());  // not "exhausted": the slot came back
    EXPECT_EQ(0, pool.connectionCount());
}

TEST(NetworkPoolInitTest, FailsForAHostThatCannotBeResolved) {
    RkNetworkPool pool;
    EXPECT_TRUE(pool.initNetworkPool("CMDLINE_SERVICE", "no-such-host.invalid*c*8400*8402", "x",
                                     120, 600, 1, 5, 1)
                    .IsError());
    CRkNetwork* c = nullptr;
    EXPECT_TRUE(pool.getSessionObject(c).IsError());
    EXPECT_TRUE(pool.initNetworkPool("CMDLINE_SERVICE", "localhost", "x", 120, 600, 1, 0, 1).IsError());
}

// --- The program --------------------------------------------------------------

std::string simserverProgram() {
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return std::string();
    std::string path(self, static_cast<std::size_t>(n));
    path = path.substr(0, path.rfind('/'));         // .../tests
    path = path.substr(0, path.rfind('/'));         // the build folder
    return path + "/vsdk-simserver";
}

TEST_F(NetworkTest, TheServerRunsAsAProgram) {
    const std::string program = simserverProgram();
    if (::access(program.c_str(), X_OK) != 0) GTEST_SKIP() << "no " << program;
    int out[2];
    ASSERT_EQ(0, ::pipe(out));
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(program.c_str(), program.c_str(), "--port", "0", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    FILE* f = ::fdopen(out[0], "r");
    unsigned port = 0;
    ASSERT_EQ(1, std::fscanf(f, "%u", &port));
    ASSERT_GT(port, 0u);

    env.setValue("Network", "nCmdLineServicePort", static_cast<long long>(port));
    CRkNetwork c;
    ASSERT_FALSE(attach(c).IsError());
    ASSERT_FALSE(sendAge(c).IsError());
    std::unique_ptr<CNMessageBase> reply;
    ASSERT_FALSE(receive(c, reply).IsError());
    ASSERT_TRUE(reply);
    EXPECT_EQ(QAgeDataRespMsg::kTag, reply->getTagID());

    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    std::fclose(f);
}

}  // namespace
