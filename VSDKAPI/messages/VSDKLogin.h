// Module 4: login and logout, and the token store records.
#pragma once

#include "CommonFields.h"

namespace VSDKLogin {

constexpr int kModuleId = 4;

// X(Name, class number, tag code, expected reply tag code)
#define VSDK_LOGIN_MESSAGES(X)                              \
    X(QRequestHeaderMsg, 3, 0x04000001, 0)                 \
    X(QSessionInfoMsg, 2, 0x04000003, 0)                   \
    X(QReplyErrorMsg, 8, 0x04000002, 0)                    \
    X(QLoginInfoMsg, 5, 0x0400000B, 0x0400000D)            \
    X(QLoginRespMsg, 9, 0x0400000D, 0)                     \
    X(QLogoutInfoMsg, 7, 0x0400000E, 0x0400000F)           \
    X(QLogoutRespMsg, 10, 0x0400000F, 0)                   \
    X(QLoginTokenInfo, 4, 0x04000387, 0)                   \
    X(QAllTokenInfo, 6, 0x04000388, 0)

VSDK_LOGIN_MESSAGES(VSDK_DECLARE_MESSAGE)

void RegisterSubsystem();

// Session object of this family (its own layout).
constexpr FieldId kSessionOne{3, 6, 0x1BAC7F};
constexpr FieldId kSessionGuid{4, 7, 0x309689};      // byte string
constexpr FieldId kSessionMardock{5, 8, 0x69431B};
constexpr FieldId kSessionMultiDomainToken{7, 13, 0xD138BD};

// QLoginInfoMsg
constexpr FieldId kLoginMardock{3, 3, 0xC45FB5};
constexpr FieldId kLoginUser{4, 7, 0x1AFCF6};
constexpr FieldId kLoginPassword{5, 11, 0x89BA9B};
constexpr FieldId kLoginFlags{10, 22, 0xCFEE87};
constexpr FieldId kLoginForce{11, 23, 0xFA8F3E};
constexpr FieldId kLoginGuid{12, 24, 0xE96307};
constexpr FieldId kLoginSamlRequest{14, 29, 0x97DCDF};
constexpr FieldId kLoginValidity{15, 30, 0x9E96E6};
constexpr FieldId kLoginWithSaml{16, 31, 0xB1867D};
constexpr FieldId kLoginOption{17, 32, 0x8D6DC9};

// QLoginRespMsg
constexpr FieldId kLoginRespError{3, 3, 0xC4D208};
constexpr FieldId kLoginRespUserId{7, 7, 0x2B2E46};
constexpr FieldId kLoginRespToken{8, 8, 0x309689};    // byte string
constexpr FieldId kLoginRespSamlToken{11, 11, 0x36458C};

// QLogoutInfoMsg
constexpr FieldId kLogoutAllUsers{3, 3, 0x3387B7};

// QLogoutRespMsg
constexpr FieldId kLogoutRespRefCount{3, 3, 0x33F884};

// QAllTokenInfo: the saved logins, in the order they were appended.
constexpr FieldId kAllTokenList{1, 1, 0x69ee47};   // list of QLoginTokenInfo

// QLoginTokenInfo: one saved login.
constexpr FieldId kTokenMardock{1, 1, 0x61516f};
constexpr FieldId kTokenClientName{4, 10, 0xf42186};
constexpr FieldId kTokenUser{2, 5, 0x36ebcb};
constexpr FieldId kTokenToken{3, 9, 0x309689};     // byte string, secret

}  // namespace VSDKLogin
