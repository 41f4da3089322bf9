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

void RegisterSubsystem();

}  // namespace OrvaneUtilities
