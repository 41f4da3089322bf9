// Starting a backup of one subclient, and asking the server whether it would
// accept one.
#include "JobStart.h"

#include "VSDK/Backup.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/CallerIdentity.h"
#include "VSDKAPIGlobalData/TextConversion.h"
#include "VSDKErrors/ExportGuard.h"

namespace {

using namespace OrvaneOperations;
using namespace fieldrows;
using BP = _QBackupParameters;
using Arch = _QCLArchiveLogParam;
using Path = _QDataPathInfo;

const FieldRow<Arch> kArchiveLogFields[] = {
    {kArchLogType, put<&Arch::logType>},
    {kArchLogOlderThan, put<&Arch::olderThan>},
    {kArchLogNotOlderThan, put<&Arch::notOlderThan>},
    {kArchLogStartTime, put<&Arch::startTime>},
    {kArchLogEndTime, put<&Arch::endTime>},
    {kArchLogInstanceLog, put<&Arch::instanceLog>},
    {kArchLogStartLSN, put<&Arch::startLSN>},
    {kArchLogEndLSN, put<&Arch::endLSN>},
    {kArchLogStartSCN, put<&Arch::startSCN>},
    {kArchLogEndSCN, put<&Arch::endSCN>},
    {kArchLogDeleteFiles, put<&Arch::deleteArchiveLogFiles>},
    {kArchLogSelected, put<&Arch::archiveLogSelected>},
    {kArchLogLikeExpression, put<&Arch::likeExpression>},
    {kArchLogDestinations, put<&Arch::archiveLogDestinations>},
};

const FieldRow<Path> kDataPathFields[] = {
    {kDataPathMediaAgents, put<&Path::mediaAgentIds>},
    {kDataPathLibraries, put<&Path::libraryIds>},
    {kDataPathDrivePools, put<&Path::drivePoolIds>},
    {kDataPathScratchPools, put<&Path::scratchPoolIds>},
};

const FieldRow<_QInstanceScript> kInstanceScriptFields[] = {
    {kScriptInstanceName, put<&_QInstanceScript::instanceName>},
    {kScriptName, put<&_QInstanceScript::scriptName>},
};

// The fields a backup and its validation both send, in the order they are set.
const FieldRow<BP> kBodyFields[] = {
    {kBackupKind, [](CNMessageBase& m, FieldId f, const BP&) { msgf::putInt(m, f, 2); }},
    {kBackupOptions, put<&BP::options>},
    {kBackupClientId, put<&BP::clientId>},
    {kBackupClientName, put<&BP::clientName>},
    {kBackupAppTypeId, put<&BP::appTypeId>},
    {kBackupAppName, put<&BP::appName>},
    {kBackupInstanceId, put<&BP::instanceId>},
    {kBackupInstanceName, put<&BP::instanceName>},
    {kBackupSetId, put<&BP::backupSetId>},
    {kBackupSetName, put<&BP::backupSetName>},
    {kBackupSubclientId, put<&BP::subclientId>},
    {kBackupSubclientName, put<&BP::subclientName>},
    {kBackupTaskPriority, put<&BP::taskPriority>},
    {kBackupExportLocation, put<&BP::exportLocation>},
    {kBackupTransitLocation, put<&BP::transitLocation>},
    {kBackupUseVMS, put<&BP::useVMS>},
    {kBackupMediaStatus, put<&BP::mediaStatus>},
    {kBackupIncrementLevel, put<&BP::incrementLevel>},
    {kBackupCumulative, put<&BP::cumulative>},
    {kBackupQrExecHostId, put<&BP::qrExecHostId>},
    {kBackupQrOptions, put<&BP::qrOptions>},
    {kBackupDescription, put<&BP::backupDescription>},
    // A text of its one character; a zero character is an empty text.
    {kBackupTransportableSnap,
     [](CNMessageBase& m, FieldId f, const BP& p) {
         msgf::putText(m, f, p.transportableSnap != 0 ? std::string(1, p.transportableSnap) : std::string());
     }},
    {kBackupSourceToDestination, put<&BP::sourceToDestination>},
    {kBackupExtendedOptions, put<&BP::extendedOptions>},
    {kBackupEntityNames, put<&BP::entityNames>},
    {kBackupOnDemandInputFile, put<&BP::onDemandInputFile>},
    {kBackupVssImportMap, put<&BP::vssImportMap>},
    {kBackupVssImportExecHost, put<&BP::vssImportExecHostName>},
    {kBackupRetryNumber, put<&BP::retryNumber>},
    {kBackupRetryHours, put<&BP::retryHours>},
    {kBackupDataScript, put<&BP::dataScript>},
    {kBackupLogScript, put<&BP::logScript>},
    {kBackupDataStreamCount, put<&BP::dataStreamCount>},
    {kBackupConnectString, put<&BP::connectString>},
    {kBackupLogStreamCount, put<&BP::logStreamCount>},
    {kBackupStoragePolicyId, put<&BP::storagePolicyId>},
    {kBackupStoragePolicyName, put<&BP::storagePolicyName>},
    {kBackupQrJobId, put<&BP::qrJobId>},
    // One script object per entry, in order.
    {kBackupInstanceScripts,
     [](CNMessageBase& m, FieldId f, const BP& p) {
         for (const _QInstanceScript& script : p.instanceScripts) {
             QOracleInstanceScript element;
             putRows(element, kInstanceScriptFields, script);
             msgf::appendObject(m, f, element);
         }
     }},
};

// What only a backup sends, after the shared body.
const FieldRow<BP> kBackupOnlyFields[] = {
    {kBackupAlertId, put<&BP::alertId>},
    {kBackupNasOptions, put<&BP::nasOptions>},
    {kBackupXmlResult, putFlag<&BP::xmlResult>},
    {kBackupDataPath, putObject<&BP::dataPath, QBackupDataPathMsg, kDataPathFields>},
    {kBackupFurtherText, put<&BP::furtherText>},
    {kBackupArchiveLogs, putObject<&BP::backupArchiveLogParams, QArchiveLogParamMsg, kArchiveLogFields>},
    {kBackupDeleteArchiveLogs,
     putObject<&BP::deleteArchiveLogParams, QArchiveLogParamMsg, kArchiveLogFields>},
    {kBackupRmanDiskRatio, put<&BP::rmanDiskRatio>},
    {kBackupCorruptionThreshold, put<&BP::corruptionThreshold>},
    {kBackupJobDescription, put<&BP::jobDescription>},
};

}  // namespace

static unsigned long VSDKBackupUnguarded(const _QBackupParameters* params, _QJobStartInfo* result) {
    QBackupInfoMsg request;
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, "VSDKBackup", params, result)) return rc;
    logParameters(*state, nullptr, "Parameters of the Backup Operation:%s", *params);

    fillSession(*state, request, MultiDomain::Never);
    putRows(request, kBodyFields, *params);
    putRows(request, kBackupOnlyFields, *params);
    putCallerIdentity(*state, request, kBackupCallerIdentity, "VSDKBackup",
                      "backup failed to fetch UID info");

    return runJobStart(*state, OperationSpec{nullptr, "Backup"}, request,
                       result->jobId, {nullptr, 1, "Backup started with JobId:[%lld]"},
                       params->xmlResult != 0 ? &result->xmlText : nullptr, kBackupRespXml);
}

static unsigned long VSDKValidateBackupUnguarded(const _QBackupParameters* params) {
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, "VSDKValidateBackup", params)) return rc;
    QBackupInfoMsg inner;
    QValidateBackupInfoMsg request;

    fillSession(*state, inner, MultiDomain::Never);
    putRows(inner, kBodyFields, *params);
    msgf::putObject(request, kValidateBackupRequest, inner);

    OperationSpec spec{nullptr, "Validation of BackupSet"};
    spec.storeErrorTextOnSuccess = true;
    return runOperation(*state, spec, request, [](const CNMessageBase&) {});
}

// The exports: no exception leaves them.

VSDK_API unsigned long VSDKBackup(const _QBackupParameters* params, _QJobStartInfo* result) {
    return vsdkguard::guarded("VSDKBackup", [&] { return VSDKBackupUnguarded(params, result); });
}

VSDK_API unsigned long VSDKValidateBackup(const _QBackupParameters* params) {
    return vsdkguard::guarded("VSDKValidateBackup",
                              [&] { return VSDKValidateBackupUnguarded(params); });
}
