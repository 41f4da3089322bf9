/* Login and logout: their records and exported functions. */
#ifndef VSDK_LOGIN_H
#define VSDK_LOGIN_H

#include "Common.h"

#include <string>

namespace VSDKLogin {
struct QLoginInfoMsg;
struct QLoginRespMsg;
}  // namespace VSDKLogin

/* What a login needs. All fields are zero, false or empty after construction. */
struct VSDK_EXPORT _QLoginParameters {
    char user[256] = {};
    char password[128] = {};       /* never written to the log */
    bool forceLogin = false;       /* log in even when the token store holds another user's login */
    int providerId = 0;            /* logged only */
    std::string principalName;     /* logged only */
    std::string domainName;        /* logged only */
    int flags = 0;                 /* sent as given; bit 0 asks for single sign-on (refused) */
    std::string guid;              /* location of the token store file; empty: the default one */
    std::string tokenString;       /* looked up instead of the token store file when not empty */
    bool isTokenFile = false;      /* logged only */
    bool giveToken = false;        /* hand back a token string instead of writing the token store */
    bool samlTokenRequest = false; /* ask for a SAML token; the thread and the store stay as they were */
    int validityDuration = 0;
    bool loginWithSamlToken = false; /* log in with the thread's multi-domain token */
    std::string sessionToken;      /* when not empty, sent as the login's token */
    int loginOption = 0;

    /* Text dump for the debug log (no password, token string or session token). */
    std::string c_str() const;
};

/* What a login hands back. */
struct _QLoginResp {
    int userId = 0;
    std::string token;        /* the login token, every byte of it */
    std::string tokenString;  /* the SAML token, or the token string of the new login */
};

/* What a logout needs. All fields are false or empty after construction. */
struct VSDK_EXPORT _QLogoutParameters {
    bool logoutAllUsers = false;
    std::string tokenFilePath;  /* location of the token store file; empty: the default one */
    std::string tokenString;    /* looked up instead of the token store file when not empty */
    bool isTokenFile = false;   /* not read */
    bool keepTokenStore = false;

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* Logs the calling thread in at the Mardock it is connected to. */
VSDK_API unsigned long VSDKLoginApi(_QLoginParameters* params, _QLoginResp* result);

/* The same from zero-terminated strings; the login's result is not handed out. */
VSDK_API unsigned long VSDKLoginApi_NOSTL(const char* user, const char* password,
                                          const char* principalName, const char* domainName,
                                          const char* guid, const char* tokenString,
                                          int providerId, int flags, bool forceLogin,
                                          bool isTokenFile, bool giveToken);

/* Single sign-on step; single sign-on is refused (0x264). */
VSDK_API unsigned long VSDKLoginSSO(VSDKLogin::QLoginInfoMsg& request,
                                    VSDKLogin::QLoginRespMsg*& reply);

/* Ends the calling thread's login. */
VSDK_API unsigned long VSDKLogout(_QLogoutParameters* params);

/* The same from zero-terminated strings. */
VSDK_API unsigned long VSDKLogout_NOSTL(bool logoutAllUsers, const char* tokenFilePath,
                                        const char* tokenString, bool isTokenFile,
                                        bool keepTokenStore);

#endif
