// Requests that name a node of a client's data-protection tree by a
// selector path: the listings of the level below a node, and the changes and
// deletions of a node, whose server error text becomes the thread's last
// error after every completed exchange, also on success.
#pragma once

#include "AgentTreePath.h"
#include "VSDK/Agents.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

template <class Request, TreeLevel Last, class Record>
unsigned long listTree(const ListingSpec<Record>& listing, _QAgentTreePath* selector, Record** out,
                       int* count) {
    const char* function = listing.operation.function;
    return vsdkguard::guarded(function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        Request request;
        if (unsigned long rc = openOperation(state, function, selector, out, count)) return rc;
        fillSession(*state, request, MultiDomain::Never);
        putSelectorPath<Last>(request, *selector);
        return runListing(*state, listing, request, *out, *count);
    });
}

// dumpLine: the level-6 parameter line; putOwn (may be null): the fields
// after the path.
template <class Request, TreeLevel Last, class Record>
unsigned long changeTreeNode(const char* function, const char* dumpLine, const char* phrase,
                             Record* params, void (*putOwn)(CNMessageBase&, const Record&) = nullptr) {
    return vsdkguard::guarded(function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        Request request;
        if (unsigned long rc = openOperation(state, function, params)) return rc;
        logParameters(*state, function, dumpLine, *params);

        fillSession(*state, request, MultiDomain::Never);
        putSelectorPath<Last>(request, *params);
        if (putOwn) putOwn(request, *params);

        OperationSpec spec{function, phrase};
        spec.storeErrorTextOnSuccess = true;
        return runOperation(*state, spec, request, [](const CNMessageBase&) {});
    });
}
