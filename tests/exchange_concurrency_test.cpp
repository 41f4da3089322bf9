// Many caller threads, each with its own state, sending at once: with their
// own connections and through one pool; and a pool clean-up while threads
// are inside an exchange.
#include "support/WireChecks.h"

#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/Exchange.h"
#include "platform/RkNetworkPool.h"

#include <atomic>
#include <map>

namespace {

using namespace std::chrono_literals;
using OrvaneOperations::QAgeDataReqMsg;
using OrvaneOperations::QAgeDataRespMsg;

const FieldId kMarker = OrvaneOperations::kExecuteXml, kEcho = OrvaneOperations::kExecuteRespXml;

// The server echoes each request's marker into its reply.
void echoMarker(simserver::SimServer& server, std::chrono::milliseconds delay = 0ms) {
    const auto echo = [](const CNMessageBase& request, CNMessageBase& reply) {
        msgf::putText(reply, kEcho, msgf::getText(request, kMarker));
    };
    server.script(QAgeDataReqMsg::kTag, simserver::Action::reply(QAgeDataRespMsg::kTag, echo).after(delay));
}

// Starts threads threads that start up all at once, send requests requests
// each and check that every answer is their own, then tear down; the number
// of failures. (*pools)[t] gets the pool thread t found after its start-up.
int runThreads(vsdktest::TestEnv& env, int threads, int requests, const std::function<void()>& whileRunning = {},
               std::vector<RkNetworkPool*>* pools = nullptr) {
    std::atomic<int> failures{0}, waiting{threads};
    std::vector<std::thread> all;
    for (int t = 0; t < threads; ++t) {
        all.emplace_back([&, t] {
            for (--waiting; waiting > 0;) std::this_thread::yield();
            if (env.initThread() != 0) return void(++failures);
            if (pools) (*pools)[t] = VSDKAPIGlobalData::getSessionPool(env.mardockName()).get();
            VSDKAPIGlobalData* state = g_dataMap.current();
            for (int i = 0; i < requests; ++i) {
                const std::string marker = "thread " + std::to_string(t) + " request " + std::to_string(i);
                auto request = vsdktest::messageWith<QAgeDataReqMsg>({{kMarker, marker}});
                CNMessageBase* reply = nullptr;
                const unsigned long rc = exchange(*state, state->getVSDKHandle().network, request,
                                                  QAgeDataRespMsg::kTag, reply);
                if (rc != 0 || msgf::getText(*reply, kEcho) != marker) ++failures;
                delete reply;
            }
            if (VSDKDeInitialize() != 0) ++failures;
        });
    }
    if (whileRunning) whileRunning();
    for (std::thread& t : all) t.join();
    return failures.load();
}

TEST(ExchangeConcurrencyTest, ThreadsWithTheirOwnConnections) {
    vsdktest::TestEnv env;
    echoMarker(env.server());
    EXPECT_EQ(0, runThreads(env, 12, 25));
    // Each thread kept to its own connection.
    std::map<int, std::string> threadOf;  // by connection
    for (const simserver::Request& r : env.server().journal()) {
        const std::string marker = msgf::getText(*r.message, kMarker);
        const std::string thread = marker.substr(0, marker.find(" request"));
        EXPECT_EQ(thread, threadOf.emplace(r.connection, thread).first->second);
    }
    EXPECT_EQ(12u, threadOf.size());
}

TEST(ExchangeConcurrencyTest, ThreadsSharingOnePoolMadeOnce) {
    vsdktest::TestEnv env(vsdktest::EnvOptions::withPooling());
    echoMarker(env.server());
    std::vector<RkNetworkPool*> pools(12);
    EXPECT_EQ(0, runThreads(env, 12, 25, {}, &pools));
    EXPECT_EQ(12u * 25u, env.server().requestCount());
    auto pool = VSDKAPIGlobalData::getSessionPool(env.mardockName());
    EXPECT_EQ(std::vector<RkNetworkPool*>(12, pool.get()), pools);
    EXPECT_EQ(0, pool->lentCount());
    EXPECT_LE(env.server().connections().size(), static_cast<std::size_t>(pool->lendLimit()));
}

TEST(ExchangeConcurrencyTest, CleanUpWhileThreadsAreInsideAnExchange) {
    vsdktest::TestEnv env(vsdktest::EnvOptions::withPooling());
    echoMarker(env.server(), 300ms);
    // Within the pool's bound, so that all four are in flight at once.
    EXPECT_EQ(0, runThreads(env, 4, 1, [&] {
                  ASSERT_TRUE(env.server().waitForRequests(4, 10s));
                  EXPECT_EQ(0u, VSDKCleanUpConnectionPools());
              }));
    EXPECT_FALSE(VSDKAPIGlobalData::getSessionPool(env.mardockName()));
    // The pool went with its last user, and its connections with it.
    EXPECT_TRUE(env.server().waitForOpenConnections(0, 5s));
}

}  // namespace
