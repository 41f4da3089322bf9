// VSDKSearch, and the printed report of a browse with its formatting helpers.
#include "VSDK.h"
#include "VSDKAPI/backup/Restore.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "support/WireChecks.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

using namespace OrvaneOperations;
using vsdktest::Expect;

struct Item {
    long long flags, time, size;
    std::string path, second;
};

// A browse result listing items (the list present also when empty), and
// after them an element that is no item.
void putItems(CNMessageBase& reply, const std::vector<Item>& items, bool withNonItem = false) {
    CNMessageBase& browse = msgf::child<QBrowseResultMsg>(reply, kRestoreRespBrowse);
    browse.getlistobject(kBrowseItems.number, kBrowseItems.slot, browse.getTagID(),
                         kBrowseItems.hash, true);
    for (const Item& i : items) {
        const std::vector<Expect> fields{{kItemFlags, i.flags}, {kItemTime, i.time}, {kItemSize, i.size},
                                         {kItemPath, i.path}, {kItemSecondText, i.second}};
        msgf::appendObject(browse, kBrowseItems, vsdktest::messageWith<QRestoreItemMsg>(fields));
    }
    if (withNonItem) msgf::appendObject(browse, kBrowseItems, QTime());
}

std::string ctimeText(long long t) {
    char buffer[64] = {};
    const std::time_t value = static_cast<std::time_t>(t);
    return std::string(ctime_r(&value, buffer) ? buffer : "").substr(0, 24);  // without its line end
}

// What was written to a temporary stream.
struct TempStream {
    char* data = nullptr;
    std::size_t size = 0;
    FILE* f = open_memstream(&data, &size);
    ~TempStream() { std::fclose(f), std::free(data); }
    std::string text() { return std::fflush(f), std::string(data, size); }
};

std::string printed(const std::vector<Item>& items, bool withNonItem = false) {
    QRestoreRespMsg reply;
    putItems(reply, items, withNonItem);
    TempStream s;
    EXPECT_EQ(0, printSearchResults(reply, s.f));
    return s.text();
}

class SearchTest : public vsdktest::StartedTest {
protected:
    void replyItems(const std::vector<Item>& items, int times = -1) {
        env.server().replyWith(
            QRestoreReqMsg::kTag, QRestoreRespMsg::kTag,
            [items](const CNMessageBase&, CNMessageBase& r) { putItems(r, items); }, times);
    }
    std::string search(unsigned long expectedCode = 0) {
        EXPECT_EQ(expectedCode, VSDKSearch(&params, &status, stream.f));
        return stream.text();
    }

    _QRestoreParameters params;
    long status = 7;
    TempStream stream;
};

TEST_F(SearchTest, FoundItemsPrintOneLineEachWithStatus48) {
    EXPECT_EQ("", search());  // a reply without any browse result
    // The restore request of the record, without the caller identity.
    vsdktest::expectSent(env.server(), QRestoreReqMsg::kTag, {Expect::absent(kRestoreCallerIdentity)});
    replyItems({}, 1);
    EXPECT_EQ("", search());  // nor with an empty one
    EXPECT_EQ(-48, status);

    replyItems({{0x1, 1000000000, 4096, "/data/dir", "v1"}, {0, 1000000001, 12, "/data/f", "v2"}});
    const std::string lines =
        "    1:\t" + ctimeText(1000000000) + "\t 1000000000\tFolder\t4096\t/data/dir\tv1\n" +
        "    2:\t" + ctimeText(1000000001) + "\t 1000000001\tFile\t12\t/data/f\tv2\n";
    EXPECT_EQ(lines, search());
    // Without a stream they go to the standard output.
    testing::internal::CaptureStdout();
    EXPECT_EQ(0u, VSDKSearch(&params, &status, nullptr));
    std::fflush(stdout);
    EXPECT_EQ(lines, testing::internal::GetCapturedStdout());
}

// A server error sets the status to -1; null arguments and a failed exchange leave it alone.
TEST_F(SearchTest, FailuresAndNullArguments) {
    EXPECT_EQ(0x303u, VSDKSearch(nullptr, &status, stream.f));
    EXPECT_EQ(0x303u, VSDKSearch(&params, nullptr, stream.f));
    EXPECT_EQ(7, status);

    env.server().serverError(QRestoreReqMsg::kTag, 0x50d, "browse refused", 1);
    EXPECT_EQ("", search(0x50d));
    EXPECT_EQ(-1, status);
    EXPECT_STREQ("browse refused", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("- [0] Find failed with Error code [0x50d] Error string [browse refused]"));

    env.server().script(QRestoreReqMsg::kTag, simserver::Action::noReplyClose());
    status = 7;
    EXPECT_EQ("", search(0x205));
    EXPECT_EQ(7, status);
}

// ---- The report's lines, through printSearchResults ---------------------

// Numbers, times and sizes keep their widths; a time after 2038 prints as
// that time, an over-long path whole; an element that is no item is skipped.
// The type word and its suffixes follow the flags; other bits add nothing.
TEST(SearchReport, LinesKeepTheirWidthsAndNameTheFlags) {
    const long long pow32 = 4294967296LL;
    const std::string longPath = "/" + std::string(3000, 'p');
    std::vector<Item> items(10, Item{0, -5, -1, "/f", ""});
    items[0] = {0, pow32, 1, longPath, "after"};
    const std::string out = printed(items);
    EXPECT_EQ(0u, out.find("    1:\t" + ctimeText(pow32) + "\t 4294967296\tFile\t1\t" + longPath + "\t"));
    EXPECT_NE(std::string::npos, out.find("\n   10:\t"));
    EXPECT_NE(std::string::npos, out.find("\t         -5\tFile\t18446744073709551615\t/f\t\n"));
    EXPECT_EQ("    1:\tUnknown timestamp\t" + std::to_string(LLONG_MAX) + "\tFile\t0\t/p\t\n",
              printed({{0, LLONG_MAX, 0, "/p", ""}}, true));

    const std::pair<long long, const char*> cases[] = {
        {0x0, "File"}, {0x1 | 0x10 | 0x400, "Folder"}, {0x10 | 0x400, "SymLink"}, {0x400, "Stub"},
        {0x4 | 0x80 | 0x100, "File"},
        {0x200 | 0x40 | 0x20 | 0x8 | 0x2,
         "File,Deleted,Unknown,Not backed up,Mount Point or exchange attachment,Hidden"},
    };
    for (const auto& c : cases) {
        const std::string line = printed({{c.first, 0, 0, "/p", "s"}});
        EXPECT_NE(std::string::npos, line.find(std::string("\t") + c.second + "\t0\t/p\ts\n")) << line;
    }
}

// The time helper never writes past the length; the print helper writes the
// text as it is (no format) and nothing for none.
TEST(SearchReport, HelpersHonourTheirBounds) {
    char buffer[64];
    EXPECT_TRUE(_ctimeUW(buffer, 25, 86400));  // room for the 24 characters and their zero
    EXPECT_EQ(ctimeText(86400), buffer);
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(_ctimeUW(buffer, 24, 86400));  // one short: nothing past the length
    EXPECT_EQ('\0', buffer[0]);
    EXPECT_EQ('x', buffer[24]);
    TempStream s;
    _print(s.f, " %s\n");
    _print(s.f, nullptr);
    EXPECT_EQ(" %s\n", s.text());
}

}  // namespace
