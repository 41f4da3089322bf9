// Fields shared by the request header, session object, error object and time
// object of every family (each family has its own type for them; the field
// numbers, slots and hashes are the same).
#pragma once

#include "MessageTable.h"

namespace msgf {

// Request: the header and the session object.
#define COMMON_REQUEST_FIELDS(F)        \
    F(kRequestHeader, 1, 1, 0x34E28D)   \
    F(kRequestSession, 2, 2, 0x508296)
inline VSDK_MESSAGE_FIELDS(Request, COMMON_REQUEST_FIELDS)

// Request header.
#define COMMON_REQUEST_HEADER_FIELDS(F) \
    F(kHeaderHost, 2, 2, 0x12D053)     \
    F(kHeaderVersion, 3, 6, 0xF51CD8)  \
    F(kHeaderBuild, 4, 10, 0x9BC66E)
inline VSDK_MESSAGE_FIELDS(RequestHeader, COMMON_REQUEST_HEADER_FIELDS)

// Session object of modules 5, 6 and 10.
#define COMMON_SESSION_FIELDS(F)                           \
    F(kSessionId, 2, 2, 0x3A3E31)                          \
    F(kSessionOne, 3, 6, 0x1BAC7F)                         \
    F(kSessionGuid, 4, 7, 0x309689, kSecret)               \
    F(kSessionMardock, 5, 11, 0x69431B)                    \
    F(kSessionMultiDomainFlag, 6, 15, 0x41F0C0)            \
    F(kSessionMultiDomainToken, 7, 16, 0xD138BD, kSecret)
inline VSDK_MESSAGE_FIELDS(Session, COMMON_SESSION_FIELDS)

// Reply: the error object, and its two fields (also the bare error reply's).
#define COMMON_REPLY_ERROR_FIELDS(F) \
    F(kReplyError, 2, 2, 0xC4D208)  \
    F(kErrorCode, 1, 1, 0x9CB015)   \
    F(kErrorText, 2, 2, 0xCB7839)
inline VSDK_MESSAGE_FIELDS(ReplyError, COMMON_REPLY_ERROR_FIELDS)

// Time object.
#define COMMON_TIME_FIELDS(F)         \
    F(kTimeUnix, 1, 1, 0xC69C75)      \
    F(kTimeStart, 2, 2, 0xCD049E)     \
    F(kTimeZone, 3, 6, 0x30BC19)      \
    F(kTimeOffset, 4, 10, 0x376493)   \
    F(kTimeDsFlags, 5, 11, 0xFC6358)
inline VSDK_MESSAGE_FIELDS(Time, COMMON_TIME_FIELDS)

// Client version and build stamped into every request header.
constexpr const char* kClientVersion = "11.0.0";
constexpr long long kBuildNumber = 80;

}  // namespace msgf
