// The copy definition of the storage-policy documents and their one course
// through the generic request.
#include "StorageDocument.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/RkEntities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPI/xml/InnerDocument.h"

#include <cstdint>

namespace storagedoc {

namespace {

namespace def = App::Definition;
namespace dd = App::Dedup;
using msgf::child;
using msgf::putInt;
using msgf::putText;

// Library, media agent and pools by name; the pools only when named.
void putDataPath(CNMessageBase& d, const DefinitionInput& in) {
    putText(child<RkEntities::LibraryEntity>(d, def::kLibrary), RkEntities::LibraryRef::kName,
            in.libraryName);
    putText(child<RkEntities::MediaAgentEntity>(d, def::kMediaAgent),
            RkEntities::MediaAgentRef::kName, in.mediaAgentName);
    if (!in.drivePoolName.empty()) {
        CNMessageBase& pool = child<RkEntities::DrivePoolEntity>(d, def::kDrivePool);
        putText(pool, RkEntities::DrivePoolRef::kName, in.drivePoolName);
        putText(pool, RkEntities::DrivePoolRef::kLibraryName, in.libraryName);
    }
    if (!in.scratchPoolName.empty()) {
        CNMessageBase& pool = child<RkEntities::ScratchPoolEntity>(d, def::kScratchPool);
        putText(pool, RkEntities::ScratchPoolRef::kName, in.scratchPoolName);
        putText(pool, RkEntities::ScratchPoolRef::kLibraryName, in.libraryName);
    }
}

void putEncryption(CNMessageBase& d, const DefinitionInput& in) {
    CNMessageBase& e = child<App::CopyEncryption>(d, def::kEncryption);
    putInt(e, App::Encryption::kEncrypt, 1);
    putInt(e, App::Encryption::kCipher, in.cipher);
    putInt(e, App::Encryption::kKeyLength, in.keyLength);
    if (in.mediaAccess == 0) {
        putInt(child<App::CopyFlags>(d, def::kFlags), App::Flags::kNoMediaAccess, 1);
    }
    if (in.existingEncryptedData != 0) {
        putInt(child<App::CopyFlags>(d, def::kFlags), App::Flags::kExistingEncrypted, 1);
    }
}

// One media agent with one sub-store and one access path.
void putDedupChain(CNMessageBase& d, const DefinitionInput& in) {
    CNMessageBase& flags = child<App::AppDedupFlags>(d, def::kDedupFlags);
    putInt(flags, dd::kFlagsFirst, 1);
    putInt(flags, dd::kFlagsSecond, 1);
    putInt(child<App::AppDedupOptions>(d, def::kDedupOptions), dd::kOptionsFlag, 1);
    CNMessageBase& config = child<App::AppParallelDedupConfig>(d, def::kParallelDedup);
    if (in.kind == DefinitionKind::Copy) {
        putInt(child<App::AppParallelDedupFlags>(config, dd::kConfigFlags), dd::kParallelFlag, 1);
    }
    App::AppIdxAccessPath path;
    putText(path, dd::kAccessPath, in.ddbPath);
    putInt(path, dd::kAccessPathFlag, 1);
    App::AppSubStoreInfo subStore;
    putInt(subStore, dd::kSubStoreFirst, 0);
    putInt(subStore, dd::kSubStoreSecond, 0);
    msgf::putObject(subStore, dd::kSubStoreAccessPath, path);
    App::AppDedupMAInfo mediaAgent;
    CNMessageBase& ref = child<RkEntities::MediaAgentEntity>(mediaAgent, dd::kMediaAgent);
    putInt(ref, RkEntities::MediaAgentRef::kId, in.mediaAgentId);
    putText(ref, RkEntities::MediaAgentRef::kName, in.mediaAgentName);
    msgf::appendObject(mediaAgent, dd::kMediaAgentSubStores, subStore);
    msgf::appendObject(config, dd::kConfigMediaAgents, mediaAgent);
}

}  // namespace

void buildDefinition(CNMessageBase& d, const DefinitionInput& in) {
    const bool primary = in.kind == DefinitionKind::PrimaryCopy;
    const bool copy = in.kind == DefinitionKind::Copy;

    // The operation's date: a new copy's is 0 with an empty zone, the others'
    // -1 without a zone.
    RkEntities::RKDate date;
    putInt(date, RkEntities::Date::kTime, copy ? 0 : -1);
    if (copy) putText(date, RkEntities::Date::kZone, std::string());

    if (!primary) {
        CNMessageBase& ref = child<RkEntities::StoragePolicyCopyEntity>(d, def::kCopy);
        if (!copy) putText(ref, RkEntities::CopyEntity::kName, in.copyName);
        putText(ref, RkEntities::CopyEntity::kPolicyName, in.policyName);
        putInt(d, def::kCopyType, in.copyType);
        putInt(d, def::kIsDefault, in.isDefault);
        putInt(d, def::kSnapCopy, in.snapCopy);
        putInt(d, def::kMirrorCopy, in.mirrorCopy);
        msgf::putObject(d, def::kDate, date);
        if (in.encryptData != 0) putEncryption(d, in);
    } else {
        putInt(d, def::kCopyType, 1);
        putInt(d, def::kIsDefault, 1);
        putInt(d, def::kPrimary, 1);
    }
    App::CopyDateInfo dateInfo;
    msgf::putObject(dateInfo, App::DateInfo::kDate, date);
    putInt(dateInfo, App::DateInfo::kNumber, -1);
    msgf::putObject(d, def::kDateInfo, dateInfo);
    putInt(d, def::kOne, 1);

    CNMessageBase& retention = child<App::CopyRetention>(d, def::kRetention);
    putInt(retention, App::Retention::kFirst, -1);
    putInt(retention, App::Retention::kSecond, -1);
    putInt(retention, App::Retention::kThird, -1);
    putDataPath(d, in);

    if (copy) {
        if (!in.sourceCopyName.empty()) {
            CNMessageBase& source = child<RkEntities::StoragePolicyCopyEntity>(d, def::kSourceCopy);
            putText(source, RkEntities::CopyEntity::kName, in.sourceCopyName);
            putText(source, RkEntities::CopyEntity::kPolicyName, in.policyName);
        }
        putText(d, def::kProvisioningPolicy, in.provisioningPolicy);
        App::ResourcePools pool;
        putText(pool, App::ResourcePool::kName, in.resourcePool);
        msgf::appendObject(d, def::kResourcePools, pool);
    }
    if (in.kind != DefinitionKind::DataPath && !in.ddbPath.empty()) putDedupChain(d, in);
}

namespace {

// An object of the reply at field: null when absent; malformed set when the
// field holds something of another type.
const CNMessageBase* replyObject(const CNMessageBase& reply, FieldId field, unsigned long tag,
                                 bool& malformed) {
    if (!msgf::has(reply, field)) return nullptr;
    const CNMessageBase* object = msgf::findChild(reply, field, tag);
    if (!object) malformed = true;
    return object;
}

}  // namespace

unsigned long takeCreatedValue(VSDKAPIGlobalData& state, const DocumentSpec& spec,
                               const CNMessageBase& reply, FieldId field, int& value) {
    const OperationSpec operation{spec.function, spec.failurePhrase};
    const CNMessageBase* ref =
        msgf::findChild(reply, spec.createdCopy, RkEntities::StoragePolicyCopyEntity::kTag);
    return ref ? takeCreatedId(state, operation, *ref, field, value) : invalidReply(state, operation);
}

unsigned long exchangeDocument(VSDKAPIGlobalData& state, const DocumentSpec& spec,
                               const CNMessageBase& request, CNMessageBase& reply,
                               int* failureOut) {
    // Only a whole answer of the expected type counts: fields a foreign or
    // broken document lacks would read as "success, id 0".
    const CNMessageBase* error = nullptr;
    const auto wellFormed = [&](const CNMessageBase& answer) {
        bool malformed = false;
        error = spec.errorField.number < 0
                    ? &answer
                    : replyObject(answer, spec.errorField, App::GenericResp::kTag, malformed);
        if (error && !msgf::intOrAbsent(*error, App::Error::kCode)) malformed = true;
        if (!malformed && spec.createdCopy.hash != 0) {
            replyObject(answer, spec.createdCopy, RkEntities::StoragePolicyCopyEntity::kTag,
                        malformed);
        }
        return !malformed;
    };
    const unsigned long rc =
        exchangeInnerDocument(state, spec.function, request, reply, spec.logSending, wellFormed);
    if (rc != 0) return rc;
    if (!error) return 0;
    const auto code = static_cast<std::int32_t>(msgf::getInt(*error, App::Error::kCode));
    if (code == 0) return 0;

    const std::string text = msgf::getText(*error, App::Error::kText);
    state.setErrorString(text);
    if (failureOut) *failureOut = -1;
    logFailure(state, spec.function, spec.failurePhrase, static_cast<std::uint32_t>(code),
               text.c_str());
    return static_cast<unsigned long>(static_cast<long>(code));
}

}  // namespace storagedoc
