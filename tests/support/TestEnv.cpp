#include "support/TestEnv.h"

#include "VSDK.h"
#include "platform/EvDebug.h"
#include "platform/RKPlatformInfo.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vsdktest {

TestEnv::TestEnv() : TestEnv(EnvOptions()) {}

TestEnv::TestEnv(const EnvOptions& options)
    : m_options(options), m_registry(new TempRegistry(options.debugLevel)) {
    const char* vm = std::getenv("ORVANE_VM");
    m_hadVm = vm != nullptr;
    if (vm) m_oldVm = vm;
    if (m_options.startServer) {
        m_server.reset(new simserver::SimServer());
        if (!m_server->ok()) throw std::runtime_error("the simulated server cannot listen");
    }
    writeBaseRegistry();
    if (m_options.setOrvaneVm) {
        setenv("ORVANE_VM", m_options.instance.c_str(), 1);
    } else {
        unsetenv("ORVANE_VM");
        setFocusFile(m_options.instance);
    }
    // Reads of the registry follow the focus: point it at the test instance.
    RKPI_Focus::setFocus(m_options.instance.c_str());
    EvDebug::reloadSettings();
    setPooling(m_options.pooling);
}

TestEnv::~TestEnv() {
    VSDKCleanUpConnectionPools();
    removeValue("Mardock", "UseSessionPool");
    VSDKInitializeConnectionPools();  // pooling off again
    m_server.reset();
    if (m_hadVm) {
        setenv("ORVANE_VM", m_oldVm.c_str(), 1);
    } else {
        unsetenv("ORVANE_VM");
    }
    RKPI_Focus::setFocus(nullptr);
    m_registry.reset();
}

void TestEnv::writeBaseRegistry() {
    const std::string& inst = m_options.instance;
    if (inst != TempRegistry::kInstance) {
        writeRegistryValue(root(), inst, "EventManager", "dEVLOGDIR", logDir());
        writeRegistryValue(root(), inst, "EventManager", "nDebugLevel",
                           std::to_string(m_options.debugLevel));
    }
    setValue("Mardock", "sMardockHostName", m_options.mardockName);
    setValue("Mardock", "sMardockClientName", m_options.mardockClientName);
    setValue("Machine", "sPhysicalMachine", m_options.localClientName);
    setValue("Network", "nCmdLineServicePort", static_cast<long long>(port()));
    setValue("Base", "dBASEHOME", baseDir());
    if (m_options.commandTimeout > 0) {
        setValue("~EventManager", "nVCommandTimeOut",
                 static_cast<long long>(m_options.commandTimeout));
    }
    std::filesystem::create_directories(baseDir());
}

simserver::SimServer& TestEnv::server() {
    if (!m_server) throw std::logic_error("TestEnv without a server");
    return *m_server;
}

unsigned short TestEnv::port() const { return m_server ? m_server->port() : 0; }

std::string TestEnv::instanceDir() const { return root() + "/" + m_options.instance; }
std::string TestEnv::logDir() const { return m_registry->logDir(); }
std::string TestEnv::baseDir() const { return root() + "/base"; }

void TestEnv::setValue(const std::string& section, const std::string& name,
                       const std::string& value) {
    writeRegistryValue(root(), m_options.instance, section, name, value);
}

void TestEnv::setValue(const std::string& section, const std::string& name, long long value) {
    setValue(section, name, std::to_string(value));
}

void TestEnv::removeValue(const std::string& section, const std::string& name) {
    removeRegistryValue(root(), m_options.instance, section, name);
}

void TestEnv::setFocusFile(const std::string& instance) { m_registry->setFocusFile(instance); }

void TestEnv::setPooling(bool on) {
    setValue("Mardock", "UseSessionPool", on ? 1LL : 0LL);
    VSDKInitializeConnectionPools();
}

void TestEnv::fillInitParams(_QInitializeParameters& params) const {
    params = _QInitializeParameters();
    const std::string& name = m_options.mardockName;
    const std::size_t n = name.size() < sizeof params.mardockName - 1 ? name.size()
                                                                      : sizeof params.mardockName - 1;
    name.copy(params.mardockName, n);
    params.mardockName[n] = '\0';
    params.useSessionFile = false;
}

unsigned long TestEnv::initThread() {
    _QInitializeParameters params;
    fillInitParams(params);
    return VSDKInitialize(&params);
}

std::string TestEnv::logPath() const { return EvDebug::defaultLogFilePath(); }

std::string TestEnv::logText() const { return logSince(0); }

std::size_t TestEnv::logMark() const { return logText().size(); }

std::string TestEnv::logSince(std::size_t mark) const {
    std::ifstream in(logPath(), std::ios::binary);
    if (!in) return std::string();
    std::ostringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    return mark < text.size() ? text.substr(mark) : std::string();
}

bool TestEnv::logContains(const std::string& needle, std::size_t since) const {
    return logSince(since).find(needle) != std::string::npos;
}

std::size_t TestEnv::logCount(const std::string& needle, std::size_t since) const {
    if (needle.empty()) return 0;
    const std::string text = logSince(since);
    std::size_t count = 0;
    for (std::size_t p = text.find(needle); p != std::string::npos; p = text.find(needle, p + 1)) {
        ++count;
    }
    return count;
}

}  // namespace vsdktest
