/* Token store entries and token strings. */
#ifndef VSDK_TOKEN_H
#define VSDK_TOKEN_H

#include "Common.h"

#include <cstring>
#include <string>

/* One saved login: the Mardock host name, the user, the session token and the
 * Mardock client name. Each array holds at most its width less one characters
 * followed by a zero byte; the constructor zeroes all of them. */
struct VSDK_EXPORT _VSDKTokenFileContents {
    char mardockName[256];
    char user[256];
    char token[128];
    char mardockClientName[1024];

    _VSDKTokenFileContents() {
        std::memset(mardockName, 0, sizeof mardockName);
        std::memset(user, 0, sizeof user);
        std::memset(token, 0, sizeof token);
        std::memset(mardockClientName, 0, sizeof mardockClientName);
    }

    /* Text dump for the debug log; the token is never part of it. */
    std::string c_str() const;
};

/* Finds the saved login of a Mardock in the token store (tokenFilePath, or the
 * calling user's store when empty; the store path is then written back into
 * tokenFilePath) or in a token string when one is given. found must be preset
 * to false; it is set and entry filled when an entry matched. */
VSDK_API int getVSDKTokenInfoWrapper(_VSDKTokenFileContents& entry, std::string mardockName,
                                     std::string& tokenFilePath, std::string tokenString,
                                     bool& found);

/* Fills *entry from a token string that holds exactly one entry (0x274 otherwise). */
VSDK_API unsigned long destructVSDKTokenString(std::string tokenString,
                                               _VSDKTokenFileContents* entry);

/* Fills *entry from the last entry of a token string (its user left empty). */
VSDK_API unsigned long getVSDKTokenInfoWS(std::string tokenString, _VSDKTokenFileContents* entry);

/* Builds the token string of one login. */
VSDK_API unsigned long VSDKConstructTokenWrapper(const char* mardockName,
                                                 const char* mardockClientName, const char* user,
                                                 const char* token, std::string& tokenString);

/* The same into a caller buffer of size bytes (0x303 when it does not fit with
 * its terminating zero). Null texts count as empty. */
VSDK_API unsigned long VSDKConstructTokenWrapper_NOSTL(const char* mardockName,
                                                       const char* mardockClientName,
                                                       const char* user, const char* token,
                                                       char* tokenString, unsigned long size);

/* Copies the session token saved for a Mardock (the registry's own Mardock when
 * mardockName is null or empty), found in a token string or, when tokenString
 * is null or empty, in the calling user's token store, into sessionId (size
 * bytes, zero filled). 0x303 for a null or too small sessionId. */
VSDK_API unsigned long VSDKGetSessionIdFromToken_NOSTL(const char* tokenString, char* sessionId,
                                                       unsigned long size,
                                                       const char* mardockName);

#endif
