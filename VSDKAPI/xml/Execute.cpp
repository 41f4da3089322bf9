// The generic request: an XML request document sent with the caller's
// session and identity; the reply document comes back as text.
#include "Execute.h"

#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/CallerIdentity.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneOperations;

namespace {
constexpr const char* kFunction = "VSDKQExecute()";
}

unsigned long runExecute(VSDKAPIGlobalData& state, const _QExecuteParams& params,
                         _QExecuteInfo& info) {
    QExecuteReqMsg request;
    fillSession(state, request, MultiDomain::WhenHeld);
    msgf::putText(request, kExecuteXml, params.xmlRequest);
    putCallerIdentity(state, request, kExecuteCallerIdentity, kFunction, "Failed to fetch UID info");

    const OperationSpec spec{kFunction, "Execute command"};
    return runOperation(state, spec, request, [&](const CNMessageBase& reply) {
        info.outputText = msgf::getText(reply, kExecuteRespXml);
        if (const CNMessageBase* error =
                msgf::findChild(reply, msgf::kReplyError, QReplyErrorMsg::kTag)) {
            info.errorValue = msgf::getInt(*error, kErrorExtra);
        }
    });
}

static unsigned long VSDKQExecuteUnguarded(_QExecuteParams* params, _QExecuteInfo* info) {
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, kFunction, params, info)) return rc;
    return runExecute(*state, *params, *info);
}

// The exports: no exception leaves them.

VSDK_API unsigned long VSDKQExecute(_QExecuteParams* params, _QExecuteInfo* info) {
    return vsdkguard::guarded("VSDKQExecute", [&] { return VSDKQExecuteUnguarded(params, info); });
}
