// VSDKSearchRestore: a restore of items chosen from search results, from a
// record without library containers.
#include "Restore.h"

#include "VSDKAPI/session/OperationFrame.h"

#include <cstring>
#include <string>

using namespace OrvaneOperations;

namespace {

// Caller texts are C strings; none is read past this many bytes. A text
// without its terminating zero within the bound is refused.
constexpr std::size_t kMaxCallerText = 65536;

bool boundedOk(const char* text) { return !text || strnlen(text, kMaxCallerText) < kMaxCallerText; }

std::string callerText(const char* text) { return std::string(text, strnlen(text, kMaxCallerText)); }

void putOptionalText(CNMessageBase& m, FieldId f, const char* text) {
    if (text) msgf::putText(m, f, callerText(text));
}

// Appends the non-null entries of a text array; the list stays unset when
// there are none.
void putTextArray(CNMessageBase& m, FieldId f, const char* const* texts, int count) {
    for (int i = 0; i < count; ++i) {
        if (texts[i]) msgf::appendText(m, f, callerText(texts[i]));
    }
}

bool timeOk(const _QTimeSTLless& t) { return boundedOk(t.startTime) && boundedOk(t.timeZone); }

bool textArrayOk(const char* const* texts, int count) {
    if (count <= 0) return true;
    if (!texts) return false;
    for (int i = 0; i < count; ++i) {
        if (!boundedOk(texts[i])) return false;
    }
    return true;
}

// Everything the request is built from must be present and readable before
// anything is sent: a restore of fewer items than asked could restore the
// wrong set.
bool argumentsOk(const _QRestoreParametersSTLless& p, const _QSearchRestoreItem* items,
                 int itemCount) {
    const char* const texts[] = {
        p.entityNames,  p.destClientName,    p.destPath,    p.destUserName,
        p.destUserPassword, p.sourceClientName, p.appName, p.instanceName,
        p.backupSetName, p.suffix,           p.onDemandInputFile, p.mapFile,
        p.extendedOptions, p.preCmd,         p.postCmd,     p.prePostUserName,
        p.prePostUserPassword,
    };
    for (const char* t : texts) {
        if (!boundedOk(t)) return false;
    }
    if (!timeOk(p.fromTime) || !timeOk(p.toTime) || !timeOk(p.browseFrom) || !timeOk(p.browseTo)) {
        return false;
    }
    if (!textArrayOk(p.sourcePaths, p.sourcePathCount)) return false;
    if (!textArrayOk(p.filterPaths, p.filterPathCount)) return false;
    if (itemCount <= 0) return true;
    if (!items) return false;
    for (int i = 0; i < itemCount; ++i) {
        if (!items[i].text1 || !items[i].text2) return false;
        if (!boundedOk(items[i].text1) || !boundedOk(items[i].text2)) return false;
    }
    return true;
}

void putTime(CNMessageBase& m, FieldId f, const _QTimeSTLless& time) {
    QTimeCopy(msgf::child<OrvaneOperations::QTime>(m, f), time);
}

void fillInnerRestore(CNMessageBase& r, const _QRestoreParametersSTLless& p) {
    putOptionalText(r, kRestoreEntityNames, p.entityNames);
    putOptionalText(r, kRestoreDestClientName, p.destClientName);
    msgf::putInt(r, kRestoreDestClientId, p.destClientId);
    putOptionalText(r, kRestoreDestPath, p.destPath);
    putOptionalText(r, kRestoreDestUserName, p.destUserName);
    putOptionalText(r, kRestoreDestUserPassword, p.destUserPassword);
    msgf::putInt(r, kRestoreSourceClientId, p.sourceClientId);
    putOptionalText(r, kRestoreSourceClientName, p.sourceClientName);
    putTextArray(r, kRestoreSourcePaths, p.sourcePaths, p.sourcePathCount);
    putTextArray(r, kRestoreFilterPaths, p.filterPaths, p.filterPathCount);
    msgf::putInt(r, kRestoreOptions, p.options);
    msgf::putInt(r, kRestoreRequestCode, p.requestCode);
    msgf::putInt(r, kRestoreAppId, p.appId);
    putOptionalText(r, kRestoreAppName, p.appName);
    msgf::putInt(r, kRestoreInstanceId, p.instanceId);
    putOptionalText(r, kRestoreInstanceName, p.instanceName);
    msgf::putInt(r, kRestoreBackupSetId, p.backupSetId);
    putOptionalText(r, kRestoreBackupSetName, p.backupSetName);
    msgf::putInt(r, kRestoreLevelOfSOP, p.levelOfSOP);
    msgf::putInt(r, kRestoreSourceType, p.sourceType);
    msgf::putInt(r, kRestoreCurrentUserId, p.currentUserId);
    msgf::putInt(r, kRestoreCopyPrecedence, p.copyPrecedence);
    msgf::putInt(r, kRestoreStreamCount, p.streamCount);
    putTime(r, kRestoreBrowseFrom, p.browseFrom);
    putTime(r, kRestoreBrowseTo, p.browseTo);
    putTime(r, kRestoreFromTime, p.fromTime);
    putTime(r, kRestoreToTime, p.toTime);
    msgf::putInt(r, kRestoreJobStatus, p.jobStatus);
    msgf::putInt(r, kRestoreBackupLevel, p.backupLevel);
    msgf::putInt(r, kRestoreUseAgedData, p.useAgedData);
    msgf::putInt(r, kRestoreDeviceFilesAsReg, p.deviceFilesAsReg);
    msgf::putInt(r, kRestoreMediaAgentId, p.mediaAgentId);
    msgf::putInt(r, kRestoreDrivePoolId, p.drivePoolId);
    putOptionalText(r, kRestoreSuffix, p.suffix);
    msgf::putInt(r, kRestoreDestAppId, p.destAppId);
    putOptionalText(r, kRestoreExtendedOptions, p.extendedOptions);
    msgf::putInt(r, kRestorePriority, p.priority);
    msgf::putInt(r, kRestoreAlertId, p.alertId);
    putOptionalText(r, kRestoreOnDemandInputFile, p.onDemandInputFile);
    putOptionalText(r, kRestoreMapFile, p.mapFile);
    msgf::putInt(r, kRestoreNoMappingData, p.noMappingData);
    putOptionalText(r, kRestorePreCmd, p.preCmd);
    putOptionalText(r, kRestorePostCmd, p.postCmd);
    putOptionalText(r, kRestorePrePostUserName, p.prePostUserName);
    putOptionalText(r, kRestorePrePostUserPassword, p.prePostUserPassword);
    msgf::putInt(r, kRestoreDestInstanceId, p.destInstanceId);
    msgf::putInt(r, kRestoreStartSuspended, p.startSuspended);
    msgf::putInt(r, kRestoreRetryNo, p.retryNo);
    msgf::putInt(r, kRestoreRetryHours, p.retryHours);
    msgf::putInt(r, kRestoreSqlOptions, p.sqlOptions);
}

void appendItem(CNMessageBase& request, const _QSearchRestoreItem& from) {
    QRestoreSearchItem item;
    msgf::putInt(item, kSearchItemAppId, from.appId);
    msgf::putInt(item, kSearchItemAppType, from.appType);
    msgf::putInt(item, kSearchItemValue2, from.value2);
    msgf::putInt(item, kSearchItemValue3, from.value3);
    msgf::putInt(item, kSearchItemValue1, from.value1);
    msgf::putText(item, kSearchItemText2, callerText(from.text2));
    msgf::putText(item, kSearchItemText1, callerText(from.text1));
    msgf::appendObject(request, kSearchRestoreItems, item);
}

}  // namespace

void QTimeCopy(CNMessageBase& timeObject, _QTimeSTLless time) {
    msgf::putInt(timeObject, msgf::kTimeUnix, time.unixTime);
    putOptionalText(timeObject, msgf::kTimeStart, time.startTime);
    putOptionalText(timeObject, msgf::kTimeZone, time.timeZone);
    msgf::putInt(timeObject, msgf::kTimeOffset, time.offset);
    msgf::putInt(timeObject, msgf::kTimeDsFlags, time.dsFlags);
}

unsigned long VSDKSearchRestore(_QRestoreParametersSTLless params, const _QSearchRestoreItem* items,
                                int itemCount, long long* jobId) {
    static const char* const kFunction = "VSDKSearchRestore()";
    QSearchRestoreReqMsg request;
    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    if (!jobId || !argumentsOk(params, items, itemCount)) return invalidArgument(*state, kFunction);

    CNMessageBase& inner = msgf::child<QRestoreReqMsg>(request, kSearchRestoreRequest);
    fillSession(*state, inner, MultiDomain::Never);
    fillSession(*state, request, MultiDomain::Never);
    fillInnerRestore(inner, params);
    for (int i = 0; i < itemCount; ++i) appendItem(request, items[i]);

    QEvDebug& log = state->getEvDebug();
    const OperationSpec spec{kFunction, "Restore by search", QRestoreRespMsg::kTag};
    return runOperation(
        *state, spec, request,
        [&](const CNMessageBase& reply) {
            *jobId = msgf::getInt(reply, kRestoreRespJobId);
            log.debugLvl(kFunction, 1, "Restore by search started with job Id:[%lld]", *jobId);
        },
        [&](unsigned long) { *jobId = -1; });
}
