// Pooling switched on before the first start-up: the switch comes from the
// instance the start-ups go on to use (ORVANE_VM), so that a main thread and
// the workers it starts after it share one pooled connection. And the order
// in which the platform picks the instance while no focus is set.
#include "support/TestEnv.h"

#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/Exchange.h"
#include "platform/RKPlatformInfo.h"
#include "platform/RkNetworkPool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

vsdktest::EnvOptions site7() {
    vsdktest::EnvOptions o;
    o.instance = "Site7";
    return o;
}

// What a caller's thread does: start up, then one request.
unsigned long startUpAndAsk(vsdktest::TestEnv& env) {
    const unsigned long started = env.initThread();
    if (started != 0) return started;
    VSDKAPIGlobalData* state = g_dataMap.current();
    OrvaneOperations::QAgeDataReqMsg request;
    CNMessageBase* reply = nullptr;
    const unsigned long rc = exchange(*state, state->getVSDKHandle().network, request,
                                      OrvaneOperations::QAgeDataRespMsg::kTag, reply);
    delete reply;
    return rc;
}

// ORVANE_VM names Site7, whose Mardock section switches pooling on; the
// process has started nothing up yet, so no focus is set.
class PoolInstanceTest : public ::testing::Test {
protected:
    PoolInstanceTest() : env(site7()) { RKPI_Focus::setFocus(nullptr); }
    void TearDown() override {
        if (g_dataMap.current()) VSDKDeInitialize();
    }

    // Pooling on, then the main thread starts up and six workers, one after
    // another, start up, ask and tear down while it stays up.
    void runMainThreadAndWorkers() {
        env.setValue("Mardock", "UseSessionPool", 1LL);
        ASSERT_EQ(0u, VSDKInitializeConnectionPools());
        ASSERT_EQ(0u, startUpAndAsk(env));
        for (int w = 0; w < 6; ++w) {
            unsigned long asked = 1, tornDown = 1;
            std::thread worker([&] {
                asked = startUpAndAsk(env);
                tornDown = VSDKDeInitialize();
            });
            worker.join();
            EXPECT_EQ(0u, asked) << "worker " << w;
            EXPECT_EQ(0u, tornDown) << "worker " << w;
        }
        EXPECT_EQ(0u, VSDKDeInitialize());
    }

    // All seven went through one pooled connection, which stays open.
    void expectOnePooledConnection() {
        EXPECT_EQ(1u, env.server().connections().size());
        EXPECT_TRUE(env.server().waitForOpenConnections(1, 5s));
        const auto pool = VSDKAPIGlobalData::getSessionPool(env.mardockName());
        ASSERT_TRUE(pool);
        EXPECT_EQ(1, pool->connectionCount());
        EXPECT_EQ(0, pool->lentCount());
    }

    vsdktest::TestEnv env;
};

TEST_F(PoolInstanceTest, PoolingOnBeforeTheFirstStartUpReadsTheInstanceOfOrvaneVm) {
    runMainThreadAndWorkers();
    expectOnePooledConnection();
}

TEST_F(PoolInstanceTest, OrvaneVmGoesBeforeTheFocusFileForThePoolingSwitch) {
    vsdktest::writeRegistryValue(env.root(), "Other", "Mardock", "sMardockHostName", env.mardockName());
    vsdktest::writeRegistryValue(env.root(), "Other", "Mardock", "UseSessionPool", "0");
    env.setFocusFile("Other");
    runMainThreadAndWorkers();
    expectOnePooledConnection();
}

// While no focus is set: ORVANE_VM (not empty, trailing blanks cut, read at
// each look-up), else the focus file, else Instance001. A focus that is set
// goes before all of them.
TEST(PlatformInstanceTest, WithoutAFocusOrvaneVmThenTheFocusFileThenTheDefault) {
    vsdktest::TempRegistry reg;
    vsdktest::ScopedEnv vm("ORVANE_VM", nullptr);
    for (const char* inst : {"FromEnv", "FromFile", "Set"}) {
        reg.setValue(inst, "Mardock", "sMardockHostName", std::string(inst) + "-cs");
    }
    RKPI_Focus::setFocus(nullptr);
    EXPECT_EQ(nullptr, RKPI_Focus::getFocus());
    EXPECT_EQ("Instance001", RKPlatformInfo::currentInstance());

    reg.setFocusFile("FromFile");
    EXPECT_EQ("FromFile", RKPlatformInfo::currentInstance());

    // Another instance found counts as a change of focus for readers that
    // keep what they read.
    const unsigned long changes = RKPI_Focus::changeCount();
    setenv("ORVANE_VM", "FromEnv", 1);
    EXPECT_STREQ("FromEnv", RKPI_Focus::getFocus());
    EXPECT_NE(changes, RKPI_Focus::changeCount());
    EXPECT_EQ("FromEnv", RKPlatformInfo::currentInstance());
    char host[64];
    ASSERT_EQ(0, RKPlatformInfo::findMardockHostName(host, sizeof host));
    EXPECT_STREQ("FromEnv-cs", host);
    EXPECT_EQ(reg.root() + "/FromEnv/Home", RKPI_Base::getOrvaneDirectory());

    // Read as a start-up reads it.
    setenv("ORVANE_VM", "FromEnv \t\n", 1);
    EXPECT_EQ("FromEnv", RKPlatformInfo::currentInstance());

    setenv("ORVANE_VM", "", 1);
    EXPECT_EQ("FromFile", RKPlatformInfo::currentInstance());
    ASSERT_EQ(0, RKPlatformInfo::findMardockHostName(host, sizeof host));
    EXPECT_STREQ("FromFile-cs", host);

    setenv("ORVANE_VM", "FromEnv", 1);
    RKPI_Focus::setFocus("Set");
    EXPECT_EQ("Set", RKPlatformInfo::currentInstance());
    RKPI_Focus::setFocus(nullptr);
    EXPECT_EQ("FromEnv", RKPlatformInfo::currentInstance());

    unsetenv("ORVANE_VM");
    std::remove((reg.root() + "/focus").c_str());
    EXPECT_EQ("Instance001", RKPlatformInfo::currentInstance());
}

}  // namespace
