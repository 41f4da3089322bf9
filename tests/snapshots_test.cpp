// Snapshots, pseudo-mount and software update: the snapshot time text, a
// snapshot operation with empty lists, the update's 64-bit job id and its
// refusal.
#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPIGlobalData/QEvDebug.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <string>

namespace {

using namespace vsdktest;
namespace oo = OrvaneOperations;
namespace ou = OrvaneUtilities;

class SnapshotsTest : public StartedTest {};

TEST_F(SnapshotsTest, SnapshotTimesBecomeLocalTimeTextAndIdsKeepTheLowBits) {
    env.server().replyWith(ou::QGetSnapsReqMsg::kTag, ou::QGetSnapsRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) {
                               for (long long when : {0LL, 1700000000LL}) {
                                   ou::QSnapshot entry;
                                   msgf::putInt(entry, ou::GetSnaps::kId, 0x100000000LL + when % 7);
                                   msgf::putInt(entry, ou::GetSnaps::kUnixTime, when);
                                   msgf::putText(entry, ou::GetSnaps::kText7, "seventh");
                                   msgf::appendObject(reply, ou::GetSnaps::kList, entry);
                               }
                           });
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
    EXPECT_EQ("seventh", snaps[1].text7);
    delete[] snaps;
    expectSent(env.server(), ou::QGetSnapsReqMsg::kTag,
               {{ou::GetSnaps::kJobId, "42"}, {ou::GetSnaps::kCopyName, ""}, {ou::GetSnaps::kOption, -3}});
}

TEST_F(SnapshotsTest, SnapWithEmptyListsLeavesThemUnsetAndStoresTheServerText) {
    setErrorString("earlier failure");
    _QSnapParameters p;
    p.operation = "mount", p.option = 5;
    ASSERT_EQ(0u, VSDKSnap(&p));
    EXPECT_STREQ("", VSDKGetLastErrorString());
    expectSent(env.server(), oo::QSnapReqMsg::kTag, {{oo::Snap::kOption, 5}, {oo::Snap::kOperation, "mount"},
                            {oo::Snap::kDestinationClient, ""}, Expect::absent(oo::Snap::kIntList),
                            Expect::absent(oo::Snap::kTextList)});
}

TEST_F(SnapshotsTest, UpdateHandsBackAJobIdAboveThirtyTwoBits) {
    constexpr long long kJobId = 0x500000002LL;
    replyJobId(env.server(), ou::QBrevantUpdateReqMsg::kTag, ou::QBrevantUpdateRespMsg::kTag, kJobId);
    threadState()->setismultifenmarktoken(true);
    threadState()->setMultifenmarktoken("md-token");
    _QBrevantUpdateParameters p;
    p.reboot = true;
    long jobId = 0;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKBrevantUpdate(&p, &jobId));
    EXPECT_EQ(kJobId, jobId);
    EXPECT_TRUE(env.logContains(
        "VSDKBrevantUpdate() [0] Brevant Update Started with job Id:[" + std::to_string(kJobId) + "]", mark));
    auto request = expectSent(env.server(), ou::QBrevantUpdateReqMsg::kTag,
                              {{ou::BrevantUpdate::kConstant, 2}, {ou::BrevantUpdate::kReboot, 1}});
    ASSERT_TRUE(request);
    expectSession(*request, {env.mardockName(), threadState()->getGuid(), true, "md-token"});
}

TEST_F(SnapshotsTest, RefusedUpdateGivesMinusOneAndLogsTheFixedText) {
    env.server().serverError(ou::QBrevantUpdateReqMsg::kTag, 0x201, "server's own words");
    _QBrevantUpdateParameters p;
    long jobId = 7;
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x201u, VSDKBrevantUpdate(&p, &jobId));
    EXPECT_EQ(-1, jobId);
    EXPECT_STREQ("server's own words", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "Brevant Update failed with Error code [0x201] Error string [VSDK API Internal Error]", mark));
}

TEST(PseudoMount, IsUnsupportedEvenWithoutState) {
    EXPECT_EQ(0x301u, onFreshThread([] { return VSDKPseudoMount(nullptr, nullptr); }));
}

}  // namespace
