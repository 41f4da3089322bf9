// Pruning of stored data, by deduplication store or by job. The text of the
// reply's error object is the server's answer: it becomes the thread's last
// error after every completed exchange and is handed to the caller when it
// is not empty.
#include "VSDK/DataPath.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKErrors/ExportGuard.h"
#include "VSDKErrors/MessageLogging.h"

using namespace OrvaneOperations;
using namespace fieldrows;
using namespace recorddump;

namespace {

using ByStore = _QPruneDataByDedupStoreIdParameters;
using ByJob = _QPruneDataByJobIdParameters;

const DumpRow<ByStore> kByStoreDump[] = {
    {"CS Name:[", dump<&ByStore::mardockName>, "]\n"},
    {"Store Ids:[", dump<&ByStore::storeIds>, "]"},
};

const DumpRow<ByJob> kByJobDump[] = {
    {"Storage Policy Id:[", dump<&ByJob::storagePolicyId>, "]\n"},
    {"SP copy Id:[", dump<&ByJob::copyId>, "]\n"},
    {"File Type:[", dump<&ByJob::fileType>, "]\n"},
    {"CS Name:[", dump<&ByJob::mardockName>, "]\n"},
    {"Job Ids:[", dump<&ByJob::jobIds>, "]"},
};

const FieldRow<ByStore> kByStoreFields[] = {
    {PruneByStoreId::kMardockName, put<&ByStore::mardockName>},
    {PruneByStoreId::kStoreIds, putEach<&ByStore::storeIds>},
};

const FieldRow<ByJob> kByJobFields[] = {
    {PruneByJobId::kStoragePolicyId, put<&ByJob::storagePolicyId>},
    {PruneByJobId::kCopyId, put<&ByJob::copyId>},
    {PruneByJobId::kFileType, put<&ByJob::fileType>},
    {PruneByJobId::kMardockName, put<&ByJob::mardockName>},
    {PruneByJobId::kJobIds, putEach<&ByJob::jobIds>},
};

// How the two prunes differ.
struct PruneTexts {
    const char* function;
    const char* parameterFormat;
    const char* responseFormat;
    const char* failurePhrase;
    const char* exchangeFailureFormat;
};

const PruneTexts kByStoreTexts{"VSDKPruneDataByStoreId()", "Parameters of Prune Data: %s",
                               "Deletion of Data by Dedup StoreId Response String:[%s]",
                               "Deletion of Data by Dedup StoreId",
                               ":SendAndReceive() Failed error code [%lu]"};
const PruneTexts kByJobTexts{"VSDKPruneDataByJobId()", "Parameters of Prune Data:%s",
                             "Deletion of Data by Job Id Response String:[%s]",
                             "Deletion of Data by Job Id", nullptr};

template <class Request, class Params, std::size_t N>
unsigned long prune(const PruneTexts& texts, const FieldRow<Params> (&rows)[N], const Params* params,
                    std::string* responseText) {
    Request request;
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, texts.function, params, responseText)) {
        return rc;
    }
    logParameters(*state, texts.function, texts.parameterFormat, *params);

    fillSession(*state, request, MultiDomain::Never);
    putRows(request, rows, *params);

    OperationSpec spec{texts.function, texts.failurePhrase};
    spec.storeErrorTextOnSuccess = true;
    spec.exchangeFailureFormat = texts.exchangeFailureFormat;
    // The answer, when there is one, goes to the caller (before any failure line).
    const auto answer = [&](const CNMessageBase& reply) {
        unsigned long code = 0;
        std::string text;
        readReplyError(*state, reply, spec.errorField, code, text);
        if (text.empty()) return;
        *responseText = text;
        state->getEvDebug().debugLvl(texts.function, 10, texts.responseFormat, logText(text).c_str());
    };
    return runOperation(*state, spec, request, answer,
                        [&](unsigned long, const CNMessageBase& reply) { answer(reply); });
}

}  // namespace

std::string _QPruneDataByDedupStoreIdParameters::c_str() const {
    return dumpRows(kByStoreDump, *this);
}

std::string _QPruneDataByJobIdParameters::c_str() const { return dumpRows(kByJobDump, *this); }

VSDK_API unsigned long VSDKPruneDataByStoreId(_QPruneDataByDedupStoreIdParameters* params,
                                              std::string* responseText) {
    return vsdkguard::guarded(kByStoreTexts.function, [&] {
        return prune<QPruneDataByDedupStoreIdReqMsg>(kByStoreTexts, kByStoreFields, params,
                                                     responseText);
    });
}

VSDK_API unsigned long VSDKPruneDataByJobId(_QPruneDataByJobIdParameters* params,
                                            std::string* responseText) {
    return vsdkguard::guarded(kByJobTexts.function, [&] {
        return prune<QPruneDataByJobIdReqMsg>(kByJobTexts, kByJobFields, params, responseText);
    });
}
