// The database replication request the caller builds, and the index-file
// call.
#include "VSDK/OneShot.h"

#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

VSDK_API unsigned long VSDKGetIndexFiles(void*, void*) { return 0; }

VSDK_API unsigned long LMRepliateDB(OrvaneUtilities::QLMReplicateDBReq& request) {
    return vsdkguard::guarded("LMRepliateDB", [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (const unsigned long rc = openOperation(state, nullptr)) return rc;

        // Only the session object is ours; the caller's other fields go as given.
        fillSession(*state, request, MultiDomain::Never);

        OperationSpec spec{nullptr, "Replication of DB"};
        spec.storeErrorTextOnSuccess = true;
        return runOperation(*state, spec, request, [](const CNMessageBase&) {});
    });
}
