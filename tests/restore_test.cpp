// VSDKRestore and VSDKValidateRestore against the simulated server: what the
// requests carry, what comes back to the caller, and the failure roads.
#include "VSDK.h"
#include "VSDKAPI/backup/Restore.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace OrvaneOperations;
using Message = std::shared_ptr<const CNMessageBase>;

std::unique_ptr<_QRestoreParameters> filledRecord() {
    auto p = std::make_unique<_QRestoreParameters>();
    // Filled to the last byte, without a terminating zero: sent up to its bound.
    std::memset(p->entityNames, 'e', sizeof p->entityNames);
    std::strcpy(p->destClientName, "dest-client");
    p->destClientId = 11;
    std::strcpy(p->destPath, "/restore/here");
    std::memset(p->destUserName, 'u', sizeof p->destUserName);
    std::strcpy(p->destUserPassword, "dest-secret-pw");
    p->sourceClientId = 12;
    std::strcpy(p->sourceClientName, "source-client");
    p->sourcePaths = {"/src/a", "/src/b"};
    p->filterPaths = {"*.tmp"};
    p->options = 0x400000000001LL;
    p->appId = 13;
    std::strcpy(p->appName, "File System");
    p->instanceId = 14;
    std::strcpy(p->instanceName, "inst");
    p->backupSetId = 15;
    std::strcpy(p->backupSetName, "bset");
    p->levelOfSOP = 16;
    p->sourceType = 17;
    p->currentUserId = 18;
    p->copyPrecedence = 19;
    p->streamCount = 20;
    p->browseFrom = {};
    p->browseFrom.unixTime = 101;
    p->browseFrom.startTime = "bf-start";
    p->browseFrom.timeZone = "bf-zone";
    p->browseFrom.offset = -102;
    p->browseFrom.dsFlags = 103;
    p->browseTo.unixTime = 201;
    p->browseTo.startTime = "bt-start";
    p->browseTo.timeZone = "bt-zone";
    p->browseTo.offset = 202;
    p->browseTo.dsFlags = 203;
    p->fromTime.unixTime = -1;
    p->fromTime.startTime = "ft-start";
    p->fromTime.timeZone = "ft-zone";
    p->fromTime.offset = 302;
    p->fromTime.dsFlags = 303;
    p->toTime.unixTime = 401;
    p->toTime.startTime = "tt-start";
    p->toTime.timeZone = "tt-zone";
    p->toTime.offset = 402;
    p->toTime.dsFlags = 403;
    p->jobStatus = 21;
    p->backupLevel = 22;
    p->useAgedData = 23;
    p->deviceFilesAsReg = 24;
    p->mediaAgentId = 25;
    p->drivePoolId = 26;
    std::strcpy(p->suffix, "sfx");
    p->destAppId = 27;
    std::strcpy(p->extendedOptions, "ext=1");
    p->priority = -28;
    p->alertId = 29;
    std::strcpy(p->onDemandInputFile, "/in/file");
    std::strcpy(p->mapFile, "/map/file");
    p->noMappingData = 30;
    std::strcpy(p->preCmd, "pre.sh");
    std::strcpy(p->postCmd, "post.sh");
    std::strcpy(p->prePostUserName, "runner");
    std::strcpy(p->prePostUserPassword, "prepost-secret-pw");
    p->destInstanceId = 31;
    p->startSuspended = 32;
    p->retryHours = 33;
    p->retryNo = 34;
    p->sqlOptions = 0x123456789LL;
    p->nasOptions = 0xFFFFFFFFu;
    std::memset(p->reserved, 0x5A, sizeof p->reserved);
    p->jobDescription = {"first line", "second line"};
    p->extraTexts = {"extra-1", "extra-2"};
    p->xmlResult = 0;
    return p;
}

struct IntCase {
    const char* name;
    FieldId field;
    long long expected;
};

// Every numeric field of a filled record, as the request must carry it.
const IntCase kIntFields[] = {
    {"destClientId", kRestoreDestClientId, 11},
    {"sourceClientId", kRestoreSourceClientId, 12},
    {"options", kRestoreOptions, 0x400000000001LL},
    {"requestCode", kRestoreRequestCode, 2},
    {"appId", kRestoreAppId, 13},
    {"instanceId", kRestoreInstanceId, 14},
    {"backupSetId", kRestoreBackupSetId, 15},
    {"levelOfSOP", kRestoreLevelOfSOP, 16},
    {"sourceType", kRestoreSourceType, 17},
    {"currentUserId", kRestoreCurrentUserId, 18},
    {"copyPrecedence", kRestoreCopyPrecedence, 19},
    {"streamCount", kRestoreStreamCount, 20},
    {"jobStatus", kRestoreJobStatus, 21},
    {"backupLevel", kRestoreBackupLevel, 22},
    {"useAgedData", kRestoreUseAgedData, 23},
    {"deviceFilesAsReg", kRestoreDeviceFilesAsReg, 24},
    {"mediaAgentId", kRestoreMediaAgentId, 25},
    {"drivePoolId", kRestoreDrivePoolId, 26},
    {"destAppId", kRestoreDestAppId, 27},
    {"priority", kRestorePriority, -28},
    {"alertId", kRestoreAlertId, 29},
    {"noMappingData", kRestoreNoMappingData, 30},
    {"destInstanceId", kRestoreDestInstanceId, 31},
    {"startSuspended", kRestoreStartSuspended, 32},
    {"retryHours", kRestoreRetryHours, 33},
    {"retryNo", kRestoreRetryNo, 34},
    {"sqlOptions", kRestoreSqlOptions, 0x123456789LL},
    {"nasOptions", kRestoreNasOptions, 4294967295LL},
    {"xmlResult", kRestoreXmlResult, 0},
};

struct TextCase {
    const char* name;
    FieldId field;
    std::string expected;
};

const TextCase kTextFields[] = {
    {"entityNames", kRestoreEntityNames, std::string(1024, 'e')},
    {"destClientName", kRestoreDestClientName, "dest-client"},
    {"destPath", kRestoreDestPath, "/restore/here"},
    {"destUserName", kRestoreDestUserName, std::string(256, 'u')},
    {"destUserPassword", kRestoreDestUserPassword, "dest-secret-pw"},
    {"sourceClientName", kRestoreSourceClientName, "source-client"},
    {"appName", kRestoreAppName, "File System"},
    {"instanceName", kRestoreInstanceName, "inst"},
    {"backupSetName", kRestoreBackupSetName, "bset"},
    {"suffix", kRestoreSuffix, "sfx"},
    {"extendedOptions", kRestoreExtendedOptions, "ext=1"},
    {"onDemandInputFile", kRestoreOnDemandInputFile, "/in/file"},
    {"mapFile", kRestoreMapFile, "/map/file"},
    {"preCmd", kRestorePreCmd, "pre.sh"},
    {"postCmd", kRestorePostCmd, "post.sh"},
    {"prePostUserName", kRestorePrePostUserName, "runner"},
    {"prePostUserPassword", kRestorePrePostUserPassword, "prepost-secret-pw"},
};

struct ListCase {
    const char* name;
    FieldId field;
    std::vector<std::string> expected;
};

const ListCase kListFields[] = {
    {"sourcePaths", kRestoreSourcePaths, {"/src/a", "/src/b"}},
    {"filterPaths", kRestoreFilterPaths, {"*.tmp"}},
    {"jobDescription", kRestoreJobDescription, {"first line", "second line"}},
    {"extraTexts", kRestoreExtraTexts, {"extra-1", "extra-2"}},
};

struct TimeCase {
    const char* name;
    FieldId field;
    long long unixTime;
    std::string start;
    std::string zone;
    long long offset;
    long long dsFlags;
};

const TimeCase kTimeFields[] = {
    {"browseFrom", kRestoreBrowseFrom, 101, "bf-start", "bf-zone", -102, 103},
    {"browseTo", kRestoreBrowseTo, 201, "bt-start", "bt-zone", 202, 203},
    {"fromTime", kRestoreFromTime, -1, "ft-start", "ft-zone", 302, 303},
    {"toTime", kRestoreToTime, 401, "tt-start", "tt-zone", 402, 403},
};

const std::vector<std::string>* textList(const CNMessageBase& m, FieldId f) {
    auto it = m.fields().find(f.number);
    if (it == m.fields().end() || it->second.kind != vsdkmsg::FieldKind::TextList) return nullptr;
    return it->second.textList;
}

std::set<short> fieldNumbers(const CNMessageBase& m) {
    std::set<short> numbers;
    for (const auto& kv : m.fields()) numbers.insert(kv.first);
    return numbers;
}

// The body field numbers of a restore request (3 to 56).
std::set<short> bodyNumbers(short last) {
    std::set<short> numbers;
    for (short n = 3; n <= last; ++n) numbers.insert(n);
    return numbers;
}

void expectBodyFields(const CNMessageBase& request, bool validation) {
    for (const IntCase& c : kIntFields) {
        SCOPED_TRACE(c.name);
        const bool leftOut = validation && (c.field.number == kRestoreDestInstanceId.number ||
                                            c.field.number == kRestoreStartSuspended.number ||
                                            c.field.number == kRestoreNasOptions.number ||
                                            c.field.number == kRestoreXmlResult.number);
        if (leftOut) {
            EXPECT_FALSE(msgf::has(request, c.field));
            continue;
        }
        ASSERT_TRUE(msgf::has(request, c.field));
        EXPECT_EQ(c.expected, msgf::getInt(request, c.field));
    }
    for (const TextCase& c : kTextFields) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(msgf::has(request, c.field));
        EXPECT_EQ(c.expected, msgf::getText(request, c.field));
    }
    for (const ListCase& c : kListFields) {
        SCOPED_TRACE(c.name);
        const bool leftOut = validation && (c.field.number == kRestoreJobDescription.number ||
                                            c.field.number == kRestoreExtraTexts.number);
        const std::vector<std::string>* list = textList(request, c.field);
        if (leftOut) {
            EXPECT_EQ(nullptr, list);
            continue;
        }
        ASSERT_NE(nullptr, list);
        EXPECT_EQ(c.expected, *list);
    }
    for (const TimeCase& c : kTimeFields) {
        SCOPED_TRACE(c.name);
        const CNMessageBase* t = msgf::findChild(request, c.field, OrvaneOperations::QTime::kTag);
        ASSERT_NE(nullptr, t);
        EXPECT_EQ(c.unixTime, msgf::getInt(*t, msgf::kTimeUnix));
        EXPECT_EQ(c.start, msgf::getText(*t, msgf::kTimeStart));
        EXPECT_EQ(c.zone, msgf::getText(*t, msgf::kTimeZone));
        EXPECT_EQ(c.offset, msgf::getInt(*t, msgf::kTimeOffset));
        EXPECT_EQ(c.dsFlags, msgf::getInt(*t, msgf::kTimeDsFlags));
    }
}

bool localUser(int& uid, std::string& name) {
    std::vector<char> buffer(1 << 16);
    struct passwd entry;
    struct passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) {
        return false;
    }
    uid = static_cast<int>(found->pw_uid);
    name = found->pw_name;
    return true;
}

class RestoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(env.server().ok());
        ASSERT_EQ(0u, env.initThread());
        state = g_dataMap.current();
        ASSERT_NE(nullptr, state);
    }
    void TearDown() override { VSDKDeInitialize(); }

    Message onlyRequest(unsigned long tag) {
        auto sent = env.server().requestsOfType(tag);
        EXPECT_EQ(1u, sent.size());
        return sent.empty() ? nullptr : sent.back().message;
    }

    void replyJobId(long long jobId, const std::string& xml) {
        env.server().replyWith(QRestoreReqMsg::kTag, QRestoreRespMsg::kTag,
                               [jobId, xml](const CNMessageBase&, CNMessageBase& reply) {
                                   msgf::putInt(reply, kRestoreRespJobId, jobId);
                                   msgf::putText(reply, kRestoreRespXml, xml);
                               });
    }

    vsdktest::TestEnv env;
    VSDKAPIGlobalData* state = nullptr;
};

TEST_F(RestoreTest, RestoreRequestCarriesEveryField) {
    auto params = filledRecord();
    _QJobStartInfo result;
    ASSERT_EQ(0u, VSDKRestore(params.get(), &result));

    Message sent = onlyRequest(QRestoreReqMsg::kTag);
    ASSERT_NE(nullptr, sent);
    expectBodyFields(*sent, false);
    std::set<short> expected = bodyNumbers(57);
    expected.insert({1, 2});
    EXPECT_EQ(expected, fieldNumbers(*sent));
}

TEST_F(RestoreTest, EmptyRecordStillSendsEveryField) {
    auto params = std::make_unique<_QRestoreParameters>();
    _QJobStartInfo result;
    ASSERT_EQ(0u, VSDKRestore(params.get(), &result));

    Message sent = onlyRequest(QRestoreReqMsg::kTag);
    ASSERT_NE(nullptr, sent);
    for (const IntCase& c : kIntFields) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(msgf::has(*sent, c.field));
        EXPECT_EQ(c.field.number == kRestoreRequestCode.number ? 2 : 0, msgf::getInt(*sent, c.field));
    }
    for (const TextCase& c : kTextFields) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(msgf::has(*sent, c.field));
        EXPECT_EQ("", msgf::getText(*sent, c.field));
    }
    for (const ListCase& c : kListFields) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(nullptr, textList(*sent, c.field));
        EXPECT_TRUE(textList(*sent, c.field)->empty());
    }
    for (const TimeCase& c : kTimeFields) {
        SCOPED_TRACE(c.name);
        const CNMessageBase* t = msgf::findChild(*sent, c.field, OrvaneOperations::QTime::kTag);
        ASSERT_NE(nullptr, t);
        EXPECT_EQ(5u, t->fields().size());
    }
}

TEST_F(RestoreTest, XmlResultFlagTravelsAsOne) {
    auto params = filledRecord();
    params->xmlResult = 0x100;
    _QJobStartInfo result;
    ASSERT_EQ(0u, VSDKRestore(params.get(), &result));
    Message sent = onlyRequest(QRestoreReqMsg::kTag);
    ASSERT_NE(nullptr, sent);
    EXPECT_EQ(1, msgf::getInt(*sent, kRestoreXmlResult));
}

TEST_F(RestoreTest, SessionPartWithoutMultiDomainToken) {
    state->setGuid("guid-of-thread");
    state->setismultifenmarktoken(true);
    state->setMultifenmarktoken("md-token");
    auto params = filledRecord();
    _QJobStartInfo result;
    ASSERT_EQ(0u, VSDKRestore(params.get(), &result));
    ASSERT_EQ(0u, VSDKValidateRestore(params.get()));

    Message restore = onlyRequest(QRestoreReqMsg::kTag);
    Message validation = onlyRequest(QValidateRestoreReqMsg::kTag);
    ASSERT_NE(nullptr, restore);
    ASSERT_NE(nullptr, validation);
    const CNMessageBase* inner =
        msgf::findChild(*validation, kValidateRestoreRequest, QRestoreReqMsg::kTag);
    ASSERT_NE(nullptr, inner);
    for (const CNMessageBase* request : {restore.get(), inner}) {
        const CNMessageBase* session =
            msgf::findChild(*request, msgf::kRequestSession, QSessionInfoMsg::kTag);
        ASSERT_NE(nullptr, session);
        EXPECT_EQ("", msgf::getText(*session, msgf::kSessionId));
        EXPECT_EQ(1, msgf::getInt(*session, msgf::kSessionOne));
        EXPECT_EQ(env.mardockName(), msgf::getText(*session, msgf::kSessionMardock));
        EXPECT_EQ("guid-of-thread", msgf::getText(*session, msgf::kSessionGuid));
        EXPECT_FALSE(msgf::has(*session, msgf::kSessionMultiDomainFlag));
        EXPECT_FALSE(msgf::has(*session, msgf::kSessionMultiDomainToken));
    }
}

TEST_F(RestoreTest, RestoreCarriesTheCallerIdentity) {
    int uid = 0;
    std::string name;
    if (!localUser(uid, name)) GTEST_SKIP() << "the test's user has no user-database entry";
    auto params = filledRecord();
    _QJobStartInfo result;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKRestore(params.get(), &result));

    Message sent = onlyRequest(QRestoreReqMsg::kTag);
    ASSERT_NE(nullptr, sent);
    const CNMessageBase* identity =
        msgf::findChild(*sent, kRestoreCallerIdentity, QCallerIdentityMsg::kTag);
    ASSERT_NE(nullptr, identity);
    EXPECT_EQ(uid, msgf::getInt(*identity, kCallerUid));
    EXPECT_EQ(name, msgf::getText(*identity, kCallerUserName));
    EXPECT_TRUE(env.logContains("Machine User Info : UID:[" + std::to_string(uid) + "] UName:[" +
                                    name + "]",
                                mark));
}

TEST_F(RestoreTest, ValidationInnerRequestHoldsExactlyItsSubset) {
    auto params = filledRecord();
    params->xmlResult = 1;
    ASSERT_EQ(0u, VSDKValidateRestore(params.get()));

    Message sent = onlyRequest(QValidateRestoreReqMsg::kTag);
    ASSERT_NE(nullptr, sent);
    // The outer request: its header and the inner request, nothing else.
    EXPECT_EQ((std::set<short>{1, 3}), fieldNumbers(*sent));
    const CNMessageBase* inner = msgf::findChild(*sent, kValidateRestoreRequest, QRestoreReqMsg::kTag);
    ASSERT_NE(nullptr, inner);

    std::set<short> expected = bodyNumbers(52);
    expected.insert(2);
    for (short n : {kRestoreDestInstanceId.number, kRestoreStartSuspended.number}) expected.erase(n);
    EXPECT_EQ(expected, fieldNumbers(*inner));

    // The values of the subset are those of a restore.
    params->xmlResult = 0;
    expectBodyFields(*inner, true);
    EXPECT_EQ(0u, env.server().requestCount(QRestoreReqMsg::kTag));
}

TEST_F(RestoreTest, JobIdComesBackAndXmlTextOnlyWhenAskedFor) {
    replyJobId(0x100000002LL, "<Reply job=\"4294967298\"/>");
    auto params = filledRecord();
    _QJobStartInfo result;
    result.xmlText = "left alone";
    std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKRestore(params.get(), &result));
    EXPECT_EQ(0x100000002LL, result.jobId);
    EXPECT_EQ("left alone", result.xmlText);
    EXPECT_TRUE(env.logContains("Restore started with JobId:[4294967298]", mark));

    params->xmlResult = 1;
    _QJobStartInfo withXml;
    mark = env.logMark();
    ASSERT_EQ(0u, VSDKRestore(params.get(), &withXml));
    EXPECT_EQ(0x100000002LL, withXml.jobId);
    EXPECT_EQ("<Reply job=\"4294967298\"/>", withXml.xmlText);
    EXPECT_TRUE(env.logContains("Converted XML String:[<Reply job=\"4294967298\"/>]", mark));
    EXPECT_FALSE(env.logContains("Restore started with JobId", mark));
}

TEST_F(RestoreTest, ServerErrorSetsJobIdToMinusOne) {
    env.server().serverError(QRestoreReqMsg::kTag, 0x50d, "restore refused by server");
    auto params = filledRecord();
    params->xmlResult = 1;
    _QJobStartInfo result;
    result.jobId = 99;
    result.xmlText = "left alone";
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x50du, VSDKRestore(params.get(), &result));
    EXPECT_EQ(-1, result.jobId);
    EXPECT_EQ("left alone", result.xmlText);
    EXPECT_STREQ("restore refused by server", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "Restore failed with Error code [0x50d] Error string [restore refused by server]", mark));
}

TEST_F(RestoreTest, ValidationServerErrorIsReturned) {
    env.server().serverError(QValidateRestoreReqMsg::kTag, 0x6a1, "not valid");
    auto params = filledRecord();
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x6a1u, VSDKValidateRestore(params.get()));
    EXPECT_STREQ("not valid", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("Validation of Restore failed with Error code [0x6a1] Error string [not valid]",
                                mark));
}

TEST_F(RestoreTest, ExchangeFailureLeavesTheResultAlone) {
    env.server().script(simserver::kAnyRequest, simserver::Action::noReplyClose());
    auto params = filledRecord();
    _QJobStartInfo result;
    result.jobId = 99;
    result.xmlText = "left alone";
    EXPECT_NE(0u, VSDKRestore(params.get(), &result));
    EXPECT_EQ(99, result.jobId);
    EXPECT_EQ("left alone", result.xmlText);
}

TEST_F(RestoreTest, NullPointersAreRefusedWithoutTraffic) {
    auto params = filledRecord();
    _QJobStartInfo result;
    result.jobId = 99;
    EXPECT_EQ(0x303u, VSDKRestore(nullptr, &result));
    EXPECT_EQ(99, result.jobId);
    EXPECT_EQ(0x303u, VSDKRestore(params.get(), nullptr));
    EXPECT_EQ(0x303u, VSDKValidateRestore(nullptr));
    EXPECT_EQ(0u, env.server().requestCount());
}

TEST_F(RestoreTest, ThreadWithoutStateGetsNotInitialized) {
    auto params = filledRecord();
    unsigned long restore = 0, validate = 0, fill = 0;
    std::thread other([&] {
        _QJobStartInfo result;
        restore = VSDKRestore(params.get(), &result);
        validate = VSDKValidateRestore(params.get());
        QRestoreReqMsg request;
        fill = fillRestoreRequest(*params, request);
        EXPECT_TRUE(request.fields().empty());
    });
    other.join();
    EXPECT_EQ(0x280u, restore);
    EXPECT_EQ(0x280u, validate);
    EXPECT_EQ(0x280u, fill);
    EXPECT_EQ(0u, env.server().requestCount());
}

TEST_F(RestoreTest, PasswordsNeverReachTheLog) {
    auto params = filledRecord();
    _QJobStartInfo result;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKRestore(params.get(), &result));
    ASSERT_EQ(0u, VSDKValidateRestore(params.get()));
    const std::string log = env.logSince(mark);
    EXPECT_NE(std::string::npos, log.find("Parameters of the Restore:"));
    EXPECT_EQ(std::string::npos, log.find("dest-secret-pw"));
    EXPECT_EQ(std::string::npos, log.find("prepost-secret-pw"));
}

TEST(RestoreDumpTest, DumpFollowsTheRecord) {
    auto params = filledRecord();
    const std::string dump = params->c_str();
    EXPECT_EQ(0u, dump.find("\nEntity Names:[" + std::string(1024, 'e') + "]\nDestination Client Name:["));
    EXPECT_NE(std::string::npos, dump.find("Source Paths:[/src/a /src/b ]\n"));
    EXPECT_NE(std::string::npos, dump.find("NAS Options:[4294967295]\n"));
    EXPECT_NE(std::string::npos, dump.find("On Demand Input File: [/in/file]\nMap File: [/map/file]\n"));
    EXPECT_NE(std::string::npos, dump.find("Browse From:[\nUnix time:[101]\n"));
    EXPECT_NE(std::string::npos, dump.find("Priority:[-28]\n"));
    const std::string tail = "Job Description:[first line\nsecond line\n]";
    ASSERT_GE(dump.size(), tail.size());
    EXPECT_EQ(tail, dump.substr(dump.size() - tail.size()));
    for (const char* hidden : {"dest-secret-pw", "prepost-secret-pw", "extra-1"}) {
        EXPECT_EQ(std::string::npos, dump.find(hidden)) << hidden;
    }

    params->jobDescription.clear();
    const std::string empty = params->c_str();
    EXPECT_EQ("Job Description:[]", empty.substr(empty.size() - 18));
}

}  // namespace
