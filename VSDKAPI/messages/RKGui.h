// Module 1: alert list request and reply, carried as inner XML documents.
#pragma once

#include "CommonFields.h"

namespace RKGui {

constexpr int kModuleId = 1;

// X(Name, class number, tag code, expected reply tag code)
#define VSDK_RKGUI_MESSAGES(X)                              \
    X(QReplyErrorMsg, 2, 0x01000002, 0)\
    /* end of list */

VSDK_RKGUI_MESSAGES(VSDK_DECLARE_MESSAGE)

void RegisterSubsystem();

}  // namespace RKGui
