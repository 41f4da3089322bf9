// Test fixture: a simulated server, a temporary registry that points the
// library at it, and helpers to start threads up and to read the debug log.
//
// One TestEnv at a time per process (it sets process environment variables:
// VSDK_REGISTRY_ROOT, ORVANE_VM; the previous values are restored on
// destruction). Create it before starting threads that use the library.
//
//   vsdktest::TestEnv env;                       // server + registry + log folder
//   ASSERT_EQ(0u, env.initThread());             // VSDKInitialize, session file off
//   ... call exported functions, read env.server().journal() ...
//   EXPECT_TRUE(env.logContains("Received response [QBackupRespMsg]", mark));
//   VSDKDeInitialize();
//
// Registry written (current instance, see platform/RKPlatformInfo.h):
//   Mardock        sMardockHostName = mardockName, sMardockClientName = mardockClientName
//   Machine        sPhysicalMachine = localClientName
//   Network        nCmdLineServicePort = the server's port
//   EventManager   dEVLOGDIR = logDir(), nDebugLevel = debugLevel
//   ~EventManager  nVCommandTimeOut = commandTimeout (absent when <= 0)
//   Base           dBASEHOME = baseDir()
#pragma once

#include "simserver/SimServer.h"
#include "support/TempRegistry.h"

#include <cstddef>
#include <memory>
#include <string>

struct _QInitializeParameters;

namespace vsdktest {

struct EnvOptions {
    bool startServer = true;
    std::string instance = "Instance001";
    std::string mardockName = "localhost";      // this machine's Mardock per the registry
    std::string mardockClientName = "simcs";
    std::string localClientName = "testclient";
    int commandTimeout = 5;                     // nVCommandTimeOut, seconds; <= 0: absent
    int debugLevel = 10;
    bool setOrvaneVm = true;                    // ORVANE_VM = instance; else only the focus file
    bool pooling = false;                       // UseSessionPool 1 + VSDKInitializeConnectionPools()
};

class TestEnv {
public:
    TestEnv();
    explicit TestEnv(const EnvOptions& options);
    // Cleans up pools (VSDKCleanUpConnectionPools, pooling off again), stops
    // the server, restores the environment and removes the temporary folder.
    // Threads must have de-initialised before.
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    const EnvOptions& options() const { return m_options; }
    simserver::SimServer& server();
    unsigned short port() const;
    const std::string& mardockName() const { return m_options.mardockName; }

    // Folders (all under one temporary root).
    const std::string& root() const { return m_registry->root(); }   // VSDK_REGISTRY_ROOT
    TempRegistry& registry() { return *m_registry; }
    std::string instanceDir() const;
    std::string logDir() const;
    std::string baseDir() const;

    // Registry values of the configured instance. Log settings are re-read
    // by the log writer after each change.
    void setValue(const std::string& section, const std::string& name, const std::string& value);
    void setValue(const std::string& section, const std::string& name, long long value);
    void removeValue(const std::string& section, const std::string& name);
    // Writes the first line of "<root>/focus".
    void setFocusFile(const std::string& instance);

    // Pooling: writes UseSessionPool (1/0) and calls VSDKInitializeConnectionPools().
    void setPooling(bool on);

    // Starts the calling thread up against the server: VSDKInitialize with
    // the Mardock name, the session file off, everything else default.
    unsigned long initThread();
    // The same start-up record initThread() uses, to adjust and pass to
    // VSDKInitialize / VSDKInitializeWithLoginFlag yourself.
    void fillInitParams(_QInitializeParameters& params) const;

    // Debug log of the process (the default log file in logDir()).
    std::string logPath() const;
    std::string logText() const;
    // Current size of the log; pass it to the *Since helpers to look only at
    // what was written afterwards.
    std::size_t logMark() const;
    std::string logSince(std::size_t mark) const;
    bool logContains(const std::string& needle, std::size_t since = 0) const;
    std::size_t logCount(const std::string& needle, std::size_t since = 0) const;

private:
    void writeBaseRegistry();

    EnvOptions m_options;
    std::unique_ptr<TempRegistry> m_registry;
    std::unique_ptr<simserver::SimServer> m_server;
    bool m_hadVm = false;
    std::string m_oldVm;
};

}  // namespace vsdktest
