// VSDKRestore and VSDKValidateRestore, the restore request they share with
// the browse listing, and the text dump of the restore record.
#include "Restore.h"

#include "JobStart.h"
#include "VSDKAPI/session/CallerIdentity.h"
#include "VSDKAPIGlobalData/TextConversion.h"
#include "VSDKErrors/ExportGuard.h"

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

std::string joined(const std::vector<std::string>& values, const char* separator) {
    std::string out;
    for (const std::string& v : values) {
        out += v;
        out += separator;
    }
    return out;
}

std::string converted(const std::string& in) {
    std::string out;
    qConvertStr2qwstr(out, in);
    return out;
}

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
    // NAS options travel zero-extended.
    msgf::putInt(request, kRestoreNasOptions, static_cast<long long>(p.nasOptions));
    msgf::putTextList(request, kRestoreJobDescription, p.jobDescription);
    msgf::putTextList(request, kRestoreExtraTexts, p.extraTexts);
    msgf::putFlag(request, kRestoreXmlResult, p.xmlResult);
}

static unsigned long fillRestoreRequestUnguarded(const _QRestoreParameters& params,
                                                 QRestoreReqMsg& request) {
    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    fillRestoreFields(*state, params, request, RestoreFields::Full);
    return 0;
}

std::string _QRestoreParameters::c_str() const {
    using msgf::boundedText;
    auto num = [](long long v) { return numberToqwString(v); };
    std::string s;
    s += "\nEntity Names:[" + boundedText(entityNames) + "]\n";
    s += "Destination Client Name:[" + boundedText(destClientName) + "]\n";
    s += "Destination Client ID:[" + num(destClientId) + "]\n";
    s += "Destination Path:[" + boundedText(destPath) + "]\n";
    s += "Destination User Name:[" + boundedText(destUserName) + "]\n";
    s += "Source Client ID:[" + num(sourceClientId) + "]\n";
    s += "Source Client Name:[" + boundedText(sourceClientName) + "]\n";
    s += "Source Paths:[" + joined(sourcePaths, " ") + "]\n";
    s += "Filter Paths:[" + joined(filterPaths, " ") + "]\n";
    s += "Options:[" + num(options) + "]\n";
    s += "Application Id:[" + num(appId) + "]\n";
    s += "Application Name:[" + boundedText(appName) + "]\n";
    s += "Instance Id:[" + num(instanceId) + "]\n";
    s += "Instance Name:[" + boundedText(instanceName) + "]\n";
    s += "BackupSet Id:[" + num(backupSetId) + "]\n";
    s += "BackupSet Name:[" + boundedText(backupSetName) + "]\n";
    s += "Level Of SOP:[" + num(levelOfSOP) + "]\n";
    s += "Source Type:[" + num(sourceType) + "]\n";
    s += "Current User Id:[" + num(currentUserId) + "]\n";
    s += "Storage Policy Copy Precedence:[" + num(copyPrecedence) + "]\n";
    s += "Stream Count:[" + num(streamCount) + "]\n";
    s += "Browse From:[" + converted(browseFrom.c_str()) + "]\n";
    s += "Browse To:[" + converted(browseTo.c_str()) + "]\n";
    s += "From Time:[" + converted(fromTime.c_str()) + "]\n";
    s += "To Time:[" + converted(toTime.c_str()) + "]\n";
    s += "Job Status:[" + num(jobStatus) + "]\n";
    s += "Backup Level:[" + num(backupLevel) + "]\n";
    s += "Use Aged Data:[" + num(useAgedData) + "]\n";
    s += "Device Files As Reg:[" + num(deviceFilesAsReg) + "]\n";
    s += "Media Agent Id:[" + num(mediaAgentId) + "]\n";
    s += "DrivepoolId:[" + num(drivePoolId) + "]\n";
    s += "Suffix:[" + converted(boundedText(suffix)) + "]\n";
    s += "Destination Application Id:[" + num(destAppId) + "]\n";
    s += "Extended Options:[" + converted(boundedText(extendedOptions)) + "]\n";
    s += "Priority:[" + num(priority) + "]\n";
    s += "Alert Id:[" + num(alertId) + "]\n";
    s += "On Demand Input File: [" + boundedText(onDemandInputFile) + "]\n";
    s += "Map File: [" + boundedText(mapFile) + "]\n";
    s += "No Mapping Data:[" + num(noMappingData) + "]\n";
    s += "PreCmd:[" + boundedText(preCmd) + "]\n";
    s += "Post Cmd:[" + boundedText(postCmd) + "]\n";
    s += "Pre-Post User Name:[" + boundedText(prePostUserName) + "]\n";
    s += "Destination Instance Id:[" + num(destInstanceId) + "]\n";
    s += "Start Suspended:[" + num(startSuspended) + "]\n";
    s += "Retry Hours:[" + num(retryHours) + "]\n";
    s += "Retry No:[" + num(retryNo) + "]\n";
    s += "SQL Options:[" + num(sqlOptions) + "]\n";
    s += "NAS Options:[" + num(static_cast<long long>(nasOptions)) + "]\n";
    s += "Job Description:[" + joined(jobDescription, "\n") + "]";
    return s;
}

static unsigned long VSDKRestoreUnguarded(const _QRestoreParameters* params,
                                          _QJobStartInfo* result) {
    static const char* const kFunction = "VSDKRestore()";
    QRestoreReqMsg request;
    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    if (!params || !result) return invalidArgument(*state, kFunction);
    state->getEvDebug().debugLvl(kFunction, 6, "Parameters of the Restore:%s",
                                 params->c_str().c_str());

    fillRestoreFields(*state, *params, request, RestoreFields::Full);
    putCallerIdentity(*state, request, kRestoreCallerIdentity, kFunction,
                      "Restore failed to fetch UID info");

    return runJobStart(*state, OperationSpec{kFunction, "Restore"}, request,
                       result->jobId, {kFunction, 1, "Restore started with JobId:[%lld]"},
                       params->xmlResult != 0 ? &result->xmlText : nullptr, kRestoreRespXml);
}

static unsigned long VSDKValidateRestoreUnguarded(const _QRestoreParameters* params) {
    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    if (!params) return invalidArgument(*state, nullptr);
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
