#include "QEvDebug.h"

#include "VSDKErrors/ExportGuard.h"

#include "VSDK/Errors.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// The job id every line carries: the leading decimal number of "ContextJobId"
// (0 when unset or when it does not start with a number).
long long jobIdFromEnvironment() {
    const char* value = std::getenv("ContextJobId");
    if (value == nullptr) return 0;
    // Read whatever the process's locale: leading blanks, a sign, digits.
    value += std::strspn(value, " \t\n\v\f\r");
    if (*value == '+' && value[1] != '-') ++value;
    long long id = 0;
    const auto r = std::from_chars(value, value + std::strlen(value), id);
    return r.ec == std::errc() ? id : 0;
}

// "%S" is read as "%s": the library's formats use it for narrow texts.
std::string rewriteFormat(const char* format) {
    std::string text(format);
    for (std::size_t pos = text.find("%S"); pos != std::string::npos; pos = text.find("%S")) {
        text[pos + 1] = 's';
    }
    return text;
}

// Splits a path into its folder and file name; false without either part.
bool splitParentPath(const std::string& path, std::string& folder, std::string& file) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash + 1 >= path.size()) return false;
    folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    file = path.substr(slash + 1);
    return true;
}

}  // namespace

QEvDebug::QEvDebug() : EvDebug(), m_jobId(jobIdFromEnvironment()) {}

QEvDebug::QEvDebug(const QEvDebug& other) : EvDebug(other), m_jobId(other.m_jobId) {}

QEvDebug& QEvDebug::operator=(const QEvDebug& other) {
    EvDebug::operator=(other);
    m_jobId = other.m_jobId;
    return *this;
}

QEvDebug::~QEvDebug() = default;

void QEvDebug::vdebugLvl(const char* function, int level, const char* format, va_list args) {
    // A line above the log's level costs nothing more than this test.
    if (format == nullptr || level > getDebugLevel()) return;
    if (std::strstr(format, "%S") == nullptr) {
        handleMsgEventDebug_NEW(level, function, 0, m_jobId, nullptr, format, args);
        return;
    }
    const std::string rewritten = rewriteFormat(format);
    handleMsgEventDebug_NEW(level, function, 0, m_jobId, nullptr, rewritten.c_str(), args);
}

void QEvDebug::debugLvl(int level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    vdebugLvl(nullptr, level, format, args);
    va_end(args);
}

void QEvDebug::debugLvl(const char* function, int level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    vdebugLvl(function, level, format, args);
    va_end(args);
}

int QEvDebug::initialize(const char* logName, long long jobId) {
    const char* named = std::getenv("RK_RKC_LOG_FILE");
    if (named != nullptr && *named != '\0') {
        std::string folder;
        std::string file;
        if (splitParentPath(named, folder, file)) {
            const std::string logId = EvDebug::getLogId(file.c_str());
            return EvDebug::initialize(logId.c_str(), jobId, folder.c_str(), false, std::string());
        }
    }
    const std::string logId = EvDebug::getLogId(logName);
    return EvDebug::initialize(logId.c_str(), jobId, false, std::string());
}

std::string UnixTimeToLocTimeStringImpl(unsigned long seconds) {
    if (seconds == 0) return "now";
    const time_t t = static_cast<time_t>(seconds);
    if (t < 0) return "error";
    struct tm local;
    char buffer[1024] = {0};
    if (localtime_r(&t, &local) == nullptr || asctime_r(&local, buffer) == nullptr) return "error";
    buffer[sizeof(buffer) - 1] = '\0';
    std::string text(buffer);
    for (int i = 0; i < 2 && !text.empty() && (text.back() == '\n' || text.back() == '\r'); ++i) {
        text.pop_back();
    }
    return text;
}

std::string UnixTimeToLocTimeString(unsigned long seconds) {
    return vsdkguard::guarded("UnixTimeToLocTimeString", std::string("error"),
                              [&] { return UnixTimeToLocTimeStringImpl(seconds); });
}
