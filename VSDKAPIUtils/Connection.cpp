#include "Connection.h"

#include "VSDK/Startup.h"
#include "VSDKAPIGlobalData/TextConversion.h"
#include "VSDKErrors/VSDKErrors.h"
#include "platform/CPvIPAddr.h"
#include "platform/CRkNetwork.h"
#include "platform/RKPlatformInfo.h"
#include "VSDKErrors/ExportGuard.h"

#include <cstring>
#include <new>
#include <strings.h>
#include <vector>

unsigned long ConnectToVSDKService(_QHandle& handle, bool preInstallMode) {
    QEvDebug log;
    const char* fn = "ConnectToVSDKService()";

    // A handle keeps one connection: an earlier one is not left behind.
    delete handle.network;
    handle.network = new (std::nothrow) CRkNetwork();
    if (!handle.network) {
        log.debugLvl(fn, 0, "Connection to VSDK Service failed with Error code [0x%x] Error string [%s]",
                     static_cast<unsigned int>(vsdkerr::kInternal), GetErrorString(vsdkerr::kInternal));
        return vsdkerr::kInternal;
    }
    if (preInstallMode) handle.network->SetAuthenticationMethod(RK_AUTH_PREINSTALL);

    const std::string localClient = RKPlatformInfo::getPhysicalMachine();
    const std::string mangled = MangleHostName(handle.mardockName, handle.mardockClientName,
                                               kMangleFirstPort, kMangleSecondPort);
    log.debugLvl(fn, 6,
                 "Connection to VSDK Service with parameters: serviceName:[%s] CSMangled name:[%s] "
                 "CSClient name [%s] local client Name from registry[%s]",
                 kCmdLineServiceName, mangled.c_str(), handle.mardockClientName.c_str(),
                 localClient.c_str());

    bool abort = false;
    CPvError e = handle.network->Attach_RemoteService(mangled, kCmdLineServiceName, localClient,
                                                      kDirectAttachTimeout, abort);
    if (e.IsError()) {
        log.debugLvl(fn, 0,
                     "Connection to VSDK Service failed with network error:[%s] Error code [0x%x] "
                     "Error string [%s]",
                     e.AsString().c_str(), static_cast<unsigned int>(vsdkerr::kCannotConnect),
                     GetErrorString(vsdkerr::kCannotConnect));
        return vsdkerr::kCannotConnect;
    }
    return 0;
}

unsigned long ConnectToVSDKServiceWrapper(_QHandle& handle, bool preInstallMode) {
    const long start = static_cast<long>(std::clock());
    if (::strcasecmp(handle.mardockName.c_str(), VSDKAPIGlobalRegKeys::getCSName()) == 0 &&
        VSDKAPIGlobalRegKeys::isRkSessionPoolEnabled()) {
        VSDKAPIGlobalData* state = g_dataMap.current();
        if (!state) return vsdkerr::kNotInitialized;
        QEvDebug log(state->getEvDebug());
        if (!VSDKAPIGlobalData::getSessionPool(handle.mardockName)) {
            const std::string mangled = MangleHostName(handle.mardockName, handle.mardockClientName,
                                                       kMangleFirstPort, kMangleSecondPort);
            log.debugLvl("ConnectToVSDKServiceWrapper", 6,
                         "Connection to VSDK Service with parameters: serviceName:[%s] CSMangled "
                         "name:[%s]host name [%s] local client Name from registry[%s]",
                         kCmdLineServiceName, mangled.c_str(), handle.mardockName.c_str(),
                         handle.mardockClientName.c_str());
            CPvError e = VSDKAPIGlobalData::insertIntoPool(handle.mardockName, mangled);
            if (e.IsError()) {
                log.Error("Failed to create  session Pool to VSDK server on '%s with error [%s]'.",
                          handle.mardockName.c_str(), e.AsString().c_str());
                return vsdkerr::kCannotConnect;
            }
        }
        logTime(log, "ConnectToVSDKServiceWrapper", start);
        return 0;
    }
    return ConnectToVSDKService(handle, preInstallMode);
}

void logTime(QEvDebug& log, const char* name, long start) {
    const long elapsed = (static_cast<long>(std::clock()) - start) / 1000;
    // "%.12lf" of the elapsed time, with a point whatever the locale.
    log.debugLvl("logTime", 6, "[%s] total execution time :[%s] ms", name,
                 fixedPointText(static_cast<double>(elapsed), 12).c_str());
}

static unsigned long isDockedOnCsUnguarded(const std::string& mardockName, bool& same) {
    QEvDebug log;
    char registryHost[256];
    std::memset(registryHost, 0, sizeof registryHost);
    RKPlatformInfo::getMardockHostName(registryHost, sizeof registryHost);
    registryHost[sizeof registryHost - 1] = '\0';
    same = false;
    if (::strcasecmp(mardockName.c_str(), registryHost) == 0) {
        same = true;
        return 0;
    }
    CPvIPAddr address;
    if (CPvIPAddr::GetByName(mardockName.c_str(), address, 0).IsError()) {
        return vsdkerr::kCannotResolve;
    }
    log.debugLvl("isDockedOnCs", 10, "Input Mardock's IP %s", address.GetAddressString().c_str());
    std::vector<CPvIPAddr> registryAddresses;
    if (registryHost[0] != '\0') {
        CPvIPAddr::GetAllByName(registryHost, registryAddresses, 0);
    }
    for (const CPvIPAddr& a : registryAddresses) {
        if (a == address) {
            same = true;
            break;
        }
    }
    return 0;
}

// The exports: no exception leaves them.

unsigned long isDockedOnCs(const std::string& mardockName, bool& same) {
    return vsdkguard::guarded("isDockedOnCs",
                              [&] { return isDockedOnCsUnguarded(mardockName, same); });
}
