// The generic request: an XML request document sent with the caller's
// session and identity; the reply document comes back as text.
#include "VSDK/Execute.h"

#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/CallerIdentity.h"
#include "VSDKAPI/session/OperationFrame.h"

using namespace OrvaneOperations;

VSDK_API unsigned long VSDKQExecute(_QExecuteParams* params, _QExecuteInfo* info) {
    static const char* const kFunction = "VSDKQExecute()";
    QExecuteReqMsg request;
    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    if (!params || !info) return invalidArgument(*state, kFunction);

    fillSession(*state, request, MultiDomain::WhenHeld);
    msgf::putText(request, kExecuteXml, params->xmlRequest);
    putCallerIdentity(*state, request, kExecuteCallerIdentity, kFunction,
                      "Failed to fetch UID info");

    const OperationSpec spec{kFunction, "Execute command", QExecuteRespMsg::kTag};
    return runOperation(*state, spec, request, [&](const CNMessageBase& reply) {
        info->outputText = msgf::getText(reply, kExecuteRespXml);
        if (const CNMessageBase* error =
                msgf::findChild(reply, msgf::kReplyError, QReplyErrorMsg::kTag)) {
            info->errorValue = msgf::getInt(*error, kErrorExtra);
        }
    });
}
