// Module 5: job operations (backup, restore, auxiliary copy, data aging, the
// generic request and others).
#pragma once

#include "CommonFields.h"

namespace OrvaneOperations {

constexpr int kModuleId = 5;

// X(Name, class number, tag code, expected reply tag code)
#define VSDK_ORVANE_OPERATIONS_MESSAGES(X)                  \
    X(QRequestHeaderMsg, 40, 0x05000001, 0)                \
    X(QReplyErrorMsg, 79, 0x05000002, 0)                   \
    X(QSessionInfoMsg, 37, 0x05000003, 0)                  \
    X(QTime, 47, 0x05000004, 0)                            \
    X(QExecuteReqMsg, 17, 0x0500013F, 0x05000140)          \
    X(QExecuteRespMsg, 18, 0x05000140, 0)

VSDK_ORVANE_OPERATIONS_MESSAGES(VSDK_DECLARE_MESSAGE)

void RegisterSubsystem();

// QExecuteReqMsg / QExecuteRespMsg
constexpr FieldId kExecuteXml{3, 3, 0x180DF3};
constexpr FieldId kExecuteRespXml{3, 3, 0x111901};
constexpr FieldId kErrorExtra{6, 6, 0xD6EAF3};  // 64-bit value in the reply's error object

}  // namespace OrvaneOperations
