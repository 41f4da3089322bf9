// The request/response exchange over real loopback TCP against the simulated
// server: every outcome, the header stamp, time-outs, receive-only mode and
// the connection it uses.
#include "support/TestEnv.h"

#include "VSDK.h"
#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/Exchange.h"
#include "platform/CRkNetwork.h"
#include "platform/RkNetworkPool.h"
#include "platform/RkWire.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <memory>
#include <unistd.h>

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

using OrvaneOperations::QAgeDataReqMsg;
using OrvaneOperations::QAgeDataRespMsg;
using simserver::Action;

constexpr unsigned long kAgeReq = QAgeDataReqMsg::kTag;
constexpr unsigned long kAgeResp = QAgeDataRespMsg::kTag;

long long replyCode(const CNMessageBase& reply) {
    const CNMessageBase* error = msgf::findChild(reply, msgf::kReplyError,
                                                 (reply.getTagID() & 0xFF000000UL) | 2UL);
    return error ? msgf::getInt(*error, msgf::kErrorCode) : -1;
}

vsdktest::EnvOptions withTimeout(int seconds) {
    vsdktest::EnvOptions o;
    o.commandTimeout = seconds;
    return o;
}

class ExchangeTest : public ::testing::Test {
protected:
    explicit ExchangeTest(const vsdktest::EnvOptions& options = withTimeout(5)) : env(options) {}

    void SetUp() override { ASSERT_EQ(0u, env.initThread()); }
    void TearDown() override { VSDKDeInitialize(); }

    VSDKAPIGlobalData& state() { return *g_dataMap.current(); }

    unsigned long send(CNMessageBase& request, unsigned long expected,
                       std::unique_ptr<CNMessageBase>& reply,
                       const ExchangeOptions& options = ExchangeOptions()) {
        CNMessageBase* raw = reinterpret_cast<CNMessageBase*>(0x1);  // must be reset
        const unsigned long rc =
            exchange(state(), state().getVSDKHandle().network, request, expected, raw, options);
        reply.reset(raw);
        return rc;
    }

    vsdktest::TestEnv env;
};

// --- The outcome matrix -------------------------------------------------

struct Outcome {
    const char* name;
    Action action;
    unsigned long rc;
    bool replyOut;
    const char* logLine;  // a line the failure must write (empty: none checked)
};

class ExchangeOutcomeTest : public ExchangeTest, public ::testing::WithParamInterface<Outcome> {};

TEST_P(ExchangeOutcomeTest, GivesTheCodeTheReplyCalls) {
    const Outcome& c = GetParam();
    env.server().script(kAgeReq, c.action);
    const std::size_t mark = env.logMark();
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_EQ(c.rc, send(request, kAgeResp, reply)) << c.name;
    EXPECT_EQ(c.replyOut, reply != nullptr) << c.name;
    EXPECT_EQ(1u, env.server().requestCount(kAgeReq));
    if (*c.logLine) {
        EXPECT_TRUE(env.logContains(c.logLine, mark)) << c.name << "\n" << env.logSince(mark);
    }
}

const Outcome kOutcomes[] = {
    {"expected reply", Action::defaultReply(), 0, true, "Received response [QAgeDataRespMsg] from VSDK Server"},
    {"expected reply with a server error", Action::serverError(0x50d, "denied"), 0, true, ""},
    {"peer closes without a reply", Action::noReplyClose(), 0x205, false,
     "Response [NULL] from VSDK Server failed with Error code [0x205] Error string [Failed to "
     "receive response from VSDK Server]"},
    {"peer closes inside the reply frame", Action::closeMidFrame(), 0x205, false,
     "Receive response failed with Network error:[bad frame: connection closed inside a frame]"},
    {"oversized frame", Action::garbage(std::string("\xff\xff\xff\xff", 4)), 0x205, false,
     "Receive response failed with Network error:[bad frame: frame larger than the maximum]"},
    {"document that is no message", Action::badDocument("<QAgeDataRespMsg"), 0x205, false,
     "Receive response failed with Network error:[cannot rebuild the received message"},
    {"reply of an unregistered family", Action::reply(StrayFamily::QStrayMsg::kTag), 0x205, false,
     "Response [QStrayMsg] from VSDK Server failed with Error code [0x205]"},
    {"empty frame", Action::emptyFrame(), 0x206, false,
     "Response [NULL] from VSDK Server failed with Error code [0x206] Error string [No response "
     "received from VSDK Server]"},
    {"reply of another type", Action::reply(OrvaneOperations::QBackupRespMsg::kTag), 0x207, false,
     "Response [QBackupRespMsg] from VSDK Server failed with Error code [0x207] Error string "
     "[Invalid response received from VSDK Server]"},
    {"bare error reply", Action::bareError(0x50d, "server says no"), 0x50d, false, ""},
    {"bare error reply with code 0", Action::bareError(0, ""), 0x207, false,
     "Response [QErrorMsg] from VSDK Server failed with Error code [0x207]"},
};

INSTANTIATE_TEST_SUITE_P(Matrix, ExchangeOutcomeTest, ::testing::ValuesIn(kOutcomes));

TEST_F(ExchangeTest, ExpectedReplyCarriesTheServersErrorForTheOperation) {
    env.server().serverError(kAgeReq, 0x50d, "denied");
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    ASSERT_EQ(0u, send(request, kAgeResp, reply));
    ASSERT_TRUE(reply);
    EXPECT_EQ(kAgeResp, reply->getTagID());
    EXPECT_EQ(0x50d, replyCode(*reply));
}

TEST_F(ExchangeTest, BareErrorStoresTheServersTextAsLastError) {
    env.server().script(kAgeReq, Action::bareError(0x50d, "the server's own words"));
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_EQ(0x50du, send(request, kAgeResp, reply));
    EXPECT_FALSE(reply);
    EXPECT_EQ("the server's own words", state().getErrorString());
}

TEST_F(ExchangeTest, OtherFailuresLeaveTheLastErrorAlone) {
    state().setErrorString("before");
    env.server().script(kAgeReq, Action::reply(OrvaneOperations::QBackupRespMsg::kTag), 1);
    env.server().script(kAgeReq, Action::bareError(0, "not an error"), 1);
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_EQ(0x207u, send(request, kAgeResp, reply));
    EXPECT_EQ(0x207u, send(request, kAgeResp, reply));
    EXPECT_EQ("before", state().getErrorString());
}

TEST_F(ExchangeTest, SendOnAConnectionThatIsNotOpenFailsWith0x204) {
    CRkNetwork unattached;
    QAgeDataReqMsg request;
    CNMessageBase* reply = nullptr;
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x204u, exchange(state(), &unattached, request, kAgeResp, reply));
    EXPECT_EQ(nullptr, reply);
    EXPECT_EQ(0u, env.server().requestCount());
    EXPECT_TRUE(env.logContains(
        "Sending commandline request [QAgeDataReqMsg] to VSDK Server failed with Network "
        "Error:[not connected] Client Error code [0x204] Error string [Failed to send request to "
        "VSDK Server]",
        mark));
}

TEST_F(ExchangeTest, AConnectionThatFailedIsNotUsedForALaterReply) {
    // The server answers late: the exchange gives up, and the next exchange
    // must not take the late answer for its own.
    env.setValue("~EventManager", "nVCommandTimeOut", 1LL);
    env.server().script(kAgeReq, Action::defaultReply().after(std::chrono::milliseconds(1500)), 1);
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_EQ(0x205u, send(request, kAgeResp, reply));
    EXPECT_EQ(0x204u, send(request, kAgeResp, reply));
    EXPECT_FALSE(reply);
}

TEST_F(ExchangeTest, WithoutThreadStateNothingIsSent) {
    VSDKDeInitialize();
    QAgeDataReqMsg request;
    CNMessageBase* reply = nullptr;
    EXPECT_EQ(0x280u, SendAndReceive(nullptr, request, kAgeResp, reply));
    EXPECT_EQ(nullptr, reply);
    EXPECT_EQ(0u, env.server().requestCount());
    ASSERT_EQ(0u, env.initThread());
}

TEST_F(ExchangeTest, WithoutAConnectionNothingIsSent) {
    QAgeDataReqMsg request;
    CNMessageBase* reply = nullptr;
    EXPECT_EQ(0x202u, exchange(state(), nullptr, request, kAgeResp, reply));
    EXPECT_EQ(nullptr, reply);
    EXPECT_EQ(0u, env.server().requestCount());
}

// --- What crosses the wire ---------------------------------------------

TEST_F(ExchangeTest, StampsTheHeaderOfTheRequest) {
    QAgeDataReqMsg request;
    msgf::putText(request, OrvaneOperations::kExecuteXml, "body stays");  // any body field
    std::unique_ptr<CNMessageBase> reply;
    ASSERT_EQ(0u, send(request, kAgeResp, reply));

    auto sent = env.server().requestsOfType(kAgeReq);
    ASSERT_EQ(1u, sent.size());
    const CNMessageBase* header = msgf::findChild(*sent[0].message, msgf::kRequestHeader,
                                                  OrvaneOperations::QRequestHeaderMsg::kTag);
    ASSERT_NE(nullptr, header);
    char host[257] = {};
    ASSERT_EQ(0, gethostname(host, sizeof host - 1));
    EXPECT_EQ(host, msgf::getText(*header, msgf::kHeaderHost));
    EXPECT_EQ("11.0.0", msgf::getText(*header, msgf::kHeaderVersion));
    EXPECT_EQ(80, msgf::getInt(*header, msgf::kHeaderBuild));
    EXPECT_EQ("body stays", msgf::getText(*sent[0].message, OrvaneOperations::kExecuteXml));
}

TEST_F(ExchangeTest, LogsRequestAndReplyAtLevelTen) {
    const std::size_t mark = env.logMark();
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    ASSERT_EQ(0u, send(request, kAgeResp, reply));
    const std::string log = env.logSince(mark);
    EXPECT_NE(std::string::npos, log.find("Sending commandline request [QAgeDataReqMsg] to VSDK Server"));
    EXPECT_NE(std::string::npos, log.find("XML request to VSDK Server sent in binary format: [<"));
    EXPECT_NE(std::string::npos, log.find("XML response from VSDK Server received in binary format: [<"));
}

TEST_F(ExchangeTest, TheGenericRequestIsLoggedByItsNameOnly) {
    const std::size_t mark = env.logMark();
    OrvaneOperations::QExecuteReqMsg request;
    msgf::putText(request, OrvaneOperations::kExecuteXml, "<inner secret=\"1\"/>");
    std::unique_ptr<CNMessageBase> reply;
    ASSERT_EQ(0u, send(request, OrvaneOperations::QExecuteRespMsg::kTag, reply));
    const std::string log = env.logSince(mark);
    EXPECT_NE(std::string::npos,
              log.find("XML request to VSDK Server sent in binary format: [QExecuteReqMsg]"));
    EXPECT_EQ(std::string::npos, log.find("inner secret"));
}

TEST_F(ExchangeTest, ReceiveOnlyTakesTheNextReplyWithoutSending) {
    env.server().script(kAgeReq, Action::serverError(0, "").repeated(2));
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> first, second;
    ASSERT_EQ(0u, send(request, kAgeResp, first));
    const std::size_t mark = env.logMark();
    ExchangeOptions receiveOnly;
    receiveOnly.receiveOnly = true;
    QAgeDataReqMsg unsent;
    ASSERT_EQ(0u, send(unsent, kAgeResp, second, receiveOnly));
    EXPECT_TRUE(second);
    EXPECT_EQ(1u, env.server().requestCount());
    EXPECT_FALSE(msgf::has(unsent, msgf::kRequestHeader));
    const std::string log = env.logSince(mark);
    EXPECT_EQ(std::string::npos, log.find("Sending commandline request"));
    EXPECT_NE(std::string::npos, log.find("Waiting for receive message with time out [5] seconds"));
}

TEST_F(ExchangeTest, ReceiveOnlyHonoursTheRegistryTimeOut) {
    env.setValue("~EventManager", "nVCommandTimeOut", 1LL);
    ExchangeOptions receiveOnly;
    receiveOnly.receiveOnly = true;
    QAgeDataReqMsg unsent;
    std::unique_ptr<CNMessageBase> reply;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0x205u, send(unsent, kAgeResp, reply, receiveOnly));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(1000));
    EXPECT_LT(waited, std::chrono::milliseconds(2500));
    EXPECT_EQ(0u, env.server().requestCount());
}

// --- Time-out selection -------------------------------------------------

struct TimeoutCase {
    const char* name;
    const char* registry;  // nVCommandTimeOut, null: absent
    bool longWait;
    unsigned long minTimeout;
    int expected;
};

class TimeoutTest : public ExchangeTest, public ::testing::WithParamInterface<TimeoutCase> {
protected:
    TimeoutTest() : ExchangeTest(withTimeout(0)) {}
};

TEST_P(TimeoutTest, WaitsAsLongAsChosen) {
    const TimeoutCase& c = GetParam();
    if (c.registry) env.setValue("~EventManager", "nVCommandTimeOut", std::string(c.registry));
    ExchangeOptions options;
    options.longWait = c.longWait;
    options.minTimeout = c.minTimeout;
    const std::size_t mark = env.logMark();
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    ASSERT_EQ(0u, send(request, kAgeResp, reply, options));
    EXPECT_TRUE(env.logContains("Waiting for receive message with time out [" +
                                    std::to_string(c.expected) + "] seconds",
                                mark))
        << c.name << "\n" << env.logSince(mark);
}

const TimeoutCase kTimeouts[] = {
    {"default", nullptr, false, 0, 3600},
    {"smaller minimum", nullptr, false, 60, 3600},
    {"larger minimum", nullptr, false, 7200, 7200},
    {"long wait beats the minimum", nullptr, true, 7200, 86400},
    {"minimum beyond 32 bits is clamped", nullptr, false, ULONG_MAX, INT_MAX},
    {"minimum just beyond int", nullptr, false, 2147483648UL, INT_MAX},
    {"registry replaces the default", "30", false, 0, 30},
    {"registry replaces long wait", "30", true, 0, 30},
    {"registry replaces a minimum", "30", false, 7200, 30},
    {"registry 0 is ignored", "0", false, 0, 3600},
    {"negative registry value is ignored", "-5", true, 0, 86400},
    {"registry text that is no number is ignored", "soon", false, 0, 3600},
};

INSTANTIATE_TEST_SUITE_P(Selection, TimeoutTest, ::testing::ValuesIn(kTimeouts));

TEST_F(ExchangeTest, GivesUpAfterTheRegistryTimeOut) {
    env.setValue("~EventManager", "nVCommandTimeOut", 1LL);
    env.server().script(kAgeReq, Action::silent());
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    const std::size_t mark = env.logMark();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0x205u, send(request, kAgeResp, reply));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(1000));
    EXPECT_LT(waited, std::chrono::milliseconds(2500));
    EXPECT_TRUE(env.logContains("Receive response failed with Network error:[no message within 1 seconds]", mark));
}

TEST_F(ExchangeTest, AReplyJustInsideTheTimeOutIsTaken) {
    env.setValue("~EventManager", "nVCommandTimeOut", 2LL);
    env.server().script(kAgeReq, Action::defaultReply().after(std::chrono::milliseconds(1200)));
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_EQ(0u, send(request, kAgeResp, reply));
    EXPECT_TRUE(reply);
}

// --- Pooled connections -------------------------------------------------

class PooledExchangeTest : public ExchangeTest {
protected:
    static vsdktest::EnvOptions pooled() {
        vsdktest::EnvOptions o = withTimeout(5);
        o.pooling = true;
        return o;
    }
    PooledExchangeTest() : ExchangeTest(pooled()) {}

    std::shared_ptr<RkNetworkPool> pool() {
        return VSDKAPIGlobalData::getSessionPool(env.mardockName());
    }
};

TEST_F(PooledExchangeTest, BorrowsForEachRequestAndGivesBack) {
    ASSERT_TRUE(pool());
    EXPECT_EQ(nullptr, state().getVSDKHandle().network);
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    for (int i = 0; i < 3; ++i) ASSERT_EQ(0u, send(request, kAgeResp, reply));
    EXPECT_EQ(0, pool()->lentCount());
    EXPECT_EQ(1, pool()->connectionCount());
    EXPECT_EQ(1u, env.server().connections().size());
}

TEST_F(PooledExchangeTest, EveryFailureGivesTheConnectionBackOrDropsIt) {
    env.setValue("~EventManager", "nVCommandTimeOut", 1LL);
    const Action failures[] = {
        Action::noReplyClose(), Action::closeMidFrame(), Action::garbage(std::string(8, '\xff')),
        Action::badDocument(), Action::emptyFrame(), Action::silent(),
        Action::reply(OrvaneOperations::QBackupRespMsg::kTag), Action::bareError(0x50d, "x"),
        Action::bareError(0, ""), Action::reply(StrayFamily::QStrayMsg::kTag),
        Action::serverError(0x50d, "x"),
    };
    for (const Action& a : failures) env.server().script(kAgeReq, a, 1);
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    for (std::size_t i = 0; i < sizeof failures / sizeof failures[0]; ++i) {
        send(request, kAgeResp, reply);
        EXPECT_EQ(0, pool()->lentCount()) << "after failure " << i;
        EXPECT_LE(pool()->connectionCount(), 1) << "after failure " << i;
    }
    // Whatever the pool still holds works, and nothing is open at the server
    // that the pool does not hold.
    ASSERT_EQ(0u, send(request, kAgeResp, reply));
    EXPECT_EQ(0, pool()->lentCount());
    EXPECT_TRUE(env.server().waitForOpenConnections(pool()->connectionCount(),
                                                    std::chrono::seconds(5)));
}

TEST_F(PooledExchangeTest, ACodeNineReplyLeavesNoConnectionLent) {
    env.server().relogin(kAgeReq, 1);
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    send(request, kAgeResp, reply);
    EXPECT_EQ(0, pool()->lentCount());
}

TEST_F(PooledExchangeTest, AFailedBorrowGives0x202WithNothingSent) {
    env.server().stop();
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x202u, send(request, kAgeResp, reply));
    EXPECT_FALSE(reply);
    EXPECT_EQ(0u, env.server().requestCount());
    EXPECT_EQ(0, pool()->lentCount());
    EXPECT_TRUE(env.logContains("Connection to VSDK Service failed with network error:[", mark));
}

TEST_F(PooledExchangeTest, NoPoolAndNoConnectionGives0x202) {
    VSDKCleanUpConnectionPools();
    QAgeDataReqMsg request;
    std::unique_ptr<CNMessageBase> reply;
    EXPECT_EQ(0x202u, send(request, kAgeResp, reply));
    EXPECT_EQ(0u, env.server().requestCount());
}

}  // namespace
