#include "support/TestEnv.h"

#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "platform/EvDebug.h"
#include "platform/RKPlatformInfo.h"

#include <filesystem>
#include <fstream>
#include <iterator>
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
        setValue("EventManager", "dEVLOGDIR", logDir());
        setValue("EventManager", "nDebugLevel", options.debugLevel);
    }
    setValue("Mardock", "sMardockHostName", m_options.mardockName);
    setValue("Mardock", "sMardockClientName", m_options.mardockClientName);
    setValue("Machine", "sPhysicalMachine", m_options.localClientName);
    setValue("Network", "nCmdLineServicePort", port());
    setValue("Base", "dBASEHOME", baseDir());
    if (m_options.commandTimeout > 0) setValue("~EventManager", "nVCommandTimeOut", m_options.commandTimeout);
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

unsigned long TestEnv::initThread(const InitAdjust& adjust, bool loginFlag, bool preInstallMode, bool noConnect) {
    _QInitializeParameters params;
    msgf::copyBounded(params.mardockName, m_options.mardockName);
    params.useSessionFile = false;
    adjust(params);
    return VSDKInitializeWithLoginFlag(&params, loginFlag, preInstallMode, noConnect);
}

std::string TestEnv::logSince(std::size_t mark) const {
    std::ifstream in(EvDebug::defaultLogFilePath(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    return mark < text.size() ? text.substr(mark) : std::string();
}

std::size_t TestEnv::logCount(const std::string& needle, std::size_t since) const {
    const std::string text = logSince(since);
    std::size_t count = 0;
    for (std::size_t p = text.find(needle); !needle.empty() && p != std::string::npos; p = text.find(needle, p + 1)) {
        ++count;
    }
    return count;
}

}  // namespace vsdktest
