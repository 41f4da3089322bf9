// VSDKAuxCopy, VSDKAgeData and VSDKERBackup against the simulated server.
// The three share one shape, so every test runs over a table of the three.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/TestEnv.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace OrvaneOperations;
using vsdktest::setText;

constexpr long long kBigJobId = 0x7000000001LL;  // beyond 32 bits

// Which record a case passes.
enum class Record { Sample, Empty, Unterminated, Null };

_QAuxCopyParameters auxCopyRecord(Record r) {
    _QAuxCopyParameters p;
    if (r == Record::Empty) return p;
    p.storagePolicyId = -1;
    setText(p.storagePolicyName, "SP-gold");
    p.copyId = 2;
    setText(p.copyName, "secondary");
    p.priority = 3;
    p.exportLocation = 4;
    p.transLocation = 5;
    p.useVMS = 6;
    p.mediaStatus = 7;
    p.streamCount = 8;
    p.startNewMedia = 9;
    p.markMediaFull = 10;
    p.alertId = 11;
    p.startSuspended = 12;
    p.retryHours = 13;
    p.retryNumber = 14;
    p.selectRecentFull = -15;
    setText(p.extendedOptions, "<aux/>");
    p.jobDescription = {"aux one", "aux two"};
    if (r == Record::Unterminated) {
        std::memset(p.storagePolicyName, 'p', sizeof p.storagePolicyName);
        std::memset(p.copyName, 'c', sizeof p.copyName);
        std::memset(p.extendedOptions, 'e', sizeof p.extendedOptions);
    }
    return p;
}

_QAgeDataParameters ageDataRecord(Record r) {
    _QAgeDataParameters p;
    if (r == Record::Empty) return p;
    p.retryHours = 21;
    p.retryNumber = -22;
    p.alertId = 23;
    p.jobDescription = {"aging"};
    return p;
}

_QERBackupParameters erBackupRecord(Record r) {
    _QERBackupParameters p;
    if (r == Record::Empty) return p;
    p.isFullBackup = 1;
    setText(p.extendedOptions, "<er/>");
    p.retryHours = 31;
    p.retryNumber = 32;
    p.alertId = -33;
    p.jobDescription = {"er one", "er two", "er three"};
    if (r == Record::Unterminated) std::memset(p.extendedOptions, 'e', sizeof p.extendedOptions);
    return p;
}

// Calls op with the chosen record (or a null one).
template <class Rec>
unsigned long callWith(unsigned long (*op)(const Rec*, long long*), Rec (*make)(Record), Record r,
                       long long* jobId) {
    if (r == Record::Null) return op(nullptr, jobId);
    const Rec p = make(r);
    return op(&p, jobId);
}

struct JobCase {
    const char* name;
    const char* function;
    unsigned long requestTag;
    unsigned long replyTag;
    std::function<unsigned long(Record, long long*)> call;
    std::function<std::string()> dump;         // of the sample record
    const char* parameterLine;
    const char* failurePhrase;
    const char* startedLine;                   // text before the job id
    const char* startedClose;                  // text after it
    int startedLevel;
    std::vector<vsdktest::IntField> ints;      // sample record
    std::vector<vsdktest::TextField> texts;    // sample record
    std::vector<FieldId> textFields;           // the record's fixed-array texts
    FieldId jobDescription;
    std::vector<std::string> sampleDescription;
    std::set<short> bodyFields;                // field numbers beyond header and session
};

std::vector<JobCase> cases() {
    std::vector<JobCase> all;
    all.push_back(JobCase{
        "AuxCopy", "VSDKAuxCopy()", QAuxCopyReqMsg::kTag, QAuxCopyRespMsg::kTag,
        [](Record r, long long* id) { return callWith(&VSDKAuxCopy, &auxCopyRecord, r, id); },
        [] { return auxCopyRecord(Record::Sample).c_str(); },
        "Parameters of the Creation of Aux Copy:", "Creation of AuxCopy",
        "AuxCopy Created with id:[", "]", 1,
        {
            {"storage policy id", kAuxStoragePolicyId, -1},
            {"copy id", kAuxCopyId, 2},
            {"start new media", kAuxStartNewMedia, 9},
            {"mark media full", kAuxMarkMediaFull, 10},
            {"priority", kAuxPriority, 3},
            {"export location", kAuxExportLocation, 4},
            {"trans location", kAuxTransLocation, 5},
            {"VMS use", kAuxUseVMS, 6},
            {"media status", kAuxMediaStatus, 7},
            {"stream count", kAuxStreamCount, 8},
            {"alert id", kAuxAlertId, 11},
            {"start suspended", kAuxStartSuspended, 12},
            {"retry number", kAuxRetryNumber, 14},
            {"retry hours", kAuxRetryHours, 13},
            {"select recent full", kAuxSelectRecentFull, -15},
        },
        {
            {"storage policy name", kAuxStoragePolicyName, "SP-gold"},
            {"copy name", kAuxCopyName, "secondary"},
            {"extended options", kAuxExtendedOptions, "<aux/>"},
        },
        {kAuxStoragePolicyName, kAuxCopyName, kAuxExtendedOptions},
        kAuxJobDescription,
        {"aux one", "aux two"},
        {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21},
    });
    all.push_back(JobCase{
        "AgeData", "VSDKAgeData()", QAgeDataReqMsg::kTag, QAgeDataRespMsg::kTag,
        [](Record r, long long* id) { return callWith(&VSDKAgeData, &ageDataRecord, r, id); },
        [] { return ageDataRecord(Record::Sample).c_str(); },
        "Parameters of the Age data:", "Age Data", "Data Aging started with job Id:[", "]", 0,
        {
            {"retry number", kAgeRetryNumber, -22},
            {"retry hours", kAgeRetryHours, 21},
            {"alert id", kAgeAlertId, 23},
        },
        {},
        {},
        kAgeJobDescription,
        {"aging"},
        {3, 4, 5, 6},
    });
    all.push_back(JobCase{
        "ERBackup", "VSDKERBackup()", QERBackupReqMsg::kTag, QERBackupRespMsg::kTag,
        [](Record r, long long* id) { return callWith(&VSDKERBackup, &erBackupRecord, r, id); },
        [] { return erBackupRecord(Record::Sample).c_str(); },
        "Parameters of ERBackup:", "ERBackup", "ERBackup started with job Id[", "]", 0,
        {
            {"is full backup", kErFullBackup, 1},
            {"retry number", kErRetryNumber, 32},
            {"retry hours", kErRetryHours, 31},
            {"alert id", kErAlertId, -33},
        },
        {{"extended options", kErExtendedOptions, "<er/>"}},
        {kErExtendedOptions},
        kErJobDescription,
        {"er one", "er two", "er three"},
        {3, 4, 5, 6, 7, 8},
    });
    return all;
}

// The log line that holds needle, or empty.
std::string lineWith(const std::string& log, const std::string& needle) {
    const std::size_t at = log.find(needle);
    if (at == std::string::npos) return std::string();
    const std::size_t begin = log.rfind('\n', at);
    const std::size_t end = log.find('\n', at);
    return log.substr(begin == std::string::npos ? 0 : begin + 1,
                      end == std::string::npos ? std::string::npos
                                               : end - (begin == std::string::npos ? 0 : begin + 1));
}

class JobStartTest : public ::testing::TestWithParam<JobCase> {
protected:
    void SetUp() override { ASSERT_EQ(0u, env.initThread()); }
    void TearDown() override { VSDKDeInitialize(); }

    const JobCase& op() const { return GetParam(); }
    simserver::SimServer& server() { return env.server(); }

    void replyJob(long long jobId) {
        server().replyWith(op().requestTag, op().replyTag,
                           [jobId](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putInt(reply, kReplyJobId, jobId);
                           });
    }

    vsdktest::TestEnv env;
};

TEST_P(JobStartTest, SendsTheSessionAndEveryFieldOfTheRecord) {
    VSDKAPIGlobalData* state = threadState();
    ASSERT_NE(nullptr, state);
    state->setGuid("guid-js");
    // Never sent by these operations.
    state->setismultifenmarktoken(true);
    state->setMultifenmarktoken("saml-token");

    long long jobId = 0;
    ASSERT_EQ(0u, op().call(Record::Sample, &jobId));
    auto request = vsdktest::onlyRequest(server(), op().requestTag);
    ASSERT_TRUE(request);
    vsdktest::expectHeader(*request);
    vsdktest::expectSession(*request, {env.mardockName(), "guid-js", false, ""});
    vsdktest::expectInts(*request, op().ints);
    vsdktest::expectTexts(*request, op().texts);
    vsdktest::expectTextList(*request, op().jobDescription, op().sampleDescription);
    std::set<short> expected = op().bodyFields;
    expected.insert(1);
    expected.insert(2);
    EXPECT_EQ(expected, vsdktest::fieldNumbers(*request));
}

TEST_P(JobStartTest, EmptyNamesAndDescriptionAreSentEmpty) {
    long long jobId = 0;
    ASSERT_EQ(0u, op().call(Record::Empty, &jobId));
    auto request = vsdktest::onlyRequest(server(), op().requestTag);
    ASSERT_TRUE(request);
    for (FieldId f : op().textFields) {
        vsdktest::expectTexts(*request, {{"name", f, ""}});
    }
    vsdktest::expectTextList(*request, op().jobDescription, {});
}

TEST_P(JobStartTest, UnterminatedNamesAreReadToTheirBoundOnly) {
    long long jobId = 0;
    ASSERT_EQ(0u, op().call(Record::Unterminated, &jobId));
    auto request = vsdktest::onlyRequest(server(), op().requestTag);
    ASSERT_TRUE(request);
    for (FieldId f : op().textFields) {
        const std::string sent = msgf::getText(*request, f);
        EXPECT_EQ(1024u, sent.size()) << "field " << f.number;
        EXPECT_EQ(std::string::npos, sent.find('\0'));
    }
}

TEST_P(JobStartTest, ReturnsTheSixtyFourBitJobIdAndLogsIt) {
    replyJob(kBigJobId);
    long long jobId = 0;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, op().call(Record::Sample, &jobId));
    EXPECT_EQ(kBigJobId, jobId);
    const std::string log = env.logSince(mark);
    const std::string started =
        lineWith(log, op().startedLine + std::to_string(kBigJobId) + op().startedClose);
    ASSERT_NE("", started) << log;
    EXPECT_NE(std::string::npos,
              started.find(std::string(op().function) + " [" + std::to_string(op().startedLevel) +
                           "]"))
        << started;
    EXPECT_NE(std::string::npos, log.find(op().parameterLine + op().dump())) << log;
}

TEST_P(JobStartTest, StartedLineFollowsItsLevel) {
    // At debug level 0 only the level-0 started lines are written.
    env.setValue("EventManager", "nDebugLevel", 0LL);
    replyJob(5);
    long long jobId = 0;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, op().call(Record::Sample, &jobId));
    EXPECT_EQ(op().startedLevel == 0,
              env.logContains(std::string(op().startedLine) + "5" + op().startedClose, mark));
    EXPECT_FALSE(env.logContains(op().parameterLine, mark));
}

TEST_P(JobStartTest, ServerErrorSetsJobIdToMinusOne) {
    server().serverError(op().requestTag, 0x7d1, "storage policy not found");
    long long jobId = 99;
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x7d1u, op().call(Record::Sample, &jobId));
    EXPECT_EQ(-1, jobId);
    EXPECT_STREQ("storage policy not found", VSDKGetLastErrorString());
    const std::string failure = lineWith(
        env.logSince(mark), std::string(op().failurePhrase) +
                                " failed with Error code [0x7d1] Error string [storage policy not found]");
    ASSERT_NE("", failure);
    EXPECT_NE(std::string::npos, failure.find(std::string(op().function) + " [0]")) << failure;
}

TEST_P(JobStartTest, FailedExchangeLeavesTheJobIdAlone) {
    server().script(op().requestTag, simserver::Action::noReplyClose());
    long long jobId = 99;
    EXPECT_EQ(0x205u, op().call(Record::Sample, &jobId));
    EXPECT_EQ(99, jobId);
}

TEST_P(JobStartTest, UnexpectedReplyTypeIsAnInvalidResponse) {
    server().replyWith(op().requestTag, QExecuteRespMsg::kTag);
    long long jobId = 99;
    EXPECT_EQ(0x207u, op().call(Record::Sample, &jobId));
    EXPECT_EQ(99, jobId);
}

TEST_P(JobStartTest, NullPointersAreInvalidArguments) {
    long long jobId = 99;
    EXPECT_EQ(0x303u, op().call(Record::Null, &jobId));
    EXPECT_STREQ("Invalid Argument", VSDKGetLastErrorString());
    EXPECT_EQ(0x303u, op().call(Record::Sample, nullptr));
    EXPECT_EQ(0x303u, op().call(Record::Null, nullptr));
    EXPECT_EQ(99, jobId);
    EXPECT_EQ(0u, server().requestCount());
}

INSTANTIATE_TEST_SUITE_P(Jobs, JobStartTest, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<JobCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(JobStartWithoutStartUp, ReturnsNotInitialisedAndSendsNothing) {
    vsdktest::TestEnv env;
    const std::size_t mark = env.logMark();
    for (const JobCase& c : cases()) {
        SCOPED_TRACE(c.name);
        long long jobId = 99;
        unsigned long rc = 0;
        std::thread([&] { rc = c.call(Record::Sample, &jobId); }).join();
        EXPECT_EQ(0x280u, rc);
        EXPECT_EQ(99, jobId);
    }
    EXPECT_EQ(0u, env.server().requestCount());
    EXPECT_EQ("", env.logSince(mark));
}

// ---- Text dumps --------------------------------------------------------

TEST(JobStartDump, AuxCopyDumpPutsMarkMediaFullAfterStartSuspended) {
    const std::string expected =
        "\nStorage Policy Id:[-1]\nStorage Policy Name:[SP-gold]\nCopy Id: [2]\n"
        "Copy Name: [secondary]\nPriority: [3]\nExport Location: [4]\nTrans Location: [5]\n"
        "VMS use: [6]\nMedia Status: [7]\nStream Count: [8]\nStart New Media: [9]\n"
        "Alert id: [11]\nStart Suspended: [12]\nMark Media Full: [10]\nRetry hours: [13]\n"
        "Retry No: [14]\nSelect Recent Full: [-15]\nExtended Options:[<aux/>]\n"
        "Job Description:[aux one\naux two\n]";
    EXPECT_EQ(expected, auxCopyRecord(Record::Sample).c_str());
}

TEST(JobStartDump, AgeDataAndERBackupDumps) {
    EXPECT_EQ("\nRetry Hours: [21]\nRetry No: [-22]\nAlert Id: [23]\nJob Description:[aging\n]",
              ageDataRecord(Record::Sample).c_str());
    EXPECT_EQ("\nIS Full Backup:[1]\nExtended Options:[<er/>]\nRetry Hours:[31]\nRetry No.[32]\n"
              "Alert Id:[-33]\nJob Description:[er one\ner two\ner three\n]",
              erBackupRecord(Record::Sample).c_str());
    EXPECT_EQ("\nRetry Hours: [0]\nRetry No: [0]\nAlert Id: [0]\nJob Description:[]",
              ageDataRecord(Record::Empty).c_str());
}

TEST(JobStartDump, UnterminatedArraysAreDumpedToTheirBound) {
    const std::string dump = erBackupRecord(Record::Unterminated).c_str();
    EXPECT_NE(std::string::npos,
              dump.find("Extended Options:[" + std::string(1024, 'e') + "]\nRetry Hours:[31]"));
}

}  // namespace
