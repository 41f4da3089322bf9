// Backups from several caller threads at once, on their own connections and
// pooled: each thread's request carries its own record and the caller identity
// (looked up re-entrantly), and each thread gets its own job id back.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "support/WireChecks.h"

#include <atomic>

namespace {

using namespace OrvaneOperations;

constexpr int kThreads = 8, kCallsPerThread = 20;

// The reply's job id is derived from the client id the request carried.
long long jobIdFor(long long clientId) { return 0x100000000LL + clientId; }

class BackupConcurrencyTest : public ::testing::TestWithParam<bool> {};

TEST_P(BackupConcurrencyTest, EachThreadGetsItsOwnJob) {
    vsdktest::EnvOptions options;
    options.pooling = GetParam(), options.debugLevel = 1;
    vsdktest::TestEnv env(options);
    env.server().replyWith(QBackupInfoMsg::kTag, QBackupRespMsg::kTag,
                           [](const CNMessageBase& request, CNMessageBase& reply) {
                               msgf::putInt(reply, kReplyJobId,
                                            jobIdFor(msgf::getInt(request, kBackupClientId)));
                           });

    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&env, &failures, t] {
            if (env.initThread() != 0) return void(++failures);
            for (int k = 0; k < kCallsPerThread; ++k) {
                _QBackupParameters p;
                p.clientId = t * 1000 + k;
                vsdktest::setText(p.clientName, "client-" + std::to_string(t));
                _QJobStartInfo result;
                if (VSDKBackup(&p, &result) != 0 || result.jobId != jobIdFor(p.clientId)) ++failures;
            }
            VSDKDeInitialize();
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(0, failures.load());

    std::set<long long> clients;
    for (const simserver::Request& r : env.server().requestsOfType(QBackupInfoMsg::kTag)) {
        ASSERT_TRUE(r.message);
        const long long clientId = msgf::getInt(*r.message, kBackupClientId);
        clients.insert(clientId);
        EXPECT_EQ("client-" + std::to_string(clientId / 1000), msgf::getText(*r.message, kBackupClientName));
        vsdktest::expectCallerIdentity(*r.message, kBackupCallerIdentity);
    }
    EXPECT_EQ(static_cast<std::size_t>(kThreads * kCallsPerThread), clients.size());
}

INSTANTIATE_TEST_SUITE_P(Pooling, BackupConcurrencyTest, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Pooled" : "OwnConnection"); });

}  // namespace
