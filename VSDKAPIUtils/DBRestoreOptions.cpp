#include "DBRestoreOptions.h"
#include "RecordDump.h"

using namespace fieldrows;
using namespace recorddump;
namespace oo = OrvaneOperations;

namespace {

// ---- Oracle ----------------------------------------------------------------

using Ora = _QOracleRestoreParameters;

// Field 10 of the option object is never set: the recover SCN is dumped only.
// The restore script, connect string and extended options travel as their
// text, like every other text field; the 1025-byte extra text is read with
// its own bound.
const FieldRow<Ora> kOracleFields[] = {
    {oo::oracleopt::kControlFilePath, put<&Ora::controlFilePath>},
    {oo::oracleopt::kFileTime, put<&Ora::fileTime>},
    {oo::oracleopt::kStartLSN, put<&Ora::startLSN>},
    {oo::oracleopt::kEndLSN, put<&Ora::endLSN>},
    {oo::oracleopt::kRestoreFrom, put<&Ora::restoreFrom>},
    {oo::oracleopt::kRestoreTime, put<&Ora::restoreTime>},
    {oo::oracleopt::kRestoreTag, put<&Ora::restoreTag>},
    {oo::oracleopt::kRecoverFrom, put<&Ora::recoverFrom>},
    {oo::oracleopt::kRecoverTime, put<&Ora::recoverTime>},
    {oo::oracleopt::kRecoverText, put<&Ora::recoverText>},
    {oo::oracleopt::kEndLogTime, put<&Ora::endLogTime>},
    {oo::oracleopt::kControlFileTime, put<&Ora::controlFileTime>},
    {oo::oracleopt::kArchiveLog, put<&Ora::archiveLog>},
    {oo::oracleopt::kLogTarget, put<&Ora::logTarget>},
    {oo::oracleopt::kStreams, put<&Ora::streams>},
    {oo::oracleopt::kArchiveGroupCopyPrecedence, put<&Ora::archiveGroupCopyPrecedence>},
    {oo::oracleopt::kSourcePaths, put<&Ora::sourcePaths>},
    {oo::oracleopt::kRedirectPaths, put<&Ora::redirectPaths>},
    {oo::oracleopt::kRenameAll, put<&Ora::renameAll>},
    {oo::oracleopt::kResetLogs, put<&Ora::resetLogs>},
    {oo::oracleopt::kDuplicateToName, put<&Ora::duplicateToName>},
    {oo::oracleopt::kDuplicateToFile, put<&Ora::duplicateToFile>},
    {oo::oracleopt::kDuplicateSkipTableSpaces, put<&Ora::duplicateSkipTableSpaces>},
    {oo::oracleopt::kDuplicateLogFile, put<&Ora::duplicateLogFile>},
    {oo::oracleopt::kOptions, put<&Ora::options>},
    {oo::oracleopt::kPassPhrase, put<&Ora::passPhrase>},
    {oo::oracleopt::kSpFilePath, put<&Ora::spFilePath>},
    {oo::oracleopt::kCatalogConnectUser, put<&Ora::catalogConnectUser>},
    {oo::oracleopt::kCatalogConnectPassword, put<&Ora::catalogConnectPassword>},
    {oo::oracleopt::kCatalogConnectService, put<&Ora::catalogConnectService>},
    {oo::oracleopt::kRestoreScript, put<&Ora::restoreScript>},
    {oo::oracleopt::kConnectString, put<&Ora::connectString>},
    {oo::oracleopt::kExtendedOptions, put<&Ora::extendedOptions>},
    {oo::oracleopt::kExtraText, put<&Ora::extraText>},
    {oo::oracleopt::kTableRestoreOptions, put<&Ora::tableRestoreOptions>},
    {oo::oracleopt::kDatabaseName, put<&Ora::databaseName>},
    {oo::oracleopt::kDbClientName, put<&Ora::dbClientName>},
    {oo::oracleopt::kPFilePath, put<&Ora::pFilePath>},
    {oo::oracleopt::kStagingPath, put<&Ora::stagingPath>},
    {oo::oracleopt::kImportDbName, put<&Ora::importDbName>},
    {oo::oracleopt::kImportOption, put<&Ora::importOption>},
    {oo::oracleopt::kClientName, put<&Ora::clientName>},
    {oo::oracleopt::kTableRestoreSourcePaths, put<&Ora::tableRestoreSourcePaths>},
    {oo::oracleopt::kAuxInsTableClientId, put<&Ora::auxInsTableClientId>},
    {oo::oracleopt::kImportClientId, put<&Ora::importClientId>},
};

// The pass phrase is masked; the catalog connect password, the recover text
// and the extra text are not written.
const DumpRow<Ora> kOracleDump[] = {
    {"\nControl File Path:[", dump<&Ora::controlFilePath>, "]\n"},
    {"File Time:", dump<&Ora::fileTime>, ""},
    {"Start LSN No:[", dump<&Ora::startLSN>, "]\n"},
    {"End LSN No.:[", dump<&Ora::endLSN>, "]\n"},
    {"Restore From:", dump<&Ora::restoreFrom>, ""},
    {"Restore Time:", dump<&Ora::restoreTime>, ""},
    {"Restore Tag:[", dump<&Ora::restoreTag>, "]\n"},
    {"Recover From:", dump<&Ora::recoverFrom>, ""},
    {"Recover Time:", dump<&Ora::recoverTime>, ""},
    {"Recover SCN:[", dump<&Ora::recoverSCN>, "]\n"},
    {"End Log Time:", dump<&Ora::endLogTime>, ""},
    {"Control File Time:", dump<&Ora::controlFileTime>, ""},
    {"Archive Log:[", dump<&Ora::archiveLog>, "]\n"},
    {"Log Target:[", dump<&Ora::logTarget>, "]\n"},
    {"No of Streams:[", dump<&Ora::streams>, "]\n"},
    {"Archive Group Copy Precedence:[", dump<&Ora::archiveGroupCopyPrecedence>, "]\n"},
    {"Rename All:[", dump<&Ora::renameAll>, "]\n"},
    {"Reset Logs:[", dump<&Ora::resetLogs>, "]\n"},
    {"Duplicate To Name:[", dump<&Ora::duplicateToName>, "]\n"},
    {"Duplicate to File: [", dump<&Ora::duplicateToFile>, "]\n"},
    {"Duplicate to Skip Table Spaces:[", dump<&Ora::duplicateSkipTableSpaces>, "]\n"},
    {"Duplicate to Log File: [", dump<&Ora::duplicateLogFile>, "]\n"},
    {"Pass Phrase:[", masked<Ora>, "]\n"},
    {"SP File Path:[", dump<&Ora::spFilePath>, "]\n"},
    {"Catalog Connect User:[", dump<&Ora::catalogConnectUser>, "]\n"},
    {"Catalog Connect Service:[", dump<&Ora::catalogConnectService>, "]\n"},
    {"Options:[", dump<&Ora::options>, "]\n"},
    {"Restore Script:[", dump<&Ora::restoreScript>, "]\n"},
    {"Connect String:[", dump<&Ora::connectString>, "]\n"},
    {"Extended Options:[", dump<&Ora::extendedOptions>, "]\n"},
    {"Table Restore Options:[", dump<&Ora::tableRestoreOptions>, "]\n"},
    {"Data Base Name:[", dump<&Ora::databaseName>, "]\n"},
    {"DB Client Name:[", dump<&Ora::dbClientName>, "]\n"},
    {"Aux Ins Table Client ID:[", dump<&Ora::auxInsTableClientId>, "]\n"},
    {"PFilePath :[", dump<&Ora::pFilePath>, "]\n"},
    {"Staging Path:[", dump<&Ora::stagingPath>, "]\n"},
    {"Import Option:[", dump<&Ora::importOption>, "]\n"},
    {"Import DB Name:[", dump<&Ora::importDbName>, "]\n"},
    {"Client Name:[", dump<&Ora::clientName>, "]\n"},
    {"Import Client Id:[", dump<&Ora::importClientId>, "]"},
    {"Table Restore Source Paths:[", dump<&Ora::tableRestoreSourcePaths>, "]\n"},
    {"\nSource Paths:[", dump<&Ora::sourcePaths>, "]\n"},
    {"Redirect Paths:[", dump<&Ora::redirectPaths>, "]"},
};

// ---- Db2 -------------------------------------------------------------------

using Db2 = _QDB2RestoreParameters;

const FieldRow<Db2> kDb2Fields[] = {
    {oo::db2opt::kRunPostCmdAlways, put<&Db2::runPostCmdAlways>},
    {oo::db2opt::kDestinationInstanceId, put<&Db2::destinationInstanceId>},
    {oo::db2opt::kRestoreMode, put<&Db2::restoreMode>},
    {oo::db2opt::kRestoreType, put<&Db2::restoreType>},
    {oo::db2opt::kTargetDb, put<&Db2::targetDb>},
    {oo::db2opt::kTargetPath, put<&Db2::targetPath>},
    {oo::db2opt::kStartLSN, put<&Db2::startLSN>},
    {oo::db2opt::kStopLSN, put<&Db2::stopLSN>},
    {oo::db2opt::kReportFile, put<&Db2::reportFile>},
    {oo::db2opt::kRestoreBuffers, put<&Db2::restoreBuffers>},
    {oo::db2opt::kRestoreBufferSize, put<&Db2::restoreBufferSize>},
    {oo::db2opt::kRollForwardTime, put<&Db2::rollForwardTime>},
    {oo::db2opt::kRollForwardOverflowDir, put<&Db2::rollForwardOverflowDir>},
    {oo::db2opt::kAlternateLog, put<&Db2::alternateLog>},
    {oo::db2opt::kTimeStamp, put<&Db2::timeStamp>},
    {oo::db2opt::kStartLogTime, put<&Db2::startLogTime>},
    {oo::db2opt::kEndLogTime, put<&Db2::endLogTime>},
    {oo::db2opt::kStreams, put<&Db2::streams>},
    {oo::db2opt::kArchiveGroupCopyPrecedence, put<&Db2::archiveGroupCopyPrecedence>},
    {oo::db2opt::kSourcePaths, put<&Db2::sourcePaths>},
    {oo::db2opt::kRenameAll, put<&Db2::renameAll>},
    {oo::db2opt::kOptions, put<&Db2::options>},
};

const DumpRow<Db2> kDb2Dump[] = {
    {"\nRun Post Command Always:[", dump<&Db2::runPostCmdAlways>, "]\n"},
    {"Destination Instance Id:[", dump<&Db2::destinationInstanceId>, "]\n"},
    {"Restore Mode:[", dump<&Db2::restoreMode>, "]\n"},
    {"Restore Type:[", dump<&Db2::restoreType>, "]\n"},
    {"Target Db:[", dump<&Db2::targetDb>, "]\n"},
    {"Target Path:[", dump<&Db2::targetPath>, "]\n"},
    {"Start LSN no. :[", dump<&Db2::startLSN>, "]\n"},
    {"Stop LSN no. :[", dump<&Db2::stopLSN>, "]\n"},
    {"Report File: [", dump<&Db2::reportFile>, "]\n"},
    {"Restore Buffers:[", dump<&Db2::restoreBuffers>, "]\n"},
    {"Restore Buffer Size:[", dump<&Db2::restoreBufferSize>, "]\n"},
    {"Roll Forward Time:[", dump<&Db2::rollForwardTime>, "]\n"},
    {"Roll Forward Overflow Directory:[", dump<&Db2::rollForwardOverflowDir>, "]\n"},
    {"Alternate Log:[", dump<&Db2::alternateLog>, "]\n"},
    {"Time Stamp:[", dump<&Db2::timeStamp>, "]\n"},
    {"Start Log Time:[", dump<&Db2::startLogTime>, "]\n"},
    {"End Log Time:[", dump<&Db2::endLogTime>, "]\n"},
    {"No. of streams:[", dump<&Db2::streams>, "]\n"},
    {"Archive Group Copy Precedence:[", dump<&Db2::archiveGroupCopyPrecedence>, "]\n"},
    {"Rename All:[", dump<&Db2::renameAll>, "]\n"},
    {"Options:[", dump<&Db2::options>, "]\n"},
    {"Source Paths:[", dump<&Db2::sourcePaths>, "]\n"},
};

// ---- Informix --------------------------------------------------------------

using Ifx = _QInformixRestoreParameters;

const FieldRow<Ifx> kInformixFields[] = {
    {oo::informixopt::kCopyId, put<&Ifx::copyId>},
    {oo::informixopt::kRestoreFrom, put<&Ifx::restoreFrom>},
    {oo::informixopt::kRestoreTime, put<&Ifx::restoreTime>},
    {oo::informixopt::kStreamCount, put<&Ifx::streamCount>},
    {oo::informixopt::kLogicalLogNo, put<&Ifx::logicalLogNo>},
    {oo::informixopt::kSourcePaths, put<&Ifx::sourcePaths>},
    {oo::informixopt::kOptions, put<&Ifx::options>},
};

const DumpRow<Ifx> kInformixDump[] = {
    {"\nCopy ID:[", dump<&Ifx::copyId>, "]\n"},
    {"Restore From:[", dump<&Ifx::restoreFrom>, "]\n"},
    {"Restore Time:[", dump<&Ifx::restoreTime>, "]\n"},
    {"Stream Count:[", dump<&Ifx::streamCount>, "]\n"},
    {"Logical Log No:[", dump<&Ifx::logicalLogNo>, "]\n"},
    {"Source Paths:[", dump<&Ifx::sourcePaths>, "]\n"},
    {"Options:[", dump<&Ifx::options>, "]"},
};

// ---- SQL Server ------------------------------------------------------------

using Sql = _QSQLRestoreParameters;

const FieldRow<Sql> kSqlFields[] = {
    {oo::sqlopt::kMultiDatabase, put<&Sql::multiDatabase>},
    {oo::sqlopt::kLogMarkName, put<&Sql::logMarkName>},
    {oo::sqlopt::kPointInTime, put<&Sql::pointInTime>},
    {oo::sqlopt::kBackupSetId, put<&Sql::backupSetId>},
    {oo::sqlopt::kUndoPath, put<&Sql::undoPath>},
    {oo::sqlopt::kCopyNo, put<&Sql::copyNo>},
    {oo::sqlopt::kArchiveGroupCopyPrecedence, put<&Sql::archiveGroupCopyPrecedence>},
    {oo::sqlopt::kSystemDbFlag, put<&Sql::systemDbFlag>},
    {oo::sqlopt::kOptions, put<&Sql::options>},
};

// The entries of the SQL Server lists, each on a line of its own.
const DumpRow<_QSQLDb> kSqlDbDump[] = {
    {"\nId:[", dump<&_QSQLDb::id>, "]"},
    {"\tName:[", dump<&_QSQLDb::name>, "]"},
};
const DumpRow<_QSQLPhysicalFile> kSqlPhysicalFileDump[] = {
    {"\nId:[", dump<&_QSQLPhysicalFile::id>, "]"},
    {"\tName:[", dump<&_QSQLPhysicalFile::name>, "]"},
};
const DumpRow<_QSQLFile> kSqlFileDump[] = {
    {"\nDb Id:[", dump<&_QSQLFile::dbId>, "]"},
    {"\tFile Id:[", dump<&_QSQLFile::fileId>, "]"},
    {"\tName:[", dump<&_QSQLFile::name>, "]"},
};


// The unlabelled string list is not written.
const DumpRow<Sql> kSqlDump[] = {
    {"\nSQL Info:", nullptr, ""},
    {"\nSQL Changed DB:", dump<&Sql::changedDbs, kNothing>, ""},
    {"\nSQL Physical File: ", dump<&Sql::physicalFiles, kNothing>, ""},
    {"\nChanged Files:", dump<&Sql::files, kNothing>, ""},
    {"Multi Database:[", dump<&Sql::multiDatabase>, "]\n"},
    {"Log Mark Name:[", dump<&Sql::logMarkName>, "]\n"},
    {"Unix Time:", dump<&Sql::pointInTime>, ""},
    {"BackupSet ID:[", dump<&Sql::backupSetId>, "]\n"},
    {"Undo Path:[", dump<&Sql::undoPath>, "]\n"},
    {"Copy No.:[", dump<&Sql::copyNo>, "]\n"},
    {"Arch Group Copy Precedence:[", dump<&Sql::archiveGroupCopyPrecedence>, "]\n"},
    {"System Db Flag:[", dump<&Sql::systemDbFlag>, "]\n"},
    {"Options:[", dump<&Sql::options>, "]"},
};

// Element lists: one element message per entry, in order, appended to the
// list (which is made with its first element; no entries leave it absent).
template <class Msg, class Entry, std::size_t N>
void appendEntries(CNMessageBase& options, FieldId list, const std::vector<Entry>& entries,
                   const FieldRow<Entry> (&rows)[N]) {
    for (const Entry& entry : entries) {
        Msg element;
        putRows(element, rows, entry);
        msgf::appendObject(options, list, element);
    }
}

const FieldRow<_QSQLDb> kSqlDbFields[] = {
    {oo::sqlopt::kEntryId, put<&_QSQLDb::id>},
    {oo::sqlopt::kEntryName, put<&_QSQLDb::name>},
};
const FieldRow<_QSQLPhysicalFile> kSqlPhysicalFileFields[] = {
    {oo::sqlopt::kEntryId, put<&_QSQLPhysicalFile::id>},
    {oo::sqlopt::kEntryName, put<&_QSQLPhysicalFile::name>},
};
const FieldRow<_QSQLFile> kSqlFileFields[] = {
    {oo::sqlopt::kFileDbId, put<&_QSQLFile::dbId>},
    {oo::sqlopt::kFileFileId, put<&_QSQLFile::fileId>},
    {oo::sqlopt::kFileName, put<&_QSQLFile::name>},
};

}  // namespace

void GetOracleParams(CNMessageBase& options, _QOracleRestoreParameters params) {
    putRows(options, kOracleFields, params);
}

void GetDB2Params(CNMessageBase& options, _QDB2RestoreParameters params) {
    putRows(options, kDb2Fields, params);
}

void GetInformixParams(CNMessageBase& options, _QInformixRestoreParameters params) {
    putRows(options, kInformixFields, params);
}

void GetSQLParams(CNMessageBase& options, _QSQLRestoreParameters params) {
    putRows(options, kSqlFields, params);
    appendEntries<oo::QSQLDb>(options, oo::sqlopt::kChangedDbs, params.changedDbs, kSqlDbFields);
    appendEntries<oo::QSQLPhysicalFile>(options, oo::sqlopt::kPhysicalFiles,
                                        params.physicalFiles, kSqlPhysicalFileFields);
    appendEntries<oo::QSQLFile>(options, oo::sqlopt::kFiles, params.files, kSqlFileFields);
}

std::string _QOracleRestoreParameters::c_str() const { return dumpRows(kOracleDump, *this); }
std::string _QDB2RestoreParameters::c_str() const { return dumpRows(kDb2Dump, *this); }
std::string _QInformixRestoreParameters::c_str() const { return dumpRows(kInformixDump, *this); }
std::string _QSQLRestoreParameters::c_str() const { return dumpRows(kSqlDump, *this); }

std::string _QSQLDb::c_str() const { return dumpRows(kSqlDbDump, *this); }
std::string _QSQLPhysicalFile::c_str() const { return dumpRows(kSqlPhysicalFileDump, *this); }
std::string _QSQLFile::c_str() const { return dumpRows(kSqlFileDump, *this); }
