#include "EvDebug.h"

#include "RKPlatformInfo.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <map>
#include <memory>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <string_view>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kDefaultDebugLevel = 1;
const char* const kDefaultLogId = "vsdk";

struct Settings {
    std::mutex mutex;
    std::atomic<bool> loaded{false};
    std::atomic<unsigned long> generation{0};  // moves on each time they are read
    std::atomic<unsigned long> focusChanges{0};  // RKPI_Focus::changeCount() when read
    std::atomic<long long> readSecond{0};        // wall-clock second they were read in
    std::string folder;
    std::atomic<int> level{kDefaultDebugLevel};
};

Settings& settings() {
    static Settings* s = new Settings();  // never destroyed: logging may run at exit
    return *s;
}

long long wallSecond() { return static_cast<long long>(std::time(nullptr)); }

// Caller holds the settings mutex. The focus count and the second are
// stored after the values: a reader without the lock that finds them current
// finds the values current too. They are taken before reading, so that a
// focus chosen meanwhile has them read again.
void loadLocked(Settings& s) {
    const unsigned long focusChanges = RKPI_Focus::changeCount();
    const long long second = wallSecond();
    RKPlatformInfo info;
    std::string folder;
    info.getString("EventManager", "dEVLOGDIR", folder);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.empty()) {
        folder = RKPlatformInfo::registryRoot() + "/" + RKPlatformInfo::currentInstance() + "/Log";
    }
    int level = kDefaultDebugLevel;
    info.getRegInt("EventManager", "nDebugLevel", &level);
    s.folder = folder;
    s.level.store(level);
    s.readSecond.store(second);
    s.focusChanges.store(focusChanges);
    ++s.generation;
    s.loaded.store(true);
}

// The settings are those of the current focus, read at most a second ago: a
// new focus reads them again, and so does the first line of every second,
// so that a level or folder changed in the registry takes effect in a
// running process.
bool current(const Settings& s) {
    return s.loaded.load() && s.focusChanges.load() == RKPI_Focus::changeCount() &&
           s.readSecond.load() == wallSecond();
}

void loadIfStaleLocked(Settings& s) {
    if (!current(s)) loadLocked(s);
}

void ensureLoaded() {
    Settings& s = settings();
    // Read without the lock while they are current (every line asks).
    if (current(s)) return;
    std::lock_guard<std::mutex> lock(s.mutex);
    loadIfStaleLocked(s);
}

// Folders made for the log, and its file (openForAppend), keep the owner's
// bits whatever the umask (one that clears them would leave a folder nobody
// can write into): the umask takes the group's and others' only.
void keepOwnerBits(const std::string& folder) {
    struct stat st;
    if (stat(folder.c_str(), &st) == 0 && (st.st_mode & S_IRWXU) != S_IRWXU) {
        chmod(folder.c_str(), (st.st_mode & 07777) | S_IRWXU);
    }
}

bool makeFolders(const std::string& folder) {
    if (folder.empty()) return false;
    std::string path;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        path = folder.substr(0, pos);
        if (path.empty()) continue;
        if (mkdir(path.c_str(), 0750) == 0) {
            keepOwnerBits(path);
        } else if (errno != EEXIST) {
            return false;
        }
    }
    struct stat st;
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int openForAppend(const std::string& path) {
    int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0640);
    if (fd < 0 && errno == ENOENT) {
        const std::size_t slash = path.rfind('/');
        if (slash != std::string::npos && makeFolders(path.substr(0, slash))) {
            fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0640);
        }
    }
    if (fd >= 0) {
        struct stat st;
        const mode_t owner = S_IRUSR | S_IWUSR;
        if (fstat(fd, &st) == 0 && st.st_uid == geteuid() && (st.st_mode & owner) != owner) {
            fchmod(fd, (st.st_mode & 07777) | owner);
        }
    }
    return fd;
}

// Log files stay open between lines. Once a second the path is looked up
// again: a file that was rotated or removed (another file, or none, at the
// path) is reopened, so lines never go to a file nobody reads for longer.
struct OpenLog {
    int fd = -1;
    dev_t device = 0;
    ino_t inode = 0;
    std::atomic<long long> checkedSecond{0};  // wall-clock second of the last look
    ~OpenLog() {
        if (fd >= 0) close(fd);
    }
};

std::mutex& openLogsMutex() {
    static std::mutex* m = new std::mutex();
    return *m;
}

std::map<std::string, std::shared_ptr<OpenLog>>& openLogs() {
    static auto* logs = new std::map<std::string, std::shared_ptr<OpenLog>>();
    return *logs;
}

std::shared_ptr<OpenLog> openLogFor(const std::string& path, long long now) {
    struct stat atPath;
    const bool exists = ::stat(path.c_str(), &atPath) == 0;
    std::lock_guard<std::mutex> lock(openLogsMutex());
    std::shared_ptr<OpenLog>& slot = openLogs()[path];
    if (slot && exists && slot->device == atPath.st_dev && slot->inode == atPath.st_ino) {
        slot->checkedSecond.store(now);
        return slot;
    }
    auto log = std::make_shared<OpenLog>();
    log->fd = openForAppend(path);
    struct stat opened;
    if (log->fd < 0 || fstat(log->fd, &opened) != 0) {
        slot.reset();
        return nullptr;
    }
    log->device = opened.st_dev;
    log->inode = opened.st_ino;
    log->checkedSecond.store(now);
    slot = log;
    return log;
}

// The file a thread wrote its last line to, used again without a lock while
// the settings stay as they were and the writing object names the same file.
// It is not held: a file replaced at its path is closed once no line is being
// written to it.
thread_local bool t_lastLogGone = false;  // set once the thread's record is destroyed
struct LastLog {
    unsigned long generation = 0;
    std::string logId, folder, path;
    std::weak_ptr<OpenLog> log;
    ~LastLog() { t_lastLogGone = true; }
};
thread_local LastLog t_lastLog;

// The open log for a line written at the wall-clock second now. Its path is
// looked up at most once a second, by whichever thread comes first.
std::shared_ptr<OpenLog> logFor(const EvDebug& writer, const std::string& logId,
                                const std::string& folder, long long now) {
    if (t_lastLogGone) return openLogFor(writer.logFilePath(), now);  // at thread exit
    LastLog& last = t_lastLog;
    const unsigned long generation = settings().generation.load();
    std::shared_ptr<OpenLog> log = last.log.lock();
    if (!log || last.generation != generation || last.logId != logId || last.folder != folder) {
        last.path = writer.logFilePath();
        log = openLogFor(last.path, now);
        last.log = log;
        last.generation = generation;
        last.logId = logId;
        last.folder = folder;
        return log;
    }
    if (log->checkedSecond.exchange(now) != now) {
        struct stat atPath;
        if (::stat(last.path.c_str(), &atPath) != 0 || atPath.st_dev != log->device ||
            atPath.st_ino != log->inode) {
            log = openLogFor(last.path, now);
            last.log = log;
        }
    }
    return log;
}

// One write() of the whole line in append mode: lines of several threads
// never interleave, and no lock is held while writing.
void appendLine(int fd, const std::string& line) {
    const char* p = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        const ssize_t n = write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

// The process id, kept; a child made by fork() takes its own.
std::atomic<long> g_pid{0};
std::atomic<unsigned long> g_forks{0};

long processId() {
    static const bool watched = [] {
        pthread_atfork(nullptr, nullptr, [] {
            g_pid.store(static_cast<long>(getpid()));
            ++g_forks;
        });
        g_pid.store(static_cast<long>(getpid()));
        return true;
    }();
    (void)watched;
    return g_pid.load(std::memory_order_relaxed);
}

// The thread id, kept per thread (again after a fork).
long threadId() {
    thread_local long tid = -1;
    thread_local unsigned long forks = 0;
    const unsigned long now = g_forks.load(std::memory_order_relaxed);
    if (tid < 0 || forks != now) {
        tid = static_cast<long>(syscall(SYS_gettid));
        forks = now;
    }
    return tid;
}

std::string formatMessage(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    char small[512];
    const int needed = std::vsnprintf(small, sizeof(small), format, measure);
    va_end(measure);
    if (needed < 0) return std::string();
    if (static_cast<std::size_t>(needed) < sizeof(small)) return std::string(small, needed);
    std::vector<char> big(static_cast<std::size_t>(needed) + 1);
    va_list again;
    va_copy(again, args);
    std::vsnprintf(big.data(), big.size(), format, again);
    va_end(again);
    return std::string(big.data(), static_cast<std::size_t>(needed));
}

void appendNumber(std::string& out, long long value) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, r.ptr);
}

// Two digits (or more, zero-padded to width) of a non-negative number.
void appendPadded(std::string& out, long value, int width) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, value);
    for (int n = static_cast<int>(r.ptr - digits); n < width; ++n) out += '0';
    out.append(digits, r.ptr);
}

// A line's text as one line, whatever was formatted into it: a line end at
// its very end is dropped (the line ends there), and every other control
// byte but the tab is written escaped (\r, \n, \xNN), so that no text, from
// the network or anywhere else, can end the line or start one of its own.
void appendOneLine(std::string& line, std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    const auto isControl = [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return (c < 0x20 && c != '\t') || c == 0x7F;
    };
    for (;;) {
        const auto bad = std::find_if(text.begin(), text.end(), isControl);
        line.append(text.data(), static_cast<std::size_t>(bad - text.begin()));
        if (bad == text.end()) return;
        const auto c = static_cast<unsigned char>(*bad);
        if (c == '\r' || c == '\n') {
            line += c == '\r' ? "\\r" : "\\n";
        } else {
            line += "\\x";
            line += kHex[c >> 4];
            line += kHex[c & 0xF];
        }
        text.remove_prefix(static_cast<std::size_t>(bad - text.begin()) + 1);
    }
}

// "<pid> <thread id> <yyyy/mm/dd hh:mm:ss.mmm> <job id> <function> [<level>] <text>"
std::string formatLine(int level, const char* function, long long jobId, const std::string& text,
                       const struct timeval& tv) {
    // The date and time to the second change once a second: kept per thread.
    thread_local time_t stampSecond = -1;
    thread_local std::string stampText;
    if (tv.tv_sec != stampSecond) {
        struct tm local;
        time_t secs = tv.tv_sec;
        stampText = "0000/00/00 00:00:00";
        if (localtime_r(&secs, &local) != nullptr) {
            stampText.clear();
            appendPadded(stampText, local.tm_year + 1900, 4);
            stampText += '/';
            appendPadded(stampText, local.tm_mon + 1, 2);
            stampText += '/';
            appendPadded(stampText, local.tm_mday, 2);
            stampText += ' ';
            appendPadded(stampText, local.tm_hour, 2);
            stampText += ':';
            appendPadded(stampText, local.tm_min, 2);
            stampText += ':';
            appendPadded(stampText, local.tm_sec, 2);
        }
        stampSecond = tv.tv_sec;
    }
    std::string line;
    line.reserve(64 + stampText.size() + text.size());
    appendNumber(line, processId());
    line += ' ';
    appendNumber(line, threadId());
    line += ' ';
    line += stampText;
    line += '.';
    appendPadded(line, static_cast<long>(tv.tv_usec / 1000), 3);
    line += ' ';
    appendNumber(line, jobId);
    line += ' ';
    line += (function != nullptr && *function != '\0') ? function : "-";
    line += " [";
    appendNumber(line, level);
    line += "] ";
    appendOneLine(line, text);
    line += '\n';
    return line;
}

}  // namespace

EvDebug::EvDebug() = default;

EvDebug::~EvDebug() = default;

int EvDebug::initialize(const char* logId, long long, const char* folder, bool, const std::string&) {
    if (logId == nullptr || *logId == '\0' || std::strchr(logId, '/') != nullptr) return -1;
    m_logId = logId;
    m_folder = folder ? folder : "";
    while (m_folder.size() > 1 && m_folder.back() == '/') m_folder.pop_back();
    return openLogFor(logFilePath(), static_cast<long long>(std::time(nullptr))) ? 0 : -1;
}

int EvDebug::initialize(const char* logId, long long jobId, bool flag, const std::string& extra) {
    return initialize(logId, jobId, nullptr, flag, extra);
}

std::string EvDebug::getLogId(const char* fileName) {
    if (fileName == nullptr) return std::string();
    std::string name(fileName);
    const std::string suffix = ".log";
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        name.erase(name.size() - suffix.size());
    }
    return name;
}

int EvDebug::getDebugLevel() const {
    ensureLoaded();
    return settings().level.load();
}

void EvDebug::handleMsgEventDebug_NEW(int level, const char* function, int, long long jobId,
                                      const char* extra, const char* format, va_list args) {
    if (format == nullptr || level > getDebugLevel()) return;
    std::string text = formatMessage(format, args);
    if (extra != nullptr && *extra != '\0') {
        text += ' ';
        text += extra;
    }
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    const std::shared_ptr<OpenLog> log = logFor(*this, m_logId, m_folder, tv.tv_sec);
    if (log) appendLine(log->fd, formatLine(level, function, jobId, text, tv));
}

void EvDebug::Error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    handleMsgEventDebug_NEW(0, nullptr, 0, 0, nullptr, format, args);
    va_end(args);
}

std::string EvDebug::logFilePath() const {
    const std::string folder = m_folder.empty() ? logFolder() : m_folder;
    return folder + "/" + (m_logId.empty() ? std::string(kDefaultLogId) : m_logId) + ".log";
}

void EvDebug::reloadSettings() {
    RKPlatformInfo::reload();
    Settings& s = settings();
    std::lock_guard<std::mutex> lock(s.mutex);
    loadLocked(s);
}

std::string EvDebug::logFolder() {
    Settings& s = settings();
    std::lock_guard<std::mutex> lock(s.mutex);
    loadIfStaleLocked(s);
    return s.folder;
}

std::string EvDebug::defaultLogFilePath() {
    return logFolder() + "/" + kDefaultLogId + ".log";
}
