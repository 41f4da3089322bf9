// Whether archive data exists for a list of jobs: a media-manager document
// sent through the generic request, its answer read back from the reply
// document.
#include "ArchiveCheck.h"

#include "VSDK/OneShot.h"

#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPI/xml/InnerDocument.h"
#include "VSDKErrors/ExportGuard.h"

#include <string>
#include <vector>

using namespace MediaManager;

namespace {

void addFlags(const CNMessageBase& reply, int& flags) {
    if (msgf::getInt(reply, kArchiveCheckFirst) != 0) flags |= 1;
    if (msgf::getInt(reply, kArchiveCheckSecond) != 0) flags |= 2;
}

}  // namespace

bool readArchiveCheckReply(const std::string& document, int& flags) {
    CheckForArchiveJobResp reply;
    if (reply.unserialize(document) != 0) return false;
    addFlags(reply, flags);
    return true;
}

VSDK_API unsigned long VSDKArchiveDataExistanceCheck(const std::vector<CNMessageBase>* jobs,
                                                     int* flags) {
    return vsdkguard::guarded("VSDKArchiveDataExistanceCheck", [&]() -> unsigned long {
        static const char* const kFunction = "archiveDataExistanceCheck()";
        VSDKAPIGlobalData* state = nullptr;
        if (const unsigned long rc = openOperation(state, kFunction, jobs, flags)) return rc;

        CheckForArchiveJobReq request;
        CheckForArchiveJobResp reply;
        *request.getlistobject(kArchiveCheckJobs.number, kArchiveCheckJobs.slot,
                               request.getTagID(), kArchiveCheckJobs.hash, true) = *jobs;

        // The reply document must be a whole answer of the expected type;
        // anything else is no answer at all.
        const unsigned long rc = exchangeInnerDocument(*state, kFunction, request, reply);
        if (rc != 0) return rc;
        addFlags(reply, *flags);
        return 0;
    });
}
