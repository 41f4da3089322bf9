// The listings of a client's data-protection tree: a selector request down
// to the level above what is listed, then the listing course.
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
