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
    X(QTime, 68, 0x0A000004, 0)

VSDK_MEDIA_MANAGER_MESSAGES(VSDK_DECLARE_MESSAGE)

void RegisterSubsystem();

}  // namespace MediaManager
