// The replication sets of one client's application and the pairs of one
// replication set.
#include "VSDK/Replication.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;
using namespace fieldrows;

namespace {

using SetSel = _QGetReplicationSetsParameters;
using PairSel = _QGetReplicationPairsParameters;
using Set = _QReplicationSetInfo;
using Pair = _QReplicationPairInfo;

const FieldRow<SetSel> kSetSelectorFields[] = {
    {GetReplicationSetsReq::kClientId, put<&SetSel::clientId>},
    {GetReplicationSetsReq::kClientName, put<&SetSel::clientName>},
    {GetReplicationSetsReq::kAppId, put<&SetSel::appId>},
};

const FieldRow<PairSel> kPairSelectorFields[] = {
    {GetReplicationPairsReq::kClientId, put<&PairSel::clientId>},
    {GetReplicationPairsReq::kClientName, put<&PairSel::clientName>},
    {GetReplicationPairsReq::kRepSetId, put<&PairSel::repSetId>},
    {GetReplicationPairsReq::kRepSetName, put<&PairSel::repSetName>},
    {GetReplicationPairsReq::kSharedValue, put<&PairSel::sharedValue>},
};

const TakeRow<Set> kSetRows[] = {
    {GetReplicationSetsResp::kId, take<&Set::id>},
    {GetReplicationSetsResp::kName, take<&Set::name>},
    {GetReplicationSetsResp::kSharedValue, take<&Set::sharedValue>},
    {GetReplicationSetsResp::kSetValue, take<&Set::setValue>},
    {GetReplicationSetsResp::kSetText, take<&Set::setText>},
};

const TakeRow<Pair> kPairRows[] = {
    {GetReplicationPairsResp::kId, take<&Pair::id>},
    {GetReplicationPairsResp::kName, take<&Pair::name>},
    {GetReplicationPairsResp::kSharedValue, take<&Pair::sharedValue>},
    {GetReplicationPairsResp::kPairValue, take<&Pair::pairValue>},
    {GetReplicationPairsResp::kPairText, take<&Pair::pairText>},
    {GetReplicationPairsResp::kPairText2, take<&Pair::pairText2>},
};

// One listing: the selector's rows into the request, then the listing course.
template <class Request, class Selector, std::size_t N, class Record>
unsigned long list(const ListingSpec<Record>& spec, const FieldRow<Selector> (&rows)[N],
                   const Selector* selector, Record** out, int* count) {
    Request request;
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, spec.operation.function, selector, out, count)) {
        return rc;
    }
    fillSession(*state, request, MultiDomain::Never);
    putRows(request, rows, *selector);
    return runListing(*state, spec, request, *out, *count);
}

}  // namespace

VSDK_API unsigned long VSDKGetReplicationSets(const _QGetReplicationSetsParameters* selector,
                                              _QReplicationSetInfo** sets, int* count) {
    static const ListingSpec<Set> kListing{
        {"VSDKGetReplicationSets()", "Retrival of Replication Sets"},
        "Retrival of Replication Sets",
        GetReplicationSetsResp::kList,
        QReplicationSet::kTag,
        [](const CNMessageBase& entry, Set& record) { takeRows(entry, kSetRows, record); }};
    return vsdkguard::guarded(kListing.operation.function, [&] {
        return list<QGetReplicationSetsReqMsg>(kListing, kSetSelectorFields, selector, sets, count);
    });
}

VSDK_API unsigned long VSDKGetReplicationPairs(const _QGetReplicationPairsParameters* selector,
                                               _QReplicationPairInfo** pairs, int* count) {
    static const ListingSpec<Pair> kListing{
        {"VSDKGetReplicationPairs()", "Retrival of Replication Pairs"},
        "Retrival of Replication Pairs",
        GetReplicationPairsResp::kList,
        QReplicationPair::kTag,
        [](const CNMessageBase& entry, Pair& record) { takeRows(entry, kPairRows, record); }};
    return vsdkguard::guarded(kListing.operation.function, [&] {
        return list<QGetReplicationPairsReqMsg>(kListing, kPairSelectorFields, selector, pairs, count);
    });
}
