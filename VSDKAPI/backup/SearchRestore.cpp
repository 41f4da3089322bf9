// VSDKSearchRestore: a restore of items chosen from search results, from a
// record without library containers.
#include "Restore.h"

#include "JobStart.h"
#include "VSDKErrors/ExportGuard.h"

#include <cstring>
#include <string>

using namespace OrvaneOperations;

namespace {

bool boundedOk(const char* text) { return !text || strnlen(text, kMaxCallerText) < kMaxCallerText; }

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

static unsigned long VSDKSearchRestoreUnguarded(_QRestoreParametersSTLless params,
                                                const _QSearchRestoreItem* items, int itemCount,
                                                long long* jobId) {
    static const char* const kFunction = "VSDKSearchRestore()";
    QSearchRestoreReqMsg request;
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, kFunction, jobId)) return rc;
    if (!argumentsOk(params, items, itemCount)) return invalidArgument(*state, kFunction);

    CNMessageBase& inner = msgf::child<QRestoreReqMsg>(request, kSearchRestoreRequest);
    fillSession(*state, inner, MultiDomain::Never);
    fillSession(*state, request, MultiDomain::Never);
    putRestoreBody(inner, params);
    for (int i = 0; i < itemCount; ++i) appendItem(request, items[i]);

    return runJobStart(*state, OperationSpec{kFunction, "Restore by search"},
                       request, *jobId,
                       {kFunction, 1, "Restore by search started with job Id:[%lld]"});
}

// The exports: no exception leaves them.

unsigned long VSDKSearchRestore(_QRestoreParametersSTLless params, const _QSearchRestoreItem* items,
                                int itemCount, long long* jobId) {
    return vsdkguard::guarded("VSDKSearchRestore", [&] {
        return VSDKSearchRestoreUnguarded(params, items, itemCount, jobId);
    });
}
