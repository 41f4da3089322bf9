#include "support/TempRegistry.h"

#include "platform/EvDebug.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vsdktest {

static void rewriteSection(const std::string& root, const std::string& instance, const std::string& section,
                    const std::string& name, const std::string* value) {
    const fs::path file = fs::path(root) / instance / section;
    fs::create_directories(file.parent_path());
    std::vector<std::string> lines;
    for (const std::string& line : readLines(file.string())) {
        const bool same = line.compare(0, name.size(), name) == 0 &&
                          (line.size() == name.size() || line[name.size()] == ' ');
        if (!same) lines.push_back(line);
    }
    if (value != nullptr) lines.push_back(name + " " + *value);
    std::ofstream out(file, std::ios::trunc);
    for (const std::string& line : lines) out << line << '\n';
    out.close();
    if (!out) throw std::runtime_error("cannot write " + file.string());
    EvDebug::reloadSettings();
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : m_name(name) {
    const char* old = std::getenv(name);
    if ((m_had = old != nullptr)) m_old = old;
    value ? setenv(name, value, 1) : unsetenv(name);
}

ScopedEnv::~ScopedEnv() { m_had ? setenv(m_name.c_str(), m_old.c_str(), 1) : unsetenv(m_name.c_str()); }

void writeRegistryValue(const std::string& root, const std::string& instance, const std::string& section,
                        const std::string& name, const std::string& value) {
    rewriteSection(root, instance, section, name, &value);
}

void removeRegistryValue(const std::string& root, const std::string& instance, const std::string& section,
                         const std::string& name) {
    rewriteSection(root, instance, section, name, nullptr);
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TempRegistry::TempRegistry(int debugLevel) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vsdk-test-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
    fs::create_directories(logDir());
    m_rootVariable.reset(new ScopedEnv("VSDK_REGISTRY_ROOT", m_root.c_str()));
    setValue(kInstance, "EventManager", "dEVLOGDIR", logDir());
    setDebugLevel(debugLevel);
}

TempRegistry::~TempRegistry() {
    m_rootVariable.reset();
    EvDebug::reloadSettings();
    std::error_code ec;
    fs::remove_all(m_root, ec);
}

void TempRegistry::setFocusFile(const std::string& instance) {
    std::ofstream(fs::path(m_root) / "focus", std::ios::trunc) << instance << '\n';
}

}  // namespace vsdktest
