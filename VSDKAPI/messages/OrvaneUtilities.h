// Module 6: listings and configuration; the bare error reply and the generic reply.
#pragma once

#include "CommonFields.h"

namespace OrvaneUtilities {

constexpr int kModuleId = 6;

// X(Name, class number, tag code, expected reply tag code)
#define VSDK_ORVANE_UTILITIES_MESSAGES(X)                   \
    X(QRequestHeaderMsg, 99, 0x06000001, 0)                \
    X(QErrorMsg, 210, 0x06000002, 0)                       \
    X(QSessionInfoMsg, 88, 0x06000003, 0)                  \
    X(QTime, 133, 0x06000004, 0)                           \
    X(QGenericResp, 211, 0x0600012E, 0)                    \
    X(QLMReplicateDBReq, 1190, 0x066E1DE9, 0x06559FE5)     \
    X(QLMReplicateDBResp, 1191, 0x06559FE5, 0)

VSDK_ORVANE_UTILITIES_MESSAGES(VSDK_DECLARE_MESSAGE)

// QLMReplicateDBReq: the caller builds the body; the library fills only the
// session object (msgf::kRequestSession). QLMReplicateDBResp: read only for
// its error object (msgf::kReplyError).

void RegisterSubsystem();

}  // namespace OrvaneUtilities
