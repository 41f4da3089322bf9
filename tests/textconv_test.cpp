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
#include <memory>
#include <string>
#include <utility>

namespace {

TEST(QTimeDump, DefaultRecordDumpsZerosAndEmptyTexts) {
    const _QTime t;
    EXPECT_EQ("\nUnix time:[0]\nStart time:[]\nTime Zone:[]\nOffSet:[0]\nDs Flags:[0]", t.c_str());
}

TEST(QTimeDump, ValuesInPlainDecimalAndTextsUnchanged) {
    _QTime t;
    t.unixTime = -1;
    t.startTime = "2024-01-02 03:04:05";
    t.timeZone = "(UTC+01:00) Paris";
    t.offset = -3600;
    t.dsFlags = 2147483647;
    EXPECT_EQ(
        "\nUnix time:[-1]\nStart time:[2024-01-02 03:04:05]\nTime Zone:[(UTC+01:00) Paris]"
        "\nOffSet:[-3600]\nDs Flags:[2147483647]",
        t.c_str());
}

TEST(QTimeRecord, CopyAndMoveKeepEveryField) {
    _QTime t;
    t.unixTime = 5;
    t.startTime = "start";
    t.timeZone = "zone";
    t.offset = 6;
    t.dsFlags = 7;
    const _QTime copy(t);
    EXPECT_EQ(t.c_str(), copy.c_str());
    _QTime moved(std::move(t));
    EXPECT_EQ(copy.c_str(), moved.c_str());
}

// The five fields of a time object, as read back.
struct TimeFields {
    long long unixTime, offset, dsFlags;
    std::string start, zone;
};

TimeFields readTime(const CNMessageBase& m) {
    return {msgf::getInt(m, msgf::kTimeUnix), msgf::getInt(m, msgf::kTimeOffset),
            msgf::getInt(m, msgf::kTimeDsFlags), msgf::getText(m, msgf::kTimeStart),
            msgf::getText(m, msgf::kTimeZone)};
}

template <class T>
void expectDefaultCopySetsAllFive() {
    T time;
    QTimeCopy<T>(time, _QTime());
    const unsigned long tag = time.getTagID();
    EXPECT_EQ(T::kTag, tag);
    for (short n = 1; n <= 5; ++n) EXPECT_TRUE(time.isSet(n, tag, 0)) << "field " << n;
    EXPECT_EQ(5u, time.fields().size());
    const TimeFields f = readTime(time);
    EXPECT_EQ(0, f.unixTime);
    EXPECT_EQ(0, f.offset);
    EXPECT_EQ(0, f.dsFlags);
    EXPECT_EQ("", f.start);
    EXPECT_EQ("", f.zone);
    for (const auto& kv : time.fields()) EXPECT_EQ(T::kTag, kv.second.ownerTag);
}

TEST(QTimeCopy, DefaultValueSetsAllFiveFieldsInEveryFamily) {
    expectDefaultCopySetsAllFive<OrvaneOperations::QTime>();
    expectDefaultCopySetsAllFive<OrvaneUtilities::QTime>();
    expectDefaultCopySetsAllFive<MediaManager::QTime>();
}

TEST(QTimeCopy, NegativeNumbersKeepTheirSignThroughXml) {
    _QTime t;
    t.unixTime = -1;
    t.offset = INT_MIN;
    t.dsFlags = -7;
    t.startTime = std::string("s\0t", 3);
    t.timeZone = "zone";
    OrvaneOperations::QExecuteReqMsg request;
    CNMessageBase& time = msgf::child<OrvaneOperations::QTime>(request, msgf::kReplyError);
    QTimeCopy<OrvaneOperations::QTime>(time, t);

    std::string xml;
    ASSERT_EQ(0, request.serialize(xml, false));
    CNMessageBase* raw = nullptr;
    std::string error;
    ASSERT_EQ(0, CNMessageBase::ConstructAny(xml.data(), xml.size(), raw, error)) << error;
    std::unique_ptr<CNMessageBase> back(raw);
    const CNMessageBase* backTime =
        msgf::findChild(*back, msgf::kReplyError, OrvaneOperations::QTime::kTag);
    ASSERT_NE(nullptr, backTime);
    const TimeFields f = readTime(*backTime);
    EXPECT_EQ(-1, f.unixTime) << "not 4294967295";
    EXPECT_EQ(static_cast<long long>(INT_MIN), f.offset);
    EXPECT_EQ(-7, f.dsFlags);
    EXPECT_EQ(std::string("s\0t", 3), f.start);
    EXPECT_EQ("zone", f.zone);
}

TEST(QTimeCopy, OverwritesEarlierValues) {
    OrvaneUtilities::QTime time;
    _QTime first;
    first.unixTime = 10;
    first.timeZone = "first";
    QTimeCopy<OrvaneUtilities::QTime>(time, first);
    QTimeCopy<OrvaneUtilities::QTime>(time, _QTime());
    EXPECT_EQ(0, msgf::getInt(time, msgf::kTimeUnix));
    EXPECT_EQ("", msgf::getText(time, msgf::kTimeZone));
}

TEST(NumberToText, DecimalWithSign) {
    struct Case {
        long long value;
        const char* text;
    };
    for (const Case c : {Case{0, "0"}, Case{-42, "-42"}, Case{42, "42"},
                         Case{5000000000LL, "5000000000"}, Case{LLONG_MIN, "-9223372036854775808"},
                         Case{LLONG_MAX, "9223372036854775807"}}) {
        EXPECT_EQ(c.text, numberToqwString(c.value)) << c.text;
    }
    EXPECT_EQ("-42", numberToqwString(-42));
    EXPECT_EQ("-2147483648", numberToqwString(INT_MIN));
    EXPECT_EQ("2147483647", numberToqwString(INT_MAX));
}

// A global locale that groups digits must not reach the conversions.
struct Grouping : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(NumberToText, NoDigitGroupingWhateverTheGlobalLocale) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new Grouping));
    const std::string asInt = numberToqwString(1234567);
    const std::string asLong = numberToqwString(1234567890123LL);
    _QTime t;
    t.unixTime = 1700000000;
    const std::string dump = t.c_str();
    std::locale::global(previous);
    EXPECT_EQ("1234567", asInt);
    EXPECT_EQ("1234567890123", asLong);
    EXPECT_NE(std::string::npos, dump.find("Unix time:[1700000000]")) << dump;
}

TEST(TextConversion, PlainCopiesKeepZeroBytesAndTakeTheirArgumentsInOrder) {
    const std::string source("a\0b\xff", 4);
    std::string out = "previous";
    qConvertStr2qwstr(out, source);  // destination first
    EXPECT_EQ(source, out);
    EXPECT_EQ(4u, out.size());

    std::string out2 = "previous";
    qConvertqwStr2Str(source, out2);  // source first
    EXPECT_EQ(source, out2);

    std::string empty = "x";
    qConvertqwStr2Str(std::string(), empty);
    EXPECT_EQ("", empty);
}

TEST(TextConversion, IntoAMessageFieldByReference) {
    OrvaneOperations::QSessionInfoMsg session;
    const std::string guid("g\0uid", 5);
    qConvertqwStr2Str(guid, session.getstringByRef(4, 7, session.getTagID(), 0x309689));
    EXPECT_EQ(guid, msgf::getText(session, msgf::kSessionGuid));
}

}  // namespace
