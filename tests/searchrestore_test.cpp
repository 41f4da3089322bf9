// VSDKSearchRestore: the record, the chosen items, and the refusals that keep
// a partial request from going out. What job starters share is in jobstart_test.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

namespace {

using namespace OrvaneOperations;
using Record = _QRestoreParametersSTLless;
using vsdktest::Expect;

const char* const kSources[] = {"/s/one", nullptr, "/s/three", nullptr};
const char* const kFilters[] = {"*.bak"};

Record filledRecord() {
    Record p{};
    p.entityNames = "entities", p.destPath = "/dest", p.destUserPassword = "dest-pw";
    p.prePostUserPassword = "pp-pw";
    p.destInstanceId = 12, p.requestCode = 0, p.startSuspended = 32, p.sqlOptions = -0x123456789LL;
    p.fromTime = {100, "from-start", "from-zone", 101, 102};
    p.browseTo = {-400, "bt-start", "bt-zone", -399, -398};
    p.sourcePaths = kSources, p.sourcePathCount = 4, p.filterPaths = kFilters, p.filterPathCount = 1;
    return p;
}

// The first and last texts, a secret, the caller's own request code (where the
// other restores send 2), the numbers only a job sends, and a 64-bit value.
const std::vector<Expect> kFields = {
    {kRestoreEntityNames, "entities"}, {kRestoreDestPath, "/dest"}, {kRestoreDestUserPassword, "dest-pw"},
    {kRestorePrePostUserPassword, "pp-pw"}, {kRestoreRequestCode, 0}, {kRestoreDestInstanceId, 12},
    {kRestoreStartSuspended, 32}, {kRestoreSqlOptions, -0x123456789LL},
};

// A time object holds its start and zone only when they are given.
void expectTime(const CNMessageBase& r, FieldId field, const _QTimeSTLless& t) {
    std::vector<Expect> expected{{msgf::kTimeUnix, t.unixTime}, {msgf::kTimeOffset, t.offset},
                                 {msgf::kTimeDsFlags, t.dsFlags}};
    if (t.startTime) expected.push_back({msgf::kTimeStart, t.startTime});
    if (t.timeZone) expected.push_back({msgf::kTimeZone, t.timeZone});
    const CNMessageBase* time = vsdktest::expectObject(r, field, QTime::kTag, expected);
    EXPECT_EQ(expected.size(), time ? time->fields().size() : 0u);
}

class SearchRestoreTest : public vsdktest::StartedTest {
protected:
    // Sends p with the first count items; the outer request and its inner restore request.
    std::shared_ptr<const CNMessageBase> send(const Record& p, int count = 2) {
        env.server().clearJournal();
        long long jobId = 5;
        vsdktest::replyJobId(env.server(), QSearchRestoreReqMsg::kTag, QRestoreRespMsg::kTag, 1);
        EXPECT_EQ(0u, VSDKSearchRestore(p, items.data(), count, &jobId));
        auto outer = vsdktest::onlyRequest(env.server(), QSearchRestoreReqMsg::kTag);
        inner = vsdktest::objectAt(*outer, kSearchRestoreRequest, QRestoreReqMsg::kTag);
        return outer;
    }

    std::vector<_QSearchRestoreItem> items{{1, 2, 0x300000003LL, "a-text1", 4, 5, "a-text2"},
                                           {-6, 7, -8, "", 9, 10, "b-text2"}};
    const CNMessageBase* inner = nullptr;
};

TEST_F(SearchRestoreTest, RecordFieldsMapToTheInnerRestoreRequest) {
    threadState()->setGuid("thread-guid");
    const Record p = filledRecord();
    auto outer = send(p);
    EXPECT_EQ(std::string::npos, env.logSince(0).find("-pw"));  // passwords masked in the log
    vsdktest::expectFields(*inner, kFields);
    EXPECT_EQ(52, *vsdktest::fieldNumbers(*inner).rbegin());  // nothing of 53 to 57
    expectTime(*inner, kRestoreFromTime, p.fromTime);
    expectTime(*inner, kRestoreBrowseTo, p.browseTo);
    vsdktest::expectTextList(*inner, kRestoreSourcePaths, {"/s/one", "/s/three"});
    vsdktest::expectTextList(*inner, kRestoreFilterPaths, {"*.bak"});
    // No header inside; both session objects are filled.
    vsdktest::expectSession(*inner, {env.mardockName(), "thread-guid", false, ""});
    vsdktest::expectSession(*outer, {env.mardockName(), "thread-guid", false, ""});
}

TEST_F(SearchRestoreTest, NullTextsAndEmptyArraysLeaveTheirFieldsUnsetAndNullEntriesAreSkipped) {
    Record p{};  // every text, time text and array null
    p.browseTo.unixTime = 7;
    send(p);
    for (const Expect& e : kFields) EXPECT_TRUE(!e.isText || !msgf::has(*inner, e.field)) << e.text;
    for (FieldId f : {kRestoreSourcePaths, kRestoreFilterPaths}) EXPECT_FALSE(msgf::has(*inner, f));
    expectTime(*inner, kRestoreBrowseTo, p.browseTo);

    static const char* const kAllNull[] = {nullptr, nullptr};
    static const char* const kMiddleNull[] = {"first", nullptr, "", nullptr, "last"};
    const struct {
        const char* const* entries;
        int count;
        std::vector<std::string> expected;  // empty: the list stays unset
    } cases[] = {
        {kMiddleNull, 5, {"first", "", "last"}}, {kMiddleNull, 1, {"first"}}, {kAllNull, 2, {}},
        {kMiddleNull, 0, {}}, {kMiddleNull, -3, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        Record r = filledRecord();
        r.sourcePaths = r.filterPaths = c.entries;
        r.sourcePathCount = r.filterPathCount = c.count;
        send(r);
        for (FieldId f : {kRestoreSourcePaths, kRestoreFilterPaths}) {
            if (c.expected.empty()) {
                EXPECT_FALSE(msgf::has(*inner, f));
            } else {
                vsdktest::expectTextList(*inner, f, c.expected);
            }
        }
    }
}

TEST_F(SearchRestoreTest, ItemsMapToTheirWireFieldsAndTheCountBoundsThem) {
    auto outer = send(filledRecord());
    const std::vector<CNMessageBase>* sent = vsdktest::objectListAt(*outer, kSearchRestoreItems);
    ASSERT_TRUE(sent && sent->size() == 2u);
    EXPECT_EQ(QRestoreSearchItem::kTag, (*sent)[0].getTagID());
    EXPECT_EQ(7u, (*sent)[0].fields().size());
    vsdktest::expectFields((*sent)[0], {{kSearchItemValue1, 1}, {kSearchItemValue3, 0x300000003LL},
                                        {kSearchItemText1, "a-text1"}, {kSearchItemText2, "a-text2"}});
    vsdktest::expectFields((*sent)[1], {{kSearchItemValue3, -8}, {kSearchItemText1, ""}});
    for (int count : {1, 0, -1}) {
        outer = send(filledRecord(), count);
        const std::vector<CNMessageBase>* list = msgf::findList(*outer, kSearchRestoreItems);
        EXPECT_EQ(count == 1, list && list->size() == 1u) << count;
        EXPECT_EQ(count == 1, list != nullptr) << count;
    }
}

// Incomplete or unreadable arguments: 0x303, nothing sent, the job id untouched.
TEST_F(SearchRestoreTest, IncompleteArgumentsAreRefusedWithoutTraffic) {
    const std::string huge(70000, 'h');
    const struct {
        const char* name;
        void (*spoil)(Record& p, std::vector<_QSearchRestoreItem>& list, const std::string& huge);
    } cases[] = {
        {"null first text of an item", [](Record&, auto& l, auto&) { l[1].text1 = nullptr; }},
        {"null second text of an item", [](Record&, auto& l, auto&) { l[0].text2 = nullptr; }},
        {"null source path array with a count", [](Record& p, auto&, auto&) { p.sourcePaths = nullptr; }},
        {"null filter path array with a count", [](Record& p, auto&, auto&) { p.filterPaths = nullptr; }},
        {"over-long text", [](Record& p, auto&, const std::string& h) { p.destPath = h.c_str(); }},
        {"over-long zone", [](Record& p, auto&, const std::string& h) { p.browseTo.timeZone = h.c_str(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Record p = filledRecord();
        std::vector<_QSearchRestoreItem> list = items;
        c.spoil(p, list, huge);
        long long jobId = 5;
        EXPECT_EQ(0x303u, VSDKSearchRestore(p, list.data(), 2, &jobId));
        EXPECT_EQ(5, jobId);
    }
    EXPECT_EQ(0u, env.server().requestCount());

    // A long text that stays within the bound is sent whole.
    const std::string longText(60000, 'l');
    Record p = filledRecord();
    p.destPath = longText.c_str();
    send(p);
    vsdktest::expectFields(*inner, {{kRestoreDestPath, longText}});
}

}  // namespace
