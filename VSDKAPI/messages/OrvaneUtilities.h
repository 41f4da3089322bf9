// Module 6: listings and configuration; the bare error reply and the generic reply.
#pragma once

#include "CommonFields.h"

namespace OrvaneUtilities {

constexpr int kModuleId = 6;

// X(Name, class number, tag code, expected reply tag code)
#define VSDK_ORVANE_UTILITIES_MESSAGES(X)                   \
    X(QRequestHeaderMsg, 99, 0x06000001, 0)                \
    X(QErrorMsg, 210, 0x06000002, 0)                       \
    X(QSessionInfoMsg, 88, 0x06000003, 0)                  \
    X(QTime, 133, 0x06000004, 0)                           \
    X(QGenericResp, 211, 0x0600012E, 0)                    \
    X(QLMReplicateDBReq, 1190, 0x066E1DE9, 0x06559FE5)     \
    X(QLMReplicateDBResp, 1191, 0x06559FE5, 0)             \
    X(QStoragePolicy, 0x3047, 0x06000047, 0)              \
    X(QStoragePolicyCopy, 0x3051, 0x06000051, 0)          \
    X(QGetStoragePoliciesReqMsg, 123, 0x06000048, 0x06000049) \
    X(QGetStoragePoliciesRespMsg, 0x3049, 0x06000049, 0)  \
    X(QGetStoragePolicyCopiesReqMsg, 34, 0x06000052, 0x06000053) \
    X(QGetStoragePolicyCopiesRespMsg, 0x3053, 0x06000053, 0) \
    X(QSetStoragePoliciesReqMsg, 160, 0x0600004A, 0x0600004B) \
    X(QSetStoragePoliciesRespMsg, 0x304B, 0x0600004B, 0)  \
    X(QSetStoragePolicyCopiesReqMsg, 44, 0x06000054, 0x06000055) \
    X(QSetStoragePolicyCopiesRespMsg, 0x3055, 0x06000055, 0) \
    X(QDeleteStoragePolicyReqMsg, 53, 0x0600004C, 0x0600004D) \
    X(QDeleteStoragePolicyRespMsg, 0x304D, 0x0600004D, 0) \
    X(QDeleteStoragePolicyCopyReqMsg, 75, 0x06000056, 0x06000057) \
    X(QDeleteStoragePolicyCopyRespMsg, 0x3057, 0x06000057, 0) \
    X(QGetAppTypesReqMsg, 140, 0x06000016, 0x06000017)     \
    X(QGetAppTypesRespMsg, 0x10017, 0x06000017, 0)         \
    X(QAppType, 0x10015, 0x06000015, 0)                    \
    X(QGetInstancesReqMsg, 49, 0x0600002A, 0x0600002B)     \
    X(QGetInstancesRespMsg, 0x1002B, 0x0600002B, 0)        \
    X(QInstance, 0x10029, 0x06000029, 0)                   \
    /* end of list */

VSDK_ORVANE_UTILITIES_MESSAGES(VSDK_DECLARE_MESSAGE)

// QLMReplicateDBReq: the caller builds the body; the library fills only the
// session object (msgf::kRequestSession). QLMReplicateDBResp: read only for
// its error object (msgf::kReplyError).

// The agent-tree path in requests, in its two layouts: selector requests
// (listings, deletions, changes) and creation requests (operation id first).
// Every level is an id then a name; a request stops after its last level.
#define OU_TREE_SELECTOR_FIELDS(F)          \
    F(kConstant, 3, 3, 0xABF8CF)            \
    F(kClientId, 4, 4, 0x253646)            \
    F(kClientName, 5, 5, 0xB304F6)          \
    F(kAppTypeId, 6, 9, 0xAD84FB)           \
    F(kAppName, 7, 10, 0xAA704C)            \
    F(kInstanceId, 8, 14, 0xC3CC90)         \
    F(kInstanceName, 9, 15, 0x0530C0)       \
    F(kBackupSetId, 10, 19, 0x0E187B)       \
    F(kBackupSetName, 11, 20, 0xEC2DEB)     \
    F(kSubclientId, 12, 24, 0xA4B486)       \
    F(kSubclientName, 13, 25, 0x4BF336)
VSDK_MESSAGE_FIELDS(TreeSelector, OU_TREE_SELECTOR_FIELDS)

#define OU_TREE_CREATION_FIELDS(F)          \
    F(kOperationId, 3, 3, 0xBB20E2)         \
    F(kConstant, 4, 4, 0xABF8CF)            \
    F(kClientId, 5, 5, 0x253646)            \
    F(kClientName, 6, 6, 0xB304F6)          \
    F(kAppTypeId, 7, 10, 0xAD84FB)          \
    F(kAppName, 8, 11, 0xAA704C)            \
    F(kInstanceId, 9, 15, 0xC3CC90)         \
    F(kInstanceName, 10, 16, 0x0530C0)      \
    F(kBackupSetId, 11, 20, 0x0E187B)       \
    F(kBackupSetName, 12, 21, 0xEC2DEB)     \
    F(kSubclientId, 13, 25, 0xA4B486)       \
    F(kSubclientName, 14, 26, 0x4BF336)
VSDK_MESSAGE_FIELDS(TreeCreation, OU_TREE_CREATION_FIELDS)

// Storage policies and their copies. The entries of the two listings:
#define OU_STORAGE_POLICY_ENTRY_FIELDS(F) \
    F(kId, 1, 1, 0x4D4D3E)                \
    F(kName, 2, 2, 0x313DEE)              \
    F(kType, 3, 6, 0x368F3A)              \
    F(kAttribute, 4, 7, 0x7D5436)         \
    F(kFlags, 5, 8, 0xCFEE87)
VSDK_MESSAGE_FIELDS(StoragePolicyEntry, OU_STORAGE_POLICY_ENTRY_FIELDS)

#define OU_STORAGE_POLICY_COPY_ENTRY_FIELDS(F) \
    F(kId, 1, 1, 0x40AF70)                     \
    F(kName, 2, 2, 0xD4DBA0)                   \
    F(kAttribute, 3, 6, 0xAE5578)              \
    F(kSnapCopy, 5, 8, 0x9CC5A9)               \
    F(kMirrorCopy, 6, 9, 0x5E949E)
VSDK_MESSAGE_FIELDS(StoragePolicyCopyEntry, OU_STORAGE_POLICY_COPY_ENTRY_FIELDS)

// The policy listing sends only the constant; the copy listing and the two
// deletions name the policy (the copy deletion the copy too).
#define OU_STORAGE_POLICY_SELECTOR_FIELDS(F) \
    F(kConstant, 3, 3, 0xABF8CF)             \
    F(kPolicyId, 4, 4, 0x0336C4)             \
    F(kPolicyName, 5, 5, 0x12DDF4)           \
    F(kCopyId, 6, 9, 0x40AF70)               \
    F(kCopyName, 7, 10, 0xD4DBA0)
VSDK_MESSAGE_FIELDS(StoragePolicySelector, OU_STORAGE_POLICY_SELECTOR_FIELDS)

#define OU_GET_STORAGE_POLICIES_RESP_FIELDS(F) F(kList, 3, 3, 0x98F150)
VSDK_MESSAGE_FIELDS(GetStoragePoliciesResp, OU_GET_STORAGE_POLICIES_RESP_FIELDS)

#define OU_GET_STORAGE_POLICY_COPIES_RESP_FIELDS(F) F(kList, 3, 3, 0x4076D3)
VSDK_MESSAGE_FIELDS(GetStoragePolicyCopiesResp, OU_GET_STORAGE_POLICY_COPIES_RESP_FIELDS)

#define OU_SET_STORAGE_POLICIES_REQ_FIELDS(F)      \
    F(kOperationId, 3, 3, 0xBB20E2)                \
    F(kConstant, 4, 4, 0xABF8CF)                   \
    F(kPolicyId, 5, 5, 0x0336C4)                   \
    F(kPolicyName, 6, 6, 0x12DDF4)                 \
    F(kMediaAgentId, 7, 10, 0xECDE7C)              \
    F(kMediaAgentName, 8, 11, 0x3177AC)            \
    F(kLibraryId, 9, 15, 0x71EB36)                 \
    F(kLibraryName, 10, 16, 0xA63DE6)              \
    F(kDrivePoolId, 11, 20, 0x8FC081)              \
    F(kDrivePoolName, 12, 21, 0xA3EC71)            \
    F(kScratchPoolId, 13, 25, 0xAD05F1)            \
    F(kScratchPoolName, 14, 26, 0x8595E1)          \
    F(kStreamCount, 15, 30, 0x74C16F)              \
    F(kIncrementalPolicyId, 16, 31, 0xFAA826)      \
    F(kIncrementalPolicyName, 17, 32, 0xF37ED6)    \
    F(kDdbPath, 18, 36, 0x785723)                  \
    F(kEnableSilo, 19, 40, 0x78A52B)               \
    F(kSiloLibraryId, 20, 41, 0x6898DB)            \
    F(kSiloLibraryName, 21, 42, 0x87F7A0)          \
    F(kSiloMediaAgentId, 22, 46, 0x76D7F4)         \
    F(kSiloMediaAgentName, 23, 47, 0x1D28F9)       \
    F(kSiloDrivePoolId, 24, 51, 0x936B76)          \
    F(kSiloDrivePoolName, 25, 52, 0xECB4FB)        \
    F(kSiloScratchPoolId, 26, 56, 0x10E445)        \
    F(kSiloScratchPoolName, 27, 57, 0xC0158A)
VSDK_MESSAGE_FIELDS(SetStoragePoliciesReq, OU_SET_STORAGE_POLICIES_REQ_FIELDS)

#define OU_SET_STORAGE_POLICIES_RESP_FIELDS(F) F(kPolicyId, 3, 3, 0x0336C4)
VSDK_MESSAGE_FIELDS(SetStoragePoliciesResp, OU_SET_STORAGE_POLICIES_RESP_FIELDS)

#define OU_SET_STORAGE_POLICY_COPIES_REQ_FIELDS(F) \
    F(kOperationId, 3, 3, 0xBB20E2)                \
    F(kCopyName, 4, 4, 0xD4DBA0)                   \
    F(kCopyId, 5, 8, 0x40AF70)                     \
    F(kConstant, 6, 9, 0xABF8CF)                   \
    F(kPolicyId, 7, 10, 0x0336C4)                  \
    F(kPolicyName, 8, 11, 0x12DDF4)                \
    F(kMediaAgentId, 9, 15, 0xECDE7C)              \
    F(kMediaAgentName, 10, 16, 0x3177AC)           \
    F(kLibraryId, 11, 20, 0x71EB36)                \
    F(kLibraryName, 12, 21, 0xA63DE6)              \
    F(kDrivePoolId, 13, 25, 0x8FC081)              \
    F(kDrivePoolName, 14, 26, 0xA3EC71)            \
    F(kScratchPoolId, 15, 30, 0xAD05F1)            \
    F(kScratchPoolName, 16, 31, 0x8595E1)          \
    F(kCopyType, 17, 35, 0xD7F04F)                 \
    F(kIsActive, 18, 36, 0x5C70D0)                 \
    F(kIsDefault, 19, 37, 0x851DB7)                \
    F(kSnapCopy, 20, 38, 0x9CC5A9)                 \
    F(kMirrorCopy, 21, 39, 0x5E949E)               \
    F(kSourceCopyId, 22, 40, 0x90436B)             \
    F(kSourceCopyName, 23, 41, 0x8F5CDB)           \
    F(kDdbPath, 24, 45, 0x1E9B27)                  \
    F(kEncryptData, 25, 49, 0xF9DBAF)              \
    F(kCipher, 26, 50, 0xEBE60B)                   \
    F(kKeyLength, 27, 51, 0xB64225)                \
    F(kMediaAccess, 28, 52, 0x399668)              \
    F(kExistingEncrypted, 29, 53, 0xBBECB2)        \
    F(kEnableSilo, 30, 54, 0x78A52B)               \
    F(kSiloLibraryId, 31, 55, 0x6898DB)            \
    F(kSiloLibraryName, 32, 56, 0x87F7A0)          \
    F(kSiloMediaAgentId, 33, 60, 0x76D7F4)         \
    F(kSiloMediaAgentName, 34, 61, 0x1D28F9)       \
    F(kSiloDrivePoolId, 35, 65, 0x936B76)          \
    F(kSiloDrivePoolName, 36, 66, 0xECB4FB)        \
    F(kSiloScratchPoolId, 37, 70, 0x10E445)        \
    F(kSiloScratchPoolName, 38, 71, 0xC0158A)
VSDK_MESSAGE_FIELDS(SetStoragePolicyCopiesReq, OU_SET_STORAGE_POLICY_COPIES_REQ_FIELDS)

#define OU_SET_STORAGE_POLICY_COPIES_RESP_FIELDS(F) F(kCopyId, 3, 3, 0x40AF70)
VSDK_MESSAGE_FIELDS(SetStoragePolicyCopiesResp, OU_SET_STORAGE_POLICY_COPIES_RESP_FIELDS)
// QGetAppTypesRespMsg and its QAppType entries
#define OU_GET_APP_TYPES_RESP_FIELDS(F)   \
    F(kList, 3, 3, 0x031AD8)              \
    F(kAppTypeId, 1, 1, 0xAD84FB)         \
    F(kName, 2, 2, 0xAA704C)              \
    F(kValue, 3, 6, 0xC42177)
VSDK_MESSAGE_FIELDS(GetAppTypesResp, OU_GET_APP_TYPES_RESP_FIELDS)

// QGetInstancesRespMsg and its QInstance entries
#define OU_GET_INSTANCES_RESP_FIELDS(F)   \
    F(kList, 3, 3, 0xBBFE7E)              \
    F(kInstanceId, 1, 1, 0xC3CC90)        \
    F(kName, 2, 2, 0x0530C0)              \
    F(kFirstText, 6, 15, 0x5CE809)        \
    F(kSecondText, 3, 6, 0xD53036)        \
    F(kThirdText, 4, 10, 0xAFA6CC)        \
    F(kOnDemand, 5, 14, 0x136854)         \
    F(kDescription, 7, 19, 0x3583FC)
VSDK_MESSAGE_FIELDS(GetInstancesResp, OU_GET_INSTANCES_RESP_FIELDS)

void RegisterSubsystem();

}  // namespace OrvaneUtilities
