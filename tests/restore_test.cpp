// VSDKRestore and VSDKValidateRestore: the record on the wire, the
// validation's subset, and the dump. What job starters share is in jobstart_test.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <cstring>

namespace {

using namespace OrvaneOperations;
using vsdktest::Expect;
using vsdktest::fieldRange;

std::unique_ptr<_QRestoreParameters> filledRecord() {
    auto p = std::make_unique<_QRestoreParameters>();
    // Filled to its last byte, without a terminating zero: sent up to its bound.
    std::memset(p->entityNames, 'e', sizeof p->entityNames);
    vsdktest::setTexts({{p->destUserPassword, "dest-secret-pw"},
                        {p->prePostUserPassword, "prepost-secret-pw"}});
    p->options = 0x400000000001LL, p->destInstanceId = 31, p->startSuspended = 32;
    p->sqlOptions = 0x123456789LL, p->nasOptions = 0xFFFFFFFFu, p->toTime = vsdktest::timeOf(4);
    p->sourcePaths = {"/src/a", "/src/b"}, p->filterPaths = {"*.tmp"};
    p->jobDescription = {"first line", "second line"};
    std::memset(p->reserved, 0x5A, sizeof p->reserved);
    return p;
}

// The fields a validation carries as well: the first and the last, the
// constant request code, the secrets, a 64-bit value, the lists and a time.
void expectShared(const CNMessageBase& r, const _QRestoreParameters& p) {
    vsdktest::expectFields(r, {{kRestoreEntityNames, std::string(1024, 'e')},
                               {kRestoreDestUserPassword, "dest-secret-pw"},
                               {kRestoreOptions, 0x400000000001LL}, {kRestoreRequestCode, 2},
                               {kRestorePrePostUserPassword, "prepost-secret-pw"},
                               {kRestoreSqlOptions, 0x123456789LL}});
    vsdktest::expectTextList(r, kRestoreSourcePaths, {"/src/a", "/src/b"});
    vsdktest::expectTextList(r, kRestoreFilterPaths, {"*.tmp"});
    vsdktest::expectTime(r, kRestoreToTime, p.toTime);
}

// A restore the server accepts; the request as it arrived.
std::shared_ptr<const CNMessageBase> restore(simserver::SimServer& server, const _QRestoreParameters& p) {
    server.clearJournal();
    _QJobStartInfo result;
    vsdktest::replyJobId(server, QRestoreReqMsg::kTag, QRestoreRespMsg::kTag, 1);
    EXPECT_EQ(0u, VSDKRestore(&p, &result));
    return vsdktest::onlyRequest(server, QRestoreReqMsg::kTag);
}

using RestoreTest = vsdktest::StartedTest;

TEST_F(RestoreTest, RestoreRequestCarriesEveryFieldAndTheCallerIdentity) {
    auto p = filledRecord();
    auto r = restore(env.server(), *p);
    expectShared(*r, *p);
    vsdktest::expectFields(*r, {{kRestoreDestInstanceId, 31}, {kRestoreStartSuspended, 32},
                                {kRestoreNasOptions, 4294967295LL}, {kRestoreXmlResult, 0}});
    vsdktest::expectTextList(*r, kRestoreJobDescription, {"first line", "second line"});
    vsdktest::expectCallerIdentity(*r, kRestoreCallerIdentity);
    EXPECT_EQ(fieldRange(1, 57), vsdktest::fieldNumbers(*r));
    // Neither the dump nor the request logged at level 10 shows a password.
    const std::string log = env.logSince(0);
    EXPECT_NE(std::string::npos, log.find("VSDKRestore() [6] Parameters of the Restore:"));
    EXPECT_NE(std::string::npos, log.find("XML request to VSDK Server"));
    EXPECT_EQ(std::string::npos, log.find("secret-pw"));
    // The unterminated array is dumped to its bound only.
    EXPECT_EQ(0u, p->c_str().find("\nEntity Names:[" + std::string(1024, 'e') + "]\n"));

    // An empty record still sends every field: its lists empty.
    r = restore(env.server(), _QRestoreParameters());
    EXPECT_EQ(fieldRange(1, 57), vsdktest::fieldNumbers(*r));
}

TEST_F(RestoreTest, ValidationSendsExactlyItsSubsetAndReturnsTheServersCode) {
    threadState()->setismultifenmarktoken(true);
    threadState()->setMultifenmarktoken("md-token");
    auto p = filledRecord();
    p->xmlResult = 1;
    ASSERT_EQ(0u, VSDKValidateRestore(p.get()));

    auto outer = vsdktest::onlyRequest(env.server(), QValidateRestoreReqMsg::kTag);
    EXPECT_EQ((std::set<short>{1, 3}), vsdktest::fieldNumbers(*outer));
    const CNMessageBase* inner = vsdktest::objectAt(*outer, kValidateRestoreRequest, QRestoreReqMsg::kTag);
    vsdktest::expectSession(*inner, {env.mardockName(), "", false, ""});
    expectShared(*inner, *p);
    // No destination instance, start-suspended, NAS options, lists, XML flag
    // or caller identity.
    EXPECT_EQ(fieldRange(2, 52, {9, 49}), vsdktest::fieldNumbers(*inner));

    env.server().serverError(QValidateRestoreReqMsg::kTag, 0x6a1, "not valid");
    EXPECT_EQ(0x6a1u, VSDKValidateRestore(p.get()));
    EXPECT_STREQ("not valid", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "- [0] Validation of Restore failed with Error code [0x6a1] Error string [not valid]"));
    EXPECT_EQ(0x303u, VSDKValidateRestore(nullptr));
}

}  // namespace
