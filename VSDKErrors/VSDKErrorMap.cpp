// Localized error texts: the event-manager map and the formatting helpers.
#include "ErrorMap.h"
#include "VSDKErrors.h"

#include "VSDKAPIGlobalData/RkLocks.h"
#include "platform/EvEvent.h"
#include "VSDKErrors/ExportGuard.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <unordered_map>

namespace {

constexpr unsigned long kPermissionDenied = 0x151;    // library code whose text takes one argument
constexpr int kPermissionDeniedEvent = -102;

std::atomic<int> g_fillCount{0};

}  // namespace

// Event-manager code -> (library code, message id). Filled once, then only read.
static std::unordered_map<int, std::pair<std::uint64_t, std::uint64_t>> EventMgrToVSDKErrorMap;
// Published with release order once the map is filled.
static std::atomic<bool> needErrorMapInit{true};

static void initializeErrorMapUnguarded() {
    static RkCriticalSection mapLock;
    RkCriticalSectionLock guard(&mapLock);
    if (needErrorMapInit.load(std::memory_order_acquire)) {
        EventMgrToVSDKErrorMap[-11] = {0x14a, 0x23000f3e};
        EventMgrToVSDKErrorMap[-10] = {0x149, 0x2300124e};
        EventMgrToVSDKErrorMap[-4] = {0x104, 0x23000f3d};
        EventMgrToVSDKErrorMap[0] = {0x103, 0x23000008};
        EventMgrToVSDKErrorMap[-3] = {0x105, 0x230001c6};
        EventMgrToVSDKErrorMap[-2] = {0x115, 0x230001c5};
        EventMgrToVSDKErrorMap[-101] = {0x152, 0x23000453};
        EventMgrToVSDKErrorMap[-104] = {0x150, 0x23000894};
        EventMgrToVSDKErrorMap[-102] = {kPermissionDenied, 0x23000ea0};
        EventMgrToVSDKErrorMap[-103] = {0x153, 0x23000829};
        EventMgrToVSDKErrorMap[-5] = {0x150, 0x23000894};
        g_fillCount.fetch_add(1, std::memory_order_relaxed);
    }
    needErrorMapInit.store(false, std::memory_order_release);
}

static void ensureErrorMap() {
    if (needErrorMapInit.load(std::memory_order_acquire)) initializeErrorMap();
}

bool lookUpEventManagerCode(int eventManagerCode, std::pair<std::uint64_t, std::uint64_t>& row) {
    ensureErrorMap();
    const auto it = EventMgrToVSDKErrorMap.find(eventManagerCode);
    if (it == EventMgrToVSDKErrorMap.end()) return false;
    row = it->second;
    return true;
}

std::size_t errorMapSize() {
    ensureErrorMap();
    return EventMgrToVSDKErrorMap.size();
}

int errorMapFillCount() { return g_fillCount.load(); }

static void getLocaleErrorMsgFromVSDKErrorCodeUnguarded(std::string& out, unsigned long code,
                                                        unsigned long locale) {
    EvEvent event;
    char buffer[1024] = {0};
    ensureErrorMap();
    for (const auto& entry : EventMgrToVSDKErrorMap) {
        if (entry.second.first != code) continue;
        if (code == kPermissionDenied) event << "";
        event.evPrintf(static_cast<unsigned long>(entry.second.second), buffer, 1023, locale);
        break;
    }
    out = buffer;
}

static void frameErrorMsgUnguarded(std::string& text, unsigned long& code, int eventManagerCode) {
    std::pair<std::uint64_t, std::uint64_t> row;
    if (!lookUpEventManagerCode(eventManagerCode, row)) return;
    code = static_cast<unsigned long>(row.first);
    if (!text.empty()) return;
    EvEvent event;
    char buffer[1024] = {0};
    if (eventManagerCode == kPermissionDeniedEvent) event << "";
    event.evPrintf(static_cast<unsigned long>(row.second), buffer, 1023, 0);
    text = buffer;
}

void GetFormattedErrorString(std::string& out, const char* format, ...) {
    if (format == nullptr) {
        out.clear();
        return;
    }
    va_list args;
    va_start(args, format);
    vsdkguard::guardedVoid("GetFormattedErrorString", [&] {
        std::string working(format);
        for (std::size_t pos = working.find("%ls"); pos != std::string::npos;
             pos = working.find("%ls")) {
            working.erase(pos + 1, 1);
        }
        char buffer[1024] = {0};
        // Longer results are cut to 1023 characters.
        std::vsnprintf(buffer, sizeof(buffer), working.c_str(), args);
        out = buffer;
    });
    va_end(args);
}

// The exports: no exception leaves them.

void initializeErrorMap() {
    vsdkguard::guardedVoid("initializeErrorMap", [&] { initializeErrorMapUnguarded(); });
}

void getLocaleErrorMsgFromVSDKErrorCode(std::string& out, unsigned long code,
                                        unsigned long locale) {
    vsdkguard::guardedVoid("getLocaleErrorMsgFromVSDKErrorCode",
                           [&] { getLocaleErrorMsgFromVSDKErrorCodeUnguarded(out, code, locale); });
}

void frameErrorMsg(std::string& text, unsigned long& code, int eventManagerCode) {
    vsdkguard::guardedVoid("frameErrorMsg",
                           [&] { frameErrorMsgUnguarded(text, code, eventManagerCode); });
}
