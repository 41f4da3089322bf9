// Deleting off-site entities, and the Shelfwatch run: one course. Each
// request carries the constant 2 and then its rows (a deletion: the entity's
// id and name); the server's error text becomes the thread's last error
// after every completed exchange.
#include "VSDK/Offsite.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneUtilities;
using namespace fieldrows;

namespace {

struct Deletion {
    const char* function;
    const char* parameterLine;  // level 6, with the record's dump
    const char* failurePhrase;
};

template <class Request, class Rec, std::size_t N>
unsigned long deleteOffsite(const Deletion& d, const FieldRow<Rec> (&rows)[N], const Rec* params) {
    return vsdkguard::guarded(d.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, d.function, params)) return rc;
        logParameters(*state, d.function, d.parameterLine, *params);
        Request request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, Offsite::kConstant, 2);
        putRows(request, rows, *params);
        OperationSpec spec{d.function, d.failurePhrase};
        spec.storeErrorTextOnSuccess = true;
        return runOperation(*state, spec, request, [](const CNMessageBase&) {});
    });
}

}  // namespace

VSDK_API unsigned long VSDKDeleteLocation(_QDeleteLocationParameters* params) {
    using R = _QDeleteLocationParameters;
    static const Deletion kDeletion{"VSDKDeleteLocation()", "Parameters of the Export Location to be deleted:%s",
                                    "Deletion of Export Location"};
    static const FieldRow<R> kBody[] = {{DeleteLocation::kId, put<&R::locationId>},
                                        {DeleteLocation::kName, put<&R::locationName>}};
    return deleteOffsite<QDeleteLocationReqMsg>(kDeletion, kBody, params);
}

VSDK_API unsigned long VSDKDeleteContainer(_QDeleteContainerParameters* params) {
    using R = _QDeleteContainerParameters;
    static const Deletion kDeletion{"VSDKDeleteContainer()", "Parameters of the Container to be deleted:%s",
                                    "Deletion of Container"};
    static const FieldRow<R> kBody[] = {{DeleteContainer::kId, put<&R::containerId>},
                                        {DeleteContainer::kName, put<&R::containerName>}};
    return deleteOffsite<QDeleteContainerReqMsg>(kDeletion, kBody, params);
}

VSDK_API unsigned long VSDKDeleteMediaShelf(_QDeleteMediaShelfParameters* params) {
    using R = _QDeleteMediaShelfParameters;
    static const Deletion kDeletion{"VSDKDeleteMediaShelf()", "Parameters of the MediaShelf to be deleted:%s",
                                    "Deletion of MediaShelf"};
    static const FieldRow<R> kBody[] = {{DeleteMediaShelf::kId, put<&R::shelfId>},
                                        {DeleteMediaShelf::kName, put<&R::shelfName>}};
    return deleteOffsite<QDeleteMediaShelfReqMsg>(kDeletion, kBody, params);
}

VSDK_API unsigned long VSDKDeleteIronMountain(_QDeleteIronMountainParameters* params) {
    using R = _QDeleteIronMountainParameters;
    static const Deletion kDeletion{"VSDKDeleteIronMountain()", "Parameters of the IronMountain to be deleted:%s",
                                    "Deletion of IronMountain"};
    static const FieldRow<R> kBody[] = {{DeleteIronMountain::kId, put<&R::customerId>},
                                        {DeleteIronMountain::kName, put<&R::ironMountainId>}};
    return deleteOffsite<QDeleteIronMountainReqMsg>(kDeletion, kBody, params);
}

VSDK_API unsigned long VSDKDeleteShelfwatchPolicy(_QDeleteShelfwatchPolicyParameters* params) {
    using R = _QDeleteShelfwatchPolicyParameters;
    static const Deletion kDeletion{"VSDKDeleteShelfwatchPolicy()", "Parameters of the ShelfwatchPolicy to be deleted:%s",
                                    "Deletion of ShelfwatchPolicy"};
    static const FieldRow<R> kBody[] = {{DeleteShelfwatchPolicy::kId, put<&R::policyId>},
                                        {DeleteShelfwatchPolicy::kName, put<&R::policyName>}};
    return deleteOffsite<QDeleteShelfwatchPolicyReqMsg>(kDeletion, kBody, params);
}

VSDK_API unsigned long VSDKShelfwatch(_QShelfwatchParameters* params) {
    using R = _QShelfwatchParameters;
    namespace oo = OrvaneOperations;
    static const Deletion kRun{"VSDKShelfwatch()", "Parameters of the Shelfwatch :%s", "Shelfwatch"};
    static const FieldRow<R> kBody[] = {{oo::Shelfwatch::kOperationId, put<&R::operationId>},
                                        {oo::Shelfwatch::kPolicyId, put<&R::policyId>},
                                        {oo::Shelfwatch::kPolicyName, put<&R::policyName>}};
    return deleteOffsite<oo::QShelfwatchReqMsg>(kRun, kBody, params);
}
