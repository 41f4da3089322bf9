// Auxiliary copy, data aging and ERBackup: each starts a server-side job from
// a small record and hands back the job's id. They share one shape and differ
// in their request fields and log texts.
#include "JobStart.h"

#include "VSDK/Backup.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKErrors/ExportGuard.h"
#include "VSDKErrors/MessageLogging.h"

using namespace OrvaneOperations;
using namespace fieldrows;

unsigned long runJobStart(VSDKAPIGlobalData& state, const OperationSpec& spec,
                          CNMessageBase& request, long long& jobId, const StartedLine& started,
                          std::string* xmlText, FieldId xmlField) {
    return runOperation(
        state, spec, request,
        [&](const CNMessageBase& reply) -> unsigned long {
            // The job id field is the same in every job-start reply; a
            // success without one started no job the caller could follow.
            if (!msgf::hasInt(reply, kReplyJobId)) return invalidReply(state, spec);
            jobId = msgf::getInt(reply, kReplyJobId);
            if (xmlText) {
                *xmlText = msgf::getText(reply, xmlField);
                QEvDebug& log = state.getEvDebug();
                if (log.getDebugLevel() > 5) {  // a whole document: made only when written
                    log.debugLvl(6, "Converted XML String:[%s]", logWholeDocument(*xmlText).c_str());
                }
            } else {
                state.getEvDebug().debugLvl(started.function, started.level, started.format, jobId);
            }
            return 0;
        },
        [&](unsigned long) { jobId = -1; });
}

namespace {

struct JobStart {
    const char* parameterLine;  // level 6, with the record's dump
    const char* failurePhrase;
    StartedLine started;        // its function is passed with every line
};

template <class Req, class Record, std::size_t N>
unsigned long startJob(const JobStart& job, const Record* params, long long* jobId,
                       const FieldRow<Record> (&body)[N]) {
    const char* function = job.started.function;
    Req request;
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, function, params, jobId)) return rc;
    logParameters(*state, function, job.parameterLine, *params);

    fillSession(*state, request, MultiDomain::Never);
    putRows(request, body, *params);
    return runJobStart(*state, OperationSpec{function, job.failurePhrase}, request,
                       *jobId, job.started);
}

using Aux = _QAuxCopyParameters;
using Age = _QAgeDataParameters;
using ER = _QERBackupParameters;

const FieldRow<Aux> kAuxCopyFields[] = {
    {kAuxStoragePolicyId, put<&Aux::storagePolicyId>},
    {kAuxStoragePolicyName, put<&Aux::storagePolicyName>},
    {kAuxCopyId, put<&Aux::copyId>},
    {kAuxCopyName, put<&Aux::copyName>},
    {kAuxStartNewMedia, put<&Aux::startNewMedia>},
    {kAuxMarkMediaFull, put<&Aux::markMediaFull>},
    {kAuxPriority, put<&Aux::priority>},
    {kAuxExportLocation, put<&Aux::exportLocation>},
    {kAuxTransLocation, put<&Aux::transLocation>},
    {kAuxUseVMS, put<&Aux::useVMS>},
    {kAuxMediaStatus, put<&Aux::mediaStatus>},
    {kAuxStreamCount, put<&Aux::streamCount>},
    {kAuxAlertId, put<&Aux::alertId>},
    {kAuxStartSuspended, put<&Aux::startSuspended>},
    {kAuxRetryNumber, put<&Aux::retryNumber>},
    {kAuxRetryHours, put<&Aux::retryHours>},
    {kAuxSelectRecentFull, put<&Aux::selectRecentFull>},
    {kAuxJobDescription, put<&Aux::jobDescription>},
    {kAuxExtendedOptions, put<&Aux::extendedOptions>},
};

const FieldRow<Age> kAgeDataFields[] = {
    {kAgeRetryNumber, put<&Age::retryNumber>},
    {kAgeRetryHours, put<&Age::retryHours>},
    {kAgeAlertId, put<&Age::alertId>},
    {kAgeJobDescription, put<&Age::jobDescription>},
};

const FieldRow<ER> kERBackupFields[] = {
    {kErFullBackup, put<&ER::isFullBackup>},
    {kErExtendedOptions, put<&ER::extendedOptions>},
    {kErRetryNumber, put<&ER::retryNumber>},
    {kErRetryHours, put<&ER::retryHours>},
    {kErAlertId, put<&ER::alertId>},
    {kErJobDescription, put<&ER::jobDescription>},
};

}  // namespace

VSDK_API unsigned long VSDKAuxCopy(const _QAuxCopyParameters* params, long long* jobId) {
    static const JobStart job{"Parameters of the Creation of Aux Copy:%s", "Creation of AuxCopy",
                              {"VSDKAuxCopy()", 1, "AuxCopy Created with id:[%lld]"}};
    return vsdkguard::guarded("VSDKAuxCopy", [&] {
        return startJob<QAuxCopyReqMsg>(job, params, jobId, kAuxCopyFields);
    });
}

VSDK_API unsigned long VSDKAgeData(const _QAgeDataParameters* params, long long* jobId) {
    static const JobStart job{"Parameters of the Age data:%s", "Age Data",
                              {"VSDKAgeData()", 0, "Data Aging started with job Id:[%lld]"}};
    return vsdkguard::guarded("VSDKAgeData", [&] {
        return startJob<QAgeDataReqMsg>(job, params, jobId, kAgeDataFields);
    });
}

VSDK_API unsigned long VSDKERBackup(const _QERBackupParameters* params, long long* jobId) {
    static const JobStart job{"Parameters of ERBackup:%s", "ERBackup",
                              {"VSDKERBackup()", 0, "ERBackup started with job Id[%lld]"}};
    return vsdkguard::guarded("VSDKERBackup", [&] {
        return startJob<QERBackupReqMsg>(job, params, jobId, kERBackupFields);
    });
}
