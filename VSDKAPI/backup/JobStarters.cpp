// Auxiliary copy, data aging and ERBackup: each starts a server-side job from
// a small record and hands back the job's id. They share one shape and differ
// in their request fields and log texts.
#include "JobStart.h"

#include "VSDK/Backup.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneOperations;
using msgf::putInt;
using msgf::putText;

unsigned long runJobStart(VSDKAPIGlobalData& state, const OperationSpec& spec,
                          CNMessageBase& request, long long& jobId, const StartedLine& started,
                          std::string* xmlText, FieldId xmlField) {
    return runOperation(
        state, spec, request,
        [&](const CNMessageBase& reply) {
            // The job id field is the same in every job-start reply.
            jobId = msgf::getInt(reply, kReplyJobId);
            if (xmlText) {
                *xmlText = msgf::getText(reply, xmlField);
                state.getEvDebug().debugLvl(6, "Converted XML String:[%s]", xmlText->c_str());
            } else {
                state.getEvDebug().debugLvl(started.function, started.level, started.format, jobId);
            }
        },
        [&](unsigned long) { jobId = -1; });
}

namespace {

struct JobStart {
    const char* parameterLine;  // level 6, with the record's dump
    const char* failurePhrase;
    StartedLine started;        // its function is passed with every line
};

template <class Req, class Resp, class Record, class FillBody>
unsigned long startJob(const JobStart& job, const Record* params, long long* jobId,
                       FillBody fillBody) {
    const char* function = job.started.function;
    Req request;
    VSDKAPIGlobalData* state = threadState();
    if (!state) return vsdkerr::kNotInitialized;
    if (!params || !jobId) return invalidArgument(*state, function);
    state->getEvDebug().debugLvl(function, 6, job.parameterLine, params->c_str().c_str());

    fillSession(*state, request, MultiDomain::Never);
    fillBody(request, *params);
    return runJobStart(*state, OperationSpec{function, job.failurePhrase}, request,
                       *jobId, job.started);
}

}  // namespace

static unsigned long VSDKAuxCopyUnguarded(const _QAuxCopyParameters* params, long long* jobId) {
    static const JobStart job{"Parameters of the Creation of Aux Copy:%s", "Creation of AuxCopy",
                              {"VSDKAuxCopy()", 1, "AuxCopy Created with id:[%lld]"}};
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

static unsigned long VSDKAgeDataUnguarded(const _QAgeDataParameters* params, long long* jobId) {
    static const JobStart job{"Parameters of the Age data:%s", "Age Data",
                              {"VSDKAgeData()", 0, "Data Aging started with job Id:[%lld]"}};
    return startJob<QAgeDataReqMsg, QAgeDataRespMsg>(
        job, params, jobId, [](CNMessageBase& req, const _QAgeDataParameters& p) {
            putInt(req, kAgeRetryNumber, p.retryNumber);
            putInt(req, kAgeRetryHours, p.retryHours);
            putInt(req, kAgeAlertId, p.alertId);
            msgf::putTextList(req, kAgeJobDescription, p.jobDescription);
        });
}

static unsigned long VSDKERBackupUnguarded(const _QERBackupParameters* params, long long* jobId) {
    static const JobStart job{"Parameters of ERBackup:%s", "ERBackup",
                              {"VSDKERBackup()", 0, "ERBackup started with job Id[%lld]"}};
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

// The exports: no exception leaves them.

VSDK_API unsigned long VSDKAuxCopy(const _QAuxCopyParameters* params, long long* jobId) {
    return vsdkguard::guarded("VSDKAuxCopy", [&] { return VSDKAuxCopyUnguarded(params, jobId); });
}

VSDK_API unsigned long VSDKAgeData(const _QAgeDataParameters* params, long long* jobId) {
    return vsdkguard::guarded("VSDKAgeData", [&] { return VSDKAgeDataUnguarded(params, jobId); });
}

VSDK_API unsigned long VSDKERBackup(const _QERBackupParameters* params, long long* jobId) {
    return vsdkguard::guarded("VSDKERBackup", [&] { return VSDKERBackupUnguarded(params, jobId); });
}
