// A temporary registry root (VSDK_REGISTRY_ROOT, restored on destruction) whose
// kInstance logs into logDir() at the given level. One at a time per process;
// set it up before starting threads.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace vsdktest {

// Sets (or, for a null value, unsets) an environment variable for its life.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;

private:
    std::string m_name, m_old;
    bool m_had = false;
};

// Writes "<name> <value>" into <root>/<instance>/<section>, replacing an
// existing line of that name, and re-reads the log settings.
void writeRegistryValue(const std::string& root, const std::string& instance, const std::string& section,
                        const std::string& name, const std::string& value);
void removeRegistryValue(const std::string& root, const std::string& instance, const std::string& section,
                         const std::string& name);

// The lines of a text file; none when it cannot be read.
std::vector<std::string> readLines(const std::string& path);

class TempRegistry {
public:
    static constexpr const char* kInstance = "Instance001";

    explicit TempRegistry(int debugLevel = 10);
    ~TempRegistry();
    TempRegistry(const TempRegistry&) = delete;

    const std::string& root() const { return m_root; }
    std::string logDir() const { return m_root + "/log"; }
    std::string logFile() const { return logDir() + "/vsdk.log"; }
    std::vector<std::string> logLines() const { return readLines(logFile()); }
    bool logContains(const std::string& text) const {
        const std::vector<std::string> lines = logLines();
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != l.npos; });
    }

    void setValue(const std::string& instance, const std::string& section, const std::string& name,
                  const std::string& value) {
        writeRegistryValue(m_root, instance, section, name, value);
    }
    void setDebugLevel(int level) { setValue(kInstance, "EventManager", "nDebugLevel", std::to_string(level)); }
    // First line of "<root>/focus".
    void setFocusFile(const std::string& instance);

private:
    std::string m_root;
    std::unique_ptr<ScopedEnv> m_rootVariable;
};

}  // namespace vsdktest
