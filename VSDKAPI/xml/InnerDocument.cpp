#include "InnerDocument.h"

#include "Execute.h"
#include "VSDK/Execute.h"
#include "VSDKErrors/MessageLogging.h"
#include "VSDKErrors/VSDKErrors.h"

unsigned long exchangeInnerDocument(VSDKAPIGlobalData& state, const char* function,
                                    const CNMessageBase& request, CNMessageBase& reply,
                                    bool logSending,
                                    const std::function<bool(const CNMessageBase&)>& wellFormed) {
    QEvDebug& log = state.getEvDebug();
    _QExecuteParams params;
    _QExecuteInfo info;
    if (request.serialize(params.xmlRequest, false) != 0) {
        log.debugLvl(function, 0, "Serialization Failed.");
        return vsdkerr::kInternal;
    }
    if (logSending && log.getDebugLevel() > 5) {  // a whole document: made only when written
        log.debugLvl(function, 6, "Sending XML[%s].", logWholeDocument(params.xmlRequest).c_str());
    }

    const unsigned long rc = runExecute(state, params, info);
    if (rc != 0) return rc;

    if (reply.unserialize(info.outputText) != 0 || (wellFormed && !wellFormed(reply))) {
        log.debugLvl(function, 0, "Unserialize Failed.Input XML[%s]",
                     logDocument(info.outputText).c_str());
        state.setErrorString(GetErrorString(vsdkerr::kInvalidResponse));
        return vsdkerr::kInvalidResponse;
    }
    return 0;
}
