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
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using OrvaneOperations::QAgeDataReqMsg;
using OrvaneOperations::QAgeDataRespMsg;
using simserver::Action;

constexpr int kThreads = 12;
constexpr int kRequestsPerThread = 25;

// The server echoes the request's marker into its reply.
const FieldId kMarker = OrvaneOperations::kExecuteXml;
const FieldId kEcho = OrvaneOperations::kExecuteRespXml;

void echoMarker(simserver::SimServer& server, std::chrono::milliseconds delay = 0ms) {
    server.script(QAgeDataReqMsg::kTag,
                  Action::reply(QAgeDataRespMsg::kTag,
                                [](const CNMessageBase& request, CNMessageBase& reply) {
                                    msgf::putText(reply, kEcho, msgf::getText(request, kMarker));
                                })
                      .after(delay));
}

// One thread's work: start up, send its requests, check each answer is its own.
void runThread(vsdktest::TestEnv& env, int id, std::atomic<int>& failures) {
    if (env.initThread() != 0) {
        ++failures;
        return;
    }
    VSDKAPIGlobalData* state = g_dataMap.current();
    for (int i = 0; i < kRequestsPerThread; ++i) {
        const std::string marker = "thread " + std::to_string(id) + " request " + std::to_string(i);
        QAgeDataReqMsg request;
        msgf::putText(request, kMarker, marker);
        CNMessageBase* raw = nullptr;
        const unsigned long rc = exchange(*state, state->getVSDKHandle().network, request,
                                          QAgeDataRespMsg::kTag, raw);
        std::unique_ptr<CNMessageBase> reply(raw);
        if (rc != 0 || !reply || msgf::getText(*reply, kEcho) != marker) ++failures;
    }
    if (VSDKDeInitialize() != 0) ++failures;
}

void runAll(vsdktest::TestEnv& env, std::atomic<int>& failures) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&env, &failures, t] { runThread(env, t, failures); });
    }
    for (std::thread& t : threads) t.join();
}

// Which threads' markers arrived on each server connection.
std::map<int, std::set<std::string>> threadsPerConnection(const simserver::SimServer& server) {
    std::map<int, std::set<std::string>> out;
    for (const simserver::Request& r : server.journal()) {
        if (!r.message) continue;
        const std::string marker = msgf::getText(*r.message, kMarker);
        out[r.connection].insert(marker.substr(0, marker.find(" request")));
    }
    return out;
}

TEST(ExchangeConcurrencyTest, ThreadsWithTheirOwnConnections) {
    vsdktest::TestEnv env;
    echoMarker(env.server());
    std::atomic<int> failures{0};
    runAll(env, failures);
    EXPECT_EQ(0, failures.load());
    EXPECT_EQ(static_cast<std::size_t>(kThreads * kRequestsPerThread), env.server().requestCount());
    const auto perConnection = threadsPerConnection(env.server());
    EXPECT_EQ(static_cast<std::size_t>(kThreads), perConnection.size());
    for (const auto& c : perConnection) EXPECT_EQ(1u, c.second.size()) << "connection " << c.first;
    EXPECT_TRUE(env.server().waitForOpenConnections(0, 5s));
}

TEST(ExchangeConcurrencyTest, ThreadsSharingOnePool) {
    vsdktest::EnvOptions options;
    options.pooling = true;
    vsdktest::TestEnv env(options);
    echoMarker(env.server());
    std::atomic<int> failures{0};
    runAll(env, failures);
    EXPECT_EQ(0, failures.load());
    EXPECT_EQ(static_cast<std::size_t>(kThreads * kRequestsPerThread), env.server().requestCount());
    auto pool = VSDKAPIGlobalData::getSessionPool(env.mardockName());
    ASSERT_TRUE(pool);
    EXPECT_EQ(0, pool->lentCount());
    EXPECT_LE(env.server().connections().size(), static_cast<std::size_t>(pool->maxConnections()));
}

TEST(ExchangeConcurrencyTest, CleanUpWhileThreadsAreInsideAnExchange) {
    vsdktest::EnvOptions options;
    options.pooling = true;
    vsdktest::TestEnv env(options);
    echoMarker(env.server(), 300ms);
    constexpr int kInFlight = 4;  // within the pool's bound: all are sent at once
    std::atomic<int> failures{0};
    std::atomic<int> started{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kInFlight; ++t) {
        threads.emplace_back([&, t] {
            if (env.initThread() != 0) {
                ++failures;
                ++started;
                return;
            }
            ++started;
            VSDKAPIGlobalData* state = g_dataMap.current();
            QAgeDataReqMsg request;
            const std::string marker = "thread " + std::to_string(t);
            msgf::putText(request, kMarker, marker);
            CNMessageBase* raw = nullptr;
            const unsigned long rc =
                exchange(*state, nullptr, request, QAgeDataRespMsg::kTag, raw);
            std::unique_ptr<CNMessageBase> reply(raw);
            if (rc != 0 || !reply || msgf::getText(*reply, kEcho) != marker) ++failures;
            VSDKDeInitialize();
        });
    }
    ASSERT_TRUE(env.server().waitForRequests(kInFlight, 10s));
    EXPECT_EQ(0u, VSDKCleanUpConnectionPools());
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(0, failures.load());
    EXPECT_FALSE(VSDKAPIGlobalData::getSessionPool(env.mardockName()));
    // The pool went with its last user, and its connections with it.
    EXPECT_TRUE(env.server().waitForOpenConnections(0, 5s));
}

}  // namespace
