// Connection pools as start-up and the exchange use them: when pooling
// applies, one pool per Mardock for all threads, and no connection left
// behind after failures.
#include "support/TestEnv.h"

#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/Exchange.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "platform/CRkNetwork.h"
#include "platform/RkNetworkPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using OrvaneOperations::QAgeDataReqMsg;
using OrvaneOperations::QAgeDataRespMsg;
using simserver::Action;

VSDKAPIGlobalData* state() { return g_dataMap.current(); }

unsigned long ageRequest() {
    QAgeDataReqMsg request;
    CNMessageBase* reply = nullptr;
    VSDKAPIGlobalData* s = state();
    if (!s) return 0x280;
    const unsigned long rc =
        exchange(*s, s->getVSDKHandle().network, request, QAgeDataRespMsg::kTag, reply);
    delete reply;
    return rc;
}

class PoolTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (state()) VSDKDeInitialize();
    }
    unsigned long initFor(const char* mardock) {
        _QInitializeParameters p;
        env.fillInitParams(p);
        std::strcpy(p.mardockName, mardock);
        return VSDKInitialize(&p);
    }
    vsdktest::TestEnv env;
};

TEST_F(PoolTest, PoolingStaysOffUntilTheSwitchIsRead) {
    env.setValue("Mardock", "UseSessionPool", 1LL);  // written, not read yet
    ASSERT_EQ(0u, env.initThread());
    EXPECT_NE(nullptr, state()->getVSDKHandle().network);
    EXPECT_FALSE(VSDKAPIGlobalData::getSessionPool("localhost"));
}

TEST_F(PoolTest, SwitchAbsentOrZeroConnectsDirectly) {
    for (const char* value : {static_cast<const char*>("0"), static_cast<const char*>(nullptr)}) {
        if (value) {
            env.setValue("Mardock", "UseSessionPool", std::string(value));
        } else {
            env.removeValue("Mardock", "UseSessionPool");
        }
        EXPECT_EQ(0u, VSDKInitializeConnectionPools());
        EXPECT_FALSE(VSDKAPIGlobalRegKeys::isRkSessionPoolEnabled());
        ASSERT_EQ(0u, env.initThread());
        EXPECT_NE(nullptr, state()->getVSDKHandle().network);
        VSDKDeInitialize();
    }
    EXPECT_FALSE(VSDKAPIGlobalData::getSessionPool("localhost"));
}

TEST_F(PoolTest, OwnMardockGoesThroughItsPool) {
    env.setPooling(true);
    EXPECT_STREQ("localhost", VSDKAPIGlobalRegKeys::getCSName());
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, env.initThread());
    EXPECT_EQ(nullptr, state()->getVSDKHandle().network);
    auto pool = VSDKAPIGlobalData::getSessionPool("localhost");
    ASSERT_TRUE(pool);
    EXPECT_EQ(0, pool->connectionCount());  // connects on first use
    EXPECT_TRUE(env.server().connections().empty());
    EXPECT_TRUE(env.logContains(
        "Connection to VSDK Service with parameters: serviceName:[CMDLINE_SERVICE] CSMangled "
        "name:[localhost*simcs*8400*8402]host name [localhost] local client Name from "
        "registry[simcs]",
        mark));
    EXPECT_TRUE(env.logContains("[ConnectToVSDKServiceWrapper] total execution time :[", mark));
    EXPECT_EQ(0u, ageRequest());
    EXPECT_EQ(1, pool->connectionCount());
    EXPECT_EQ(0, pool->lentCount());
}

TEST_F(PoolTest, OwnMardockInOtherLetterCaseGetsAPoolUnderThatName) {
    env.setPooling(true);
    ASSERT_EQ(0u, initFor("LocalHost"));
    EXPECT_EQ(nullptr, state()->getVSDKHandle().network);
    EXPECT_TRUE(VSDKAPIGlobalData::getSessionPool("LocalHost"));
    EXPECT_FALSE(VSDKAPIGlobalData::getSessionPool("localhost"));
    EXPECT_EQ(0u, ageRequest());
}

TEST_F(PoolTest, AnotherMardockConnectsDirectlyAndTearDownReleasesIt) {
    env.setPooling(true);
    ASSERT_EQ(0u, initFor("127.0.0.1"));
    ASSERT_NE(nullptr, state()->getVSDKHandle().network);
    EXPECT_FALSE(VSDKAPIGlobalData::getSessionPool("127.0.0.1"));
    EXPECT_EQ(0u, ageRequest());
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    EXPECT_EQ(0u, VSDKDeInitialize());
    EXPECT_TRUE(env.server().waitForOpenConnections(0, 5s));
}

TEST_F(PoolTest, PoolThatCannotBeMadeFailsTheStartUp) {
    env.setValue("Mardock", "sMardockHostName", "nohost.invalid");
    env.setPooling(true);
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x202u, initFor("NOHOST.invalid"));
    EXPECT_EQ(nullptr, state());
    EXPECT_FALSE(VSDKAPIGlobalData::getSessionPool("NOHOST.invalid"));
    EXPECT_TRUE(env.logContains("Failed to create  session Pool to VSDK server on 'NOHOST.invalid with error [", mark));
    EXPECT_FALSE(env.logContains("total execution time", mark));
}

TEST_F(PoolTest, CleanUpEmptiesTheTableAndTheNextStartUpMakesANewPool) {
    EXPECT_EQ(0u, VSDKCleanUpConnectionPools());  // empty table
    env.setPooling(true);
    ASSERT_EQ(0u, env.initThread());
    auto first = VSDKAPIGlobalData::getSessionPool("localhost");
    ASSERT_TRUE(first);
    EXPECT_EQ(0u, ageRequest());
    VSDKDeInitialize();
    EXPECT_EQ(0u, VSDKCleanUpConnectionPools());
    EXPECT_FALSE(VSDKAPIGlobalData::getSessionPool("localhost"));
    first.reset();  // the last holder: the pool and its connection go
    EXPECT_TRUE(env.server().waitForOpenConnections(0, 5s));
    ASSERT_EQ(0u, env.initThread());
    EXPECT_TRUE(VSDKAPIGlobalData::getSessionPool("localhost"));
    EXPECT_EQ(0u, ageRequest());
}

TEST_F(PoolTest, OnePoolForManyThreadsStartingAtOnce) {
    env.setPooling(true);
    env.server().script(OrvaneOperations::QAgeDataReqMsg::kTag,
                        Action::defaultReply().after(50ms));
    constexpr int kThreads = 12;
    const std::size_t mark = env.logMark();
    std::mutex m;
    std::condition_variable cv;
    int ready = 0;
    std::atomic<int> failures{0};
    std::vector<RkNetworkPool*> seen(kThreads, nullptr);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            {
                std::unique_lock<std::mutex> lock(m);
                ++ready;
                cv.notify_all();
                cv.wait(lock, [&] { return ready == kThreads; });
            }
            if (env.initThread() != 0) ++failures;
            seen[i] = VSDKAPIGlobalData::getSessionPool("localhost").get();
            if (ageRequest() != 0) ++failures;
            if (VSDKDeInitialize() != 0) ++failures;
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(0, failures.load());
    // Threads that found no pool each announce one; one is made.
    EXPECT_GE(env.logCount("]host name [localhost]", mark), 1u);
    auto pool = VSDKAPIGlobalData::getSessionPool("localhost");
    ASSERT_TRUE(pool);
    for (RkNetworkPool* p : seen) EXPECT_EQ(pool.get(), p);
    EXPECT_LE(env.server().connections().size(), static_cast<std::size_t>(pool->maxConnections()));
    EXPECT_EQ(0, pool->lentCount());
}

TEST_F(PoolTest, NoConnectionIsLeftAfterASeriesOfFailures) {
    env.setPooling(true);
    env.setValue("~EventManager", "nVCommandTimeOut", 1LL);
    auto& server = env.server();
    const unsigned long tag = OrvaneOperations::QAgeDataReqMsg::kTag;
    server.script(tag, Action::noReplyClose(), 2);
    server.script(tag, Action::silent(), 1);
    server.script(tag, Action::garbage("\x7f\xff\xff\xff"), 1);
    server.script(tag, Action::bareError(0x50d, "no"), 1);
    server.script(tag, Action::closeMidFrame(), 1);
    for (int round = 0; round < 3; ++round) {
        // A start-up that fails after the pool exists touches nothing of it.
        _QInitializeParameters p;
        env.fillInitParams(p);
        p.useSessionFile = true;
        EXPECT_EQ(0x10bu, VSDKInitialize(&p));
        ASSERT_EQ(0u, env.initThread());
        for (int i = 0; i < 3; ++i) ageRequest();
        VSDKDeInitialize();
    }
    auto pool = VSDKAPIGlobalData::getSessionPool("localhost");
    ASSERT_TRUE(pool);
    EXPECT_EQ(0, pool->lentCount());
    EXPECT_LE(pool->connectionCount(), 1);
    EXPECT_TRUE(server.waitForOpenConnections(pool->connectionCount(), 5s));
}

TEST_F(PoolTest, AConnectionTheServerDroppedIsNotLentAgain) {
    env.setPooling(true);
    ASSERT_EQ(0u, env.initThread());
    ASSERT_EQ(0u, ageRequest());
    env.server().closeAllConnections();
    ASSERT_TRUE(env.server().waitForOpenConnections(0, 5s));
    EXPECT_EQ(0u, ageRequest());
    EXPECT_EQ(2u, env.server().connections().size());
}

}  // namespace
