// Token strings: the encrypted form of one saved login, and their exports.

#include "TokenStore.h"
#include "TokenStoreInternal.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKErrors/MessageLogging.h"
#include "VSDKErrors/VSDKErrors.h"
#include "platform/RKPassword.h"
#include "platform/RKPlatformInfo.h"
#include "VSDKErrors/ExportGuard.h"

#include <cstring>
#include <string>
#include <vector>

using namespace tokenstore;

namespace {

std::string textOrEmpty(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

bool makeVSDKTokenEntry(_VSDKTokenFileContents& entry, const std::string& mardockName,
                        const std::string& mardockClientName, const std::string& user,
                        const std::string& token) {
    entry = _VSDKTokenFileContents();
    const std::string name = upToZero(mardockName);
    const std::string client = upToZero(mardockClientName);
    const std::string who = upToZero(user);
    const std::string tok = upToZero(token);
    if (name.size() >= sizeof entry.mardockName || client.size() >= sizeof entry.mardockClientName ||
        who.size() >= sizeof entry.user || tok.size() >= sizeof entry.token)
        return false;
    msgf::copyBounded(entry.mardockName, name);
    msgf::copyBounded(entry.mardockClientName, client);
    msgf::copyBounded(entry.user, who);
    msgf::copyBounded(entry.token, tok);
    return true;
}

unsigned long constructVSDKTokenString(_VSDKTokenFileContents entry, std::string& tokenString) {
    QEvDebug log;
    const char tag[] = "constructVSDKTokenString";
    const std::string user = msgf::boundedText(entry.user);
    log.debugLvl(tag, 6, "Token Info: Mardock:[%s], User:[%s], CsClientName:[%s]",
                 msgf::boundedText(entry.mardockName).c_str(), user.c_str(),
                 msgf::boundedText(entry.mardockClientName).c_str());
    if (CNMessageBase::Initialize() != 0) {
        log.debugLvl(tag, 0, "Failed to initialize Xml Object");
        return vsdkerr::kTokenFileRead;
    }
    VSDKLogin::QAllTokenInfo all;
    msgf::appendObject(all, VSDKLogin::kAllTokenList, makeEntryMessage(entry));
    std::string text;
    if (all.serialize(text, false) != 0) {
        log.debugLvl(tag, 0, "Failed to serialize the Session file Blob");
        return vsdkerr::kTokenFileRead;
    }
    std::string cipher;
    // The token string must be a text without zero bytes that fits the
    // 12,800-byte buffer it is handed around in.
    if (RKPassword::encryptStrong(text, cipher) != 0 || cipher.empty() ||
        cipher.size() >= kStoreBufferSize || cipher.find('\0') != std::string::npos) {
        log.debugLvl(tag, 0, "Failed to Encrypt the session xml Blob");
        return vsdkerr::kTokenStringEncrypt;
    }
    tokenString.swap(cipher);
    return 0;
}

static unsigned long destructVSDKTokenStringUnguarded(std::string tokenString,
                                                      _VSDKTokenFileContents* entry) {
    QEvDebug log;
    const char tag[] = "destructVSDKTokenString";
    if (!entry) return vsdkerr::kInvalidArgument;
    std::string text;
    if (decryptTokenString(tokenString, text) != 0) {
        log.debugLvl(tag, 0, "Failed to decrypt the token string");
        return vsdkerr::kTokenStringEntries;
    }
    log.debugLvl(tag, 10, "Received XML token string: [%s]", logXMLMessage(text).c_str());
    if (CNMessageBase::Initialize() != 0) {
        log.debugLvl(tag, 0, "Failed to initialize XML object");
        return vsdkerr::kTokenStringEntries;
    }
    VSDKLogin::QAllTokenInfo all;
    if (!parseStoreText(text, all)) {
        log.debugLvl(tag, 0, "Failed to unserialize XML object");
        return vsdkerr::kTokenStringEntries;
    }
    const std::vector<CNMessageBase>& list = entriesOf(all);
    if (list.size() != 1) {
        log.debugLvl(tag, 0, "Passed many tokens. This API should be called with only one token");
        return vsdkerr::kTokenStringEntries;
    }
    *entry = entryFromMessage(list.front(), true);
    return 0;
}

static unsigned long getVSDKTokenInfoWSUnguarded(std::string tokenString,
                                                 _VSDKTokenFileContents* entry) {
    QEvDebug log;
    if (!entry) return vsdkerr::kInvalidArgument;
    VSDKLogin::QAllTokenInfo all;
    const unsigned long rc = readTokenString(log, "getVSDKTokenInfo", tokenString, all);
    if (rc != 0) return rc;
    const std::vector<CNMessageBase>& list = entriesOf(all);
    if (!list.empty()) *entry = entryFromMessage(list.back(), false);
    return 0;
}

static unsigned long VSDKConstructTokenWrapperUnguarded(const char* mardockName,
                                                        const char* mardockClientName,
                                                        const char* user, const char* token,
                                                        std::string& tokenString) {
    _VSDKTokenFileContents entry;
    // A value cut to its field would make a token string of another login.
    if (!makeVSDKTokenEntry(entry, textOrEmpty(mardockName), textOrEmpty(mardockClientName),
                            textOrEmpty(user), textOrEmpty(token)))
        return vsdkerr::kInvalidArgument;
    std::string built;
    const unsigned long rc = constructVSDKTokenString(entry, built);
    if (rc != 0) return rc;
    tokenString = built;
    return 0;
}

static unsigned long VSDKConstructTokenWrapper_NOSTLUnguarded(const char* mardockName,
                                                              const char* mardockClientName,
                                                              const char* user, const char* token,
                                                              char* tokenString,
                                                              unsigned long size) {
    if (!tokenString) return vsdkerr::kInvalidArgument;
    std::string built;
    const unsigned long rc =
        VSDKConstructTokenWrapper(mardockName, mardockClientName, user, token, built);
    if (rc != 0) return rc;
    if (size < built.size() + 1) return vsdkerr::kInvalidArgument;
    std::memcpy(tokenString, built.data(), built.size());
    std::memset(tokenString + built.size(), 0, size - built.size());
    return 0;
}

static unsigned long VSDKGetSessionIdFromToken_NOSTLUnguarded(const char* tokenString,
                                                              char* sessionId, unsigned long size,
                                                              const char* mardockName) {
    if (!sessionId || size == 0) return vsdkerr::kInvalidArgument;

    std::string name;
    if (!mardockName || !*mardockName) {
        char registryHost[256] = {0};
        RKPlatformInfo::findMardockHostName(registryHost, sizeof registryHost);
        name = msgf::boundedText(registryHost);
    } else {
        // A cut name would look up another Mardock.
        name = msgf::boundedText(mardockName, 256);
        if (name.size() > 255) return vsdkerr::kInvalidArgument;
    }

    _VSDKTokenFileContents entry;
    std::string path;
    bool found = false;
    const unsigned long rc =
        getVSDKTokenInfo(entry, name, path, textOrEmpty(tokenString), found, std::string());
    if (rc != 0) return rc;
    const std::string token = msgf::boundedText(entry.token);
    if (size < token.size() + 1) return vsdkerr::kInvalidArgument;
    std::memcpy(sessionId, token.data(), token.size());
    std::memset(sessionId + token.size(), 0, size - token.size());
    return 0;
}

// The exports: no exception leaves them.

unsigned long destructVSDKTokenString(std::string tokenString, _VSDKTokenFileContents* entry) {
    return vsdkguard::guarded("destructVSDKTokenString",
                              [&] { return destructVSDKTokenStringUnguarded(tokenString, entry); });
}

unsigned long getVSDKTokenInfoWS(std::string tokenString, _VSDKTokenFileContents* entry) {
    return vsdkguard::guarded("getVSDKTokenInfoWS",
                              [&] { return getVSDKTokenInfoWSUnguarded(tokenString, entry); });
}

unsigned long VSDKConstructTokenWrapper(const char* mardockName, const char* mardockClientName,
                                        const char* user, const char* token,
                                        std::string& tokenString) {
    return vsdkguard::guarded("VSDKConstructTokenWrapper", [&] {
        return VSDKConstructTokenWrapperUnguarded(mardockName, mardockClientName, user, token,
                                                  tokenString);
    });
}

unsigned long VSDKConstructTokenWrapper_NOSTL(const char* mardockName,
                                              const char* mardockClientName, const char* user,
                                              const char* token, char* tokenString,
                                              unsigned long size) {
    return vsdkguard::guarded("VSDKConstructTokenWrapper_NOSTL", [&] {
        return VSDKConstructTokenWrapper_NOSTLUnguarded(mardockName, mardockClientName, user, token,
                                                        tokenString, size);
    });
}

unsigned long VSDKGetSessionIdFromToken_NOSTL(const char* tokenString, char* sessionId,
                                              unsigned long size, const char* mardockName) {
    return vsdkguard::guarded("VSDKGetSessionIdFromToken_NOSTL", [&] {
        return VSDKGetSessionIdFromToken_NOSTLUnguarded(tokenString, sessionId, size, mardockName);
    });
}
