#include "support/TempRegistry.h"

#include "platform/EvDebug.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace vsdktest {

namespace {

std::string activeRoot() {
    const char* env = std::getenv("VSDK_REGISTRY_ROOT");
    return env ? env : "";
}

void rewriteSection(const std::string& root, const std::string& instance, const std::string& section,
                    const std::string& name, const std::string* value) {
    const fs::path folder = fs::path(root) / instance;
    fs::create_directories(folder);
    const fs::path file = folder / section;
    std::vector<std::string> lines;
    for (const std::string& line : readLines(file.string())) {
        const bool same = line.compare(0, name.size(), name) == 0 &&
                          (line.size() == name.size() || line[name.size()] == ' ');
        if (!same) lines.push_back(line);
    }
    if (value != nullptr) lines.push_back(name + " " + *value);
    std::ofstream out(file, std::ios::trunc);
    for (const std::string& line : lines) out << line << '\n';
    if (!out) throw std::runtime_error("cannot write " + file.string());
    out.close();
    if (activeRoot() == root) EvDebug::reloadSettings();
}

}  // namespace

std::string makeTempRoot(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return buf.data();
}

void writeRegistryValue(const std::string& root, const std::string& instance, const std::string& section,
                        const std::string& name, const std::string& value) {
    rewriteSection(root, instance, section, name, &value);
}

void removeRegistryValue(const std::string& root, const std::string& instance, const std::string& section,
                         const std::string& name) {
    rewriteSection(root, instance, section, name, nullptr);
}

void pointRegistryAt(const std::string& root) {
    if (root.empty()) {
        unsetenv("VSDK_REGISTRY_ROOT");
    } else {
        setenv("VSDK_REGISTRY_ROOT", root.c_str(), 1);
    }
    EvDebug::reloadSettings();
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

TempRegistry::TempRegistry(int debugLevel) : m_root(makeTempRoot()) {
    const char* old = std::getenv("VSDK_REGISTRY_ROOT");
    m_hadRoot = old != nullptr;
    if (old) m_oldRoot = old;
    fs::create_directories(logDir());
    writeRegistryValue(m_root, kInstance, "EventManager", "dEVLOGDIR", logDir());
    writeRegistryValue(m_root, kInstance, "EventManager", "nDebugLevel", std::to_string(debugLevel));
    pointRegistryAt(m_root);
}

TempRegistry::~TempRegistry() {
    pointRegistryAt(m_hadRoot ? m_oldRoot : std::string());
    std::error_code ec;
    fs::remove_all(m_root, ec);
}

void TempRegistry::setValue(const std::string& instance, const std::string& section, const std::string& name,
                            const std::string& value) {
    writeRegistryValue(m_root, instance, section, name, value);
}

void TempRegistry::setValue(const std::string& instance, const std::string& section, const std::string& name,
                            long long value) {
    writeRegistryValue(m_root, instance, section, name, std::to_string(value));
}

void TempRegistry::removeValue(const std::string& instance, const std::string& section,
                               const std::string& name) {
    removeRegistryValue(m_root, instance, section, name);
}

void TempRegistry::setDebugLevel(int level) { setValue(kInstance, "EventManager", "nDebugLevel", level); }

void TempRegistry::setFocusFile(const std::string& instance) {
    std::ofstream out(fs::path(m_root) / "focus", std::ios::trunc);
    out << instance << '\n';
}

}  // namespace vsdktest
