#include "RkNetworkPool.h"

#include "CPvIPAddr.h"
#include "CRkNetwork.h"

#include <memory>

RkNetworkPool::RkNetworkPool() = default;

RkNetworkPool::~RkNetworkPool() {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (Idle& i : m_idle) delete i.connection;
    m_idle.clear();
    // Lent connections belong to their borrowers' exchanges, which hold the
    // pool alive; none can be left here.
    for (CRkNetwork* c : m_lent) delete c;
    m_lent.clear();
}

CPvError RkNetworkPool::initNetworkPool(const std::string& service, const std::string& host,
                                        const std::string& localClientName, int attachTimeout,
                                        int idleTimeout, int minConnections, int maxConnections,
                                        int checkIdle) {
    if (service.empty()) return CPvError(kPvErrGeneric, "no service name");
    if (maxConnections < 1) return CPvError(kPvErrGeneric, "a pool needs at least one connection");
    const std::string name = host.substr(0, host.find('*'));
    std::vector<CPvIPAddr> addresses;
    CPvError resolved = CPvIPAddr::GetAllByName(name.c_str(), addresses, 0);
    if (resolved.IsError()) return resolved;

    std::lock_guard<std::mutex> lock(m_mutex);
    m_service = service;
    m_host = host;
    m_client = localClientName;
    m_attachTimeout = attachTimeout > 0 ? attachTimeout : 120;
    m_idleTimeout = idleTimeout;
    m_min = minConnections < 0 ? 0 : minConnections;
    m_max = maxConnections;
    m_lendLimit = maxConnections > kLendLimit ? maxConnections : kLendLimit;
    m_checkIdle = checkIdle != 0;
    m_initialised = true;
    return CPvError::Success();
}

CPvError RkNetworkPool::getSessionObject(CRkNetwork*& out) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_initialised) return CPvError(kPvErrGeneric, "pool not initialised");
    const auto waitUntil = std::chrono::steady_clock::now() + std::chrono::seconds(m_attachTimeout);
    for (;;) {
        while (!m_idle.empty()) {
            Idle idle = m_idle.back();
            m_idle.pop_back();
            const bool tooOld =
                m_idleTimeout > 0 && static_cast<int>(m_idle.size()) >= m_min &&
                std::chrono::steady_clock::now() - idle.since > std::chrono::seconds(m_idleTimeout);
            if (!idle.connection->IsConnected() || tooOld ||
                (m_checkIdle && idle.connection->isStale())) {
                delete idle.connection;
                --m_total;
                continue;
            }
            try {
                m_lent.insert(idle.connection);
            } catch (...) {
                m_idle.push_back(idle);  // back where it was (the room is still there)
                throw;
            }
            out = idle.connection;
            return CPvError::Success();
        }
        if (m_total < m_lendLimit) break;
        if (m_returned.wait_until(lock, waitUntil) == std::cv_status::timeout &&
            m_idle.empty() && m_total >= m_lendLimit) {
            return CPvError(kPvErrPoolExhausted, "no free connection in the pool");
        }
    }

    // A new connection, attached outside the lock.
    const std::string service = m_service, host = m_host, client = m_client;
    const int timeout = m_attachTimeout;
    ++m_total;
    lock.unlock();
    try {
        std::unique_ptr<CRkNetwork> connection(new CRkNetwork());
        bool abort = false;
        CPvError e = connection->Attach_RemoteService(host, service, client, timeout, abort);
        lock.lock();
        if (e.IsError()) {
            --m_total;
            m_returned.notify_one();
            return e;
        }
        m_lent.insert(connection.get());
        out = connection.release();
        return CPvError::Success();
    } catch (...) {
        // A slot taken for a connection that was never lent is given back,
        // or the pool would shrink by one for every failed allocation.
        if (!lock.owns_lock()) lock.lock();
        --m_total;
        m_returned.notify_one();
        throw;
    }
}

CPvError RkNetworkPool::giveBack(CRkNetwork* connection, bool drop) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_lent.find(connection);
    if (it == m_lent.end()) return CPvError(kPvErrGeneric, "connection not lent by this pool");
    m_lent.erase(it);
    const auto now = std::chrono::steady_clock::now();
    if (drop || !connection->IsConnected()) {
        delete connection;
        --m_total;
    } else {
        m_idle.push_back(Idle{connection, now});
    }
    closeSurplusLocked(now);
    m_returned.notify_one();
    return CPvError::Success();
}

void RkNetworkPool::closeSurplusLocked(std::chrono::steady_clock::time_point now) {
    // The oldest idle connections stand first (borrowers take the newest).
    constexpr auto kSurplusIdle = std::chrono::seconds(2);
    while (static_cast<int>(m_idle.size()) > m_max && now - m_idle.front().since > kSurplusIdle) {
        delete m_idle.front().connection;
        m_idle.erase(m_idle.begin());
        --m_total;
    }
}

CPvError RkNetworkPool::releaseSessionObject(CRkNetwork* connection) {
    return giveBack(connection, false);
}

CPvError RkNetworkPool::discardSessionObject(CRkNetwork* connection) {
    return giveBack(connection, true);
}

void RkNetworkPool::setLendLimit(int limit) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lendLimit = limit > m_max ? limit : m_max;
}

int RkNetworkPool::connectionCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_idle.size() + m_lent.size());
}

int RkNetworkPool::idleCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_idle.size());
}

int RkNetworkPool::lentCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_lent.size());
}
