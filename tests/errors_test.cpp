// Fixed error texts, the error-text exports, the event-manager map and formatting.
#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "platform/CRkNetwork.h"
#include "platform/EvEvent.h"
#include "platform/RkNetworkPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <new>
#include <set>
#include <string>
#include <tuple>
#include <vector>

// Allocations fail while this is set. The replaced operators pair malloc
// with free, which the compiler cannot see.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
static std::atomic<bool> g_failAllocations{false};

void* operator new(std::size_t size) {
    void* p = g_failAllocations ? nullptr : std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return g_failAllocations ? nullptr : std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& t) noexcept { return operator new(size, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

const std::string kDefault = "Unknown Error Code.Please check logs for more details.";
const std::string kNotInit = "VSDKAPI already deinitialized. Please check vcommand.log for more information.";
const std::string kAuthFailed = EvEvent::catalogueText(0x23000894);
const std::string kNotPermitted = "Login is not permitted for the user.";  // the empty argument filled in

// An unknown code's text; formatting: wide placeholders take narrow texts,
// long results are cut (fixed texts: the exports below).
TEST(GetErrorStringTest, UnknownCodesAndFormattedTexts) {
    EXPECT_EQ(kDefault, GetErrorString(0x917));
    EXPECT_EQ(kDefault, GetErrorString(static_cast<unsigned long>(-1)));
    std::string out;
    GetFormattedErrorString(out, GetErrorString(0x30a), "args.txt", "-af");
    EXPECT_EQ("Failed to open arguments file, args.txt, check option [-af]", out);
    GetFormattedErrorString(out, "[%ls]", std::string(3000, 'x').c_str());
    EXPECT_EQ("[" + std::string(1022, 'x'), out);
}

enum Export { kGet, kLast, kLocale };

TEST(ErrorTextExportTest, TheRulesOfTheThreeExports) {
    const std::string noState = "-";  // the case runs without a record
    // The thread's last error before, the export, the code, its text, the last error after.
    const std::tuple<std::string, Export, unsigned long, std::string, std::string> cases[] = {
        {noState, kGet, 0x10c, "Operation failed at Mardock", ""},
        {noState, kGet, 0x100000207UL, "Invalid response received from VSDK Server", ""},
        {"", kGet, 0x10c, "", ""},                                             // the server's text alone
        {"", kGet, 0x100000000UL | 0x10c, "Operation failed at Mardock", ""},  // low 32 bits
        {"", kGet, 0, "Successful", ""},
        {"server says no", kGet, 0x207, "server says no", "server says no"},
        {noState, kLast, 0, kNotInit, ""},
        {noState, kLocale, 0x150, kNotInit, ""},
        {"server says no", kLocale, 0x207, "", ""},
        {"server says no", kLocale, 0x150, kAuthFailed, kAuthFailed},
        {"", kLocale, 0x151, kNotPermitted, kNotPermitted},
    };
    for (const auto& [lastError, fn, code, expected, lastErrorAfter] : cases) {
        SCOPED_TRACE(std::to_string(fn) + " " + std::to_string(code) + " " + lastError);
        const bool withState = lastError != noState;
        if (withState) {
            g_dataMap.insert(VSDKAPIGlobalData());
            setErrorString(lastError);
        }
        const unsigned long locale = 0;
        EXPECT_EQ(expected, fn == kGet    ? VSDKGetErrorString(&code)
                            : fn == kLast ? VSDKGetLastErrorString()
                                          : VSDKGetLocaleErrorString(&code, &locale));
        EXPECT_EQ(withState ? lastErrorAfter : kNotInit, VSDKGetLastErrorString());
        g_dataMap.erase();
    }
    g_dataMap.insert(VSDKAPIGlobalData());
    const unsigned long code = 0x10c;
    EXPECT_STREQ("Invalid Argument", VSDKGetErrorString(nullptr));
    EXPECT_STREQ("Invalid Argument", VSDKGetLocaleErrorString(&code, nullptr));
    g_dataMap.erase();
}

TEST(ErrorMapTest, FrameErrorMsg) {
    // The event, the text before, the code and text after (the code before is 0x55).
    const std::tuple<int, std::string, unsigned long, std::string> cases[] = {
        {-4, "server text", 0x104, "server text"},  // a given text is kept
        {7, "", 0x55, ""},                          // no row: nothing changes
        {-102, "", 0x151, kNotPermitted},
        {-5, "", 0x150, kAuthFailed},
    };
    for (const auto& [event, before, codeAfter, textAfter] : cases) {
        std::string text = before;
        unsigned long code = 0x55;
        frameErrorMsg(text, code, event);
        EXPECT_EQ(codeAfter, code) << event;
        EXPECT_EQ(textAfter, text) << event;
    }
}

TEST(ExportBoundaryTest, OutOfMemoryIsAnInternalErrorNotAnException) {
    const std::string longText(200, 'x');
    std::string out = "kept", encrypted, filtered = "before";
    g_failAllocations = true;
    const auto startUp = VSDKInitialize_NOSTL("localhost", "Instance001", nullptr, nullptr, false, false, false);
    const auto encrypt = QEncryptPassword(longText, encrypted);
    filtered = filterPassword(longText);
    GetFormattedErrorString(out, "%s", longText.c_str());
    g_failAllocations = false;
    EXPECT_EQ(0x201u, startUp);
    EXPECT_EQ(nullptr, g_dataMap.current());  // the half-made record is gone
    EXPECT_EQ(0x201u, encrypt);
    EXPECT_EQ("", filtered);
    EXPECT_EQ("kept", out);

    // A record that cannot be copied into the thread map leaves the map's lock free.
    const VSDKAPIGlobalData record;
    g_failAllocations = true;
    EXPECT_THROW(g_dataMap.insert(record), std::bad_alloc);
    g_failAllocations = false;
    EXPECT_EQ(nullptr, g_dataMap.current());  // would wait for ever on a lock left taken

    // Borrows that run out of memory give their pool slots back: the next one
    // tries to connect instead of finding the pool full.
    RkNetworkPool pool;
    ASSERT_FALSE(pool.initNetworkPool("CMDLINE_SERVICE", "127.0.0.2", "c", 1, 0, 0, 1, 0).IsError());
    CRkNetwork* borrowed = nullptr;
    for (int i = 0; i < RkNetworkPool::kLendLimit; ++i) {
        g_failAllocations = true;
        EXPECT_THROW(pool.getSessionObject(borrowed), std::bad_alloc);
        g_failAllocations = false;
    }
    EXPECT_NE(kPvErrPoolExhausted, pool.getSessionObject(borrowed).GetErrorCode());
}

// The cells of a markdown table row, blanks around each cut: split at the
// pipes, "\|" standing for a pipe inside a cell (also inside a code span).
std::vector<std::string> tableCells(const std::string& row) {
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 1; i < row.size(); ++i) {  // past the leading pipe
        if (row[i] == '\\' && i + 1 < row.size() && row[i + 1] == '|') {
            cell += row[++i];
        } else if (row[i] != '|') {
            cell += row[i];
        } else {
            const std::size_t first = cell.find_first_not_of(' ');
            cells.push_back(first == std::string::npos
                                ? std::string()
                                : cell.substr(first, cell.find_last_not_of(' ') - first + 1));
            cell.clear();
        }
    }
    return cells;
}

// Each row of the README's return-code tables, "| 0x... | `fixed text` | when |
// what to do |", quotes its code's fixed text exactly, as one code span; and
// every code the library returns of its own has its row.
TEST(ReadmeTest, ReturnCodeTablesQuoteTheFixedTexts) {
    std::ifstream readme(VSDK_README_PATH);
    ASSERT_TRUE(readme.is_open()) << VSDK_README_PATH;
    std::set<unsigned long> documented;
    std::string line;
    while (std::getline(readme, line)) {
        if (line.rfind("| 0x", 0) != 0) continue;
        SCOPED_TRACE(line);
        const std::vector<std::string> cells = tableCells(line);
        ASSERT_EQ(4u, cells.size());
        std::size_t parsed = 0;
        const unsigned long code = std::stoul(cells[0], &parsed, 16);
        EXPECT_EQ(cells[0].size(), parsed);
        const std::string& text = cells[1];
        ASSERT_TRUE(text.size() >= 2 && text.front() == '`' && text.find('`', 1) == text.size() - 1);
        EXPECT_EQ(text.substr(1, text.size() - 2), GetErrorString(code));
        EXPECT_TRUE(documented.insert(code).second) << "a second row";
    }
    const unsigned long libraryCodes[] = {0x103, 0x10b, 0x10e, 0x126, 0x201, 0x202, 0x204,
                                          0x205, 0x206, 0x207, 0x208, 0x209, 0x20a, 0x20b,
                                          0x20d, 0x20e, 0x23f, 0x264, 0x270, 0x274, 0x275,
                                          0x280, 0x301, 0x303, 0x30b, 0x70c};
    for (const unsigned long code : libraryCodes) {
        EXPECT_EQ(1u, documented.count(code)) << "no row for 0x" << std::hex << code;
    }
}

}  // namespace
