#include "InnerDocument.h"

#include "Execute.h"
#include "VSDK/Execute.h"
#include "VSDKErrors/VSDKErrors.h"

#include <string>

unsigned long exchangeInnerDocument(VSDKAPIGlobalData& state, const char* function,
                                    const CNMessageBase& request, CNMessageBase& reply) {
    QEvDebug& log = state.getEvDebug();
    std::string xml;
    if (request.serialize(xml, false) != 0) {
        log.debugLvl(function, 0, "Serialization Failed.");
        return vsdkerr::kInternal;
    }
    log.debugLvl(function, 6, "Sending XML[%s].", xml.c_str());

    _QExecuteParams params;
    _QExecuteInfo info;
    params.xmlRequest = xml;
    const unsigned long rc = runExecute(state, params, info);
    if (rc != 0) return rc;

    if (reply.unserialize(info.outputText) != 0) {
        log.debugLvl(function, 0, "Unserialize Failed.Input XML[%s]", info.outputText.c_str());
        return vsdkerr::kInvalidResponse;
    }
    return 0;
}
