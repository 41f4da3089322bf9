// The media topology listings: media agents, the libraries of a media agent,
// the master drive pools, drive pools, scratch pools and drives of a library,
// and a library's master drive pools and scratch pools in one request. Each
// is the listing course with its own request body and entry reader.
#include "VSDK/Media.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using fieldrows::FieldRow;
using fieldrows::put;
using fieldrows::take;
using fieldrows::TakeRow;
using fieldrows::takeRows;
using namespace OrvaneUtilities::MediaTopologyReq;
namespace entry = OrvaneUtilities::MediaTopologyEntry;
namespace resp = OrvaneUtilities::MediaTopologyResp;

namespace {

// The entry readers: one table of (entry field, record member) per record.
const TakeRow<_QMediaAgentInfo> kAgentRows[] = {
    {entry::kAgentId, take<&_QMediaAgentInfo::id>},
    {entry::kAgentName, take<&_QMediaAgentInfo::name>},
};
const TakeRow<_QMediaLibraryInfo> kLibraryRows[] = {
    {entry::kLibraryId, take<&_QMediaLibraryInfo::id>},
    {entry::kLibraryName, take<&_QMediaLibraryInfo::name>},
    {entry::kLibraryType, take<&_QMediaLibraryInfo::libraryType>},
    {entry::kLibraryIdList, take<&_QMediaLibraryInfo::idList>},
    {entry::kLibraryAttribute1, take<&_QMediaLibraryInfo::attribute1>},
    {entry::kLibraryAttribute2, take<&_QMediaLibraryInfo::attribute2>},
};
const TakeRow<_QMasterDrivePoolInfo> kMasterPoolRows[] = {
    {entry::kMasterPoolId, take<&_QMasterDrivePoolInfo::id>},
    {entry::kMasterPoolName, take<&_QMasterDrivePoolInfo::name>},
};
const TakeRow<_QDrivePoolInfo> kDrivePoolRows[] = {
    {entry::kDrivePoolId, take<&_QDrivePoolInfo::id>},
    {entry::kDrivePoolName, take<&_QDrivePoolInfo::name>},
    {entry::kDrivePoolIdList, take<&_QDrivePoolInfo::idList>},
};
const TakeRow<_QScratchPoolInfo> kScratchPoolRows[] = {
    {entry::kScratchPoolId, take<&_QScratchPoolInfo::id>},
    {entry::kScratchPoolName, take<&_QScratchPoolInfo::name>},
};
const TakeRow<_QDriveInfo> kDriveRows[] = {
    {MediaManager::GetDrives::kDriveId, take<&_QDriveInfo::id>},
    {MediaManager::GetDrives::kDriveName, take<&_QDriveInfo::name>},
    {MediaManager::GetDrives::kDrivePoolId, take<&_QDriveInfo::drivePoolId>},
};

template <class Rec, const auto& Rows>
void copyEntry(const CNMessageBase& e, Rec& record) {
    takeRows(e, Rows, record);
}

// The request bodies, after the constant 2 at (3,3).
const FieldRow<_QMediaAgentInfo> kLibrariesBody[] = {
    {kMediaAgentId, put<&_QMediaAgentInfo::id>},
    {kMediaAgentName, put<&_QMediaAgentInfo::name>},
};
template <class Params>
constexpr FieldRow<Params> kPoolsBody[] = {
    {kMediaAgentId, put<&Params::mediaAgentId>},
    {kMediaAgentName, put<&Params::mediaAgentName>},
    {kLibraryId, put<&Params::libraryId>},
    {kLibraryName, put<&Params::libraryName>},
};
const FieldRow<_QGetDrivePoolsParams> kDrivePoolsBody[] = {
    {kMediaAgentId, put<&_QGetDrivePoolsParams::mediaAgentId>},
    {kMediaAgentName, put<&_QGetDrivePoolsParams::mediaAgentName>},
    {kLibraryId, put<&_QGetDrivePoolsParams::libraryId>},
    {kLibraryName, put<&_QGetDrivePoolsParams::libraryName>},
    {kMasterDrivePoolId, put<&_QGetDrivePoolsParams::masterDrivePoolId>},
    {kMasterDrivePoolName, put<&_QGetDrivePoolsParams::masterDrivePoolName>},
};
const FieldRow<_QGetLibraryChildrenParams> kChildrenBody[] = {
    {kChildrenLibraryId, put<&_QGetLibraryChildrenParams::libraryId>},
    {kChildrenLibraryName, put<&_QGetLibraryChildrenParams::libraryName>},
    {kChildrenOption, put<&_QGetLibraryChildrenParams::option>},
};
const FieldRow<_QGetDrivesParams> kDrivesBody[] = {
    {kMediaAgentId, put<&_QGetDrivesParams::mediaAgentId>},
    {kMediaAgentName, put<&_QGetDrivesParams::mediaAgentName>},
    {kLibraryId, put<&_QGetDrivesParams::libraryId>},
    {kLibraryName, put<&_QGetDrivesParams::libraryName>},
    {MediaManager::GetDrives::kDrivesOption, put<&_QGetDrivesParams::option>},
};

// One listing: the opening, the session and constant, the body rows, the course.
template <class Req, class Rec, class Params, std::size_t N>
unsigned long list(const ListingSpec<Rec>& spec, const Params* params,
                   const FieldRow<Params> (&body)[N], Rec** out, int* count) {
    return vsdkguard::guarded(spec.operation.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, spec.operation.function, params, out, count)) {
            return rc;
        }
        Req request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, kConstant, 2);
        putRows(request, body, *params);
        return runListing(*state, spec, request, *out, *count);
    });
}

template <class Rec, const auto& Rows>
ListingSpec<Rec> listing(const char* function, const char* phrase, FieldId list,
                         unsigned long entryTag) {
    return ListingSpec<Rec>{OperationSpec{function, phrase}, phrase, list, entryTag,
                            copyEntry<Rec, Rows>};
}

}  // namespace

VSDK_API unsigned long VSDKGetMediaAgents(_QMediaAgentInfo** agents, int* count) {
    static const auto spec = listing<_QMediaAgentInfo, kAgentRows>(
        "VSDKGetMediaAgents()", "Retrival of Media agents", resp::kMediaAgents,
        OrvaneUtilities::QMediaAgent::kTag);
    return vsdkguard::guarded(spec.operation.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, spec.operation.function, agents, count)) {
            return rc;
        }
        OrvaneUtilities::QGetMediaAgentsReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, kConstant, 2);
        return runListing(*state, spec, request, *agents, *count);
    });
}

VSDK_API unsigned long VSDKGetMediaLibraries(const _QMediaAgentInfo* mediaAgent,
                                             _QMediaLibraryInfo** libraries, int* count) {
    static const auto spec = listing<_QMediaLibraryInfo, kLibraryRows>(
        "VSDKGetMediaLibraries()", "Retrival of Libraries", resp::kLibraries,
        OrvaneUtilities::QMediaLibrary::kTag);
    return list<OrvaneUtilities::QGetMediaLibrariesReqMsg>(spec, mediaAgent, kLibrariesBody,
                                                           libraries, count);
}

VSDK_API unsigned long VSDKGetMasterDrivePools(const _QGetMasterDrivePoolsParams* params,
                                               _QMasterDrivePoolInfo** pools, int* count) {
    static const auto spec = listing<_QMasterDrivePoolInfo, kMasterPoolRows>(
        "VSDKGetMasterDrivePools()", "Retrival of Master Drive Pool", resp::kPools,
        OrvaneUtilities::QMasterDrivePool::kTag);
    return list<OrvaneUtilities::QGetMasterDrivePoolsReqMsg>(
        spec, params, kPoolsBody<_QGetMasterDrivePoolsParams>, pools, count);
}

VSDK_API unsigned long VSDKGetDrivePools(const _QGetDrivePoolsParams* params,
                                         _QDrivePoolInfo** pools, int* count) {
    // This listing's log tag has no parentheses.
    static const auto spec = listing<_QDrivePoolInfo, kDrivePoolRows>(
        "VSDKGetDrivePools", "Retrival of Drive Pools", resp::kPools,
        OrvaneUtilities::QDrivePool::kTag);
    return list<OrvaneUtilities::QGetDrivePoolsReqMsg>(spec, params, kDrivePoolsBody, pools,
                                                       count);
}

VSDK_API unsigned long VSDKGetScratchPools(const _QGetScratchPoolsParams* params,
                                           _QScratchPoolInfo** pools, int* count) {
    static const auto spec = listing<_QScratchPoolInfo, kScratchPoolRows>(
        "VSDKGetScratchPools()", "Retrival of Scratch Pools", resp::kPools,
        OrvaneUtilities::QScratchPool::kTag);
    return list<OrvaneUtilities::QGetScratchPoolsReqMsg>(
        spec, params, kPoolsBody<_QGetScratchPoolsParams>, pools, count);
}

VSDK_API unsigned long VSDKGetDrives(const _QGetDrivesParams* params, _QDriveInfo** drives,
                                     int* count) {
    static const auto spec = listing<_QDriveInfo, kDriveRows>(
        "VSDKGetDrives()", "Retrival of Drives", MediaManager::GetDrives::kDrives,
        MediaManager::QDrive::kTag);
    return list<MediaManager::QGetDrivesReqMsg>(spec, params, kDrivesBody, drives, count);
}

// Both lists are read before either is handed out, so that a malformed second
// list hands out nothing. When the second array cannot be made, the first is
// handed out with its count and the second pointer is null beside its count:
// the caller owns what it receives, and no count describes a stale pointer.
VSDK_API unsigned long VSDKGetLibraryChildren(const _QGetLibraryChildrenParams* params,
                                              _QMasterDrivePoolInfo** masterPools,
                                              int* masterPoolCount,
                                              _QScratchPoolInfo** scratchPools,
                                              int* scratchPoolCount) {
    static const auto masterSpec = listing<_QMasterDrivePoolInfo, kMasterPoolRows>(
        "VSDKGetLibraryChildren()", "Retrival of Libraries", resp::kChildrenMasterPools,
        OrvaneUtilities::QMasterDrivePool::kTag);
    static const auto scratchSpec = listing<_QScratchPoolInfo, kScratchPoolRows>(
        "VSDKGetLibraryChildren()", "Retrival of Libraries", resp::kChildrenScratchPools,
        OrvaneUtilities::QScratchPool::kTag);
    return vsdkguard::guarded(masterSpec.operation.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, masterSpec.operation.function, params,
                                             masterPools, masterPoolCount, scratchPools,
                                             scratchPoolCount)) {
            return rc;
        }
        OrvaneUtilities::QGetLibraryChildrenReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, kConstant, 2);
        putRows(request, kChildrenBody, *params);
        return runOperation(
            *state, masterSpec.operation, request, [&](const CNMessageBase& reply) -> unsigned long {
                _QMasterDrivePoolInfo* m = nullptr;
                std::size_t masterCount = 0;
                unsigned long rc = readListing(*state, masterSpec, reply, m, masterCount);
                std::unique_ptr<_QMasterDrivePoolInfo[]> masters(m);
                if (rc == vsdkerr::kInvalidResponse) return rc;
                if (rc != 0) {
                    *masterPoolCount = static_cast<int>(masterCount);
                    *masterPools = nullptr;
                    return rc;
                }
                _QScratchPoolInfo* scratch = nullptr;
                std::size_t scratchCount = 0;
                rc = readListing(*state, scratchSpec, reply, scratch, scratchCount);
                if (rc == vsdkerr::kInvalidResponse) return rc;
                *masterPoolCount = static_cast<int>(masterCount);
                *scratchPoolCount = static_cast<int>(scratchCount);
                if (masterCount != 0) *masterPools = masters.release();
                if (rc != 0) {
                    *scratchPools = nullptr;
                    return rc;
                }
                if (scratchCount != 0) *scratchPools = scratch;
                return 0;
            });
    });
}
