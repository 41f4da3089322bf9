// Whether archive data exists for a list of jobs: a media-manager document
// sent through the generic request, its answer read back from the reply
// document.
#include "ArchiveCheck.h"

#include "VSDK/OneShot.h"

#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPI/xml/Execute.h"

#include <string>
#include <vector>

using namespace MediaManager;

bool readArchiveCheckReply(const std::string& document, int& flags) {
    CheckForArchiveJobResp reply;
    if (reply.unserialize(document) != 0) return false;
    if (msgf::getInt(reply, kArchiveCheckFirst) != 0) flags |= 1;
    if (msgf::getInt(reply, kArchiveCheckSecond) != 0) flags |= 2;
    return true;
}

VSDK_API unsigned long VSDKArchiveDataExistanceCheck(const std::vector<CNMessageBase>* jobs,
                                                     int* flags) {
    static const char* const kFunction = "archiveDataExistanceCheck()";
    _QExecuteParams params;
    _QExecuteInfo info;

    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    if (!jobs || !flags) return invalidArgument(*state, kFunction);
    QEvDebug& log = state->getEvDebug();

    CheckForArchiveJobReq request;
    *request.getlistobject(kArchiveCheckJobs.number, kArchiveCheckJobs.slot, request.getTagID(),
                           kArchiveCheckJobs.hash, true) = *jobs;

    std::string xml;
    if (request.serialize(xml, false) != 0) {
        log.debugLvl(kFunction, 0, "Serialization Failed.");
        return vsdkerr::kInternal;
    }
    log.debugLvl(kFunction, 6, "Sending XML[%s].", xml.c_str());
    params.xmlRequest = xml;

    const unsigned long rc = runExecute(*state, params, info);
    if (rc != 0) return rc;

    // The reply document must be a whole answer of the expected type; anything
    // else is no answer at all.
    if (!readArchiveCheckReply(info.outputText, *flags)) {
        log.debugLvl(kFunction, 0, "Unserialize Failed.Input XML[%s]", info.outputText.c_str());
        return vsdkerr::kInvalidResponse;
    }
    return 0;
}
