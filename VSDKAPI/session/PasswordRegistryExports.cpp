// Password protection and registry look-ups for callers; they need no
// start-up and touch no thread state.
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPIGlobalData/QEvDebug.h"
#include "VSDKErrors/VSDKErrors.h"
#include "platform/RKPassword.h"
#include "platform/RKPlatformInfo.h"
#include "VSDKErrors/ExportGuard.h"

#include <cstring>

namespace {

constexpr std::size_t kEncryptInputLimit = 510;
constexpr std::size_t kDecryptInputLimit = 2047;
constexpr std::size_t kAnsiInputLimit = 2048;
constexpr unsigned long kEncryptCapacity = 2048;
constexpr unsigned long kDecryptCapacity = 511;
constexpr int kRegistryCapacity = 2048;

const char* orEmpty(const char* text) { return text ? text : ""; }

unsigned long fail(QEvDebug& log, const char* function, int level, const char* format,
                   unsigned long code) {
    log.debugLvl(function, level, format, static_cast<unsigned int>(code), GetErrorString(code));
    return code;
}

// The string forms: the input goes through a zeroed buffer of inSize bytes.
unsigned long passwordString(bool encrypting, const std::string& in, std::string& out) {
    QEvDebug log;
    const char* function = encrypting ? "QEncryptPassword()" : "QDecryptPassword()";
    const char* line = encrypting ? "Encryption of Password failed with Error code [0x%x] Error string [%s]"
                                  : "Decryption of Password failed with Error code [0x%x] Error string [%s]";
    const std::size_t limit = encrypting ? kEncryptInputLimit : kDecryptInputLimit;
    if (in.size() > limit) return fail(log, function, 0, line, vsdkerr::kInvalidArgument);

    char input[kDecryptInputLimit + 1] = {0};
    char output[kEncryptCapacity] = {0};
    msgf::copyBounded(input, limit + 1, in);
    unsigned long length = encrypting ? kEncryptCapacity : kDecryptCapacity;
    const int ok = encrypting ? RKPassword::encrypt(input, output, &length)
                              : RKPassword::decrypt(input, output, &length);
    if (!ok) return fail(log, function, 0, line, vsdkerr::kInvalidLogin);
    out = output;
    return 0;
}

unsigned long passwordAnsi(bool encrypting, const char* in, char* out, int* size) {
    QEvDebug log;
    const char* function = encrypting ? "QEncryptPasswordAnsi()" : "QDecryptPasswordAnsi()";
    const char* line = encrypting
                           ? "Encryption of Password(ANSI) failed with Error code [0x%x] Error string [%s]"
                           : "Decryption of Password(ANSI) failed with Error code [0x%x] Error string [%s]";
    if (in == nullptr) {
        return fail(log, function, 0,
                    encrypting ? line
                               : "Input is NULL. Decryption of Password(ANSI) failed with Error code "
                                 "[0x%x] Error string [%s]",
                    vsdkerr::kInvalidArgument);
    }
    if (out == nullptr || size == nullptr || strnlen(in, kAnsiInputLimit + 1) > kAnsiInputLimit) {
        return fail(log, function, 0, line, vsdkerr::kInvalidArgument);
    }
    char output[kEncryptCapacity] = {0};
    unsigned long length = encrypting ? kEncryptCapacity : kDecryptCapacity;
    const int ok = encrypting ? RKPassword::encrypt(in, output, &length)
                              : RKPassword::decrypt(in, output, &length);
    if (!ok) return fail(log, function, 0, line, vsdkerr::kInvalidLogin);
    // The caller's buffer must hold the result and its terminating zero.
    if (*size < 0 || static_cast<unsigned long>(*size) <= length) {
        return fail(log, function, 0, line, vsdkerr::kInvalidArgument);
    }
    std::memcpy(out, output, length + 1);
    *size = static_cast<int>(length);
    return 0;
}

}  // namespace

static unsigned long QEncryptPasswordUnguarded(const std::string& plain, std::string& out) {
    return passwordString(true, plain, out);
}

static unsigned long QDecryptPasswordUnguarded(const std::string& encrypted, std::string& out) {
    return passwordString(false, encrypted, out);
}

static unsigned long QEncryptPasswordAnsiUnguarded(const char* plain, char* out, int* size) {
    return passwordAnsi(true, plain, out, size);
}

static unsigned long QDecryptPasswordAnsiUnguarded(const char* encrypted, char* out, int* size) {
    return passwordAnsi(false, encrypted, out, size);
}

static unsigned long GetStringFromOrvaneRegistryAnsiUnguarded(const char* focus,
                                                              const char* section, const char* key,
                                                              char* out, int* size) {
    const char* function = "GetStringFromOrvaneRegistryAnsi";
    const unsigned long code = vsdkerr::kInvalidArgument;
    QEvDebug log;
    RKPlatformInfo info;
    char buffer[kRegistryCapacity] = {0};
    int length = kRegistryCapacity;
    bool found = false;
    if (focus != nullptr && section != nullptr && key != nullptr && out != nullptr && size != nullptr) {
        info.setFocus(focus);
        found = info.getString(section, key, buffer, &length) != 0;
    }
    if (!found) {
        log.debugLvl(function, 20,
                     "Retrieval of string from Orvane Registry(ANSI) failed with Error code [0x%x] "
                     "Error string [%s] for the input focus [%s],sectionName [%s], keyname [%s], "
                     "keySize [%d]",
                     static_cast<unsigned int>(code), GetErrorString(code), orEmpty(focus),
                     orEmpty(section), orEmpty(key), size ? *size : 0);
        return code;
    }
    // The caller's buffer must hold the value and its terminating zero.
    if (*size <= length) {
        log.debugLvl(function, 20,
                     "Retrieval of string from Orvane Registry(ANSI) failed with Error code [0x%x] "
                     "Error string [%s]. Returned string size[%d] is greater than input size [%d] for "
                     "input sectionName [%s], keyname [%s]",
                     static_cast<unsigned int>(code), GetErrorString(code), length, *size, section, key);
        return code;
    }
    std::memcpy(out, buffer, static_cast<std::size_t>(length) + 1);
    *size = length;
    return 0;
}

static unsigned long GetStringFromOrvaneRegistryUnguarded(const std::string& focus,
                                                          const std::string& section,
                                                          const std::string& key,
                                                          std::string& out) {
    QEvDebug log;
    RKPlatformInfo info;
    char buffer[kRegistryCapacity] = {0};
    int length = kRegistryCapacity;
    info.setFocus(focus.c_str());
    if (!info.getString(section.c_str(), key.c_str(), buffer, &length)) {
        return fail(log, "GetStringFromOrvaneRegistry()", 0,
                    "Retrival of string from Orvane Registry failed with Error code [0x%x] Error string [%s]",
                    vsdkerr::kInvalidArgument);
    }
    out = buffer;
    return 0;
}

static unsigned long GetNumberFromOrvaneRegistryUnguarded(const char* focus, const char* section,
                                                          const char* key, unsigned long* value) {
    QEvDebug log;
    RKPlatformInfo info;
    if (focus != nullptr) info.setFocus(focus);
    if (focus == nullptr || section == nullptr || key == nullptr || value == nullptr ||
        !info.getNumber(section, key, value)) {
        return fail(log, "GetNumberFromOrvaneRegistry()", 10,
                    "Retrival of Number from Orvane Registry failed with Error code [0x%x] Error string [%s]",
                    vsdkerr::kInvalidArgument);
    }
    return 0;
}

// The exports: no exception leaves them.

unsigned long QEncryptPassword(const std::string& plain, std::string& out) {
    return vsdkguard::guarded("QEncryptPassword",
                              [&] { return QEncryptPasswordUnguarded(plain, out); });
}

unsigned long QDecryptPassword(const std::string& encrypted, std::string& out) {
    return vsdkguard::guarded("QDecryptPassword",
                              [&] { return QDecryptPasswordUnguarded(encrypted, out); });
}

unsigned long QEncryptPasswordAnsi(const char* plain, char* out, int* size) {
    return vsdkguard::guarded("QEncryptPasswordAnsi",
                              [&] { return QEncryptPasswordAnsiUnguarded(plain, out, size); });
}

unsigned long QDecryptPasswordAnsi(const char* encrypted, char* out, int* size) {
    return vsdkguard::guarded("QDecryptPasswordAnsi",
                              [&] { return QDecryptPasswordAnsiUnguarded(encrypted, out, size); });
}

unsigned long GetStringFromOrvaneRegistryAnsi(const char* focus, const char* section,
                                              const char* key, char* out, int* size) {
    return vsdkguard::guarded("GetStringFromOrvaneRegistryAnsi", [&] {
        return GetStringFromOrvaneRegistryAnsiUnguarded(focus, section, key, out, size);
    });
}

unsigned long GetStringFromOrvaneRegistry(const std::string& focus, const std::string& section,
                                          const std::string& key, std::string& out) {
    return vsdkguard::guarded("GetStringFromOrvaneRegistry", [&] {
        return GetStringFromOrvaneRegistryUnguarded(focus, section, key, out);
    });
}

unsigned long GetNumberFromOrvaneRegistry(const char* focus, const char* section, const char* key,
                                          unsigned long* value) {
    return vsdkguard::guarded("GetNumberFromOrvaneRegistry", [&] {
        return GetNumberFromOrvaneRegistryUnguarded(focus, section, key, value);
    });
}
