// A temporary registry root with a log folder, for tests that read settings
// or debug-log lines without a server.
//
//   vsdktest::TempRegistry reg;                  // VSDK_REGISTRY_ROOT -> a new temp folder
//   reg.setValue("Instance001", "Mardock", "sMardockHostName", "cs1");
//   reg.setDebugLevel(6);                        // EventManager nDebugLevel, log re-read
//   ... library calls ...
//   auto lines = reg.logLines();
//
// The constructor writes, for instance "Instance001": EventManager dEVLOGDIR =
// logDir() and nDebugLevel = the given level, and points VSDK_REGISTRY_ROOT at
// the folder (restored by the destructor). One at a time per process; set it
// up before starting threads.
#pragma once

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
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_had = false;
    std::string m_old;
};

// Writes "<name> <value>" into <root>/<instance>/<section>, replacing an
// existing line of that name, and re-reads the log settings.
void writeRegistryValue(const std::string& root, const std::string& instance,
                        const std::string& section, const std::string& name,
                        const std::string& value);
void removeRegistryValue(const std::string& root, const std::string& instance,
                         const std::string& section, const std::string& name);

// The lines of a text file (no line ends); empty when it cannot be read.
std::vector<std::string> readLines(const std::string& path);

class TempRegistry {
public:
    static constexpr const char* kInstance = "Instance001";

    explicit TempRegistry(int debugLevel = 10);
    ~TempRegistry();
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    const std::string& root() const { return m_root; }
    std::string logDir() const { return m_root + "/log"; }
    // The process's default log file in logDir().
    std::string logFile() const { return logDir() + "/vsdk.log"; }
    std::vector<std::string> logLines() const { return readLines(logFile()); }
    bool logContains(const std::string& text) const;

    void setValue(const std::string& instance, const std::string& section, const std::string& name,
                  const std::string& value);
    void setValue(const std::string& instance, const std::string& section, const std::string& name,
                  long long value);
    // EventManager nDebugLevel of kInstance.
    void setDebugLevel(int level);
    // First line of "<root>/focus".
    void setFocusFile(const std::string& instance);

private:
    std::string m_root;
    std::unique_ptr<ScopedEnv> m_rootVariable;
};

}  // namespace vsdktest
