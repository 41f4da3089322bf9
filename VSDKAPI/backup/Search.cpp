// VSDKSearch: a browse of backed-up data, printed as one line per found item.
#include "Restore.h"

#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/ExportGuard.h"

#include <cstring>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

using namespace OrvaneOperations;

namespace {

constexpr long kStatusFound = -48;
constexpr long kStatusServerError = -1;

constexpr std::size_t kLineBuffer = 2048;
constexpr std::size_t kTimeBuffer = 52;

// Type word of an item, then its appended words in a fixed order.
std::string typeWord(long long flags) {
    std::string word;
    if (flags & 0x1) {
        word = "Folder";
    } else if (flags & 0x10) {
        word = "SymLink";
    } else if (flags & 0x400) {
        word = "Stub";
    } else {
        word = "File";
    }
    static const struct {
        long long bit;
        const char* text;
    } kAppended[] = {
        {0x2, ",Deleted"},
        {0x8, ",Unknown"},
        {0x20, ",Not backed up"},
        {0x40, ",Mount Point or exchange attachment"},
        {0x200, ",Hidden"},
    };
    for (const auto& a : kAppended) {
        if (flags & a.bit) word += a.text;
    }
    return word;
}

}  // namespace

bool _ctimeUW(char* buffer, long length, long time) {
    if (!buffer || length <= 0) return false;
    buffer[0] = '\0';
    // ctime_r writes at most 26 bytes; it fails for years it cannot print.
    char text[64] = {};
    const std::time_t t = static_cast<std::time_t>(time);
    if (!ctime_r(&t, text)) return false;
    std::size_t n = strnlen(text, sizeof text - 1);
    if (n > 0 && text[n - 1] == '\n') text[--n] = '\0';
    if (n >= static_cast<unsigned long>(length)) return false;
    std::memcpy(buffer, text, n + 1);
    return true;
}

void _print(FILE* stream, const char* text) {
    if (!text) return;
    std::fputs(text, stream ? stream : stdout);
}

static long printSearchResultsUnguarded(QRestoreRespMsg& reply, FILE* stream) {
    const CNMessageBase* browse =
        msgf::findChild(reply, kRestoreRespBrowse, QBrowseResultMsg::kTag);
    const std::vector<CNMessageBase>* items = browse ? msgf::findList(*browse, kBrowseItems) : nullptr;
    if (!items) return 0;

    long number = 0;
    for (const CNMessageBase& item : *items) {
        if (item.getTagID() != QRestoreItemMsg::kTag) continue;  // not an item: nothing to print
        ++number;
        const long long flags = msgf::getInt(item, kItemFlags);
        const long long time = msgf::getInt(item, kItemTime);
        const unsigned long long size = static_cast<unsigned long long>(msgf::getInt(item, kItemSize));
        const std::string path = msgf::getText(item, kItemPath);
        const std::string second = msgf::getText(item, kItemSecondText);
        const std::string type = typeWord(flags);

        char timeText[kTimeBuffer];
        if (!_ctimeUW(timeText, sizeof timeText, static_cast<long>(time))) {
            std::snprintf(timeText, sizeof timeText, "%s", "Unknown timestamp");
        }

        // The time column shows the full 64-bit time. A line too long for the
        // buffer is formatted again in one large enough, so that it is
        // printed whole with its line end.
        static const char kFormat[] = " %4ld:\t%s\t%11lld\t%s\t%llu\t%s\t%s\n";
        char line[kLineBuffer];
        const int length = std::snprintf(line, sizeof line, kFormat, number, timeText, time,
                                         type.c_str(), size, path.c_str(), second.c_str());
        if (length < 0) continue;
        if (static_cast<std::size_t>(length) < sizeof line) {
            _print(stream, line);
            continue;
        }
        std::vector<char> whole(static_cast<std::size_t>(length) + 1);
        std::snprintf(whole.data(), whole.size(), kFormat, number, timeText, time, type.c_str(),
                      size, path.c_str(), second.c_str());
        _print(stream, whole.data());
    }
    return 0;
}

static unsigned long VSDKSearchUnguarded(const _QRestoreParameters* params, long* status,
                                         FILE* stream) {
    QRestoreReqMsg request;
    VSDKAPIGlobalData* state = nullptr;
    if (const unsigned long rc = openOperation(state, nullptr, params, status)) return rc;
    QEvDebug& log = state->getEvDebug();
    logParameters(*state, nullptr, "Parameters of the Find:%s", *params);

    fillRestoreFields(*state, *params, request, RestoreFields::Full);

    const OperationSpec spec{nullptr, "Find"};
    return runOperation(
        *state, spec, request,
        [&](CNMessageBase& reply) {
            *status = kStatusFound;
            log.debugLvl(1, "Find done successfully.");
            QRestoreRespMsg typed;
            static_cast<CNMessageBase&>(typed) = std::move(reply);
            printSearchResults(typed, stream);
        },
        [&](unsigned long) { *status = kStatusServerError; });
}

// The exports: no exception leaves them.

long printSearchResults(QRestoreRespMsg& reply, FILE* stream) {
    return vsdkguard::guarded("printSearchResults", 0L,
                              [&]() -> long { return printSearchResultsUnguarded(reply, stream); });
}

unsigned long VSDKSearch(const _QRestoreParameters* params, long* status, FILE* stream) {
    return vsdkguard::guarded("VSDKSearch",
                              [&] { return VSDKSearchUnguarded(params, status, stream); });
}
