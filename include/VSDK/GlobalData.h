/* Per-thread state: one VSDKAPIGlobalData record per caller thread that has
 * started up, kept in the process-wide map g_dataMap under the thread's id
 * (pthread_self). VSDKInitialize creates the calling thread's record and
 * VSDKDeInitialize erases it; a caller may look its own record up, or insert
 * and erase one, through g_dataMap. */
#ifndef VSDK_GLOBALDATA_H
#define VSDK_GLOBALDATA_H

#include "Common.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

#define VSDK_HIDDEN __attribute__((visibility("hidden")))

class CPvError;
class CRkNetwork;
class QEvDebug;
class RkNetworkPool;
class RkSemaphore;

/* The connection handle of one thread. A copy shares the connection object;
 * the handle never releases it. */
struct _QHandle {
    CRkNetwork* network = nullptr;
    std::string mardockName;
    std::string mardockClientName;
};

class VSDK_EXPORT VSDKAPIGlobalData {
public:
    /* Empty texts, no connection, use-session-file flag set, retry count 0,
     * no multi-domain token, a default log object. */
    VSDKAPIGlobalData();
    VSDKAPIGlobalData(const VSDKAPIGlobalData& other);
    VSDKAPIGlobalData& operator=(const VSDKAPIGlobalData& other);
    /* Empties the texts; never disconnects the handle's connection. */
    ~VSDKAPIGlobalData();

    std::string& getErrorString();
    void setErrorString(const std::string& text);
    _QHandle& getVSDKHandle();
    std::string& getMardockName();
    std::string& getSessionID();
    bool& getUseSessionFile();
    void setUseSessionFile(bool value);
    std::string& getUser();
    std::string& getGuid();
    void setGuid(const std::string& guid);
    QEvDebug& getEvDebug();
    int& getLoginRetryCount();
    bool ismultifenmarktoken() const;
    void setismultifenmarktoken(bool value);
    std::string getmultifenmarktoken() const;
    void setMultifenmarktoken(std::string token);

    /* Library-internal: the connection pools, one per Mardock name. */
    VSDK_HIDDEN static CPvError insertIntoPool(const std::string& mardockName,
                                               const std::string& mangledHost);
    VSDK_HIDDEN static std::shared_ptr<RkNetworkPool> getSessionPool(const std::string& mardockName);
    VSDK_HIDDEN static void cleanupSessionPools();

private:
    std::string m_errorString;
    _QHandle m_handle;
    std::string m_sessionId;
    bool m_useSessionFile = true;
    std::string m_user;
    std::string m_guid;
    std::string m_spare;
    std::unique_ptr<QEvDebug> m_log;  /* never null */
    int m_loginRetryCount = 0;
    bool m_multiDomain = false;
    std::string m_multiDomainToken;
};

/* Every operation acts on the calling thread's entry and holds the map's lock
 * only inside the call. An entry's address stays valid until that thread's
 * entry is erased. */
class VSDK_EXPORT VSDKAPIGlobalDataMap {
public:
    using Map = std::map<unsigned long long, VSDKAPIGlobalData>;
    using Entry = std::pair<Map::iterator, bool>;

    VSDK_HIDDEN VSDKAPIGlobalDataMap();
    VSDK_HIDDEN ~VSDKAPIGlobalDataMap();
    VSDKAPIGlobalDataMap(const VSDKAPIGlobalDataMap&) = delete;
    VSDKAPIGlobalDataMap& operator=(const VSDKAPIGlobalDataMap&) = delete;

    void lock();
    void unLock();
    /* Inserts a copy of record for the calling thread; an existing entry
     * stays unchanged and the bool is false. */
    Entry insert(const VSDKAPIGlobalData& record);
    /* The calling thread's entry; the bool is false when it has none. */
    Entry getVSDKAPIGlobalData();
    /* Erases the calling thread's entry, if any. */
    void erase();

    /* Library-internal shorthand: the calling thread's record, or null. */
    VSDK_HIDDEN VSDKAPIGlobalData* current();

private:
    Map m_entries;
    RkSemaphore* m_lock;
};

extern "C" {
extern VSDK_EXPORT VSDKAPIGlobalDataMap g_dataMap;
}

#endif
