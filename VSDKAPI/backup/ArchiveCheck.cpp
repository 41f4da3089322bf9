// Whether archive data exists for a list of jobs: a media-manager document
// sent through the generic request, its answer read back from the reply
// document.
#include "VSDK/OneShot.h"

#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPI/xml/InnerDocument.h"
#include "VSDKErrors/ExportGuard.h"

#include <string>
#include <vector>

using namespace MediaManager;

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
        if (msgf::getInt(reply, kArchiveCheckFirst) != 0) *flags |= 1;
        if (msgf::getInt(reply, kArchiveCheckSecond) != 0) *flags |= 2;
        return 0;
    });
}
