// The jobs found on media, each with its chunks: a media-manager document
// sent through the generic request and its answer read back.
#include "VSDK/Media.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPI/xml/InnerDocument.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKErrors/ExportGuard.h"

#include <utility>

using fieldrows::FieldRow;
using fieldrows::put;
using recorddump::dump;
using recorddump::DumpRow;
using namespace MediaManager::MediaContents;
namespace job = MediaManager::ContentsJob;

namespace {

using P = _QCLGetMediaContentsParams;

// The elements of list member M separated by ", ".
template <auto M>
void joined(std::string& out, const fieldrows::RecordOf<M>& record) {
    const char* separator = "";
    for (const auto& element : record.*M) {
        out += separator;
        recorddump::dumpValue(out, element);
        separator = ", ";
    }
}

const DumpRow<P> kDump[] = {
    {"\nMedia Barcode: [", joined<&P::barcodeList>, "]\n"},
    {"Is Job Id Passed: [", dump<&P::isJobIdPassed>, "]\n"},
    {"Get HW Enc Key: [", dump<&P::getHWEncKey>, "]\n"},
    {"Job Id List: [", joined<&P::jobIdList>, "]\n"},
    {"Archive Group Id: [", dump<&P::archiveGroupId>, "]\n"},
    {"Copy Id: [", dump<&P::copyId>, "]\n"},
};

const FieldRow<P> kRequestBody[] = {
    {kIsJobIdPassed, put<&P::isJobIdPassed>},
    {kGetHWEncKeyFlag, put<&P::getHWEncKey>},
    {kBarcodesPassed, put<&P::barcodesPassed>},
    {kArchiveGroupId, put<&P::archiveGroupId>},
    {kCopyId, put<&P::copyId>},
};

// A reply text up to its first zero byte.
std::string textOf(const CNMessageBase& entry, FieldId f) {
    std::string text = msgf::getText(entry, f);
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
}

const std::pair<FieldId, std::string _QCLJobInfo::*> kJobTexts[] = {
    {job::kText1, &_QCLJobInfo::text1},
    {job::kClientName, &_QCLJobInfo::clientName},
    {job::kText3, &_QCLJobInfo::text3},
    {job::kBackupSetName, &_QCLJobInfo::backupSetName},
    {job::kInstanceName, &_QCLJobInfo::instanceName},
    {job::kSubclientName, &_QCLJobInfo::subclientName},
    {job::kText7, &_QCLJobInfo::text7},
    {job::kText8, &_QCLJobInfo::text8},
    {job::kText9, &_QCLJobInfo::text9},
    {job::kText10, &_QCLJobInfo::text10},
    {job::kText11, &_QCLJobInfo::text11},
    {job::kText12, &_QCLJobInfo::text12},
    {job::kMediaSideName, &_QCLJobInfo::mediaSideName},
    {job::kText14, &_QCLJobInfo::text14},
    {job::kText15, &_QCLJobInfo::text15},
    {job::kText16, &_QCLJobInfo::text16},
    {job::kText17, &_QCLJobInfo::text17},
};

// The entries of a list, all of type tag; null when one is of another type.
// An absent list holds no entries.
const std::vector<CNMessageBase>* entriesOf(const CNMessageBase& m, FieldId list,
                                            unsigned long tag, bool& wellFormed) {
    const std::vector<CNMessageBase>* entries = msgf::findList(m, list);
    wellFormed = entries || !msgf::has(m, list);
    for (std::size_t i = 0; wellFormed && entries && i < entries->size(); ++i) {
        wellFormed = (*entries)[i].getTagID() == tag;
    }
    return entries;
}

// The key holds the bytes the length names, never more than the field has:
// a negative length reads as 0, a longer one is cut to the bytes present.
_QCLChunkInfo chunkOf(const CNMessageBase& entry) {
    _QCLChunkInfo chunk;
    chunk.value1 = msgf::getInt(entry, job::kChunkValue1);
    chunk.value2 = static_cast<int>(msgf::getInt(entry, job::kChunkValue2));
    const std::string bytes = msgf::getBytes(entry, job::kChunkKey);
    const int length = static_cast<int>(msgf::getInt(entry, job::kChunkKeyLength));
    const std::size_t n =
        length < 0 ? 0 : std::min(bytes.size(), static_cast<std::size_t>(length));
    chunk.key.assign(bytes.data(), n);
    chunk.keyLength = static_cast<int>(n);
    return chunk;
}

// Reads the reply's jobs; false when a list holds entries of another type.
bool readJobs(const CNMessageBase& reply, std::vector<_QCLJobInfo>& jobs) {
    bool wellFormed = true;
    const auto* entries = entriesOf(reply, kJobs, MediaManager::QJobInfo::kTag, wellFormed);
    if (!wellFormed) return false;
    if (!entries) return true;
    for (const CNMessageBase& entry : *entries) {
        _QCLJobInfo record;
        record.jobId = msgf::getInt(entry, job::kJobId);
        record.mediaId = static_cast<int>(msgf::getInt(entry, job::kMediaId));
        for (const auto& text : kJobTexts) record.*text.second = textOf(entry, text.first);
        const auto* chunks =
            entriesOf(entry, job::kChunks, MediaManager::QChunkInfo::kTag, wellFormed);
        if (!wellFormed) return false;
        if (chunks) {
            for (const CNMessageBase& chunk : *chunks) record.chunks.push_back(chunkOf(chunk));
        }
        jobs.push_back(std::move(record));
    }
    return true;
}

}  // namespace

std::string _QCLGetMediaContentsParams::c_str() const { return dumpRows(kDump, *this); }

VSDK_API unsigned long VSDKGetMediaContents(const _QCLGetMediaContentsParams* params,
                                            _QCLMediaContentsInfo* info) {
    static const OperationSpec spec{"VSDKGetMediaContents()", "Getting media contents"};
    return vsdkguard::guarded(spec.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, spec.function, params, info)) return rc;
        logParameters(*state, spec.function, "Parameters to get media contents:%s", *params);

        MediaManager::QGetMediaContentsReq request;
        putRows(request, kRequestBody, *params);
        if (params->isJobIdPassed) put<&P::jobIdList>(request, kJobIds, *params);
        if (params->barcodesPassed) put<&P::barcodeList>(request, kBarcodes, *params);

        MediaManager::QGetMediaContentsResp reply;
        if (unsigned long rc = exchangeInnerDocument(*state, spec.function, request, reply)) {
            return rc;
        }
        unsigned long code = 0;
        std::string text;
        if (!readReplyError(*state, reply, kReplyError, code, text)) {
            return invalidReply(*state, spec);
        }
        if (code != 0) {
            state->setErrorString(text);
            logFailure(*state, spec.function, spec.failurePhrase, code, text.c_str());
            return code;
        }
        std::vector<_QCLJobInfo> jobs;
        if (!readJobs(reply, jobs)) return invalidReply(*state, spec);
        info->errorCode = 0;
        info->replyFlag = msgf::getInt(reply, kReplyFlag) != 0;
        info->jobs = std::move(jobs);
        return 0;
    });
}
