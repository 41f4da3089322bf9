// The stand-in network layer against the simulated server: attach, IPv6, the
// receive time-out and the pool's bound (frame failures: exchange_test).
#include "support/TestEnv.h"

#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "platform/CRkNetwork.h"
#include "platform/RkNetworkPool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <tuple>

namespace {

using namespace std::chrono_literals;
using OrvaneOperations::QAgeDataReqMsg;
using simserver::Action;

class NetworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvaneOperations::RegisterSubsystem();
        OrvaneUtilities::RegisterSubsystem();
    }

    static CPvError attach(CRkNetwork& c, const std::string& host, const std::string& service = "CMDLINE_SERVICE") {
        bool abort = false;
        return c.Attach_RemoteService(host, service, "netclient", 5, abort);
    }
    static CPvError receive(CRkNetwork& c, std::unique_ptr<CNMessageBase>& out, int timeout = 5) {
        CNMessageBase* raw = nullptr;
        bool abort = false;
        CPvError e = c.ReceiveXMLMessage(nullptr, raw, nullptr, 0, timeout, abort);
        out.reset(raw);
        return e;
    }
    // An attached connection whose age-data request the server answers with action.
    void askWith(CRkNetwork& c, const Action& action, const std::string& host = "localhost") {
        env.server().script(QAgeDataReqMsg::kTag, action, 1);
        ASSERT_FALSE(attach(c, host).IsError());
        bool abort = false;
        ASSERT_FALSE(c.SendXMLMessage(QAgeDataReqMsg(), 0, -1, abort).IsError());
    }

    vsdktest::TestEnv env;
};

// The handshake of a good attach is checked through the start-up (startup_test).
TEST_F(NetworkTest, AttachFailuresLeaveNothingConnected) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"localhost", "NO_SUCH_SERVICE", kPvErrRefused}, {"no-such-host.invalid", "CMDLINE_SERVICE", kPvErrResolve},
        {"", "CMDLINE_SERVICE", kPvErrResolve}, {"127.0.0.2", "CMDLINE_SERVICE", kPvErrConnect}};
    for (const auto& [host, service, code] : cases) {
        SCOPED_TRACE(host);
        CRkNetwork net;
        EXPECT_EQ(code, attach(net, host, service).GetErrorCode());
        EXPECT_FALSE(net.IsConnected());
        std::unique_ptr<CNMessageBase> reply;
        EXPECT_EQ(kPvErrNotConnected, receive(net, reply).GetErrorCode());
    }
    EXPECT_EQ(0, env.server().openConnections());
}

TEST_F(NetworkTest, ReceiveWaitsExactlyItsTimeOut) {
    CRkNetwork late;
    askWith(late, Action::silent());
    std::unique_ptr<CNMessageBase> reply;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(kPvErrTimeout, receive(late, reply, 1).GetErrorCode());
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 1000ms);
    EXPECT_LT(waited, 5000ms);  // loose: a loaded machine is slow, a wrong wait is far off
    EXPECT_FALSE(late.IsConnected());  // a late reply must not answer a later request

    // A reply within the time-out is taken, over IPv6 too where the loopback has it.
    for (const char* host : {"localhost", "::1"}) {
        if (*host == ':' && !env.server().listensOnIpv6()) continue;
        CRkNetwork slow;
        askWith(slow, Action::defaultReply().after(700ms), host);
        ASSERT_FALSE(receive(slow, reply, 1).IsError()) << host;
        EXPECT_EQ(OrvaneOperations::QAgeDataRespMsg::kTag, reply->getTagID());
    }
}

TEST_F(NetworkTest, APoolBorrowerBeyondTheBoundWaitsThenGivesUp) {
    RkNetworkPool pool;
    ASSERT_FALSE(pool.initNetworkPool("CMDLINE_SERVICE", "localhost*simcs*8400*8402", "poolclient", 1, 600, 1, 1, 1)
                     .IsError());
    pool.setLendLimit(1);
    CRkNetwork *a = nullptr, *b = nullptr;
    ASSERT_FALSE(pool.getSessionObject(a).IsError());
    std::thread giver([&] {
        std::this_thread::sleep_for(200ms);
        pool.releaseSessionObject(a);
    });
    EXPECT_FALSE(pool.getSessionObject(b).IsError());
    giver.join();
    EXPECT_EQ(a, b);  // the same connection, lent once at a time
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(kPvErrPoolExhausted, pool.getSessionObject(a).GetErrorCode());
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_TRUE(pool.releaseSessionObject(nullptr).IsError());  // nothing it did not lend
    pool.releaseSessionObject(b);
    EXPECT_EQ(1u, env.server().connections().size());
}

}  // namespace
