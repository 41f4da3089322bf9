// Creating and changing off-site entities: one course for the five, told
// apart by their body rows, log texts and how the id comes back.
#include "VSDK/Offsite.h"

#include "ShelfwatchRule.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;
using namespace fieldrows;

namespace {

template <class Rec>
struct Creation {
    const char* function;
    const char* parameterLine;  // level 6, with the record's dump
    const char* createdLine;    // level 1, with the id handed back
    const char* failurePhrase;
    FieldId replyId;            // where the reply holds the id
    // Set: the request's own id is handed back, and a refusal leaves it alone.
    int Rec::*echoedId = nullptr;
};

// The body: the rows in order (operation id first, a list last). The server's
// refusal stores its text as the last error and hands back -1.
template <class Request, class Rec, std::size_t N>
unsigned long setOffsite(const Creation<Rec>& c, const FieldRow<Rec> (&rows)[N],
                         const Rec* params, int* outId) {
    return vsdkguard::guarded(c.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, c.function, params, outId)) return rc;
        logParameters(*state, c.function, c.parameterLine, *params);
        Request request;
        fillSession(*state, request, MultiDomain::Never);
        putRows(request, rows, *params);
        const OperationSpec spec{c.function, c.failurePhrase};
        return runOperation(
            *state, spec, request,
            [&](const CNMessageBase& reply) -> unsigned long {
                if (c.echoedId) {
                    *outId = params->*c.echoedId;
                } else if (unsigned long rc = takeCreatedId(*state, spec, reply, c.replyId, *outId)) {
                    return rc;
                }
                state->getEvDebug().debugLvl(c.function, 1, c.createdLine, *outId);
                return 0;
            },
            [&](unsigned long) {
                if (!c.echoedId) *outId = -1;
            });
    });
}

// The location sub-object: its id and name only.
void putShelfLocation(CNMessageBase& request, FieldId f, const _QSetMediaShelfParameters& p) {
    CNMessageBase& location = msgf::child<QLocation>(request, f);
    msgf::putInt(location, Location::kId, p.location.locationId);
    msgf::putText(location, Location::kName, p.location.locationName);
}

using Loc = _QSetLocationParameters;
const FieldRow<Loc> kLocationBody[] = {
    {SetLocation::kOperationId, put<&Loc::operationId>},
    {SetLocation::kLocationId, put<&Loc::locationId>},
    {SetLocation::kLocationName, put<&Loc::locationName>},
    {SetLocation::kLocationType, put<&Loc::locationType>},
    {SetLocation::kDescription, put<&Loc::locationDescription>},
};

using Con = _QSetContainerParameters;
const FieldRow<Con> kContainerBody[] = {
    {SetContainer::kOperationId, put<&Con::operationId>},
    {SetContainer::kContainerId, put<&Con::containerId>},
    {SetContainer::kContainerName, put<&Con::containerName>},
    {SetContainer::kCapacity, put<&Con::capacity>},
    {SetContainer::kTrackingId, put<&Con::trackingId>},
    {SetContainer::kDescription, put<&Con::description>},
};

using Shelf = _QSetMediaShelfParameters;
const FieldRow<Shelf> kMediaShelfBody[] = {
    {SetMediaShelf::kOperationId, put<&Shelf::operationId>},
    {SetMediaShelf::kShelfId, put<&Shelf::shelfId>},
    {SetMediaShelf::kShelfName, put<&Shelf::shelfName>},
    {SetMediaShelf::kSpareGroupId, put<&Shelf::spareGroupId>},
    {SetMediaShelf::kLocation, putShelfLocation},
    {SetMediaShelf::kBarcodePattern, put<&Shelf::barcodePattern>},
    {SetMediaShelf::kNumberOfMedia, put<&Shelf::numberOfMedia>},
    {SetMediaShelf::kBarcodes, putEach<&Shelf::barcodeList>},
};

using Iron = _QSetIronMountainParameters;
const FieldRow<Iron> kIronMountainBody[] = {
    {SetIronMountain::kOperationId, put<&Iron::operationId>},
    {SetIronMountain::kCustomerId, put<&Iron::customerId>},
    {SetIronMountain::kIronMountainId, put<&Iron::ironMountainId>},
};

using Action = _QSetSWActionParameters;
const FieldRow<Action> kSWActionBody[] = {
    {SetSWAction::kOperationId, put<&Action::operationId>},
    {SetSWAction::kActionId, put<&Action::actionId>},
    {SetSWAction::kContainerId, put<&Action::containerId>},
    {SetSWAction::kValues, putEach<&Action::valueList>},
};

}  // namespace

VSDK_API unsigned long VSDKSetLocation(_QSetLocationParameters* params, int* outId) {
    static const Creation<Loc> kCreation{
        "VSDKSetLocation()", "Parameters of the location:%s", "Export location is created with Id:[%d]",
        "Creation of export location", SetLocation::kId};
    return setOffsite<QSetLocationReqMsg>(kCreation, kLocationBody, params, outId);
}

VSDK_API unsigned long VSDKSetContainer(_QSetContainerParameters* params, int* outId) {
    static const Creation<Con> kCreation{
        "VSDKSetContainer()", "Parameters of the Container:%s", "Export Container is created with Id:[%d]",
        "Creation of export Container", SetContainer::kId};
    return setOffsite<QSetContainerReqMsg>(kCreation, kContainerBody, params, outId);
}

VSDK_API unsigned long VSDKSetMediaShelf(_QSetMediaShelfParameters* params, int* outId) {
    static const Creation<Shelf> kCreation{
        "VSDKSetMediaShelf()", "Parameters of the MediaShelf:%s",
        "MediaShelf is created or modified with Id:[%d]", "Creation or modification of MediaShelf",
        SetMediaShelf::kId};
    return setOffsite<QSetMediaShelfReqMsg>(kCreation, kMediaShelfBody, params, outId);
}

VSDK_API unsigned long VSDKSetIronMountain(_QSetIronMountainParameters* params, int* outId) {
    static const Creation<Iron> kCreation{
        "VSDKSetIronMountain()", "Parameters of the IronMountain:%s",
        "Export IronMountain is created with Id:[%d]", "Creation of export IronMountain",
        SetIronMountain::kId};
    return setOffsite<QSetIronMountainReqMsg>(kCreation, kIronMountainBody, params, outId);
}

VSDK_API unsigned long VSDKSetSWAction(_QSetSWActionParameters* params, int* outId) {
    static const Creation<Action> kCreation{
        "VSDKSetSWAction()", "Parameters of the SWAction:%s", "Run command on SWAction with Id:[%d]",
        "Command on SWAction", FieldId{}, &Action::actionId};
    return setOffsite<QSetSWActionReqMsg>(kCreation, kSWActionBody, params, outId);
}

namespace {

using Policy = _QSetShelfwatchPolicyParameters;

// A location as a QSWLocation object: id, type, name.
void fillSWLocation(CNMessageBase& object, const _QLocationInfo& location) {
    msgf::putInt(object, SWLocation::kId, location.locationId);
    msgf::putInt(object, SWLocation::kType, location.locationType);
    msgf::putText(object, SWLocation::kName, location.locationName);
}

template <_QLocationInfo Policy::*M>
void putSWLocation(CNMessageBase& request, FieldId f, const Policy& p) {
    fillSWLocation(msgf::child<QSWLocation>(request, f), p.*M);
}

void putRule(CNMessageBase& request, FieldId f, const Policy& p) {
    putRows(msgf::child<QSWRule>(request, f), shelfwatch::kRuleToRequest, p.rule);
}

// The two element lists, entry by entry: an empty vector leaves its field unset.
void putCopies(CNMessageBase& request, FieldId f, const Policy& p) {
    for (const _QSWSPCopyInfo& copy : p.spCopyList) {
        QSWSPCopy element;
        msgf::putInt(element, SWSPCopy::kCopyId, copy.copyId);
        msgf::putText(element, SWSPCopy::kCopyName, copy.copyName);
        msgf::putInt(element, SWSPCopy::kStoragePolicyId, copy.storagePolicyId);
        msgf::putText(element, SWSPCopy::kStoragePolicyName, copy.storagePolicyName);
        msgf::appendObject(request, f, element);
    }
}

void putLocations(CNMessageBase& request, FieldId f, const Policy& p) {
    for (const _QLocationInfo& location : p.locationList) {
        QSWLocation element;
        fillSWLocation(element, location);
        msgf::appendObject(request, f, element);
    }
}

const FieldRow<Policy> kPolicyBody[] = {
    {SetShelfwatchPolicy::kOperationId, put<&Policy::operationId>},
    {SetShelfwatchPolicy::kPolicyId, put<&Policy::policyId>},
    {SetShelfwatchPolicy::kPolicyType, put<&Policy::policyType>},
    {SetShelfwatchPolicy::kPolicyName, put<&Policy::policyName>},
    {SetShelfwatchPolicy::kDescription, put<&Policy::description>},
    {SetShelfwatchPolicy::kDestination, putSWLocation<&Policy::destinationLocation>},
    {SetShelfwatchPolicy::kTransit, putSWLocation<&Policy::transitLocation>},
    {SetShelfwatchPolicy::kRule, putRule},
    {SetShelfwatchPolicy::kField16, put<&Policy::policyField16>},
    {SetShelfwatchPolicy::kField17, put<&Policy::policyField17>},
    {SetShelfwatchPolicy::kContainerId, put<&Policy::containerId>},
    {SetShelfwatchPolicy::kField19, put<&Policy::policyField19>},
    {SetShelfwatchPolicy::kField20, put<&Policy::policyField20>},
    {SetShelfwatchPolicy::kCopies, putCopies},
    {SetShelfwatchPolicy::kLocations, putLocations},
};

}  // namespace

VSDK_API unsigned long VSDKSetShelfwatchPolicy(_QSetShelfwatchPolicyParameters* params, int* outId) {
    static const Creation<Policy> kCreation{
        "VSDKSetShelfwatchPolicy()", "Parameters of the ShelfwatchPolicy:%s",
        "ShelfwatchPolicy is created with Id:[%d]", "Creation of ShelfwatchPolicy",
        SetShelfwatchPolicy::kId};
    return setOffsite<QSetShelfwatchPolicyReqMsg>(kCreation, kPolicyBody, params, outId);
}
