#include "VSDKAPIGlobalData.h"

#include <pthread.h>

VSDKAPIGlobalDataMap g_dataMap;

namespace {

unsigned long long callingThread() {
    return static_cast<unsigned long long>(pthread_self());
}

}  // namespace

VSDKAPIGlobalData::VSDKAPIGlobalData() : m_log(std::make_unique<QEvDebug>()) {}

VSDKAPIGlobalData::VSDKAPIGlobalData(const VSDKAPIGlobalData& other)
    : m_errorString(other.m_errorString),
      m_handle(other.m_handle),
      m_sessionId(other.m_sessionId),
      m_useSessionFile(other.m_useSessionFile),
      m_user(other.m_user),
      m_guid(other.m_guid),
      m_spare(other.m_spare),
      m_log(std::make_unique<QEvDebug>(*other.m_log)),
      m_loginRetryCount(other.m_loginRetryCount),
      m_multiDomain(other.m_multiDomain),
      m_multiDomainToken(other.m_multiDomainToken) {}

VSDKAPIGlobalData& VSDKAPIGlobalData::operator=(const VSDKAPIGlobalData& other) {
    if (this != &other) {
        m_errorString = other.m_errorString;
        m_handle = other.m_handle;
        m_sessionId = other.m_sessionId;
        m_useSessionFile = other.m_useSessionFile;
        m_user = other.m_user;
        m_guid = other.m_guid;
        m_spare = other.m_spare;
        *m_log = *other.m_log;
        m_loginRetryCount = other.m_loginRetryCount;
        m_multiDomain = other.m_multiDomain;
        m_multiDomainToken = other.m_multiDomainToken;
    }
    return *this;
}

VSDKAPIGlobalData::~VSDKAPIGlobalData() {
    // Leaves no login material behind in freed memory longer than needed; the
    // connection object is not the record's to release.
    m_errorString.clear();
    m_handle.mardockName.clear();
    m_sessionId.clear();
    m_user.clear();
    m_guid.clear();
    m_spare.clear();
    m_multiDomainToken.clear();
    m_useSessionFile = true;
    m_loginRetryCount = 0;
}

std::string& VSDKAPIGlobalData::getErrorString() { return m_errorString; }
void VSDKAPIGlobalData::setErrorString(const std::string& text) { m_errorString = text; }
_QHandle& VSDKAPIGlobalData::getVSDKHandle() { return m_handle; }
std::string& VSDKAPIGlobalData::getMardockName() { return m_handle.mardockName; }
std::string& VSDKAPIGlobalData::getSessionID() { return m_sessionId; }
bool& VSDKAPIGlobalData::getUseSessionFile() { return m_useSessionFile; }
void VSDKAPIGlobalData::setUseSessionFile(bool value) { m_useSessionFile = value; }
std::string& VSDKAPIGlobalData::getUser() { return m_user; }
std::string& VSDKAPIGlobalData::getGuid() { return m_guid; }
void VSDKAPIGlobalData::setGuid(const std::string& guid) { m_guid = guid; }
QEvDebug& VSDKAPIGlobalData::getEvDebug() { return *m_log; }
int& VSDKAPIGlobalData::getLoginRetryCount() { return m_loginRetryCount; }
bool VSDKAPIGlobalData::ismultifenmarktoken() const { return m_multiDomain; }
void VSDKAPIGlobalData::setismultifenmarktoken(bool value) { m_multiDomain = value; }
std::string VSDKAPIGlobalData::getmultifenmarktoken() const { return m_multiDomainToken; }
void VSDKAPIGlobalData::setMultifenmarktoken(std::string token) {
    m_multiDomainToken = std::move(token);
}

VSDKAPIGlobalDataMap::VSDKAPIGlobalDataMap() : m_lock(new RkSemaphore(1)) {}

VSDKAPIGlobalDataMap::~VSDKAPIGlobalDataMap() {
    delete m_lock;
    m_lock = nullptr;
}

void VSDKAPIGlobalDataMap::lock() { m_lock->wait(); }

void VSDKAPIGlobalDataMap::unLock() { m_lock->release(1); }

namespace {

// Holds the map's lock for a scope, so that an exception (a failed
// allocation while a record is copied in) cannot leave it taken.
class MapLock {
public:
    explicit MapLock(VSDKAPIGlobalDataMap& map) : m_map(map) { m_map.lock(); }
    ~MapLock() { m_map.unLock(); }
    MapLock(const MapLock&) = delete;
    MapLock& operator=(const MapLock&) = delete;

private:
    VSDKAPIGlobalDataMap& m_map;
};

}  // namespace

VSDKAPIGlobalDataMap::Entry VSDKAPIGlobalDataMap::insert(const VSDKAPIGlobalData& record) {
    MapLock held(*this);
    return m_entries.insert({callingThread(), record});
}

VSDKAPIGlobalDataMap::Entry VSDKAPIGlobalDataMap::getVSDKAPIGlobalData() {
    MapLock held(*this);
    auto it = m_entries.find(callingThread());
    return Entry{it, it != m_entries.end()};
}

void VSDKAPIGlobalDataMap::erase() {
    MapLock held(*this);
    m_entries.erase(callingThread());
}

VSDKAPIGlobalData* VSDKAPIGlobalDataMap::current() {
    Entry e = getVSDKAPIGlobalData();
    return e.second ? &e.first->second : nullptr;
}
