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

void RegisterSubsystem();

}  // namespace MediaManager
