// VSDKSearch against the simulated server, and the printed report of a
// browse: its status values, its lines, and the helpers that format them.
#include "VSDK.h"
#include "VSDKAPI/backup/Restore.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace OrvaneOperations;

struct Item {
    long long flags;
    long long time;
    long long size;
    std::string path;
    std::string second;
};

CNMessageBase itemMessage(const Item& i) {
    QRestoreItemMsg m;
    msgf::putInt(m, kItemFlags, i.flags);
    msgf::putInt(m, kItemTime, i.time);
    msgf::putInt(m, kItemSize, i.size);
    msgf::putText(m, kItemPath, i.path);
    msgf::putText(m, kItemSecondText, i.second);
    return m;
}

void putItems(CNMessageBase& reply, const std::vector<Item>& items) {
    CNMessageBase& browse = msgf::child<QBrowseResultMsg>(reply, kRestoreRespBrowse);
    browse.getlistobject(kBrowseItems.number, kBrowseItems.slot, browse.getTagID(),
                         kBrowseItems.hash, true);
    for (const Item& i : items) msgf::appendObject(browse, kBrowseItems, itemMessage(i));
}

std::string ctimeText(long long t) {
    char buffer[64] = {};
    const std::time_t value = static_cast<std::time_t>(t);
    if (!ctime_r(&value, buffer)) return "Unknown timestamp";
    std::string s(buffer);
    if (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
}

// Reads what was written to a temporary stream.
std::string contents(FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            out.push_back(text.substr(start));  // a line without its line end
            break;
        }
        out.push_back(text.substr(start, end - start + 1));
        start = end + 1;
    }
    return out;
}

struct TempStream {
    FILE* f = std::tmpfile();
    ~TempStream() {
        if (f) std::fclose(f);
    }
};

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(env.server().ok());
        ASSERT_EQ(0u, env.initThread());
        ASSERT_NE(nullptr, stream.f);
    }
    void TearDown() override { VSDKDeInitialize(); }

    void replyItems(const std::vector<Item>& items) {
        env.server().replyWith(QRestoreReqMsg::kTag, QRestoreRespMsg::kTag,
                               [items](const CNMessageBase&, CNMessageBase& reply) {
                                   putItems(reply, items);
                               });
    }

    std::string search(unsigned long expectedCode = 0) {
        status = 7;
        EXPECT_EQ(expectedCode, VSDKSearch(&params, &status, stream.f));
        return contents(stream.f);
    }

    vsdktest::TestEnv env;
    _QRestoreParameters params;
    long status = 7;
    TempStream stream;
};

TEST_F(SearchTest, FoundItemsPrintOneLineEachWithStatus48) {
    replyItems({{0x1, 1000000000, 4096, "/data/dir", "v1"},
                {0, 1000000001, 12, "/data/dir/file.txt", "v2"}});
    const std::size_t mark = env.logMark();
    const std::string out = search();
    EXPECT_EQ(-48, status);
    EXPECT_EQ("    1:\t" + ctimeText(1000000000) + "\t 1000000000\tFolder\t4096\t/data/dir\tv1\n" +
                  "    2:\t" + ctimeText(1000000001) +
                  "\t 1000000001\tFile\t12\t/data/dir/file.txt\tv2\n",
              out);
    EXPECT_TRUE(env.logContains("Find done successfully.", mark));
}

TEST_F(SearchTest, EmptyResultPrintsNothing) {
    replyItems({});
    const std::size_t mark = env.logMark();
    EXPECT_EQ("", search());
    EXPECT_EQ(-48, status);
    EXPECT_TRUE(env.logContains("Find done successfully.", mark));
}

TEST_F(SearchTest, ReplyWithoutBrowseResultPrintsNothing) {
    EXPECT_EQ("", search());
    EXPECT_EQ(-48, status);
}

TEST_F(SearchTest, ServerErrorSetsStatusMinusOneAndPrintsNothing) {
    env.server().serverError(QRestoreReqMsg::kTag, 0x50d, "browse refused");
    const std::size_t mark = env.logMark();
    EXPECT_EQ("", search(0x50d));
    EXPECT_EQ(-1, status);
    EXPECT_STREQ("browse refused", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("Find failed with Error code [0x50d] Error string [browse refused]", mark));
}

TEST_F(SearchTest, ExchangeFailureLeavesStatusAlone) {
    env.server().script(simserver::kAnyRequest, simserver::Action::noReplyClose());
    status = 7;
    EXPECT_NE(0u, VSDKSearch(&params, &status, stream.f));
    EXPECT_EQ(7, status);
    EXPECT_EQ("", contents(stream.f));
}

TEST_F(SearchTest, RequestIsTheRestoreRequestWithoutCallerIdentity) {
    std::strcpy(params.sourceClientName, "browsed-client");
    params.options = 0x1;
    search();
    auto sent = env.server().requestsOfType(QRestoreReqMsg::kTag);
    ASSERT_EQ(1u, sent.size());
    ASSERT_NE(nullptr, sent[0].message);
    EXPECT_EQ("browsed-client", msgf::getText(*sent[0].message, kRestoreSourceClientName));
    EXPECT_EQ(1, msgf::getInt(*sent[0].message, kRestoreOptions));
    EXPECT_FALSE(msgf::has(*sent[0].message, kRestoreCallerIdentity));
}

TEST_F(SearchTest, NullArgumentsAreRefusedWithoutTraffic) {
    EXPECT_EQ(0x303u, VSDKSearch(nullptr, &status, stream.f));
    EXPECT_EQ(0x303u, VSDKSearch(&params, nullptr, stream.f));
    EXPECT_EQ(0u, env.server().requestCount());
}

TEST_F(SearchTest, NullStreamPrintsToStandardOutput) {
    replyItems({{0, 5, 1, "/to/stdout", "x"}});
    status = 7;
    testing::internal::CaptureStdout();
    const unsigned long rc = VSDKSearch(&params, &status, nullptr);
    std::fflush(stdout);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(0u, rc);
    EXPECT_EQ(-48, status);
    EXPECT_EQ("    1:\t" + ctimeText(5) + "\t          5\tFile\t1\t/to/stdout\tx\n", out);
}

TEST_F(SearchTest, TimesAfter2038PrintAsThoseTimes) {
    const long long y2038 = 2147483648LL;      // one second past the 32-bit range
    const long long pow32 = 4294967296LL;      // 2106
    replyItems({{0, y2038, 0, "/a", ""}, {0, pow32, 0, "/b", ""}});
    const std::vector<std::string> out = lines(search());
    ASSERT_EQ(2u, out.size());
    EXPECT_EQ("    1:\t" + ctimeText(y2038) + "\t 2147483648\tFile\t0\t/a\t\n", out[0]);
    EXPECT_EQ("    2:\t" + ctimeText(pow32) + "\t 4294967296\tFile\t0\t/b\t\n", out[1]);
    EXPECT_NE(std::string::npos, out[0].find("2038"));
    EXPECT_NE(std::string::npos, out[1].find("2106"));
}

TEST_F(SearchTest, OverLongPathIsPrintedWholeWithItsLineEnd) {
    const std::string longPath = "/" + std::string(3000, 'p');
    replyItems({{0, 10, 1, longPath, "after"}, {0x1, 11, 2, "/next", "n"}});
    const std::vector<std::string> out = lines(search());
    ASSERT_EQ(2u, out.size());
    EXPECT_EQ("    1:\t" + ctimeText(10) + "\t         10\tFile\t1\t" + longPath + "\tafter\n", out[0]);
    EXPECT_EQ("    2:\t" + ctimeText(11) + "\t         11\tFolder\t2\t/next\tn\n", out[1]);
}

TEST_F(SearchTest, LineNumbersAreRightAlignedInFourPlaces) {
    std::vector<Item> items;
    for (int i = 0; i < 10; ++i) items.push_back({0, 0, 0, "/f" + std::to_string(i), ""});
    replyItems(items);
    const std::vector<std::string> out = lines(search());
    ASSERT_EQ(10u, out.size());
    EXPECT_EQ(0u, out[0].find("    1:\t"));
    EXPECT_EQ(0u, out[9].find("   10:\t"));
}

TEST_F(SearchTest, SizeIsPrintedUnsigned) {
    replyItems({{0, 0, -1, "/huge", ""}});
    const std::string out = search();
    EXPECT_NE(std::string::npos, out.find("\tFile\t18446744073709551615\t/huge\t\n"));
}

TEST_F(SearchTest, ItemsOfAnotherTypeAreNotPrinted) {
    env.server().replyWith(QRestoreReqMsg::kTag, QRestoreRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) {
                               CNMessageBase& browse =
                                   msgf::child<QBrowseResultMsg>(reply, kRestoreRespBrowse);
                               OrvaneOperations::QTime notAnItem;
                               msgf::putInt(notAnItem, msgf::kTimeUnix, 5);
                               msgf::appendObject(browse, kBrowseItems, notAnItem);
                               msgf::appendObject(browse, kBrowseItems,
                                                  itemMessage({0, 0, 3, "/real", "r"}));
                           });
    const std::vector<std::string> out = lines(search());
    ASSERT_EQ(1u, out.size());
    EXPECT_EQ(0u, out[0].find("    1:\t"));
    EXPECT_NE(std::string::npos, out[0].find("/real"));
}

TEST_F(SearchTest, ThreadWithoutStateGetsNotInitialized) {
    unsigned long rc = 0;
    long otherStatus = 7;
    std::thread other([&] { rc = VSDKSearch(&params, &otherStatus, stream.f); });
    other.join();
    EXPECT_EQ(0x280u, rc);
    EXPECT_EQ(7, otherStatus);
    EXPECT_EQ(0u, env.server().requestCount());
}

// ---- The report's formatting, through printSearchResults directly ----

std::string printed(const std::vector<Item>& items) {
    QRestoreRespMsg reply;
    putItems(reply, items);
    TempStream s;
    EXPECT_EQ(0, printSearchResults(reply, s.f));
    return contents(s.f);
}

struct TypeCase {
    long long flags;
    const char* words;
};

const TypeCase kTypeWords[] = {
    {0x0, "File"},
    {0x1, "Folder"},
    {0x1 | 0x10, "Folder"},
    {0x1 | 0x400, "Folder"},
    {0x10, "SymLink"},
    {0x10 | 0x400, "SymLink"},
    {0x400, "Stub"},
    {0x2, "File,Deleted"},
    {0x2 | 0x200, "File,Deleted,Hidden"},
    {0x200 | 0x40 | 0x20 | 0x8 | 0x2,
     "File,Deleted,Unknown,Not backed up,Mount Point or exchange attachment,Hidden"},
    {0x1 | 0x8, "Folder,Unknown"},
    {0x400 | 0x20, "Stub,Not backed up"},
    {0x4 | 0x80 | 0x100, "File"},
};

TEST(SearchReportTest, TypeWordAndSuffixesFollowTheFlags) {
    for (const TypeCase& c : kTypeWords) {
        SCOPED_TRACE(c.words);
        const std::string out = printed({{c.flags, 0, 0, "/p", "s"}});
        EXPECT_NE(std::string::npos, out.find(std::string("\t") + c.words + "\t0\t/p\ts\n")) << out;
    }
}

TEST(SearchReportTest, UnconvertibleTimeIsUnknownTimestamp) {
    const std::string out = printed({{0, LLONG_MAX, 0, "/p", ""}});
    EXPECT_EQ("    1:\tUnknown timestamp\t" + std::to_string(LLONG_MAX) + "\tFile\t0\t/p\t\n", out);
}

TEST(SearchReportTest, NumericTimeColumnIsElevenWide) {
    const std::string out = printed({{0, 42, 0, "/p", ""}, {0, -5, 0, "/q", ""}});
    EXPECT_NE(std::string::npos, out.find("\t         42\tFile"));
    EXPECT_NE(std::string::npos, out.find("\t         -5\tFile"));
}

TEST(CtimeTest, WritesTheTimeWithoutLineEnd) {
    char buffer[52];
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_TRUE(_ctimeUW(buffer, sizeof buffer, 86400));
    EXPECT_EQ(ctimeText(86400), buffer);
    EXPECT_EQ(nullptr, std::strchr(buffer, '\n'));
}

TEST(CtimeTest, HonoursTheGivenLength) {
    const std::string text = ctimeText(86400);  // 24 characters
    ASSERT_EQ(24u, text.size());
    char buffer[64];
    // Room for the text and its zero: written.
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_TRUE(_ctimeUW(buffer, 25, 86400));
    EXPECT_EQ(text, buffer);
    EXPECT_EQ('x', buffer[25]);
    // One byte short: nothing beyond the length is touched.
    for (long length : {24L, 10L, 1L}) {
        SCOPED_TRACE(length);
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_FALSE(_ctimeUW(buffer, length, 86400));
        EXPECT_EQ('\0', buffer[0]);
        for (long i = length; i < static_cast<long>(sizeof buffer); ++i) ASSERT_EQ('x', buffer[i]);
    }
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(_ctimeUW(buffer, 0, 86400));
    EXPECT_EQ('x', buffer[0]);
    EXPECT_FALSE(_ctimeUW(nullptr, 52, 86400));
}

TEST(CtimeTest, FailsForTimesItCannotConvert) {
    char buffer[52];
    EXPECT_FALSE(_ctimeUW(buffer, sizeof buffer, LONG_MAX));
}

TEST(PrintTest, WritesTextAsItIsAndNothingForNull) {
    TempStream s;
    _print(s.f, "no line end");
    _print(s.f, nullptr);
    _print(s.f, " %s\n");
    EXPECT_EQ("no line end %s\n", contents(s.f));

    testing::internal::CaptureStdout();
    _print(nullptr, "to stdout");
    _print(nullptr, nullptr);
    std::fflush(stdout);
    EXPECT_EQ("to stdout", testing::internal::GetCapturedStdout());
}

}  // namespace
