// Many caller threads, each with its own state, sending at once: with their
// own connections and through one pool; and a pool clean-up while threads
// are inside an exchange.
#include "support/TestEnv.h"

#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/Exchange.h"
#include "platform/RkNetworkPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using OrvaneOperations::QAgeDataReqMsg;
using OrvaneOperations::QAgeDataRespMsg;

const FieldId kMarker = OrvaneOperations::kExecuteXml;
const FieldId kEcho = OrvaneOperations::kExecuteRespXml;

// The server echoes each request's marker into its reply.
void echoMarker(simserver::SimServer& server, std::chrono::milliseconds delay = 0ms) {
    server.script(QAgeDataReqMsg::kTag,
                  simserver::Action::reply(QAgeDataRespMsg::kTag, [](const CNMessageBase& request,
                                                                     CNMessageBase& reply) {
                      msgf::putText(reply, kEcho, msgf::getText(request, kMarker));
                  }).after(delay));
}

// Starts threads threads that start up all at once, send requests requests
// each and check that every answer is their own, then tear down; the number
// of failures. pools gets the pool each thread found after its start-up.
int runThreads(vsdktest::TestEnv& env, int threads, int requests,
               const std::function<void()>& whileRunning = {},
               std::set<RkNetworkPool*>* pools = nullptr) {
    std::atomic<int> failures{0};
    std::atomic<int> waiting{threads};
    std::mutex mutex;
    std::vector<std::thread> all;
    for (int t = 0; t < threads; ++t) {
        all.emplace_back([&, t] {
            for (--waiting; waiting > 0;) std::this_thread::yield();
            if (env.initThread() != 0) return void(++failures);
            if (pools) {
                std::lock_guard<std::mutex> lock(mutex);
                pools->insert(VSDKAPIGlobalData::getSessionPool(env.mardockName()).get());
            }
            VSDKAPIGlobalData* state = g_dataMap.current();
            for (int i = 0; i < requests; ++i) {
                const std::string marker = "thread " + std::to_string(t) + " request " + std::to_string(i);
                QAgeDataReqMsg request;
                msgf::putText(request, kMarker, marker);
                CNMessageBase* raw = nullptr;
                const unsigned long rc = exchange(*state, state->getVSDKHandle().network, request,
                                                  QAgeDataRespMsg::kTag, raw);
                std::unique_ptr<CNMessageBase> reply(raw);
                if (rc != 0 || msgf::getText(*reply, kEcho) != marker) ++failures;
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
    std::map<int, std::set<std::string>> threadsPerConnection;
    for (const simserver::Request& r : env.server().journal()) {
        const std::string marker = msgf::getText(*r.message, kMarker);
        threadsPerConnection[r.connection].insert(marker.substr(0, marker.find(" request")));
    }
    EXPECT_EQ(12u, threadsPerConnection.size());
    for (const auto& c : threadsPerConnection) EXPECT_EQ(1u, c.second.size());
    EXPECT_TRUE(env.server().waitForOpenConnections(0, 5s));
}

TEST(ExchangeConcurrencyTest, ThreadsSharingOnePoolMadeOnce) {
    vsdktest::TestEnv env(vsdktest::EnvOptions::withPooling());
    echoMarker(env.server());
    std::set<RkNetworkPool*> pools;
    EXPECT_EQ(0, runThreads(env, 12, 25, {}, &pools));
    EXPECT_EQ(12u * 25u, env.server().requestCount());
    auto pool = VSDKAPIGlobalData::getSessionPool(env.mardockName());
    EXPECT_EQ(std::set<RkNetworkPool*>{pool.get()}, pools);
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
