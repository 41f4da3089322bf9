// Starting a backup of one subclient, and asking the server whether it would
// accept one.
#include "JobStart.h"

#include "VSDK/Backup.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/CallerIdentity.h"
#include "VSDKAPIGlobalData/TextConversion.h"
#include "VSDKErrors/ExportGuard.h"

namespace {

using namespace OrvaneOperations;
using msgf::putInt;
using msgf::putText;

// "Transportable Snap" travels as a text of its one character; a zero
// character is an empty text.
std::string snapText(char c) { return c != 0 ? std::string(1, c) : std::string(); }

// The fields a backup and its validation both send. Text fields travel up to
// their terminator, never past the end of their array.
void putBackupBody(CNMessageBase& req, const _QBackupParameters& p) {
    putInt(req, kBackupKind, 2);
    putInt(req, kBackupOptions, p.options);
    putInt(req, kBackupClientId, p.clientId);
    putText(req, kBackupClientName, p.clientName);
    putInt(req, kBackupAppTypeId, p.appTypeId);
    putText(req, kBackupAppName, p.appName);
    putInt(req, kBackupInstanceId, p.instanceId);
    putText(req, kBackupInstanceName, p.instanceName);
    putInt(req, kBackupSetId, p.backupSetId);
    putText(req, kBackupSetName, p.backupSetName);
    putInt(req, kBackupSubclientId, p.subclientId);
    putText(req, kBackupSubclientName, p.subclientName);
    putInt(req, kBackupTaskPriority, p.taskPriority);
    putInt(req, kBackupExportLocation, p.exportLocation);
    putInt(req, kBackupTransitLocation, p.transitLocation);
    putInt(req, kBackupUseVMS, p.useVMS);
    putInt(req, kBackupMediaStatus, p.mediaStatus);
    putInt(req, kBackupIncrementLevel, p.incrementLevel);
    putInt(req, kBackupCumulative, p.cumulative);
    putInt(req, kBackupQrExecHostId, p.qrExecHostId);
    putInt(req, kBackupQrOptions, p.qrOptions);
    putText(req, kBackupDescription, p.backupDescription);
    putText(req, kBackupTransportableSnap, snapText(p.transportableSnap));
    putText(req, kBackupSourceToDestination, p.sourceToDestination);
    putText(req, kBackupExtendedOptions, p.extendedOptions);
    putText(req, kBackupEntityNames, p.entityNames);
    putText(req, kBackupOnDemandInputFile, p.onDemandInputFile);
    putText(req, kBackupVssImportMap, p.vssImportMap);
    putText(req, kBackupVssImportExecHost, p.vssImportExecHostName);
    putInt(req, kBackupRetryNumber, p.retryNumber);
    putInt(req, kBackupRetryHours, p.retryHours);
    putText(req, kBackupDataScript, p.dataScript);
    putText(req, kBackupLogScript, p.logScript);
    putInt(req, kBackupDataStreamCount, p.dataStreamCount);
    putText(req, kBackupConnectString, p.connectString);
    putInt(req, kBackupLogStreamCount, p.logStreamCount);
    putInt(req, kBackupStoragePolicyId, p.storagePolicyId);
    putText(req, kBackupStoragePolicyName, p.storagePolicyName);
    putInt(req, kBackupQrJobId, p.qrJobId);
    for (const _QInstanceScript& s : p.instanceScripts) {
        QOracleInstanceScript element;
        putText(element, kScriptInstanceName, s.instanceName);
        putText(element, kScriptName, s.scriptName);
        msgf::appendObject(req, kBackupInstanceScripts, element);
    }
}

void putDataPath(CNMessageBase& req, const _QDataPathInfo& path) {
    CNMessageBase& o = msgf::child<QBackupDataPathMsg>(req, kBackupDataPath);
    msgf::putIntList(o, kDataPathMediaAgents, path.mediaAgentIds);
    msgf::putIntList(o, kDataPathLibraries, path.libraryIds);
    msgf::putIntList(o, kDataPathDrivePools, path.drivePoolIds);
    msgf::putIntList(o, kDataPathScratchPools, path.scratchPoolIds);
}

void putArchiveLogs(CNMessageBase& req, FieldId field, const _QCLArchiveLogParam& a) {
    CNMessageBase& o = msgf::child<QArchiveLogParamMsg>(req, field);
    putInt(o, kArchLogType, a.logType);
    putInt(o, kArchLogOlderThan, a.olderThan);
    putInt(o, kArchLogNotOlderThan, a.notOlderThan);
    QTimeCopy<QTime>(msgf::child<QTime>(o, kArchLogStartTime), a.startTime);
    QTimeCopy<QTime>(msgf::child<QTime>(o, kArchLogEndTime), a.endTime);
    putInt(o, kArchLogInstanceLog, a.instanceLog);
    putInt(o, kArchLogStartLSN, a.startLSN);
    putInt(o, kArchLogEndLSN, a.endLSN);
    putInt(o, kArchLogStartSCN, a.startSCN);
    putInt(o, kArchLogEndSCN, a.endSCN);
    putInt(o, kArchLogDeleteFiles, a.deleteArchiveLogFiles);
    putInt(o, kArchLogSelected, a.archiveLogSelected);
    putText(o, kArchLogLikeExpression, a.likeExpression);
    msgf::putTextList(o, kArchLogDestinations, a.archiveLogDestinations);
}

}  // namespace

static unsigned long VSDKBackupUnguarded(const _QBackupParameters* params, _QJobStartInfo* result) {
    QBackupInfoMsg request;
    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    if (!params || !result) return invalidArgument(*state, "VSDKBackup");
    state->getEvDebug().debugLvl(6, "Parameters of the Backup Operation:%s",
                                 params->c_str().c_str());

    fillSession(*state, request, MultiDomain::Never);
    putBackupBody(request, *params);
    putInt(request, kBackupAlertId, params->alertId);
    putInt(request, kBackupNasOptions, params->nasOptions);
    msgf::putFlag(request, kBackupXmlResult, params->xmlResult);
    putDataPath(request, params->dataPath);
    putText(request, kBackupFurtherText, params->furtherText);
    putArchiveLogs(request, kBackupArchiveLogs, params->backupArchiveLogParams);
    putArchiveLogs(request, kBackupDeleteArchiveLogs, params->deleteArchiveLogParams);
    putInt(request, kBackupRmanDiskRatio, params->rmanDiskRatio);
    putInt(request, kBackupCorruptionThreshold, params->corruptionThreshold);
    msgf::putTextList(request, kBackupJobDescription, params->jobDescription);
    putCallerIdentity(*state, request, kBackupCallerIdentity, "VSDKBackup",
                      "backup failed to fetch UID info");

    return runJobStart(*state, OperationSpec{nullptr, "Backup"}, request,
                       result->jobId, {nullptr, 1, "Backup started with JobId:[%lld]"},
                       params->xmlResult != 0 ? &result->xmlText : nullptr, kBackupRespXml);
}

static unsigned long VSDKValidateBackupUnguarded(const _QBackupParameters* params) {
    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    if (!params) return invalidArgument(*state, "VSDKValidateBackup");
    QBackupInfoMsg inner;
    QValidateBackupInfoMsg request;

    fillSession(*state, inner, MultiDomain::Never);
    putBackupBody(inner, *params);
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
