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
    X(QControlMediaAgentReqMsg, 164, 0x0600005E, 0x0600005F) \
    X(QControlMediaAgentRespMsg, 1095, 0x0600005F, 0)      \
    X(QGetMediaAgentsReqMsg, 81, 0x0600005C, 0x0600005D)   \
    X(QGetMediaAgentsRespMsg, 1093, 0x0600005D, 0)         \
    X(QMediaAgent, 2091, 0x0600005B, 0)                    \
    X(QGetMediaLibrariesReqMsg, 134, 0x06000066, 0x06000067) \
    X(QGetMediaLibrariesRespMsg, 1103, 0x06000067, 0)      \
    X(QMediaLibrary, 2101, 0x06000065, 0)                  \
    X(QGetMasterDrivePoolsReqMsg, 202, 0x06000070, 0x06000071) \
    X(QGetMasterDrivePoolsRespMsg, 1113, 0x06000071, 0)    \
    X(QMasterDrivePool, 2111, 0x0600006F, 0)               \
    X(QGetDrivePoolsReqMsg, 111, 0x0600007A, 0x0600007B)   \
    X(QGetDrivePoolsRespMsg, 1123, 0x0600007B, 0)          \
    X(QDrivePool, 2121, 0x06000079, 0)                     \
    X(QGetMediaReqMsg, 9, 0x060000AC, 0x060000AD)          \
    X(QGetMediaRespMsg, 1173, 0x060000AD, 0)               \
    X(QMedia, 2171, 0x060000AB, 0)                         \
    X(QGetScratchPoolsReqMsg, 31, 0x060000C0, 0x060000C1)  \
    X(QGetScratchPoolsRespMsg, 1193, 0x060000C1, 0)        \
    X(QScratchPool, 2191, 0x060000BF, 0)                   \
    X(QGetLibraryChildrenReqMsg, 22, 0x060000C9, 0x060000CA) \
    X(QGetLibraryChildrenRespMsg, 1202, 0x060000CA, 0)     \
    X(QGetQuickMediaReqMsg, 154, 0x060000F2, 0x060000F3)   \
    X(QGetQuickMediaRespMsg, 1243, 0x060000F3, 0)          \
    X(QQuickMedia, 2241, 0x060000F1, 0)                    \
    X(QGetSystemDatabasesReqMsg, 139, 0x060000D3, 0x060000D4) \
    X(QGetSystemDatabasesRespMsg, 0x100D4, 0x060000D4, 0)       \
    X(QDiscoverContentReqMsg, 159, 0x062162A2, 0x06367CD2)   \
    X(QDiscoverContentRespMsg, 0x17CD2, 0x06367CD2, 0)          \
    X(QDiscoveredContentMsg, 76, 0x062F37BF, 0)              \
    X(QSubclient, 0x10033, 0x06000033, 0)                       \
    X(QGetSubclientsReqMsg, 50, 0x06000034, 0x06000035)      \
    X(QGetSubclientsRespMsg, 0x10035, 0x06000035, 0)            \
    X(QSQLDBInfo, 137, 0x0600003A, 0)                        \
    X(QGetSQLDBReqMsg, 91, 0x06000104, 0x06000105)           \
    X(QGetSQLDBRespMsg, 0x10105, 0x06000105, 0)                 \
    X(QSetSubclientsReqMsg, 198, 0x06000036, 0x06000037)     \
    X(QSetSubclientsRespMsg, 0x10037, 0x06000037, 0)            \
    X(QDeleteSubclientReqMsg, 197, 0x06000038, 0x06000039)   \
    X(QDeleteSubclientRespMsg, 0x10039, 0x06000039, 0)          \
    X(QFilter, 0x100FE, 0x060000FE, 0)                          \
    X(QOSFilterAssoc, 0x10101, 0x06000101, 0)                   \
    X(QGetGlobalFiltersReqMsg, 201, 0x060000FF, 0x06000100)  \
    X(QGetGlobalFiltersRespMsg, 0x10100, 0x06000100, 0)         \
    X(QSetGlobalFiltersReqMsg, 189, 0x06000111, 0x06000112)  \
    X(QSetGlobalFiltersRespMsg, 0x10112, 0x06000112, 0)         \
    X(QGetVSBackupsetPropReq, 40, 0x0636299D, 0x068F0AB1)    \
    X(QGetVSBackupsetPropResp, 0x10AB1, 0x068F0AB1, 0)          \
    X(QSetVSSubclientContentReq, 114, 0x06EF1222, 0x06F332CC) \
    X(QSetVSSubclientContentResp, 0x132CC, 0x06F332CC, 0)       \
    X(QGetAppTypesReqMsg, 140, 0x06000016, 0x06000017)     \
    X(QGetAppTypesRespMsg, 0x10017, 0x06000017, 0)         \
    X(QAppType, 0x10015, 0x06000015, 0)                    \
    X(QGetInstancesReqMsg, 49, 0x0600002A, 0x0600002B)     \
    X(QGetInstancesRespMsg, 0x1002B, 0x0600002B, 0)        \
    X(QInstance, 0x10029, 0x06000029, 0)                   \
    X(QGetDataPathReqMsg, 109, 0x0600012A, 0x0600012B)     \
    X(QGetDataPathRespMsg, 0x1012B, 0x0600012B, 0)         \
    X(QGetReplicationSetsReqMsg, 125, 0x06000123, 0x06000124)   \
    X(QGetReplicationSetsRespMsg, 0x10124, 0x06000124, 0)       \
    X(QReplicationSet, 0x10122, 0x06000122, 0)                  \
    X(QGetReplicationPairsReqMsg, 141, 0x06000126, 0x06000127)  \
    X(QGetReplicationPairsRespMsg, 0x10127, 0x06000127, 0)      \
    X(QReplicationPair, 0x10125, 0x06000125, 0)                 \
    X(CreateRepSetReq, 101, 0x0600012D, 0x0600012E)             \
    X(QCreateRepSetReqNew, 97, 0x060001F4, 0x060001F5)          \
    X(QCreateRepSetRespMsg, 0x101F5, 0x060001F5, 0)             \
    X(QCreateReplicationPairReqMsg, 195, 0x06000208, 0x06000209) \
    X(QCreateReplicationPairRespMsg, 0x10209, 0x06000209, 0)     \
    X(QSetInstancesReqMsg, 68, 0x0600002C, 0x0600002D)     \
    X(QSetInstancesRespMsg, 0x1002D, 0x0600002D, 0)        \
    X(QSQLInstanceOptions, 48, 0x06000129, 0)              \
    X(QOracleInstanceOptions, 196, 0x06000128, 0)          \
    X(QDb2InstanceOptions, 178, 0x0600012C, 0)             \
    X(QGetBackupSetsReqMsg, 165, 0x06000020, 0x06000021)   \
    X(QGetBackupSetsRespMsg, 0x10021, 0x06000021, 0)       \
    X(QBackupSet, 0x1001F, 0x0600001F, 0)                  \
    X(QSetBackupSetsReqMsg, 182, 0x06000022, 0x06000023)   \
    X(QSetBackupSetsRespMsg, 0x10023, 0x06000023, 0)       \
    X(QModifyBackupSetsReqMsg, 113, 0x06000026, 0x06000027) \
    X(QModifyBackupSetsRespMsg, 0x10027, 0x06000027, 0)    \
    X(QDeleteBackupSetReqMsg, 61, 0x06000024, 0x06000025)  \
    X(QDeleteBackupSetRespMsg, 0x10025, 0x06000025, 0)     \
    X(QGetOrvaneUsersReqMsg, 191, 0x060000E8, 0x060000E9)  \
    X(QGetOrvaneUsersRespMsg, 0x100E9, 0x060000E9, 0)      \
    X(QOrvaneUser, 0x100E7, 0x060000E7, 0)                 \
    X(QGetOrvaneUserGroupsReqMsg, 147, 0x060000E0, 0x060000E1) \
    X(QGetOrvaneUserGroupsRespMsg, 0x100E1, 0x060000E1, 0) \
    X(QOrvaneUserGroup, 0x100DF, 0x060000DF, 0)            \
    X(QSetOrvaneUserReqMsg, 130, 0x060000DD, 0x060000DE)   \
    X(QSetOrvaneUserRespMsg, 0x100DE, 0x060000DE, 0)       \
    X(QChangePasswordsReqMsg, 206, 0x060000B5, 0x060000B6) \
    X(QChangePasswordsRespMsg, 0x100B6, 0x060000B6, 0)     \
    X(QGetSnapsReqMsg, 157, 0x06000191, 0x06000192)       \
    X(QGetSnapsRespMsg, 0x10192, 0x06000192, 0)            \
    X(QSnapshot, 0x10190, 0x06000190, 0)                   \
    X(QBrevantUpdateReqMsg, 24, 0x06000083, 0x06000084)    \
    X(QBrevantUpdateRespMsg, 0x10084, 0x06000084, 0)       \
    X(QLocation, 87, 0x0600008D, 0)                        \
    X(QContainer, 0x13730, 0x06303730, 0)                  \
    X(QMediaShelf, 0x1B7D7, 0x061FB7D7, 0)                 \
    X(QIronMountain, 0x10E66, 0x06AE0E66, 0)               \
    X(QSWAction, 0x10DE5, 0x066C0DE5, 0)                   \
    X(QGetLocationsReqMsg, 62, 0x0600008E, 0x0600008F)     \
    X(QGetLocationsRespMsg, 0x1008F, 0x0600008F, 0)        \
    X(QGetContainersReqMsg, 162, 0x0607A81A, 0x0618E65A)   \
    X(QGetContainersRespMsg, 0x1E65A, 0x0618E65A, 0)       \
    X(QGetMediaShelvesReqMsg, 181, 0x060E7D2C, 0x06ECB388) \
    X(QGetMediaShelvesRespMsg, 0x1B388, 0x06ECB388, 0)     \
    X(QGetIronMountainsReqMsg, 83, 0x061D51BC, 0x06B870F8) \
    X(QGetIronMountainsRespMsg, 0x170F8, 0x06B870F8, 0)    \
    X(QGetSWActionsReqMsg, 148, 0x063ADB5D, 0x064C1B77)    \
    X(QGetSWActionsRespMsg, 0x11B77, 0x064C1B77, 0)        \
    X(QSetLocationReqMsg, 90, 0x06D07AC9, 0x066A698B)      \
    X(QSetLocationRespMsg, 0x1698B, 0x066A698B, 0)         \
    X(QSetContainerReqMsg, 45, 0x06F27353, 0x06878241)     \
    X(QSetContainerRespMsg, 0x18241, 0x06878241, 0)        \
    X(QSetMediaShelfReqMsg, 100, 0x068186BA, 0x06DADBBA)   \
    X(QSetMediaShelfRespMsg, 0x1DBBA, 0x06DADBBA, 0)       \
    X(QSetIronMountainReqMsg, 80, 0x06E4F609, 0x06E5564B)  \
    X(QSetIronMountainRespMsg, 0x1564B, 0x06E5564B, 0)     \
    X(QSetSWActionReqMsg, 142, 0x06DA1A48, 0x0694B9EC)     \
    X(QSetSWActionRespMsg, 0x1B9EC, 0x0694B9EC, 0)         \
    X(QDeleteLocationReqMsg, 102, 0x0670E694, 0x06D77720)  \
    X(QDeleteLocationRespMsg, 0x17720, 0x06D77720, 0)      \
    X(QDeleteContainerReqMsg, 172, 0x065F80E8, 0x06BC274C) \
    X(QDeleteContainerRespMsg, 0x1274C, 0x06BC274C, 0)     \
    X(QDeleteMediaShelfReqMsg, 138, 0x06B62BC5, 0x063AD80F) \
    X(QDeleteMediaShelfRespMsg, 0x1D80F, 0x063AD80F, 0)    \
    X(QDeleteIronMountainReqMsg, 47, 0x06848454, 0x06379160) \
    X(QDeleteIronMountainRespMsg, 0x19160, 0x06379160, 0)  \
    X(QDeleteShelfwatchPolicyReqMsg, 21, 0x068E7B17, 0x066C72FD) \
    X(QDeleteShelfwatchPolicyRespMsg, 0x172FD, 0x066C72FD, 0) \
    X(QGetShelfwatchPoliciesReqMsg, 36, 0x06000098, 0x06000099) \
    X(QGetShelfwatchPoliciesRespMsg, 0x10099, 0x06000099, 0) \
    X(QShelfwatchPolicy, 0x10097, 0x06000097, 0)           \
    X(QSetShelfwatchPolicyReqMsg, 16, 0x06DE110C, 0x060F9BA8) \
    X(QSetShelfwatchPolicyRespMsg, 0x19BA8, 0x060F9BA8, 0) \
    X(QSWSPCopy, 2, 0x06015B01, 0)                         \
    X(QSWLocation, 170, 0x06A6FFA4, 0)                     \
    X(QSWRule, 166, 0x0660466B, 0)                         \
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
// Media topology requests: the constant 2, then the parent's ids and names.
// The library-children request names its library at (4,4)/(5,5); the drive
// listing (module 10) shares the first five.
#define OU_MEDIA_TOPOLOGY_REQ_FIELDS(F)             \
    F(kConstant, 3, 3, 0xABF8CF)                    \
    F(kMediaAgentId, 4, 4, 0xECDE7C)                \
    F(kMediaAgentName, 5, 5, 0x3177AC)              \
    F(kLibraryId, 6, 9, 0x71EB36)                   \
    F(kLibraryName, 7, 10, 0xA63DE6)                \
    F(kMasterDrivePoolId, 8, 14, 0x6F4CBF)          \
    F(kMasterDrivePoolName, 9, 15, 0xD1612F)        \
    F(kChildrenLibraryId, 4, 4, 0x71EB36)           \
    F(kChildrenLibraryName, 5, 5, 0xA63DE6)         \
    F(kChildrenOption, 6, 9, 0x2FFF6C)
VSDK_MESSAGE_FIELDS(MediaTopologyReq, OU_MEDIA_TOPOLOGY_REQ_FIELDS)

// Their replies' lists (the three pool listings share one list field).
#define OU_MEDIA_TOPOLOGY_RESP_FIELDS(F)            \
    F(kMediaAgents, 3, 3, 0x611E0E)                 \
    F(kLibraries, 3, 3, 0x71B299)                   \
    F(kPools, 3, 3, 0x5E6BD7)                       \
    F(kChildrenMasterPools, 3, 3, 0x0A44A0)         \
    F(kChildrenScratchPools, 4, 4, 0x9BBB44)        \
    F(kMedia, 3, 3, 0xBE8D0F)
VSDK_MESSAGE_FIELDS(MediaTopologyResp, OU_MEDIA_TOPOLOGY_RESP_FIELDS)

// The list entries: QMediaAgent, QMediaLibrary, QMasterDrivePool,
// QDrivePool, QScratchPool.
#define OU_MEDIA_TOPOLOGY_ENTRY_FIELDS(F)           \
    F(kAgentId, 1, 1, 0xECDE7C)                     \
    F(kAgentName, 2, 2, 0x3177AC)                   \
    F(kLibraryId, 1, 1, 0x71EB36)                   \
    F(kLibraryName, 2, 2, 0xA63DE6)                 \
    F(kLibraryType, 3, 6, 0xA95295)                 \
    F(kLibraryIdList, 4, 7, 0xAEF177)               \
    F(kLibraryAttribute1, 5, 8, 0x4FD109)           \
    F(kLibraryAttribute2, 6, 9, 0x80D2B7)           \
    F(kMasterPoolId, 1, 1, 0x6F4CBF)                \
    F(kMasterPoolName, 2, 2, 0xD1612F)              \
    F(kDrivePoolId, 1, 1, 0x8FC081)                 \
    F(kDrivePoolName, 2, 2, 0xA3EC71)               \
    F(kDrivePoolIdList, 3, 6, 0xAEF177)             \
    F(kScratchPoolId, 1, 1, 0xAD05F1)               \
    F(kScratchPoolName, 2, 2, 0x8595E1)
VSDK_MESSAGE_FIELDS(MediaTopologyEntry, OU_MEDIA_TOPOLOGY_ENTRY_FIELDS)

// QGetMediaReqMsg: the filter, after the constant 2 at (3,3).
#define OU_GET_MEDIA_REQ_FIELDS(F)                  \
    F(kJobId, 4, 4, 0x09A9B8)                       \
    F(kStoragePolicyId, 5, 5, 0x0336C4)             \
    F(kStoragePolicyName, 6, 6, 0x12DDF4)           \
    F(kCopyId, 7, 10, 0x40AF70)                     \
    F(kCopyName, 8, 11, 0xD4DBA0)                   \
    F(kLibraryId, 9, 15, 0x71EB36)                  \
    F(kLibraryName, 10, 16, 0xA63DE6)               \
    F(kFilterValue1, 11, 20, 0xF54F89)              \
    F(kFilterValue2, 12, 21, 0x4819D1)              \
    F(kFilterValue3, 14, 26, 0x4F9FB5)              \
    F(kFilterText, 13, 22, 0xAB31C1)                \
    F(kLocationId, 15, 27, 0xE68FB0)                \
    F(kMediaText, 16, 28, 0x1DE880)
VSDK_MESSAGE_FIELDS(GetMediaReq, OU_GET_MEDIA_REQ_FIELDS)

// QMedia: one medium of the media listing.
#define OU_MEDIA_ENTRY_FIELDS(F)                    \
    F(kMediaId, 1, 1, 0x13101F)                     \
    F(kMediaName, 2, 2, 0x91CC8F)                   \
    F(kLibraryName, 3, 6, 0xA63DE6)                 \
    F(kLocationName, 4, 10, 0x83ABE0)               \
    F(kStoragePolicyName, 5, 14, 0x12DDF4)          \
    F(kCopyName, 6, 18, 0xD4DBA0)                   \
    F(kText7, 7, 22, 0xCDCFF2)                      \
    F(kLocationId, 8, 26, 0xE68FB0)                 \
    F(kMediaAttributeId, 9, 27, 0x310BF0)           \
    F(kDescription, 10, 28, 0x3583FC)               \
    F(kText11, 11, 32, 0xAC88FE)                    \
    F(kLibraryId, 12, 36, 0x71EB36)                 \
    F(kText13, 13, 37, 0xEE8BD7)                    \
    F(kText14, 14, 41, 0x88AE4C)                    \
    F(kScratchPoolName, 15, 45, 0x8595E1)           \
    F(kText16, 16, 49, 0x94E13E)                    \
    F(kSize, 17, 53, 0x5CC269)                      \
    F(kText18, 18, 54, 0xCA36E5)                    \
    F(kText19, 19, 58, 0x095E05)
VSDK_MESSAGE_FIELDS(MediaEntry, OU_MEDIA_ENTRY_FIELDS)

// QGetQuickMediaReqMsg: after the agent-tree path (TreeSelector), the time
// window and two integers.
#define OU_GET_QUICK_MEDIA_REQ_FIELDS(F)            \
    F(kFromTime, 14, 29, 0x2CDD54)                  \
    F(kToTime, 15, 30, 0xE636A5)                    \
    F(kOption1, 16, 31, 0x5DDC0D)                   \
    F(kOption2, 17, 32, 0xBC3F5F)
VSDK_MESSAGE_FIELDS(GetQuickMediaReq, OU_GET_QUICK_MEDIA_REQ_FIELDS)

// QQuickMedia: one entry of the quick media listing.
#define OU_QUICK_MEDIA_ENTRY_FIELDS(F)              \
    F(kMediaText, 1, 1, 0x1DE880)                   \
    F(kText2, 2, 5, 0xAE2389)                       \
    F(kLibraryName, 3, 9, 0xA63DE6)                 \
    F(kText4, 4, 13, 0x94E13E)                      \
    F(kStoragePolicyName, 5, 17, 0x722BB8)          \
    F(kCopyName, 6, 21, 0xD4DBA0)                   \
    F(kSubclientName, 7, 25, 0x4BF336)              \
    F(kOption2, 8, 29, 0xBC3F5F)                    \
    F(kContainerName, 9, 30, 0x3A12AC)
VSDK_MESSAGE_FIELDS(QuickMediaEntry, OU_QUICK_MEDIA_ENTRY_FIELDS)
// System databases: a selector request down to the backup set, then these.
#define OU_SYSTEM_DATABASES_FIELDS(F)       \
    F(kCopyPrecedence, 12, 24, 0x410DEE)    \
    F(kToTime, 13, 25, 0x361FE8)            \
    F(kDatabaseCode, 3, 3, 0x0E3248)
VSDK_MESSAGE_FIELDS(SystemDatabases, OU_SYSTEM_DATABASES_FIELDS)

// Requests that name a node by ids only (SQL databases, content discovery).
#define OU_NODE_IDS_FIELDS(F)               \
    F(kConstant, 3, 3, 0xABF829)            \
    F(kClientId, 4, 4, 0x253646)            \
    F(kAppTypeId, 5, 5, 0x603B76)           \
    F(kInstanceId, 6, 6, 0xC3CC90)
VSDK_MESSAGE_FIELDS(NodeIds, OU_NODE_IDS_FIELDS)

// Content discovery: its further ids, and the reply's content object.
#define OU_DISCOVER_CONTENT_FIELDS(F)       \
    F(kBackupSetId, 7, 7, 0xD1089B)         \
    F(kFifthValue, 8, 8, 0xF23CDD)          \
    F(kSixthValue, 9, 9, 0x3354E4)          \
    F(kSeventhValue, 10, 10, 0x0D7193)      \
    F(kContent, 3, 3, 0x754C50)             \
    F(kContentPaths, 1, 1, 0x7AC90E)
VSDK_MESSAGE_FIELDS(DiscoverContent, OU_DISCOVER_CONTENT_FIELDS)

// One SQL database element, and the list of the SQL-database listing reply.
#define OU_SQL_DATABASE_FIELDS(F)           \
    F(kId, 1, 1, 0x2EEE39)                  \
    F(kName, 2, 2, 0x2E8C29)                \
    F(kList, 3, 3, 0xCFBE3C)
VSDK_MESSAGE_FIELDS(SqlDatabase, OU_SQL_DATABASE_FIELDS)

// One subclient entry of the subclient listing reply (its list at kList).
#define OU_SUBCLIENT_FIELDS(F)              \
    F(kList, 3, 3, 0xC33FC8)                \
    F(kId, 1, 1, 0xA4B486)                  \
    F(kName, 2, 2, 0x4BF336)                \
    F(kContents, 3, 6, 0xB73479)            \
    F(kLastAccessTime, 4, 7, 0x64D587)      \
    F(kDefault, 5, 8, 0x851DB7)             \
    F(kStoragePolicyName, 6, 9, 0x67CB8D)   \
    F(kSqlDatabases, 7, 13, 0x218ACB)       \
    F(kCompression, 8, 14, 0x5A5966)        \
    F(kValueA, 9, 15, 0x574A0B)             \
    F(kEncryption, 10, 16, 0xD70F83)        \
    F(kActivityControl, 11, 17, 0xAF161D)   \
    F(kSingleInstancing, 12, 18, 0x261525)  \
    F(kDataReaders, 13, 19, 0x1C5506)       \
    F(kDescription, 14, 20, 0x3583FC)       \
    F(kValueB, 15, 24, 0x1F5518)
VSDK_MESSAGE_FIELDS(Subclient, OU_SUBCLIENT_FIELDS)

// Subclient creation: a creation request down to the subclient, then these;
// the reply's new id.
#define OU_SET_SUBCLIENT_FIELDS(F)                  \
    F(kStoragePolicyId, 15, 30, 0x4D4D3E)           \
    F(kStoragePolicyName, 16, 31, 0x313DEE)         \
    F(kStoragePolicyIndexId, 17, 35, 0x8BFE6B)      \
    F(kContents, 18, 36, 0xB73479)                  \
    F(kLastAccessTime, 19, 37, 0x64D587)            \
    F(kCompression, 20, 38, 0x5A5966)               \
    F(kNetworkAgents, 21, 39, 0x1A89DC)             \
    F(kPreBackupProcess, 22, 40, 0x314E45)          \
    F(kPostBackupProcess, 23, 44, 0x6D0282)         \
    F(kPreScanProcess, 24, 48, 0xF8E3C0)            \
    F(kPostScanProcess, 25, 52, 0x1E833D)           \
    F(kPrePostUserName, 26, 56, 0x4B2FD9)           \
    F(kPrePostPassword, 27, 60, 0xB9ED7E, kSecret)  \
    F(kSystemState, 28, 64, 0xD667A2)               \
    F(kSqlDatabases, 29, 65, 0x218ACB)              \
    F(kSqlLogStreamCount, 30, 66, 0x72BE43)         \
    F(kSqlDataStreamCount, 31, 67, 0xD76029)        \
    F(kSqlSubclientType, 32, 68, 0xDFD8B7)          \
    F(kSingleInstancing, 33, 69, 0x261525)          \
    F(kEncryption, 34, 70, 0xD70F83)                \
    F(kActivityControl, 35, 71, 0xAF161D)           \
    F(kDataReaders, 36, 72, 0x1C5506)               \
    F(kDescription, 37, 73, 0x3583FC)               \
    F(kOtherList, 38, 74, 0x661E0E)                 \
    F(kOne, 39, 75, 0x6EA7C0)                       \
    F(kNewId, 3, 3, 0xA4B486)
VSDK_MESSAGE_FIELDS(SetSubclient, OU_SET_SUBCLIENT_FIELDS)

// Global filters: the listing reply's operating systems and their filters;
// the set request's operating system and filter texts.
#define OU_GLOBAL_FILTER_FIELDS(F)          \
    F(kList, 3, 3, 0x89E6F9)                \
    F(kOsId, 1, 1, 0x25A23F)                \
    F(kFilters, 2, 2, 0x10A3FB)             \
    F(kFilterValue, 1, 1, 0x03D6B3)         \
    F(kFilterText, 2, 2, 0x6B3E23)          \
    F(kSetOsId, 4, 4, 0x25A23F)             \
    F(kSetFilters, 5, 5, 0x10A3FB)
VSDK_MESSAGE_FIELDS(GlobalFilter, OU_GLOBAL_FILTER_FIELDS)

// Virtual-server backup-set property (ids at 3 to 7, the reply's text) and
// subclient content.
#define OU_VIRTUAL_SERVER_FIELDS(F)         \
    F(kClientId, 3, 3, 0x253646)            \
    F(kAppType, 4, 4, 0xAD84FB)             \
    F(kInstanceId, 5, 5, 0xC3CC90)          \
    F(kBackupSetId, 6, 6, 0x0E187B)         \
    F(kSubclientId, 7, 7, 0xA4B486)         \
    F(kProperty, 3, 3, 0xED56C3)            \
    F(kContentSubclientId, 3, 3, 0xA4B486)  \
    F(kContentSubclientName, 4, 4, 0x4BF336) \
    F(kContentGuestHosts, 6, 12, 0x3388D3)  \
    F(kContentGuestHosts2, 7, 16, 0x3D91BF) \
    F(kContentProperty, 5, 8, 0xED56C3)
VSDK_MESSAGE_FIELDS(VirtualServer, OU_VIRTUAL_SERVER_FIELDS)
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

// QControlMediaAgentReqMsg, after the constant 2 at (3,3).
#define OU_CONTROL_MEDIA_AGENT_FIELDS(F)            \
    F(kMediaAgentId, 4, 4, 0xC29F00)                \
    F(kOperation, 5, 5, 0x1AD567)
VSDK_MESSAGE_FIELDS(ControlMediaAgent, OU_CONTROL_MEDIA_AGENT_FIELDS)
// QGetDataPathReqMsg: the four name lists, each sent whole
#define OU_GET_DATA_PATH_REQ_FIELDS(F)     \
    F(kMediaAgentNames, 3, 3, 0x39E66A)    \
    F(kLibraryNames, 4, 4, 0x0CFFA4)       \
    F(kDrivePoolNames, 5, 5, 0x2A70AF)     \
    F(kScratchPoolNames, 6, 6, 0x39E21F)
VSDK_MESSAGE_FIELDS(GetDataPathReq, OU_GET_DATA_PATH_REQ_FIELDS)

// QGetDataPathRespMsg: the four int32 id lists
#define OU_GET_DATA_PATH_RESP_FIELDS(F)    \
    F(kMediaAgentIds, 3, 3, 0x45653A)      \
    F(kLibraryIds, 4, 4, 0xA184F4)         \
    F(kDrivePoolIds, 5, 5, 0xEDBCBF)       \
    F(kScratchPoolIds, 6, 6, 0x0ACA2F)
VSDK_MESSAGE_FIELDS(GetDataPathResp, OU_GET_DATA_PATH_RESP_FIELDS)

// QGetReplicationSetsReqMsg
#define OU_GET_REPLICATION_SETS_REQ_FIELDS(F) \
    F(kClientId, 3, 3, 0x253646)              \
    F(kClientName, 4, 4, 0xB304F6)            \
    F(kAppId, 5, 8, 0x603B76)
VSDK_MESSAGE_FIELDS(GetReplicationSetsReq, OU_GET_REPLICATION_SETS_REQ_FIELDS)

// QGetReplicationSetsRespMsg and its QReplicationSet entries
#define OU_GET_REPLICATION_SETS_RESP_FIELDS(F) \
    F(kList, 3, 3, 0x31668E)                   \
    F(kId, 1, 1, 0x760E98)                     \
    F(kName, 2, 2, 0x2F10C8)                   \
    F(kSharedValue, 3, 6, 0x1A1CEF)            \
    F(kSetValue, 4, 7, 0x591E25)               \
    F(kSetText, 5, 8, 0xABCAEA)
VSDK_MESSAGE_FIELDS(GetReplicationSetsResp, OU_GET_REPLICATION_SETS_RESP_FIELDS)

// QGetReplicationPairsReqMsg
#define OU_GET_REPLICATION_PAIRS_REQ_FIELDS(F) \
    F(kClientId, 3, 3, 0x253646)               \
    F(kClientName, 4, 4, 0xB304F6)             \
    F(kRepSetId, 5, 8, 0xFB6680)               \
    F(kRepSetName, 6, 9, 0xBE0EB0)             \
    F(kSharedValue, 7, 13, 0x1A1CEF)
VSDK_MESSAGE_FIELDS(GetReplicationPairsReq, OU_GET_REPLICATION_PAIRS_REQ_FIELDS)

// QGetReplicationPairsRespMsg and its QReplicationPair entries
#define OU_GET_REPLICATION_PAIRS_RESP_FIELDS(F) \
    F(kList, 3, 3, 0xCF2A3C)                    \
    F(kId, 1, 1, 0xA71D95)                      \
    F(kName, 2, 2, 0x585485)                    \
    F(kPairText, 3, 6, 0xBEBAE0)                \
    F(kPairText2, 4, 10, 0x90B5E7)              \
    F(kSharedValue, 5, 14, 0x1A1CEF)            \
    F(kPairValue, 6, 15, 0xCDCFF2)
VSDK_MESSAGE_FIELDS(GetReplicationPairsResp, OU_GET_REPLICATION_PAIRS_RESP_FIELDS)

// CreateRepSetReq
#define OU_CREATE_REP_SET_FIELDS(F)     \
    F(kRepSetText, 3, 3, 0x31A437)      \
    F(kClientName, 4, 7, 0xB304F6)      \
    F(kAppTypeId, 5, 11, 0xAD84FB)      \
    F(kCommonText, 6, 12, 0x8576D0)
VSDK_MESSAGE_FIELDS(CreateRepSet, OU_CREATE_REP_SET_FIELDS)

// QCreateRepSetReqNew (field 13 is never set)
#define OU_CREATE_REP_SET_NEW_FIELDS(F) \
    F(kOperationId, 3, 3, 0xBB20E2)     \
    F(kClientId, 4, 4, 0x253646)        \
    F(kClientName, 5, 5, 0xB304F6)      \
    F(kAppTypeId, 6, 9, 0xAD84FB)       \
    F(kAppName, 7, 10, 0xAA704C)        \
    F(kValue2, 8, 14, 0xC9A291)         \
    F(kText1, 9, 15, 0xED8A81)          \
    F(kRepSetText, 10, 19, 0x31A437)    \
    F(kCommonText, 11, 23, 0x8576D0)    \
    F(kSetText, 12, 27, 0xABCAEA)       \
    F(kValue1, 14, 35, 0x0B4632)        \
    F(kFilterPaths, 15, 36, 0x18D056)
VSDK_MESSAGE_FIELDS(CreateRepSetNew, OU_CREATE_REP_SET_NEW_FIELDS)

// QCreateReplicationPairReqMsg
#define OU_CREATE_REPLICATION_PAIR_FIELDS(F) \
    F(kOperationId, 3, 3, 0xBB20E2)          \
    F(kClientId, 4, 4, 0x253646)             \
    F(kClientName, 5, 5, 0xB304F6)           \
    F(kAppTypeId, 6, 9, 0xAD84FB)            \
    F(kAppName, 7, 10, 0xAA704C)             \
    F(kCommonText, 8, 14, 0x8576D0)          \
    F(kValue1, 9, 18, 0xBE56A0)              \
    F(kPairText, 10, 19, 0xBEBAE0)           \
    F(kText1, 11, 23, 0xEF6553)              \
    F(kTimeStamp, 12, 27, 0x8638F6)
VSDK_MESSAGE_FIELDS(CreateReplicationPair, OU_CREATE_REPLICATION_PAIR_FIELDS)
// QSetInstancesReqMsg after its creation path (down to the instance): the
// storage policies, then the chosen database block's credentials and options.
#define OU_SET_INSTANCE_REQ_FIELDS(F)          \
    F(kLogPolicyId, 11, 20, 0x4FAD51)          \
    F(kLogPolicyName, 12, 21, 0x1BE541)        \
    F(kDefaultPolicyId, 13, 25, 0xB1934E)      \
    F(kDefaultPolicyName, 14, 26, 0x9C3FFE)    \
    F(kFurtherId, 15, 30, 0x38843B)            \
    F(kFurtherName, 16, 31, 0x2AA9AB)          \
    F(kUserName, 17, 35, 0x36EBCB)             \
    F(kPassword, 18, 39, 0x89BA9B, kSecret)    \
    F(kSqlOptions, 19, 43, 0xDA42FC)           \
    F(kOracleOptions, 20, 44, 0x0E5A70)        \
    F(kDb2Options, 21, 45, 0x571842)
VSDK_MESSAGE_FIELDS(SetInstanceReq, OU_SET_INSTANCE_REQ_FIELDS)

// QSQLInstanceOptions
#define OU_SQL_INSTANCE_OPTION_FIELDS(F)       \
    F(kVss, 1, 1, 0x01C956)                    \
    F(kSqlTimeOut, 2, 2, 0x192B93)             \
    F(kOverrideCSSettings, 3, 3, 0xB5857F)     \
    F(kWindowsAuthentication, 4, 4, 0xA22FDB)
VSDK_MESSAGE_FIELDS(SqlInstanceOptions, OU_SQL_INSTANCE_OPTION_FIELDS)

// QOracleInstanceOptions (the use-catalog flag has no field)
#define OU_ORACLE_INSTANCE_OPTION_FIELDS(F)              \
    F(kOracleHome, 1, 1, 0xA9777D)                       \
    F(kConnectStringUser, 2, 5, 0x990806)                \
    F(kConnectStringPassword, 3, 9, 0xBD4156, kSecret)   \
    F(kConnectStringService, 4, 13, 0x76FC9A)            \
    F(kCatalogUser, 5, 17, 0xF80B84)                     \
    F(kCatalogPassword, 6, 21, 0xD255D4, kSecret)        \
    F(kCatalogService, 7, 25, 0x15C87C)                  \
    F(kTnsAdmin, 8, 29, 0xF62D96)                        \
    F(kControlFileAutoBackup, 9, 33, 0x659E38)           \
    F(kBlockSize, 10, 34, 0x000A2E)                      \
    F(kLogBackupStreams, 11, 35, 0xFB1FED)               \
    F(kCompression, 12, 36, 0x5A5966)                    \
    F(kNetworkBandwidth, 13, 37, 0x7D1A23)               \
    F(kOnDemand, 14, 38, 0x136854)                       \
    F(kOracleFlags, 15, 39, 0x67BFA9)                    \
    F(kEncryption, 16, 40, 0xD70F83)
VSDK_MESSAGE_FIELDS(OracleInstanceOptions, OU_ORACLE_INSTANCE_OPTION_FIELDS)

// QDb2InstanceOptions
#define OU_DB2_INSTANCE_OPTION_FIELDS(F)       \
    F(kDb2Home, 1, 1, 0x0D1273)                \
    F(kCompression, 2, 5, 0x5A5966)            \
    F(kNetworkAgents, 3, 6, 0x1A89DC)          \
    F(kNetworkBandwidth, 4, 7, 0x7D1A23)       \
    F(kEncryption, 5, 8, 0xD70F83)
VSDK_MESSAGE_FIELDS(Db2InstanceOptions, OU_DB2_INSTANCE_OPTION_FIELDS)

// QGetBackupSetsRespMsg and its QBackupSet entries
#define OU_GET_BACKUP_SETS_RESP_FIELDS(F)      \
    F(kList, 3, 3, 0x530933)                   \
    F(kBackupSetId, 1, 1, 0x0E187B)            \
    F(kName, 2, 2, 0xEC2DEB)                   \
    F(kDefault, 3, 6, 0x851DB7)                \
    F(kOnDemand, 4, 7, 0x136854)               \
    F(kLastAccessTime, 5, 8, 0x64D587)         \
    F(kDescription, 6, 9, 0x3583FC)
VSDK_MESSAGE_FIELDS(GetBackupSetsResp, OU_GET_BACKUP_SETS_RESP_FIELDS)

// QSetBackupSetsReqMsg after its creation path (down to the backup set)
#define OU_SET_BACKUP_SET_REQ_FIELDS(F)             \
    F(kStoragePolicyId, 13, 25, 0x4D4D3E)           \
    F(kStoragePolicyName, 14, 26, 0x313DEE)         \
    F(kOnDemand, 15, 30, 0x5BC10A)                  \
    F(kLastAccessTime, 16, 31, 0x64D587)            \
    F(kCompression, 17, 32, 0x5A5966)               \
    F(kNetworkAgents, 18, 33, 0x1A89DC)             \
    F(kPreBackupProcess, 19, 34, 0x314E45)          \
    F(kPostBackupProcess, 20, 38, 0x6D0282)         \
    F(kPreScanProcess, 21, 42, 0xF8E3C0)            \
    F(kPostScanProcess, 22, 46, 0x1E833D)           \
    F(kPrePostUserName, 23, 50, 0x4B2FD9)           \
    F(kPrePostPassword, 24, 54, 0xB9ED7E, kSecret)
VSDK_MESSAGE_FIELDS(SetBackupSetReq, OU_SET_BACKUP_SET_REQ_FIELDS)

// QSetBackupSetsRespMsg: the new backup set's id
#define OU_SET_BACKUP_SET_RESP_FIELDS(F) F(kNewId, 3, 3, 0x0E187B)
VSDK_MESSAGE_FIELDS(SetBackupSetResp, OU_SET_BACKUP_SET_RESP_FIELDS)

// QModifyBackupSetsReqMsg after its selector path (down to the backup set)
#define OU_MODIFY_BACKUP_SET_REQ_FIELDS(F)     \
    F(kOnDemand, 12, 24, 0x5BC10A)             \
    F(kDefault, 13, 25, 0xF18073)
VSDK_MESSAGE_FIELDS(ModifyBackupSetReq, OU_MODIFY_BACKUP_SET_REQ_FIELDS)
// Users and user groups: the two listings' requests (the user listing sends
// only the constant), their replies and entries, and the user request.
#define OU_ORVANE_USERS_REQ_FIELDS(F)     \
    F(kConstant, 3, 3, 0xABF8CF)          \
    F(kUserId, 4, 4, 0x2B2E46)
VSDK_MESSAGE_FIELDS(OrvaneUsersReq, OU_ORVANE_USERS_REQ_FIELDS)

#define OU_GET_ORVANE_USERS_RESP_FIELDS(F) \
    F(kList, 3, 3, 0xA68E08)               \
    F(kUserId, 1, 1, 0x2B2E46)             \
    F(kName, 2, 2, 0x1AFCF6)               \
    F(kUserText, 3, 6, 0x830194)
VSDK_MESSAGE_FIELDS(GetOrvaneUsersResp, OU_GET_ORVANE_USERS_RESP_FIELDS)

#define OU_GET_ORVANE_USER_GROUPS_RESP_FIELDS(F) \
    F(kList, 3, 3, 0x3DD9D4)                     \
    F(kGroupId, 1, 1, 0x7D5BFA)                  \
    F(kName, 2, 2, 0x988DAA)                     \
    F(kFlags, 3, 6, 0xCFEE87)                    \
    F(kGroupValue, 4, 7, 0x0F8B41)
VSDK_MESSAGE_FIELDS(GetOrvaneUserGroupsResp, OU_GET_ORVANE_USER_GROUPS_RESP_FIELDS)

// QSetOrvaneUserReqMsg; field 9 is never set. The member the record never
// dumps travels as the user's password.
#define OU_SET_ORVANE_USER_FIELDS(F)            \
    F(kOperationId, 3, 3, 0xBB20E2)             \
    F(kConstant, 4, 4, 0xABF8CF)                \
    F(kUserName, 5, 5, 0x1AFCF6)                \
    F(kUserId, 6, 9, 0x2B2E46)                  \
    F(kNewLogin, 7, 10, 0x0A59A9)               \
    F(kUserPassword, 8, 14, 0x72285B, kSecret)  \
    F(kDescription, 10, 22, 0x3583FC)           \
    F(kEmail, 11, 23, 0xC24B9C)                 \
    F(kPager, 12, 27, 0x57EFC3)                 \
    F(kAgingDays, 13, 31, 0x2E22BD)             \
    F(kExpiryDate, 14, 32, 0x31EFA6)            \
    F(kLoginEnabled, 15, 33, 0xC2BB98)          \
    F(kGroups, 16, 34, 0x3DD9D4)
VSDK_MESSAGE_FIELDS(SetOrvaneUser, OU_SET_ORVANE_USER_FIELDS)

// QChangePasswordsReqMsg: the constant, the entity path (its application id
// field differs from the tree selector's) and the credentials.
#define OU_CHANGE_PASSWORDS_FIELDS(F)                \
    F(kConstant, 3, 3, 0xABF8CF)                     \
    F(kClientId, 4, 4, 0x253646)                     \
    F(kClientName, 5, 5, 0xB304F6)                   \
    F(kAppId, 6, 9, 0x603B76)                        \
    F(kAppName, 7, 10, 0xAA704C)                     \
    F(kInstanceId, 8, 14, 0xC3CC90)                  \
    F(kInstanceName, 9, 15, 0x0530C0)                \
    F(kBackupSetId, 10, 19, 0x0E187B)                \
    F(kBackupSetName, 11, 20, 0xEC2DEB)              \
    F(kSubclientId, 12, 24, 0xA4B486)                \
    F(kSubclientName, 13, 25, 0x4BF336)              \
    F(kUserName, 14, 29, 0x1AFCF6)                   \
    F(kPassword, 15, 33, 0x89BA9B, kSecret)          \
    F(kCatalogConnectUser, 16, 37, 0x155A1F)         \
    F(kCatalogConnectPassword, 17, 41, 0x20DEEF, kSecret) \
    F(kCatalogConnectService, 18, 45, 0x98DE0C)      \
    F(kExtraText1, 19, 49, 0x953127)                 \
    F(kExtraText2, 20, 53, 0x4DF1F7)                 \
    F(kExtraText3, 21, 57, 0xF28E04)
VSDK_MESSAGE_FIELDS(ChangePasswords, OU_CHANGE_PASSWORDS_FIELDS)

// QGetSnapsReqMsg, its reply and the QSnapshot entries (entry field 3 is
// never read).
#define OU_GET_SNAPS_FIELDS(F)        \
    F(kJobId, 3, 3, 0x09A9B8)         \
    F(kCopyName, 4, 7, 0xD4DBA0)      \
    F(kOption, 5, 11, 0x10E449)       \
    F(kList, 3, 3, 0x8809E9)          \
    F(kId, 1, 1, 0x9C7DFF)            \
    F(kText2, 2, 2, 0xD20603)         \
    F(kText4, 4, 10, 0x15A678)        \
    F(kText5, 5, 14, 0x38F161)        \
    F(kText6, 6, 18, 0x3C5FDE)        \
    F(kText7, 7, 22, 0x49877A)        \
    F(kUnixTime, 8, 26, 0x9ADDD0)
VSDK_MESSAGE_FIELDS(GetSnaps, OU_GET_SNAPS_FIELDS)

// QBrevantUpdateReqMsg; its reply carries the started job's id in the job-id
// field of every job-start reply.
#define OU_BREVANT_UPDATE_FIELDS(F)       \
    F(kConstant, 3, 3, 0xABF8CF)          \
    F(kClientId, 4, 4, 0x253646)          \
    F(kClientName, 5, 5, 0xB304F6)        \
    F(kExtendedOptions, 6, 9, 0xA60F25)   \
    F(kReboot, 7, 13, 0x45F7A5)
VSDK_MESSAGE_FIELDS(BrevantUpdate, OU_BREVANT_UPDATE_FIELDS)
// Off-site tracking. Every listing and deletion request carries the
// constant 2 at (3,3); the listings' replies hold their entries at (3,3).
#define OU_OFFSITE_FIELDS(F)                \
    F(kConstant, 3, 3, 0xABF8CF)            \
    F(kLocations, 3, 3, 0xA4575E)           \
    F(kContainers, 3, 3, 0xA84412)          \
    F(kMediaShelves, 3, 3, 0xA6C468)        \
    F(kIronMountains, 3, 3, 0xD5A3BE)       \
    F(kSWActions, 3, 3, 0xC048FD)
VSDK_MESSAGE_FIELDS(Offsite, OU_OFFSITE_FIELDS)

// QLocation: a listing entry, and the sub-object of other requests.
#define OU_LOCATION_FIELDS(F)               \
    F(kId, 1, 1, 0xE68FB0)                  \
    F(kName, 2, 2, 0x83ABE0)                \
    F(kType, 3, 6, 0x86C08F)
VSDK_MESSAGE_FIELDS(Location, OU_LOCATION_FIELDS)

#define OU_CONTAINER_FIELDS(F)              \
    F(kId, 1, 1, 0x60397C)                  \
    F(kName, 2, 2, 0x3A12AC)                \
    F(kCapacity, 3, 6, 0xF514BA)            \
    F(kTrackingId, 4, 7, 0xAD5632)
VSDK_MESSAGE_FIELDS(Container, OU_CONTAINER_FIELDS)

#define OU_MEDIA_SHELF_FIELDS(F)            \
    F(kId, 1, 1, 0xA684E5)                  \
    F(kName, 2, 2, 0x1B27D5)
VSDK_MESSAGE_FIELDS(MediaShelf, OU_MEDIA_SHELF_FIELDS)

#define OU_IRON_MOUNTAIN_FIELDS(F)          \
    F(kCustomerId, 1, 1, 0xC10999)          \
    F(kIronMountainId, 2, 2, 0xB0AB70)
VSDK_MESSAGE_FIELDS(IronMountain, OU_IRON_MOUNTAIN_FIELDS)

// QSWAction; fields 6 to 8 (slots 9 to 11) are not read.
#define OU_SW_ACTION_FIELDS(F)              \
    F(kActionId, 1, 1, 0x48D1F1)            \
    F(kField2, 2, 2, 0x617690)              \
    F(kJobId, 3, 3, 0x09A9B8)               \
    F(kPolicyId, 4, 4, 0xB53E2D)            \
    F(kPolicyName, 5, 5, 0x60AF1D)          \
    F(kContainerId, 9, 12, 0x60397C)        \
    F(kContainerName, 10, 13, 0x3A12AC)     \
    F(kStartTime, 11, 17, 0x158A4F)         \
    F(kField12, 12, 18, 0x6E4E7D)           \
    F(kField13, 13, 19, 0x7564B5)
VSDK_MESSAGE_FIELDS(SWAction, OU_SW_ACTION_FIELDS)

// Creation and change requests; each reply's kId is the id handed back.
#define OU_SET_LOCATION_FIELDS(F)           \
    F(kLocationId, 3, 3, 0xE68FB0)          \
    F(kLocationName, 4, 4, 0x83ABE0)        \
    F(kLocationType, 5, 8, 0x86C08F)        \
    F(kDescription, 6, 9, 0x3583FC)         \
    F(kOperationId, 7, 13, 0xBB20E2)        \
    F(kId, 3, 3, 0xE68FB0)
VSDK_MESSAGE_FIELDS(SetLocation, OU_SET_LOCATION_FIELDS)

#define OU_SET_CONTAINER_FIELDS(F)          \
    F(kContainerId, 4, 4, 0x60397C)         \
    F(kContainerName, 5, 5, 0x3A12AC)       \
    F(kCapacity, 6, 9, 0xF514BA)            \
    F(kTrackingId, 7, 10, 0xAD5632)         \
    F(kDescription, 8, 14, 0x3583FC)        \
    F(kOperationId, 9, 18, 0xBB20E2)        \
    F(kId, 3, 3, 0x60397C)
VSDK_MESSAGE_FIELDS(SetContainer, OU_SET_CONTAINER_FIELDS)

#define OU_SET_MEDIA_SHELF_FIELDS(F)        \
    F(kOperationId, 4, 4, 0xBB20E2)         \
    F(kShelfId, 5, 5, 0xA684E5)             \
    F(kShelfName, 6, 6, 0x1B27D5)           \
    F(kSpareGroupId, 7, 10, 0xB57123)       \
    F(kLocation, 8, 11, 0xAE2389)           \
    F(kBarcodes, 9, 12, 0x19CD3E)           \
    F(kBarcodePattern, 10, 13, 0x950AF0)    \
    F(kNumberOfMedia, 11, 17, 0x6717FE)     \
    F(kId, 3, 3, 0xA684E5)
VSDK_MESSAGE_FIELDS(SetMediaShelf, OU_SET_MEDIA_SHELF_FIELDS)

#define OU_SET_IRON_MOUNTAIN_FIELDS(F)      \
    F(kOperationId, 4, 4, 0xBB20E2)         \
    F(kCustomerId, 5, 5, 0xC10999)          \
    F(kIronMountainId, 6, 6, 0xB0AB70)      \
    F(kId, 3, 3, 0xC10999)
VSDK_MESSAGE_FIELDS(SetIronMountain, OU_SET_IRON_MOUNTAIN_FIELDS)

#define OU_SET_SW_ACTION_FIELDS(F)          \
    F(kOperationId, 4, 4, 0xBB20E2)         \
    F(kActionId, 5, 5, 0x48D1F1)            \
    F(kContainerId, 6, 6, 0x60397C)         \
    F(kValues, 7, 7, 0x9F8E82)
VSDK_MESSAGE_FIELDS(SetSWAction, OU_SET_SW_ACTION_FIELDS)

// Deletion requests: the constant, then the entity's id and name.
#define OU_DELETE_LOCATION_FIELDS(F) F(kId, 4, 4, 0xE68FB0) F(kName, 5, 5, 0x83ABE0)
#define OU_DELETE_CONTAINER_FIELDS(F) F(kId, 4, 4, 0x60397C) F(kName, 5, 5, 0x3A12AC)
#define OU_DELETE_MEDIA_SHELF_FIELDS(F) F(kId, 4, 4, 0xA684E5) F(kName, 5, 5, 0x1B27D5)
#define OU_DELETE_IRON_MOUNTAIN_FIELDS(F) F(kId, 4, 4, 0xC10999) F(kName, 5, 5, 0xB0AB70)
#define OU_DELETE_SW_POLICY_FIELDS(F) F(kId, 4, 4, 0xB53E2D) F(kName, 5, 5, 0x60AF1D)
VSDK_MESSAGE_FIELDS(DeleteLocation, OU_DELETE_LOCATION_FIELDS)
VSDK_MESSAGE_FIELDS(DeleteContainer, OU_DELETE_CONTAINER_FIELDS)
VSDK_MESSAGE_FIELDS(DeleteMediaShelf, OU_DELETE_MEDIA_SHELF_FIELDS)
VSDK_MESSAGE_FIELDS(DeleteIronMountain, OU_DELETE_IRON_MOUNTAIN_FIELDS)
VSDK_MESSAGE_FIELDS(DeleteShelfwatchPolicy, OU_DELETE_SW_POLICY_FIELDS)

// Shelfwatch policies: the listing's entries, their rule, and the set
// request with its copy and location elements.
#define OU_SHELFWATCH_POLICY_FIELDS(F)      \
    F(kList, 3, 3, 0x98F150)                \
    F(kPolicyId, 1, 1, 0xB53E2D)            \
    F(kPolicyName, 2, 2, 0x60AF1D)          \
    F(kPolicyType, 3, 6, 0x2FFF6C)          \
    F(kRule, 4, 7, 0xE58ADA)
VSDK_MESSAGE_FIELDS(ShelfwatchPolicy, OU_SHELFWATCH_POLICY_FIELDS)

// QSWRule: fifteen numbers, then a text (kField16).
#define OU_SW_RULE_FIELDS(F)  \
    F(kField1, 1, 1, 0x90BD57)  \
    F(kField2, 2, 2, 0x27A4E9)  \
    F(kField3, 3, 3, 0x4958D6)  \
    F(kField4, 4, 4, 0x1FB475)  \
    F(kField5, 5, 5, 0x97B8EB)  \
    F(kField6, 6, 6, 0x040E34)  \
    F(kField7, 7, 7, 0xD3C1B9)  \
    F(kField8, 8, 8, 0x0E87F5)  \
    F(kField9, 9, 9, 0x2CE57F)  \
    F(kField10, 10, 10, 0xABCAC3)  \
    F(kField11, 11, 11, 0x578220)  \
    F(kField12, 12, 12, 0x12D1E4)  \
    F(kField13, 13, 13, 0xC22392)  \
    F(kField14, 14, 14, 0xA2BB9C)  \
    F(kField15, 15, 15, 0x561D7B)  \
    F(kField16, 16, 16, 0x590BC7)
VSDK_MESSAGE_FIELDS(SWRule, OU_SW_RULE_FIELDS)

#define OU_SW_SP_COPY_FIELDS(F)             \
    F(kStoragePolicyId, 1, 1, 0x35F458)     \
    F(kStoragePolicyName, 2, 2, 0x8C8688)   \
    F(kCopyId, 3, 6, 0x40AF70)              \
    F(kCopyName, 4, 7, 0xD4DBA0)
VSDK_MESSAGE_FIELDS(SWSPCopy, OU_SW_SP_COPY_FIELDS)

// QSWLocation: the type is a 64-bit number here.
#define OU_SW_LOCATION_FIELDS(F)            \
    F(kId, 1, 1, 0x25DC7B)                  \
    F(kType, 2, 2, 0x26069A)                \
    F(kName, 3, 3, 0x22F1EB)
VSDK_MESSAGE_FIELDS(SWLocation, OU_SW_LOCATION_FIELDS)

// Fields 3, 13, 14 and 15 of the request are never set.
#define OU_SET_SHELFWATCH_POLICY_FIELDS(F)  \
    F(kPolicyId, 4, 4, 0xB53E2D)            \
    F(kPolicyType, 5, 5, 0x2FFF6C)          \
    F(kPolicyName, 6, 6, 0x60AF1D)          \
    F(kDescription, 7, 10, 0x3583FC)        \
    F(kCopies, 8, 14, 0xE29D93)             \
    F(kLocations, 9, 15, 0x0A20F0)          \
    F(kDestination, 10, 16, 0xC94077)       \
    F(kTransit, 11, 17, 0x3276A8)           \
    F(kRule, 12, 18, 0xE58ADA)              \
    F(kField16, 16, 22, 0x5529BC)           \
    F(kField17, 17, 23, 0x0A06F0)           \
    F(kContainerId, 18, 24, 0x60397C)       \
    F(kField19, 19, 25, 0xC0B45B)           \
    F(kField20, 20, 26, 0x3A53CF)           \
    F(kOperationId, 21, 30, 0xBB20E2)       \
    F(kId, 3, 3, 0xB53E2D)
VSDK_MESSAGE_FIELDS(SetShelfwatchPolicy, OU_SET_SHELFWATCH_POLICY_FIELDS)

void RegisterSubsystem();

}  // namespace OrvaneUtilities
