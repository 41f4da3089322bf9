// The data-path lookup and the two prunes: what crosses the wire and what the
// caller gets back.
#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <memory>

using namespace vsdktest;
namespace ou = OrvaneUtilities;
namespace oo = OrvaneOperations;

namespace {

class DataPath : public StartedTest {
protected:
    unsigned long call(_QDataPathInfo*& out, _QGetDataPathParameters names = {}) {
        return VSDKGetDataPath(&names, &out);
    }
    _QDataPathInfo sentinel;
};

TEST_F(DataPath, NameListsGoWholeAndIdsFollowTheReply) {
    env.server().replyWith(ou::QGetDataPathReqMsg::kTag, ou::QGetDataPathRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putIntList(reply, ou::GetDataPathResp::kMediaAgentIds, {7, 7, -1});
                               msgf::putIntList(reply, ou::GetDataPathResp::kScratchPoolIds, {9});
                           });
    _QDataPathInfo* out = &sentinel;
    ASSERT_EQ(0u, call(out, {{"ma1", ""}, {}, {"dp"}, {}}));
    std::unique_ptr<_QDataPathInfo> owned(out);
    EXPECT_EQ((std::vector<int>{7, 7, -1}), out->mediaAgentIds);
    EXPECT_TRUE(out->libraryIds.empty() && out->drivePoolIds.empty() && out->scratchPoolIds == std::vector<int>{9});
    auto r = onlyRequest(env.server(), ou::QGetDataPathReqMsg::kTag);
    ASSERT_TRUE(r);
    using namespace ou::GetDataPathReq;
    for (auto [f, names] : {std::pair{kMediaAgentNames, std::vector<std::string>{"ma1", ""}},
                            {kLibraryNames, {}}, {kDrivePoolNames, {"dp"}}, {kScratchPoolNames, {}}})
        expectTextList(*r, f, names);
}

TEST_F(DataPath, EmptyReplyGivesARecordAndFailuresLeaveOrNullIt) {
    _QDataPathInfo* out = &sentinel;
    ASSERT_EQ(0u, call(out));
    ASSERT_NE(&sentinel, out);
    EXPECT_TRUE(out->mediaAgentIds.empty() && out->scratchPoolIds.empty());
    delete out;

    env.server().serverError(ou::QGetDataPathReqMsg::kTag, 0x44, "unknown library", 1);
    out = &sentinel;
    EXPECT_EQ(0x44u, call(out));
    EXPECT_EQ(&sentinel, out);
    EXPECT_STREQ("unknown library", VSDKGetLastErrorString());

    g_failListingAllocations = 1;
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x201u, call(out));
    EXPECT_EQ(nullptr, out);
    EXPECT_TRUE(env.logContains("Retrival of Data Path Params failed with Error code [0x201]", mark));

    env.server().replyWith(ou::QGetDataPathReqMsg::kTag, ou::QGetDataPathRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putTextList(reply, ou::GetDataPathResp::kLibraryIds, {"x"});
                           });
    out = &sentinel;
    EXPECT_EQ(0x207u, call(out)) << "a list of another kind";
    EXPECT_EQ(&sentinel, out);
}

unsigned long pruneByStore(std::string* out) { _QPruneDataByDedupStoreIdParameters p; return VSDKPruneDataByStoreId(&p, out); }
unsigned long pruneByJob(std::string* out) { _QPruneDataByJobIdParameters p; return VSDKPruneDataByJobId(&p, out); }

// One prune: its call on a record with no ids, its request, id list and response line.
struct Prune {
    unsigned long (*callWithoutIds)(std::string*);
    unsigned long requestTag;
    FieldId ids;
    const char* responseLine;
};
const Prune kPrunes[] = {
    {pruneByStore, oo::QPruneDataByDedupStoreIdReqMsg::kTag, oo::PruneByStoreId::kStoreIds,
     "Deletion of Data by Dedup StoreId Response String:[pruned 3]"},
    {pruneByJob, oo::QPruneDataByJobIdReqMsg::kTag, oo::PruneByJobId::kJobIds,
     "Deletion of Data by Job Id Response String:[pruned 3]"},
};

class PruneData : public StartedTest {};

TEST_F(PruneData, AnswerTextAndLastErrorAfterSuccess) {
    for (const Prune& p : kPrunes) {
        SCOPED_TRACE(p.responseLine);
        env.server().clearScripts();
        env.server().clearJournal();
        std::string answer = "caller's";
        setErrorString("before");
        EXPECT_EQ(0u, p.callWithoutIds(&answer));
        EXPECT_EQ("caller's", answer) << "an empty answer leaves it";
        EXPECT_STREQ("", VSDKGetLastErrorString());
        expectSent(env.server(), p.requestTag, {Expect::absent(p.ids)});

        env.server().serverError(p.requestTag, 0, "pruned 3");
        const std::size_t mark = env.logMark();
        EXPECT_EQ(0u, p.callWithoutIds(&answer));
        EXPECT_TRUE(answer == "pruned 3" && VSDKGetLastErrorString() == std::string("pruned 3"));
        EXPECT_TRUE(env.logContains(p.responseLine, mark));
    }
}

TEST_F(PruneData, IdsAppendedInOrder) {
    _QPruneDataByJobIdParameters p;
    p.jobIds = {1LL << 40, -2};
    std::string answer;
    ASSERT_EQ(0u, VSDKPruneDataByJobId(&p, &answer));
    auto r = onlyRequest(env.server(), oo::QPruneDataByJobIdReqMsg::kTag);
    ASSERT_TRUE(r);
    CNMessageBase copy(*r);  // the list reader wants a changeable message
    const FieldId f = oo::PruneByJobId::kJobIds;
    auto* ids = copy.getlistlonglong(f.number, f.slot, copy.getTagID(), f.hash, false);
    EXPECT_TRUE(ids && *ids == (std::vector<long long>{1LL << 40, -2}));
}

TEST_F(PruneData, FailedExchangeLineOfTheStoreIdPrune) {
    env.server().script(oo::QPruneDataByDedupStoreIdReqMsg::kTag, simserver::Action::bareError(0x1234, "x"));
    std::string answer = "kept";
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x1234u, pruneByStore(&answer));
    EXPECT_EQ("kept", answer);
    EXPECT_TRUE(env.logContains(":SendAndReceive() Failed error code [4660]", mark));
}

}  // namespace
