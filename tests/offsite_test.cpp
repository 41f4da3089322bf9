// Off-site creations and deletions as tables over one course each, and the
// multi-domain token of the listings; the listings' course is in the listing suite.
#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

using namespace vsdktest;
namespace ou = OrvaneUtilities;

namespace {

class Offsite : public StartedTest {};

struct Creation {
    const char* name;
    unsigned long requestTag;
    FieldId replyId;                      // {} : the action id comes back
    FieldId operation;
    std::function<unsigned long(int*)> call;  // a record with operation id 3, entity id 41
};

template <class Rec, class Fn>
std::function<unsigned long(int*)> creating(Fn fn, int Rec::*id) {
    return [fn, id](int* out) {
        Rec r;
        r.operationId = 3;
        r.*id = 41;
        return fn(&r, out);
    };
}

#define CREATION(op, id, replyId)                                                                  \
    Creation {                                                                                     \
        #op, ou::QSet##op##ReqMsg::kTag, replyId, ou::Set##op::kOperationId,                     \
            creating(VSDKSet##op, &_QSet##op##Parameters::id)                                      \
    }
const Creation kCreations[] = {
    CREATION(Location, locationId, ou::SetLocation::kId),
    CREATION(Container, containerId, ou::SetContainer::kId),
    CREATION(MediaShelf, shelfId, ou::SetMediaShelf::kId),
    CREATION(IronMountain, customerId, ou::SetIronMountain::kId),
    CREATION(SWAction, actionId, FieldId{}),
    CREATION(ShelfwatchPolicy, policyId, ou::SetShelfwatchPolicy::kId),
};
#undef CREATION

TEST_F(Offsite, CreationsHandBackTheIdOrRefuse) {
    for (const Creation& c : kCreations) {
        SCOPED_TRACE(c.name);
        const bool echoes = c.replyId.number == 0;
        replyFields(env.server(), c.requestTag, 0, {{echoes ? ou::SetLocation::kId : c.replyId, 0x100000007LL}},
                    {}, {}, 1);
        int id = 5;
        ASSERT_EQ(0u, c.call(&id));
        EXPECT_EQ(echoes ? 41 : 7, id) << "low 32 bits of the reply's id; the action its own";
        expectSent(env.server(), c.requestTag, {{c.operation, 3}});
        int made = 0;  // the bundled server's own answer names a new id
        ASSERT_EQ(0u, c.call(&made));
        EXPECT_TRUE(echoes ? made == 41 : made > 0) << made;

        env.server().serverError(c.requestTag, 0x44, "refused", 1);
        id = 5;
        EXPECT_EQ(0x44u, c.call(&id));
        EXPECT_EQ(echoes ? 5 : -1, id);
        // A success that names no id created nothing: the id is left alone.
        env.server().replyWith(c.requestTag, 0, {}, 1);
        EXPECT_EQ(echoes ? 0u : 0x207u, c.call(&id));
        EXPECT_EQ(echoes ? 41 : -1, id);
    }
}

TEST_F(Offsite, MediaShelfSendsTheLocationsIdAndNameAndNoEmptyBarcodeList) {
    _QSetMediaShelfParameters p;
    p.location.locationId = -2, p.location.locationType = 9;
    setText(p.location.locationName, "vault");
    int id = 0;
    replyFields(env.server(), ou::QSetMediaShelfReqMsg::kTag, 0, {{ou::SetMediaShelf::kId, 1}});
    ASSERT_EQ(0u, VSDKSetMediaShelf(&p, &id));
    auto sent = expectSent(env.server(), ou::QSetMediaShelfReqMsg::kTag, {Expect::absent(ou::SetMediaShelf::kBarcodes)});
    const CNMessageBase* loc = expectObject(*sent, ou::SetMediaShelf::kLocation, ou::QLocation::kTag,
                                            {{ou::Location::kId, -2}, {ou::Location::kName, "vault"}});
    EXPECT_EQ((std::set<short>{1, 2}), fieldNumbers(*loc));
}

struct Deletion {
    const char* name;
    unsigned long requestTag;
    FieldId id, text;
    std::function<unsigned long()> call;  // id -9, text "gone"
};

template <class Rec, class Fn, std::size_t N>
std::function<unsigned long()> deleting(Fn fn, int Rec::*id, char (Rec::*text)[N]) {
    return [fn, id, text] {
        Rec r;
        r.*id = -9;
        setText(r.*text, "gone");
        return fn(&r);
    };
}

#define DELETION(op, id, text)                                                                  \
    Deletion {                                                                                  \
        #op, ou::QDelete##op##ReqMsg::kTag, ou::Delete##op::kId, ou::Delete##op::kName,        \
            deleting(VSDKDelete##op, &_QDelete##op##Parameters::id, &_QDelete##op##Parameters::text) \
    }
const Deletion kDeletions[] = {
    DELETION(Location, locationId, locationName),     DELETION(Container, containerId, containerName),
    DELETION(MediaShelf, shelfId, shelfName),         DELETION(IronMountain, customerId, ironMountainId),
    DELETION(ShelfwatchPolicy, policyId, policyName),
};
#undef DELETION

TEST_F(Offsite, DeletionsSendConstantIdAndTextAndKeepTheRepliesText) {
    for (const Deletion& d : kDeletions) {
        SCOPED_TRACE(d.name);
        env.server().clearJournal();
        setErrorString("older");
        ASSERT_EQ(0u, d.call());
        EXPECT_STREQ("", VSDKGetLastErrorString()) << "the reply's empty text replaces it";
        auto sent = expectSent(env.server(), d.requestTag, {{ou::Offsite::kConstant, 2}, {d.id, -9}, {d.text, "gone"}});
        EXPECT_EQ(fieldRange(1, 5), fieldNumbers(*sent));
    }
}

TEST_F(Offsite, OnlyTheLocationListingSendsTheToken) {
    threadState()->setismultifenmarktoken(true);
    threadState()->setMultifenmarktoken("md-token");
    _QLocationInfo* locations = nullptr;
    _QContainerInfo* containers = nullptr;
    int n = 0;
    ASSERT_EQ(0u, VSDKGetLocations(&locations, &n));
    ASSERT_EQ(0u, VSDKGetContainers(&containers, &n));
    for (unsigned long tag : {ou::QGetLocationsReqMsg::kTag, ou::QGetContainersReqMsg::kTag}) {
        auto sent = expectSent(env.server(), tag, {{ou::Offsite::kConstant, 2}});
        expectSession(*sent, {env.mardockName(), threadState()->getGuid(), tag == ou::QGetLocationsReqMsg::kTag,
                              "md-token"});
    }
}

// A shelfwatch policy's creation sends its objects and only non-empty lists,
// its listing fills the rule, and a run sends its body.
TEST_F(Offsite, ShelfwatchPolicyCreationListingAndRun) {
    namespace sp = ou::SetShelfwatchPolicy;
    _QSetShelfwatchPolicyParameters p;
    p.transitLocation = {7, "transit", 0x55};
    setText(p.rule.ruleField16, "rule text");
    p.spCopyList.resize(2);
    p.spCopyList[1].copyId = 4;
    int id = 0;
    replyFields(env.server(), ou::QSetShelfwatchPolicyReqMsg::kTag, 0, {{sp::kId, 1}});
    ASSERT_EQ(0u, VSDKSetShelfwatchPolicy(&p, &id));
    auto sent = onlyRequest(env.server(), ou::QSetShelfwatchPolicyReqMsg::kTag);
    EXPECT_EQ(fieldRange(1, 21, {3, 9, 13, 14, 15}), fieldNumbers(*sent)) << "no empty location list";
    expectObject(*sent, sp::kTransit, ou::QSWLocation::kTag,
                 {{ou::SWLocation::kId, 7}, {ou::SWLocation::kType, 0x55}, {ou::SWLocation::kName, "transit"}});
    expectObject(*sent, sp::kDestination, ou::QSWLocation::kTag);
    const auto* rule = expectObject(*sent, sp::kRule, ou::QSWRule::kTag, {{ou::SWRule::kField16, "rule text"}});
    EXPECT_EQ(fieldRange(1, 16), fieldNumbers(*rule));
    const auto* copies = objectListAt(*sent, sp::kCopies);
    ASSERT_TRUE(copies && copies->size() == 2u);
    expectFields((*copies)[1], {{ou::SWSPCopy::kCopyId, 4}, {ou::SWSPCopy::kCopyName, ""}});

    ou::QShelfwatchPolicy entry;
    msgf::putObject(entry, ou::ShelfwatchPolicy::kRule,
                    messageWith<ou::QSWRule>({{ou::SWRule::kField1, 11}, {ou::SWRule::kField16, "r16"}}));
    replyFields(env.server(), ou::QGetShelfwatchPoliciesReqMsg::kTag, 0, {}, ou::ShelfwatchPolicy::kList, {entry});
    _QShelfwatchPolicyInfo* a = nullptr;
    int n = 0;
    ASSERT_EQ(0u, VSDKGetShelfwatchPolicies(&a, &n));
    ASSERT_EQ(1, n);
    EXPECT_TRUE(a[0].rule.ruleField1 == 11 && std::string(a[0].rule.ruleField16) == "r16") << "the rule read";
    delete[] a;

    _QShelfwatchParameters run;
    setText(run.policyName, "weekly");
    run.policyId = 12, run.operationId = 2;
    ASSERT_EQ(0u, VSDKShelfwatch(&run));
    namespace sw = OrvaneOperations::Shelfwatch;
    expectSent(env.server(), OrvaneOperations::QShelfwatchReqMsg::kTag,
               {{sw::kConstant, 2}, {sw::kOperationId, 2}, {sw::kPolicyId, 12}, {sw::kPolicyName, "weekly"}});
}

}  // namespace
