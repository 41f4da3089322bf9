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
    X(QGetAppTypesReqMsg, 140, 0x06000016, 0x06000017)     \
    X(QGetAppTypesRespMsg, 0x10017, 0x06000017, 0)         \
    X(QAppType, 0x10015, 0x06000015, 0)                    \
    X(QGetInstancesReqMsg, 49, 0x0600002A, 0x0600002B)     \
    X(QGetInstancesRespMsg, 0x1002B, 0x0600002B, 0)        \
    X(QInstance, 0x10029, 0x06000029, 0)                   \
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

void RegisterSubsystem();

}  // namespace OrvaneUtilities
