// Verification of one medium (its text handed back) and discovery of media
// in a library by barcode.
#include "MediaControl.h"

#include "VSDK/Media.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPIUtils/RecordDump.h"

using fieldrows::FieldRow;
using fieldrows::put;
using recorddump::dump;
using recorddump::DumpRow;
namespace control = MediaManager::Control;
namespace verify = MediaManager::VerifyMedia;
namespace discover = MediaManager::DiscoverMedia;

namespace {

using V = _QVerifyMediaParams;
const DumpRow<V> kVerifyDump[] = {
    {"\nFenmark Id:[", dump<&V::domainId>, "]\n"},
    {"Media Agent Id:[", dump<&V::mediaAgentId>, "]\n"},
    {"Library Id:[", dump<&V::libraryId>, "]\n"},
    {"Media Id:[", dump<&V::mediaId>, "]\n"},
    {"Location Id:[", dump<&V::locationId>, "]\n"},
    {"Location Description:[", dump<&V::locationDescription>, "]\n"},
    {"Verify OML On Export:[", dump<&V::verifyOMLOnExport>, "]\n"},
    {"Operation:[", dump<&V::operation>, "]"},
};

// The location description goes after the label-verification flag.
const FieldRow<V> kVerifyBody[] = {
    {control::kMediaAgentId, put<&V::mediaAgentId>},
    {control::kLibraryId, put<&V::libraryId>},
    {verify::kMediaId, put<&V::mediaId>},
    {verify::kLocationId, put<&V::locationId>},
    {verify::kVerifyOMLOnExport, put<&V::verifyOMLOnExport>},
    {verify::kLocationDescription, put<&V::locationDescription>},
    {verify::kOperation, put<&V::operation>},
};

using M = _QDiscoverMediaParameters;
const DumpRow<M> kDiscoverDump[] = {
    {"\noperation:[", dump<&M::operation>, "]\n"},
    {"Media Agent Id:[", dump<&M::mediaAgentId>, "]\n"},
    {"Library Id:[", dump<&M::libraryId>, "]\n"},
    {"Library Type:[", dump<&M::libraryType>, "]\n"},
    {"Scratch Pool Id:[", dump<&M::scratchPoolId>, "]\n"},
    {"Media Type Name:[", dump<&M::mediaTypeName>, "]\n"},
    {"Barcode List:[ ", dump<&M::barcodeList>, "]"},
};

const FieldRow<M> kDiscoverBody[] = {
    {control::kMediaAgentId, put<&M::mediaAgentId>},
    {control::kLibraryId, put<&M::libraryId>},
    {control::kLibraryType, put<&M::libraryType>},
    {discover::kScratchPoolId, put<&M::scratchPoolId>},
    {discover::kMediaTypeName, put<&M::mediaTypeName>},
    {discover::kOperation, put<&M::operation>},
};

}  // namespace

std::string _QVerifyMediaParams::c_str() const { return dumpRows(kVerifyDump, *this); }
std::string _QDiscoverMediaParameters::c_str() const { return dumpRows(kDiscoverDump, *this); }

VSDK_API unsigned long VSDKVerifyMedia(const _QVerifyMediaParams* params, std::string* text) {
    static const OperationSpec spec{"VSDKVerifyMedia()", "Verification of Media"};
    return runControl<MediaManager::QVerifyMediaReqMsg>(
        spec, "Parameters of Verify Media :%s", params,
        [](CNMessageBase& req, const V& p) {
            msgf::putInt(req, control::kConstant, 2);
            putRows(req, kVerifyBody, p);
        },
        [text](const CNMessageBase& reply) {
            // The text up to its first zero byte.
            const std::string full = msgf::getText(reply, verify::kVerificationText);
            *text = full.substr(0, full.find('\0'));
        },
        text);
}

VSDK_API unsigned long VSDKDiscoverMedia(const _QDiscoverMediaParameters* params) {
    static const OperationSpec spec{"VSDKDiscoverMedia()", "Discover Media"};
    return runControl<MediaManager::QDiscoverMediaReqMsg>(
        spec, "Parameters of Discover Media:%s", params,
        [](CNMessageBase& req, const M& p) {
            msgf::putInt(req, control::kConstant, 2);
            putRows(req, kDiscoverBody, p);
            // One by one: an empty list leaves the field unset.
            for (const std::string& barcode : p.barcodeList) {
                msgf::appendText(req, discover::kBarcodes, barcode);
            }
        },
        IgnoreReply());
}
