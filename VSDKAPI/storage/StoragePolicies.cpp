// Creation, change and deletion of storage policies and their copies as
// typed requests, and the text dumps of their parameter records.
#include "VSDK/Storage.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"
#include "VSDKAPIUtils/RecordDump.h"

using namespace OrvaneUtilities;
using namespace fieldrows;
using namespace recorddump;

namespace {

using SP = _QSetStoragePolicyParameters;
using SC = _QSetStoragePolicyCopyParameters;
using DP = _QDeleteStoragePolicyParameters;
using DC = _QDeleteStoragePolicyCopyParameters;

template <class Rec>
void putTwo(CNMessageBase& m, FieldId f, const Rec&) {
    msgf::putInt(m, f, 2);
}

namespace sp = SetStoragePoliciesReq;
const FieldRow<SP> kPolicyFields[] = {
    {sp::kOperationId, put<&SP::operationId>},
    {sp::kConstant, putTwo<SP>},
    {sp::kPolicyId, put<&SP::storagePolicyId>},
    {sp::kPolicyName, put<&SP::storageGroupName>},
    {sp::kMediaAgentId, put<&SP::mediaAgentId>},
    {sp::kMediaAgentName, put<&SP::mediaAgentName>},
    {sp::kLibraryId, put<&SP::libraryId>},
    {sp::kLibraryName, put<&SP::libraryName>},
    {sp::kDrivePoolId, put<&SP::drivePoolId>},
    {sp::kDrivePoolName, put<&SP::drivePoolName>},
    {sp::kScratchPoolId, put<&SP::scratchPoolId>},
    {sp::kScratchPoolName, put<&SP::scratchPoolName>},
    {sp::kStreamCount, put<&SP::streamCount>},
    {sp::kIncrementalPolicyId, put<&SP::incrementalStorageGroupId>},
    {sp::kIncrementalPolicyName, put<&SP::incrementalStorageGroupName>},
    {sp::kDdbPath, put<&SP::ddbPath>},
    {sp::kEnableSilo, put<&SP::enableSiloBackup>},
    {sp::kSiloLibraryId, put<&SP::siloLibraryId>},
    {sp::kSiloLibraryName, put<&SP::siloLibraryName>},
    {sp::kSiloMediaAgentId, put<&SP::siloMediaAgentId>},
    {sp::kSiloMediaAgentName, put<&SP::siloMediaAgentName>},
    {sp::kSiloDrivePoolId, put<&SP::siloDrivePoolId>},
    {sp::kSiloDrivePoolName, put<&SP::siloDrivePoolName>},
    {sp::kSiloScratchPoolId, put<&SP::siloScratchPoolId>},
    {sp::kSiloScratchPoolName, put<&SP::siloScratchPoolName>},
};

namespace sc = SetStoragePolicyCopiesReq;
const FieldRow<SC> kCopyFields[] = {
    {sc::kOperationId, put<&SC::operationId>},
    {sc::kCopyName, put<&SC::secondaryCopyName>},
    {sc::kCopyId, put<&SC::copyId>},
    {sc::kConstant, putTwo<SC>},
    {sc::kPolicyId, put<&SC::storagePolicyId>},
    {sc::kPolicyName, put<&SC::storageGroupName>},
    {sc::kMediaAgentId, put<&SC::mediaAgentId>},
    {sc::kMediaAgentName, put<&SC::mediaAgentName>},
    {sc::kLibraryId, put<&SC::libraryId>},
    {sc::kLibraryName, put<&SC::libraryName>},
    {sc::kDrivePoolId, put<&SC::drivePoolId>},
    {sc::kDrivePoolName, put<&SC::drivePoolName>},
    {sc::kScratchPoolId, put<&SC::scratchPoolId>},
    {sc::kScratchPoolName, put<&SC::scratchPoolName>},
    {sc::kCopyType, put<&SC::secondaryCopyType>},
    {sc::kIsActive, put<&SC::isActive>},
    {sc::kIsDefault, put<&SC::isDefault>},
    {sc::kSnapCopy, put<&SC::createSnapCopy>},
    {sc::kMirrorCopy, put<&SC::createMirrorCopy>},
    {sc::kSourceCopyId, put<&SC::sourceCopyId>},
    {sc::kSourceCopyName, put<&SC::sourceCopyName>},
    {sc::kDdbPath, put<&SC::ddbPath>},
    {sc::kEncryptData, put<&SC::encryptData>},
    {sc::kCipher, put<&SC::cipher>},
    {sc::kKeyLength, put<&SC::keyLength>},
    {sc::kMediaAccess, put<&SC::mediaAccess>},
    {sc::kExistingEncrypted, put<&SC::existingEncryptedData>},
    {sc::kEnableSilo, put<&SC::enableSiloBackup>},
    {sc::kSiloLibraryId, put<&SC::siloLibraryId>},
    {sc::kSiloLibraryName, put<&SC::siloLibraryName>},
    {sc::kSiloMediaAgentId, put<&SC::siloMediaAgentId>},
    {sc::kSiloMediaAgentName, put<&SC::siloMediaAgentName>},
    {sc::kSiloDrivePoolId, put<&SC::siloDrivePoolId>},
    {sc::kSiloDrivePoolName, put<&SC::siloDrivePoolName>},
    {sc::kSiloScratchPoolId, put<&SC::siloScratchPoolId>},
    {sc::kSiloScratchPoolName, put<&SC::siloScratchPoolName>},
};

namespace sel = StoragePolicySelector;
const FieldRow<DP> kDeletePolicyFields[] = {
    {sel::kConstant, putTwo<DP>},
    {sel::kPolicyId, put<&DP::storagePolicyId>},
    {sel::kPolicyName, put<&DP::storagePolicyName>},
};
const FieldRow<DC> kDeleteCopyFields[] = {
    {sel::kConstant, putTwo<DC>},
    {sel::kPolicyId, put<&DC::storagePolicyId>},
    {sel::kPolicyName, put<&DC::storagePolicyName>},
    {sel::kCopyId, put<&DC::storagePolicyCopyId>},
    {sel::kCopyName, put<&DC::storagePolicyCopyName>},
};

const DumpRow<SP> kPolicyDump[] = {
    {"\nOperation Id:[", dump<&SP::operationId>, "]\n"},
    {"Storage Policy Id:[", dump<&SP::storagePolicyId>, "]\n"},
    {"Storage Group Name:[", dump<&SP::storageGroupName>, "]\n"},
    {"Media Agent Id:[", dump<&SP::mediaAgentId>, "]\n"},
    {"Media Agent Name:[", dump<&SP::mediaAgentName>, "]\n"},
    {"Library ID:[", dump<&SP::libraryId>, "]\n"},
    {"Library Name:[", dump<&SP::libraryName>, "]\n"},
    {"Drive Pool Id:[", dump<&SP::drivePoolId>, "]\n"},
    {"Drive Pool Name:[", dump<&SP::drivePoolName>, "]\n"},
    {"Scratch Pool Id:[", dump<&SP::scratchPoolId>, "]\n"},
    {"Scratch Pool Name:[", dump<&SP::scratchPoolName>, "]\n"},
    {"Stream Count:[", dump<&SP::streamCount>, "]\n"},
    {"Incremental Storage Group Id:[", dump<&SP::incrementalStorageGroupId>, "]\n"},
    {"Incremental Storage Group Name:[", dump<&SP::incrementalStorageGroupName>, "]\n"},
    {"Enable SILO Backup:[", dump<&SP::enableSiloBackup>, "]\n"},
    {"SILO DP Library ID:[", dump<&SP::siloLibraryId>, "]\n"},
    {"SILO DP Library:[", dump<&SP::siloLibraryName>, "]\n"},
    {"SILO DP Media Agent ID:[", dump<&SP::siloMediaAgentId>, "]\n"},
    {"SILO DP Media Agent Name:[", dump<&SP::siloMediaAgentName>, "]\n"},
    {"SILO DP DrivePool ID:[", dump<&SP::siloDrivePoolId>, "]\n"},
    {"SILO DP DrivePool:[", dump<&SP::siloDrivePoolName>, "]\n"},
    {"SILO DP ScratchPool ID:[", dump<&SP::siloScratchPoolId>, "]\n"},
    {"SILO DP ScratchPool:[", dump<&SP::siloScratchPoolName>, "]\n"},
    {"DFM server name:[", dump<&SP::dfmServerName>, "]\n"},
};

const DumpRow<SC> kCopyDump[] = {
    {"\nOperation Id:[", dump<&SC::operationId>, "]\n"},
    {"Secondary Copy Name:[", dump<&SC::secondaryCopyName>, "]\n"},
    {"Copy Id:[", dump<&SC::copyId>, "]\n"},
    {"Storage Policy Id:[", dump<&SC::storagePolicyId>, "]\n"},
    {"Storage Group Name:[", dump<&SC::storageGroupName>, "]\n"},
    {"Media Agent Id:[", dump<&SC::mediaAgentId>, "]\n"},
    {"Media Agent Name:[", dump<&SC::mediaAgentName>, "]\n"},
    {"Library ID:[", dump<&SC::libraryId>, "]\n"},
    {"Library Name:[", dump<&SC::libraryName>, "]\n"},
    {"Drive Pool Id:[", dump<&SC::drivePoolId>, "]\n"},
    {"Drive Pool Name:[", dump<&SC::drivePoolName>, "]\n"},
    {"Scratch Pool Id:[", dump<&SC::scratchPoolId>, "]\n"},
    {"Scratch Pool Name:[", dump<&SC::scratchPoolName>, "]\n"},
    {"Secondary Copy Type:[", dump<&SC::secondaryCopyType>, "]\n"},
    {"Is Active:[", dump<&SC::isActive>, "]\n"},
    {"Is Default:[", dump<&SC::isDefault>, "]\n"},
    {"Create Snap Copy:[", dump<&SC::createSnapCopy>, "]\n"},
    {"Create Mirror Copy:[", dump<&SC::createMirrorCopy>, "]\n"},
    {"Source Copy Id:[", dump<&SC::sourceCopyId>, "]\n"},
    {"Source Copy Name:[", dump<&SC::sourceCopyName>, "]\n"},
    {"DDB Path:[", dump<&SC::ddbPath>, "]\n"},
    {"encrypt Data:[", dump<&SC::encryptData>, "]\n"},
    {"Cipher:[", dump<&SC::cipher>, "]\n"},
    {"Key Length:[", dump<&SC::keyLength>, "]\n"},
    {"Media Access:[", dump<&SC::mediaAccess>, "]\n"},
    {"Existing Encrypted Data:[", dump<&SC::existingEncryptedData>, "]\n"},
    {"Enable SILO Backup:[", dump<&SC::enableSiloBackup>, "]\n"},
    {"SILO DP Library ID:[", dump<&SC::siloLibraryId>, "]\n"},
    {"SILO DP Library:[", dump<&SC::siloLibraryName>, "]\n"},
    {"SILO DP Media Agent ID:[", dump<&SC::siloMediaAgentId>, "]\n"},
    {"SILO DP Media Agent Name:[", dump<&SC::siloMediaAgentName>, "]\n"},
    {"SILO DP DrivePool ID:[", dump<&SC::siloDrivePoolId>, "]\n"},
    {"SILO DP DrivePool:[", dump<&SC::siloDrivePoolName>, "]\n"},
    {"SILO DP ScratchPool ID:[", dump<&SC::siloScratchPoolId>, "]\n"},
    {"SILO DP ScratchPool:[", dump<&SC::siloScratchPoolName>, "]\n"},
    {"Provisioning policy:[", dump<&SC::provisioningPolicy>, "]\n"},
    {"Resource pool:[", dump<&SC::resourcePool>, "]\n"},
};

const DumpRow<DP> kDeletePolicyDump[] = {
    {"\nStorage Policy Id:[", dump<&DP::storagePolicyId>, "]\n"},
    {"Storage Policy Name:[", dump<&DP::storagePolicyName>, "]"},
};

const DumpRow<DC> kDeleteCopyDump[] = {
    {"\nStorage Policy Id:[", dump<&DC::storagePolicyId>, "]\n"},
    {"Storage Policy Name:[", dump<&DC::storagePolicyName>, "]\n"},
    {"Storage Policy Copy Id:[", dump<&DC::storagePolicyCopyId>, "]\n"},
    {"Storage Policy Copy Name:[", dump<&DC::storagePolicyCopyName>, "]"},
};

// A deletion: the parameter dump, the request, success or the server's error.
template <class Request, class Rec, std::size_t N>
unsigned long deleteWith(const char* function, const char* dumpFormat, const char* phrase,
                         const FieldRow<Rec> (&rows)[N], const Rec* params) {
    VSDKAPIGlobalData* state = nullptr;
    if (unsigned long rc = openOperation(state, function, params)) return rc;
    logParameters(*state, function, dumpFormat, *params);
    Request request;
    fillSession(*state, request, MultiDomain::Never);
    putRows(request, rows, *params);
    return runOperation(*state, OperationSpec{function, phrase}, request,
                        [](const CNMessageBase&) {});
}

}  // namespace

std::string _QSetStoragePolicyParameters::c_str() const { return dumpRows(kPolicyDump, *this); }
std::string _QSetStoragePolicyCopyParameters::c_str() const { return dumpRows(kCopyDump, *this); }
std::string _QDeleteStoragePolicyParameters::c_str() const {
    return dumpRows(kDeletePolicyDump, *this);
}
std::string _QDeleteStoragePolicyCopyParameters::c_str() const {
    return dumpRows(kDeleteCopyDump, *this);
}

VSDK_API unsigned long VSDKSetStoragePolicy(const _QSetStoragePolicyParameters* params,
                                            int* policyId) {
    return vsdkguard::guarded("VSDKSetStoragePolicy()", [&]() -> unsigned long {
        static const char* const kFunction = "VSDKSetStoragePolicy()";
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kFunction, params, policyId)) return rc;
        logParameters(*state, kFunction, "Parameters of the new Storage Policy:%s", *params);
        QSetStoragePoliciesReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        putRows(request, kPolicyFields, *params);
        const OperationSpec spec{kFunction, "Creation of Storage Policy"};
        return runOperation(
            *state, spec, request,
            [&](const CNMessageBase& reply) -> unsigned long {
                if (unsigned long rc =
                        takeCreatedId(*state, spec, reply, SetStoragePoliciesResp::kPolicyId, *policyId)) {
                    return rc;
                }
                state->getEvDebug().debugLvl(kFunction, 1, "Storage Policy created with Id:[%d]",
                                             *policyId);
                return 0;
            },
            [&](unsigned long) { *policyId = -1; });
    });
}

VSDK_API unsigned long VSDKSetStoragePolicyCopies(const _QSetStoragePolicyCopyParameters* params,
                                                  int* copyId) {
    return vsdkguard::guarded("VSDKSetStoragePolicyCopies()", [&]() -> unsigned long {
        static const char* const kFunction = "VSDKSetStoragePolicyCopies()";
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kFunction, params, copyId)) return rc;
        logParameters(*state, kFunction, "Parameters of the new Primary Copy:%s", *params);
        QSetStoragePolicyCopiesReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        putRows(request, kCopyFields, *params);
        const bool creation = params->operationId == 1;
        const OperationSpec spec{kFunction, creation ? "Creation of Copy" : "Operation on Copy"};
        return runOperation(
            *state, spec, request,
            [&](const CNMessageBase& reply) -> unsigned long {
                QEvDebug& log = state->getEvDebug();
                if (!creation) {
                    // Other operations on a copy may name none.
                    *copyId = static_cast<int>(
                        msgf::getInt(reply, SetStoragePolicyCopiesResp::kCopyId));
                    log.debugLvl(kFunction, 1, "Operation on Copy completed successfully.");
                    return 0;
                }
                if (unsigned long rc = takeCreatedId(*state, spec, reply,
                                                     SetStoragePolicyCopiesResp::kCopyId, *copyId)) {
                    return rc;
                }
                log.debugLvl(kFunction, 1, "Copy Created with id:[%d]", *copyId);
                return 0;
            },
            [&](unsigned long) { *copyId = -1; });
    });
}

VSDK_API unsigned long VSDKDeleteStoragePolicy(const _QDeleteStoragePolicyParameters* params) {
    return vsdkguard::guarded("VSDKDeleteStoragePolicy()", [&]() -> unsigned long {
        return deleteWith<QDeleteStoragePolicyReqMsg>(
            "VSDKDeleteStoragePolicy()", "Parameters of the Storage Policy to be deleted:%s",
            "Deletion of Storage Policy", kDeletePolicyFields, params);
    });
}

VSDK_API unsigned long VSDKDeleteStoragePolicyCopy(const _QDeleteStoragePolicyCopyParameters* params) {
    return vsdkguard::guarded("VSDKDeleteStoragePolicyCopy()", [&]() -> unsigned long {
        return deleteWith<QDeleteStoragePolicyCopyReqMsg>(
            "VSDKDeleteStoragePolicyCopy()", "Parameters of the Primary Copy to be Deleted:%s",
            "Deletion of Primary Copy", kDeleteCopyFields, params);
    });
}
