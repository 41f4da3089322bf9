// Snapshots: the listing, one snapshot operation, and the pseudo-mount entry
// point, which is not supported.
#include "VSDK/Admin.h"

#include "VSDK/Errors.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

using namespace fieldrows;
namespace GetSnaps = OrvaneUtilities::GetSnaps;
namespace Snap = OrvaneOperations::Snap;

namespace {

using Selector = _QGetSnapsParameters;
using Info = _QSnapShotInfo;

const FieldRow<Selector> kSelectorFields[] = {
    {GetSnaps::kJobId, put<&Selector::jobId>},
    {GetSnaps::kCopyName, put<&Selector::copyName>},
    {GetSnaps::kOption, put<&Selector::option>},
};

const TakeRow<Info> kSnapshotRows[] = {
    {GetSnaps::kId, take<&Info::id>},
    {GetSnaps::kText2, take<&Info::text2>},
    {GetSnaps::kText4, take<&Info::text4>},
    {GetSnaps::kText5, take<&Info::text5>},
    {GetSnaps::kText6, take<&Info::text6>},
    {GetSnaps::kText7, take<&Info::text7>},
};

void copySnapshot(const CNMessageBase& entry, Info& record) {
    takeRows(entry, kSnapshotRows, record);
    // Unsigned seconds; 0 reads "now".
    record.timeText =
        UnixTimeToLocTimeString(static_cast<unsigned long>(msgf::getInt(entry, GetSnaps::kUnixTime)));
}

}  // namespace

VSDK_API unsigned long VSDKGetSnaps(const _QGetSnapsParameters* params, _QSnapShotInfo** snapshots,
                                    int* count) {
    static const ListingSpec<Info> kListing{{"VSDKGetSnaps()", "Retrival of Snaps"},
                                            "Retrival of Snaps",
                                            GetSnaps::kList,
                                            OrvaneUtilities::QSnapshot::kTag,
                                            copySnapshot};
    return vsdkguard::guarded(kListing.operation.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        OrvaneUtilities::QGetSnapsReqMsg request;
        if (unsigned long rc = openOperation(state, kListing.operation.function, params, snapshots, count)) {
            return rc;
        }
        fillSession(*state, request, MultiDomain::Never);
        putRows(request, kSelectorFields, *params);
        return runListing(*state, kListing, request, *snapshots, *count);
    });
}

VSDK_API unsigned long VSDKSnap(const _QSnapParameters* params) {
    static const OperationSpec kSpec{"VSDKSnap()", "Snap operation", msgf::kReplyError, false,
                                     /*storeErrorTextOnSuccess=*/true};
    return vsdkguard::guarded(kSpec.function, [&]() -> unsigned long {
        VSDKAPIGlobalData* state = nullptr;
        OrvaneOperations::QSnapReqMsg request;
        if (unsigned long rc = openOperation(state, kSpec.function, params)) return rc;
        fillSession(*state, request, MultiDomain::Never);
        msgf::putInt(request, Snap::kOption, params->option);
        msgf::putText(request, Snap::kOperation, params->operation);
        // Entry by entry: an empty list leaves its field unset.
        for (int value : params->intList) msgf::appendInt(request, Snap::kIntList, value);
        msgf::putText(request, Snap::kDestinationClient, params->destinationClientName);
        for (const std::string& text : params->stringList) msgf::appendText(request, Snap::kTextList, text);
        return runOperation(*state, kSpec, request, [](const CNMessageBase&) {});
    });
}

VSDK_API unsigned long VSDKPseudoMount(void*, void*) { return vsdkerr::kUnsupportedOption; }
