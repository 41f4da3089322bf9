// Per-thread state: one VSDKAPIGlobalData record per caller thread that has
// started up, kept in the process-wide map g_dataMap under the thread's id.
#pragma once

#include "QEvDebug.h"
#include "RkLocks.h"
#include "platform/CPvError.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

class CRkNetwork;
class RkNetworkPool;

struct _QHandle {
    CRkNetwork* network = nullptr;   // not owned by the handle
    std::string mardockName;
    std::string mardockClientName;
};

class VSDKAPIGlobalData {
public:
    VSDKAPIGlobalData() = default;
    VSDKAPIGlobalData(const VSDKAPIGlobalData& other) = default;
    VSDKAPIGlobalData& operator=(const VSDKAPIGlobalData& other) = default;
    ~VSDKAPIGlobalData();

    std::string& getErrorString() { return m_errorString; }
    void setErrorString(const std::string& text) { m_errorString = text; }
    _QHandle& getVSDKHandle() { return m_handle; }
    std::string& getMardockName() { return m_handle.mardockName; }
    std::string& getSessionID() { return m_sessionId; }
    bool& getUseSessionFile() { return m_useSessionFile; }
    void setUseSessionFile(bool v) { m_useSessionFile = v; }
    std::string& getUser() { return m_user; }
    std::string& getGuid() { return m_guid; }
    void setGuid(const std::string& guid) { m_guid = guid; }
    QEvDebug& getEvDebug() { return m_log; }
    int& getLoginRetryCount() { return m_loginRetryCount; }
    bool ismultifenmarktoken() const { return m_multiDomain; }
    void setismultifenmarktoken(bool v) { m_multiDomain = v; }
    std::string getmultifenmarktoken() const { return m_multiDomainToken; }
    void setMultifenmarktoken(std::string token) { m_multiDomainToken = std::move(token); }

    // Connection pools, one per Mardock name (exact comparison). Pools are
    // shared: a thread inside an exchange keeps its pool alive through a
    // clean-up.
    static CPvError insertIntoPool(const std::string& mardockName, const std::string& mangledHost);
    static std::shared_ptr<RkNetworkPool> getSessionPool(const std::string& mardockName);
    static void cleanupSessionPools();

private:
    std::string m_errorString;
    _QHandle m_handle;
    std::string m_sessionId;
    bool m_useSessionFile = true;
    std::string m_user;
    std::string m_guid;
    std::string m_spare;
    QEvDebug m_log;
    int m_loginRetryCount = 0;
    bool m_multiDomain = false;
    std::string m_multiDomainToken;
};

class VSDKAPIGlobalDataMap {
public:
    using Map = std::map<unsigned long long, VSDKAPIGlobalData>;
    using Entry = std::pair<Map::iterator, bool>;

    VSDKAPIGlobalDataMap();
    ~VSDKAPIGlobalDataMap();
    VSDKAPIGlobalDataMap(const VSDKAPIGlobalDataMap&) = delete;
    VSDKAPIGlobalDataMap& operator=(const VSDKAPIGlobalDataMap&) = delete;

    void lock();
    void unLock();
    Entry insert(const VSDKAPIGlobalData& record);
    Entry getVSDKAPIGlobalData();
    void erase();

    // The calling thread's record, or null (a shorthand over getVSDKAPIGlobalData).
    VSDKAPIGlobalData* current();

private:
    Map m_entries;
    RkSemaphore* m_lock;
};

// Process-wide settings read by VSDKInitializeConnectionPools.
struct VSDKAPIGlobalRegKeys {
    static void initialize();
    static void setcsname();
    static void setUseSessionPool();
    static char* getCSName();
    static bool isRkSessionPoolEnabled();
};

extern "C" {
extern VSDKAPIGlobalDataMap g_dataMap;
}
