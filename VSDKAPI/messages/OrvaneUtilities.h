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

void RegisterSubsystem();

}  // namespace OrvaneUtilities
