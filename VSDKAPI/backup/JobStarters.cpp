// Auxiliary copy, data aging and ERBackup: each starts a server-side job from
// a small record and hands back the job's id. They share one shape and differ
// in their request fields and log texts.
#include "VSDK/Backup.h"

#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"

namespace {

using namespace OrvaneOperations;
using msgf::putInt;
using msgf::putText;

struct JobStart {
    const char* function;       // passed with every line
    const char* parameterLine;  // level 6, with the record's dump
    const char* failurePhrase;
    const char* startedLine;    // with the job id
    int startedLevel;
};

// On success *jobId is the reply's job id; after a server error it is -1;
// after a failed exchange it is left as it was.
template <class Req, class Resp, class Record, class FillBody>
unsigned long startJob(const JobStart& job, const Record* params, long long* jobId,
                       FillBody fillBody) {
    Req request;
    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    if (!params || !jobId) return invalidArgument(*state, job.function);
    QEvDebug& log = state->getEvDebug();
    log.debugLvl(job.function, 6, job.parameterLine, params->c_str().c_str());

    fillSession(*state, request, MultiDomain::Never);
    fillBody(request, *params);

    const OperationSpec spec{job.function, job.failurePhrase, Resp::kTag};
    return runOperation(
        *state, spec, request,
        [&](const CNMessageBase& reply) {
            *jobId = msgf::getInt(reply, kReplyJobId);
            log.debugLvl(job.function, job.startedLevel, job.startedLine, *jobId);
        },
        [&](unsigned long) { *jobId = -1; });
}

}  // namespace

VSDK_API unsigned long VSDKAuxCopy(const _QAuxCopyParameters* params, long long* jobId) {
    static const JobStart job{"VSDKAuxCopy()", "Parameters of the Creation of Aux Copy:%s",
                              "Creation of AuxCopy", "AuxCopy Created with id:[%lld]", 1};
    return startJob<QAuxCopyReqMsg, QAuxCopyRespMsg>(
        job, params, jobId, [](CNMessageBase& req, const _QAuxCopyParameters& p) {
            putInt(req, kAuxStoragePolicyId, p.storagePolicyId);
            putText(req, kAuxStoragePolicyName, p.storagePolicyName);
            putInt(req, kAuxCopyId, p.copyId);
            putText(req, kAuxCopyName, p.copyName);
            putInt(req, kAuxStartNewMedia, p.startNewMedia);
            putInt(req, kAuxMarkMediaFull, p.markMediaFull);
            putInt(req, kAuxPriority, p.priority);
            putInt(req, kAuxExportLocation, p.exportLocation);
            putInt(req, kAuxTransLocation, p.transLocation);
            putInt(req, kAuxUseVMS, p.useVMS);
            putInt(req, kAuxMediaStatus, p.mediaStatus);
            putInt(req, kAuxStreamCount, p.streamCount);
            putInt(req, kAuxAlertId, p.alertId);
            putInt(req, kAuxStartSuspended, p.startSuspended);
            putInt(req, kAuxRetryNumber, p.retryNumber);
            putInt(req, kAuxRetryHours, p.retryHours);
            putInt(req, kAuxSelectRecentFull, p.selectRecentFull);
            msgf::putTextList(req, kAuxJobDescription, p.jobDescription);
            putText(req, kAuxExtendedOptions, p.extendedOptions);
        });
}

VSDK_API unsigned long VSDKAgeData(const _QAgeDataParameters* params, long long* jobId) {
    static const JobStart job{"VSDKAgeData()", "Parameters of the Age data:%s", "Age Data",
                              "Data Aging started with job Id:[%lld]", 0};
    return startJob<QAgeDataReqMsg, QAgeDataRespMsg>(
        job, params, jobId, [](CNMessageBase& req, const _QAgeDataParameters& p) {
            putInt(req, kAgeRetryNumber, p.retryNumber);
            putInt(req, kAgeRetryHours, p.retryHours);
            putInt(req, kAgeAlertId, p.alertId);
            msgf::putTextList(req, kAgeJobDescription, p.jobDescription);
        });
}

VSDK_API unsigned long VSDKERBackup(const _QERBackupParameters* params, long long* jobId) {
    static const JobStart job{"VSDKERBackup()", "Parameters of ERBackup:%s", "ERBackup",
                              "ERBackup started with job Id[%lld]", 0};
    return startJob<QERBackupReqMsg, QERBackupRespMsg>(
        job, params, jobId, [](CNMessageBase& req, const _QERBackupParameters& p) {
            putInt(req, kErFullBackup, p.isFullBackup);
            putText(req, kErExtendedOptions, p.extendedOptions);
            putInt(req, kErRetryNumber, p.retryNumber);
            putInt(req, kErRetryHours, p.retryHours);
            putInt(req, kErAlertId, p.alertId);
            msgf::putTextList(req, kErJobDescription, p.jobDescription);
        });
}
