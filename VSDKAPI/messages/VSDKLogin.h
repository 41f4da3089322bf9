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
    X(QAllTokenInfo, 6, 0x04000388, 0)                     \
    /* end of list */

VSDK_LOGIN_MESSAGES(VSDK_DECLARE_MESSAGE)

void RegisterSubsystem();

// Session object of this family (its own layout).
#define LOGIN_LOGIN_SESSION_FIELDS(F)                            \
    F(kSessionOne, 3, 6, 0x1BAC7F)                               \
    F(kSessionGuid, 4, 7, 0x309689, kSecret)  /* byte string */  \
    F(kSessionMardock, 5, 8, 0x69431B)                           \
    F(kSessionMultiDomainToken, 7, 13, 0xD138BD, kSecret)
inline VSDK_MESSAGE_FIELDS(LoginSession, LOGIN_LOGIN_SESSION_FIELDS)

// QLoginInfoMsg
#define LOGIN_LOGIN_INFO_FIELDS(F)               \
    F(kLoginMardock, 3, 3, 0xC45FB5)             \
    F(kLoginUser, 4, 7, 0x1AFCF6)                \
    F(kLoginPassword, 5, 11, 0x89BA9B, kSecret)  \
    F(kLoginFlags, 10, 22, 0xCFEE87)             \
    F(kLoginForce, 11, 23, 0xFA8F3E)             \
    F(kLoginGuid, 12, 24, 0xE96307, kSecret)     \
    F(kLoginSamlRequest, 14, 29, 0x97DCDF)       \
    F(kLoginValidity, 15, 30, 0x9E96E6)          \
    F(kLoginWithSaml, 16, 31, 0xB1867D)          \
    F(kLoginOption, 17, 32, 0x8D6DC9)
inline VSDK_MESSAGE_FIELDS(LoginInfo, LOGIN_LOGIN_INFO_FIELDS)

// QLoginRespMsg
#define LOGIN_LOGIN_RESP_FIELDS(F)                                  \
    F(kLoginRespError, 3, 3, 0xC4D208)                              \
    F(kLoginRespUserId, 7, 7, 0x2B2E46)                             \
    F(kLoginRespToken, 8, 8, 0x309689, kSecret)  /* byte string */  \
    F(kLoginRespSamlToken, 11, 11, 0x36458C, kSecret)
inline VSDK_MESSAGE_FIELDS(LoginResp, LOGIN_LOGIN_RESP_FIELDS)

// QLogoutInfoMsg
#define LOGIN_LOGOUT_INFO_FIELDS(F)     \
    F(kLogoutAllUsers, 3, 3, 0x3387B7)
inline VSDK_MESSAGE_FIELDS(LogoutInfo, LOGIN_LOGOUT_INFO_FIELDS)

// QLogoutRespMsg
#define LOGIN_LOGOUT_RESP_FIELDS(F)         \
    F(kLogoutRespRefCount, 3, 3, 0x33F884)
inline VSDK_MESSAGE_FIELDS(LogoutResp, LOGIN_LOGOUT_RESP_FIELDS)

// QAllTokenInfo: the saved logins, in the order they were appended.
#define LOGIN_ALL_TOKEN_INFO_FIELDS(F)                               \
    F(kAllTokenList, 1, 1, 0x69ee47)  /* list of QLoginTokenInfo */
inline VSDK_MESSAGE_FIELDS(AllTokenInfo, LOGIN_ALL_TOKEN_INFO_FIELDS)

// QLoginTokenInfo: one saved login.
#define LOGIN_LOGIN_TOKEN_INFO_FIELDS(F)                        \
    F(kTokenMardock, 1, 1, 0x61516f)                            \
    F(kTokenClientName, 4, 10, 0xf42186)                        \
    F(kTokenUser, 2, 5, 0x36ebcb)                               \
    F(kTokenToken, 3, 9, 0x309689, kSecret)  /* byte string */
inline VSDK_MESSAGE_FIELDS(LoginTokenInfo, LOGIN_LOGIN_TOKEN_INFO_FIELDS)

}  // namespace VSDKLogin
