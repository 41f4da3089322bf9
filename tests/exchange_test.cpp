// The request/response exchange over loopback TCP against the simulated
// server: every outcome, what is logged, time-outs, receive-only mode, and
// the connection it uses: the thread's own or one from its Mardock's pool.
#include "support/TestEnv.h"

#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/Exchange.h"
#include "platform/CRkNetwork.h"
#include "platform/RkNetworkPool.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <iterator>
#include <memory>
#include <thread>
#include <tuple>

// A message family that no start-up registers: its messages cannot be taken
// from the network.
namespace StrayFamily {
constexpr int kModuleId = 30;
#define VSDK_STRAY_MESSAGES(X) X(QStrayMsg, 1, 0x1E000005, 0)
VSDK_STRAY_MESSAGES(VSDK_DECLARE_MESSAGE)
void RegisterSubsystem();
VSDK_DEFINE_FAMILY(StrayFamily, VSDK_STRAY_MESSAGES)
}  // namespace StrayFamily

namespace {

using namespace std::chrono_literals;
using OrvaneOperations::QAgeDataReqMsg;
using simserver::Action;

constexpr unsigned long kAgeReq = QAgeDataReqMsg::kTag;
constexpr unsigned long kAgeResp = OrvaneOperations::QAgeDataRespMsg::kTag;
constexpr unsigned long kOtherResp = OrvaneOperations::QBackupRespMsg::kTag;

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, startUp ? env.initThread() : 0u); }
    void TearDown() override {
        if (g_dataMap.current()) VSDKDeInitialize();
    }

    VSDKAPIGlobalData& state() { return *g_dataMap.current(); }

    // One age-data request; *reply (when given) holds what the exchange handed out.
    unsigned long send(std::unique_ptr<CNMessageBase>* reply = nullptr,
                       const ExchangeOptions& options = {}, CNMessageBase* request = nullptr) {
        QAgeDataReqMsg own;
        CNMessageBase* raw = &own;  // the exchange must reset it
        const unsigned long rc =
            exchange(state(), state().getVSDKHandle().network, request ? *request : own, kAgeResp, raw, options);
        std::unique_ptr<CNMessageBase> handedOut(raw);
        if (reply) *reply = std::move(handedOut);
        return rc;
    }

    static std::shared_ptr<RkNetworkPool> pool(const char* mardock = "localhost") {
        return VSDKAPIGlobalData::getSessionPool(mardock);
    }

    vsdktest::TestEnv env;
    bool startUp = true;
};

// What the server does, and what the exchange gives for it.
struct Outcome {
    Action action;
    unsigned long rc;       // a reply is handed out exactly when 0
    const char* lastError;  // the thread's last error afterwards
    const char* logLine;    // a line the exchange must write
};

const Outcome kOutcomes[] = {
    {Action::defaultReply(), 0, "before", ""},
    {Action::serverError(0x50d, "denied"), 0, "before", ""},
    {Action::noReplyClose(), 0x205, "before", "Response [NULL] from VSDK Server failed"},
    {Action::closeMidFrame(), 0x205, "before", "[bad frame: connection closed inside a frame]"},
    {Action::garbage(std::string(4, '\xff')), 0x205, "before", "frame larger than the maximum]"},
    {Action::badDocument("<QAgeDataRespMsg"), 0x205, "before", "cannot rebuild the received"},
    {Action::reply(StrayFamily::QStrayMsg::kTag), 0x205, "before", "Response [QStrayMsg] from"},
    {Action::emptyFrame(), 0x206, "before", "failed with Error code [0x206]"},
    {Action::reply(kOtherResp), 0x207, "before", "Response [QBackupRespMsg] from VSDK Server"},
    {Action::bareError(0x50d, "the server's words"), 0x50d, "the server's words", ""},
    {Action::bareError(0, "no error"), 0x207, "before", "Response [QErrorMsg] from VSDK Server"},
};

TEST_F(ExchangeTest, EveryOutcomeGivesTheCodeTheReplyCalls) {
    for (const Outcome& c : kOutcomes) {
        SCOPED_TRACE("outcome " + std::to_string(&c - kOutcomes));
        env.server().script(kAgeReq, c.action, 1);
        state().setErrorString("before");
        const std::size_t mark = env.logMark();
        std::unique_ptr<CNMessageBase> reply;
        EXPECT_EQ(c.rc, send(&reply));
        EXPECT_EQ(c.rc == 0 ? kAgeResp : 0, reply ? reply->getTagID() : 0);
        EXPECT_EQ(c.lastError, state().getErrorString());
        EXPECT_TRUE(env.logContains(c.logLine, mark)) << c.logLine;
    }
}

TEST_F(ExchangeTest, SendFailureAndNoStateOrConnectionSendNothing) {
    CRkNetwork unattached;
    QAgeDataReqMsg request;
    CNMessageBase* reply = &request;
    EXPECT_EQ(0x204u, exchange(state(), &unattached, request, kAgeResp, reply));
    EXPECT_EQ(nullptr, reply);
    EXPECT_EQ(0x202u, exchange(state(), nullptr, request, kAgeResp, reply));
    VSDKDeInitialize();
    EXPECT_EQ(0x280u, SendAndReceive(nullptr, request, kAgeResp, reply));
    EXPECT_EQ(0u, env.server().requestCount());
}

// A direct connection that failed, or has unasked bytes waiting, is replaced
// before the next request goes out: a late reply never answers a later request.
TEST_F(ExchangeTest, AFailedOrUnaskedConnectionIsReplacedBeforeTheNextRequest) {
    env.setValue("~EventManager", "nVCommandTimeOut", 1LL);
    env.server().script(kAgeReq, Action::defaultReply().after(1500ms), 1);
    env.server().script(kAgeReq, Action::noReplyClose(), 1);
    env.server().script(kAgeReq, Action::defaultReply().repeated(2), 1);
    env.server().script(kAgeReq, Action::bareError(0x50d, "fourth"), 1);
    EXPECT_EQ(0x205u, send());  // timed out
    EXPECT_EQ(0x205u, send());
    ASSERT_EQ(0u, send());
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (!state().getVSDKHandle().network->isStale() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(0x50du, send());
    EXPECT_EQ(4u, env.server().connections().size());
    EXPECT_TRUE(env.logContains("Retrying Connection to VSDK Server"));
}

// The generic request's document may hold secrets: it is logged by its type name alone.
TEST_F(ExchangeTest, TheGenericRequestIsLoggedByItsTypeNameAlone) {
    OrvaneOperations::QExecuteReqMsg generic;
    msgf::putText(generic, OrvaneOperations::kExecuteXml, "<inner secret=\"1\"/>");
    CNMessageBase* raw = nullptr;
    ASSERT_EQ(0u, exchange(state(), state().getVSDKHandle().network, generic,
                           OrvaneOperations::QExecuteRespMsg::kTag, raw));
    delete raw;
    EXPECT_TRUE(env.logContains("XML request to VSDK Server sent in binary format: [QExecuteReqMsg]"));
    EXPECT_FALSE(env.logContains("inner secret"));
}

// A server that stops reading cannot hold a request for ever: the send ends
// with the time-out, like the wait for the answer.
TEST_F(ExchangeTest, ARequestTheServerDoesNotReadEndsWithTheTimeOut) {
    env.setValue("~EventManager", "nVCommandTimeOut", 1LL);
    env.server().stallReading(true);
    QAgeDataReqMsg big;  // more than the socket buffers hold
    msgf::appendText(big, OrvaneOperations::kAgeJobDescription, std::string(12 << 20, 'x'));
    EXPECT_EQ(0x204u, send(nullptr, {}, &big));
    env.server().stallReading(false);
    EXPECT_TRUE(env.logContains("Sending commandline request [QAgeDataReqMsg] to VSDK Server failed"));
}

TEST_F(ExchangeTest, ReceiveOnlyTakesTheNextReplyWithoutSending) {
    env.server().script(kAgeReq, Action::defaultReply().repeated(2), 1);
    ASSERT_EQ(0u, send());
    ExchangeOptions receiveOnly;
    receiveOnly.receiveOnly = true;
    QAgeDataReqMsg unsent;
    std::unique_ptr<CNMessageBase> reply;
    ASSERT_EQ(0u, send(&reply, receiveOnly, &unsent));
    EXPECT_TRUE(reply);
    EXPECT_FALSE(msgf::has(unsent, msgf::kRequestHeader));
    EXPECT_EQ(1u, env.server().requestCount());
}

TEST_F(ExchangeTest, WaitsAsLongAsChosen) {
    env.removeValue("~EventManager", "nVCommandTimeOut");
    // nVCommandTimeOut (null: absent), long wait, minimum, the wait chosen.
    const std::tuple<const char*, bool, unsigned long, int> cases[] = {
        {nullptr, false, 0, 3600},    {nullptr, false, 7200, 7200}, {nullptr, true, 7200, 86400},
        {nullptr, false, ULONG_MAX, INT_MAX}, {"30", true, 7200, 30}, {"0", false, 0, 3600}, {"-5", true, 0, 86400}};
    for (const auto& [registry, longWait, minTimeout, expected] : cases) {
        SCOPED_TRACE(std::to_string(minTimeout) + (registry ? registry : ""));
        if (registry) env.setValue("~EventManager", "nVCommandTimeOut", std::string(registry));
        ExchangeOptions options;
        options.longWait = longWait;
        options.minTimeout = minTimeout;
        const std::size_t mark = env.logMark();
        ASSERT_EQ(0u, send(nullptr, options));
        EXPECT_TRUE(env.logContains("Waiting for receive message with time out [" + std::to_string(expected) +
                                    "] seconds", mark));
    }
}

// Start-ups that choose between a pool and a connection of their own.
class PoolTest : public ExchangeTest {
protected:
    PoolTest() { startUp = false; }
    unsigned long initFor(const char* mardock) {
        return env.initThread([mardock](_QInitializeParameters& p) { vsdktest::setText(p.mardockName, mardock); });
    }
};

TEST_F(PoolTest, EveryOutcomeGivesTheConnectionBackOrDropsIt) {
    env.setValue("~EventManager", "nVCommandTimeOut", 1LL);
    env.setPooling(true);
    ASSERT_EQ(0u, env.initThread());
    for (const Outcome& o : kOutcomes) env.server().script(kAgeReq, o.action, 1);
    env.server().script(kAgeReq, Action::silent(), 1);
    env.server().script(kAgeReq, Action::serverError(9, "relogin"), 1);
    for (std::size_t i = 0; i < std::size(kOutcomes) + 2; ++i) {
        send();
        EXPECT_EQ(0, pool()->lentCount()) << "after outcome " << i;
        EXPECT_LE(pool()->connectionCount(), 1) << "after outcome " << i;
    }
    // What the pool still holds works, and the server has nothing else open.
    EXPECT_EQ(0u, send());
    EXPECT_TRUE(env.server().waitForOpenConnections(pool()->connectionCount(), 5s));

    // A failed borrow gives 0x202 with nothing sent. More failures than the
    // pool holds connections: none of them keeps a slot, so none waits for a
    // free one.
    env.server().stop();
    const std::size_t sent = env.server().requestCount();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i <= pool()->lendLimit(); ++i) EXPECT_EQ(0x202u, send());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(0, pool()->lentCount());
    EXPECT_TRUE(env.logContains("Connection to VSDK Service failed with network error:["));
    VSDKCleanUpConnectionPools();  // pooling on, no pool, no connection of its own
    EXPECT_EQ(0x202u, send());
    EXPECT_EQ(sent, env.server().requestCount());
}

// The switch written but not read yet, or absent: start-ups connect directly.
TEST_F(PoolTest, WithoutTheSwitchReadStartUpsConnectDirectly) {
    env.setValue("Mardock", "UseSessionPool", 1LL);
    ASSERT_EQ(0u, env.initThread());
    EXPECT_NE(nullptr, state().getVSDKHandle().network);
    VSDKDeInitialize();
    env.removeValue("Mardock", "UseSessionPool");
    EXPECT_EQ(0u, VSDKInitializeConnectionPools());
    ASSERT_EQ(0u, env.initThread());
    EXPECT_NE(nullptr, state().getVSDKHandle().network);
    EXPECT_FALSE(pool());
}

// The thread's own Mardock, in any letter case, goes through its pool (kept
// under the name as given, connecting on first use, not lending a connection
// the server dropped); another connects directly and its tear-down releases
// the connection.
TEST_F(PoolTest, OwnMardockGoesThroughItsPoolAnotherConnectsDirectly) {
    env.setPooling(true);
    ASSERT_EQ(0u, initFor("LocalHost"));
    EXPECT_EQ(nullptr, state().getVSDKHandle().network);
    ASSERT_TRUE(pool("LocalHost"));
    EXPECT_FALSE(pool("localhost"));
    EXPECT_EQ(0, pool("LocalHost")->connectionCount());
    EXPECT_EQ(0u, send());
    EXPECT_EQ(1, pool("LocalHost")->connectionCount());
    // A connection the server dropped is not lent again.
    env.server().closeAllConnections();
    ASSERT_TRUE(env.server().waitForOpenConnections(0, 5s));
    EXPECT_EQ(0u, send());
    EXPECT_EQ(2u, env.server().connections().size());
    VSDKDeInitialize();

    ASSERT_EQ(0u, initFor("127.0.0.1"));
    EXPECT_NE(nullptr, state().getVSDKHandle().network);
    EXPECT_FALSE(pool("127.0.0.1"));
    EXPECT_EQ(0u, send());
    EXPECT_EQ(0u, VSDKDeInitialize());
    EXPECT_TRUE(env.server().waitForOpenConnections(1, 5s));  // the pool's alone
}

TEST_F(PoolTest, APoolThatCannotBeMadeFailsTheStartUp) {
    env.setValue("Mardock", "sMardockHostName", "nohost.invalid");
    env.setPooling(true);
    EXPECT_EQ(0x202u, initFor("nohost.invalid"));
    EXPECT_EQ(nullptr, g_dataMap.current());
    EXPECT_FALSE(pool("nohost.invalid"));
    EXPECT_TRUE(env.logContains("Failed to create  session Pool to VSDK server on 'nohost.invalid with error ["));
}

}  // namespace
