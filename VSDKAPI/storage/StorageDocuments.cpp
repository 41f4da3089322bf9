// Storage policies and copies created, extended and deleted through App
// documents sent as the generic request's inner XML.
#include "VSDK/Storage.h"

#include "StorageDocument.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/RkEntities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace storagedoc;
using msgf::boundedText;

namespace {

DefinitionInput copyDefinition(DefinitionKind kind, const _QSetStoragePolicyCopyParameters& p) {
    DefinitionInput in;
    in.kind = kind;
    in.copyName = boundedText(p.secondaryCopyName);
    in.policyName = boundedText(p.storageGroupName);
    in.copyType = static_cast<unsigned int>(p.secondaryCopyType);
    in.isDefault = static_cast<unsigned int>(p.isDefault);
    in.snapCopy = static_cast<unsigned int>(p.createSnapCopy);
    in.mirrorCopy = static_cast<unsigned int>(p.createMirrorCopy);
    in.libraryName = boundedText(p.libraryName);
    in.mediaAgentId = p.mediaAgentId;
    in.mediaAgentName = boundedText(p.mediaAgentName);
    in.drivePoolName = boundedText(p.drivePoolName);
    in.scratchPoolName = boundedText(p.scratchPoolName);
    in.sourceCopyName = boundedText(p.sourceCopyName);
    in.provisioningPolicy = boundedText(p.provisioningPolicy);
    in.resourcePool = boundedText(p.resourcePool);
    in.ddbPath = boundedText(p.ddbPath);
    in.encryptData = p.encryptData;
    in.cipher = static_cast<unsigned int>(p.cipher);
    in.keyLength = p.keyLength;
    in.mediaAccess = p.mediaAccess;
    in.existingEncryptedData = p.existingEncryptedData;
    return in;
}

DefinitionInput primaryCopyDefinition(const _QSetStoragePolicyParameters& p) {
    DefinitionInput in;
    in.kind = DefinitionKind::PrimaryCopy;
    in.libraryName = boundedText(p.libraryName);
    in.mediaAgentId = p.mediaAgentId;
    in.mediaAgentName = boundedText(p.mediaAgentName);
    in.drivePoolName = boundedText(p.drivePoolName);
    in.scratchPoolName = boundedText(p.scratchPoolName);
    in.ddbPath = boundedText(p.ddbPath);
    return in;
}

// The two deletions: a reference named from the record, no output.
template <class Request, class Rec, class Fill>
unsigned long deleteByDocument(const char* function, const char* dumpFormat, const char* phrase,
                               const Rec* params, Fill fill) {
    return vsdkguard::guarded(function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, function, params)) return rc;
        logParameters(*state, function, dumpFormat, *params);
        Request request;
        fill(request, *params);
        App::GenericArchiveGroupResp reply;
        return exchangeDocument(*state, {function, phrase, true, msgf::kReplyError}, request,
                                reply, nullptr);
    });
}

}  // namespace

VSDK_API unsigned long VSDKSetStoragePolicyCopies_XML(const _QSetStoragePolicyCopyParameters* params,
                                                      int* copyId) {
    static const DocumentSpec kSpec{"VSDKSetStoragePolicyCopies_XML()", "Creation of Copy", false,
                                    App::CreationResp::kError, App::CreationResp::kCopy};
    return vsdkguard::guarded(kSpec.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kSpec.function, params, copyId)) return rc;
        logParameters(*state, kSpec.function, "Parameters of the new Primary Copy:%s", *params);
        App::CreateStoragePolicyCopyReq request;
        msgf::putText(request, App::CreateCopyReq::kCopyName, params->secondaryCopyName);
        buildDefinition(
            msgf::child<App::StoragePolicyCopyDefinition>(request, App::CreateCopyReq::kDefinition),
            copyDefinition(DefinitionKind::Copy, *params));
        App::CreateStoragePolicyCopyResp reply;
        if (unsigned long rc = exchangeDocument(*state, kSpec, request, reply, copyId)) return rc;
        if (unsigned long rc = takeCreatedValue(*state, kSpec, reply, RkEntities::CopyEntity::kId, *copyId)) {
            return rc;
        }
        state->getEvDebug().debugLvl(kSpec.function, 1, "Copy Created with id:[%d]", *copyId);
        return 0;
    });
}

VSDK_API unsigned long VSDKAddDataPath_XML(const _QSetStoragePolicyCopyParameters* params,
                                           int* result) {
    static const DocumentSpec kSpec{"VSDKAddDataPath_XML()", "Modifying of Copy", true,
                                    kReplyIsError};
    return vsdkguard::guarded(kSpec.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kSpec.function, params, result)) return rc;
        logParameters(*state, kSpec.function, "Parameters of the new Primary Copy:%s", *params);
        App::AddDataPathReq request;
        buildDefinition(msgf::child<App::StoragePolicyCopyDefinition>(
                            request, App::AddDataPathReqFields::kDefinition),
                        copyDefinition(DefinitionKind::DataPath, *params));
        App::GenericResp reply;
        if (unsigned long rc = exchangeDocument(*state, kSpec, request, reply, result)) return rc;
        state->getEvDebug().debugLvl(kSpec.function, 1, "Modified copy:[%s]",
                                     boundedText(params->secondaryCopyName).c_str());
        return 0;
    });
}

VSDK_API unsigned long VSDKSetStoragePolicy_XML(const _QSetStoragePolicyParameters* params,
                                                int* policyId) {
    static const DocumentSpec kSpec{"VSDKSetStoragePolicy_XML()", "Creation of Storage Policy",
                                    true, App::CreationResp::kError, App::CreationResp::kCopy};
    return vsdkguard::guarded(kSpec.function, [&]() -> unsigned long {
        namespace cp = App::CreatePolicyReq;
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, kSpec.function, params, policyId)) return rc;
        logParameters(*state, kSpec.function, "Parameters of the new Storage Policy:%s", *params);
        App::CreateStoragePolicyReq request;
        msgf::putText(request, cp::kName, params->storageGroupName);
        msgf::putText(msgf::child<App::AppDFMServer>(request, cp::kDfmServer), App::DFMServer::kName,
                      params->dfmServerName);
        if (params->incrementalStorageGroupName[0] != '\0') {
            msgf::putText(msgf::child<RkEntities::StoragePolicyEntity>(request, cp::kIncremental),
                          RkEntities::PolicyEntity::kName, params->incrementalStorageGroupName);
        }
        msgf::putInt(request, cp::kStreamCount, params->streamCount);
        msgf::putInt(request, cp::kOne, 1);
        msgf::putInt(request, cp::kType, 1);
        msgf::putText(request, cp::kCopyName, "Primary");
        buildDefinition(msgf::child<App::StoragePolicyCopyDefinition>(request, cp::kDefinition),
                        primaryCopyDefinition(*params));
        App::CreateStoragePolicyResp reply;
        if (unsigned long rc = exchangeDocument(*state, kSpec, request, reply, policyId)) return rc;
        if (unsigned long rc =
                takeCreatedValue(*state, kSpec, reply, RkEntities::CopyEntity::kPolicyId, *policyId)) {
            return rc;
        }
        state->getEvDebug().debugLvl(kSpec.function, 1, "Storage Policy created with Id:[%d]",
                                     *policyId);
        return 0;
    });
}

VSDK_API unsigned long VSDKDeleteStoragePolicy_XML(const _QDeleteStoragePolicyParameters* params) {
    return deleteByDocument<App::DeleteStoragePolicyReq>(
        "VSDKDeleteStoragePolicy_XML()", "Parameters of the Storage Policy to be deleted:%s",
        "Deletion of Storage Policy", params,
        [](CNMessageBase& request, const _QDeleteStoragePolicyParameters& p) {
            msgf::putText(msgf::child<RkEntities::StoragePolicyEntity>(request, App::DeleteReq::kPolicy),
                          RkEntities::PolicyEntity::kName, p.storagePolicyName);
        });
}

VSDK_API unsigned long VSDKDeleteStoragePolicyCopy_XML(
    const _QDeleteStoragePolicyCopyParameters* params) {
    return deleteByDocument<App::DeleteStoragePolicyCopyReq>(
        "VSDKDeleteStoragePolicyCopy_XML()", "Parameters of the Primary Copy to be Deleted:%s",
        "Deletion of Primary Copy", params,
        [](CNMessageBase& request, const _QDeleteStoragePolicyCopyParameters& p) {
            CNMessageBase& ref =
                msgf::child<RkEntities::StoragePolicyCopyEntity>(request, App::DeleteReq::kCopy);
            msgf::putText(ref, RkEntities::CopyEntity::kPolicyName, p.storagePolicyName);
            msgf::putText(ref, RkEntities::CopyEntity::kName, p.storagePolicyCopyName);
        });
}
