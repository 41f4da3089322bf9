// Start-up and tear-down of a calling thread.
#include "VSDK/Startup.h"

#include "VSDK/Token.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/RKGui.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPIGlobalData/TextConversion.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKAPIUtils/Connection.h"
#include "VSDKAPIUtils/RecordDump.h"
#include "VSDKAPIUtils/TokenStore.h"
#include "VSDKErrors/VSDKErrors.h"
#include "platform/CPvIPAddr.h"
#include "platform/CRkNetwork.h"
#include "platform/RKPlatformInfo.h"
#include "VSDKErrors/ExportGuard.h"

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <fstream>
#include <iterator>

namespace {

using Init = _QInitializeParameters;
using recorddump::dump;

// The token string is not written.
const recorddump::DumpRow<Init> kInitializeDump[] = {
    {"\nMardock:[", dump<&Init::mardockName>, "]\n"},
    {"VM Name:[", dump<&Init::vmName>, "]\n"},
    {"Token File Location:[", dump<&Init::tokenFileLocation>, "]\n"},
    {"use Token File :[", dump<&Init::useTokenFile>, "]\n"},
    {"use Token String :[", dump<&Init::useTokenString>, "]\n"},
    {"use SessionFile :[", dump<&Init::useSessionFile>, "]\n"},
    {"Port Type:[", dump<&Init::portType>, "]\n"},
    {"CsClientName:[", dump<&Init::mardockClientName>, "]"},
};

}  // namespace

std::string _QInitializeParameters::c_str() const { return recorddump::dumpRows(kInitializeDump, *this); }

namespace {

const char* const kStartup = "VSDKInitializeWithLoginFlag";
const char* const kDummyClientName = "_DummyCSClientName_";

void registerMessageFamilies() {
    VSDKLogin::RegisterSubsystem();
    OrvaneOperations::RegisterSubsystem();
    OrvaneUtilities::RegisterSubsystem();
    RKGui::RegisterSubsystem();
    MediaManager::RegisterSubsystem();
}

// A token file holds one token string or SAML token: anything larger is no
// token file.
constexpr std::size_t kTokenFileMaxSize = 1024 * 1024;

std::string tabs(int n) { return std::string(static_cast<std::size_t>(n), '\t'); }

// Everything after the record was inserted; a non-zero result makes the
// caller release the connection and erase the record.
unsigned long startThread(VSDKAPIGlobalData& state, const _QInitializeParameters& params,
                          bool loginFlag, bool preInstallMode, bool noConnect) {
    QEvDebug& log = state.getEvDebug();
    _QHandle& handle = state.getVSDKHandle();
    _VSDKTokenFileContents entry;
    char vmName[1024];
    char host[256];
    char client[256];
    std::memset(vmName, 0, sizeof vmName);
    std::memset(host, 0, sizeof host);
    std::memset(client, 0, sizeof client);
    bool hostFromRegistry = false;
    bool saml = false;

    std::string tokenFileCopy = params.tokenFileLocation;
    log.debugLvl(kStartup, 6, "loginFlag:[%s],QInitializeParameters:[%s]",
                 loginFlag ? "true" : "false", params.c_str().c_str());

    state.setUseSessionFile(params.useSessionFile);

    if (params.portType == 0) {
        const std::string given = msgf::boundedText(params.vmName);
        if (!given.empty()) {
            msgf::copyBounded(vmName, given);
        } else {
            const unsigned long rc = VSDKGetVMName(vmName);
            if (rc != 0) return rc;
        }
        RKPI_Focus::setFocus(vmName);
        log.debugLvl(kStartup, 6, "Orvane Instance name: [%s]", vmName);
        CPvIPAddr::SetPreferredFamily(RKPI_Session(0, 1).GetPreferredIPFamily());
    }

    registerMessageFamilies();

    const std::string givenHost = msgf::boundedText(params.mardockName);
    if (givenHost.empty()) {
        RKPlatformInfo::findMardockHostName(host, sizeof host);
        host[sizeof host - 1] = '\0';
        log.debugLvl(kStartup, 6, "Mardock Host Name from Registry:[%s]", host);
        hostFromRegistry = true;
    } else {
        msgf::copyBounded(host, givenHost);
        log.debugLvl(kStartup, 6, "Mardock Host Name User Input:[%s]", host);
    }
    if (host[0] == '\0' && !noConnect) {
        // Neither the caller nor the registry names a Mardock: there is
        // nothing to connect to. A start-up that does not connect goes on.
        log.debugLvl(kStartup, 0, "Mardock Host Name lookup failed with Error code [0x%x] Error string [%s]",
                     static_cast<unsigned int>(vsdkerr::kNoMardockName),
                     GetErrorString(vsdkerr::kNoMardockName));
        return vsdkerr::kNoMardockName;
    }

    bool mode = preInstallMode;
    {
        long value = 0;
        RKPlatformInfo registry;
        if (registry.getNumber("EventManager", "nEnablePreInstallVCMD", &value)) {
            mode = value != 0;
            log.debugLvl(kStartup, 1,
                         "Found registry nEnablePreInstallVCMD. So setting enable pre install mode: [%d]",
                         mode ? 1 : 0);
        } else {
            bool same = false;
            isDockedOnCs(host, same);
            if (same) {
                mode = false;
                log.debugLvl(kStartup, 1,
                             "Registry nEnablePreInstallVCMD is not present and trying to talk to same "
                             "CS. So setting enable pre install mode: [%d]",
                             mode ? 1 : 0);
            } else {
                log.debugLvl(kStartup, 1,
                             "Registry nEnablePreInstallVCMD is not present and trying to talk to "
                             "different CS. So setting enable pre install mode: [%d]",
                             mode ? 1 : 0);
            }
        }
    }

    if (params.mardockClientName.empty()) {
        RKPlatformInfo::findMardockClientName(client, sizeof client);
        client[sizeof client - 1] = '\0';
        log.debugLvl(6, "Mardock client Name:[%s] from Registry", client);
    } else {
        msgf::copyBounded(client, params.mardockClientName);
        log.debugLvl(6, "Mardock client Name:[%s] from input", client);
    }
    if (client[0] != '\0') {
        log.debugLvl(kStartup, 6, "Login with csClientName:[%s]", client);
        handle.mardockClientName = client;
    }

    std::string token = params.tokenString;
    if (!tokenFileCopy.empty() && token.empty()) {
        if (!tokenstore::readRegularFile(tokenFileCopy, kTokenFileMaxSize, token)) {
            return vsdkerr::kTokenFileOpen;
        }
    }

    if (!token.empty() && token.find("SAML ") != std::string::npos) {
        saml = true;
        token.erase(0, 5);
        if (!hostFromRegistry && !loginFlag) handle.mardockClientName = kDummyClientName;
        state.setismultifenmarktoken(true);
        state.setMultifenmarktoken(token);
        // The token is a credential: the log says that one came, not what it is.
        log.debugLvl(kStartup, 6, "Found Saml token [%s]\n\n", "****");
    }

    if (loginFlag || saml) {
        handle.mardockName = host;
    } else if (params.useSessionFile) {
        bool found = false;
        const unsigned long rc = getVSDKTokenInfo(entry, host, tokenFileCopy, params.tokenString,
                                                  found, handle.mardockClientName);
        if (rc != 0) {
            log.Error("%s", ("Commands other than vlogin searching the token file." + tabs(11) +
                             "User is not logged in to the cs. So login and execute the comamnds." +
                             tabs(11) + "getVSDKTokenInfo returned error.")
                                .c_str());
            return vsdkerr::kNotLoggedIn;
        }
        if (!found) {
            const std::string gap = tabs(15) + "  ";
            log.Error("%s", ("Commands other than vlogin searching the token file." + gap +
                             "User is not logged in to the cs. So login and execute the commands." +
                             gap + "Given CS Name not found in Token File")
                                .c_str());
            return vsdkerr::kNotLoggedIn;
        }
        state.setGuid(msgf::boundedText(entry.token));
        // The saved login's user is the thread's user, so that a forced
        // re-login logs in as that user.
        state.getUser() = msgf::boundedText(entry.user);
        handle.mardockName = host;
        handle.mardockClientName = msgf::boundedText(entry.mardockClientName);
    } else {
        log.debugLvl(kStartup, 6,
                     "No session file.First time login. So conenct to the server to login.");
        handle.mardockName = host;
    }

    if (!noConnect) {
        const unsigned long rc = VSDKAPIGlobalRegKeys::isRkSessionPoolEnabled()
                                     ? ConnectToVSDKServiceWrapper(handle, mode)
                                     : ConnectToVSDKService(handle, mode);
        if (rc != 0) return rc;
        log.debugLvl(kStartup, 6, "Connected to VSDK service [%s * %s] successfully.", host, client);
    }
    return 0;
}

void fillRecord(_QInitializeParameters& params, const char* mardockName, const char* vmName,
                const char* tokenFileLocation, const char* tokenString, bool useTokenFile,
                bool useTokenString, bool useSessionFile) {
    msgf::copyBounded(params.mardockName, mardockName ? std::string(mardockName) : std::string());
    msgf::copyBounded(params.vmName, vmName ? std::string(vmName) : std::string());
    params.tokenFileLocation = tokenFileLocation ? tokenFileLocation : "";
    params.tokenString = tokenString ? tokenString : "";
    params.useTokenFile = useTokenFile;
    params.useTokenString = useTokenString;
    params.useSessionFile = useSessionFile;
    params.portType = 0;
    params.mardockClientName.clear();
}

}  // namespace

static unsigned long VSDKInitializeWithLoginFlagUnguarded(_QInitializeParameters* params,
                                                          bool loginFlag, bool preInstallMode,
                                                          bool noConnect) {
    if (!params) return vsdkerr::kInvalidArgument;
    VSDKAPIGlobalDataMap::Entry inserted = g_dataMap.insert(VSDKAPIGlobalData());
    if (!inserted.second) return vsdkerr::kNotInitialized;
    VSDKAPIGlobalData& state = inserted.first->second;

    // A start-up that fails half-way, by an exception too, leaves no record.
    const unsigned long rc = vsdkguard::guarded(kStartup, [&] {
        return startThread(state, *params, loginFlag, preInstallMode, noConnect);
    });
    if (rc != 0) {
        _QHandle& handle = state.getVSDKHandle();
        delete handle.network;
        handle.network = nullptr;
        g_dataMap.erase();
    }
    return rc;
}

static unsigned long VSDKInitializeUnguarded(_QInitializeParameters* params) {
    if (!params) return vsdkerr::kInvalidArgument;
    QEvDebug log;
    log.debugLvl("VSDKInitialize", 6, "Init Params:[%s]", params->c_str().c_str());
    return VSDKInitializeWithLoginFlag(params, false, true, false);
}

static unsigned long VSDKInitialize_NOSTLUnguarded(const char* mardockName, const char* vmName,
                                                   const char* tokenFileLocation,
                                                   const char* tokenString, bool useTokenFile,
                                                   bool useTokenString, bool useSessionFile) {
    _QInitializeParameters params;
    fillRecord(params, mardockName, vmName, tokenFileLocation, tokenString, useTokenFile,
               useTokenString, useSessionFile);
    return VSDKInitialize(&params);
}

static unsigned long VSDKInitializeWithLoginFlag_NOSTLUnguarded(
    const char* mardockName, const char* vmName, const char* tokenFileLocation,
    const char* tokenString, bool useTokenFile, bool useTokenString, bool useSessionFile,
    bool loginFlag) {
    _QInitializeParameters params;
    fillRecord(params, mardockName, vmName, tokenFileLocation, tokenString, useTokenFile,
               useTokenString, useSessionFile);
    return VSDKInitializeWithLoginFlag(&params, loginFlag, true, false);
}

static unsigned long VSDKDeInitializeWithFlagsUnguarded(bool keepConnection) {
    VSDKAPIGlobalData* state = g_dataMap.current();
    if (!state) return vsdkerr::kNotInitialized;
    QEvDebug& log = state->getEvDebug();
    const char* fn = "VSDKDeInitializeWithFlags";
    _QHandle& handle = state->getVSDKHandle();

    if (!keepConnection && !VSDKAPIGlobalRegKeys::isRkSessionPoolEnabled()) {
        if (handle.network) {
            bool abort = false;
            CPvError e = handle.network->Disconnect(10, abort);
            if (e.IsError()) {
                log.debugLvl(fn, 0, "Disconnect failed:[%s]", e.AsString().c_str());
            } else {
                log.debugLvl(fn, 6, "Disconnected from VSDK service.");
            }
        } else {
            log.debugLvl(fn, 6, "Disconnected from VSDK service.");
        }
    }
    // The record goes now, and with it every connection the thread owns (a
    // direct connection made while pooling was on, or one kept on request):
    // nothing could reach it afterwards.
    delete handle.network;
    handle.network = nullptr;
    g_dataMap.erase();
    return 0;
}

VSDK_API unsigned long VSDKDeInitialize() { return VSDKDeInitializeWithFlags(false); }

static unsigned long VSDKGetVMNameUnguarded(char* out) {
    if (!out) return vsdkerr::kInvalidArgument;
    const char* name = std::getenv("ORVANE_VM");
    if (!name) name = RKPI_Focus::getFocus();
    if (!name) return vsdkerr::kNoInstance;
    const std::string text(name, strnlen(name, 1023));
    msgf::copyBounded(out, 1024, text);
    const char* const blanks = " \t\f\v\n\r";
    std::size_t end = std::strlen(out);
    while (end > 0 && std::strchr(blanks, out[end - 1]) != nullptr) --end;
    if (end > 0) out[end] = '\0';  // a name made only of blanks stays as it is
    return 0;
}

static unsigned long VSDKAPISetFocusUnguarded() {
    char name[1024];
    std::memset(name, 0, sizeof name);
    const unsigned long rc = VSDKGetVMName(name);
    if (rc != 0) return rc;
    RKPI_Focus::setFocus(name);
    return 0;
}

static unsigned long VSDKInitForStoredProcedureUnguarded(const char* instance) {
    if (!instance) return 0;
    RKPI_Focus::setFocus(instance);
    return 0;
}

// The exports: no exception leaves them.

VSDK_API unsigned long VSDKInitializeWithLoginFlag(_QInitializeParameters* params, bool loginFlag,
                                                   bool preInstallMode, bool noConnect) {
    return vsdkguard::guarded("VSDKInitializeWithLoginFlag", [&] {
        return VSDKInitializeWithLoginFlagUnguarded(params, loginFlag, preInstallMode, noConnect);
    });
}

VSDK_API unsigned long VSDKInitialize(_QInitializeParameters* params) {
    return vsdkguard::guarded("VSDKInitialize", [&] { return VSDKInitializeUnguarded(params); });
}

VSDK_API unsigned long VSDKInitialize_NOSTL(const char* mardockName, const char* vmName,
                                            const char* tokenFileLocation, const char* tokenString,
                                            bool useTokenFile, bool useTokenString,
                                            bool useSessionFile) {
    return vsdkguard::guarded("VSDKInitialize_NOSTL", [&] {
        return VSDKInitialize_NOSTLUnguarded(mardockName, vmName, tokenFileLocation, tokenString,
                                             useTokenFile, useTokenString, useSessionFile);
    });
}

VSDK_API unsigned long VSDKInitializeWithLoginFlag_NOSTL(const char* mardockName,
                                                         const char* vmName,
                                                         const char* tokenFileLocation,
                                                         const char* tokenString, bool useTokenFile,
                                                         bool useTokenString, bool useSessionFile,
                                                         bool loginFlag) {
    return vsdkguard::guarded("VSDKInitializeWithLoginFlag_NOSTL", [&] {
        return VSDKInitializeWithLoginFlag_NOSTLUnguarded(mardockName, vmName, tokenFileLocation,
                                                          tokenString, useTokenFile, useTokenString,
                                                          useSessionFile, loginFlag);
    });
}

VSDK_API unsigned long VSDKDeInitializeWithFlags(bool keepConnection) {
    return vsdkguard::guarded("VSDKDeInitializeWithFlags",
                              [&] { return VSDKDeInitializeWithFlagsUnguarded(keepConnection); });
}

VSDK_API unsigned long VSDKGetVMName(char* out) {
    return vsdkguard::guarded("VSDKGetVMName", [&] { return VSDKGetVMNameUnguarded(out); });
}

VSDK_API unsigned long VSDKAPISetFocus() {
    return vsdkguard::guarded("VSDKAPISetFocus", [&] { return VSDKAPISetFocusUnguarded(); });
}

VSDK_API unsigned long VSDKInitForStoredProcedure(const char* instance) {
    return vsdkguard::guarded("VSDKInitForStoredProcedure",
                              [&] { return VSDKInitForStoredProcedureUnguarded(instance); });
}
