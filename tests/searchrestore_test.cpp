// VSDKSearchRestore against the simulated server: the record without
// library containers, the chosen items, and the refusals that keep a
// partial request from going out.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace OrvaneOperations;
using Message = std::shared_ptr<const CNMessageBase>;

const char* const kSources[] = {"/s/one", nullptr, "/s/three", nullptr};
const char* const kFilters[] = {"*.bak"};

_QTimeSTLless timeOf(int base, const char* start, const char* zone) {
    return _QTimeSTLless{base, start, zone, base + 1, base + 2};
}

_QRestoreParametersSTLless filledRecord() {
    _QRestoreParametersSTLless p{};
    p.entityNames = "entities";
    p.destClientId = 11;
    p.destClientName = "dest-client";
    p.destPath = "/dest";
    p.destUserName = "dest-user";
    p.destUserPassword = "dest-secret-pw";
    p.destInstanceId = 12;
    p.sourceClientId = 13;
    p.sourceClientName = "source-client";
    p.sourcePaths = kSources;
    p.sourcePathCount = 4;
    p.filterPaths = kFilters;
    p.filterPathCount = 1;
    p.options = 0x800000000LL;
    p.requestCode = 7;
    p.appId = 14;
    p.appName = "app";
    p.instanceId = 15;
    p.instanceName = "instance";
    p.backupSetId = 16;
    p.backupSetName = "backupset";
    p.levelOfSOP = 17;
    p.sourceType = 18;
    p.currentUserId = 19;
    p.copyPrecedence = 20;
    p.streamCount = 21;
    p.fromTime = timeOf(100, "from-start", "from-zone");
    p.toTime = timeOf(200, "to-start", "to-zone");
    p.browseFrom = timeOf(300, "bfrom-start", "bfrom-zone");
    p.browseTo = timeOf(-400, "bto-start", "bto-zone");
    p.jobStatus = 22;
    p.backupLevel = 23;
    p.useAgedData = 24;
    p.deviceFilesAsReg = 25;
    p.mediaAgentId = 26;
    p.drivePoolId = 27;
    p.suffix = "suffix";
    p.onDemandInputFile = "/on/demand";
    p.mapFile = "/map";
    p.noMappingData = 28;
    p.extendedOptions = "ext";
    p.destAppId = 29;
    p.priority = -30;
    p.alertId = 31;
    p.preCmd = "pre";
    p.postCmd = "post";
    p.prePostUserName = "pp-user";
    p.prePostUserPassword = "pp-secret-pw";
    p.startSuspended = 32;
    p.retryHours = 33;
    p.retryNo = 34;
    p.sqlOptions = -0x123456789LL;
    return p;
}

// Every text field of the record and where it goes, with a setter to clear it.
struct TextCase {
    const char* name;
    FieldId field;
    const char* _QRestoreParametersSTLless::*member;
};

const TextCase kTextFields[] = {
    {"entityNames", kRestoreEntityNames, &_QRestoreParametersSTLless::entityNames},
    {"destClientName", kRestoreDestClientName, &_QRestoreParametersSTLless::destClientName},
    {"destPath", kRestoreDestPath, &_QRestoreParametersSTLless::destPath},
    {"destUserName", kRestoreDestUserName, &_QRestoreParametersSTLless::destUserName},
    {"destUserPassword", kRestoreDestUserPassword, &_QRestoreParametersSTLless::destUserPassword},
    {"sourceClientName", kRestoreSourceClientName, &_QRestoreParametersSTLless::sourceClientName},
    {"appName", kRestoreAppName, &_QRestoreParametersSTLless::appName},
    {"instanceName", kRestoreInstanceName, &_QRestoreParametersSTLless::instanceName},
    {"backupSetName", kRestoreBackupSetName, &_QRestoreParametersSTLless::backupSetName},
    {"suffix", kRestoreSuffix, &_QRestoreParametersSTLless::suffix},
    {"onDemandInputFile", kRestoreOnDemandInputFile, &_QRestoreParametersSTLless::onDemandInputFile},
    {"mapFile", kRestoreMapFile, &_QRestoreParametersSTLless::mapFile},
    {"extendedOptions", kRestoreExtendedOptions, &_QRestoreParametersSTLless::extendedOptions},
    {"preCmd", kRestorePreCmd, &_QRestoreParametersSTLless::preCmd},
    {"postCmd", kRestorePostCmd, &_QRestoreParametersSTLless::postCmd},
    {"prePostUserName", kRestorePrePostUserName, &_QRestoreParametersSTLless::prePostUserName},
    {"prePostUserPassword", kRestorePrePostUserPassword,
     &_QRestoreParametersSTLless::prePostUserPassword},
};

struct IntCase {
    const char* name;
    FieldId field;
    long long expected;
};

const IntCase kIntFields[] = {
    {"destClientId", kRestoreDestClientId, 11},
    {"destInstanceId", kRestoreDestInstanceId, 12},
    {"sourceClientId", kRestoreSourceClientId, 13},
    {"options", kRestoreOptions, 0x800000000LL},
    {"requestCode", kRestoreRequestCode, 7},
    {"appId", kRestoreAppId, 14},
    {"instanceId", kRestoreInstanceId, 15},
    {"backupSetId", kRestoreBackupSetId, 16},
    {"levelOfSOP", kRestoreLevelOfSOP, 17},
    {"sourceType", kRestoreSourceType, 18},
    {"currentUserId", kRestoreCurrentUserId, 19},
    {"copyPrecedence", kRestoreCopyPrecedence, 20},
    {"streamCount", kRestoreStreamCount, 21},
    {"jobStatus", kRestoreJobStatus, 22},
    {"backupLevel", kRestoreBackupLevel, 23},
    {"useAgedData", kRestoreUseAgedData, 24},
    {"deviceFilesAsReg", kRestoreDeviceFilesAsReg, 25},
    {"mediaAgentId", kRestoreMediaAgentId, 26},
    {"drivePoolId", kRestoreDrivePoolId, 27},
    {"noMappingData", kRestoreNoMappingData, 28},
    {"destAppId", kRestoreDestAppId, 29},
    {"priority", kRestorePriority, -30},
    {"alertId", kRestoreAlertId, 31},
    {"startSuspended", kRestoreStartSuspended, 32},
    {"retryHours", kRestoreRetryHours, 33},
    {"retryNo", kRestoreRetryNo, 34},
    {"sqlOptions", kRestoreSqlOptions, -0x123456789LL},
};

struct TimeCase {
    const char* name;
    FieldId field;
    int base;
    const char* start;
    const char* zone;
};

const TimeCase kTimeFields[] = {
    {"fromTime", kRestoreFromTime, 100, "from-start", "from-zone"},
    {"toTime", kRestoreToTime, 200, "to-start", "to-zone"},
    {"browseFrom", kRestoreBrowseFrom, 300, "bfrom-start", "bfrom-zone"},
    {"browseTo", kRestoreBrowseTo, -400, "bto-start", "bto-zone"},
};

const std::vector<std::string>* textList(const CNMessageBase& m, FieldId f) {
    auto it = m.fields().find(f.number);
    if (it == m.fields().end() || it->second.kind != vsdkmsg::FieldKind::TextList) return nullptr;
    return it->second.textList;
}

const std::vector<CNMessageBase>* objectList(const CNMessageBase& m, FieldId f) {
    return msgf::findList(m, f);
}

class SearchRestoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(env.server().ok());
        ASSERT_EQ(0u, env.initThread());
        state = g_dataMap.current();
        ASSERT_NE(nullptr, state);
        items = {
            {1, 2, 0x300000003LL, "item-a-text1", 4, 5, "item-a-text2"},
            {-6, 7, -8, "", 9, 10, "item-b-text2"},
        };
    }
    void TearDown() override { VSDKDeInitialize(); }

    // Sends and returns the outer request and its inner restore request.
    Message send(const _QRestoreParametersSTLless& p, const _QSearchRestoreItem* list, int count,
                 const CNMessageBase** inner) {
        long long jobId = 5;
        EXPECT_EQ(0u, VSDKSearchRestore(p, list, count, &jobId));
        auto sent = env.server().requestsOfType(QSearchRestoreReqMsg::kTag);
        EXPECT_EQ(1u, sent.size());
        if (sent.empty() || !sent.back().message) return nullptr;
        *inner = msgf::findChild(*sent.back().message, kSearchRestoreRequest, QRestoreReqMsg::kTag);
        EXPECT_NE(nullptr, *inner);
        return sent.back().message;
    }

    vsdktest::TestEnv env;
    VSDKAPIGlobalData* state = nullptr;
    std::vector<_QSearchRestoreItem> items;
};

TEST_F(SearchRestoreTest, RecordFieldsMapToTheInnerRestoreRequest) {
    const CNMessageBase* inner = nullptr;
    Message outer = send(filledRecord(), items.data(), 2, &inner);
    ASSERT_NE(nullptr, inner);
    for (const TextCase& c : kTextFields) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(msgf::has(*inner, c.field));
        EXPECT_EQ(filledRecord().*c.member, msgf::getText(*inner, c.field));
    }
    for (const IntCase& c : kIntFields) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(msgf::has(*inner, c.field));
        EXPECT_EQ(c.expected, msgf::getInt(*inner, c.field));
    }
    for (const TimeCase& c : kTimeFields) {
        SCOPED_TRACE(c.name);
        const CNMessageBase* t = msgf::findChild(*inner, c.field, OrvaneOperations::QTime::kTag);
        ASSERT_NE(nullptr, t);
        EXPECT_EQ(c.base, msgf::getInt(*t, msgf::kTimeUnix));
        EXPECT_EQ(c.start, msgf::getText(*t, msgf::kTimeStart));
        EXPECT_EQ(c.zone, msgf::getText(*t, msgf::kTimeZone));
        EXPECT_EQ(c.base + 1, msgf::getInt(*t, msgf::kTimeOffset));
        EXPECT_EQ(c.base + 2, msgf::getInt(*t, msgf::kTimeDsFlags));
    }
    ASSERT_NE(nullptr, textList(*inner, kRestoreSourcePaths));
    EXPECT_EQ((std::vector<std::string>{"/s/one", "/s/three"}), *textList(*inner, kRestoreSourcePaths));
    ASSERT_NE(nullptr, textList(*inner, kRestoreFilterPaths));
    EXPECT_EQ((std::vector<std::string>{"*.bak"}), *textList(*inner, kRestoreFilterPaths));
    // Fields 53 to 57 belong to the other restore roads; no header inside.
    for (short n : {1, 53, 54, 55, 56, 57}) EXPECT_EQ(0u, inner->fields().count(n)) << n;
}

TEST_F(SearchRestoreTest, NullTextsLeaveTheirFieldsUnset) {
    _QRestoreParametersSTLless p = filledRecord();
    for (const TextCase& c : kTextFields) p.*c.member = nullptr;
    for (_QTimeSTLless* t : {&p.fromTime, &p.toTime, &p.browseFrom, &p.browseTo}) {
        t->startTime = nullptr;
        t->timeZone = nullptr;
    }
    const CNMessageBase* inner = nullptr;
    Message outer = send(p, items.data(), 2, &inner);
    ASSERT_NE(nullptr, inner);
    for (const TextCase& c : kTextFields) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(msgf::has(*inner, c.field));
    }
    for (const IntCase& c : kIntFields) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(msgf::has(*inner, c.field));
    }
    for (const TimeCase& c : kTimeFields) {
        SCOPED_TRACE(c.name);
        const CNMessageBase* t = msgf::findChild(*inner, c.field, OrvaneOperations::QTime::kTag);
        ASSERT_NE(nullptr, t);
        EXPECT_EQ((std::set<short>{1, 4, 5}),
                  ([&] {
                      std::set<short> s;
                      for (const auto& kv : t->fields()) s.insert(kv.first);
                      return s;
                  })());
    }
}

TEST_F(SearchRestoreTest, EmptyTextsAreSentAsEmpty) {
    _QRestoreParametersSTLless p = filledRecord();
    for (const TextCase& c : kTextFields) p.*c.member = "";
    const CNMessageBase* inner = nullptr;
    Message outer = send(p, items.data(), 2, &inner);
    ASSERT_NE(nullptr, inner);
    for (const TextCase& c : kTextFields) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(msgf::has(*inner, c.field));
        EXPECT_EQ("", msgf::getText(*inner, c.field));
    }
}

struct ArrayCase {
    const char* name;
    const char* const* entries;
    int count;
    bool listSet;
    std::vector<std::string> expected;
};

const char* const kAllNull[] = {nullptr, nullptr};
const char* const kMiddleNull[] = {"first", nullptr, "", nullptr, "last"};

const ArrayCase kArrays[] = {
    {"null entries skipped in order", kMiddleNull, 5, true, {"first", "", "last"}},
    {"count bounds the walk", kMiddleNull, 1, true, {"first"}},
    {"all entries null", kAllNull, 2, false, {}},
    {"count zero", kMiddleNull, 0, false, {}},
    {"negative count", kMiddleNull, -3, false, {}},
    {"null array with count zero", nullptr, 0, false, {}},
};

TEST_F(SearchRestoreTest, TextArraysSkipNullEntriesAndStayUnsetWhenEmpty) {
    for (const ArrayCase& c : kArrays) {
        SCOPED_TRACE(c.name);
        env.server().clearJournal();
        _QRestoreParametersSTLless p = filledRecord();
        p.sourcePaths = c.entries;
        p.sourcePathCount = c.count;
        p.filterPaths = c.entries;
        p.filterPathCount = c.count;
        const CNMessageBase* inner = nullptr;
        Message outer = send(p, items.data(), 2, &inner);
        ASSERT_NE(nullptr, inner);
        for (FieldId f : {kRestoreSourcePaths, kRestoreFilterPaths}) {
            const std::vector<std::string>* list = textList(*inner, f);
            if (!c.listSet) {
                EXPECT_EQ(nullptr, list);
                continue;
            }
            ASSERT_NE(nullptr, list);
            EXPECT_EQ(c.expected, *list);
        }
    }
}

TEST_F(SearchRestoreTest, ItemFieldsMapToTheirWireFields) {
    const CNMessageBase* inner = nullptr;
    Message outer = send(filledRecord(), items.data(), 2, &inner);
    ASSERT_NE(nullptr, outer);
    const std::vector<CNMessageBase>* sent = objectList(*outer, kSearchRestoreItems);
    ASSERT_NE(nullptr, sent);
    ASSERT_EQ(2u, sent->size());
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const CNMessageBase& m = (*sent)[i];
        const _QSearchRestoreItem& from = items[i];
        EXPECT_EQ(QRestoreSearchItem::kTag, m.getTagID());
        EXPECT_EQ(from.value1, msgf::getInt(m, kSearchItemValue1));
        EXPECT_EQ(from.value2, msgf::getInt(m, kSearchItemValue2));
        EXPECT_EQ(from.value3, msgf::getInt(m, kSearchItemValue3));
        EXPECT_EQ(from.text1, msgf::getText(m, kSearchItemText1));
        EXPECT_EQ(from.appType, msgf::getInt(m, kSearchItemAppType));
        EXPECT_EQ(from.appId, msgf::getInt(m, kSearchItemAppId));
        EXPECT_EQ(from.text2, msgf::getText(m, kSearchItemText2));
        EXPECT_EQ(7u, m.fields().size());
    }
}

TEST_F(SearchRestoreTest, ItemCountBoundsTheItemsSent) {
    const CNMessageBase* inner = nullptr;
    Message outer = send(filledRecord(), items.data(), 1, &inner);
    ASSERT_NE(nullptr, outer);
    const std::vector<CNMessageBase>* sent = objectList(*outer, kSearchRestoreItems);
    ASSERT_NE(nullptr, sent);
    ASSERT_EQ(1u, sent->size());
    EXPECT_EQ("item-a-text1", msgf::getText((*sent)[0], kSearchItemText1));
}

TEST_F(SearchRestoreTest, NoItemsLeavesTheListUnset) {
    for (int count : {0, -1}) {
        SCOPED_TRACE(count);
        env.server().clearJournal();
        const CNMessageBase* inner = nullptr;
        Message outer = send(filledRecord(), nullptr, count, &inner);
        ASSERT_NE(nullptr, outer);
        EXPECT_FALSE(msgf::has(*outer, kSearchRestoreItems));
        EXPECT_NE(nullptr, inner);
    }
}

TEST_F(SearchRestoreTest, BothSessionObjectsAreFilledWithoutMultiDomainToken) {
    state->setGuid("thread-guid");
    state->setismultifenmarktoken(true);
    state->setMultifenmarktoken("md-token");
    const CNMessageBase* inner = nullptr;
    Message outer = send(filledRecord(), items.data(), 2, &inner);
    ASSERT_NE(nullptr, outer);
    ASSERT_NE(nullptr, inner);
    for (const CNMessageBase* request : {outer.get(), inner}) {
        const CNMessageBase* session =
            msgf::findChild(*request, msgf::kRequestSession, QSessionInfoMsg::kTag);
        ASSERT_NE(nullptr, session);
        EXPECT_TRUE(msgf::has(*session, msgf::kSessionId));
        EXPECT_EQ("", msgf::getText(*session, msgf::kSessionId));
        EXPECT_EQ(1, msgf::getInt(*session, msgf::kSessionOne));
        EXPECT_EQ(env.mardockName(), msgf::getText(*session, msgf::kSessionMardock));
        EXPECT_EQ("thread-guid", msgf::getText(*session, msgf::kSessionGuid));
        EXPECT_FALSE(msgf::has(*session, msgf::kSessionMultiDomainFlag));
        EXPECT_FALSE(msgf::has(*session, msgf::kSessionMultiDomainToken));
    }
}

TEST_F(SearchRestoreTest, JobIdComesBack) {
    env.server().replyWith(QSearchRestoreReqMsg::kTag, QRestoreRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putInt(reply, kRestoreRespJobId, 0x200000001LL);
                           });
    long long jobId = 0;
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0u, VSDKSearchRestore(filledRecord(), items.data(), 2, &jobId));
    EXPECT_EQ(0x200000001LL, jobId);
    EXPECT_TRUE(env.logContains("Restore by search started with job Id:[8589934593]", mark));
}

TEST_F(SearchRestoreTest, ServerErrorSetsJobIdToMinusOne) {
    env.server().serverError(QSearchRestoreReqMsg::kTag, 0x50d, "no such items");
    long long jobId = 5;
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x50du, VSDKSearchRestore(filledRecord(), items.data(), 2, &jobId));
    EXPECT_EQ(-1, jobId);
    EXPECT_STREQ("no such items", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "Restore by search failed with Error code [0x50d] Error string [no such items]", mark));
}

TEST_F(SearchRestoreTest, ExchangeFailureLeavesJobIdAlone) {
    env.server().script(simserver::kAnyRequest, simserver::Action::noReplyClose());
    long long jobId = 5;
    EXPECT_NE(0u, VSDKSearchRestore(filledRecord(), items.data(), 2, &jobId));
    EXPECT_EQ(5, jobId);
}

TEST_F(SearchRestoreTest, PasswordsNeverReachTheLog) {
    const std::size_t mark = env.logMark();
    long long jobId = 0;
    ASSERT_EQ(0u, VSDKSearchRestore(filledRecord(), items.data(), 2, &jobId));
    const std::string log = env.logSince(mark);
    EXPECT_NE(std::string::npos, log.find("QSearchRestoreReqMsg"));
    EXPECT_EQ(std::string::npos, log.find("dest-secret-pw"));
    EXPECT_EQ(std::string::npos, log.find("pp-secret-pw"));
}

// Incomplete arguments: 0x303, nothing sent, the job id untouched.
struct RefusalCase {
    const char* name;
    void (*spoil)(_QRestoreParametersSTLless& p, std::vector<_QSearchRestoreItem>& items,
                  const _QSearchRestoreItem*& list, int& count);
};

const RefusalCase kRefusals[] = {
    {"null item array with a count",
     [](_QRestoreParametersSTLless&, std::vector<_QSearchRestoreItem>&,
        const _QSearchRestoreItem*& list, int&) { list = nullptr; }},
    {"null first text of an item",
     [](_QRestoreParametersSTLless&, std::vector<_QSearchRestoreItem>& items,
        const _QSearchRestoreItem*&, int&) { items[1].text1 = nullptr; }},
    {"null second text of an item",
     [](_QRestoreParametersSTLless&, std::vector<_QSearchRestoreItem>& items,
        const _QSearchRestoreItem*&, int&) { items[0].text2 = nullptr; }},
    {"null source path array with a count",
     [](_QRestoreParametersSTLless& p, std::vector<_QSearchRestoreItem>&,
        const _QSearchRestoreItem*&, int&) { p.sourcePaths = nullptr; }},
    {"null filter path array with a count",
     [](_QRestoreParametersSTLless& p, std::vector<_QSearchRestoreItem>&,
        const _QSearchRestoreItem*&, int&) { p.filterPaths = nullptr; }},
};

TEST_F(SearchRestoreTest, IncompleteArgumentsAreRefusedWithoutTraffic) {
    for (const RefusalCase& c : kRefusals) {
        SCOPED_TRACE(c.name);
        _QRestoreParametersSTLless p = filledRecord();
        std::vector<_QSearchRestoreItem> list = items;
        const _QSearchRestoreItem* pointer = list.data();
        int count = 2;
        c.spoil(p, list, pointer, count);
        long long jobId = 5;
        EXPECT_EQ(0x303u, VSDKSearchRestore(p, pointer, count, &jobId));
        EXPECT_EQ(5, jobId);
        EXPECT_NE(std::string(""), VSDKGetLastErrorString());
    }
    EXPECT_EQ(0x303u, VSDKSearchRestore(filledRecord(), items.data(), 2, nullptr));
    EXPECT_EQ(0u, env.server().requestCount());
}

TEST_F(SearchRestoreTest, OverLongCallerTextIsRefused) {
    const std::string huge(70000, 'h');
    _QRestoreParametersSTLless p = filledRecord();
    p.destPath = huge.c_str();
    long long jobId = 5;
    EXPECT_EQ(0x303u, VSDKSearchRestore(p, items.data(), 2, &jobId));
    EXPECT_EQ(0u, env.server().requestCount());

    // The same length that still fits is sent whole.
    const std::string long_(60000, 'l');
    p.destPath = long_.c_str();
    const CNMessageBase* inner = nullptr;
    Message outer = send(p, items.data(), 2, &inner);
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(long_, msgf::getText(*inner, kRestoreDestPath));
}

TEST_F(SearchRestoreTest, ThreadWithoutStateGetsNotInitialized) {
    unsigned long rc = 0;
    long long jobId = 5;
    std::thread other([&] { rc = VSDKSearchRestore(filledRecord(), items.data(), 2, &jobId); });
    other.join();
    EXPECT_EQ(0x280u, rc);
    EXPECT_EQ(5, jobId);
    EXPECT_EQ(0u, env.server().requestCount());
}

}  // namespace
