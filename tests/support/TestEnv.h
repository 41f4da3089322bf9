// Test fixture: a simulated server, a temporary registry that points the library at it (Mardock host and
// client name, local client name, the server's port, log folder and level, nVCommandTimeOut unless <= 0,
// base folder; ORVANE_VM names the instance), and helpers to start threads up and read the debug log. One
// at a time per process; make it before the threads that use the library, and de-initialise them before it goes.
#pragma once

#include "simserver/SimServer.h"
#include "support/TempRegistry.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

struct _QInitializeParameters;

namespace vsdktest {

struct EnvOptions {
    std::string instance = "Instance001";
    std::string mardockName = "localhost";  // this machine's Mardock per the registry
    std::string mardockClientName = "simcs";
    std::string localClientName = "testclient";
    int commandTimeout = 5;  // nVCommandTimeOut, seconds
    int debugLevel = 10;
    bool pooling = false;  // UseSessionPool 1 + VSDKInitializeConnectionPools()

    static EnvOptions withPooling() {
        EnvOptions o;
        o.pooling = true;
        return o;
    }
};

class TestEnv {
public:
    explicit TestEnv(const EnvOptions& options = EnvOptions());
    ~TestEnv();  // pools cleaned up and pooling off again
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    const EnvOptions& options() const { return m_options; }
    simserver::SimServer& server() { return *m_server; }
    unsigned short port() const { return m_server->port(); }
    const std::string& mardockName() const { return m_options.mardockName; }
    const std::string& root() const { return m_registry->root(); }
    std::string logDir() const { return m_registry->logDir(); }
    std::string baseDir() const { return root() + "/base"; }

    // Registry values of the instance.
    void setValue(const std::string& section, const std::string& name, const std::string& value) {
        writeRegistryValue(root(), m_options.instance, section, name, value);
    }
    void setValue(const std::string& section, const std::string& name, long long value) {
        setValue(section, name, std::to_string(value));
    }
    void removeValue(const std::string& section, const std::string& name) {
        removeRegistryValue(root(), m_options.instance, section, name);
    }
    void setFocusFile(const std::string& instance) { m_registry->setFocusFile(instance); }
    // Writes UseSessionPool (1/0) and calls VSDKInitializeConnectionPools().
    void setPooling(bool on);

    // VSDKInitialize on the calling thread with a record naming the Mardock,
    // the session file off.
    unsigned long initThread();
    // VSDKInitializeWithLoginFlag with that record as adjust changes it.
    using InitAdjust = std::function<void(_QInitializeParameters&)>;
    unsigned long initThread(const InitAdjust& adjust, bool loginFlag = false,
                             bool preInstallMode = true, bool noConnect = false);

    // The debug log; a mark (its current size) limits a look to what came after.
    std::size_t logMark() const { return logSince(0).size(); }
    std::string logSince(std::size_t mark) const;
    bool logContains(const std::string& needle, std::size_t since = 0) const {
        return logSince(since).find(needle) != std::string::npos;
    }
    std::size_t logCount(const std::string& needle, std::size_t since = 0) const;

private:
    EnvOptions m_options;
    std::unique_ptr<TempRegistry> m_registry;
    std::unique_ptr<simserver::SimServer> m_server;
    ScopedEnv m_vm;
};

}  // namespace vsdktest
