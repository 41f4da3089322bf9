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

void RegisterSubsystem();

}  // namespace MediaManager
