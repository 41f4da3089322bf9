// Media export: media of a library sent to a location or container, with
// the off-site tracking of the move and a time.
#include "MediaControl.h"

#include "VSDK/Media.h"
#include "VSDKAPI/messages/FieldRows.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPIUtils/RecordDump.h"

using fieldrows::FieldRow;
using fieldrows::put;
using recorddump::dump;
using recorddump::DumpRow;
using namespace MediaManager::ExportMedia;
namespace control = MediaManager::Control;

namespace {

using E = _QMediaExportParams;

const DumpRow<E> kExportDump[] = {
    {"\nFenmark Id:[", dump<&E::domainId>, "]\n"},
    {"Media Agent Id:[", dump<&E::mediaAgentId>, "]\n"},
    {"Library id:[", dump<&E::libraryId>, "]\n"},
    {"Library Type:[", dump<&E::libraryType>, "]\n"},
    {"Media List:[", dump<&E::mediaList>, "]\n"},
    {"Verify Media On Export:[", dump<&E::verifyMediaOnExport>, "]\n"},
    {"Location description:[", dump<&E::locationDescription>, "]\n"},
    {"IE Ports:[", dump<&E::iePorts>, "]\n"},
    {"Container Id:[", dump<&E::containerId>, "]\n"},
    {"Container Name:[", dump<&E::containerName>, "]\n"},
    {"Use Shelfwatch For Export:[", dump<&E::useShelfwatchForExport>, "]\n"},
    {"SW Use VMS For Export:[", dump<&E::swUseVMSForExport>, "]\n"},
    {"SW Auto Acknowledgement:[", dump<&E::swAutoAcknowledgement>, "]\n"},
    {"SW Container Id:[", dump<&E::swContainerId>, "]\n"},
    {"SW Container Name:[", dump<&E::swContainerName>, "]\n"},
    {"SW Transit Location Id1:[", dump<&E::swTransitLocationId1>, "]\n"},
    {"SW Transit Location Id2:[", dump<&E::swTransitLocationId2>, "]\n"},
    {"SW Transit Location Name:[", dump<&E::swTransitLocationName>, "]\n"},
    {"SW Destination Location Id1:[", dump<&E::swDestinationLocationId1>, "]\n"},
    {"SW Destination Location Id2:[", dump<&E::swDestinationLocationId2>, "]\n"},
    {"SW Destination Location Name:[", dump<&E::swDestinationLocationName>, "]\n"},
    {"Operation:[", dump<&E::operation>, "]\n"},
    {"Media Side Name:[", dump<&E::mediaSideName>, "]\n"},
    {"Drive Pool Id:[", dump<&E::drivePoolId>, "]\n"},
    {"Drive Id:[", dump<&E::driveId>, "]\n"},
    {"Media Agent Name:[", dump<&E::mediaAgentName>, "]\n"},
    {"Destination Scartch Pool Id:[", dump<&E::destinationScratchPoolId>, "]\n"},
    {"Media Attribute Id:[", dump<&E::mediaAttributeId>, "]\n"},
    {"QTime Param:", dump<&E::time>, ""},
};

// In the order the fields are set; the media list goes also when empty, the
// time object last.
const FieldRow<E> kExportBody[] = {
    {control::kMediaAgentId, put<&E::mediaAgentId>},
    {control::kLibraryId, put<&E::libraryId>},
    {control::kLibraryType, put<&E::libraryType>},
    {kMediaList, put<&E::mediaList>},
    {kVerifyMediaOnExport, put<&E::verifyMediaOnExport>},
    {kLocationDescription, put<&E::locationDescription>},
    {kIePorts, put<&E::iePorts>},
    {kContainerId, put<&E::containerId>},
    {kContainerName, put<&E::containerName>},
    {kUseShelfwatch, put<&E::useShelfwatchForExport>},
    {kSwUseVMS, put<&E::swUseVMSForExport>},
    {kSwAutoAcknowledgement, put<&E::swAutoAcknowledgement>},
    {kSwContainerId, put<&E::swContainerId>},
    {kSwContainerName, put<&E::swContainerName>},
    {kSwTransitLocationId1, put<&E::swTransitLocationId1>},
    {kSwTransitLocationId2, put<&E::swTransitLocationId2>},
    {kSwTransitLocationName, put<&E::swTransitLocationName>},
    {kSwDestinationLocationId1, put<&E::swDestinationLocationId1>},
    {kSwDestinationLocationId2, put<&E::swDestinationLocationId2>},
    {kSwDestinationLocationName, put<&E::swDestinationLocationName>},
    {kOperation, put<&E::operation>},
    {kMediaSideName, put<&E::mediaSideName>},
    {kDrivePoolId, put<&E::drivePoolId>},
    {kDriveId, put<&E::driveId>},
    {kMediaAgentName, put<&E::mediaAgentName>},
    {kDestinationScratchPoolId, put<&E::destinationScratchPoolId>},
    {kMediaAttributeId, put<&E::mediaAttributeId>},
    {kTime, put<&E::time>},
};

}  // namespace

std::string _QMediaExportParams::c_str() const { return dumpRows(kExportDump, *this); }

VSDK_API unsigned long VSDKMediaExport(const _QMediaExportParams* params) {
    static const OperationSpec spec{"VSDKMediaExport()", "Export of Media"};
    return runControl<MediaManager::QExportMediaReqMsg>(
        spec, "Parameters of Media Export:%s", params,
        [](CNMessageBase& req, const E& p) {
            msgf::putInt(req, control::kConstant, 2);
            putRows(req, kExportBody, p);
        },
        IgnoreReply());
}
