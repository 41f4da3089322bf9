// The exported error-text functions.
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKErrors/VSDKErrors.h"
#include "VSDKErrors/ExportGuard.h"

#include <algorithm>
#include <iterator>

namespace {

// Codes whose readable text is always the server's (empty when it sent none).
constexpr unsigned long kServerTextCodes[] = {0x10c, 0x116, 0x117, 0x118, 0x121, 0x122,
                                              0x123, 0x136, 0x13b, 0x303, 0x505};

}  // namespace

static const char* VSDKGetErrorStringUnguarded(const unsigned long* code) {
    if (code == nullptr) return GetErrorString(vsdkerr::kInvalidArgument);
    VSDKAPIGlobalData* state = g_dataMap.current();
    if (state == nullptr) return GetErrorString(*code);
    const std::string& last = state->getErrorString();
    if (!last.empty()) return last.c_str();
    if (std::find(std::begin(kServerTextCodes), std::end(kServerTextCodes), *code) !=
        std::end(kServerTextCodes)) {
        return last.c_str();
    }
    return GetErrorString(*code);
}

const char* VSDKGetLastErrorString() {
    VSDKAPIGlobalData* state = g_dataMap.current();
    if (state == nullptr) return GetErrorString(vsdkerr::kNotInitialized);
    return state->getErrorString().c_str();
}

static const char* VSDKGetLocaleErrorStringUnguarded(const unsigned long* code,
                                                     const unsigned long* locale) {
    VSDKAPIGlobalData* state = g_dataMap.current();
    if (state == nullptr) return GetErrorString(vsdkerr::kNotInitialized);
    if (code == nullptr || locale == nullptr) return GetErrorString(vsdkerr::kInvalidArgument);
    getLocaleErrorMsgFromVSDKErrorCode(state->getErrorString(), *code, *locale);
    return state->getErrorString().c_str();
}

// The exports: no exception leaves them.

const char* VSDKGetErrorString(const unsigned long* code) {
    return vsdkguard::guarded("VSDKGetErrorString", GetErrorString(vsdkerr::kInternal),
                              [&]() -> const char* { return VSDKGetErrorStringUnguarded(code); });
}

const char* VSDKGetLocaleErrorString(const unsigned long* code, const unsigned long* locale) {
    return vsdkguard::guarded(
        "VSDKGetLocaleErrorString", GetErrorString(vsdkerr::kInternal),
        [&]() -> const char* { return VSDKGetLocaleErrorStringUnguarded(code, locale); });
}
