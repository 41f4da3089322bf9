// Fixed error texts, the error-text exports, the event-manager map and formatting.
#include "VSDK.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKErrors/VSDKErrors.h"
#include "platform/EvEvent.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kDefaultText = "Unknown Error Code.Please check logs for more details.";

std::string catalogue(unsigned long id) {
    const char* text = EvEvent::catalogueText(id);
    return text ? text : "";
}

// Gives the calling thread a record for the test's life.
class ScopedThreadState {
public:
    explicit ScopedThreadState(const std::string& lastError = std::string()) {
        g_dataMap.insert(VSDKAPIGlobalData());
        setErrorString(lastError);
    }
    ~ScopedThreadState() { g_dataMap.erase(); }
};

TEST(GetErrorStringTest, SharedAndDefaultTexts) {
    EXPECT_STREQ("Connection to the Mardock terminated, Relogin required", GetErrorString(0xa));
    EXPECT_STREQ(GetErrorString(0xa), GetErrorString(0x10a));
    EXPECT_STREQ("User not logged in", GetErrorString(0x10b));
    EXPECT_STREQ(GetErrorString(0x10b), GetErrorString(0x209));
    EXPECT_STREQ("Successful", GetErrorString(0));
    EXPECT_STREQ("Mardock name not specified", GetErrorString(vsdkerr::kNoMardockName));
    EXPECT_STREQ("Failed.Instance name is empty.Provide new instance name in association.",
                 GetErrorString(0x916));
    for (unsigned long code : {static_cast<unsigned long>(-1), 0x917UL, 0x121UL, 0x501UL, 0x150UL, 0x151UL,
                               0x152UL, 0x153UL, 0x80000000UL, 0xFFFFFFFFUL}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(kDefaultText, GetErrorString(code));
    }
}

TEST(GetErrorStringTest, OnlyTheLow32BitsCount) {
    EXPECT_STREQ(GetErrorString(0x207), GetErrorString(0x100000207UL));
    EXPECT_EQ(kDefaultText, GetErrorString(0x100000000UL | 0x917UL));
}

TEST(GetErrorStringTest, TableHasEveryRowAndNoEmptyText) {
    int withText = 0;
    for (unsigned long code = 0; code <= 0x1000; ++code) {
        const char* text = GetErrorString(code);
        ASSERT_NE(nullptr, text);
        ASSERT_NE('\0', text[0]) << code;
        if (kDefaultText != text) ++withText;
    }
    EXPECT_EQ(207, withText);
}

TEST(GetErrorStringTest, EscapedCharactersAreReal) {
    EXPECT_EQ("User defined subclient cannot have / or \\ as content", std::string(GetErrorString(0x311)));
    EXPECT_NE(std::string::npos, std::string(GetErrorString(0x13d)).find("\"Via Pass-Phrase\""));
    const std::string saml = GetErrorString(0x806);
    EXPECT_NE(std::string::npos, saml.find("certificates now.\t\t\t\n3.Token was tampered "));
}

enum class Export { Get, Last, Locale };

struct TextCase {
    const char* name;
    bool threadState;
    std::string lastError;
    Export fn;
    unsigned long code;
    std::string expected;
    std::string lastErrorAfter;  // only checked with thread state
};

class ErrorTextExportTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ErrorTextExportTest, GivesTheRightText) {
    const TextCase& c = GetParam();
    std::unique_ptr<ScopedThreadState> state;
    if (c.threadState) state.reset(new ScopedThreadState(c.lastError));
    const unsigned long locale = 0;
    const char* text = nullptr;
    switch (c.fn) {
        case Export::Get:
            text = VSDKGetErrorString(&c.code);
            break;
        case Export::Last:
            text = VSDKGetLastErrorString();
            break;
        case Export::Locale:
            text = VSDKGetLocaleErrorString(&c.code, &locale);
            break;
    }
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(c.expected, text);
    if (c.threadState) {
        EXPECT_EQ(c.lastErrorAfter, VSDKGetLastErrorString());
    }
}

const std::string kNotInit = "VSDKAPI already deinitialized. Please check vcommand.log for more information.";
const std::string kInvalidResponse = "Invalid response received from VSDK Server";

INSTANTIATE_TEST_SUITE_P(
    Rules, ErrorTextExportTest,
    ::testing::Values(
        // VSDKGetErrorString without thread state: fixed texts only.
        TextCase{"NoStateServerCode", false, "", Export::Get, 0x10c, "Operation failed at Mardock", ""},
        TextCase{"NoStateLibraryCode", false, "", Export::Get, 0x207, kInvalidResponse, ""},
        TextCase{"NoStateUnknown", false, "", Export::Get, 0x917, kDefaultText, ""},
        TextCase{"NoStateWide", false, "", Export::Get, 0x100000207UL, kDefaultText, ""},
        // With thread state and no last error.
        TextCase{"Empty10c", true, "", Export::Get, 0x10c, "", ""},
        TextCase{"Empty116", true, "", Export::Get, 0x116, "", ""},
        TextCase{"Empty123", true, "", Export::Get, 0x123, "", ""},
        TextCase{"Empty13b", true, "", Export::Get, 0x13b, "", ""},
        TextCase{"Empty303", true, "", Export::Get, 0x303, "", ""},
        TextCase{"Empty505", true, "", Export::Get, 0x505, "", ""},
        TextCase{"Empty10cWide", true, "", Export::Get, 0x100000000UL | 0x10c, kDefaultText, ""},
        TextCase{"EmptyLibraryCode", true, "", Export::Get, 0x207, kInvalidResponse, ""},
        TextCase{"EmptySuccess", true, "", Export::Get, 0, "Successful", ""},
        TextCase{"EmptyNeighbour", true, "", Export::Get, 0x119, kDefaultText, ""},
        // With a last error: it wins for every code.
        TextCase{"TextSuccess", true, "server says no", Export::Get, 0, "server says no", "server says no"},
        TextCase{"TextLibraryCode", true, "server says no", Export::Get, 0x207, "server says no",
                 "server says no"},
        TextCase{"TextServerCode", true, "server says no", Export::Get, 0x10c, "server says no",
                 "server says no"},
        TextCase{"TextWide", true, "server says no", Export::Get, 0x100000000UL, "server says no",
                 "server says no"},
        // VSDKGetLastErrorString.
        TextCase{"LastNoState", false, "", Export::Last, 0, kNotInit, ""},
        TextCase{"LastEmpty", true, "", Export::Last, 0, "", ""},
        TextCase{"LastText", true, "server says no", Export::Last, 0, "server says no", "server says no"},
        // VSDKGetLocaleErrorString replaces the last error.
        TextCase{"LocaleNoState", false, "", Export::Locale, 0x150, kNotInit, ""},
        TextCase{"LocaleUnmapped", true, "server says no", Export::Locale, 0x207, "", ""},
        TextCase{"LocaleMapped", true, "server says no", Export::Locale, 0x150, catalogue(0x23000894),
                 catalogue(0x23000894)},
        TextCase{"LocaleLogin", true, "", Export::Locale, 0x103, catalogue(0x23000008), catalogue(0x23000008)},
        TextCase{"LocaleWithArgument", true, "", Export::Locale, 0x151,
                 "Login is not permitted for the user.", "Login is not permitted for the user."}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(ErrorTextExportTest, NullCodePointersAreRefused) {
    ScopedThreadState state("kept");
    const unsigned long code = 0x150;
    EXPECT_STREQ("Invalid Argument", VSDKGetErrorString(nullptr));
    EXPECT_STREQ("Invalid Argument", VSDKGetLocaleErrorString(nullptr, &code));
    EXPECT_STREQ("Invalid Argument", VSDKGetLocaleErrorString(&code, nullptr));
    EXPECT_STREQ("kept", VSDKGetLastErrorString());
}

TEST(ErrorMapTest, MapsEveryRowToItsCodeAndText) {
    struct Row {
        int event;
        unsigned long code;
        unsigned long messageId;
    };
    const Row rows[] = {{-11, 0x14a, 0x23000f3e}, {-10, 0x149, 0x2300124e}, {-4, 0x104, 0x23000f3d},
                        {0, 0x103, 0x23000008},    {-3, 0x105, 0x230001c6},  {-2, 0x115, 0x230001c5},
                        {-101, 0x152, 0x23000453}, {-104, 0x150, 0x23000894}, {-103, 0x153, 0x23000829},
                        {-5, 0x150, 0x23000894}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.event);
        std::string text;
        unsigned long code = 1;
        frameErrorMsg(text, code, r.event);
        EXPECT_EQ(r.code, code);
        EXPECT_EQ(catalogue(r.messageId), text);
        EXPECT_FALSE(text.empty());
        std::string localized = "old";
        getLocaleErrorMsgFromVSDKErrorCode(localized, r.code, 0);
        EXPECT_EQ(catalogue(r.messageId), localized);
    }
}

TEST(ErrorMapTest, FrameErrorMsgKeepsAGivenTextAndIgnoresUnknownCodes) {
    std::string text = "server text";
    unsigned long code = 7;
    frameErrorMsg(text, code, -4);
    EXPECT_EQ(0x104UL, code);
    EXPECT_EQ("server text", text);

    std::string untouched;
    unsigned long same = 0x55;
    frameErrorMsg(untouched, same, 7);
    EXPECT_EQ(0x55UL, same);
    EXPECT_TRUE(untouched.empty());

    std::string withArgument;
    frameErrorMsg(withArgument, same, -102);
    EXPECT_EQ(0x151UL, same);
    EXPECT_EQ("Login is not permitted for the user.", withArgument);
}

TEST(ErrorMapTest, UnmappedCodeGivesEmptyText) {
    std::string out = "old";
    getLocaleErrorMsgFromVSDKErrorCode(out, 0x207, 0);
    EXPECT_TRUE(out.empty());
}

TEST(FormattedErrorTest, WidePlaceholdersTakeNarrowTexts) {
    std::string out;
    GetFormattedErrorString(out, GetErrorString(0x30a), "args.txt", "-af");
    EXPECT_EQ("Failed to open arguments file, args.txt, check option [-af]", out);
    char format[] = "Invalid dedupstoreid [%d] specified.";
    GetFormattedErrorString(out, format, 17);
    EXPECT_EQ("Invalid dedupstoreid [17] specified.", out);
}

TEST(FormattedErrorTest, FormatWithoutPlaceholdersIsCopied) {
    std::string out = "old";
    GetFormattedErrorString(out, GetErrorString(0x207));
    EXPECT_EQ(kInvalidResponse, out);
    GetFormattedErrorString(out, nullptr);
    EXPECT_TRUE(out.empty());
}

TEST(FormattedErrorTest, LongResultsAreCutAt1023) {
    const std::string longArg(3000, 'x');
    std::string out;
    GetFormattedErrorString(out, "[%ls]", longArg.c_str());
    ASSERT_EQ(1023u, out.size());
    EXPECT_EQ('[', out[0]);
    EXPECT_EQ('x', out.back());
}

TEST(SetErrorStringTest, StoresOnlyWithThreadState) {
    EXPECT_FALSE(setErrorString("lost"));
    ScopedThreadState state;
    EXPECT_TRUE(setErrorString("stored"));
    EXPECT_STREQ("stored", VSDKGetLastErrorString());
    EXPECT_TRUE(setErrorString(""));
    EXPECT_STREQ("", VSDKGetLastErrorString());
}

}  // namespace
