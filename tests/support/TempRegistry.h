// A temporary registry root with a log folder, for tests that read settings
// or debug-log lines without a server.
//
//   vsdktest::TempRegistry reg;                  // VSDK_REGISTRY_ROOT -> a new temp folder
//   reg.setValue("Instance001", "Mardock", "sMardockHostName", "cs1");
//   reg.setDebugLevel(6);                        // EventManager nDebugLevel, log re-read
//   ... library calls ...
//   auto lines = vsdktest::readLines(reg.logFile());
//
// The constructor writes, for instance "Instance001": EventManager dEVLOGDIR =
// logDir() and nDebugLevel = the given level. It sets VSDK_REGISTRY_ROOT (the
// previous value is restored by the destructor) and re-reads the log
// settings. One at a time per process; set it up before starting threads.
#pragma once

#include <string>
#include <vector>

namespace vsdktest {

// A new empty folder under $TMPDIR (or /tmp).
std::string makeTempRoot(const std::string& prefix = "vsdk-test");
// Writes "<name> <value>" into <root>/<instance>/<section>, replacing an
// existing line of that name. Re-reads the log settings when root is the
// active registry root.
void writeRegistryValue(const std::string& root, const std::string& instance,
                        const std::string& section, const std::string& name,
                        const std::string& value);
void removeRegistryValue(const std::string& root, const std::string& instance,
                         const std::string& section, const std::string& name);
// VSDK_REGISTRY_ROOT = root (unset for an empty root), then EvDebug::reloadSettings().
void pointRegistryAt(const std::string& root);

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

    void setValue(const std::string& instance, const std::string& section, const std::string& name,
                  const std::string& value);
    void setValue(const std::string& instance, const std::string& section, const std::string& name,
                  long long value);
    void removeValue(const std::string& instance, const std::string& section, const std::string& name);
    // EventManager nDebugLevel of kInstance.
    void setDebugLevel(int level);
    // First line of "<root>/focus".
    void setFocusFile(const std::string& instance);

    // Lines of the default log.
    std::vector<std::string> logLines() const { return readLines(logFile()); }

private:
    std::string m_root;
    bool m_hadRoot = false;
    std::string m_oldRoot;
};

}  // namespace vsdktest
