#include "support/TestEnv.h"

#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "platform/EvDebug.h"
#include "platform/RKPlatformInfo.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vsdktest {

TestEnv::TestEnv(const EnvOptions& options)
    : m_options(options),
      m_registry(new TempRegistry(options.debugLevel)),
      m_server(new simserver::SimServer()),
      m_vm("ORVANE_VM", options.instance.c_str()) {
    if (!m_server->ok()) throw std::runtime_error("the simulated server cannot listen");
    const std::string& inst = m_options.instance;
    if (inst != TempRegistry::kInstance) {
        writeRegistryValue(root(), inst, "EventManager", "dEVLOGDIR", logDir());
        writeRegistryValue(root(), inst, "EventManager", "nDebugLevel",
                           std::to_string(options.debugLevel));
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
    // Reads of the registry follow the focus: point it at the test instance.
    RKPI_Focus::setFocus(inst.c_str());
    EvDebug::reloadSettings();
    setPooling(m_options.pooling);
}

TestEnv::~TestEnv() {
    VSDKCleanUpConnectionPools();
    removeValue("Mardock", "UseSessionPool");
    VSDKInitializeConnectionPools();
    m_server.reset();
    RKPI_Focus::setFocus(nullptr);
}

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

void TestEnv::setPooling(bool on) {
    setValue("Mardock", "UseSessionPool", on ? 1LL : 0LL);
    VSDKInitializeConnectionPools();
}

unsigned long TestEnv::initThread() {
    _QInitializeParameters params;
    msgf::copyBounded(params.mardockName, m_options.mardockName);
    params.useSessionFile = false;
    return VSDKInitialize(&params);
}

unsigned long TestEnv::initThread(const InitAdjust& adjust, bool loginFlag, bool preInstallMode,
                                  bool noConnect) {
    _QInitializeParameters params;
    msgf::copyBounded(params.mardockName, m_options.mardockName);
    params.useSessionFile = false;
    adjust(params);
    return VSDKInitializeWithLoginFlag(&params, loginFlag, preInstallMode, noConnect);
}

std::string TestEnv::logSince(std::size_t mark) const {
    std::ifstream in(EvDebug::defaultLogFilePath(), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    return mark < text.size() ? text.substr(mark) : std::string();
}

bool TestEnv::logContains(const std::string& needle, std::size_t since) const {
    return logSince(since).find(needle) != std::string::npos;
}

std::size_t TestEnv::logCount(const std::string& needle, std::size_t since) const {
    const std::string text = logSince(since);
    std::size_t count = 0;
    for (std::size_t p = text.find(needle); !needle.empty() && p != std::string::npos;
         p = text.find(needle, p + 1)) {
        ++count;
    }
    return count;
}

}  // namespace vsdktest
