#include "RKPlatformInfo.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <istream>
#include <map>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <mutex>
#include <set>
#include <unistd.h>

namespace {

const char* const kDefaultRoot = "/etc/vsdk/registry";
const char* const kDefaultInstance = "Instance001";

// Focus names handed out as C texts stay valid for the life of the process:
// every name is kept once in a node-based set.
struct FocusState {
    std::mutex mutex;
    std::set<std::string> names;
    const char* current = nullptr;  // set by setFocus; null: ORVANE_VM or the focus file
    const char* unset = nullptr;    // what a look-up last found while current was null
    std::atomic<unsigned long> changes{0};
};

FocusState& focusState() {
    static FocusState* state = new FocusState();  // never destroyed: used at exit
    return *state;
}

const char* intern(FocusState& st, const std::string& name) {
    return st.names.insert(name).first->c_str();
}

std::string trimmed(const std::string& text) {
    const char* ws = " \t\r\n";
    const std::size_t b = text.find_first_not_of(ws);
    if (b == std::string::npos) return std::string();
    const std::size_t e = text.find_last_not_of(ws);
    return text.substr(b, e - b + 1);
}

// The text of a section file. Files are read once and kept until they change
// (another file at the path, another size or modification time), so that a
// value asked for on every request costs one stat(). A file changed within
// the last two seconds is read again each time: the file system's clock is
// coarser than two writes in a row.
std::shared_ptr<const std::string> sectionText(const std::string& path) {
    struct Cached {
        dev_t device;
        ino_t inode;
        off_t size;
        struct timespec modified;
        bool settled;  // modified well before it was read
        std::shared_ptr<const std::string> text;
    };
    static std::mutex* mutex = new std::mutex();
    static auto* cache = new std::map<std::string, Cached>();
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    {
        std::lock_guard<std::mutex> lock(*mutex);
        auto it = cache->find(path);
        if (it != cache->end() && it->second.settled && it->second.device == st.st_dev && it->second.inode == st.st_ino &&
            it->second.size == st.st_size && it->second.modified.tv_sec == st.st_mtim.tv_sec &&
            it->second.modified.tv_nsec == st.st_mtim.tv_nsec) {
            return it->second.text;
        }
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::ostringstream content;
    content << in.rdbuf();
    auto text = std::make_shared<const std::string>(content.str());
    std::lock_guard<std::mutex> lock(*mutex);
    const bool settled = st.st_mtim.tv_sec + 2 < std::time(nullptr);
    (*cache)[path] = Cached{st.st_dev, st.st_ino, st.st_size, st.st_mtim, settled, text};
    return text;
}

// Finds "<name> <value>" in <root>/<instance>/<section>; the value is the rest
// of the line without the blanks around it.
bool readValue(const std::string& instance, const char* section, const char* name,
               std::string& value) {
    if (section == nullptr || name == nullptr || *section == '\0' || *name == '\0') return false;
    if (std::strchr(section, '/') != nullptr || instance.find('/') != std::string::npos ||
        instance.empty() || instance == "." || instance == ".." ||
        std::strcmp(section, ".") == 0 || std::strcmp(section, "..") == 0) {
        return false;
    }
    std::shared_ptr<const std::string> text =
        sectionText(RKPlatformInfo::registryRoot() + "/" + instance + "/" + section);
    if (!text) return false;
    std::istringstream in(*text);
    return rkregistry::findValue(in, name, value);
}

}  // namespace

namespace rkregistry {

bool findValue(std::istream& in, const char* name, std::string& value) {
    if (name == nullptr || *name == '\0') return false;
    const std::size_t nameLen = std::strlen(name);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, nameLen, name) != 0) continue;
        if (line.size() == nameLen) {
            value.clear();
            return true;
        }
        if (line[nameLen] != ' ' && line[nameLen] != '\t') continue;
        value = trimmed(line.substr(nameLen));
        return true;
    }
    return false;
}

bool parseNumber(const std::string& text, long& out) {
    const std::string t = trimmed(text);
    if (t.empty()) return false;
    // Read without the process's locale: an optional sign (none after "0x"),
    // then digits to the end.
    int base = 10;
    const char* p = t.c_str();
    const char* const end = p + t.size();
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        p += 2;
        if (*p == '-') return false;
    } else if (*p == '+' && p[1] != '-') {
        ++p;
    }
    long v = 0;
    const auto r = std::from_chars(p, end, v, base);
    if (r.ec != std::errc() || r.ptr != end) return false;
    out = v;
    return true;
}

}  // namespace rkregistry

namespace {

int copyName(const std::string& value, char* buf, int size) {
    if (buf == nullptr || size <= 0) return -1;
    buf[0] = '\0';
    if (value.empty() || value.size() >= static_cast<std::size_t>(size)) return -1;
    std::memcpy(buf, value.data(), value.size());
    buf[value.size()] = '\0';
    return 0;
}

std::atomic<int> g_familyPreference{0};
std::atomic<unsigned long> g_reloads{0};

}  // namespace

std::string RKPlatformInfo::registryRoot() {
    const char* env = std::getenv("VSDK_REGISTRY_ROOT");
    if (env != nullptr && *env != '\0') return env;
    return kDefaultRoot;
}

unsigned long RKPlatformInfo::generation() { return g_reloads.load() + RKPI_Focus::changeCount(); }

void RKPlatformInfo::reload() { ++g_reloads; }

std::string RKPlatformInfo::currentInstance() {
    const char* focus = RKPI_Focus::getFocus();
    return focus ? std::string(focus) : std::string(kDefaultInstance);
}

std::string RKPlatformInfo::instance() const {
    return m_instance.empty() ? currentInstance() : m_instance;
}

void RKPlatformInfo::setFocus(const char* instance) {
    m_instance = instance ? instance : "";
}

int RKPlatformInfo::getNumber(const char* section, const char* name, long* value) const {
    if (value == nullptr) return 0;
    std::string text;
    long v = 0;
    if (!readValue(instance(), section, name, text) || !rkregistry::parseNumber(text, v)) return 0;
    *value = v;
    return 1;
}

int RKPlatformInfo::getNumber(const char* section, const char* name, unsigned long* value) const {
    long v = 0;
    if (value == nullptr || !getNumber(section, name, &v) || v < 0) return 0;
    *value = static_cast<unsigned long>(v);
    return 1;
}

int RKPlatformInfo::getRegInt(const char* section, const char* name, int* value) const {
    long v = 0;
    if (value == nullptr || !getNumber(section, name, &v) || v < INT_MIN || v > INT_MAX) return 0;
    *value = static_cast<int>(v);
    return 1;
}

int RKPlatformInfo::getString(const char* section, const char* name, std::string& out) const {
    std::string text;
    if (!readValue(instance(), section, name, text)) return 0;
    out = text;
    return 1;
}

int RKPlatformInfo::getString(const char* section, const char* name, char* out, int* length) const {
    if (out == nullptr || length == nullptr || *length <= 0) return 0;
    std::string text;
    if (!readValue(instance(), section, name, text)) return 0;
    if (text.size() >= static_cast<std::size_t>(*length)) return 0;
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    *length = static_cast<int>(text.size());
    return 1;
}

int RKPlatformInfo::findMardockHostName(char* buf, int size) {
    if (buf != nullptr && size > 0) buf[0] = '\0';
    std::string value;
    if (!RKPlatformInfo().getString("Mardock", "sMardockHostName", value)) return -1;
    return copyName(value, buf, size);
}

int RKPlatformInfo::findMardockClientName(char* buf, int size) {
    if (buf != nullptr && size > 0) buf[0] = '\0';
    std::string value;
    if (!RKPlatformInfo().getString("Mardock", "sMardockClientName", value)) return -1;
    return copyName(value, buf, size);
}

int RKPlatformInfo::getMardockHostName(char* buf, int size) {
    return findMardockHostName(buf, size);
}

std::string RKPlatformInfo::getPhysicalMachine() {
    std::string value;
    if (RKPlatformInfo().getString("Machine", "sPhysicalMachine", value) && !value.empty()) return value;
    char host[257] = {0};
    if (gethostname(host, sizeof(host) - 1) != 0) return std::string();
    return host;
}

void RKPI_Focus::setFocus(const char* instance) {
    FocusState& st = focusState();
    std::lock_guard<std::mutex> lock(st.mutex);
    const char* next = (instance != nullptr && *instance != '\0') ? intern(st, instance) : nullptr;
    if (next != st.current) ++st.changes;
    st.current = next;
}

unsigned long RKPI_Focus::changeCount() { return focusState().changes.load(); }

namespace {

// The instance ORVANE_VM names, taken as a start-up takes it: at most 1023
// characters, without the blanks at its end (unless it is made only of
// them). Empty when the variable is unset or empty.
std::string instanceFromEnvironment() {
    const char* name = std::getenv("ORVANE_VM");
    if (name == nullptr || *name == '\0') return std::string();
    std::string text(name, strnlen(name, 1023));
    const std::size_t end = text.find_last_not_of(" \t\f\v\n\r");
    if (end != std::string::npos) text.erase(end + 1);
    return text;
}

// The first line of "<root>/focus" without its blanks; empty when none.
std::string instanceFromFocusFile() {
    std::ifstream in(RKPlatformInfo::registryRoot() + "/focus");
    std::string line;
    if (!in || !std::getline(in, line)) return std::string();
    return trimmed(line);
}

}  // namespace

const char* RKPI_Focus::getFocus() {
    FocusState& st = focusState();
    std::lock_guard<std::mutex> lock(st.mutex);
    if (st.current != nullptr) return st.current;
    // Looked up each time: the variable and the file may change while the
    // process runs. Another instance than last time counts as a change of
    // focus, so that readers keeping values read them again.
    std::string name = instanceFromEnvironment();
    if (name.empty()) name = instanceFromFocusFile();
    const char* found = name.empty() ? nullptr : intern(st, name);
    if (found != st.unset) {
        st.unset = found;
        ++st.changes;
    }
    return found;
}

int RKPI_Session::GetPreferredIPFamily() const {
    long family = 0;
    if (!RKPlatformInfo().getNumber("Session", "nPreferredIPFamily", &family)) return 0;
    return (family == 4 || family == 6) ? static_cast<int>(family) : 0;
}

std::string RKPI_Base::getOrvaneDirectory() {
    std::string value;
    if (RKPlatformInfo().getString("Base", "dBASEHOME", value) && !value.empty()) return value;
    // Not ".../Base": that is the path of the section file that names it.
    return RKPlatformInfo::registryRoot() + "/" + RKPlatformInfo::currentInstance() + "/Home";
}

void PVNET_SetFamilyPreference(int family) {
    g_familyPreference.store((family == 4 || family == 6) ? family : 0);
}

int PVNET_GetFamilyPreference() { return g_familyPreference.load(); }
