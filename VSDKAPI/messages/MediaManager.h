// Module 10: media, library and drive operations; the archive-job check.
#pragma once

#include "CommonFields.h"

namespace MediaManager {

constexpr int kModuleId = 10;

// X(Name, class number, tag code, expected reply tag code)
#define VSDK_MEDIA_MANAGER_MESSAGES(X)                      \
    X(QRequestHeaderMsg, 49, 0x0A000001, 0)                \
    X(QReplyErrorMsg, 113, 0x0A000002, 0)                  \
    X(QSessionInfoMsg, 42, 0x0A000003, 0)                  \
    X(QTime, 68, 0x0A000004, 0)                            \
    X(CheckForArchiveJobReq, 30, 0x0A1D3DC2, 0)            \
    X(CheckForArchiveJobResp, 107, 0x0A8A7B2C, 0)          \
    X(QExportMediaReqMsg, 18, 0x0A00000B, 0x0A00000C)      \
    X(QExportMediaRespMsg, 1012, 0x0A00000C, 0)            \
    X(QLibraryControlReqMsg, 64, 0x0A00000D, 0x0A00000E)   \
    X(QLibraryControlRespMsg, 1014, 0x0A00000E, 0)         \
    X(QDrive, 2015, 0x0A00000F, 0)                         \
    X(QGetDrivesReqMsg, 86, 0x0A000010, 0x0A000011)        \
    X(QGetDrivesRespMsg, 1017, 0x0A000011, 0)              \
    X(QDriveControlRespMsg, 1018, 0x0A000012, 0)           \
    X(QDriveControlReqMsg, 103, 0x0A000013, 0x0A000012)    \
    X(QVerifyMediaReqMsg, 0, 0x0A000014, 0x0A000015)       \
    X(QVerifyMediaRespMsg, 1021, 0x0A000015, 0)            \
    X(QDiscoverMediaReqMsg, 19, 0x0A000016, 0x0A000017)    \
    X(QDiscoverMediaRespMsg, 1023, 0x0A000017, 0)          \
    X(QScratchPoolInfo, 91, 0x0A6CAD19, 0)                 \
    X(QGetMediaContentsReq, 52, 0x0A62FC05, 0)             \
    X(QGetMediaContentsResp, 20, 0x0AFC8549, 0)            \
    X(QJobInfo, 3001, 0x0ABE187A, 0)                       \
    X(QChunkInfo, 3002, 0x0A94E76A, 0)                     \
    /* end of list */

VSDK_MEDIA_MANAGER_MESSAGES(VSDK_DECLARE_MESSAGE)

// CheckForArchiveJobReq: an inner document of the generic request (no header
// or session of its own); the jobs to check.
#define MM_CHECK_FOR_ARCHIVE_JOB_REQ_FIELDS(F)                                  \
    F(kArchiveCheckJobs, 1, 1, 0x975F21)                                        \
    /* CheckForArchiveJobResp: two indicators, each non-zero when it holds. */  \
    F(kArchiveCheckFirst, 1, 1, 0x3BB121)                                       \
    F(kArchiveCheckSecond, 2, 2, 0xFF7EC3)
inline VSDK_MESSAGE_FIELDS(ArchiveCheckReq, MM_CHECK_FOR_ARCHIVE_JOB_REQ_FIELDS)

// QGetDrivesReqMsg: the media agent and library as in the topology requests
// (OrvaneUtilities::MediaTopologyReq), then the option; QGetDrivesRespMsg's
// list of QDrive entries.
#define MM_GET_DRIVES_FIELDS(F)                     \
    F(kDrivesOption, 8, 14, 0x7C4F59)               \
    F(kDrives, 3, 3, 0x1C9829)                      \
    F(kDriveId, 1, 1, 0x766845)                     \
    F(kDriveName, 2, 2, 0x7FB335)                   \
    F(kDrivePoolId, 3, 6, 0x2AD461)
VSDK_MESSAGE_FIELDS(GetDrives, MM_GET_DRIVES_FIELDS)

// The control requests (library control, drive control, export, verify,
// discover): the constant 2, the media agent, the library and its type.
#define MM_CONTROL_FIELDS(F)                        \
    F(kConstant, 3, 3, 0x10E449)                    \
    F(kMediaAgentId, 4, 4, 0xECDE7C)                \
    F(kLibraryId, 5, 5, 0x71EB36)                   \
    F(kLibraryType, 6, 6, 0xA95295)
VSDK_MESSAGE_FIELDS(Control, MM_CONTROL_FIELDS)

// QLibraryControlReqMsg, and its scratch-pool object (QScratchPoolInfo).
#define MM_LIBRARY_CONTROL_FIELDS(F)                \
    F(kOperation, 7, 7, 0x1AD567)                   \
    F(kOption, 8, 8, 0xBC38BB)                      \
    F(kSpareGroupId, 9, 9, 0xB57123)                \
    F(kMediaAgentName, 10, 10, 0xCB00E9)            \
    F(kScratchPool, 11, 14, 0x3E41E8)               \
    F(kTrailingText1, 12, 15, 0xC9E911)             \
    F(kTrailingText2, 13, 19, 0xE27190)             \
    F(kPoolName2, 8, 11, 0x1FFC93)                  \
    F(kPoolId, 1, 1, 0xB57123)                      \
    F(kPoolLibraryId, 2, 2, 0x71EB36)               \
    F(kPoolName1, 7, 7, 0x124C28)                   \
    F(kPoolValue5, 5, 5, 0x9C5502)                  \
    F(kPoolValue4, 4, 4, 0xE9D790)                  \
    F(kPoolValue6, 6, 6, 0x2DA957)                  \
    F(kPoolValue3, 3, 3, 0x231142)
VSDK_MESSAGE_FIELDS(LibraryControl, MM_LIBRARY_CONTROL_FIELDS)

// QDriveControlReqMsg.
#define MM_DRIVE_CONTROL_FIELDS(F)                  \
    F(kDriveId, 7, 7, 0x766845)                     \
    F(kOperation, 8, 8, 0x1AD567)                   \
    F(kMediaText, 9, 9, 0x1DE880)
VSDK_MESSAGE_FIELDS(DriveControl, MM_DRIVE_CONTROL_FIELDS)

// QExportMediaReqMsg.
#define MM_EXPORT_MEDIA_FIELDS(F)                   \
    F(kMediaList, 7, 7, 0x9102A2)                   \
    F(kVerifyMediaOnExport, 8, 8, 0xAB8E7E)         \
    F(kLocationDescription, 9, 9, 0x7F2FE6)         \
    F(kIePorts, 10, 13, 0x263C76)                   \
    F(kContainerId, 11, 17, 0x60397C)               \
    F(kContainerName, 12, 18, 0x3A12AC)             \
    F(kUseShelfwatch, 13, 22, 0xBB6090)             \
    F(kSwUseVMS, 14, 23, 0x46792A)                  \
    F(kSwAutoAcknowledgement, 15, 24, 0x45A7BC)     \
    F(kSwContainerId, 16, 25, 0xADCFDE)             \
    F(kSwContainerName, 17, 26, 0x7B988E)           \
    F(kSwTransitLocationId1, 18, 30, 0x101E0C)      \
    F(kSwTransitLocationId2, 19, 31, 0x101E0D)      \
    F(kSwTransitLocationName, 20, 32, 0x8B209F)     \
    F(kSwDestinationLocationId1, 21, 36, 0xED4DF1)  \
    F(kSwDestinationLocationId2, 22, 37, 0xED4DF2)  \
    F(kSwDestinationLocationName, 23, 38, 0xBEB270) \
    F(kOperation, 24, 42, 0x1AD567)                 \
    F(kMediaSideName, 25, 43, 0x0BF886)             \
    F(kDrivePoolId, 26, 47, 0x8FC081)               \
    F(kDriveId, 27, 48, 0x766845)                   \
    F(kMediaAgentName, 28, 49, 0x3177AC)            \
    F(kDestinationScratchPoolId, 29, 53, 0x689E6F)  \
    F(kMediaAttributeId, 30, 54, 0x310BF0)          \
    F(kTime, 31, 55, 0x3F1C8C)
VSDK_MESSAGE_FIELDS(ExportMedia, MM_EXPORT_MEDIA_FIELDS)

// QVerifyMediaReqMsg and the verification text of its reply.
#define MM_VERIFY_MEDIA_FIELDS(F)                   \
    F(kMediaId, 6, 6, 0x13101F)                     \
    F(kLocationId, 7, 7, 0xE68FB0)                  \
    F(kVerifyOMLOnExport, 9, 12, 0xCAB088)          \
    F(kLocationDescription, 8, 8, 0x7F2FE6)         \
    F(kOperation, 10, 13, 0x1AD567)                 \
    F(kVerificationText, 3, 3, 0xEB0007)
VSDK_MESSAGE_FIELDS(VerifyMedia, MM_VERIFY_MEDIA_FIELDS)

// QDiscoverMediaReqMsg (the media type name shares the library control's
// media agent name field).
#define MM_DISCOVER_MEDIA_FIELDS(F)                 \
    F(kScratchPoolId, 8, 8, 0xB57123)               \
    F(kMediaTypeName, 9, 9, 0xCB00E9)               \
    F(kOperation, 10, 13, 0x1AD567)                 \
    F(kBarcodes, 7, 7, 0x19CD3E)
VSDK_MESSAGE_FIELDS(DiscoverMedia, MM_DISCOVER_MEDIA_FIELDS)

// QGetMediaContentsReq / QGetMediaContentsResp: inner documents of the
// generic request (no header or session). The reply's error object is at
// (1,1); its flag is read by slot.
#define MM_MEDIA_CONTENTS_FIELDS(F)                 \
    F(kIsJobIdPassed, 2, 5, 0xE6B8BE)               \
    F(kGetHWEncKeyFlag, 3, 6, 0x8D3E6A)             \
    F(kBarcodesPassed, 5, 8, 0xB22DEA)              \
    F(kArchiveGroupId, 7, 10, 0x0336C4)             \
    F(kCopyId, 8, 11, 0x40AF70)                     \
    F(kJobIds, 4, 7, 0x523276)                      \
    F(kBarcodes, 6, 9, 0xDFEEBA)                    \
    F(kReplyError, 1, 1, 0xC4D208)                  \
    F(kReplyFlag, 3, 3, 0x7C5281)                   \
    F(kJobs, 2, 2, 0x2E7549)
VSDK_MESSAGE_FIELDS(MediaContents, MM_MEDIA_CONTENTS_FIELDS)

// QJobInfo: a job of the contents reply; its seventeen texts are fields 2
// to 18, four slots apart from slot 2. QChunkInfo: one of its chunks.
#define MM_CONTENTS_JOB_FIELDS(F)                   \
    F(kJobId, 1, 1, 0x09A9B8)                       \
    F(kMediaId, 20, 71, 0x13101F)                   \
    F(kText1, 2, 2, 0x4DD60F)                       \
    F(kClientName, 3, 6, 0xB304F6)                  \
    F(kText3, 4, 10, 0x695631)                      \
    F(kBackupSetName, 5, 14, 0xEC2DEB)              \
    F(kInstanceName, 6, 18, 0x0530C0)               \
    F(kSubclientName, 7, 22, 0x4BF336)              \
    F(kText7, 8, 26, 0xAB7EE2)                      \
    F(kText8, 9, 30, 0xC74EFE)                      \
    F(kText9, 10, 34, 0x5E594C)                     \
    F(kText10, 11, 38, 0x15C43C)                    \
    F(kText11, 12, 42, 0x538BAF)                    \
    F(kText12, 13, 46, 0x5BAD5A)                    \
    F(kMediaSideName, 14, 50, 0x0BF886)             \
    F(kText14, 15, 54, 0x5B449D)                    \
    F(kText15, 16, 58, 0xC5B176)                    \
    F(kText16, 17, 62, 0x42B60D)                    \
    F(kText17, 18, 66, 0xF8259A)                    \
    F(kChunks, 19, 70, 0xF74BF9)                    \
    F(kChunkValue1, 1, 1, 0xAB1F32)                 \
    F(kChunkValue2, 2, 2, 0x239537)                 \
    F(kChunkKey, 3, 3, 0x7A6914, kSecret)           \
    F(kChunkKeyLength, 4, 4, 0x0B3861)
VSDK_MESSAGE_FIELDS(ContentsJob, MM_CONTENTS_JOB_FIELDS)

void RegisterSubsystem();

}  // namespace MediaManager
