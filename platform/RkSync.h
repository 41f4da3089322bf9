// Stand-in for the platform's semaphore and critical section.
#pragma once

#include <condition_variable>
#include <mutex>

class RkSemaphoreH {
public:
    explicit RkSemaphoreH(int count) : m_count(count) {}
    void wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_count > 0; });
        --m_count;
    }
    void release(int count) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_count += count;
        }
        m_cv.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_count;
};

class RkCriticalSectionH {
public:
    // Recursive, as a critical section is; enter(false) only tries.
    bool enter(bool wait) {
        if (wait) {
            m_mutex.lock();
            return true;
        }
        return m_mutex.try_lock();
    }
    void leave() { m_mutex.unlock(); }

private:
    std::recursive_mutex m_mutex;
};
