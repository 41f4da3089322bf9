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
    X(QOracleRestoreOptions, 20, 0x0500001B, 0)

VSDK_ORVANE_OPERATIONS_MESSAGES(VSDK_DECLARE_MESSAGE)

void RegisterSubsystem();

// QExecuteReqMsg / QExecuteRespMsg
constexpr FieldId kExecuteXml{3, 3, 0x180DF3};
constexpr FieldId kExecuteRespXml{3, 3, 0x111901};
constexpr FieldId kErrorExtra{6, 6, 0xD6EAF3};  // 64-bit value in the reply's error object
constexpr FieldId kExecuteCallerIdentity{9, 18, 0x9B5880};

// QCallerIdentityMsg: the local operating-system user who asked (carried by
// the backup, restore and generic requests).
constexpr FieldId kCallerUid{1, 1, 0x01C070};
constexpr FieldId kCallerUserName{2, 2, 0x95ACA0};

// QBackupInfoMsg
constexpr FieldId kBackupOptions{3, 3, 0x86869E};
constexpr FieldId kBackupKind{4, 4, 0xABF829};  // always 2
constexpr FieldId kBackupClientId{5, 5, 0x253646};
constexpr FieldId kBackupClientName{6, 6, 0xB304F6};
constexpr FieldId kBackupAppTypeId{7, 10, 0xB7FA8B};
constexpr FieldId kBackupAppName{8, 11, 0xA5CBFB};
constexpr FieldId kBackupInstanceId{9, 15, 0xC3CC90};
constexpr FieldId kBackupInstanceName{10, 16, 0x0530C0};
constexpr FieldId kBackupSetId{11, 20, 0x0E187B};
constexpr FieldId kBackupSetName{12, 21, 0xEC2DEB};
constexpr FieldId kBackupSubclientId{13, 25, 0xA4B486};
constexpr FieldId kBackupSubclientName{14, 26, 0x4BF336};
constexpr FieldId kBackupTaskPriority{15, 30, 0x21BE49};
constexpr FieldId kBackupExportLocation{16, 31, 0xAE2389};
constexpr FieldId kBackupTransitLocation{17, 32, 0x3276A8};
constexpr FieldId kBackupUseVMS{18, 33, 0x2AC595};
constexpr FieldId kBackupMediaStatus{19, 34, 0xDFB0F6};
constexpr FieldId kBackupIncrementLevel{20, 35, 0x974E46};
constexpr FieldId kBackupCumulative{21, 36, 0x9F48F3};
constexpr FieldId kBackupQrExecHostId{22, 37, 0x2FDDD5};
constexpr FieldId kBackupQrOptions{23, 38, 0x3A193D};
constexpr FieldId kBackupDescription{24, 39, 0x12E8DA};
constexpr FieldId kBackupTransportableSnap{25, 43, 0x487A6D};
constexpr FieldId kBackupSourceToDestination{26, 47, 0xA07AC1};
constexpr FieldId kBackupExtendedOptions{27, 51, 0xA60F25};
constexpr FieldId kBackupEntityNames{28, 55, 0x6CF925};
constexpr FieldId kBackupOnDemandInputFile{29, 59, 0x55B67C};
constexpr FieldId kBackupVssImportMap{30, 63, 0xA052C1};
constexpr FieldId kBackupVssImportExecHost{31, 67, 0x35603F};
constexpr FieldId kBackupAlertId{32, 71, 0x4CAB97};
constexpr FieldId kBackupRetryHours{33, 72, 0xE81D47};
constexpr FieldId kBackupRetryNumber{34, 73, 0x782289};
constexpr FieldId kBackupDataScript{35, 74, 0x2DC515};
constexpr FieldId kBackupLogScript{36, 78, 0x6DDD2F};
constexpr FieldId kBackupDataStreamCount{37, 82, 0x485D68};
constexpr FieldId kBackupLogStreamCount{38, 83, 0x9E8DB0};
constexpr FieldId kBackupConnectString{39, 84, 0x26ED9B};
constexpr FieldId kBackupInstanceScripts{40, 88, 0x36EAB3};
constexpr FieldId kBackupStoragePolicyName{41, 89, 0x67CB8D};
constexpr FieldId kBackupStoragePolicyId{42, 93, 0x35F458};
constexpr FieldId kBackupQrJobId{43, 94, 0x6F5817};
constexpr FieldId kBackupNasOptions{45, 96, 0x62F15E};
constexpr FieldId kBackupDataPath{46, 97, 0xF09955};
constexpr FieldId kBackupFurtherText{47, 98, 0xBC2D80};
constexpr FieldId kBackupArchiveLogs{48, 102, 0x94F52A};
constexpr FieldId kBackupDeleteArchiveLogs{49, 103, 0xD81313};
constexpr FieldId kBackupRmanDiskRatio{50, 104, 0x7011A6};
constexpr FieldId kBackupCorruptionThreshold{51, 105, 0x562FD0};
constexpr FieldId kBackupJobDescription{52, 106, 0x45C7FF};
constexpr FieldId kBackupXmlResult{53, 107, 0xAA99FD};
constexpr FieldId kBackupCallerIdentity{54, 108, 0x9B5880};

// QOracleInstanceScript
constexpr FieldId kScriptInstanceName{1, 1, 0x0530C0};
constexpr FieldId kScriptName{2, 5, 0x61D693};

// QBackupDataPathMsg
constexpr FieldId kDataPathMediaAgents{1, 1, 0x45653A};
constexpr FieldId kDataPathLibraries{2, 2, 0xA184F4};
constexpr FieldId kDataPathDrivePools{3, 3, 0xEDBCBF};
constexpr FieldId kDataPathScratchPools{4, 4, 0x0ACA2F};

// QArchiveLogParamMsg
constexpr FieldId kArchLogType{1, 1, 0x580284};
constexpr FieldId kArchLogOlderThan{2, 2, 0x61E4D5};
constexpr FieldId kArchLogNotOlderThan{3, 3, 0x99D742};
constexpr FieldId kArchLogStartTime{4, 4, 0x158A4F};
constexpr FieldId kArchLogEndTime{5, 5, 0x336A48};
constexpr FieldId kArchLogInstanceLog{6, 6, 0xB5D26F};
constexpr FieldId kArchLogStartLSN{7, 7, 0x7C7005};
constexpr FieldId kArchLogEndLSN{8, 8, 0x962CEC};
constexpr FieldId kArchLogStartSCN{9, 9, 0x7C885C};
constexpr FieldId kArchLogEndSCN{10, 10, 0x964543};
constexpr FieldId kArchLogDeleteFiles{11, 11, 0xC46B65};
constexpr FieldId kArchLogSelected{12, 12, 0xC9358B};
constexpr FieldId kArchLogLikeExpression{13, 13, 0x60A706};
constexpr FieldId kArchLogDestinations{14, 17, 0xC8A420};

// QValidateBackupInfoMsg: the backup request it asks about.
constexpr FieldId kValidateBackupRequest{3, 3, 0xC8CA5F};

// QBackupRespMsg, QAuxCopyRespMsg, QAgeDataRespMsg, QERBackupRespMsg: job id;
// the backup reply's XML text.
constexpr FieldId kReplyJobId{3, 3, 0x09A9B8};
constexpr FieldId kBackupRespXml{4, 4, 0x038D25};

// QAuxCopyReqMsg
constexpr FieldId kAuxStoragePolicyId{3, 3, 0x0336C4};
constexpr FieldId kAuxStoragePolicyName{4, 4, 0x12DDF4};
constexpr FieldId kAuxCopyId{5, 8, 0x40AF70};
constexpr FieldId kAuxCopyName{6, 9, 0xD4DBA0};
constexpr FieldId kAuxStartNewMedia{7, 13, 0xA780A6};
constexpr FieldId kAuxMarkMediaFull{8, 14, 0xA3E446};
constexpr FieldId kAuxPriority{9, 15, 0x8879A4};
constexpr FieldId kAuxStreamCount{10, 16, 0x74C16F};
constexpr FieldId kAuxExportLocation{11, 17, 0xC220F2};
constexpr FieldId kAuxTransLocation{12, 18, 0x98CE7D};
constexpr FieldId kAuxUseVMS{13, 19, 0x2AC595};
constexpr FieldId kAuxMediaStatus{14, 20, 0xDFB0F6};
constexpr FieldId kAuxAlertId{15, 21, 0x4CAB97};
constexpr FieldId kAuxStartSuspended{16, 22, 0xD6B799};
constexpr FieldId kAuxRetryHours{17, 23, 0xE81D47};
constexpr FieldId kAuxRetryNumber{18, 24, 0x782289};
constexpr FieldId kAuxSelectRecentFull{19, 25, 0x16A784};
constexpr FieldId kAuxExtendedOptions{20, 26, 0xA60F25};
constexpr FieldId kAuxJobDescription{21, 30, 0x45C7FF};

// QAgeDataReqMsg
constexpr FieldId kAgeRetryHours{3, 3, 0xE81D47};
constexpr FieldId kAgeRetryNumber{4, 4, 0x782289};
constexpr FieldId kAgeAlertId{5, 5, 0x4CAB97};
constexpr FieldId kAgeJobDescription{6, 6, 0x45C7FF};

// QERBackupReqMsg
constexpr FieldId kErFullBackup{3, 3, 0x3A19FB};
constexpr FieldId kErExtendedOptions{4, 4, 0xA60F25};
constexpr FieldId kErRetryHours{5, 8, 0xE81D47};
constexpr FieldId kErRetryNumber{6, 9, 0x782289};
constexpr FieldId kErAlertId{7, 10, 0x4CAB97};
constexpr FieldId kErJobDescription{8, 11, 0x45C7FF};

// QRestoreReqMsg (also the inner request of QValidateRestoreReqMsg and
// QSearchRestoreReqMsg)
constexpr FieldId kRestoreEntityNames{3, 3, 0x6CF925};
constexpr FieldId kRestoreDestClientId{4, 7, 0x558B2B};
constexpr FieldId kRestoreDestClientName{5, 8, 0x21B49B};
constexpr FieldId kRestoreDestPath{6, 12, 0xB4F38A};
constexpr FieldId kRestoreDestUserName{7, 16, 0x4B51DB};
constexpr FieldId kRestoreDestUserPassword{8, 20, 0x4569EB};
constexpr FieldId kRestoreDestInstanceId{9, 24, 0x5844D2};
constexpr FieldId kRestoreSourceClientId{10, 25, 0xE7344A};
constexpr FieldId kRestoreSourceClientName{11, 26, 0xED91FA};
constexpr FieldId kRestoreSourcePaths{12, 30, 0x32816A};
constexpr FieldId kRestoreFilterPaths{13, 31, 0x18D056};
constexpr FieldId kRestoreOptions{14, 32, 0x86869E};
constexpr FieldId kRestoreRequestCode{15, 33, 0xABF8CF};
constexpr FieldId kRestoreAppId{16, 34, 0x603B76};
constexpr FieldId kRestoreAppName{17, 35, 0xAA704C};
constexpr FieldId kRestoreInstanceId{18, 39, 0xC3CC90};
constexpr FieldId kRestoreInstanceName{19, 40, 0x0530C0};
constexpr FieldId kRestoreBackupSetId{20, 44, 0x0E187B};
constexpr FieldId kRestoreBackupSetName{21, 45, 0xEC2DEB};
constexpr FieldId kRestoreLevelOfSOP{22, 49, 0x6FD719};
constexpr FieldId kRestoreSourceType{23, 50, 0xC0E5F5};
constexpr FieldId kRestoreCurrentUserId{24, 51, 0x0C191F};
constexpr FieldId kRestoreCopyPrecedence{25, 52, 0x410DEE};
constexpr FieldId kRestoreStreamCount{26, 53, 0x74C16F};
constexpr FieldId kRestoreFromTime{27, 54, 0xCFF997};
constexpr FieldId kRestoreToTime{28, 55, 0x361FE8};
constexpr FieldId kRestoreBrowseFrom{29, 56, 0x2CDD54};
constexpr FieldId kRestoreBrowseTo{30, 57, 0xE636A5};
constexpr FieldId kRestoreJobStatus{31, 58, 0x4DD60F};
constexpr FieldId kRestoreBackupLevel{32, 59, 0xAB7EE2};
constexpr FieldId kRestoreUseAgedData{33, 60, 0x4C9336};
constexpr FieldId kRestoreDeviceFilesAsReg{34, 61, 0x733DC1};
constexpr FieldId kRestoreMediaAgentId{35, 62, 0xECDE7C};
constexpr FieldId kRestoreDrivePoolId{36, 63, 0x2AD461};
constexpr FieldId kRestoreSuffix{37, 64, 0xDDF751};
constexpr FieldId kRestoreOnDemandInputFile{38, 68, 0x55B67C};
constexpr FieldId kRestoreMapFile{39, 72, 0xD900F8};
constexpr FieldId kRestoreNoMappingData{40, 76, 0x548D17};
constexpr FieldId kRestoreExtendedOptions{41, 77, 0xA60F25};
constexpr FieldId kRestoreDestAppId{42, 81, 0xB9659A};
constexpr FieldId kRestorePriority{43, 82, 0x8879A4};
constexpr FieldId kRestoreAlertId{44, 83, 0x4CAB97};
constexpr FieldId kRestorePreCmd{45, 84, 0x942F97};
constexpr FieldId kRestorePostCmd{46, 88, 0xAE2C7A};
constexpr FieldId kRestorePrePostUserName{47, 92, 0x4B2FD9};
constexpr FieldId kRestorePrePostUserPassword{48, 96, 0xB9ED7E};
constexpr FieldId kRestoreStartSuspended{49, 100, 0xD6B799};
constexpr FieldId kRestoreRetryHours{50, 101, 0xE81D47};
constexpr FieldId kRestoreRetryNo{51, 102, 0x782289};
constexpr FieldId kRestoreSqlOptions{52, 103, 0xF0DCF0};
constexpr FieldId kRestoreNasOptions{53, 104, 0x62F15E};
constexpr FieldId kRestoreJobDescription{54, 105, 0x45C7FF};
constexpr FieldId kRestoreExtraTexts{55, 106, 0x780CD7};
constexpr FieldId kRestoreXmlResult{56, 107, 0xAA99FD};
constexpr FieldId kRestoreCallerIdentity{57, 108, 0x9B5880};

// QRestoreRespMsg (reply of the restore, browse, database restore and
// search-result restore)
constexpr FieldId kRestoreRespJobId{3, 3, 0x09A9B8};
constexpr FieldId kRestoreRespBrowse{4, 4, 0x2BDE51};
constexpr FieldId kRestoreRespXml{5, 5, 0x038D25};

// QValidateRestoreReqMsg
constexpr FieldId kValidateRestoreRequest{3, 3, 0x0DAA13};

// QBrowseResultMsg and its QRestoreItemMsg elements
constexpr FieldId kBrowseItems{1, 1, 0xFDE7C0};
constexpr FieldId kItemFlags{1, 1, 0x28DAD6};
constexpr FieldId kItemTime{2, 2, 0xA710C2};
constexpr FieldId kItemSize{3, 3, 0x282B9D};
constexpr FieldId kItemPath{7, 7, 0x346425};
constexpr FieldId kItemSecondText{8, 11, 0x2BD66D};

// QSearchRestoreReqMsg and its QRestoreSearchItem elements
constexpr FieldId kSearchRestoreRequest{3, 3, 0x908684};
constexpr FieldId kSearchRestoreItems{4, 4, 0x74A6FF};
constexpr FieldId kSearchItemValue1{1, 1, 0xDC8F57};
constexpr FieldId kSearchItemValue2{2, 2, 0x274319};
constexpr FieldId kSearchItemValue3{3, 3, 0xB76B91};
constexpr FieldId kSearchItemText1{4, 4, 0x25C627};
constexpr FieldId kSearchItemAppType{5, 8, 0xAD84FB};
constexpr FieldId kSearchItemAppId{6, 9, 0x8B7F1C};
constexpr FieldId kSearchItemText2{7, 10, 0x8C30E8};

// QDBRestoreReqMsg (database restore) and its option objects.
namespace dbrestore {
constexpr FieldId kSourceClientId{12, 24, 0xE7344A};
constexpr FieldId kSourceClientName{13, 25, 0xED91FA};
constexpr FieldId kDestinationClientName{15, 30, 0x21B49B};
constexpr FieldId kDestinationClientId{14, 29, 0x558B2B};
constexpr FieldId kKind{11, 23, 0xABF8CF};  // always 2
constexpr FieldId kAppTypeId{16, 34, 0x603B76};
constexpr FieldId kAppmoduleName{17, 35, 0xAA704C};
constexpr FieldId kInstanceId{18, 39, 0xC3CC90};
constexpr FieldId kInstanceName{19, 40, 0x0530C0};
constexpr FieldId kBackupSetId{20, 44, 0x0E187B};
constexpr FieldId kBackupSetName{21, 45, 0xEC2DEB};
constexpr FieldId kSubclientId{22, 49, 0xA4B486};
constexpr FieldId kSubclientName{23, 50, 0x4BF336};
constexpr FieldId kMediaAgentId{7, 19, 0xECDE7C};
constexpr FieldId kDrivePoolId{8, 20, 0x2AD461};
constexpr FieldId kPriority{10, 22, 0x8879A4};
constexpr FieldId kStartSuspended{9, 21, 0xD6B799};
constexpr FieldId kPreCmd{3, 3, 0x942F97};
constexpr FieldId kPostCmd{4, 7, 0xAE2C7A};
constexpr FieldId kPrePostUserName{5, 11, 0x4B2FD9};
constexpr FieldId kPrePostPassword{6, 15, 0xB9ED7E};  // secret
constexpr FieldId kAlertId{24, 54, 0x4CAB97};
constexpr FieldId kRetryNo{26, 56, 0x782289};
constexpr FieldId kRetryHours{25, 55, 0xE81D47};
constexpr FieldId kJobDescription{31, 61, 0x45C7FF};
constexpr FieldId kSqlOptions{27, 57, 0xF0DCF0};
constexpr FieldId kInformixOptions{28, 58, 0x00F526};
constexpr FieldId kDb2Options{29, 59, 0x9C908A};
constexpr FieldId kOracleOptions{30, 60, 0x6E9740};
constexpr FieldId kXmlResult{32, 62, 0xAA99FD};
}  // namespace dbrestore

// QOracleRestoreOptions
namespace oracleopt {
constexpr FieldId kControlFilePath{1, 1, 0x5FCC3E};
constexpr FieldId kFileTime{2, 5, 0x289E69};
constexpr FieldId kStartLSN{3, 6, 0x2F90A6};
constexpr FieldId kEndLSN{4, 10, 0xCDAFCD};
constexpr FieldId kRestoreFrom{5, 14, 0xA46758};
constexpr FieldId kRestoreTime{6, 15, 0xAAA27B};
constexpr FieldId kRestoreTag{7, 16, 0x0DC22C};
constexpr FieldId kRecoverFrom{8, 20, 0xCB672E};
constexpr FieldId kRecoverTime{9, 21, 0xD1A251};
constexpr FieldId kRecoverText{11, 23, 0x17AFB7};
constexpr FieldId kEndLogTime{12, 27, 0xED9AD6};
constexpr FieldId kControlFileTime{13, 28, 0x61BAE6};
constexpr FieldId kArchiveLog{14, 29, 0xC47B22};
constexpr FieldId kLogTarget{15, 30, 0x067DF5};
constexpr FieldId kStreams{16, 31, 0x175FF2};
constexpr FieldId kArchiveGroupCopyPrecedence{17, 32, 0x410DEE};
constexpr FieldId kSourcePaths{18, 33, 0x32816A};
constexpr FieldId kRedirectPaths{19, 34, 0xC4C272};
constexpr FieldId kRenameAll{20, 35, 0xF29983};
constexpr FieldId kResetLogs{21, 39, 0x9D179E};
constexpr FieldId kDuplicateToName{22, 40, 0xEF4C91};
constexpr FieldId kDuplicateToFile{23, 44, 0x0A20C6};
constexpr FieldId kDuplicateSkipTableSpaces{24, 48, 0x6B54B6};
constexpr FieldId kDuplicateLogFile{25, 52, 0x35731A};
constexpr FieldId kOptions{26, 56, 0x86869E};
constexpr FieldId kPassPhrase{27, 57, 0x15DE2A};  // secret
constexpr FieldId kSpFilePath{28, 61, 0xEF753E};
constexpr FieldId kCatalogConnectUser{29, 65, 0x155A1F};
constexpr FieldId kCatalogConnectPassword{30, 69, 0x20DEEF};  // secret
constexpr FieldId kCatalogConnectService{31, 73, 0x98DE0C};
constexpr FieldId kRestoreScript{32, 77, 0x84ECF9};
constexpr FieldId kConnectString{33, 81, 0x26ED9B};
constexpr FieldId kExtendedOptions{34, 85, 0xA60F25};
constexpr FieldId kExtraText{35, 89, 0x5C7E18};
constexpr FieldId kTableRestoreOptions{36, 93, 0xAE379E};
constexpr FieldId kDatabaseName{37, 94, 0xC779B4};
constexpr FieldId kDbClientName{38, 98, 0x29DAE2};
constexpr FieldId kPFilePath{39, 102, 0xFEF023};
constexpr FieldId kStagingPath{40, 106, 0x68FA52};
constexpr FieldId kImportOption{41, 110, 0x1D2368};
constexpr FieldId kImportDbName{42, 111, 0xBE36FC};
constexpr FieldId kClientName{43, 115, 0xB304F6};
constexpr FieldId kTableRestoreSourcePaths{44, 119, 0x0240E5};
constexpr FieldId kAuxInsTableClientId{45, 120, 0xBDFAC8};
constexpr FieldId kImportClientId{46, 121, 0x59990B};
}  // namespace oracleopt

// QDB2RestoreOptions
namespace db2opt {
constexpr FieldId kRunPostCmdAlways{1, 1, 0xADA12F};
constexpr FieldId kDestinationInstanceId{2, 2, 0x5844D2};
constexpr FieldId kRestoreMode{3, 3, 0xA78951};
constexpr FieldId kRestoreType{4, 4, 0xAADEE8};
constexpr FieldId kTargetDb{5, 5, 0xA859EF};
constexpr FieldId kTargetPath{6, 9, 0xFF1956};
constexpr FieldId kStartLSN{7, 13, 0xF280C6};
constexpr FieldId kStopLSN{8, 14, 0xE08126};
constexpr FieldId kReportFile{9, 15, 0x1804D0};
constexpr FieldId kRestoreBuffers{10, 19, 0xDB5DC5};
constexpr FieldId kRestoreBufferSize{11, 20, 0xD81D8F};
constexpr FieldId kRollForwardTime{12, 21, 0x3B43E3};
constexpr FieldId kRollForwardOverflowDir{13, 22, 0xB78B55};
constexpr FieldId kAlternateLog{14, 26, 0x5D606A};
constexpr FieldId kTimeStamp{15, 30, 0x492916};
constexpr FieldId kStartLogTime{16, 34, 0x5AA96F};
constexpr FieldId kEndLogTime{17, 35, 0xED9AD6};
constexpr FieldId kStreams{18, 36, 0x175FF2};
constexpr FieldId kArchiveGroupCopyPrecedence{19, 37, 0x410DEE};
constexpr FieldId kSourcePaths{20, 38, 0x32816A};
constexpr FieldId kRenameAll{21, 39, 0xF29983};
constexpr FieldId kOptions{22, 43, 0x86869E};
}  // namespace db2opt

// QInformixRestoreOptions
namespace informixopt {
constexpr FieldId kCopyId{1, 1, 0x40AF70};
constexpr FieldId kRestoreFrom{2, 2, 0xA46758};
constexpr FieldId kRestoreTime{3, 3, 0xAAA27B};
constexpr FieldId kStreamCount{4, 4, 0x74C16F};
constexpr FieldId kLogicalLogNo{5, 5, 0xB87D9C};
constexpr FieldId kSourcePaths{6, 6, 0x32816A};
constexpr FieldId kOptions{7, 7, 0x86869E};
}  // namespace informixopt

// QSQLRestoreOptions and its elements QSQLDb, QSQLPhysicalFile, QSQLFile
namespace sqlopt {
constexpr FieldId kChangedDbs{1, 1, 0xF43C61};
constexpr FieldId kPhysicalFiles{2, 2, 0x4DD7E0};
constexpr FieldId kFiles{3, 3, 0xF5F823};
constexpr FieldId kMultiDatabase{4, 4, 0xD67397};
constexpr FieldId kLogMarkName{5, 5, 0x644A5C};
constexpr FieldId kPointInTime{6, 9, 0xC69C75};
constexpr FieldId kBackupSetId{7, 10, 0xD1089B};
constexpr FieldId kUndoPath{8, 11, 0xBD9F29};
constexpr FieldId kCopyNo{9, 15, 0x40B016};
constexpr FieldId kArchiveGroupCopyPrecedence{10, 16, 0x410DEE};
constexpr FieldId kSystemDbFlag{11, 17, 0x53D019};
constexpr FieldId kOptions{12, 18, 0x86869E};
constexpr FieldId kUnlabelledList{13, 19, 0x780CD7};
// QSQLDb and QSQLPhysicalFile
constexpr FieldId kEntryId{1, 1, 0x000D1B};
constexpr FieldId kEntryName{2, 2, 0x337A8B};
// QSQLFile
constexpr FieldId kFileDbId{1, 1, 0x2EEE39};
constexpr FieldId kFileFileId{2, 2, 0x088FB7};
constexpr FieldId kFileName{3, 3, 0x337A8B};
}  // namespace sqlopt

}  // namespace OrvaneOperations
