// Login and logout: the exports, their records' text dumps, and the thread
// forms the forced re-login of the exchange uses.
#include "Login.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIGlobalData/TextConversion.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "VSDKErrors/VSDKErrors.h"
#include "VSDKErrors/ExportGuard.h"

#include <strings.h>

#include <memory>

using tokenstore::upToZero;

namespace {

constexpr const char* kLoginFunction = "VSDKLoginApi";
constexpr const char* kSingleSignOnText = "Single signon is supported only from Windows machines";
constexpr unsigned long kLogoutOutdated = 0x50d;

// Session object of a login-family request.
CNMessageBase& loginSession(CNMessageBase& request) {
    return msgf::child<VSDKLogin::QSessionInfoMsg>(request, msgf::kRequestSession);
}

using LI = _QLoginParameters;
using recorddump::dump;

// The password, the token string and the session token are not written.
const recorddump::DumpRow<LI> kLoginDump[] = {
    {"\nUser:[", dump<&LI::user>, "]\n"},
    {"Force login:[", dump<&LI::forceLogin>, "]\n"},
    {"Provider ID:[", dump<&LI::providerId>, "]\n"},
    {"Prinicipal Name:[", dump<&LI::principalName>, "]\n"},
    {"Domain Name:[", dump<&LI::domainName>, "]\n"},
    {"Flags:[", dump<&LI::flags>, "]\n"},
    {"Guid:[", dump<&LI::guid>, "]\n"},
    {"IsTokenFile:[", dump<&LI::isTokenFile>, "]\n"},
    {"GiveToken:[", dump<&LI::giveToken>, "]\n"},
    {"samlTokenrequesst:[", dump<&LI::samlTokenRequest>, "]\n"},
    {"Validity Duration:[", dump<&LI::validityDuration>, "]\n"},
    {"LoginWithSamlToken:[", dump<&LI::loginWithSamlToken>, "]"},
};

const recorddump::DumpRow<_QLogoutParameters> kLogoutDump[] = {
    {"Log out All users:[", recorddump::dumpTrueFalse<&_QLogoutParameters::logoutAllUsers>, "]\n"},
};

// The entry the login saves: the thread's Mardock and client name, the user
// and the reply's login token. False when a value does not fit its field (a
// cut token or name is another login, so it is neither stored nor handed out).
bool newEntry(VSDKAPIGlobalData& state, const std::string& user, const std::string& token,
              _VSDKTokenFileContents& entry) {
    const _QHandle& handle = state.getVSDKHandle();
    if (makeVSDKTokenEntry(entry, handle.mardockName, handle.mardockClientName, user, token)) {
        return true;
    }
    state.getEvDebug().debugLvl(
        kLoginFunction, 0,
        "Login is not saved: token [%zu bytes], Mardock [%zu], user [%zu] or client name [%zu] "
        "does not fit the token store entry",
        upToZero(token).size(), upToZero(handle.mardockName).size(), upToZero(user).size(),
        upToZero(handle.mardockClientName).size());
    return false;
}

}  // namespace

std::string _QLoginParameters::c_str() const { return recorddump::dumpRows(kLoginDump, *this); }

std::string _QLogoutParameters::c_str() const { return recorddump::dumpRows(kLogoutDump, *this); }

unsigned long loginThread(VSDKAPIGlobalData& state, const _QLoginParameters& params,
                          _QLoginResp& result) {
    VSDKLogin::QLoginInfoMsg request;
    _VSDKTokenFileContents stored;
    const _QHandle& handle = state.getVSDKHandle();
    QEvDebug& log = state.getEvDebug();
    const std::string user = msgf::boundedText(params.user);
    const std::string password = msgf::boundedText(params.password);

    log.debugLvl(kLoginFunction, 6, "Login Parameters:%s", params.c_str().c_str());

    if (params.flags & 1) {
        log.debugLvl(kLoginFunction, 0, "Login failed with Error code [0x%lx] Error string [%s]",
                     vsdkerr::kSingleSignOn, kSingleSignOnText);
        return vsdkerr::kSingleSignOn;
    }

    CNMessageBase& session = loginSession(request);
    bool found = false;
    if (state.getUseSessionFile() && !params.giveToken) {
        // The look-up may write the default store path into its path argument.
        std::string storePath = params.guid;
        const int rc = getVSDKTokenInfoWrapper(stored, handle.mardockName, storePath,
                                               params.tokenString, found);
        if (rc != 0) found = false;  // an unreadable store is no reason to refuse the login
        if (found && !params.forceLogin) {
            if (strcasecmp(msgf::boundedText(stored.user).c_str(), user.c_str()) != 0) {
                log.debugLvl(kLoginFunction, 0,
                             "Login to Mardock failed with Error code [0x%lx] Error string [%s]",
                             vsdkerr::kOtherUserLoggedIn,
                             GetErrorString(vsdkerr::kOtherUserLoggedIn));
                return vsdkerr::kOtherUserLoggedIn;
            }
            msgf::putBytes(session, VSDKLogin::kSessionGuid, msgf::boundedText(stored.token));
        }
    }

    msgf::putInt(session, VSDKLogin::kSessionOne, 1);
    msgf::putText(request, VSDKLogin::kLoginMardock, handle.mardockName);
    msgf::putText(request, VSDKLogin::kLoginUser, user);
    msgf::putText(request, VSDKLogin::kLoginPassword, password);
    // The caller's guid names a local file; it goes out as the caller gave it.
    msgf::putText(request, VSDKLogin::kLoginGuid, params.guid);
    msgf::putFlag(request, VSDKLogin::kLoginSamlRequest, params.samlTokenRequest);
    msgf::putInt(request, VSDKLogin::kLoginValidity, params.validityDuration);
    msgf::putInt(request, VSDKLogin::kLoginOption, params.loginOption);
    if (params.loginWithSamlToken) {
        msgf::putInt(request, VSDKLogin::kLoginWithSaml, 1);
        msgf::putText(session, VSDKLogin::kSessionMultiDomainToken, state.getmultifenmarktoken());
    }
    if (params.forceLogin) msgf::putBytes(session, VSDKLogin::kSessionGuid, state.getGuid());
    msgf::putFlag(request, VSDKLogin::kLoginForce, params.forceLogin);
    msgf::putInt(request, VSDKLogin::kLoginFlags, params.flags);
    if (!params.sessionToken.empty()) {
        msgf::putBytes(session, VSDKLogin::kSessionGuid, params.sessionToken);
    }

    log.debugLvl(kLoginFunction, 6, "Regular Login");
    OperationSpec spec{kLoginFunction, "Login Response",
                       VSDKLogin::kLoginRespError};
    unsigned long storeResult = 0;
    const unsigned long rc = runOperation(state, spec, request, [&](const CNMessageBase& reply) {
        const std::string token = msgf::getBytes(reply, VSDKLogin::kLoginRespToken);
        result.userId = static_cast<int>(msgf::getInt(reply, VSDKLogin::kLoginRespUserId));
        result.token = token;
        if (params.samlTokenRequest) {
            result.tokenString = msgf::getText(reply, VSDKLogin::kLoginRespSamlToken);
            return;
        }
        if (state.getUseSessionFile()) {
            const std::string entryUser =
                params.forceLogin ? msgf::boundedText(stored.user) : user;
            const bool tokenString = params.giveToken || params.forceLogin;
            _VSDKTokenFileContents entry;
            if (!newEntry(state, entryUser, token, entry)) {
                // The login happened but cannot be kept: the caller must know.
                storeResult =
                    tokenString ? vsdkerr::kTokenStringEncrypt : vsdkerr::kTokenFileWrite;
            } else if (tokenString) {
                storeResult = constructVSDKTokenString(entry, result.tokenString);
            } else {
                // Replace or append is decided under the store's lock: another
                // login may have saved this Mardock since the look-up.
                storeResult = saveVSDKTokenInfo(entry, handle.mardockName, params.guid);
            }
        }
        state.getUser() = user;
        state.setGuid(upToZero(token));
    });
    return rc != 0 ? rc : storeResult;
}

unsigned long logoutThread(VSDKAPIGlobalData& state, const _QLogoutParameters& params) {
    VSDKLogin::QLogoutInfoMsg request;
    _VSDKTokenFileContents stored;
    bool found = false;
    const _QHandle& handle = state.getVSDKHandle();
    QEvDebug& log = state.getEvDebug();

    log.debugLvl(6, "Logout Parameters:%s", params.c_str().c_str());

    CNMessageBase& session = loginSession(request);
    msgf::putInt(session, VSDKLogin::kSessionOne, 1);
    msgf::putText(session, VSDKLogin::kSessionMardock, handle.mardockName);
    msgf::putBytes(session, VSDKLogin::kSessionGuid, state.getGuid());
    msgf::putFlag(request, VSDKLogin::kLogoutAllUsers, params.logoutAllUsers);

    const bool sessionFiles = state.getUseSessionFile();
    if (sessionFiles) {
        // The look-up writes the user's store path into its copy; the removal
        // gets the caller's path, so that it still knows the store is the
        // user's own.
        std::string storePath = params.tokenFilePath;
        const unsigned long rc = getVSDKTokenInfo(stored, handle.mardockName, storePath,
                                                  params.tokenString, found,
                                                  handle.mardockClientName);
        if (rc != 0) return rc;
        if (!found) {
            state.getGuid().clear();
            return 0;
        }
    }

    CNMessageBase* raw = nullptr;
    const unsigned long rc =
        exchange(state, handle.network, request, VSDKLogin::QLogoutRespMsg::kTag, raw);
    std::unique_ptr<CNMessageBase> reply(raw);
    if (rc != 0) return rc;
    if (!reply) return vsdkerr::kInvalidResponse;

    unsigned long code = 0;
    std::string text;
    const OperationSpec spec{nullptr, "Logout Response"};
    if (!readReplyError(state, *reply, msgf::kReplyError, code, text)) {
        return invalidReply(state, spec);
    }
    const bool accepted = code == 0 || code == vsdkerr::kNotLoggedIn ||
                          (sessionFiles && code == kLogoutOutdated);
    if (!accepted) {
        state.setErrorString(text);
        logFailure(state, spec.function, spec.failurePhrase, code, text.c_str());
        return code;
    }

    if (sessionFiles && !params.keepTokenStore) {
        const int references =
            static_cast<int>(msgf::getInt(*reply, VSDKLogin::kLogoutRespRefCount));
        log.debugLvl(6, "User logged out,Reference Count:[%d]", references);
        if (params.logoutAllUsers || references <= 0 || code == kLogoutOutdated) {
            const unsigned long removed =
                updateVSDKTokenInfo(stored, handle.mardockName, params.tokenFilePath, true);
            if (removed != 0) return removed;
        }
    }
    state.getGuid().clear();
    return 0;
}

static unsigned long VSDKLoginApiUnguarded(_QLoginParameters* params, _QLoginResp* result) {
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, kLoginFunction, params, result)) return rc;
    return loginThread(*state, *params, *result);
}

static unsigned long VSDKLoginApi_NOSTLUnguarded(const char* user, const char* password,
                                                 const char* principalName, const char* domainName,
                                                 const char* guid, const char* tokenString,
                                                 int providerId, int flags, bool forceLogin,
                                                 bool isTokenFile, bool giveToken) {
    auto text = [](const char* s) { return s ? std::string(s) : std::string(); };
    _QLoginParameters params;
    msgf::copyBounded(params.user, text(user));
    msgf::copyBounded(params.password, text(password));
    params.principalName = text(principalName);
    params.domainName = text(domainName);
    params.guid = text(guid);
    params.tokenString = text(tokenString);
    params.providerId = providerId;
    params.flags = flags;
    params.forceLogin = forceLogin;
    params.isTokenFile = isTokenFile;
    params.giveToken = giveToken;
    _QLoginResp result;
    return VSDKLoginApi(&params, &result);
}

static unsigned long VSDKLoginSSOUnguarded(VSDKLogin::QLoginInfoMsg& request) {
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, "VSDKLoginSSO")) return rc;
    if (msgf::getInt(request, VSDKLogin::kLoginFlags) & 1) {
        state->getEvDebug().debugLvl("VSDKLoginSSO", 0,
                                     "SSO Login failed with Error code [0x%lx] Error string [%s]",
                                     vsdkerr::kSingleSignOn,
                                     GetErrorString(vsdkerr::kSingleSignOn));
        return vsdkerr::kSingleSignOn;
    }
    return 0;
}

static unsigned long VSDKLogoutUnguarded(_QLogoutParameters* params) {
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, "VSDKLogout", params)) return rc;
    return logoutThread(*state, *params);
}

static unsigned long VSDKLogout_NOSTLUnguarded(bool logoutAllUsers, const char* tokenFilePath,
                                               const char* tokenString, bool isTokenFile,
                                               bool keepTokenStore) {
    _QLogoutParameters params;
    params.logoutAllUsers = logoutAllUsers;
    params.tokenFilePath = tokenFilePath ? tokenFilePath : "";
    params.tokenString = tokenString ? tokenString : "";
    params.isTokenFile = isTokenFile;
    params.keepTokenStore = keepTokenStore;
    return VSDKLogout(&params);
}

// The exports: no exception leaves them.

unsigned long VSDKLoginApi(_QLoginParameters* params, _QLoginResp* result) {
    return vsdkguard::guarded("VSDKLoginApi",
                              [&] { return VSDKLoginApiUnguarded(params, result); });
}

unsigned long VSDKLoginApi_NOSTL(const char* user, const char* password, const char* principalName,
                                 const char* domainName, const char* guid, const char* tokenString,
                                 int providerId, int flags, bool forceLogin, bool isTokenFile,
                                 bool giveToken) {
    return vsdkguard::guarded("VSDKLoginApi_NOSTL", [&] {
        return VSDKLoginApi_NOSTLUnguarded(user, password, principalName, domainName, guid,
                                           tokenString, providerId, flags, forceLogin, isTokenFile,
                                           giveToken);
    });
}

unsigned long VSDKLogout(_QLogoutParameters* params) {
    return vsdkguard::guarded("VSDKLogout", [&] { return VSDKLogoutUnguarded(params); });
}

unsigned long VSDKLogout_NOSTL(bool logoutAllUsers, const char* tokenFilePath,
                               const char* tokenString, bool isTokenFile, bool keepTokenStore) {
    return vsdkguard::guarded("VSDKLogout_NOSTL", [&] {
        return VSDKLogout_NOSTLUnguarded(logoutAllUsers, tokenFilePath, tokenString, isTokenFile,
                                         keepTokenStore);
    });
}

unsigned long VSDKLoginSSO(VSDKLogin::QLoginInfoMsg& request, VSDKLogin::QLoginRespMsg*&) {
    return vsdkguard::guarded("VSDKLoginSSO", [&] { return VSDKLoginSSOUnguarded(request); });
}
