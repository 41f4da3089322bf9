// The five off-site listings: one course, told apart by their messages,
// entry readers, log phrases and (for the locations alone) the multi-domain
// token.
#include "VSDK/Offsite.h"

#include "ShelfwatchRule.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;
using namespace fieldrows;

namespace {

const TakeRow<_QLocationInfo> kLocationRows[] = {
    {Location::kId, take<&_QLocationInfo::locationId>},
    {Location::kName, take<&_QLocationInfo::locationName>},
    {Location::kType, take<&_QLocationInfo::locationType>},
};

const TakeRow<_QContainerInfo> kContainerRows[] = {
    {Container::kId, take<&_QContainerInfo::containerId>},
    {Container::kName, take<&_QContainerInfo::containerName>},
    {Container::kCapacity, take<&_QContainerInfo::capacity>},
    {Container::kTrackingId, take<&_QContainerInfo::trackingId>},
};

const TakeRow<_QMediaShelfInfo> kMediaShelfRows[] = {
    {MediaShelf::kId, take<&_QMediaShelfInfo::shelfId>},
    {MediaShelf::kName, take<&_QMediaShelfInfo::shelfName>},
};

const TakeRow<_QIronMountainInfo> kIronMountainRows[] = {
    {IronMountain::kCustomerId, take<&_QIronMountainInfo::customerId>},
    {IronMountain::kIronMountainId, take<&_QIronMountainInfo::ironMountainId>},
};

// The integers first, then the texts; the three locations are not read.
const TakeRow<_QSWActionInfo> kSWActionRows[] = {
    {SWAction::kActionId, take<&_QSWActionInfo::actionId>},
    {SWAction::kField2, take<&_QSWActionInfo::actionField2>},
    {SWAction::kJobId, take<&_QSWActionInfo::jobId>},
    {SWAction::kPolicyId, take<&_QSWActionInfo::policyId>},
    {SWAction::kContainerId, take<&_QSWActionInfo::containerId>},
    {SWAction::kStartTime, take<&_QSWActionInfo::startTime>},
    {SWAction::kField12, take<&_QSWActionInfo::actionField12>},
    {SWAction::kPolicyName, take<&_QSWActionInfo::policyName>},
    {SWAction::kContainerName, take<&_QSWActionInfo::containerName>},
    {SWAction::kField13, take<&_QSWActionInfo::actionField13>},
};

template <class Record, const auto& Rows>
void copyEntry(const CNMessageBase& entry, Record& record) {
    takeRows(entry, Rows, record);
}

// One off-site listing: the request carries the session and the constant 2.
template <class Request, class Record>
unsigned long listOffsite(const ListingSpec<Record>& spec, MultiDomain md, Record** out,
                          int* count) {
    return vsdkguard::guarded(spec.operation.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, spec.operation.function, out, count)) return rc;
        Request request;
        fillSession(*state, request, md);
        msgf::putInt(request, Offsite::kConstant, 2);
        return runListing(*state, spec, request, *out, *count);
    });
}

template <class Record, const auto& Rows>
ListingSpec<Record> offsiteListing(const char* function, const char* phrase, FieldId list,
                                   unsigned long entryTag) {
    return ListingSpec<Record>{{function, phrase}, phrase, list, entryTag, copyEntry<Record, Rows>};
}

}  // namespace

VSDK_API unsigned long VSDKGetLocations(_QLocationInfo** out, int* count) {
    static const auto kListing = offsiteListing<_QLocationInfo, kLocationRows>(
        "VSDKGetLocations()", "Retrival of Locations", Offsite::kLocations, QLocation::kTag);
    return listOffsite<QGetLocationsReqMsg>(kListing, MultiDomain::WhenHeld, out, count);
}

VSDK_API unsigned long VSDKGetContainers(_QContainerInfo** out, int* count) {
    static const auto kListing = offsiteListing<_QContainerInfo, kContainerRows>(
        "VSDKGetContainers()", "Retrival of Containers", Offsite::kContainers, QContainer::kTag);
    return listOffsite<QGetContainersReqMsg>(kListing, MultiDomain::Never, out, count);
}

VSDK_API unsigned long VSDKGetMediaShelves(_QMediaShelfInfo** out, int* count) {
    static const auto kListing = offsiteListing<_QMediaShelfInfo, kMediaShelfRows>(
        "VSDKGetMediaShelves()", "Retrival of MediaShelves", Offsite::kMediaShelves,
        QMediaShelf::kTag);
    return listOffsite<QGetMediaShelvesReqMsg>(kListing, MultiDomain::Never, out, count);
}

VSDK_API unsigned long VSDKGetIronMountains(_QIronMountainInfo** out, int* count) {
    static const auto kListing = offsiteListing<_QIronMountainInfo, kIronMountainRows>(
        "VSDKGetIronMountains()", "Retrival of IronMountains", Offsite::kIronMountains,
        QIronMountain::kTag);
    return listOffsite<QGetIronMountainsReqMsg>(kListing, MultiDomain::Never, out, count);
}

VSDK_API unsigned long VSDKGetSWActions(_QSWActionInfo** out, int* count) {
    static const auto kListing = offsiteListing<_QSWActionInfo, kSWActionRows>(
        "VSDKGetSWActions()", "Retrival of actions", Offsite::kSWActions, QSWAction::kTag);
    return listOffsite<QGetSWActionsReqMsg>(kListing, MultiDomain::Never, out, count);
}

namespace {

const TakeRow<_QShelfwatchPolicyInfo> kPolicyRows[] = {
    {ShelfwatchPolicy::kPolicyId, take<&_QShelfwatchPolicyInfo::policyId>},
    {ShelfwatchPolicy::kPolicyType, take<&_QShelfwatchPolicyInfo::policyType>},
    {ShelfwatchPolicy::kPolicyName, take<&_QShelfwatchPolicyInfo::policyName>},
};

// A policy and its rule; a policy without a rule object keeps a zero rule.
void copyPolicy(const CNMessageBase& entry, _QShelfwatchPolicyInfo& record) {
    takeRows(entry, kPolicyRows, record);
    if (const CNMessageBase* rule = msgf::findChild(entry, ShelfwatchPolicy::kRule, QSWRule::kTag)) {
        takeRows(*rule, shelfwatch::kRuleFromReply, record.rule);
    }
}

}  // namespace

VSDK_API unsigned long VSDKGetShelfwatchPolicies(_QShelfwatchPolicyInfo** out, int* count) {
    static const ListingSpec<_QShelfwatchPolicyInfo> kListing{
        {"VSDKGetShelfwatchPolicies()", "Retrival of Shelfwatch Policies"},
        "Retrival of Shelfwatch Policies",
        ShelfwatchPolicy::kList,
        QShelfwatchPolicy::kTag,
        copyPolicy};
    return listOffsite<QGetShelfwatchPoliciesReqMsg>(kListing, MultiDomain::Never, out, count);
}
