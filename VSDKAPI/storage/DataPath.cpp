// The data-path lookup: media agents, libraries, drive pools and scratch
// pools named by the caller, resolved to their ids by the Mardock.
#include "VSDK/DataPath.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

#include <memory>

using namespace OrvaneUtilities;
using namespace fieldrows;

namespace {

using Names = _QGetDataPathParameters;
using Path = _QDataPathInfo;

const char kFunction[] = "VSDKGetDataPath()";
const char kPhrase[] = "Retrival of Data Path Params";

const FieldRow<Names> kNameFields[] = {
    {GetDataPathReq::kMediaAgentNames, put<&Names::mediaAgentNames>},
    {GetDataPathReq::kLibraryNames, put<&Names::libraryNames>},
    {GetDataPathReq::kDrivePoolNames, put<&Names::drivePoolNames>},
    {GetDataPathReq::kScratchPoolNames, put<&Names::scratchPoolNames>},
};

const TakeRow<Path> kIdFields[] = {
    {GetDataPathResp::kMediaAgentIds, take<&Path::mediaAgentIds>},
    {GetDataPathResp::kLibraryIds, take<&Path::libraryIds>},
    {GetDataPathResp::kDrivePoolIds, take<&Path::drivePoolIds>},
    {GetDataPathResp::kScratchPoolIds, take<&Path::scratchPoolIds>},
};

// Each id list of the reply is absent or a list of int32 ids; fits: each is
// within the bound of a listing's array (it becomes one for the caller).
bool idListsWellFormed(const CNMessageBase& reply, bool& fits) {
    fits = true;
    for (const TakeRow<Path>& row : kIdFields) {
        const std::vector<int>* ids = msgf::findIntList(reply, row.field);
        if (msgf::has(reply, row.field) && !ids) return false;
        fits = fits && (!ids || withinListingBound<int>(ids->size()));
    }
    return true;
}

unsigned long getDataPath(const Names* names, Path** dataPath) {
    QGetDataPathReqMsg request;
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, kFunction, names, dataPath)) return rc;

    fillSession(*state, request, MultiDomain::Never);
    putRows(request, kNameFields, *names);

    const OperationSpec spec{kFunction, kPhrase};
    return runOperation(*state, spec, request, [&](const CNMessageBase& reply) -> unsigned long {
        bool fits = true;
        if (!idListsWellFormed(reply, fits)) return invalidReply(*state, spec);
        Path* path = nullptr;
        if (const unsigned long rc = allocateForCaller(*state, kFunction, kPhrase, path, [fits] {
                return fits ? new (std::nothrow) Path() : nullptr;
            })) {
            *dataPath = nullptr;
            return rc;
        }
        std::unique_ptr<Path> owned(path);
        takeRows(reply, kIdFields, *owned);
        *dataPath = owned.release();
        return 0;
    });
}

}  // namespace

VSDK_API unsigned long VSDKGetDataPath(_QGetDataPathParameters* names, _QDataPathInfo** dataPath) {
    return vsdkguard::guarded(kFunction, [&] { return getDataPath(names, dataPath); });
}
