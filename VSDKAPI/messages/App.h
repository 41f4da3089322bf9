// Module 30: storage-policy documents (policies, copies, data paths) and
// their replies, carried as inner XML documents of the generic request.
#pragma once

#include "CommonFields.h"

namespace App {

constexpr int kModuleId = 30;

// X(Name, class number, tag code, expected reply tag code)
#define VSDK_APP_MESSAGES(X)                                        \
    X(CreateStoragePolicyReq, 329, 0x1E2AC70D, 0x1E2E1B41)          \
    X(CreateStoragePolicyResp, 330, 0x1E2E1B41, 0)                  \
    X(DeleteStoragePolicyReq, 331, 0x1E026DBC, 0x1E890024)          \
    X(CreateStoragePolicyCopyReq, 332, 0x1EE39FD8, 0x1E905BD6)      \
    X(CreateStoragePolicyCopyResp, 333, 0x1E905BD6, 0)              \
    X(AddDataPathReq, 334, 0x1ED6BFEE, 0x1EF2BE27)                  \
    X(DeleteStoragePolicyCopyReq, 335, 0x1E1A5707, 0x1E890024)      \
    X(GenericArchiveGroupResp, 336, 0x1E890024, 0)                  \
    X(GenericResp, 1595, 0x1EF2BE27, 0)                             \
    X(StoragePolicyCopyDefinition, 328, 0x1EAC6850, 0)              \
    X(CopyEncryption, 325, 0x1E5E9AED, 0)                           \
    X(CopyRetention, 315, 0x1EA50899, 0)                            \
    X(CopyDateInfo, 324, 0x1E582F05, 0)                             \
    X(CopyFlags, 301, 0x1EB55F25, 0)                                \
    X(ResourcePools, 322, 0x1E2D4049, 0)                            \
    X(AppParallelDedupConfig, 320, 0x1E9E4A78, 0)                   \
    X(AppParallelDedupFlags, 317, 0x1E6069F0, 0)                    \
    X(AppDedupMAInfo, 319, 0x1EA5B377, 0)                           \
    X(AppSubStoreInfo, 318, 0x1E933F70, 0)                          \
    X(AppIdxAccessPath, 0, 0x1EC35DC5, 0)                           \
    X(AppDedupFlags, 300, 0x1E2B1F1A, 0)                            \
    X(AppDedupOptions, 303, 0x1E7E5C60, 0)                          \
    X(AppDFMServer, 1594, 0x1E37E266, 0)                            \
    /* end of list */

VSDK_APP_MESSAGES(VSDK_DECLARE_MESSAGE)

// The definition of a copy, shared by copy creation, data-path addition and
// the primary copy of a new policy.
#define APP_DEFINITION_FIELDS(F)           \
    F(kCopy, 1, 1, 0x31A082)               \
    F(kCopyType, 2, 2, 0xD7F04F)           \
    F(kIsDefault, 3, 3, 0x851DB7)          \
    F(kSnapCopy, 4, 4, 0x9CC5A9)           \
    F(kMirrorCopy, 5, 5, 0x5E949E)         \
    F(kPrimary, 6, 6, 0x2F7F06)            \
    F(kDedupFlags, 7, 7, 0x6762FA)         \
    F(kFlags, 8, 8, 0x5AB012)              \
    F(kLibrary, 10, 10, 0xE824BB)          \
    F(kMediaAgent, 11, 11, 0xF33181)       \
    F(kDrivePool, 12, 12, 0x80D0C6)        \
    F(kScratchPool, 13, 13, 0xB35332)      \
    F(kRetention, 16, 16, 0x5E3C79)        \
    F(kDate, 20, 20, 0x158A4F)             \
    F(kSourceCopy, 21, 21, 0xB90630)       \
    F(kProvisioningPolicy, 32, 38, 0x9D55AA) \
    F(kResourcePools, 33, 42, 0xF1D8A7)    \
    F(kOne, 36, 45, 0x0BB1B1)              \
    F(kDedupOptions, 39, 48, 0x14B480)     \
    F(kParallelDedup, 40, 49, 0xB8BA16)    \
    F(kDateInfo, 42, 51, 0x93EAE5)         \
    F(kEncryption, 43, 52, 0x17CECD)
VSDK_MESSAGE_FIELDS(Definition, APP_DEFINITION_FIELDS)

#define APP_ENCRYPTION_FIELDS(F)     \
    F(kEncrypt, 1, 1, 0xF9DBAF)      \
    F(kCipher, 2, 2, 0x15995D)       \
    F(kKeyLength, 3, 3, 0x6715E2)
VSDK_MESSAGE_FIELDS(Encryption, APP_ENCRYPTION_FIELDS)

#define APP_COPY_FLAGS_FIELDS(F)           \
    F(kNoMediaAccess, 18, 18, 0x5615A7)    \
    F(kExistingEncrypted, 22, 22, 0x222BC3)
VSDK_MESSAGE_FIELDS(Flags, APP_COPY_FLAGS_FIELDS)

#define APP_RETENTION_FIELDS(F)   \
    F(kFirst, 2, 2, 0xF0380F)     \
    F(kSecond, 4, 4, 0x6B7A61)    \
    F(kThird, 3, 3, 0x55BE05)
VSDK_MESSAGE_FIELDS(Retention, APP_RETENTION_FIELDS)

#define APP_DATE_INFO_FIELDS(F)   \
    F(kDate, 3, 3, 0x6C34F2)      \
    F(kNumber, 4, 4, 0x61E496)
VSDK_MESSAGE_FIELDS(DateInfo, APP_DATE_INFO_FIELDS)

#define APP_RESOURCE_POOL_FIELDS(F) F(kName, 4, 7, 0x1852F5)
VSDK_MESSAGE_FIELDS(ResourcePool, APP_RESOURCE_POOL_FIELDS)

// The deduplication chain: flags, options, and the parallel configuration
// with its media agent, sub-store and access path.
#define APP_DEDUP_FIELDS(F)                          \
    F(kFlagsFirst, 6, 6, 0x4FB927)                   \
    F(kFlagsSecond, 3, 3, 0x4F4C91)                  \
    F(kOptionsFlag, 5, 5, 0xD2734A)                  \
    F(kConfigFlags, 3, 3, 0x727A3B)                  \
    F(kConfigMediaAgents, 2, 2, 0xA52020)            \
    F(kParallelFlag, 42, 66, 0x1AD567)               \
    F(kAccessPath, 4, 4, 0x346425)                   \
    F(kAccessPathFlag, 10, 19, 0x8879A4)             \
    F(kSubStoreFirst, 1, 1, 0x327B9C)                \
    F(kSubStoreSecond, 3, 3, 0x2E3887)               \
    F(kSubStoreAccessPath, 2, 2, 0xEC3BA9)           \
    F(kMediaAgent, 1, 1, 0xF33181)                   \
    F(kMediaAgentSubStores, 2, 2, 0xB82EBF)
VSDK_MESSAGE_FIELDS(Dedup, APP_DEDUP_FIELDS)

#define APP_DFM_SERVER_FIELDS(F) F(kName, 2, 2, 0x337A8B)
VSDK_MESSAGE_FIELDS(DFMServer, APP_DFM_SERVER_FIELDS)

// The error object (also the whole reply of a data-path addition).
#define APP_GENERIC_RESP_FIELDS(F) \
    F(kCode, 1, 1, 0x9CB015)       \
    F(kText, 2, 2, 0xB7ECDF)
VSDK_MESSAGE_FIELDS(Error, APP_GENERIC_RESP_FIELDS)

// The two creation replies: the error object and the new copy's reference.
#define APP_CREATION_RESP_FIELDS(F) \
    F(kCopy, 1, 1, 0x40BBF2)        \
    F(kError, 3, 3, 0xC4D208)
VSDK_MESSAGE_FIELDS(CreationResp, APP_CREATION_RESP_FIELDS)

#define APP_CREATE_COPY_REQ_FIELDS(F) \
    F(kCopyName, 2, 2, 0xD4DBA0)      \
    F(kDefinition, 3, 6, 0xCB1870)
VSDK_MESSAGE_FIELDS(CreateCopyReq, APP_CREATE_COPY_REQ_FIELDS)

#define APP_ADD_DATA_PATH_REQ_FIELDS(F) F(kDefinition, 2, 2, 0xCB1870)
VSDK_MESSAGE_FIELDS(AddDataPathReqFields, APP_ADD_DATA_PATH_REQ_FIELDS)

#define APP_CREATE_POLICY_REQ_FIELDS(F) \
    F(kName, 1, 1, 0x722BB8)            \
    F(kCopyName, 2, 5, 0xD4DBA0)        \
    F(kType, 4, 13, 0x368F3A)           \
    F(kOne, 5, 14, 0xAF59F3)            \
    F(kStreamCount, 6, 15, 0x4221D3)    \
    F(kIncremental, 7, 16, 0x8C95D3)    \
    F(kDefinition, 8, 17, 0xCB1870)     \
    F(kDfmServer, 11, 20, 0xE1934E)
VSDK_MESSAGE_FIELDS(CreatePolicyReq, APP_CREATE_POLICY_REQ_FIELDS)

#define APP_DELETE_REQ_FIELDS(F)  \
    F(kPolicy, 2, 2, 0x4D4EDD)    \
    F(kCopy, 2, 2, 0x40BBF2)
VSDK_MESSAGE_FIELDS(DeleteReq, APP_DELETE_REQ_FIELDS)

// Inner documents only: the family is never taken from the network, so no
// start-up registers it.
void RegisterSubsystem();

}  // namespace App
