// Snapshots, pseudo-mount, software update and replication: time texts,
// empty lists, wide ids, the creations' special fields and refusals.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPIGlobalData/QEvDebug.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

using namespace vsdktest;
namespace oo = OrvaneOperations;
namespace ou = OrvaneUtilities;

namespace {

class SnapshotsTest : public StartedTest {};

TEST_F(SnapshotsTest, SnapshotTimesBecomeLocalTimeTextAndIdsKeepTheLowBits) {
    std::vector<CNMessageBase> entries;
    for (long long when : {0LL, 1700000000LL})
        entries.push_back(messageWith<ou::QSnapshot>(
            {{ou::GetSnaps::kId, 0x100000000LL + when % 7}, {ou::GetSnaps::kUnixTime, when}}));
    replyFields(env.server(), ou::QGetSnapsReqMsg::kTag, 0, {}, ou::GetSnaps::kList, entries);
    _QGetSnapsParameters selector;
    selector.jobId = "42", selector.option = -3;
    _QSnapShotInfo* snaps = nullptr;
    int count = 0;
    ASSERT_EQ(0u, VSDKGetSnaps(&selector, &snaps, &count));
    ASSERT_EQ(2, count);
    EXPECT_EQ("now", snaps[0].timeText);
    EXPECT_EQ(UnixTimeToLocTimeStringImpl(1700000000UL), snaps[1].timeText);
    EXPECT_EQ(24u, snaps[1].timeText.size()) << snaps[1].timeText;
    EXPECT_TRUE(snaps[0].id == 0 && snaps[1].id == 1700000000 % 7) << "the low 32 bits";
    delete[] snaps;
    expectSent(env.server(), ou::QGetSnapsReqMsg::kTag, {{ou::GetSnaps::kJobId, "42"}, {ou::GetSnaps::kOption, -3}});
}

TEST_F(SnapshotsTest, UpdateHandsBackAJobIdAboveThirtyTwoBitsOrMinusOne) {
    constexpr long long kJobId = 0x500000002LL;
    replyJobId(env.server(), ou::QBrevantUpdateReqMsg::kTag, ou::QBrevantUpdateRespMsg::kTag, kJobId);
    threadState()->setismultifenmarktoken(true);
    threadState()->setMultifenmarktoken("md-token");
    _QBrevantUpdateParameters p;
    p.reboot = true;
    long jobId = 0;
    ASSERT_EQ(0u, VSDKBrevantUpdate(&p, &jobId));
    EXPECT_EQ(kJobId, jobId);
    auto request = expectSent(env.server(), ou::QBrevantUpdateReqMsg::kTag,
                              {{ou::BrevantUpdate::kConstant, 2}, {ou::BrevantUpdate::kReboot, 1}});
    expectSession(*request, {env.mardockName(), threadState()->getGuid(), true, "md-token"});

    env.server().clearScripts();
    env.server().serverError(ou::QBrevantUpdateReqMsg::kTag, 0x201, "server's own words");
    EXPECT_EQ(0x201u, VSDKBrevantUpdate(&p, &jobId));
    EXPECT_EQ(-1, jobId);
    EXPECT_TRUE(env.logContains("Brevant Update failed with Error code [0x201] Error string [VSDK API Internal Error]"));
}

TEST(PseudoMount, IsUnsupportedEvenWithoutState) {
    EXPECT_EQ(0x301u, onFreshThread([] { return VSDKPseudoMount(nullptr, nullptr); }));
}

class Replication : public StartedTest {};

// One request-only operation: its request, body, failure phrase and call.
struct Sender {
    const char* name;
    unsigned long requestTag;
    std::vector<Expect> body;
    const char* failurePhrase;
    std::function<unsigned long()> call;
};

std::vector<Sender> senders() {
    namespace rep = OrvaneOperations::Replication;
    namespace cs = ou::CreateRepSet;
    namespace csn = ou::CreateRepSetNew;
    namespace crp = ou::CreateReplicationPair;
    return {
        {"control", OrvaneOperations::QReplicationReqMsg::kTag, {{rep::kRepSetId, -1}, {rep::kCurrentStatus, 4}},
         "Replication",
         [] {
             _QReplicationParameters p;
             p.repSetId = -1, p.currentStatus = 4;
             return VSDKReplication(&p);
         }},
        {"set", ou::CreateRepSetReq::kTag,
         {{cs::kRepSetText, "rs"}, {cs::kClientName, "client"}, {cs::kAppTypeId, -2}, {cs::kCommonText, "common"}},
         "Creation of Repset",
         [] {
             _QCreateRepSetParameters p{"rs", "client", -2, "common"};
             return VSDKCreateRepSet(&p);
         }},
        {"set, newer form", ou::QCreateRepSetReqNew::kTag,
         {{csn::kOperationId, -1}, {csn::kValue2, 4294967295LL}, {csn::kValue1, -4}}, "Creation of Repset",
         [] {
             _QCreateRepSetNewParameters p;
             p.operationId = -1, p.value1 = -4, p.value2 = 0xFFFFFFFFu;
             return VSDKCreateRepSetNew(&p);
         }},
        {"pair", ou::QCreateReplicationPairReqMsg::kTag, {{crp::kOperationId, -1}, {crp::kTimeStamp, -5}},
         "Creation of ReplicationPair",
         [] {
             _QCreateReplicationPairParameters p;
             p.operationId = -1, p.timeStamp = -5;
             return VSDKCreateReplicationPair(&p);
         }},
    };
}

TEST_F(Replication, BodiesOnTheWireAndServerRefusal) {
    for (const Sender& s : senders()) {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(0u, s.call());
        expectSent(env.server(), s.requestTag, s.body);

        env.server().serverError(s.requestTag, 0x70A, "refused", 1);
        const std::size_t mark = env.logMark();
        EXPECT_EQ(0x70Au, s.call());
        EXPECT_TRUE(env.logContains(
            std::string(s.failurePhrase) + " failed with Error code [0x70a] Error string [refused]", mark));
    }
}

// Empty lists: a snap leaves them unset, a replication set's filter paths go whole.
TEST_F(Replication, EmptyListsUnsetForASnapAndWholeForFilterPaths) {
    _QSnapParameters snap;
    snap.operation = "mount", snap.option = 5;
    ASSERT_EQ(0u, VSDKSnap(&snap));
    expectSent(env.server(), oo::QSnapReqMsg::kTag, {{oo::Snap::kOption, 5}, Expect::absent(oo::Snap::kIntList),
                                                     Expect::absent(oo::Snap::kTextList)});
    for (const std::vector<std::string>& paths : {std::vector<std::string>{}, {"/a", "/b", "/c"}}) {
        env.server().clearJournal();
        _QCreateRepSetNewParameters p;
        p.filterPaths = paths;
        ASSERT_EQ(0u, VSDKCreateRepSetNew(&p));
        expectTextList(*onlyRequest(env.server(), ou::QCreateRepSetReqNew::kTag), ou::CreateRepSetNew::kFilterPaths,
                       paths);
    }
}

}  // namespace
