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

// Each id list of the reply is absent or a list of int32 ids. The lists are
// copied as decoded (4 bytes an id, each id at least 2 bytes of the reply):
// the reply's size limit bounds them, no listing bound is needed.
bool idListsWellFormed(const CNMessageBase& reply) {
    for (const TakeRow<Path>& row : kIdFields) {
        if (msgf::has(reply, row.field) && !msgf::findIntList(reply, row.field)) return false;
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
        if (!idListsWellFormed(reply)) return invalidReply(*state, spec);
        Path* path = nullptr;
        if (const unsigned long rc = allocateRecord(*state, kFunction, kPhrase, path)) {
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
