// What the seven job-starting operations share, run over each of them, then
// the request bodies of the auxiliary copy, data aging and ERBackup.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace OrvaneOperations;
using simserver::Action;

constexpr long long kBigJobId = 0x7000000001LL;  // beyond 32 bits

// One call: what goes in, and the caller's out-values afterwards.
struct Call {
    bool nullRecord = false;
    bool nullResult = false;
    int xmlResult = 0;
    long long jobId = 77;
    std::string xmlText = "untouched";
};

template <class Record, class Op>
unsigned long byPointers(Call& c, Op op, void (*prepare)(Record&) = nullptr) {
    auto p = std::make_unique<Record>();
    p->xmlResult = c.xmlResult;
    if (prepare) prepare(*p);
    _QJobStartInfo result{c.jobId, c.xmlText};
    const unsigned long rc = op(c.nullRecord ? nullptr : p.get(), c.nullResult ? nullptr : &result);
    c.jobId = result.jobId;
    c.xmlText = result.xmlText;
    return rc;
}

template <class Record>
unsigned long withJobId(Call& c, unsigned long (*op)(const Record*, long long*)) {
    const Record p;
    return op(c.nullRecord ? nullptr : &p, c.nullResult ? nullptr : &c.jobId);
}

struct JobOp {
    const char* name;
    unsigned long requestTag;
    unsigned long replyTag;
    std::string startedLine;  // "<function> [<level>] <text up to the job id>"
    std::string failureLine;  // "<function> [0] <phrase>"
    bool fixedText;           // the failure line shows the code's fixed text
    FieldId xmlFlag;          // number 0: no reply text to ask for
    FieldId xmlField;
    std::function<unsigned long(Call&)> call;
};

const std::vector<JobOp>& jobOps() {
    static const std::vector<JobOp> ops{
        {"Backup", QBackupInfoMsg::kTag, QBackupRespMsg::kTag, "- [1] Backup started with JobId:[",
         "- [0] Backup", false, kBackupXmlResult, kBackupRespXml,
         [](Call& c) { return byPointers<_QBackupParameters>(c, VSDKBackup); }},
        {"Restore", QRestoreReqMsg::kTag, QRestoreRespMsg::kTag,
         "VSDKRestore() [1] Restore started with JobId:[", "VSDKRestore() [0] Restore", false,
         kRestoreXmlResult, kRestoreRespXml,
         [](Call& c) { return byPointers<_QRestoreParameters>(c, VSDKRestore); }},
        {"DBRestore", QDBRestoreReqMsg::kTag, QRestoreRespMsg::kTag,
         "VSDKDBRestore() [1] Restoration of Database Started with jobId:[",
         "VSDKDBRestore() [0] Restoration of Database", true, dbrestore::kXmlResult,
         kRestoreRespXml,
         [](Call& c) {
             return byPointers<_QDBRestoreParameters>(
                 c, VSDKDBRestore, [](_QDBRestoreParameters& p) { p.appTypeId = 2; });  // Oracle
         }},
        {"SearchRestore", QSearchRestoreReqMsg::kTag, QRestoreRespMsg::kTag,
         "VSDKSearchRestore() [1] Restore by search started with job Id:[",
         "VSDKSearchRestore() [0] Restore by search", false, {0, 0, 0}, {0, 0, 0},
         [](Call& c) {
             // Its "null record" is a null item array with a count.
             return VSDKSearchRestore(_QRestoreParametersSTLless{}, nullptr, c.nullRecord ? 1 : 0,
                                      c.nullResult ? nullptr : &c.jobId);
         }},
        {"AuxCopy", QAuxCopyReqMsg::kTag, QAuxCopyRespMsg::kTag,
         "VSDKAuxCopy() [1] AuxCopy Created with id:[", "VSDKAuxCopy() [0] Creation of AuxCopy",
         false, {0, 0, 0}, {0, 0, 0}, [](Call& c) { return withJobId(c, VSDKAuxCopy); }},
        {"AgeData", QAgeDataReqMsg::kTag, QAgeDataRespMsg::kTag,
         "VSDKAgeData() [0] Data Aging started with job Id:[", "VSDKAgeData() [0] Age Data", false,
         {0, 0, 0}, {0, 0, 0}, [](Call& c) { return withJobId(c, VSDKAgeData); }},
        {"ERBackup", QERBackupReqMsg::kTag, QERBackupRespMsg::kTag,
         "VSDKERBackup() [0] ERBackup started with job Id[", "VSDKERBackup() [0] ERBackup", false,
         {0, 0, 0}, {0, 0, 0}, [](Call& c) { return withJobId(c, VSDKERBackup); }},
    };
    return ops;
}

std::vector<JobOp> opsWithReplyText() {
    std::vector<JobOp> out;
    for (const JobOp& op : jobOps()) if (op.xmlFlag.number != 0) out.push_back(op);
    return out;
}

std::string opName(const ::testing::TestParamInfo<JobOp>& info) { return info.param.name; }
void PrintTo(const JobOp& op, std::ostream* os) { *os << op.name; }

class JobStartTest : public vsdktest::StartedTest, public ::testing::WithParamInterface<JobOp> {
protected:
    const JobOp& op() const { return GetParam(); }
    simserver::SimServer& server() { return env.server(); }
};

TEST_P(JobStartTest, SendsTheSessionWithoutTheTokenAndReturnsTheSixtyFourBitJobId) {
    threadState()->setGuid("guid-js");
    threadState()->setismultifenmarktoken(true);
    threadState()->setMultifenmarktoken("md-token");
    vsdktest::replyJobId(server(), op().requestTag, op().replyTag, kBigJobId, op().xmlField, "<x/>");
    Call c;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, op().call(c));
    EXPECT_EQ(kBigJobId, c.jobId);
    EXPECT_EQ("untouched", c.xmlText);
    EXPECT_TRUE(env.logContains(op().startedLine + std::to_string(kBigJobId) + "]", mark));
    auto request = vsdktest::onlyRequest(server(), op().requestTag);
    ASSERT_TRUE(request);
    vsdktest::expectHeader(*request);
    vsdktest::expectSession(*request, {env.mardockName(), "guid-js", false, ""});
}

// A server error sets the job id to -1; a failed exchange or a reply that
// cannot be read is never taken for a started job and leaves it alone.
TEST_P(JobStartTest, FailuresSetTheJobIdOrLeaveItAlone) {
    const auto withJob = [](std::function<void(CNMessageBase&)> spoil) {
        return Action::reply(0, [spoil](const CNMessageBase&, CNMessageBase& reply) {
            msgf::putInt(reply, kReplyJobId, 5);
            spoil(reply);
        });
    };
    const struct {
        const char* name;
        Action action;
        unsigned long code;
        long long jobId;
    } cases[] = {
        {"server error", Action::serverError(0x7d1, "policy not found"), 0x7d1, -1},
        {"error object of another type",
         withJob([](CNMessageBase& r) { msgf::child<QTime>(r, msgf::kReplyError); }), 0x207, 77},
        {"error code that is no number", withJob([](CNMessageBase& r) {
             msgf::putText(msgf::child<QReplyErrorMsg>(r, msgf::kReplyError), msgf::kErrorCode, "1");
         }),
         0x207, 77},
        {"connection closed", Action::noReplyClose(), 0x205, 77},  // last: nothing comes after it
    };
    const std::size_t mark = env.logMark();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        server().script(op().requestTag, k.action, 1);
        Call c;
        c.xmlResult = 1;
        EXPECT_EQ(k.code, op().call(c));
        EXPECT_EQ(k.jobId, c.jobId);
        EXPECT_EQ("untouched", c.xmlText);
        if (k.code == 0x7d1) {
            EXPECT_STREQ("policy not found", VSDKGetLastErrorString());
        }
    }
    const std::string text = op().fixedText ? GetErrorString(0x7d1) : "policy not found";
    EXPECT_TRUE(env.logContains(
        op().failureLine + " failed with Error code [0x7d1] Error string [" + text + "]", mark));
}

TEST_P(JobStartTest, NullPointersAreInvalidArguments) {
    for (bool nullRecord : {true, false}) {
        Call c;
        c.nullRecord = nullRecord;
        c.nullResult = !nullRecord;
        EXPECT_EQ(0x303u, op().call(c));
        EXPECT_EQ(77, c.jobId);
        EXPECT_STREQ("Invalid Argument", VSDKGetLastErrorString());
    }
    EXPECT_EQ(0u, server().requestCount());
}

INSTANTIATE_TEST_SUITE_P(Ops, JobStartTest, ::testing::ValuesIn(jobOps()), opName);

using ReplyTextTest = JobStartTest;

TEST_P(ReplyTextTest, ReplyTextReplacesTheStartedLineWhenAskedFor) {
    vsdktest::replyJobId(server(), op().requestTag, op().replyTag, 42, op().xmlField, "<r id=\"42\"/>");
    Call c;
    c.xmlResult = 5;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, op().call(c));
    EXPECT_EQ(42, c.jobId);
    EXPECT_EQ("<r id=\"42\"/>", c.xmlText);
    EXPECT_TRUE(env.logContains("- [6] Converted XML String:[<r id=\"42\"/>]", mark));
    EXPECT_FALSE(env.logContains(op().startedLine, mark));
    auto request = vsdktest::onlyRequest(server(), op().requestTag);
    ASSERT_TRUE(request);
    vsdktest::expectFields(*request, {{op().xmlFlag, 1}});  // the flag travels as 1
}

INSTANTIATE_TEST_SUITE_P(Ops, ReplyTextTest, ::testing::ValuesIn(opsWithReplyText()), opName);

TEST(JobStartWithoutStartUp, Gives0x280AndNeitherSendsNorLogs) {
    vsdktest::TestEnv env;
    const std::size_t mark = env.logMark();
    for (const JobOp& op : jobOps()) {
        Call c;
        EXPECT_EQ(0x280u, vsdktest::onFreshThread([&] { return op.call(c); })) << op.name;
        EXPECT_EQ(77, c.jobId);
    }
    EXPECT_EQ(0u, env.server().requestCount());
    EXPECT_EQ("", env.logSince(mark));
}

// ---- The bodies of the auxiliary copy, data aging and ERBackup ---------

using JobBodyTest = vsdktest::StartedTest;

TEST_F(JobBodyTest, AuxCopySendsEveryFieldOfItsRecord) {
    _QAuxCopyParameters p;
    p.storagePolicyId = -1, p.retryHours = 13, p.retryNumber = 14, p.selectRecentFull = -15;
    vsdktest::setText(p.storagePolicyName, "SP-gold");
    std::memset(p.copyName, 'c', sizeof p.copyName);  // unterminated: read to its bound
    vsdktest::setText(p.extendedOptions, "<aux/>");
    p.jobDescription = {"aux one", "aux two"};
    long long jobId = 0;
    ASSERT_EQ(0u, VSDKAuxCopy(&p, &jobId));
    auto r = vsdktest::onlyRequest(env.server(), QAuxCopyReqMsg::kTag);
    ASSERT_TRUE(r);
    vsdktest::expectFields(*r, {{kAuxStoragePolicyId, -1}, {kAuxStoragePolicyName, "SP-gold"},
                                {kAuxCopyName, std::string(1024, 'c')}, {kAuxRetryNumber, 14},
                                {kAuxRetryHours, 13}, {kAuxSelectRecentFull, -15},
                                {kAuxExtendedOptions, "<aux/>"}});
    vsdktest::expectTextList(*r, kAuxJobDescription, {"aux one", "aux two"});
    EXPECT_EQ(vsdktest::fieldRange(1, 21), vsdktest::fieldNumbers(*r));
}

TEST_F(JobBodyTest, DataAgingAndERBackupSendEveryFieldOfTheirRecords) {
    _QAgeDataParameters age;
    age.retryHours = 21, age.retryNumber = -22, age.alertId = 23;
    age.jobDescription = {"aging"};
    long long jobId = 0;
    ASSERT_EQ(0u, VSDKAgeData(&age, &jobId));
    auto a = vsdktest::onlyRequest(env.server(), QAgeDataReqMsg::kTag);
    ASSERT_TRUE(a);
    vsdktest::expectFields(*a, {{kAgeRetryNumber, -22}, {kAgeRetryHours, 21}, {kAgeAlertId, 23}});
    vsdktest::expectTextList(*a, kAgeJobDescription, {"aging"});
    EXPECT_EQ(vsdktest::fieldRange(1, 6), vsdktest::fieldNumbers(*a));

    _QERBackupParameters er;
    er.isFullBackup = 1, er.alertId = -33;
    ASSERT_EQ(0u, VSDKERBackup(&er, &jobId));
    auto e = vsdktest::onlyRequest(env.server(), QERBackupReqMsg::kTag);
    ASSERT_TRUE(e);
    // An empty name and an empty description are sent empty.
    vsdktest::expectFields(*e, {{kErFullBackup, 1}, {kErExtendedOptions, ""}, {kErAlertId, -33}});
    vsdktest::expectTextList(*e, kErJobDescription, {});
    EXPECT_EQ(vsdktest::fieldRange(1, 8), vsdktest::fieldNumbers(*e));
}

}  // namespace
