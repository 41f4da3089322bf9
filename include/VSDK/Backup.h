/* Backup, backup validation, auxiliary copy, data aging and ER backup. */
#ifndef VSDK_BACKUP_H
#define VSDK_BACKUP_H

#include "Common.h"
#include "DataPath.h"

#include <string>
#include <vector>

/* ---- Records --------------------------------------------------------- */

/* A script run for one database instance. */
struct VSDK_EXPORT _QInstanceScript {
    char instanceName[1024] = {};
    char scriptName[1024] = {};

    std::string c_str() const;
};

/* Which archive logs a backup takes (or deletes). */
struct VSDK_EXPORT _QCLArchiveLogParam {
    unsigned int logType = 0;                 /* QCL_archiveLogTypeMappings */
    unsigned int olderThan = 0;               /* days */
    unsigned int notOlderThan = 0;            /* days */
    _QTime startTime;
    _QTime endTime;
    unsigned int instanceLog = 0;
    int startLSN = 0;
    int endLSN = 0;
    int startSCN = 0;
    int endSCN = 0;
    unsigned int deleteArchiveLogFiles = 0;
    unsigned int archiveLogSelected = 0;
    char likeExpression[1024] = {};
    std::vector<std::string> archiveLogDestinations;

    std::string c_str() const;
};

/* Backup of one subclient. Text fields are zero-terminated within their arrays. */
struct VSDK_EXPORT _QBackupParameters {
    int options = 0;                          /* QCL_backupOptionMappings */
    int clientId = 0;
    char clientName[1024] = {};
    int appTypeId = 0;
    char appName[1024] = {};
    int instanceId = 0;
    char instanceName[1024] = {};
    int backupSetId = 0;
    char backupSetName[1024] = {};
    int subclientId = 0;
    char subclientName[1024] = {};
    int taskPriority = 0;
    int exportLocation = 0;
    int transitLocation = 0;
    int useVMS = 0;
    int mediaStatus = 0;                      /* QCL_mediaStatusMappings */
    int incrementLevel = 0;
    int cumulative = 0;
    int qrExecHostId = 0;
    int qrOptions = 0;                        /* QCL_QRbackupOptionMappings */
    unsigned int nasOptions = 0;              /* QCL_NASbackupOptionMappings */
    char backupDescription[1024] = {};
    char transportableSnap = 0;
    char sourceToDestination[1024] = {};
    char extendedOptions[1024] = {};
    char entityNames[1024] = {};
    char onDemandInputFile[1024] = {};
    char vssImportMap[1024] = {};
    char vssImportExecHostName[1024] = {};
    int alertId = 0;
    int retryHours = 0;
    int retryNumber = 0;
    char dataScript[1024] = {};
    char logScript[1024] = {};
    int dataStreamCount = 0;
    int logStreamCount = 0;
    char connectString[1024] = {};
    std::vector<_QInstanceScript> instanceScripts;
    char storagePolicyName[1024] = {};
    int storagePolicyId = 0;
    long long qrJobId = 0;
    _QDataPathInfo dataPath;
    std::string furtherText;
    _QCLArchiveLogParam backupArchiveLogParams;
    _QCLArchiveLogParam deleteArchiveLogParams;
    int corruptionThreshold = 0;
    int rmanDiskRatio = 0;
    std::vector<std::string> jobDescription;
    int xmlResult = 0;                        /* non-zero: return the reply's XML text */

    std::string c_str() const;
};

/* The job a backup or restore started. */
struct _QJobStartInfo {
    long long jobId = 0;                      /* -1 after a server error */
    std::string xmlText;                      /* the reply's XML text, when asked for */
};

/* Auxiliary copy of one copy of a storage policy. */
struct VSDK_EXPORT _QAuxCopyParameters {
    int storagePolicyId = 0;
    char storagePolicyName[1024] = {};
    int copyId = 0;
    char copyName[1024] = {};
    int priority = 0;
    int exportLocation = 0;
    int transLocation = 0;
    int useVMS = 0;
    int mediaStatus = 0;
    int streamCount = 0;
    int startNewMedia = 0;
    int markMediaFull = 0;
    int alertId = 0;
    int startSuspended = 0;
    int retryHours = 0;
    int retryNumber = 0;
    int selectRecentFull = 0;
    char extendedOptions[1024] = {};
    std::vector<std::string> jobDescription;

    std::string c_str() const;
};

/* Data aging job. */
struct VSDK_EXPORT _QAgeDataParameters {
    int retryHours = 0;
    int retryNumber = 0;
    int alertId = 0;
    std::vector<std::string> jobDescription;

    std::string c_str() const;
};

/* ERBackup job. */
struct VSDK_EXPORT _QERBackupParameters {
    int isFullBackup = 0;
    char extendedOptions[1024] = {};
    int retryHours = 0;
    int retryNumber = 0;
    int alertId = 0;
    std::vector<std::string> jobDescription;

    std::string c_str() const;
};

/* ---- Named values of the option fields (the library passes them through
 * unchanged). Each table ends with an entry whose name is empty. -------- */

/* _QBackupParameters::options */
static const QCL_OptionMapping QCL_backupOptionMappings[] = {
    {0x1, "QB_FULL"},
    {0x2, "QB_INCREMENTAL"},
    {0x4, "QB_DIFFERENTIAL"},
    {0x8, "QB_ANYLEVEL"},
    {0x10, "QB_CREATEINDEX"},
    {0x20, "QB_STARTNEWMEDIA"},
    {0x40, "QB_SYNTHETIC_FULL"},
    {0x80, "QB_INCR_AFTER_SYNTH"},
    {0x100, "QB_ALLSUBCLIENTS"},
    {0x200, "QB_TRUNC_LOG"},
    {0x400, "QB_FOLLOW_MOUNTPATHS"},
    {0x800, "QB_BACKUP_RSS_DATABASE"},
    {0x1000, "QB_SYSTEMFILE_PROTECT"},
    {0x2000, "QB_TRANLOG"},
    {0x4000, "QB_NEWMEDIA_ONSUCCESS"},
    {0x8000, "QB_ASR"},
    {0x10000, "QB_TEMPLATE"},
    {0x20000, "QB_EXCEPT_DEFAULT_SUBCLIENT"},
    {0x40000, "QB_SNAPSHOT"},
    {0x80000, "QB_CREATE_REPLICA"},
    {0x100000, "QB_UPDATE_REPLICA"},
    {0x200000, "QB_STOP_DHCP"},
    {0x400000, "QB_STOP_WINS"},
    {0x800000, "QB_INCR_BEFORE_SYNTH"},
    {0x1000000, "QB_PRE_SELECT"},
    {0x4000000, "QB_FULL_CONT_INDEXING"},
    {0x8000000, "QB_START_MEDIA_MOVEMENT"},
    {0x10000000, "QB_SQL_BKP_FILE_GROUPS"},
    {0x20000000, "QB_SKIP_METAFILE_CREATION"},
    {0x40000000, "QB_START_SUSPENDED"},
    {0, ""},
};

/* _QBackupParameters::qrOptions */
static const QCL_OptionMapping QCL_QRbackupOptionMappings[] = {
    {0x1, "QB_CLEAR_RO_FLAG"},
    {0x2, "QB_IMPORT_SNAPSHOT_FLAG"},
    {0x4, "QB_ACTIVATE_SNASPHOT_FLAG"},
    {0x8, "QB_VSS_SNAP_WRITEABLE_FLAG"},
    {0, ""},
};

/* _QBackupParameters::nasOptions */
static const QCL_OptionMapping QCL_NASbackupOptionMappings[] = {
    {0x4, "QB_NAS_BACKUPQUOTAS"},
    {0x8, "QB_NAS_BACKUPEXCLUSIVE"},
    {0x10, "QB_NAS_BACKUPSNAP_YES"},
    {0x20, "QB_NAS_BACKUPSNAP_SNAP"},
    {0x30, "QB_NAS_BACKUPFROMSNAPSHOT"},
    {0x30, "QB_NAS_BACKUPSNAP_SYNC"},
    {0x40, "QB_NAS_VOLUMEBASEDBACKUP"},
    {0x80, "QB_NAS_BACKUPOFFLINEDATA"},
    {0x100, "QB_NAS_BLOCKBACKUP"},
    {0, ""},
};

/* _QBackupParameters::mediaStatus */
static const QCL_OptionMapping QCL_mediaStatusMappings[] = {
    {0x1, "Q_ACTIVE"},
    {0x2, "Q_FULL"},
    {0x80, "Q_READONLY"},
    {0x100, "Q_BAD"},
    {0, ""},
};

/* _QCLArchiveLogParam::logType (an enumeration; the closing entry holds -1) */
static const QCL_OptionMapping QCL_archiveLogTypeMappings[] = {
    {0, "QB_ARCH_LOG_NO_TYPE"},
    {1, "QB_ARCH_LOG_OLDER_THAN"},
    {2, "QB_ARCH_LOG_NOT_OLDER_THAN"},
    {3, "QB_ARCH_LOG_BY_TIME"},
    {4, "QB_ARCH_LOG_BY_LSN"},
    {5, "QB_ARCH_LOG_BY_SCN"},
    {6, "QB_ARCH_LOG_LIKE"},
    {7, "QB_ARCH_LOG_ALL"},
    {static_cast<unsigned long long>(-1), ""},
};

/* ---- Operations ------------------------------------------------------ */
/* Each returns 0 or an error code; a null record or result pointer gives
 * 0x303 and sends nothing. Job ids are 64-bit; after a server error the job
 * id is -1, after a failed exchange it is left as it was. */

/* Starts a backup; result->jobId (and, when params->xmlResult is set,
 * result->xmlText) on success. */
VSDK_API unsigned long VSDKBackup(const _QBackupParameters* params, _QJobStartInfo* result);
/* Asks the server whether it would accept the backup. */
VSDK_API unsigned long VSDKValidateBackup(const _QBackupParameters* params);
/* Start an auxiliary copy, a data aging job and an ERBackup job. */
VSDK_API unsigned long VSDKAuxCopy(const _QAuxCopyParameters* params, long long* jobId);
VSDK_API unsigned long VSDKAgeData(const _QAgeDataParameters* params, long long* jobId);
VSDK_API unsigned long VSDKERBackup(const _QERBackupParameters* params, long long* jobId);

#endif
