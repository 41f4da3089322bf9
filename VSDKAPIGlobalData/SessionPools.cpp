// The table of connection pools (one per Mardock name) and the process-wide
// settings that switch pooling on.
#include "VSDKAPIGlobalData.h"

#include "VSDK/Startup.h"

#include "platform/CRkNetwork.h"
#include "platform/RKPlatformInfo.h"
#include "platform/RkNetworkPool.h"
#include "VSDKErrors/ExportGuard.h"

#include <atomic>
#include <cstring>

namespace {

constexpr const char* kServiceName = "CMDLINE_SERVICE";

using PoolTable = std::map<std::string, std::shared_ptr<RkNetworkPool>>;

// Built on first use, so that start-ups of other load-time objects find them.
PoolTable& poolTable() {
    static PoolTable* table = new PoolTable();
    return *table;
}

RkCriticalSection& sessionPoolLock() {
    static RkCriticalSection* lock = new RkCriticalSection();
    return *lock;
}

char g_csname[256] = {};
std::atomic<bool> g_useRkSessionPool{false};

}  // namespace

CPvError VSDKAPIGlobalData::insertIntoPool(const std::string& mardockName,
                                           const std::string& mangledHost) {
    RkCriticalSectionLock guard(&sessionPoolLock());
    PoolTable& table = poolTable();
    if (table.count(mardockName)) return CPvError::Success();
    std::shared_ptr<RkNetworkPool> pool(new RkNetworkPool());
    CPvError e = pool->initNetworkPool(kServiceName, mangledHost,
                                       RKPlatformInfo::getPhysicalMachine(), 120, 600, 1, 5, 1);
    if (e.IsError()) return e;
    table.emplace(mardockName, std::move(pool));
    return CPvError::Success();
}

std::shared_ptr<RkNetworkPool> VSDKAPIGlobalData::getSessionPool(const std::string& mardockName) {
    RkCriticalSectionLock guard(&sessionPoolLock());
    PoolTable& table = poolTable();
    auto it = table.find(mardockName);
    return it == table.end() ? nullptr : it->second;
}

void VSDKAPIGlobalData::cleanupSessionPools() {
    // A pool still used by an exchange lives on in that exchange's hands and
    // goes when it is done; the table lets go of all of them now.
    PoolTable released;
    {
        RkCriticalSectionLock guard(&sessionPoolLock());
        released.swap(poolTable());
    }
}

void VSDKAPIGlobalRegKeys::initialize() {
    setcsname();
    setUseSessionPool();
}

void VSDKAPIGlobalRegKeys::setcsname() {
    char name[sizeof g_csname];
    std::memset(name, 0, sizeof name);
    RKPlatformInfo::findMardockHostName(name, sizeof name);
    name[sizeof name - 1] = '\0';
    std::memcpy(g_csname, name, sizeof g_csname);
}

void VSDKAPIGlobalRegKeys::setUseSessionPool() {
    long value = 0;
    RKPlatformInfo registry;
    const bool found = registry.getNumber("Mardock", "UseSessionPool", &value) != 0;
    g_useRkSessionPool = found && value != 0;
}

char* VSDKAPIGlobalRegKeys::getCSName() { return g_csname; }

bool VSDKAPIGlobalRegKeys::isRkSessionPoolEnabled() { return g_useRkSessionPool; }

static unsigned long VSDKInitializeConnectionPoolsUnguarded() {
    VSDKAPIGlobalRegKeys::initialize();
    return 0;
}

static unsigned long VSDKCleanUpConnectionPoolsUnguarded() {
    VSDKAPIGlobalData::cleanupSessionPools();
    return 0;
}

// The exports: no exception leaves them.

VSDK_API unsigned long VSDKInitializeConnectionPools() {
    return vsdkguard::guarded("VSDKInitializeConnectionPools",
                              [&] { return VSDKInitializeConnectionPoolsUnguarded(); });
}

VSDK_API unsigned long VSDKCleanUpConnectionPools() {
    return vsdkguard::guarded("VSDKCleanUpConnectionPools",
                              [&] { return VSDKCleanUpConnectionPoolsUnguarded(); });
}
