// Fixed error texts, the error-text exports, the event-manager map and formatting.
#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "platform/EvEvent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

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

TEST(GetErrorStringTest, FixedTexts) {
    const std::pair<unsigned long, std::string> cases[] = {
        {0x100000209UL, "User not logged in"},  // only the low 32 bits count
        {0x311, "User defined subclient cannot have / or \\ as content"},
        {static_cast<unsigned long>(-1), kDefault}, {0x917, kDefault},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, GetErrorString(c.first)) << std::hex << c.first;
}

enum Export { kGet, kLast, kLocale };

TEST(ErrorTextExportTest, TheRulesOfTheThreeExports) {
    const std::string noState = "-";  // the case runs without a record
    const struct {
        std::string lastError;
        Export fn;
        unsigned long code;
        std::string expected, lastErrorAfter;
    } cases[] = {
        {noState, kGet, 0x10c, "Operation failed at Mardock", ""},
        {noState, kGet, 0x100000207UL, "Invalid response received from VSDK Server", ""},
        {"", kGet, 0x10c, "", ""},
        {"", kGet, 0x303, "", ""},
        {"", kGet, 0x100000000UL | 0x10c, "Operation failed at Mardock", ""},  // low 32 bits
        {"", kGet, 0x207, "Invalid response received from VSDK Server", ""},
        {"", kGet, 0, "Successful", ""},
        {"server says no", kGet, 0, "server says no", "server says no"},
        {"server says no", kGet, 0x207, "server says no", "server says no"},
        {noState, kLast, 0, kNotInit, ""},
        {"", kLast, 0, "", ""},
        {noState, kLocale, 0x150, kNotInit, ""},
        {"server says no", kLocale, 0x207, "", ""},
        {"server says no", kLocale, 0x150, kAuthFailed, kAuthFailed},
        {"", kLocale, 0x151, kNotPermitted, kNotPermitted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.fn) + " " + std::to_string(c.code) + " " + c.lastError);
        const bool withState = c.lastError != noState;
        if (withState) {
            g_dataMap.insert(VSDKAPIGlobalData());
            setErrorString(c.lastError);
        }
        const unsigned long locale = 0;
        EXPECT_EQ(c.expected, c.fn == kGet    ? VSDKGetErrorString(&c.code)
                              : c.fn == kLast ? VSDKGetLastErrorString()
                                              : VSDKGetLocaleErrorString(&c.code, &locale));
        EXPECT_EQ(withState ? c.lastErrorAfter : kNotInit, VSDKGetLastErrorString());
        g_dataMap.erase();
    }
    g_dataMap.insert(VSDKAPIGlobalData());
    EXPECT_STREQ("Invalid Argument", VSDKGetErrorString(nullptr));
    EXPECT_STREQ("Invalid Argument", VSDKGetLocaleErrorString(&cases[0].code, nullptr));
    g_dataMap.erase();
}

TEST(ErrorMapTest, FrameErrorMsg) {
    const struct {
        int event;
        std::string textBefore;
        unsigned long code;
        std::string text;
    } cases[] = {
        {-4, "server text", 0x104, "server text"},  // a given text is kept
        {7, "", 0x55, ""},                          // no row: nothing changes
        {-102, "", 0x151, kNotPermitted},
        {-5, "", 0x150, kAuthFailed},
    };
    for (const auto& c : cases) {
        std::string text = c.textBefore;
        unsigned long code = 0x55;
        frameErrorMsg(text, code, c.event);
        EXPECT_EQ(c.code, code) << c.event;
        EXPECT_EQ(c.text, text) << c.event;
    }
}

TEST(FormattedErrorTest, WidePlaceholdersTakeNarrowTextsAndLongResultsAreCut) {
    std::string out;
    GetFormattedErrorString(out, GetErrorString(0x30a), "args.txt", "-af");
    EXPECT_EQ("Failed to open arguments file, args.txt, check option [-af]", out);
    GetFormattedErrorString(out, GetErrorString(0x207));
    EXPECT_EQ("Invalid response received from VSDK Server", out);
    GetFormattedErrorString(out, "[%ls]", std::string(3000, 'x').c_str());
    EXPECT_EQ("[" + std::string(1022, 'x'), out);
}

TEST(ExportBoundaryTest, OutOfMemoryIsAnInternalErrorNotAnException) {
    const std::string longText(200, 'x');
    std::string out = "kept", encrypted;
    std::string filtered = "before";
    unsigned long startUp = 0, encrypt = 0;
    g_failAllocations = true;
    startUp = VSDKInitialize_NOSTL("localhost", "Instance001", nullptr, nullptr, false, false, false);
    encrypt = QEncryptPassword(longText, encrypted);
    filtered = filterPassword(longText);
    GetFormattedErrorString(out, "%s", longText.c_str());
    g_failAllocations = false;
    EXPECT_EQ(0x201u, startUp);
    EXPECT_EQ(nullptr, g_dataMap.current());  // the half-made record is gone
    EXPECT_EQ(0x201u, encrypt);
    EXPECT_EQ("", filtered);
    EXPECT_EQ("kept", out);
}

}  // namespace
