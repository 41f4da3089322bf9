/* Database restore: the shared record, the option records of the Oracle,
 * Db2, Informix and SQL Server agents, and VSDKDBRestore.
 *
 * The caller fills one _QDBRestoreParameters; its application type decides
 * which of the four option records travels with the request.
 */
#ifndef VSDK_DBRESTORE_H
#define VSDK_DBRESTORE_H

#include "Common.h"
#include "Backup.h"

#include <string>
#include <vector>

/* ---- Oracle ------------------------------------------------------------ */

struct VSDK_EXPORT _QOracleRestoreParameters {
    char controlFilePath[1024] = {};
    _QTime fileTime;
    char startLSN[1024] = {};
    char endLSN[1024] = {};
    _QTime restoreFrom;
    _QTime restoreTime;
    char restoreTag[1024] = {};
    _QTime recoverFrom;
    _QTime recoverTime;
    int recoverSCN = 0;             /* dumped, never sent */
    char recoverText[1024] = {};    /* sent, never dumped */
    _QTime endLogTime;
    _QTime controlFileTime;
    int archiveLog = 0;
    int logTarget = 0;
    int streams = 0;
    int archiveGroupCopyPrecedence = 0;
    std::vector<std::string> sourcePaths;
    std::vector<std::string> redirectPaths;
    char renameAll[1024] = {};
    int resetLogs = 0;
    char duplicateToName[1024] = {};
    char duplicateToFile[1024] = {};
    char duplicateSkipTableSpaces[1024] = {};
    char duplicateLogFile[1024] = {};
    char passPhrase[1024] = {};     /* dumped as "****" */
    char spFilePath[1024] = {};
    char catalogConnectUser[1024] = {};
    char catalogConnectPassword[1024] = {};  /* never dumped */
    char catalogConnectService[1024] = {};
    long long options = 0;          /* QCL_OraclerestoreOptionMappings */
    char restoreScript[1024] = {};
    char connectString[1024] = {};
    char extendedOptions[1024] = {};
    char extraText[1025] = {};      /* sent, never dumped */
    int tableRestoreOptions = 0;    /* QCL_OraTableRestoreOptionsMappings */
    char databaseName[1024] = {};
    char dbClientName[1024] = {};
    char pFilePath[1024] = {};
    char stagingPath[1024] = {};
    int importOption = 0;           /* QCL_OraTableRestoreImportOptionsMappings */
    char importDbName[1024] = {};
    char clientName[1024] = {};
    std::vector<std::string> tableRestoreSourcePaths;
    int auxInsTableClientId = 0;
    int importClientId = 0;

    std::string c_str() const;
};

/* ---- Db2 --------------------------------------------------------------- */

struct VSDK_EXPORT _QDB2RestoreParameters {
    int runPostCmdAlways = 0;
    int destinationInstanceId = 0;
    int restoreMode = 0;
    int restoreType = 0;
    char targetDb[1024] = {};
    char targetPath[1024] = {};
    int startLSN = 0;
    int stopLSN = 0;
    char reportFile[1024] = {};
    int restoreBuffers = 0;
    int restoreBufferSize = 0;
    _QTime rollForwardTime;
    char rollForwardOverflowDir[1024] = {};
    char alternateLog[1024] = {};
    char timeStamp[1024] = {};
    _QTime startLogTime;
    _QTime endLogTime;
    int streams = 0;
    int archiveGroupCopyPrecedence = 0;
    std::vector<std::string> sourcePaths;
    char renameAll[1024] = {};
    long long options = 0;          /* QCL_DB2restoreOptionMappings */

    std::string c_str() const;
};

/* ---- Informix ---------------------------------------------------------- */

struct VSDK_EXPORT _QInformixRestoreParameters {
    int copyId = 0;
    _QTime restoreFrom;
    _QTime restoreTime;
    int streamCount = 0;
    int logicalLogNo = 0;
    std::vector<std::string> sourcePaths;
    long long options = 0;          /* QCL_InformixrestoreOptionMappings */

    std::string c_str() const;
};

/* ---- SQL Server -------------------------------------------------------- */

struct VSDK_EXPORT _QSQLDb {
    int id = 0;
    char name[1024] = {};

    std::string c_str() const;
};

struct VSDK_EXPORT _QSQLPhysicalFile {
    int id = 0;
    char name[1024] = {};

    std::string c_str() const;
};

struct VSDK_EXPORT _QSQLFile {
    int dbId = 0;
    int fileId = 0;
    char name[1024] = {};

    std::string c_str() const;
};

struct VSDK_EXPORT _QSQLRestoreParameters {
    std::vector<_QSQLDb> changedDbs;
    std::vector<_QSQLPhysicalFile> physicalFiles;
    std::vector<_QSQLFile> files;
    int multiDatabase = 0;
    char logMarkName[1024] = {};
    _QTime pointInTime;
    int backupSetId = 0;
    char undoPath[1024] = {};
    int copyNo = 0;
    int archiveGroupCopyPrecedence = 0;
    int systemDbFlag = 0;
    long long options = 0;          /* QCL_SQLrestoreOptionMappings */
    std::vector<std::string> unlabelledList;  /* sent with every database restore, never dumped */

    std::string c_str() const;
};

/* ---- The database restore record -------------------------------------- */

struct VSDK_EXPORT _QDBRestoreParameters {
    char preCmd[1024] = {};
    char postCmd[1024] = {};
    char prePostUserName[1024] = {};
    char prePostPassword[1024] = {};  /* never dumped */
    int mediaAgentId = 0;
    int drivePoolId = 0;
    int startSuspended = 0;
    int priority = 0;
    int fenmarkNo = 0;                /* dumped, never sent */
    int sourceClientId = 0;
    char sourceClientName[1024] = {};
    int destinationClientId = 0;
    char destinationClientName[1024] = {};
    int appTypeId = 0;
    char appmoduleName[1024] = {};
    int instanceId = 0;
    char instanceName[1024] = {};
    int backupSetId = 0;
    char backupSetName[1024] = {};
    int subclientId = 0;
    char subclientName[1024] = {};
    int alertId = 0;
    int retryHours = 0;
    int retryNo = 0;
    _QSQLRestoreParameters sqlParams;
    _QInformixRestoreParameters informixParams;
    _QDB2RestoreParameters db2Params;
    _QOracleRestoreParameters oracleParams;
    std::vector<std::string> jobDescription;
    int xmlResult = 0;                /* non-zero: return the reply's XML text */

    std::string c_str() const;
};

/* Starts a restore job of a database agent. The application type selects the
 * option record: 2, 22, 23, 80 Oracle; 3 Informix; 37, 62, 103 Db2; 4, 16, 70
 * SQL Server; any other type gives 0x10e and nothing is sent. */
VSDK_API unsigned long VSDKDBRestore(const _QDBRestoreParameters* params, _QJobStartInfo* result);

/* ---- Named values of the option fields (the library passes them through
 * unchanged). Each table ends with an entry whose name is empty: value 0 for
 * the bit sets, -1 for the two int32 tables of the Oracle table restore. --- */

static const QCL_OptionMapping QCL_OraclerestoreOptionMappings[] = {
    {1ULL << 0, "QR_ORA_RESTORE_RELOCATION"},
    {1ULL << 1, "QR_ORA_RESTORE_MODE"},
    {1ULL << 2, "QR_ORA_RESTORE_CONTROL_FILE"},
    {1ULL << 3, "QR_ORA_SPECIFY_CONTROL_FILE"},
    {1ULL << 4, "QR_ORA_RESTORE_VALIDATE"},
    {1ULL << 5, "QR_ORA_CONTROLFILE_AUTOBACKUP"},
    {1ULL << 6, "QR_ORA_CONTROLFILE_REPLICATE"},
    {1ULL << 7, "QR_ORA_SP_FILE"},
    {1ULL << 8, "QR_ORA_SP_FILE_AUTOBACKUP"},
    {1ULL << 9, "QR_ORA_SP_FILE_TIME"},
    {1ULL << 10, "QR_ORA_SPECIFY_SP_FILE"},
    {1ULL << 11, "QR_ORA_RESTORE_LOGS"},
    {1ULL << 12, "QR_ORA_START_LSN"},
    {1ULL << 13, "QR_ORA_END_LSN"},
    {1ULL << 14, "QR_ORA_RESTORE"},
    {1ULL << 15, "QR_ORA_RECOVER"},
    {1ULL << 16, "QR_ORA_START_LOG_TIME"},
    {1ULL << 17, "QR_ORA_NO_CATALOG"},
    {1ULL << 18, "QR_ORA_SPECIFY_CONTROL_FILE_TIME"},
    {1ULL << 19, "QR_ORA_START_LOG"},
    {1ULL << 20, "QR_ORA_END_LOG"},
    {1ULL << 21, "QR_ORA_CHECK_READONLY"},
    {1ULL << 22, "QR_ORA_RESET_DATABASE"},
    {1ULL << 23, "QR_ORA_DONOT_RECOVER_REDO_LOGS"},
    {1ULL << 24, "QR_ORA_OPEN_DATABASE"},
    {1ULL << 25, "QR_ORA_DUPLICATE"},
    {1ULL << 26, "QR_ORA_DUPLICATE_NOFILENAMECHECK"},
    {1ULL << 27, "QR_ORA_DUPLICATE_STANDBY"},
    {1ULL << 28, "QR_ORA_DUPLICATE_STANDBY_DO_RECOVER"},
    {1ULL << 29, "QR_ORA_DUPLICATE_TO"},
    {1ULL << 30, "QR_ORA_DUPLICATE_SKIP_READONLY"},
    {1ULL << 31, "QR_ORA_DUPLICATE_OPEN_RESTRICTED"},
    {1ULL << 32, "QR_ORA_DUPLICATE_SKIP_TABLESPACE"},
    {1ULL << 33, "QR_ORA_DUPLICATE_LOGFILE"},
    {1ULL << 34, "QR_ORA_RESTORE_MAXOPENFILES"},
    {0, ""},
};

static const QCL_OptionMapping QCL_OraTableRestoreOptionsMappings[] = {
    {4, "QR_ORA_IS_TABLE_RESTORE"},
    {1, "QR_ORA_AUXILIARY_INSTANCE"},
    {2, "QR_ORA_DROP_TABLE"},
    {static_cast<unsigned long long>(-1), ""},
};

static const QCL_OptionMapping QCL_OraTableRestoreImportOptionsMappings[] = {
    {0, "QR_ORA_DO_NOT_IMPORT"},
    {1, "QR_ORA_IMPORT_TO_SOURCE"},
    {2, "QR_ORA_IMPORT_TO_ANOTHER"},
    {static_cast<unsigned long long>(-1), ""},
};

static const QCL_OptionMapping QCL_DB2restoreOptionMappings[] = {
    {1ULL << 0, "QR_DB2_REDIRECT"},
    {1ULL << 1, "QR_DB2_ROLL_FORWARD_PENDING"},
    {1ULL << 2, "QR_DB2_REST_ARCHIVE_LOGS"},
    {1ULL << 3, "QR_DB2_ROLL_FORWARD"},
    {1ULL << 4, "QR_DB2_REST_INCREMENTAL"},
    {1ULL << 5, "QR_DB2_ARCHIVE_LOG_LSN"},
    {1ULL << 6, "QR_DB2_ARCHIVE_LOG_TIME"},
    {1ULL << 7, "QR_DB2_START_LSN"},
    {1ULL << 8, "QR_DB2_END_LSN"},
    {1ULL << 9, "QR_DB2_START_LOG"},
    {1ULL << 10, "QR_DB2_END_LOG"},
    {1ULL << 11, "QR_DB2_RF_TO_END"},
    {1ULL << 12, "QR_DB2_ARCHIVE_LOG_DIR"},
    {1ULL << 13, "QR_DB2_RESTORE_DATA"},
    {0, ""},
};

static const QCL_OptionMapping QCL_InformixrestoreOptionMappings[] = {
    {1ULL << 0, "QR_INFORMIX_WHOLE_SYS_DATA"},
    {1ULL << 1, "QR_INFORMIX_ENTIRE_DB"},
    {1ULL << 2, "QR_INFORMIX_PHYSICAL"},
    {1ULL << 3, "QR_INFORMIX_LOGICAL"},
    {1ULL << 4, "QR_INFORMIX_ONCONFIG"},
    {1ULL << 5, "QR_INFORMIX_ONBAR_BOOT"},
    {1ULL << 6, "QR_INFORMIX_COPYID_SPECIFIED"},
    {1ULL << 7, "QR_INFORMIX_MEDIA_PREDICTION"},
    {0, ""},
};

static const QCL_OptionMapping QCL_SQLrestoreOptionMappings[] = {
    {1ULL << 0, "QR_SQL_DBO_ONLY"},
    {1ULL << 1, "QR_SQL_OVERWRITE"},
    {1ULL << 2, "QR_SQL_STARTSERVER"},
    {1ULL << 3, "QR_SQL_POINT_OF_TIME_RST"},
    {1ULL << 4, "QR_SQL_STEP_RST"},
    {1ULL << 5, "QR_SQL_DB_STATE_RECOVER"},
    {1ULL << 6, "QR_SQL_DB_STATE_NORECOVER"},
    {1ULL << 7, "QR_SQL_DB_STATE_STANDBY"},
    {1ULL << 8, "QR_SQL_RECOVERYONLY"},
    {1ULL << 9, "QR_SQL_HOTSERVERRESTORE"},
    {1ULL << 10, "QR_SQL_DISCREET_TIME"},
    {1ULL << 11, "QR_SQL_STOPSTART_SSA"},
    {1ULL << 12, "QR_SQL_KEEPREPLICATION"},
    {1ULL << 13, "QR_SQL_STOPATMARK_RST"},
    {1ULL << 14, "QR_SQL_STOPBEFOREMARK_RST"},
    {0, ""},
};

#endif
