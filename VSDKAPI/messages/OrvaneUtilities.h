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

void RegisterSubsystem();

}  // namespace OrvaneUtilities
