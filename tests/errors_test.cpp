// Fixed error texts, the error-text exports, the event-manager map and formatting.
#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "platform/CRkNetwork.h"
#include "platform/EvEvent.h"
#include "platform/RkNetworkPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <tuple>

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

}  // namespace
