#include "VSDKAPIGlobalData.h"

#include <pthread.h>

extern "C" {
__attribute__((visibility("default"))) VSDKAPIGlobalDataMap g_dataMap;
}

namespace {

unsigned long long callingThread() {
    return static_cast<unsigned long long>(pthread_self());
}

}  // namespace

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

VSDKAPIGlobalDataMap::VSDKAPIGlobalDataMap() : m_lock(new RkSemaphore(1)) {}

VSDKAPIGlobalDataMap::~VSDKAPIGlobalDataMap() {
    delete m_lock;
    m_lock = nullptr;
}

void VSDKAPIGlobalDataMap::lock() { m_lock->wait(); }

void VSDKAPIGlobalDataMap::unLock() { m_lock->release(1); }

VSDKAPIGlobalDataMap::Entry VSDKAPIGlobalDataMap::insert(const VSDKAPIGlobalData& record) {
    lock();
    Entry result = m_entries.insert({callingThread(), record});
    unLock();
    return result;
}

VSDKAPIGlobalDataMap::Entry VSDKAPIGlobalDataMap::getVSDKAPIGlobalData() {
    lock();
    auto it = m_entries.find(callingThread());
    Entry result{it, it != m_entries.end()};
    unLock();
    return result;
}

void VSDKAPIGlobalDataMap::erase() {
    lock();
    m_entries.erase(callingThread());
    unLock();
}

VSDKAPIGlobalData* VSDKAPIGlobalDataMap::current() {
    Entry e = getVSDKAPIGlobalData();
    return e.second ? &e.first->second : nullptr;
}
