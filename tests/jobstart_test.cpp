// What the seven job-starting operations share, run over each of them, then
// the request bodies of the auxiliary copy, data aging and ERBackup.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <cstring>

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
    std::string failureLine;  // "<function> [0] <phrase>"
    bool fixedText;           // the failure line shows the code's fixed text
    FieldId xmlFlag;          // number 0: no reply text to ask for
    FieldId xmlField;
    std::function<unsigned long(Call&)> call;
};

const std::vector<JobOp>& jobOps() {
    static const std::vector<JobOp> ops{
        {"Backup", QBackupInfoMsg::kTag, QBackupRespMsg::kTag, "- [0] Backup", false, kBackupXmlResult,
         kBackupRespXml, [](Call& c) { return byPointers<_QBackupParameters>(c, VSDKBackup); }},
        {"Restore", QRestoreReqMsg::kTag, QRestoreRespMsg::kTag, "VSDKRestore() [0] Restore", false,
         kRestoreXmlResult, kRestoreRespXml,
         [](Call& c) { return byPointers<_QRestoreParameters>(c, VSDKRestore); }},
        {"DBRestore", QDBRestoreReqMsg::kTag, QRestoreRespMsg::kTag,
         "VSDKDBRestore() [0] Restoration of Database", true, dbrestore::kXmlResult, kRestoreRespXml,
         [](Call& c) {
             return byPointers<_QDBRestoreParameters>(
                 c, VSDKDBRestore, [](_QDBRestoreParameters& p) { p.appTypeId = 2; });  // Oracle
         }},
        {"SearchRestore", QSearchRestoreReqMsg::kTag, QRestoreRespMsg::kTag,
         "VSDKSearchRestore() [0] Restore by search", false, {0, 0, 0}, {0, 0, 0},
         [](Call& c) {
             // Its "null record" is a null item array with a count.
             return VSDKSearchRestore(_QRestoreParametersSTLless{}, nullptr, c.nullRecord ? 1 : 0,
                                      c.nullResult ? nullptr : &c.jobId);
         }},
        {"AuxCopy", QAuxCopyReqMsg::kTag, QAuxCopyRespMsg::kTag, "VSDKAuxCopy() [0] Creation of AuxCopy",
         false, {0, 0, 0}, {0, 0, 0}, [](Call& c) { return withJobId(c, VSDKAuxCopy); }},
        {"AgeData", QAgeDataReqMsg::kTag, QAgeDataRespMsg::kTag, "VSDKAgeData() [0] Age Data", false,
         {0, 0, 0}, {0, 0, 0}, [](Call& c) { return withJobId(c, VSDKAgeData); }},
        {"ERBackup", QERBackupReqMsg::kTag, QERBackupRespMsg::kTag, "VSDKERBackup() [0] ERBackup", false,
         {0, 0, 0}, {0, 0, 0}, [](Call& c) { return withJobId(c, VSDKERBackup); }},
    };
    return ops;
}

std::string opName(const ::testing::TestParamInfo<JobOp>& info) { return info.param.name; }

class JobStartTest : public vsdktest::StartedTest, public ::testing::WithParamInterface<JobOp> {
protected:
    const JobOp& op() const { return GetParam(); }
    simserver::SimServer& server() { return env.server(); }
};

TEST_P(JobStartTest, SendsTheSessionWithoutTheTokenAndReturnsTheSixtyFourBitJobId) {
    threadState()->setGuid("guid-js");
    threadState()->setismultifenmarktoken(true);
    threadState()->setMultifenmarktoken("md-token");
    // A reply text longer than a failure line quotes.
    const std::string xml = "<x v=\"" + std::string(5000, 'p') + "\"/>";
    vsdktest::replyJobId(server(), op().requestTag, op().replyTag, kBigJobId, op().xmlField, xml);
    Call c;
    ASSERT_EQ(0u, op().call(c));
    EXPECT_EQ(kBigJobId, c.jobId);
    EXPECT_EQ("untouched", c.xmlText);
    auto request = vsdktest::onlyRequest(server(), op().requestTag);
    vsdktest::expectSession(*request, {env.mardockName(), "guid-js", false, ""});
    if (op().xmlFlag.number == 0) return;

    // Asked for, the reply's text comes back as well; the flag travels as 1.
    // The reply at level 10 and the text at level 6 are logged whole.
    server().clearJournal();
    c.xmlResult = 5;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, op().call(c));
    EXPECT_EQ(xml, c.xmlText);
    vsdktest::expectSent(server(), op().requestTag, {{op().xmlFlag, 1}});
    const std::string log = env.logSince(mark);
    EXPECT_NE(std::string::npos, log.find("Converted XML String:[" + xml + "]"));
    const std::size_t reply = log.find("XML response from VSDK Server received in binary format: [");
    ASSERT_NE(std::string::npos, reply);
    const std::string line = log.substr(reply, log.find('\n', reply) - reply);
    EXPECT_NE(std::string::npos, line.find(std::string(5000, 'p')));
    EXPECT_EQ(std::string::npos, line.find("more bytes]"));
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
        {"error code at a slot of its own", withJob([](CNMessageBase& r) {
             CNMessageBase& error = msgf::child<QReplyErrorMsg>(r, msgf::kReplyError);
             msgf::putInt(error, FieldId{msgf::kErrorCode.number, 9, msgf::kErrorCode.hash}, 0x7d1);
         }),
         0x207, 77},
        {"no job id", Action::reply(0), 0x207, 77},
        {"connection closed", Action::noReplyClose(), 0x205, 77},  // last: nothing comes after it
    };
    const std::size_t mark = env.logMark();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        server().script(op().requestTag, k.action, 1);
        Call c;
        c.xmlResult = 1;
        const std::size_t callMark = env.logMark();
        EXPECT_EQ(k.code, op().call(c));
        EXPECT_EQ(k.jobId, c.jobId);
        EXPECT_EQ("untouched", c.xmlText);
        if (k.code == 0x7d1) {
            EXPECT_STREQ("policy not found", VSDKGetLastErrorString());
        }
        if (k.code == 0x207) {  // whatever is malformed: the fixed text and the operation's line
            EXPECT_STREQ(GetErrorString(0x207), VSDKGetLastErrorString());
            EXPECT_TRUE(env.logContains(op().failureLine + " failed with Error code [0x207]", callMark));
        }
    }
    const std::string text = op().fixedText ? GetErrorString(0x7d1) : "policy not found";
    EXPECT_TRUE(env.logContains(
        op().failureLine + " failed with Error code [0x7d1] Error string [" + text + "]", mark));
}

// The bundled server, left to itself, starts a new job each time.
TEST_P(JobStartTest, TheServersOwnAnswerNamesANewJob) {
    Call first, second;
    ASSERT_EQ(0u, op().call(first));
    ASSERT_EQ(0u, op().call(second));
    EXPECT_TRUE(first.jobId > 0 && second.jobId > first.jobId) << first.jobId << " " << second.jobId;
}

// Without start-up: 0x280 and nothing logged; a null pointer: 0x303. Nothing is sent.
TEST_P(JobStartTest, NoStateAndNullPointersAreRefusedUnsent) {
    Call none;
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x280u, vsdktest::onFreshThread([&] { return op().call(none); }));
    EXPECT_EQ(77, none.jobId);
    EXPECT_EQ("", env.logSince(mark));
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

// ---- The bodies of the auxiliary copy, data aging and ERBackup ---------

using JobBodyTest = vsdktest::StartedTest;

// The first and last fields, a text read to its bound, the description list
// (an empty one goes out empty) and the whole set of fields.
TEST_F(JobBodyTest, AuxCopyDataAgingAndERBackupSendTheirRecords) {
    _QAuxCopyParameters aux;
    aux.storagePolicyId = -1;
    std::memset(aux.copyName, 'c', sizeof aux.copyName);  // unterminated: read to its bound
    vsdktest::setText(aux.extendedOptions, "<aux/>");
    aux.jobDescription = {"aux one", "aux two"};
    _QAgeDataParameters age;
    age.retryNumber = -22;
    age.jobDescription = {"aging"};
    _QERBackupParameters er;
    er.isFullBackup = 1;
    long long jobId = 0;
    for (const JobOp& op : jobOps()) vsdktest::replyJobId(env.server(), op.requestTag, op.replyTag, 1);
    ASSERT_EQ(0u, VSDKAuxCopy(&aux, &jobId));
    ASSERT_EQ(0u, VSDKAgeData(&age, &jobId));
    ASSERT_EQ(0u, VSDKERBackup(&er, &jobId));
    const struct {
        unsigned long tag;
        std::vector<vsdktest::Expect> fields;
        FieldId list;
        std::vector<std::string> listed;
        short lastField;
    } cases[] = {
        {QAuxCopyReqMsg::kTag,
         {{kAuxStoragePolicyId, -1}, {kAuxCopyName, std::string(1024, 'c')}, {kAuxExtendedOptions, "<aux/>"}},
         kAuxJobDescription, {"aux one", "aux two"}, 21},
        {QAgeDataReqMsg::kTag, {{kAgeRetryNumber, -22}}, kAgeJobDescription, {"aging"}, 6},
        {QERBackupReqMsg::kTag, {{kErFullBackup, 1}, {kErExtendedOptions, ""}}, kErJobDescription, {}, 8},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.tag);
        auto r = vsdktest::expectSent(env.server(), k.tag, k.fields);
        vsdktest::expectTextList(*r, k.list, k.listed);
        EXPECT_EQ(vsdktest::fieldRange(1, k.lastField), vsdktest::fieldNumbers(*r));
    }
}

}  // namespace
