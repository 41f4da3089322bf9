// VSDKRestore and VSDKValidateRestore, the restore request they share with
// the browse listing, and the text dump of the restore record.
#include "Restore.h"

#include "JobStart.h"
#include "VSDKAPI/session/CallerIdentity.h"
#include "VSDKAPIGlobalData/TextConversion.h"
#include "VSDKErrors/ExportGuard.h"
#include "VSDKAPIUtils/RecordDump.h"

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

using namespace OrvaneOperations;

namespace {

// A character array travels up to its terminator, never past its end; a
// text of the record without library containers only when it is given.
template <class Text>
void putRecordText(CNMessageBase& m, FieldId f, const Text& text) {
    if constexpr (std::is_array_v<Text>) {
        msgf::putText(m, f, msgf::boundedText(text));
    } else if (text) {
        msgf::putText(m, f, callerText(text));
    }
}

void putRecordTime(CNMessageBase& m, FieldId f, const _QTime& time) {
    QTimeCopy<OrvaneOperations::QTime>(msgf::child<OrvaneOperations::QTime>(m, f), time);
}
void putRecordTime(CNMessageBase& m, FieldId f, const _QTimeSTLless& time) {
    QTimeCopy(msgf::child<OrvaneOperations::QTime>(m, f), time);
}

// Appends the non-null entries of a text array; the list stays unset when
// there are none.
void putTextArray(CNMessageBase& m, FieldId f, const char* const* texts, int count) {
    for (int i = 0; i < count; ++i) {
        if (texts[i]) msgf::appendText(m, f, callerText(texts[i]));
    }
}

// Both restore records fill the same fields in the same order; the record
// without library containers brings its own request code and text arrays.
template <class Record>
void putBody(CNMessageBase& r, const Record& p, bool jobFields) {
    constexpr bool kFromArrays = std::is_same_v<Record, _QRestoreParametersSTLless>;
    putRecordText(r, kRestoreEntityNames, p.entityNames);
    putRecordText(r, kRestoreDestClientName, p.destClientName);
    msgf::putInt(r, kRestoreDestClientId, p.destClientId);
    putRecordText(r, kRestoreDestPath, p.destPath);
    putRecordText(r, kRestoreDestUserName, p.destUserName);
    putRecordText(r, kRestoreDestUserPassword, p.destUserPassword);
    msgf::putInt(r, kRestoreSourceClientId, p.sourceClientId);
    putRecordText(r, kRestoreSourceClientName, p.sourceClientName);
    if constexpr (kFromArrays) {
        putTextArray(r, kRestoreSourcePaths, p.sourcePaths, p.sourcePathCount);
        putTextArray(r, kRestoreFilterPaths, p.filterPaths, p.filterPathCount);
    } else {
        msgf::putTextList(r, kRestoreSourcePaths, p.sourcePaths);
        msgf::putTextList(r, kRestoreFilterPaths, p.filterPaths);
    }
    msgf::putInt(r, kRestoreOptions, p.options);
    if constexpr (kFromArrays) {
        msgf::putInt(r, kRestoreRequestCode, p.requestCode);
    } else {
        msgf::putInt(r, kRestoreRequestCode, 2);
    }
    msgf::putInt(r, kRestoreAppId, p.appId);
    putRecordText(r, kRestoreAppName, p.appName);
    msgf::putInt(r, kRestoreInstanceId, p.instanceId);
    putRecordText(r, kRestoreInstanceName, p.instanceName);
    msgf::putInt(r, kRestoreBackupSetId, p.backupSetId);
    putRecordText(r, kRestoreBackupSetName, p.backupSetName);
    msgf::putInt(r, kRestoreLevelOfSOP, p.levelOfSOP);
    msgf::putInt(r, kRestoreSourceType, p.sourceType);
    msgf::putInt(r, kRestoreCurrentUserId, p.currentUserId);
    msgf::putInt(r, kRestoreCopyPrecedence, p.copyPrecedence);
    msgf::putInt(r, kRestoreStreamCount, p.streamCount);
    putRecordTime(r, kRestoreBrowseFrom, p.browseFrom);
    putRecordTime(r, kRestoreBrowseTo, p.browseTo);
    putRecordTime(r, kRestoreFromTime, p.fromTime);
    putRecordTime(r, kRestoreToTime, p.toTime);
    msgf::putInt(r, kRestoreJobStatus, p.jobStatus);
    msgf::putInt(r, kRestoreBackupLevel, p.backupLevel);
    msgf::putInt(r, kRestoreUseAgedData, p.useAgedData);
    msgf::putInt(r, kRestoreDeviceFilesAsReg, p.deviceFilesAsReg);
    msgf::putInt(r, kRestoreMediaAgentId, p.mediaAgentId);
    msgf::putInt(r, kRestoreDrivePoolId, p.drivePoolId);
    putRecordText(r, kRestoreSuffix, p.suffix);
    msgf::putInt(r, kRestoreDestAppId, p.destAppId);
    putRecordText(r, kRestoreExtendedOptions, p.extendedOptions);
    msgf::putInt(r, kRestorePriority, p.priority);
    msgf::putInt(r, kRestoreAlertId, p.alertId);
    putRecordText(r, kRestoreOnDemandInputFile, p.onDemandInputFile);
    putRecordText(r, kRestoreMapFile, p.mapFile);
    msgf::putInt(r, kRestoreNoMappingData, p.noMappingData);
    putRecordText(r, kRestorePreCmd, p.preCmd);
    putRecordText(r, kRestorePostCmd, p.postCmd);
    putRecordText(r, kRestorePrePostUserName, p.prePostUserName);
    putRecordText(r, kRestorePrePostUserPassword, p.prePostUserPassword);
    if (jobFields) {
        msgf::putInt(r, kRestoreDestInstanceId, p.destInstanceId);
        msgf::putInt(r, kRestoreStartSuspended, p.startSuspended);
    }
    msgf::putInt(r, kRestoreRetryNo, p.retryNo);
    msgf::putInt(r, kRestoreRetryHours, p.retryHours);
    msgf::putInt(r, kRestoreSqlOptions, p.sqlOptions);
}

using R = _QRestoreParameters;
using fieldrows::FieldRow;
using fieldrows::put;

// What a restore and a browse send after the shared body; NAS options travel
// zero-extended.
const FieldRow<R> kJobOnlyFields[] = {
    {kRestoreNasOptions, put<&R::nasOptions>},
    {kRestoreJobDescription, put<&R::jobDescription>},
    {kRestoreExtraTexts, put<&R::extraTexts>},
    {kRestoreXmlResult, fieldrows::putFlag<&R::xmlResult>},
};
using recorddump::DumpRow;
using recorddump::dump;
using recorddump::kLineEnd;

// The passwords and the extra texts are not written.
const DumpRow<R> kRestoreDump[] = {
    {"\nEntity Names:[", dump<&R::entityNames>, "]\n"},
    {"Destination Client Name:[", dump<&R::destClientName>, "]\n"},
    {"Destination Client ID:[", dump<&R::destClientId>, "]\n"},
    {"Destination Path:[", dump<&R::destPath>, "]\n"},
    {"Destination User Name:[", dump<&R::destUserName>, "]\n"},
    {"Source Client ID:[", dump<&R::sourceClientId>, "]\n"},
    {"Source Client Name:[", dump<&R::sourceClientName>, "]\n"},
    {"Source Paths:[", dump<&R::sourcePaths>, "]\n"},
    {"Filter Paths:[", dump<&R::filterPaths>, "]\n"},
    {"Options:[", dump<&R::options>, "]\n"},
    {"Application Id:[", dump<&R::appId>, "]\n"},
    {"Application Name:[", dump<&R::appName>, "]\n"},
    {"Instance Id:[", dump<&R::instanceId>, "]\n"},
    {"Instance Name:[", dump<&R::instanceName>, "]\n"},
    {"BackupSet Id:[", dump<&R::backupSetId>, "]\n"},
    {"BackupSet Name:[", dump<&R::backupSetName>, "]\n"},
    {"Level Of SOP:[", dump<&R::levelOfSOP>, "]\n"},
    {"Source Type:[", dump<&R::sourceType>, "]\n"},
    {"Current User Id:[", dump<&R::currentUserId>, "]\n"},
    {"Storage Policy Copy Precedence:[", dump<&R::copyPrecedence>, "]\n"},
    {"Stream Count:[", dump<&R::streamCount>, "]\n"},
    {"Browse From:[", dump<&R::browseFrom>, "]\n"},
    {"Browse To:[", dump<&R::browseTo>, "]\n"},
    {"From Time:[", dump<&R::fromTime>, "]\n"},
    {"To Time:[", dump<&R::toTime>, "]\n"},
    {"Job Status:[", dump<&R::jobStatus>, "]\n"},
    {"Backup Level:[", dump<&R::backupLevel>, "]\n"},
    {"Use Aged Data:[", dump<&R::useAgedData>, "]\n"},
    {"Device Files As Reg:[", dump<&R::deviceFilesAsReg>, "]\n"},
    {"Media Agent Id:[", dump<&R::mediaAgentId>, "]\n"},
    {"DrivepoolId:[", dump<&R::drivePoolId>, "]\n"},
    {"Suffix:[", dump<&R::suffix>, "]\n"},
    {"Destination Application Id:[", dump<&R::destAppId>, "]\n"},
    {"Extended Options:[", dump<&R::extendedOptions>, "]\n"},
    {"Priority:[", dump<&R::priority>, "]\n"},
    {"Alert Id:[", dump<&R::alertId>, "]\n"},
    {"On Demand Input File: [", dump<&R::onDemandInputFile>, "]\n"},
    {"Map File: [", dump<&R::mapFile>, "]\n"},
    {"No Mapping Data:[", dump<&R::noMappingData>, "]\n"},
    {"PreCmd:[", dump<&R::preCmd>, "]\n"},
    {"Post Cmd:[", dump<&R::postCmd>, "]\n"},
    {"Pre-Post User Name:[", dump<&R::prePostUserName>, "]\n"},
    {"Destination Instance Id:[", dump<&R::destInstanceId>, "]\n"},
    {"Start Suspended:[", dump<&R::startSuspended>, "]\n"},
    {"Retry Hours:[", dump<&R::retryHours>, "]\n"},
    {"Retry No:[", dump<&R::retryNo>, "]\n"},
    {"SQL Options:[", dump<&R::sqlOptions>, "]\n"},
    {"NAS Options:[", dump<&R::nasOptions>, "]\n"},
    {"Job Description:[", dump<&R::jobDescription, kLineEnd>, "]"},
};

}  // namespace

std::string callerText(const char* text) {
    return text ? std::string(text, strnlen(text, kMaxCallerText)) : std::string();
}

void QTimeCopy(CNMessageBase& timeObject, _QTimeSTLless time) {
    msgf::putInt(timeObject, msgf::kTimeUnix, time.unixTime);
    putRecordText(timeObject, msgf::kTimeStart, time.startTime);
    putRecordText(timeObject, msgf::kTimeZone, time.timeZone);
    msgf::putInt(timeObject, msgf::kTimeOffset, time.offset);
    msgf::putInt(timeObject, msgf::kTimeDsFlags, time.dsFlags);
}

void putRestoreBody(CNMessageBase& request, const _QRestoreParametersSTLless& params) {
    putBody(request, params, true);
}

void fillRestoreFields(VSDKAPIGlobalData& state, const _QRestoreParameters& p,
                       CNMessageBase& request, RestoreFields which) {
    fillSession(state, request, MultiDomain::Never);
    putBody(request, p, which == RestoreFields::Full);
    if (which == RestoreFields::Validation) return;
    fieldrows::putRows(request, kJobOnlyFields, p);
}

static unsigned long fillRestoreRequestUnguarded(const _QRestoreParameters& params,
                                                 QRestoreReqMsg& request) {
    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    fillRestoreFields(*state, params, request, RestoreFields::Full);
    return 0;
}

std::string _QRestoreParameters::c_str() const { return recorddump::dumpRows(kRestoreDump, *this); }

static unsigned long VSDKRestoreUnguarded(const _QRestoreParameters* params,
                                          _QJobStartInfo* result) {
    static const char* const kFunction = "VSDKRestore()";
    QRestoreReqMsg request;
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, kFunction, params, result)) return rc;
    logParameters(*state, kFunction, "Parameters of the Restore:%s", *params);

    fillRestoreFields(*state, *params, request, RestoreFields::Full);
    putCallerIdentity(*state, request, kRestoreCallerIdentity, kFunction,
                      "Restore failed to fetch UID info");

    return runJobStart(*state, OperationSpec{kFunction, "Restore"}, request,
                       result->jobId, {kFunction, 1, "Restore started with JobId:[%lld]"},
                       params->xmlResult != 0 ? &result->xmlText : nullptr, kRestoreRespXml);
}

static unsigned long VSDKValidateRestoreUnguarded(const _QRestoreParameters* params) {
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, nullptr, params)) return rc;
    QRestoreReqMsg inner;
    QValidateRestoreReqMsg request;
    fillRestoreFields(*state, *params, inner, RestoreFields::Validation);
    msgf::putObject(request, kValidateRestoreRequest, inner);

    const OperationSpec spec{nullptr, "Validation of Restore"};
    return runOperation(*state, spec, request, [](const CNMessageBase&) {});
}

// The exports: no exception leaves them.

unsigned long fillRestoreRequest(const _QRestoreParameters& params, QRestoreReqMsg& request) {
    return vsdkguard::guarded("fillRestoreRequest",
                              [&] { return fillRestoreRequestUnguarded(params, request); });
}

unsigned long VSDKRestore(const _QRestoreParameters* params, _QJobStartInfo* result) {
    return vsdkguard::guarded("VSDKRestore", [&] { return VSDKRestoreUnguarded(params, result); });
}

unsigned long VSDKValidateRestore(const _QRestoreParameters* params) {
    return vsdkguard::guarded("VSDKValidateRestore",
                              [&] { return VSDKValidateRestoreUnguarded(params); });
}
