// Fields shared by the request header, session object, error object and time
// object of every family (each family has its own type for them; the field
// numbers, slots and hashes are the same).
#pragma once

#include "MessageTable.h"

namespace msgf {

// Request: the header and the session object.
constexpr FieldId kRequestHeader{1, 1, 0x34E28D};
constexpr FieldId kRequestSession{2, 2, 0x508296};

// Request header.
constexpr FieldId kHeaderHost{2, 2, 0x12D053};
constexpr FieldId kHeaderVersion{3, 6, 0xF51CD8};
constexpr FieldId kHeaderBuild{4, 10, 0x9BC66E};

// Session object of modules 5, 6 and 10.
constexpr FieldId kSessionId{2, 2, 0x3A3E31};
constexpr FieldId kSessionOne{3, 6, 0x1BAC7F};
constexpr FieldId kSessionGuid{4, 7, 0x309689};
constexpr FieldId kSessionMardock{5, 11, 0x69431B};
constexpr FieldId kSessionMultiDomainFlag{6, 15, 0x41F0C0};
constexpr FieldId kSessionMultiDomainToken{7, 16, 0xD138BD};

// Reply: the error object, and its two fields (also the bare error reply's).
constexpr FieldId kReplyError{2, 2, 0xC4D208};
constexpr FieldId kErrorCode{1, 1, 0x9CB015};
constexpr FieldId kErrorText{2, 2, 0xCB7839};

// Time object.
constexpr FieldId kTimeUnix{1, 1, 0xC69C75};
constexpr FieldId kTimeStart{2, 2, 0xCD049E};
constexpr FieldId kTimeZone{3, 6, 0x30BC19};
constexpr FieldId kTimeOffset{4, 10, 0x376493};
constexpr FieldId kTimeDsFlags{5, 11, 0xFC6358};

// Client version and build stamped into every request header.
constexpr const char* kClientVersion = "11.0.0";
constexpr long long kBuildNumber = 80;

}  // namespace msgf
