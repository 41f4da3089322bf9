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

void RegisterSubsystem();

}  // namespace OrvaneUtilities
