// Domain capture and merge. The capture hands back the answer-file text that
// the caller later passes to the merge; nothing is kept between the calls.
// Both store the server's error text as the thread's last error whatever
// its code; the passwords are secret fields and never dumped.
#include "VSDK/Admin.h"

#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKErrors/ExportGuard.h"

using namespace OrvaneOperations;
using namespace fieldrows;
using namespace recorddump;

namespace {

using Capture = _QFenmarkCaptureParameters;
using Merge = _QFenmarkMergeParameters;

const FieldRow<Capture> kCaptureFields[] = {
    {FenmarkCapture::kClientNames, put<&Capture::clientNames>},
    {FenmarkCapture::kSendAnswerFile, put<&Capture::sendAnswerFileContent>},
    {FenmarkCapture::kDumpFileName, put<&Capture::dumpFileName>},
    {FenmarkCapture::kDbName, put<&Capture::dbName>},
    {FenmarkCapture::kUserName, put<&Capture::userName>},
    {FenmarkCapture::kPassword, put<&Capture::password>},
    {FenmarkCapture::kDbRestorePath, put<&Capture::dbRestorePath>},
    {FenmarkCapture::kStartTime, put<&Capture::startTime>},
    {FenmarkCapture::kEndTime, put<&Capture::endTime>},
};

const FieldRow<Merge> kMergeFields[] = {
    {FenmarkMerge::kReuseTapes, put<&Merge::reuseTapes>},
    {FenmarkMerge::kDumpFileName, put<&Merge::dumpFileName>},
    {FenmarkMerge::kAfContent, put<&Merge::afContent>},
    {FenmarkMerge::kUser, put<&Merge::user>},
    {FenmarkMerge::kPassword, put<&Merge::password>},
    {FenmarkMerge::kDbRestorePath, put<&Merge::dbRestorePath>},
};

// A time's own dump starts with a line break and ends with "]", so the line
// after it follows directly.
const DumpRow<Capture> kCaptureDump[] = {
    {"\nClient Names:[", dump<&Capture::clientNames>, "]\n"},
    {"Dump File Name:[", dump<&Capture::dumpFileName>, "]\n"},
    {"db Name:[", dump<&Capture::dbName>, "]\n"},
    {"User Name:[", dump<&Capture::userName>, "]\n"},
    {"Send Answer File Content:[", dump<&Capture::sendAnswerFileContent>, "]\n"},
    {"Start Time:", dump<&Capture::startTime>, ""},
    {"End Time", dump<&Capture::endTime>, ""},
    {"db RestorePath:[", dump<&Capture::dbRestorePath>, "]"},
};

const DumpRow<Merge> kMergeDump[] = {
    {"\nDump file Name:[", dump<&Merge::dumpFileName>, "]\n"},
    {"Af Content:[", dump<&Merge::afContent>, "]\n"},
    {"User:[", dump<&Merge::user>, "]\n"},
    {"Reuse Tapes:[", dump<&Merge::reuseTapes>, "]\n"},
    {"Db Restore Path:[", dump<&Merge::dbRestorePath>, "]\n"},
};

}  // namespace

std::string _QFenmarkCaptureParameters::c_str() const { return dumpRows(kCaptureDump, *this); }
std::string _QFenmarkMergeParameters::c_str() const { return dumpRows(kMergeDump, *this); }

VSDK_API unsigned long VSDKFenmarkCapture(const _QFenmarkCaptureParameters* params,
                                          std::string& answerFile) {
    static const OperationSpec kSpec{"VSDKFenmarkCapture()", "Fenmark Capture", msgf::kReplyError,
                                     false, /*storeErrorTextOnSuccess=*/true};
    return vsdkguard::guarded(kSpec.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        QFenmarkCaptureReqMsg request;
        if (unsigned long rc = openOperation(state, kSpec.function, params)) return rc;
        logParameters(*state, kSpec.function, "Parameters of Fenmark Capture:%s", *params);
        fillSession(*state, request, MultiDomain::Never);
        putRows(request, kCaptureFields, *params);
        // The answer file is handed back also when the server refuses.
        auto takeAnswerFile = [&](const CNMessageBase& reply) {
            answerFile = msgf::getText(reply, FenmarkCapture::kAnswerFile);
        };
        return runOperation(*state, kSpec, request, takeAnswerFile,
                            [&](unsigned long, const CNMessageBase& reply) { takeAnswerFile(reply); });
    });
}

VSDK_API unsigned long VSDKFenmarkMerge(const _QFenmarkMergeParameters* params) {
    static const OperationSpec kSpec{"VSDKFenmarkMerge()", "Fenmark Merge", msgf::kReplyError, false,
                                     /*storeErrorTextOnSuccess=*/true};
    return vsdkguard::guarded(kSpec.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        QFenmarkMergeReqMsg request;
        if (unsigned long rc = openOperation(state, kSpec.function, params)) return rc;
        logParameters(*state, kSpec.function, "Parameters of Fenmark Merge :%s", *params);
        fillSession(*state, request, MultiDomain::Never);
        putRows(request, kMergeFields, *params);
        return runOperation(*state, kSpec, request, [](const CNMessageBase&) {});
    });
}
