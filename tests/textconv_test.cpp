// The caller's time value, its copy into request time objects, and the text
// conversions.
#include "VSDK/Common.h"
#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPIGlobalData/TextConversion.h"

#include <gtest/gtest.h>

#include <climits>
#include <locale>
#include <string>
#include <utility>

namespace {

TEST(QTimeDump, DefaultAndFilledRecords) {
    EXPECT_EQ("\nUnix time:[0]\nStart time:[]\nTime Zone:[]\nOffSet:[0]\nDs Flags:[0]",
              _QTime().c_str());
    _QTime t;
    t.unixTime = -1;
    t.startTime = "2024-01-02 03:04:05";
    t.timeZone = "(UTC+01:00) Paris";
    t.offset = -3600;
    t.dsFlags = INT_MAX;
    EXPECT_EQ("\nUnix time:[-1]\nStart time:[2024-01-02 03:04:05]\nTime Zone:[(UTC+01:00) Paris]"
              "\nOffSet:[-3600]\nDs Flags:[2147483647]",
              t.c_str());
}

template <class T>
void expectDefaultCopySetsAllFive() {
    T time;
    QTimeCopy<T>(time, _QTime());
    SCOPED_TRACE(T::kTag);
    EXPECT_EQ(5u, time.fields().size());
    for (FieldId f : {msgf::kTimeUnix, msgf::kTimeStart, msgf::kTimeZone, msgf::kTimeOffset,
                      msgf::kTimeDsFlags}) {
        EXPECT_TRUE(msgf::has(time, f)) << f.number;
    }
    for (const auto& kv : time.fields()) EXPECT_EQ(T::kTag, kv.second.ownerTag);
}

TEST(QTimeCopy, DefaultValueSetsAllFiveFieldsInEveryFamily) {
    expectDefaultCopySetsAllFive<OrvaneOperations::QTime>();
    expectDefaultCopySetsAllFive<OrvaneUtilities::QTime>();
    expectDefaultCopySetsAllFive<MediaManager::QTime>();
}

TEST(QTimeCopy, NegativeNumbersKeepTheirSign) {
    _QTime t;
    t.unixTime = -1;
    t.offset = INT_MIN;
    t.startTime = std::string("s\0t", 3);
    OrvaneOperations::QTime time;
    QTimeCopy<OrvaneOperations::QTime>(time, t);
    EXPECT_EQ(-1, msgf::getInt(time, msgf::kTimeUnix)) << "not 4294967295";
    EXPECT_EQ(INT_MIN, msgf::getInt(time, msgf::kTimeOffset));
    EXPECT_EQ(std::string("s\0t", 3), msgf::getText(time, msgf::kTimeStart));
}

// A global locale that groups digits must not reach the conversions.
struct Grouping : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(NumberToText, PlainDecimalWhateverTheGlobalLocale) {
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new Grouping));
    const std::pair<std::string, const char*> cases[] = {
        {numberToqwString(-42), "-42"},
        {numberToqwString(INT_MIN), "-2147483648"},
        {numberToqwString(1234567), "1234567"},
        {numberToqwString(5000000000LL), "5000000000"},
        {numberToqwString(LLONG_MIN), "-9223372036854775808"},
    };
    _QTime t;
    t.unixTime = 1700000000;
    const std::string dump = t.c_str();
    std::locale::global(previous);
    for (const auto& c : cases) EXPECT_EQ(c.second, c.first);
    EXPECT_NE(std::string::npos, dump.find("Unix time:[1700000000]")) << dump;
}

TEST(TextConversion, PlainCopiesKeepZeroBytesAndTakeTheirArgumentsInOrder) {
    const std::string source("a\0b\xff", 4);
    std::string out = "previous";
    qConvertStr2qwstr(out, source);  // destination first
    EXPECT_EQ(source, out);
    OrvaneOperations::QSessionInfoMsg session;
    qConvertqwStr2Str(source, session.getstringByRef(4, 7, session.getTagID(), 0x309689));
    EXPECT_EQ(source, msgf::getText(session, msgf::kSessionGuid));
}

}  // namespace
