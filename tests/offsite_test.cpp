// Off-site creations and deletions as tables over one course each, and the
// multi-domain token of the listings; the listings' course is in the listing suite.
#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <functional>
#include <string>

using namespace vsdktest;
namespace ou = OrvaneUtilities;

namespace {

class Offsite : public StartedTest {};

struct Creation {
    const char* name;
    unsigned long requestTag, replyTag;
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

const Creation kCreations[] = {
    {"location", ou::QSetLocationReqMsg::kTag, ou::QSetLocationRespMsg::kTag, ou::SetLocation::kId, ou::SetLocation::kOperationId,
     creating(VSDKSetLocation, &_QSetLocationParameters::locationId)},
    {"container", ou::QSetContainerReqMsg::kTag, ou::QSetContainerRespMsg::kTag, ou::SetContainer::kId, ou::SetContainer::kOperationId,
     creating(VSDKSetContainer, &_QSetContainerParameters::containerId)},
    {"shelf", ou::QSetMediaShelfReqMsg::kTag, ou::QSetMediaShelfRespMsg::kTag, ou::SetMediaShelf::kId, ou::SetMediaShelf::kOperationId,
     creating(VSDKSetMediaShelf, &_QSetMediaShelfParameters::shelfId)},
    {"iron", ou::QSetIronMountainReqMsg::kTag, ou::QSetIronMountainRespMsg::kTag,
     ou::SetIronMountain::kId, ou::SetIronMountain::kOperationId,
     creating(VSDKSetIronMountain, &_QSetIronMountainParameters::customerId)},
    {"action", ou::QSetSWActionReqMsg::kTag, ou::QSetSWActionRespMsg::kTag, FieldId{}, ou::SetSWAction::kOperationId,
     creating(VSDKSetSWAction, &_QSetSWActionParameters::actionId)},
    {"policy", ou::QSetShelfwatchPolicyReqMsg::kTag, ou::QSetShelfwatchPolicyRespMsg::kTag,
     ou::SetShelfwatchPolicy::kId, ou::SetShelfwatchPolicy::kOperationId,
     creating(VSDKSetShelfwatchPolicy, &_QSetShelfwatchPolicyParameters::policyId)},
};

TEST_F(Offsite, CreationsHandBackTheIdOrRefuse) {
    for (const Creation& c : kCreations) {
        SCOPED_TRACE(c.name);
        const bool echoes = c.replyId.number == 0;
        env.server().clearScripts();
        env.server().replyWith(c.requestTag, c.replyTag, [&](const CNMessageBase&, CNMessageBase& reply) {
            msgf::putInt(reply, echoes ? ou::SetLocation::kId : c.replyId, 0x100000007LL);
        }, 1);
        int id = 5;
        ASSERT_EQ(0u, c.call(&id));
        EXPECT_EQ(echoes ? 41 : 7, id) << "low 32 bits of the reply's id; the action its own";
        auto sent = onlyRequest(env.server(), c.requestTag);
        ASSERT_TRUE(sent);
        expectFields(*sent, {{c.operation, 3}});
        env.server().clearJournal();

        env.server().serverError(c.requestTag, 0x44, "refused");
        setErrorString("older");
        id = 5;
        EXPECT_EQ(0x44u, c.call(&id));
        EXPECT_EQ(echoes ? 5 : -1, id);
        EXPECT_STREQ("refused", VSDKGetLastErrorString());
    }
}

TEST_F(Offsite, MediaShelfSendsTheLocationsIdAndNameAndBarcodesOnlyWhenThere) {
    _QSetMediaShelfParameters p;
    p.location.locationId = -2;
    setText(p.location.locationName, "vault");
    p.location.locationType = 9;
    int id = 0;
    ASSERT_EQ(0u, VSDKSetMediaShelf(&p, &id));
    auto sent = onlyRequest(env.server(), ou::QSetMediaShelfReqMsg::kTag);
    ASSERT_TRUE(sent);
    expectFields(*sent, {Expect::absent(ou::SetMediaShelf::kBarcodes)});
    const CNMessageBase* loc = objectAt(*sent, ou::SetMediaShelf::kLocation, ou::QLocation::kTag);
    ASSERT_NE(nullptr, loc);
    EXPECT_EQ((std::set<short>{1, 2}), fieldNumbers(*loc));
    expectFields(*loc, {{ou::Location::kId, -2}, {ou::Location::kName, "vault"}});

    env.server().clearJournal();
    p.barcodeList = {"B1", "B2"};
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKSetMediaShelf(&p, &id));
    expectTextList(*onlyRequest(env.server(), ou::QSetMediaShelfReqMsg::kTag), ou::SetMediaShelf::kBarcodes,
                   {"B1", "B2"});
    EXPECT_TRUE(env.logContains("LocationName:[vault]\nBarcode List:[B1 B2 ]\n", mark));
}

struct Deletion {
    const char* name;
    unsigned long requestTag, replyTag;
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

using DL = _QDeleteLocationParameters;
using DC = _QDeleteContainerParameters;
using DM = _QDeleteMediaShelfParameters;
using DI = _QDeleteIronMountainParameters;
using DP = _QDeleteShelfwatchPolicyParameters;
const Deletion kDeletions[] = {
    {"location", ou::QDeleteLocationReqMsg::kTag, ou::QDeleteLocationRespMsg::kTag, ou::DeleteLocation::kId,
     ou::DeleteLocation::kName, deleting(VSDKDeleteLocation, &DL::locationId, &DL::locationName)},
    {"container", ou::QDeleteContainerReqMsg::kTag, ou::QDeleteContainerRespMsg::kTag,
     ou::DeleteContainer::kId, ou::DeleteContainer::kName,
     deleting(VSDKDeleteContainer, &DC::containerId, &DC::containerName)},
    {"shelf", ou::QDeleteMediaShelfReqMsg::kTag, ou::QDeleteMediaShelfRespMsg::kTag,
     ou::DeleteMediaShelf::kId, ou::DeleteMediaShelf::kName,
     deleting(VSDKDeleteMediaShelf, &DM::shelfId, &DM::shelfName)},
    {"iron", ou::QDeleteIronMountainReqMsg::kTag, ou::QDeleteIronMountainRespMsg::kTag,
     ou::DeleteIronMountain::kId, ou::DeleteIronMountain::kName,
     deleting(VSDKDeleteIronMountain, &DI::customerId, &DI::ironMountainId)},
    {"policy", ou::QDeleteShelfwatchPolicyReqMsg::kTag, ou::QDeleteShelfwatchPolicyRespMsg::kTag,
     ou::DeleteShelfwatchPolicy::kId, ou::DeleteShelfwatchPolicy::kName,
     deleting(VSDKDeleteShelfwatchPolicy, &DP::policyId, &DP::policyName)},
};

TEST_F(Offsite, DeletionsSendConstantIdAndTextAndKeepTheRepliesText) {
    for (const Deletion& d : kDeletions) {
        SCOPED_TRACE(d.name);
        env.server().clearJournal();
        setErrorString("older");
        ASSERT_EQ(0u, d.call());
        EXPECT_STREQ("", VSDKGetLastErrorString()) << "the reply's empty text replaces it";
        auto sent = onlyRequest(env.server(), d.requestTag);
        ASSERT_TRUE(sent);
        EXPECT_EQ(fieldRange(1, 5), fieldNumbers(*sent));
        expectFields(*sent, {{ou::Offsite::kConstant, 2}, {d.id, -9}, {d.text, "gone"}});
    }
}

TEST_F(Offsite, OnlyTheLocationListingSendsTheToken) {
    threadState()->setismultifenmarktoken(true);
    threadState()->setMultifenmarktoken("md-token");
    const std::pair<unsigned long, std::function<unsigned long()>> calls[] = {
        {ou::QGetLocationsReqMsg::kTag, [] { _QLocationInfo* a = nullptr; int n; return VSDKGetLocations(&a, &n); }},
        {ou::QGetContainersReqMsg::kTag, [] { _QContainerInfo* a = nullptr; int n; return VSDKGetContainers(&a, &n); }},
        {ou::QGetSWActionsReqMsg::kTag, [] { _QSWActionInfo* a = nullptr; int n; return VSDKGetSWActions(&a, &n); }},
    };
    for (const auto& [tag, call] : calls) {
        ASSERT_EQ(0u, call());
        auto sent = onlyRequest(env.server(), tag);
        ASSERT_TRUE(sent);
        expectFields(*sent, {{ou::Offsite::kConstant, 2}});
        expectSession(*sent, {env.mardockName(), threadState()->getGuid(),
                              tag == ou::QGetLocationsReqMsg::kTag, "md-token"});
    }
}

TEST_F(Offsite, PolicySendsItsObjectsAndOnlyNonEmptyLists) {
    namespace sp = ou::SetShelfwatchPolicy;
    _QSetShelfwatchPolicyParameters p;
    p.transitLocation = {7, "transit", 0x55};
    p.rule.ruleField15 = -15;
    setText(p.rule.ruleField16, "rule text");
    int id = 0;
    ASSERT_EQ(0u, VSDKSetShelfwatchPolicy(&p, &id));
    auto sent = onlyRequest(env.server(), ou::QSetShelfwatchPolicyReqMsg::kTag);
    ASSERT_TRUE(sent);
    EXPECT_EQ(fieldRange(1, 21, {3, 8, 9, 13, 14, 15}), fieldNumbers(*sent));
    const CNMessageBase* transit = objectAt(*sent, sp::kTransit, ou::QSWLocation::kTag);
    ASSERT_NE(nullptr, transit);
    expectFields(*transit, {{ou::SWLocation::kId, 7}, {ou::SWLocation::kType, 0x55}, {ou::SWLocation::kName, "transit"}});
    ASSERT_NE(nullptr, objectAt(*sent, sp::kDestination, ou::QSWLocation::kTag));
    const CNMessageBase* rule = objectAt(*sent, sp::kRule, ou::QSWRule::kTag);
    ASSERT_NE(nullptr, rule);
    EXPECT_EQ(fieldRange(1, 16), fieldNumbers(*rule));
    expectFields(*rule, {{ou::SWRule::kField15, -15}, {ou::SWRule::kField16, "rule text"}});

    env.server().clearJournal();
    p.spCopyList.resize(2);
    p.spCopyList[1].copyId = 4;
    p.locationList.resize(1);
    ASSERT_EQ(0u, VSDKSetShelfwatchPolicy(&p, &id));
    sent = onlyRequest(env.server(), ou::QSetShelfwatchPolicyReqMsg::kTag);
    const auto* copies = objectListAt(*sent, sp::kCopies);
    ASSERT_TRUE(copies && copies->size() == 2u);
    expectFields((*copies)[1], {{ou::SWSPCopy::kCopyId, 4}, {ou::SWSPCopy::kCopyName, ""}});
    ASSERT_TRUE(objectListAt(*sent, sp::kLocations) && objectListAt(*sent, sp::kLocations)->size() == 1u);
}

TEST_F(Offsite, PolicyListingFillsTheRule) {
    env.server().replyWith(ou::QGetShelfwatchPoliciesReqMsg::kTag, ou::QGetShelfwatchPoliciesRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) {
                               ou::QShelfwatchPolicy entry;
                               msgf::putInt(entry, ou::ShelfwatchPolicy::kPolicyType, 0x100000003LL);
                               CNMessageBase& rule = msgf::child<ou::QSWRule>(entry, ou::ShelfwatchPolicy::kRule);
                               msgf::putInt(rule, ou::SWRule::kField1, 11);
                               msgf::putText(rule, ou::SWRule::kField16, "r16");
                               msgf::appendObject(reply, ou::ShelfwatchPolicy::kList, entry);
                           });
    _QShelfwatchPolicyInfo* a = nullptr;
    int n = 0;
    ASSERT_EQ(0u, VSDKGetShelfwatchPolicies(&a, &n));
    ASSERT_EQ(1, n);
    EXPECT_EQ(3, a[0].policyType);
    EXPECT_EQ(11, a[0].rule.ruleField1);
    EXPECT_STREQ("r16", a[0].rule.ruleField16);
    delete[] a;
}

TEST_F(Offsite, ShelfwatchRunSendsItsBodyInOrderAndKeepsTheRepliesText) {
    _QShelfwatchParameters p;
    setText(p.policyName, "weekly");
    p.policyId = 12;
    p.operationId = 2;
    setErrorString("older");
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKShelfwatch(&p));
    EXPECT_STREQ("", VSDKGetLastErrorString());
    auto sent = onlyRequest(env.server(), OrvaneOperations::QShelfwatchReqMsg::kTag);
    ASSERT_TRUE(sent);
    namespace sw = OrvaneOperations::Shelfwatch;
    expectFields(*sent, {{sw::kConstant, 2}, {sw::kOperationId, 2}, {sw::kPolicyId, 12}, {sw::kPolicyName, "weekly"}});
    EXPECT_TRUE(env.logContains("Parameters of the Shelfwatch :\nSW Policy Name:[weekly]\nOperation Id:[2]", mark));
}

}  // namespace
