// Module 5: job operations (backup, restore, auxiliary copy, data aging, the
// generic request and others).
#pragma once

#include "CommonFields.h"

namespace OrvaneOperations {

constexpr int kModuleId = 5;

// X(Name, class number, tag code, expected reply tag code)
#define VSDK_ORVANE_OPERATIONS_MESSAGES(X)                  \
    X(QRequestHeaderMsg, 40, 0x05000001, 0)                \
    X(QReplyErrorMsg, 79, 0x05000002, 0)                   \
    X(QSessionInfoMsg, 37, 0x05000003, 0)                  \
    X(QTime, 47, 0x05000004, 0)                            \
    X(QRestoreReqMsg, 12, 0x0500001C, 0x0500001E)          \
    X(QRestoreRespMsg, 1030, 0x0500001E, 0)                \
    X(QValidateRestoreReqMsg, 32, 0x0500001F, 0x05000020)  \
    X(QValidateRestoreRespMsg, 1032, 0x05000020, 0)        \
    X(QBrowseResultMsg, 77, 0x05000025, 0)                 \
    X(QRestoreItemMsg, 1036, 0x05000024, 0)                \
    X(QSearchRestoreReqMsg, 13, 0x05000023, 0x0500001E)    \
    X(QRestoreSearchItem, 48, 0x05000022, 0)               \
    X(QExecuteReqMsg, 17, 0x0500013F, 0x05000140)          \
    X(QExecuteRespMsg, 18, 0x05000140, 0)                  \
    X(QBackupInfoMsg, 16, 0x0500000B, 0x0500000C)          \
    X(QBackupRespMsg, 1012, 0x0500000C, 0)                 \
    X(QValidateBackupInfoMsg, 34, 0x0500000D, 0x0500000E)  \
    X(QValidateBackupRespMsg, 1014, 0x0500000E, 0)         \
    X(QOracleInstanceScript, 21, 0x0500000A, 0)            \
    X(QBackupDataPathMsg, 52, 0x0500012D, 0)               \
    X(QArchiveLogParamMsg, 23, 0x0500012E, 0)              \
    X(QCallerIdentityMsg, 53, 0x055543EF, 0)               \
    X(QAuxCopyReqMsg, 30, 0x05000029, 0x0500002A)          \
    X(QAuxCopyRespMsg, 1042, 0x0500002A, 0)                \
    X(QAgeDataReqMsg, 58, 0x05000033, 0x05000034)          \
    X(QAgeDataRespMsg, 1052, 0x05000034, 0)                \
    X(QERBackupReqMsg, 15, 0x05000047, 0x05000048)         \
    X(QERBackupRespMsg, 1072, 0x05000048, 0)               \
    X(QDBRestoreReqMsg, 54, 0x0500001D, 0x0500001E)        \
    X(QSQLDb, 35, 0x05000015, 0)                           \
    X(QSQLPhysicalFile, 24, 0x05000016, 0)                 \
    X(QSQLFile, 49, 0x05000017, 0)                         \
    X(QSQLRestoreOptions, 70, 0x05000018, 0)               \
    X(QInformixRestoreOptions, 39, 0x05000019, 0)          \
    X(QDB2RestoreOptions, 7, 0x0500001A, 0)                \
    X(QOracleRestoreOptions, 20, 0x0500001B, 0)            \
    X(QFenmarkCaptureReqMsg, 50, 0x05000051, 0x05000052)  \
    X(QFenmarkCaptureRespMsg, 0x10052, 0x05000052, 0)      \
    X(QFenmarkMergeReqMsg, 78, 0x0500005B, 0x0500005C)    \
    X(QFenmarkMergeRespMsg, 0x1005C, 0x0500005C, 0)        \
    X(QSnapReqMsg, 9, 0x05000137, 0x05000138)             \
    X(QSnapRespMsg, 0x10138, 0x05000138, 0)                \
    X(QShelfwatchReqMsg, 1, 0x0500003D, 0x0500003E)        \
    X(QShelfwatchRespMsg, 0x1003E, 0x0500003E, 0)          \
    /* end of list */

VSDK_ORVANE_OPERATIONS_MESSAGES(VSDK_DECLARE_MESSAGE)

// QShelfwatchReqMsg: a tracking run of one Shelfwatch policy.
#define OO_SHELFWATCH_FIELDS(F)             \
    F(kConstant, 3, 3, 0xABF8CF)            \
    F(kPolicyId, 4, 4, 0xB53E2D)            \
    F(kPolicyName, 5, 5, 0x60AF1D)          \
    F(kOperationId, 6, 9, 0xBB20E2)
VSDK_MESSAGE_FIELDS(Shelfwatch, OO_SHELFWATCH_FIELDS)

void RegisterSubsystem();

// QExecuteReqMsg / QExecuteRespMsg
#define OO_EXECUTE_FIELDS(F)                                                        \
    F(kExecuteXml, 3, 3, 0x180DF3)                                                  \
    F(kExecuteRespXml, 3, 3, 0x111901)                                              \
    F(kErrorExtra, 6, 6, 0xD6EAF3)  /* 64-bit value in the reply's error object */  \
    F(kExecuteCallerIdentity, 9, 18, 0x9B5880)
inline VSDK_MESSAGE_FIELDS(Execute, OO_EXECUTE_FIELDS)

// QCallerIdentityMsg: the local operating-system user who asked (carried by
// the backup, restore and generic requests).
#define OO_CALLER_IDENTITY_FIELDS(F)    \
    F(kCallerUid, 1, 1, 0x01C070)       \
    F(kCallerUserName, 2, 2, 0x95ACA0)
inline VSDK_MESSAGE_FIELDS(CallerIdentity, OO_CALLER_IDENTITY_FIELDS)

// QBackupInfoMsg
#define OO_BACKUP_INFO_FIELDS(F)                      \
    F(kBackupOptions, 3, 3, 0x86869E)                 \
    F(kBackupKind, 4, 4, 0xABF829)  /* always 2 */    \
    F(kBackupClientId, 5, 5, 0x253646)                \
    F(kBackupClientName, 6, 6, 0xB304F6)              \
    F(kBackupAppTypeId, 7, 10, 0xB7FA8B)              \
    F(kBackupAppName, 8, 11, 0xA5CBFB)                \
    F(kBackupInstanceId, 9, 15, 0xC3CC90)             \
    F(kBackupInstanceName, 10, 16, 0x0530C0)          \
    F(kBackupSetId, 11, 20, 0x0E187B)                 \
    F(kBackupSetName, 12, 21, 0xEC2DEB)               \
    F(kBackupSubclientId, 13, 25, 0xA4B486)           \
    F(kBackupSubclientName, 14, 26, 0x4BF336)         \
    F(kBackupTaskPriority, 15, 30, 0x21BE49)          \
    F(kBackupExportLocation, 16, 31, 0xAE2389)        \
    F(kBackupTransitLocation, 17, 32, 0x3276A8)       \
    F(kBackupUseVMS, 18, 33, 0x2AC595)                \
    F(kBackupMediaStatus, 19, 34, 0xDFB0F6)           \
    F(kBackupIncrementLevel, 20, 35, 0x974E46)        \
    F(kBackupCumulative, 21, 36, 0x9F48F3)            \
    F(kBackupQrExecHostId, 22, 37, 0x2FDDD5)          \
    F(kBackupQrOptions, 23, 38, 0x3A193D)             \
    F(kBackupDescription, 24, 39, 0x12E8DA)           \
    F(kBackupTransportableSnap, 25, 43, 0x487A6D)     \
    F(kBackupSourceToDestination, 26, 47, 0xA07AC1)   \
    F(kBackupExtendedOptions, 27, 51, 0xA60F25)       \
    F(kBackupEntityNames, 28, 55, 0x6CF925)           \
    F(kBackupOnDemandInputFile, 29, 59, 0x55B67C)     \
    F(kBackupVssImportMap, 30, 63, 0xA052C1)          \
    F(kBackupVssImportExecHost, 31, 67, 0x35603F)     \
    F(kBackupAlertId, 32, 71, 0x4CAB97)               \
    F(kBackupRetryHours, 33, 72, 0xE81D47)            \
    F(kBackupRetryNumber, 34, 73, 0x782289)           \
    F(kBackupDataScript, 35, 74, 0x2DC515)            \
    F(kBackupLogScript, 36, 78, 0x6DDD2F)             \
    F(kBackupDataStreamCount, 37, 82, 0x485D68)       \
    F(kBackupLogStreamCount, 38, 83, 0x9E8DB0)        \
    F(kBackupConnectString, 39, 84, 0x26ED9B)         \
    F(kBackupInstanceScripts, 40, 88, 0x36EAB3)       \
    F(kBackupStoragePolicyName, 41, 89, 0x67CB8D)     \
    F(kBackupStoragePolicyId, 42, 93, 0x35F458)       \
    F(kBackupQrJobId, 43, 94, 0x6F5817)               \
    F(kBackupNasOptions, 45, 96, 0x62F15E)            \
    F(kBackupDataPath, 46, 97, 0xF09955)              \
    F(kBackupFurtherText, 47, 98, 0xBC2D80)           \
    F(kBackupArchiveLogs, 48, 102, 0x94F52A)          \
    F(kBackupDeleteArchiveLogs, 49, 103, 0xD81313)    \
    F(kBackupRmanDiskRatio, 50, 104, 0x7011A6)        \
    F(kBackupCorruptionThreshold, 51, 105, 0x562FD0)  \
    F(kBackupJobDescription, 52, 106, 0x45C7FF)       \
    F(kBackupXmlResult, 53, 107, 0xAA99FD)            \
    F(kBackupCallerIdentity, 54, 108, 0x9B5880)
inline VSDK_MESSAGE_FIELDS(BackupInfo, OO_BACKUP_INFO_FIELDS)

// QOracleInstanceScript
#define OO_ORACLE_INSTANCE_SCRIPT_FIELDS(F) \
    F(kScriptInstanceName, 1, 1, 0x0530C0)  \
    F(kScriptName, 2, 5, 0x61D693)
inline VSDK_MESSAGE_FIELDS(OracleInstanceScript, OO_ORACLE_INSTANCE_SCRIPT_FIELDS)

// QBackupDataPathMsg
#define OO_BACKUP_DATA_PATH_FIELDS(F)         \
    F(kDataPathMediaAgents, 1, 1, 0x45653A)   \
    F(kDataPathLibraries, 2, 2, 0xA184F4)     \
    F(kDataPathDrivePools, 3, 3, 0xEDBCBF)    \
    F(kDataPathScratchPools, 4, 4, 0x0ACA2F)
inline VSDK_MESSAGE_FIELDS(BackupDataPath, OO_BACKUP_DATA_PATH_FIELDS)

// QArchiveLogParamMsg
#define OO_ARCHIVE_LOG_PARAM_FIELDS(F)           \
    F(kArchLogType, 1, 1, 0x580284)              \
    F(kArchLogOlderThan, 2, 2, 0x61E4D5)         \
    F(kArchLogNotOlderThan, 3, 3, 0x99D742)      \
    F(kArchLogStartTime, 4, 4, 0x158A4F)         \
    F(kArchLogEndTime, 5, 5, 0x336A48)           \
    F(kArchLogInstanceLog, 6, 6, 0xB5D26F)       \
    F(kArchLogStartLSN, 7, 7, 0x7C7005)          \
    F(kArchLogEndLSN, 8, 8, 0x962CEC)            \
    F(kArchLogStartSCN, 9, 9, 0x7C885C)          \
    F(kArchLogEndSCN, 10, 10, 0x964543)          \
    F(kArchLogDeleteFiles, 11, 11, 0xC46B65)     \
    F(kArchLogSelected, 12, 12, 0xC9358B)        \
    F(kArchLogLikeExpression, 13, 13, 0x60A706)  \
    F(kArchLogDestinations, 14, 17, 0xC8A420)
inline VSDK_MESSAGE_FIELDS(ArchiveLogParam, OO_ARCHIVE_LOG_PARAM_FIELDS)

// QValidateBackupInfoMsg: the backup request it asks about.
#define OO_VALIDATE_BACKUP_INFO_FIELDS(F)      \
    F(kValidateBackupRequest, 3, 3, 0xC8CA5F)
inline VSDK_MESSAGE_FIELDS(ValidateBackupInfo, OO_VALIDATE_BACKUP_INFO_FIELDS)

// QBackupRespMsg, QAuxCopyRespMsg, QAgeDataRespMsg, QERBackupRespMsg: job id;
// the backup reply's XML text.
#define OO_JOB_START_REPLY_FIELDS(F)   \
    F(kReplyJobId, 3, 3, 0x09A9B8)     \
    F(kBackupRespXml, 4, 4, 0x038D25)
inline VSDK_MESSAGE_FIELDS(JobStartReply, OO_JOB_START_REPLY_FIELDS)

// QAuxCopyReqMsg
#define OO_AUX_COPY_REQ_FIELDS(F)              \
    F(kAuxStoragePolicyId, 3, 3, 0x0336C4)     \
    F(kAuxStoragePolicyName, 4, 4, 0x12DDF4)   \
    F(kAuxCopyId, 5, 8, 0x40AF70)              \
    F(kAuxCopyName, 6, 9, 0xD4DBA0)            \
    F(kAuxStartNewMedia, 7, 13, 0xA780A6)      \
    F(kAuxMarkMediaFull, 8, 14, 0xA3E446)      \
    F(kAuxPriority, 9, 15, 0x8879A4)           \
    F(kAuxStreamCount, 10, 16, 0x74C16F)       \
    F(kAuxExportLocation, 11, 17, 0xC220F2)    \
    F(kAuxTransLocation, 12, 18, 0x98CE7D)     \
    F(kAuxUseVMS, 13, 19, 0x2AC595)            \
    F(kAuxMediaStatus, 14, 20, 0xDFB0F6)       \
    F(kAuxAlertId, 15, 21, 0x4CAB97)           \
    F(kAuxStartSuspended, 16, 22, 0xD6B799)    \
    F(kAuxRetryHours, 17, 23, 0xE81D47)        \
    F(kAuxRetryNumber, 18, 24, 0x782289)       \
    F(kAuxSelectRecentFull, 19, 25, 0x16A784)  \
    F(kAuxExtendedOptions, 20, 26, 0xA60F25)   \
    F(kAuxJobDescription, 21, 30, 0x45C7FF)
inline VSDK_MESSAGE_FIELDS(AuxCopyReq, OO_AUX_COPY_REQ_FIELDS)

// QAgeDataReqMsg
#define OO_AGE_DATA_REQ_FIELDS(F)          \
    F(kAgeRetryHours, 3, 3, 0xE81D47)      \
    F(kAgeRetryNumber, 4, 4, 0x782289)     \
    F(kAgeAlertId, 5, 5, 0x4CAB97)         \
    F(kAgeJobDescription, 6, 6, 0x45C7FF)
inline VSDK_MESSAGE_FIELDS(AgeDataReq, OO_AGE_DATA_REQ_FIELDS)

// QERBackupReqMsg
#define OO_E_R_BACKUP_REQ_FIELDS(F)        \
    F(kErFullBackup, 3, 3, 0x3A19FB)       \
    F(kErExtendedOptions, 4, 4, 0xA60F25)  \
    F(kErRetryHours, 5, 8, 0xE81D47)       \
    F(kErRetryNumber, 6, 9, 0x782289)      \
    F(kErAlertId, 7, 10, 0x4CAB97)         \
    F(kErJobDescription, 8, 11, 0x45C7FF)
inline VSDK_MESSAGE_FIELDS(ERBackupReq, OO_E_R_BACKUP_REQ_FIELDS)

// QRestoreReqMsg (also the inner request of QValidateRestoreReqMsg and
// QSearchRestoreReqMsg)
#define OO_RESTORE_REQ_FIELDS(F)                               \
    F(kRestoreEntityNames, 3, 3, 0x6CF925)                     \
    F(kRestoreDestClientId, 4, 7, 0x558B2B)                    \
    F(kRestoreDestClientName, 5, 8, 0x21B49B)                  \
    F(kRestoreDestPath, 6, 12, 0xB4F38A)                       \
    F(kRestoreDestUserName, 7, 16, 0x4B51DB)                   \
    F(kRestoreDestUserPassword, 8, 20, 0x4569EB, kSecret)      \
    F(kRestoreDestInstanceId, 9, 24, 0x5844D2)                 \
    F(kRestoreSourceClientId, 10, 25, 0xE7344A)                \
    F(kRestoreSourceClientName, 11, 26, 0xED91FA)              \
    F(kRestoreSourcePaths, 12, 30, 0x32816A)                   \
    F(kRestoreFilterPaths, 13, 31, 0x18D056)                   \
    F(kRestoreOptions, 14, 32, 0x86869E)                       \
    F(kRestoreRequestCode, 15, 33, 0xABF8CF)                   \
    F(kRestoreAppId, 16, 34, 0x603B76)                         \
    F(kRestoreAppName, 17, 35, 0xAA704C)                       \
    F(kRestoreInstanceId, 18, 39, 0xC3CC90)                    \
    F(kRestoreInstanceName, 19, 40, 0x0530C0)                  \
    F(kRestoreBackupSetId, 20, 44, 0x0E187B)                   \
    F(kRestoreBackupSetName, 21, 45, 0xEC2DEB)                 \
    F(kRestoreLevelOfSOP, 22, 49, 0x6FD719)                    \
    F(kRestoreSourceType, 23, 50, 0xC0E5F5)                    \
    F(kRestoreCurrentUserId, 24, 51, 0x0C191F)                 \
    F(kRestoreCopyPrecedence, 25, 52, 0x410DEE)                \
    F(kRestoreStreamCount, 26, 53, 0x74C16F)                   \
    F(kRestoreFromTime, 27, 54, 0xCFF997)                      \
    F(kRestoreToTime, 28, 55, 0x361FE8)                        \
    F(kRestoreBrowseFrom, 29, 56, 0x2CDD54)                    \
    F(kRestoreBrowseTo, 30, 57, 0xE636A5)                      \
    F(kRestoreJobStatus, 31, 58, 0x4DD60F)                     \
    F(kRestoreBackupLevel, 32, 59, 0xAB7EE2)                   \
    F(kRestoreUseAgedData, 33, 60, 0x4C9336)                   \
    F(kRestoreDeviceFilesAsReg, 34, 61, 0x733DC1)              \
    F(kRestoreMediaAgentId, 35, 62, 0xECDE7C)                  \
    F(kRestoreDrivePoolId, 36, 63, 0x2AD461)                   \
    F(kRestoreSuffix, 37, 64, 0xDDF751)                        \
    F(kRestoreOnDemandInputFile, 38, 68, 0x55B67C)             \
    F(kRestoreMapFile, 39, 72, 0xD900F8)                       \
    F(kRestoreNoMappingData, 40, 76, 0x548D17)                 \
    F(kRestoreExtendedOptions, 41, 77, 0xA60F25)               \
    F(kRestoreDestAppId, 42, 81, 0xB9659A)                     \
    F(kRestorePriority, 43, 82, 0x8879A4)                      \
    F(kRestoreAlertId, 44, 83, 0x4CAB97)                       \
    F(kRestorePreCmd, 45, 84, 0x942F97)                        \
    F(kRestorePostCmd, 46, 88, 0xAE2C7A)                       \
    F(kRestorePrePostUserName, 47, 92, 0x4B2FD9)               \
    F(kRestorePrePostUserPassword, 48, 96, 0xB9ED7E, kSecret)  \
    F(kRestoreStartSuspended, 49, 100, 0xD6B799)               \
    F(kRestoreRetryHours, 50, 101, 0xE81D47)                   \
    F(kRestoreRetryNo, 51, 102, 0x782289)                      \
    F(kRestoreSqlOptions, 52, 103, 0xF0DCF0)                   \
    F(kRestoreNasOptions, 53, 104, 0x62F15E)                   \
    F(kRestoreJobDescription, 54, 105, 0x45C7FF)               \
    F(kRestoreExtraTexts, 55, 106, 0x780CD7)                   \
    F(kRestoreXmlResult, 56, 107, 0xAA99FD)                    \
    F(kRestoreCallerIdentity, 57, 108, 0x9B5880)
inline VSDK_MESSAGE_FIELDS(RestoreReq, OO_RESTORE_REQ_FIELDS)

// QRestoreRespMsg (reply of the restore, browse, database restore and
// search-result restore)
#define OO_RESTORE_RESP_FIELDS(F)          \
    F(kRestoreRespJobId, 3, 3, 0x09A9B8)   \
    F(kRestoreRespBrowse, 4, 4, 0x2BDE51)  \
    F(kRestoreRespXml, 5, 5, 0x038D25)
inline VSDK_MESSAGE_FIELDS(RestoreResp, OO_RESTORE_RESP_FIELDS)

// QValidateRestoreReqMsg
#define OO_VALIDATE_RESTORE_REQ_FIELDS(F)       \
    F(kValidateRestoreRequest, 3, 3, 0x0DAA13)
inline VSDK_MESSAGE_FIELDS(ValidateRestoreReq, OO_VALIDATE_RESTORE_REQ_FIELDS)

// QBrowseResultMsg and its QRestoreItemMsg elements
#define OO_BROWSE_RESULT_FIELDS(F)       \
    F(kBrowseItems, 1, 1, 0xFDE7C0)      \
    F(kItemFlags, 1, 1, 0x28DAD6)        \
    F(kItemTime, 2, 2, 0xA710C2)         \
    F(kItemSize, 3, 3, 0x282B9D)         \
    F(kItemPath, 7, 7, 0x346425)         \
    F(kItemSecondText, 8, 11, 0x2BD66D)
inline VSDK_MESSAGE_FIELDS(BrowseResult, OO_BROWSE_RESULT_FIELDS)

// QSearchRestoreReqMsg and its QRestoreSearchItem elements
#define OO_SEARCH_RESTORE_REQ_FIELDS(F)       \
    F(kSearchRestoreRequest, 3, 3, 0x908684)  \
    F(kSearchRestoreItems, 4, 4, 0x74A6FF)    \
    F(kSearchItemValue1, 1, 1, 0xDC8F57)      \
    F(kSearchItemValue2, 2, 2, 0x274319)      \
    F(kSearchItemValue3, 3, 3, 0xB76B91)      \
    F(kSearchItemText1, 4, 4, 0x25C627)       \
    F(kSearchItemAppType, 5, 8, 0xAD84FB)     \
    F(kSearchItemAppId, 6, 9, 0x8B7F1C)       \
    F(kSearchItemText2, 7, 10, 0x8C30E8)
inline VSDK_MESSAGE_FIELDS(SearchRestoreReq, OO_SEARCH_RESTORE_REQ_FIELDS)

// QDBRestoreReqMsg (database restore) and its option objects.
#define OO_DBRESTORE_FIELDS(F)                     \
    F(kSourceClientId, 12, 24, 0xE7344A)           \
    F(kSourceClientName, 13, 25, 0xED91FA)         \
    F(kDestinationClientName, 15, 30, 0x21B49B)    \
    F(kDestinationClientId, 14, 29, 0x558B2B)      \
    F(kKind, 11, 23, 0xABF8CF)  /* always 2 */     \
    F(kAppTypeId, 16, 34, 0x603B76)                \
    F(kAppmoduleName, 17, 35, 0xAA704C)            \
    F(kInstanceId, 18, 39, 0xC3CC90)               \
    F(kInstanceName, 19, 40, 0x0530C0)             \
    F(kBackupSetId, 20, 44, 0x0E187B)              \
    F(kBackupSetName, 21, 45, 0xEC2DEB)            \
    F(kSubclientId, 22, 49, 0xA4B486)              \
    F(kSubclientName, 23, 50, 0x4BF336)            \
    F(kMediaAgentId, 7, 19, 0xECDE7C)              \
    F(kDrivePoolId, 8, 20, 0x2AD461)               \
    F(kPriority, 10, 22, 0x8879A4)                 \
    F(kStartSuspended, 9, 21, 0xD6B799)            \
    F(kPreCmd, 3, 3, 0x942F97)                     \
    F(kPostCmd, 4, 7, 0xAE2C7A)                    \
    F(kPrePostUserName, 5, 11, 0x4B2FD9)           \
    F(kPrePostPassword, 6, 15, 0xB9ED7E, kSecret)  \
    F(kAlertId, 24, 54, 0x4CAB97)                  \
    F(kRetryNo, 26, 56, 0x782289)                  \
    F(kRetryHours, 25, 55, 0xE81D47)               \
    F(kJobDescription, 31, 61, 0x45C7FF)           \
    F(kSqlOptions, 27, 57, 0xF0DCF0)               \
    F(kInformixOptions, 28, 58, 0x00F526)          \
    F(kDb2Options, 29, 59, 0x9C908A)               \
    F(kOracleOptions, 30, 60, 0x6E9740)            \
    F(kXmlResult, 32, 62, 0xAA99FD)
VSDK_MESSAGE_FIELDS(dbrestore, OO_DBRESTORE_FIELDS)

// QOracleRestoreOptions
#define OO_ORACLEOPT_FIELDS(F)                             \
    F(kControlFilePath, 1, 1, 0x5FCC3E)                    \
    F(kFileTime, 2, 5, 0x289E69)                           \
    F(kStartLSN, 3, 6, 0x2F90A6)                           \
    F(kEndLSN, 4, 10, 0xCDAFCD)                            \
    F(kRestoreFrom, 5, 14, 0xA46758)                       \
    F(kRestoreTime, 6, 15, 0xAAA27B)                       \
    F(kRestoreTag, 7, 16, 0x0DC22C)                        \
    F(kRecoverFrom, 8, 20, 0xCB672E)                       \
    F(kRecoverTime, 9, 21, 0xD1A251)                       \
    F(kRecoverText, 11, 23, 0x17AFB7)                      \
    F(kEndLogTime, 12, 27, 0xED9AD6)                       \
    F(kControlFileTime, 13, 28, 0x61BAE6)                  \
    F(kArchiveLog, 14, 29, 0xC47B22)                       \
    F(kLogTarget, 15, 30, 0x067DF5)                        \
    F(kStreams, 16, 31, 0x175FF2)                          \
    F(kArchiveGroupCopyPrecedence, 17, 32, 0x410DEE)       \
    F(kSourcePaths, 18, 33, 0x32816A)                      \
    F(kRedirectPaths, 19, 34, 0xC4C272)                    \
    F(kRenameAll, 20, 35, 0xF29983)                        \
    F(kResetLogs, 21, 39, 0x9D179E)                        \
    F(kDuplicateToName, 22, 40, 0xEF4C91)                  \
    F(kDuplicateToFile, 23, 44, 0x0A20C6)                  \
    F(kDuplicateSkipTableSpaces, 24, 48, 0x6B54B6)         \
    F(kDuplicateLogFile, 25, 52, 0x35731A)                 \
    F(kOptions, 26, 56, 0x86869E)                          \
    F(kPassPhrase, 27, 57, 0x15DE2A, kSecret)              \
    F(kSpFilePath, 28, 61, 0xEF753E)                       \
    F(kCatalogConnectUser, 29, 65, 0x155A1F)               \
    F(kCatalogConnectPassword, 30, 69, 0x20DEEF, kSecret)  \
    F(kCatalogConnectService, 31, 73, 0x98DE0C)            \
    F(kRestoreScript, 32, 77, 0x84ECF9)                    \
    F(kConnectString, 33, 81, 0x26ED9B)                    \
    F(kExtendedOptions, 34, 85, 0xA60F25)                  \
    F(kExtraText, 35, 89, 0x5C7E18)                        \
    F(kTableRestoreOptions, 36, 93, 0xAE379E)              \
    F(kDatabaseName, 37, 94, 0xC779B4)                     \
    F(kDbClientName, 38, 98, 0x29DAE2)                     \
    F(kPFilePath, 39, 102, 0xFEF023)                       \
    F(kStagingPath, 40, 106, 0x68FA52)                     \
    F(kImportOption, 41, 110, 0x1D2368)                    \
    F(kImportDbName, 42, 111, 0xBE36FC)                    \
    F(kClientName, 43, 115, 0xB304F6)                      \
    F(kTableRestoreSourcePaths, 44, 119, 0x0240E5)         \
    F(kAuxInsTableClientId, 45, 120, 0xBDFAC8)             \
    F(kImportClientId, 46, 121, 0x59990B)
VSDK_MESSAGE_FIELDS(oracleopt, OO_ORACLEOPT_FIELDS)

// QDB2RestoreOptions
#define OO_DB2OPT_FIELDS(F)                           \
    F(kRunPostCmdAlways, 1, 1, 0xADA12F)              \
    F(kDestinationInstanceId, 2, 2, 0x5844D2)         \
    F(kRestoreMode, 3, 3, 0xA78951)                   \
    F(kRestoreType, 4, 4, 0xAADEE8)                   \
    F(kTargetDb, 5, 5, 0xA859EF)                      \
    F(kTargetPath, 6, 9, 0xFF1956)                    \
    F(kStartLSN, 7, 13, 0xF280C6)                     \
    F(kStopLSN, 8, 14, 0xE08126)                      \
    F(kReportFile, 9, 15, 0x1804D0)                   \
    F(kRestoreBuffers, 10, 19, 0xDB5DC5)              \
    F(kRestoreBufferSize, 11, 20, 0xD81D8F)           \
    F(kRollForwardTime, 12, 21, 0x3B43E3)             \
    F(kRollForwardOverflowDir, 13, 22, 0xB78B55)      \
    F(kAlternateLog, 14, 26, 0x5D606A)                \
    F(kTimeStamp, 15, 30, 0x492916)                   \
    F(kStartLogTime, 16, 34, 0x5AA96F)                \
    F(kEndLogTime, 17, 35, 0xED9AD6)                  \
    F(kStreams, 18, 36, 0x175FF2)                     \
    F(kArchiveGroupCopyPrecedence, 19, 37, 0x410DEE)  \
    F(kSourcePaths, 20, 38, 0x32816A)                 \
    F(kRenameAll, 21, 39, 0xF29983)                   \
    F(kOptions, 22, 43, 0x86869E)
VSDK_MESSAGE_FIELDS(db2opt, OO_DB2OPT_FIELDS)

// QInformixRestoreOptions
#define OO_INFORMIXOPT_FIELDS(F)      \
    F(kCopyId, 1, 1, 0x40AF70)        \
    F(kRestoreFrom, 2, 2, 0xA46758)   \
    F(kRestoreTime, 3, 3, 0xAAA27B)   \
    F(kStreamCount, 4, 4, 0x74C16F)   \
    F(kLogicalLogNo, 5, 5, 0xB87D9C)  \
    F(kSourcePaths, 6, 6, 0x32816A)   \
    F(kOptions, 7, 7, 0x86869E)
VSDK_MESSAGE_FIELDS(informixopt, OO_INFORMIXOPT_FIELDS)

// QSQLRestoreOptions and its elements QSQLDb, QSQLPhysicalFile, QSQLFile
#define OO_SQLOPT_FIELDS(F)                           \
    F(kChangedDbs, 1, 1, 0xF43C61)                    \
    F(kPhysicalFiles, 2, 2, 0x4DD7E0)                 \
    F(kFiles, 3, 3, 0xF5F823)                         \
    F(kMultiDatabase, 4, 4, 0xD67397)                 \
    F(kLogMarkName, 5, 5, 0x644A5C)                   \
    F(kPointInTime, 6, 9, 0xC69C75)                   \
    F(kBackupSetId, 7, 10, 0xD1089B)                  \
    F(kUndoPath, 8, 11, 0xBD9F29)                     \
    F(kCopyNo, 9, 15, 0x40B016)                       \
    F(kArchiveGroupCopyPrecedence, 10, 16, 0x410DEE)  \
    F(kSystemDbFlag, 11, 17, 0x53D019)                \
    F(kOptions, 12, 18, 0x86869E)                     \
    F(kUnlabelledList, 13, 19, 0x780CD7)              \
    /* QSQLDb and QSQLPhysicalFile */                 \
    F(kEntryId, 1, 1, 0x000D1B)                       \
    F(kEntryName, 2, 2, 0x337A8B)                     \
    /* QSQLFile */                                    \
    F(kFileDbId, 1, 1, 0x2EEE39)                      \
    F(kFileFileId, 2, 2, 0x088FB7)                    \
    F(kFileName, 3, 3, 0x337A8B)
VSDK_MESSAGE_FIELDS(sqlopt, OO_SQLOPT_FIELDS)

// QFenmarkCaptureReqMsg and the answer-file text of its reply.
#define OO_FENMARK_CAPTURE_FIELDS(F)            \
    F(kClientNames, 3, 3, 0xAD9A3D)             \
    F(kDumpFileName, 4, 4, 0x20303B)            \
    F(kDbName, 5, 8, 0x2E8C29)                  \
    F(kUserName, 6, 12, 0x36EBCB)               \
    F(kPassword, 7, 16, 0x89BA9B, kSecret)      \
    F(kSendAnswerFile, 8, 20, 0x552A17)         \
    F(kStartTime, 9, 21, 0x158A4F)              \
    F(kEndTime, 10, 22, 0x336A48)               \
    F(kDbRestorePath, 11, 23, 0x423475)         \
    F(kAnswerFile, 3, 3, 0x95BC94)  /* reply */
VSDK_MESSAGE_FIELDS(FenmarkCapture, OO_FENMARK_CAPTURE_FIELDS)

// QFenmarkMergeReqMsg; field 4 is never set.
#define OO_FENMARK_MERGE_FIELDS(F)              \
    F(kDumpFileName, 3, 3, 0x20303B)            \
    F(kUser, 5, 11, 0x36EBCB)                   \
    F(kPassword, 6, 15, 0x89BA9B, kSecret)      \
    F(kAfContent, 7, 19, 0x95BC94)              \
    F(kReuseTapes, 9, 24, 0x31417D)             \
    F(kDbRestorePath, 10, 25, 0x423475)
VSDK_MESSAGE_FIELDS(FenmarkMerge, OO_FENMARK_MERGE_FIELDS)

// QSnapReqMsg: the two lists are filled entry by entry (unset when empty).
#define OO_SNAP_FIELDS(F)                   \
    F(kOption, 3, 3, 0x10E449)              \
    F(kOperation, 4, 4, 0x1AD567)           \
    F(kIntList, 5, 8, 0x8D91D5)             \
    F(kDestinationClient, 6, 9, 0x477D38)   \
    F(kTextList, 7, 13, 0xF6D75C)
VSDK_MESSAGE_FIELDS(Snap, OO_SNAP_FIELDS)

}  // namespace OrvaneOperations
