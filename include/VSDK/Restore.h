/* Restore, restore validation, browse listing and the restore of chosen
 * search results. */
#ifndef VSDK_RESTORE_H
#define VSDK_RESTORE_H

#include "Common.h"
#include "Backup.h"

#include <cstdio>
#include <string>
#include <vector>

namespace OrvaneOperations {
struct QRestoreReqMsg;
struct QRestoreRespMsg;
}  // namespace OrvaneOperations

/* A restore (or a browse of backed-up data). Every field is sent. The field
 * order and sizes are part of the interface; `reserved` is never read or
 * written by the library. */
struct VSDK_EXPORT _QRestoreParameters {
    char entityNames[1024] = {};
    char destClientName[1024] = {};
    int destClientId = 0;
    char destPath[1024] = {};
    char destUserName[256] = {};
    char destUserPassword[128] = {};     /* never logged */
    int sourceClientId = 0;
    char sourceClientName[1024] = {};
    std::vector<std::string> sourcePaths;
    std::vector<std::string> filterPaths;
    long long options = 0;               /* bits of QCL_restoreOptionMappings */
    int appId = 0;
    char appName[1024] = {};
    int instanceId = 0;
    char instanceName[1024] = {};
    int backupSetId = 0;
    char backupSetName[1024] = {};
    int levelOfSOP = 0;
    int sourceType = 0;
    int currentUserId = 0;
    int copyPrecedence = 0;              /* storage policy copy precedence */
    int streamCount = 0;
    _QTime browseFrom;
    _QTime browseTo;
    _QTime fromTime;
    _QTime toTime;
    int jobStatus = 0;
    int backupLevel = 0;
    int useAgedData = 0;
    int deviceFilesAsReg = 0;
    int mediaAgentId = 0;
    int drivePoolId = 0;
    char suffix[1024] = {};
    int destAppId = 0;
    char extendedOptions[1024] = {};
    int priority = 0;
    int alertId = 0;
    char onDemandInputFile[1024] = {};
    char mapFile[1024] = {};
    int noMappingData = 0;
    char preCmd[1024] = {};
    char postCmd[1024] = {};
    char prePostUserName[256] = {};
    char prePostUserPassword[128] = {};  /* never logged */
    int destInstanceId = 0;
    int startSuspended = 0;
    int retryHours = 0;
    int retryNo = 0;
    long long sqlOptions = 0;
    unsigned int nasOptions = 0;         /* bits of QCL_NASrestoreOptionMappings */
    char reserved[1028] = {};
    std::vector<std::string> jobDescription;
    std::vector<std::string> extraTexts; /* sent unchanged, never logged */
    int xmlResult = 0;                   /* non-zero: the reply comes back as XML text */

    /* Text dump for the debug log (passwords and the last two fields left out). */
    std::string c_str() const;
};

/* Bits of _QRestoreParameters::options. */
static const QCL_OptionMapping QCL_restoreOptionMappings[] = {
    {0x40ULL, "QR_UNCONDITIONAL"},
    {0x80ULL, "QR_PRESERVE_LEVEL"},
    {0x100ULL, "QR_STRIP_LEVEL"},
    {0x1000ULL, "QR_RESTORE_ACLS"},
    {0x2ULL, "QR_WILDCARD"},
    {0x400000000000ULL, "QR_RESTORE_ACLS_ONLY"},
    {0x8000000ULL, "QR_RECREATE_MOUNT_POINTS"},
    {0x200ULL, "QR_INPLACEMENT"},
    {0x100000000ULL, "QR_RESTORE_DATA"},
    {0x200000000ULL, "QR_RESTORE_SPACE_RESTRICTIONS"},
    {0x400000000ULL, "QR_IGNORE_NAMESPACE_REQS"},
    {0x800000000ULL, "QR_SKIP_IF_EXISTS"},
    {0x2000000000000000ULL, "QR_DISMOUNT_STORE"},
    {0x40000ULL, "QR_RECOVER_POINT_IN_TIME"},
    {0x200000ULL, "QR_OVERWRITE_DATABASE_LINKS"},
    {0x400000ULL, "QR_OVERWRITE_DESIGN_DOCUMENTS"},
    {0x800000ULL, "QR_OVERWRITE_DATA_DOCUMENTS"},
    {0x8000000ULL, "QR_OVERWRITE_DATABASE_LINKS_ONLY"},
    {0x10000000000ULL, "QR_CREATE_DOC"},
    {0x20000000000ULL, "QR_CREATE_AND_CHECKIN"},
    {0x40000000000ULL, "QR_CREATE_AND_PUBLISH"},
    {0x2000000000ULL, "QR_INDEX_FREE_RESTORE"},
    {0x1000000ULL, "QR_SYSTEM_STATE"},
    {0x10ULL, "QR_NOIMAGE"},
    {0x4000000ULL, "QR_FILE_SYSTEM"},
    {0x200000ULL, "QR_PRIMARY"},
    {0x400000ULL, "QR_AUTHORITATIVE"},
    {0x800000ULL, "QR_NON_AUTHORITATIVE"},
    {0x8000ULL, "QR_NOLOSS_RST"},
    {0x4000000000000ULL, "QR_VOLUME_IMAGE_LEVEL"},
    {0x800ULL, "QR_DAR"},
    {0x8ULL, "QR_ALLVERSION"},
    {0x1ULL, "QR_BROWSE"},
    {0x4ULL, "QR_NORECURSE"},
    {0x1000000000000ULL, "QR_MULTI_INDEX"},
    {0x0ULL, ""},
};

/* Bits of _QRestoreParameters::nasOptions. */
static const QCL_OptionMapping QCL_NASrestoreOptionMappings[] = {
    {0x1ULL, "QR_NAS_OVERWRITE"},
    {0x2ULL, "QR_NAS_SUPERCEDEQUOTAS"},
    {0x4ULL, "QR_NAS_USRGRPQUOTAS"},
    {0x8ULL, "QR_NAS_IGNOREQTREE"},
    {0x10ULL, "QR_NAS_RESTORE8_3"},
    {0x40ULL, "QR_NAS_RESTOREEXCLUSIVE"},
    {0x80ULL, "QR_NAS_RESTORERECURSIVE"},
    {0x0ULL, ""},
};

/* Numbers of the advanced restore options (closed by the value -1). */
static const QCL_OptionMapping QCL_advRestoreOptionMappings[] = {
    {0x0ULL, "QR_SYBASE_CREATE_DEVICES"},
    {0x1ULL, "QR_SYBASE_STEP_BY_STEP"},
    {0x2ULL, "QR_SR_RESTORE"},
    {0x3ULL, "QR_AUTO_DISM_STORE"},
    {0x4ULL, "QR_USE_RECOVERY_STORAGE_GROUP"},
    {0x5ULL, "QR_RESTORE_ONLY_STUB_EXISTS"},
    {0x6ULL, "QR_SEARCH_AND_RETRIEVE"},
    {0x7ULL, "QR_CHECK_IN_RESTORE_DOC"},
    {0x8ULL, "QR_SQL_DBO_ONLY"},
    {0x9ULL, "QR_SQL_OVERWRITE"},
    {0xaULL, "QR_SQL_STARTSERVER"},
    {0xbULL, "QR_SQL_POINT_OF_TIME_RST"},
    {0xcULL, "QR_SQL_STEP_RST"},
    {0xdULL, "QR_SQL_DB_STATE_RECOVER"},
    {0xeULL, "QR_SQL_DB_STATE_NORECOVER"},
    {0xfULL, "QR_SQL_DB_STATE_STANDBY"},
    {0x10ULL, "QR_SQL_RECOVERYONLY"},
    {0x11ULL, "QR_SQL_HOTSERVERRESTORE"},
    {0x12ULL, "QR_SQL_DISCREET_TIME"},
    {0x13ULL, "QR_SQL_STOPSTART_SSA"},
    {0x14ULL, "QR_SQL_KEEPREPLICATION"},
    {0x15ULL, "QR_SQL_STOPATMARK_RST"},
    {0x16ULL, "QR_SQL_STOPBEFOREMARK_RST"},
    {0x17ULL, "QR_RLT_TIME"},
    {0x18ULL, "QR_KILL_JOB_EXCEED_RUN_TIME"},
    {0x1aULL, "QR_ORACLE_RMAN_JOB"},
    {0x1bULL, "QR_SKIP_AND_CONTINUE"},
    {0x1cULL, "QR_ORA_FAILOVER"},
    {0x1dULL, "QR_AUTO_COPY_PRECEDENCE"},
    {0x1eULL, "QR_DO_NOT_REPLAY_TRANS_LOGS"},
    {0x1fULL, "QR_SEARCH_RETRIEVE_TO_FILE"},
    {0x20ULL, "QR_RECOVER_ALL_VOLUME_GROUPS"},
    {0x21ULL, "QR_PRESERVE_EXITING_VOLUME_GROUPS"},
    {0x22ULL, "QR_AUTOMATIC_CLIENT_REBOOT"},
    {0x23ULL, "QR_RESTORE_DATA_ON_OTHER_VOLUME_GROUPS"},
    {0x24ULL, "QR_RESTORE_POINT_OF_TIME_DATA"},
    {0x25ULL, "QR_NSKIP_RECOVERY"},
    {0x26ULL, "QR_POWER_RESTORE"},
    {0x27ULL, "QR_DO_NOT_OVERWRITE_FILE_ON_DISK"},
    {0x28ULL, "QR_NEW_SYSTEM_STATE_FORMAT"},
    {0x29ULL, "QR_WEB_SERVER_VIEW_RESTORE"},
    {0x31ULL, "QR_RESTORE_ONLY_IF_TARGET_EXISTS"},
    {0x39ULL, "QR_DO_NOT_USE_ORA_CONNECT_STRING"},
    {~0ULL, ""},
};

/* Starts a restore; result->jobId gets the job id (-1 after a server error),
 * result->xmlText the reply as XML text when params->xmlResult is set. */
VSDK_API unsigned long VSDKRestore(const _QRestoreParameters* params, _QJobStartInfo* result);

/* Asks the server to check a restore without starting it. */
VSDK_API unsigned long VSDKValidateRestore(const _QRestoreParameters* params);

/* Browses backed-up data and prints one line per found item to stream
 * (standard output when null). *status becomes -48 on success, -1 after a
 * server error. */
VSDK_API unsigned long VSDKSearch(const _QRestoreParameters* params, long* status, FILE* stream);

/* Fills the session object and every body field of a restore request from
 * params. 0x280 (nothing set) when the calling thread has no state record. */
VSDK_CXX_API unsigned long fillRestoreRequest(const _QRestoreParameters& params,
                                              OrvaneOperations::QRestoreReqMsg& request);

/* Prints one line per item that a browse reply lists; returns 0. */
VSDK_CXX_API long printSearchResults(OrvaneOperations::QRestoreRespMsg& reply, FILE* stream);

/* Local-time text of time (as ctime_r writes it, without the line end) into
 * buffer of length bytes. false when the time cannot be converted or the
 * text does not fit; buffer then holds an empty text (when length > 0). */
VSDK_CXX_API bool _ctimeUW(char* buffer, long length, long time);

/* Writes text to stream, or to standard output when stream is null; nothing
 * for a null text. */
VSDK_CXX_API void _print(FILE* stream, const char* text);

/* ---- Restore of chosen search results, without library containers ---- */

/* A point in time (the fields of _QTime). Texts may be null. */
struct _QTimeSTLless {
    int unixTime;
    const char* startTime;
    const char* timeZone;
    int offset;
    int dsFlags;
};

/* The restore record of VSDKSearchRestore, passed by value. Texts may be
 * null (the field is then not sent); a text array holds `count` entries, any
 * of which may be null (skipped). */
struct _QRestoreParametersSTLless {
    const char* entityNames;
    int destClientId;
    const char* destClientName;
    const char* destPath;
    const char* destUserName;
    const char* destUserPassword;        /* never logged */
    int destInstanceId;
    int sourceClientId;
    const char* sourceClientName;
    const char* const* sourcePaths;
    int sourcePathCount;
    const char* const* filterPaths;
    int filterPathCount;
    long long options;
    int requestCode;
    int appId;
    const char* appName;
    int instanceId;
    const char* instanceName;
    int backupSetId;
    const char* backupSetName;
    int levelOfSOP;
    int sourceType;
    int currentUserId;
    int copyPrecedence;
    int streamCount;
    _QTimeSTLless fromTime;
    _QTimeSTLless toTime;
    _QTimeSTLless browseFrom;
    _QTimeSTLless browseTo;
    int jobStatus;
    int backupLevel;
    int useAgedData;
    int deviceFilesAsReg;
    int mediaAgentId;
    int drivePoolId;
    const char* suffix;
    const char* onDemandInputFile;
    const char* mapFile;
    int noMappingData;
    const char* extendedOptions;
    int destAppId;
    int priority;
    int alertId;
    const char* preCmd;
    const char* postCmd;
    const char* prePostUserName;
    const char* prePostUserPassword;     /* never logged */
    int startSuspended;
    int retryHours;
    int retryNo;
    long long sqlOptions;
};

/* One item chosen from search results. Both texts are required (an empty
 * string for none). */
struct _QSearchRestoreItem {
    int value1;
    int value2;
    long long value3;
    const char* text1;
    int appType;
    int appId;
    const char* text2;
};

/* Restores the first itemCount items of items; *jobId gets the job id (-1
 * after a server error). A null item array (itemCount > 0), a null text of an
 * item, a null text array with a count above 0, a text of 65,536 bytes or
 * more, or a null jobId gives 0x303 and sends nothing. */
VSDK_API unsigned long VSDKSearchRestore(_QRestoreParametersSTLless params,
                                         const _QSearchRestoreItem* items, int itemCount,
                                         long long* jobId);

#endif
