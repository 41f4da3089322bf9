// Thin owners of the platform's semaphore and critical section, and the
// scoped guard used for the pool table and the error-code map.
#pragma once

#include "platform/RkSync.h"

#include <new>

class RkSemaphore {
public:
    explicit RkSemaphore(int count) : m_h(new (std::nothrow) RkSemaphoreH(count)) {
        if (!m_h) throw "Not enough memory to initialize RkSemaphore";
    }
    ~RkSemaphore() { delete m_h; }
    RkSemaphore(const RkSemaphore&) = delete;
    RkSemaphore& operator=(const RkSemaphore&) = delete;

    void wait() { m_h->wait(); }
    void release(int count) { m_h->release(count); }

private:
    RkSemaphoreH* m_h;
};

class RkCriticalSection {
public:
    RkCriticalSection() : m_h(new (std::nothrow) RkCriticalSectionH()) {
        if (!m_h) throw "Not enough memory to initialize RkCriticalSection";
    }
    ~RkCriticalSection() {
        delete m_h;
        m_h = nullptr;
    }
    RkCriticalSection(const RkCriticalSection&) = delete;
    RkCriticalSection& operator=(const RkCriticalSection&) = delete;

    bool enter(bool wait) { return m_h->enter(wait); }
    void leave() { m_h->leave(); }

private:
    RkCriticalSectionH* m_h;
};

class RkCriticalSectionLock {
public:
    explicit RkCriticalSectionLock(RkCriticalSection* section) : m_section(section) {
        if (m_section) m_section->enter(true);
    }
    ~RkCriticalSectionLock() {
        if (m_section) m_section->leave();
    }
    RkCriticalSectionLock(const RkCriticalSectionLock&) = delete;
    RkCriticalSectionLock& operator=(const RkCriticalSectionLock&) = delete;

private:
    RkCriticalSection* m_section;
};
