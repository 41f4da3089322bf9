// The media listings: media matching a filter (job, policy and copy, library,
// location and further values), and the quick media of one node of a
// client's data-protection tree within a time window.
#include "VSDK/Media.h"

#include "VSDKAPI/agents/AgentTreePath.h"
#include "VSDKAPIGlobalData/TextConversion.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

#include <cstdio>

using fieldrows::FieldRow;
using fieldrows::put;
using fieldrows::take;
using fieldrows::TakeRow;
using namespace OrvaneUtilities;

namespace {

// The media filter in record order; on the wire the third filter value
// (field 14) follows the filter text (field 13).
const FieldRow<_QGetMediaParams> kMediaFilter[] = {
    {GetMediaReq::kJobId, put<&_QGetMediaParams::jobId>},
    {GetMediaReq::kStoragePolicyId, put<&_QGetMediaParams::storagePolicyId>},
    {GetMediaReq::kStoragePolicyName, put<&_QGetMediaParams::storagePolicyName>},
    {GetMediaReq::kCopyId, put<&_QGetMediaParams::copyId>},
    {GetMediaReq::kCopyName, put<&_QGetMediaParams::copyName>},
    {GetMediaReq::kLibraryId, put<&_QGetMediaParams::libraryId>},
    {GetMediaReq::kLibraryName, put<&_QGetMediaParams::libraryName>},
    {GetMediaReq::kFilterValue1, put<&_QGetMediaParams::filterValue1>},
    {GetMediaReq::kFilterValue2, put<&_QGetMediaParams::filterValue2>},
    {GetMediaReq::kFilterValue3, put<&_QGetMediaParams::filterValue3>},
    {GetMediaReq::kFilterText, put<&_QGetMediaParams::filterText>},
    {GetMediaReq::kLocationId, put<&_QGetMediaParams::locationId>},
    {GetMediaReq::kMediaText, put<&_QGetMediaParams::mediaText>},
};

const TakeRow<_QMediaInfo> kMediaRows[] = {
    {MediaEntry::kMediaId, take<&_QMediaInfo::mediaId>},
    {MediaEntry::kMediaName, take<&_QMediaInfo::mediaName>},
    {MediaEntry::kStoragePolicyName, take<&_QMediaInfo::storagePolicyName>},
    {MediaEntry::kCopyName, take<&_QMediaInfo::copyName>},
    {MediaEntry::kLocationName, take<&_QMediaInfo::locationName>},
    {MediaEntry::kLibraryName, take<&_QMediaInfo::libraryName>},
    {MediaEntry::kText7, take<&_QMediaInfo::text7>},
    {MediaEntry::kLocationId, take<&_QMediaInfo::locationId>},
    {MediaEntry::kMediaAttributeId, take<&_QMediaInfo::mediaAttributeId>},
    {MediaEntry::kDescription, take<&_QMediaInfo::description>},
    {MediaEntry::kText11, take<&_QMediaInfo::text11>},
    {MediaEntry::kLibraryId, take<&_QMediaInfo::libraryId>},
    {MediaEntry::kText13, take<&_QMediaInfo::text13>},
    {MediaEntry::kText14, take<&_QMediaInfo::text14>},
    {MediaEntry::kScratchPoolName, take<&_QMediaInfo::scratchPoolName>},
    {MediaEntry::kText16, take<&_QMediaInfo::text16>},
    {MediaEntry::kText18, take<&_QMediaInfo::text18>},
    {MediaEntry::kText19, take<&_QMediaInfo::text19>},
};

// The size in the reply divided by 1024, with two decimals ("1.50").
void copyMedia(const CNMessageBase& entry, _QMediaInfo& record) {
    fieldrows::takeRows(entry, kMediaRows, record);
    const long long size = msgf::getInt(entry, MediaEntry::kSize);
    const std::string text = fixedPointText(static_cast<double>(size) / 1024.0, 2);
    std::snprintf(record.sizeText, sizeof record.sizeText, "%s", text.c_str());
}

const FieldRow<_QGetQuickMediaParams> kQuickMediaWindow[] = {
    {GetQuickMediaReq::kFromTime, put<&_QGetQuickMediaParams::fromTime>},
    {GetQuickMediaReq::kToTime, put<&_QGetQuickMediaParams::toTime>},
    {GetQuickMediaReq::kOption1, put<&_QGetQuickMediaParams::option1>},
    {GetQuickMediaReq::kOption2, put<&_QGetQuickMediaParams::option2>},
};

const TakeRow<_QQuickMediaInfo> kQuickMediaRows[] = {
    {QuickMediaEntry::kMediaText, take<&_QQuickMediaInfo::mediaText>},
    {QuickMediaEntry::kText2, take<&_QQuickMediaInfo::text2>},
    {QuickMediaEntry::kLibraryName, take<&_QQuickMediaInfo::libraryName>},
    {QuickMediaEntry::kText4, take<&_QQuickMediaInfo::text4>},
    {QuickMediaEntry::kStoragePolicyName, take<&_QQuickMediaInfo::storagePolicyName>},
    {QuickMediaEntry::kCopyName, take<&_QQuickMediaInfo::copyName>},
    {QuickMediaEntry::kSubclientName, take<&_QQuickMediaInfo::subclientName>},
    {QuickMediaEntry::kOption2, take<&_QQuickMediaInfo::option2>},
    {QuickMediaEntry::kContainerName, take<&_QQuickMediaInfo::containerName>},
};

void copyQuickMedia(const CNMessageBase& entry, _QQuickMediaInfo& record) {
    fieldrows::takeRows(entry, kQuickMediaRows, record);
}

}  // namespace

VSDK_API unsigned long VSDKGetMedia(const _QGetMediaParams* params, _QMediaInfo** media,
                                    int* count) {
    static const ListingSpec<_QMediaInfo> spec{
        OperationSpec{"VSDKGetMedia()", "Retrival of media"}, "Retrival of media",
        MediaTopologyResp::kMedia, QMedia::kTag, copyMedia};
    return vsdkguard::guarded(spec.operation.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, spec.operation.function, params, media, count)) {
            return rc;
        }
        QGetMediaReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, MediaTopologyReq::kConstant, 2);
        putRows(request, kMediaFilter, *params);
        return runListing(*state, spec, request, *media, *count);
    });
}

VSDK_API unsigned long VSDKGetQuickMedia(const _QGetQuickMediaParams* params,
                                         _QQuickMediaInfo** media, int* count) {
    static const ListingSpec<_QQuickMediaInfo> spec{
        OperationSpec{"VSDKGetQuickMedia()", "Retrival of quick media"},
        "Retrival of quick media", MediaTopologyResp::kMedia, QQuickMedia::kTag,
        copyQuickMedia};
    return vsdkguard::guarded(spec.operation.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        if (unsigned long rc = openOperation(state, spec.operation.function, params, media, count)) {
            return rc;
        }
        QGetQuickMediaReqMsg request;
        fillSession(*state, request, MultiDomain::Never);
        putSelectorPath<TreeLevel::Subclient>(request, *params);
        putRows(request, kQuickMediaWindow, *params);
        return runListing(*state, spec, request, *media, *count);
    });
}
