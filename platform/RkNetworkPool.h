// Stand-in for the platform's connection pool: a bounded set of connections
// to one service on one host, shared by the threads of a process.
//
// Connections are made lazily, when a borrower finds none idle. The pool
// lends as many connections at once as borrowers ask for, up to its lending
// limit (never below kLendLimit); a borrower beyond the limit waits for a
// connection to come back (up to the attach time-out). Idle connections
// beyond the maximum are closed once they have stayed idle for a moment, so
// a burst of borrowers does not leave them open. Each connection is lent to
// one borrower at a time. A connection that comes back broken, or that went stale
// while idle (peer closed, unasked bytes, idle longer than the idle time-out),
// is dropped instead of being lent again.
#pragma once

#include "CPvError.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class CRkNetwork;

class RkNetworkPool {
public:
    RkNetworkPool();
    ~RkNetworkPool();  // closes every connection; none may be lent out any more
    RkNetworkPool(const RkNetworkPool&) = delete;
    RkNetworkPool& operator=(const RkNetworkPool&) = delete;

    // attachTimeout: seconds for one attach (and the longest wait for a free
    // connection); idleTimeout: seconds an idle connection is kept;
    // minConnections: idle connections kept even when older; maxConnections:
    // the bound; checkIdle: non-zero tests idle connections before lending.
    // Resolves the host (not mangled part) once; fails when it cannot.
    CPvError initNetworkPool(const std::string& service, const std::string& host,
                             const std::string& localClientName, int attachTimeout,
                             int idleTimeout, int minConnections, int maxConnections,
                             int checkIdle);

    // Lends a connection (out set only on success).
    CPvError getSessionObject(CRkNetwork*& out);
    // Takes a lent connection back; a broken one is dropped.
    CPvError releaseSessionObject(CRkNetwork* connection);
    // Takes a lent connection back and drops it whatever its state.
    CPvError discardSessionObject(CRkNetwork* connection);

    // Counts, for tests and logs.
    int connectionCount() const;  // idle + lent
    int idleCount() const;
    int lentCount() const;
    int maxConnections() const { return m_max; }  // kept idle
    int lendLimit() const { return m_lendLimit; }  // lent at once
    // Changes the lending limit (at least the maximum kept idle).
    void setLendLimit(int limit);

    static constexpr int kLendLimit = 64;

private:
    struct Idle {
        CRkNetwork* connection;
        std::chrono::steady_clock::time_point since;
    };

    CPvError giveBack(CRkNetwork* connection, bool drop);
    // Closes idle connections beyond the maximum that have been idle a while.
    void closeSurplusLocked(std::chrono::steady_clock::time_point now);

    mutable std::mutex m_mutex;
    std::condition_variable m_returned;
    bool m_initialised = false;
    std::string m_service;
    std::string m_host;
    std::string m_client;
    int m_attachTimeout = 120;
    int m_idleTimeout = 600;
    int m_min = 1;
    int m_max = 5;
    int m_lendLimit = kLendLimit;
    bool m_checkIdle = true;
    int m_total = 0;  // idle + lent + being attached
    std::vector<Idle> m_idle;
    std::set<CRkNetwork*> m_lent;
};
