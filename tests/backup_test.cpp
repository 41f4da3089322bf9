// VSDKBackup and VSDKValidateBackup: the record on the wire, the validation's
// subset, and the dump. What job starters share is in jobstart_test.
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

// A record whose checked fields hold values of their own; negative and
// unsigned values show how they are widened.
_QBackupParameters sampleRecord() {
    _QBackupParameters p;
    p.instanceScripts.resize(2);
    p.options = 0x40000003, p.clientId = -7, p.mediaStatus = 0x80, p.nasOptions = 0xFFFFFF00u;
    p.alertId = 15, p.qrJobId = 0x123456789ALL, p.transportableSnap = 'T';
    std::memset(p.clientName, 'c', sizeof p.clientName);  // unterminated: read to its bound
    vsdktest::setTexts({{p.storagePolicyName, "SP-1"},
                        {p.instanceScripts[0].instanceName, "orcl1"},
                        {p.instanceScripts[1].instanceName, "orcl2"},
                        {p.instanceScripts[1].scriptName, "s2.rman"}});
    std::memcpy(p.backupDescription, "nightly\0GARBAGE", 15);  // the text ends at its zero
    p.dataPath = {{1, 2}, {3}, {-4}, {5, 6, 7}};
    _QCLArchiveLogParam& a = p.backupArchiveLogParams;
    a.logType = 3, a.olderThan = 4000000000u, a.startTime = vsdktest::timeOf(1);
    a.archiveLogDestinations = {"/arch1", "/arch2"};
    p.deleteArchiveLogParams.logType = 7;
    p.jobDescription = {"line one", "line two"};
    return p;
}

// The fields the backup and its validation both send: the first and the last
// of the body and those with handling of their own.
const std::vector<Expect> kShared = {
    {kBackupKind, 2}, {kBackupOptions, 0x40000003}, {kBackupClientId, -7},
    {kBackupClientName, std::string(1024, 'c')}, {kBackupMediaStatus, 0x80},
    {kBackupDescription, "nightly"}, {kBackupTransportableSnap, "T"},
    {kBackupStoragePolicyName, "SP-1"}, {kBackupQrJobId, 0x123456789ALL},
};

void expectInstanceScripts(const CNMessageBase& request) {
    const std::vector<CNMessageBase>* scripts =
        vsdktest::objectListAt(request, kBackupInstanceScripts);
    ASSERT_EQ(2u, scripts->size());
    EXPECT_EQ(QOracleInstanceScript::kTag, (*scripts)[1].getTagID());
    vsdktest::expectFields((*scripts)[1], {{kScriptInstanceName, "orcl2"}, {kScriptName, "s2.rman"}});
}

class BackupTest : public vsdktest::StartedTest {
protected:
    std::shared_ptr<const CNMessageBase> backup(const _QBackupParameters& p) {
        _QJobStartInfo result;
        vsdktest::replyJobId(env.server(), QBackupInfoMsg::kTag, QBackupRespMsg::kTag, 1);
        EXPECT_EQ(0u, VSDKBackup(&p, &result));
        return vsdktest::onlyRequest(env.server(), QBackupInfoMsg::kTag);
    }
};

TEST_F(BackupTest, SendsEveryFieldOfTheRecord) {
    const _QBackupParameters p = sampleRecord();
    auto r = backup(p);
    vsdktest::expectFields(*r, kShared);
    // The first field only a backup sends, NAS options zero-extended, the last.
    vsdktest::expectFields(*r, {{kBackupAlertId, 15}, {kBackupNasOptions, 0xFFFFFF00LL}});
    vsdktest::expectTextList(*r, kBackupJobDescription, {"line one", "line two"});
    expectInstanceScripts(*r);

    const CNMessageBase* path = vsdktest::objectAt(*r, kBackupDataPath, QBackupDataPathMsg::kTag);
    vsdktest::expectIntList(*path, kDataPathScratchPools, {5, 6, 7});
    const CNMessageBase* logs = vsdktest::expectObject(*r, kBackupArchiveLogs, QArchiveLogParamMsg::kTag,
                                                       {{kArchLogType, 3}, {kArchLogOlderThan, 4000000000LL}});
    vsdktest::expectTime(*logs, kArchLogStartTime, p.backupArchiveLogParams.startTime);
    vsdktest::expectTextList(*logs, kArchLogDestinations, {"/arch1", "/arch2"});
    vsdktest::expectObject(*r, kBackupDeleteArchiveLogs, QArchiveLogParamMsg::kTag, {{kArchLogType, 7}});

    vsdktest::expectCallerIdentity(*r, kBackupCallerIdentity);
    EXPECT_EQ(fieldRange(1, 54, {44}), vsdktest::fieldNumbers(*r));
}

TEST_F(BackupTest, EmptyListsGoOutEmptyAndNoScriptsSendNoScriptList) {
    _QBackupParameters p;  // no scripts, empty lists, a zero character
    auto r = backup(p);
    // A zero "Transportable Snap" character is an empty text, on the wire and in the dump.
    vsdktest::expectFields(*r, {Expect::absent(kBackupInstanceScripts), {kBackupTransportableSnap, ""}});
    vsdktest::expectTextList(*r, kBackupJobDescription, {});
    const CNMessageBase* path = vsdktest::objectAt(*r, kBackupDataPath, QBackupDataPathMsg::kTag);
    vsdktest::expectIntList(*path, kDataPathScratchPools, {});
    EXPECT_NE(std::string::npos, p.c_str().find("Transportable Snap:[]\n"));
}

// The validation sends exactly its subset inside the validate request, stores
// the reply's text and returns its code.
TEST_F(BackupTest, ValidationSendsItsSubsetAndReturnsTheServersCodeAndText) {
    setErrorString("stale text");
    const _QBackupParameters p = sampleRecord();
    ASSERT_EQ(0u, VSDKValidateBackup(&p));
    EXPECT_STREQ("", VSDKGetLastErrorString());  // accepted: the reply's empty text

    auto outer = vsdktest::onlyRequest(env.server(), QValidateBackupInfoMsg::kTag);
    vsdktest::expectHeader(*outer);
    // Its own session object stays empty: the header and the inner request only.
    EXPECT_EQ((std::set<short>{1, 3}), vsdktest::fieldNumbers(*outer));
    const CNMessageBase* inner =
        vsdktest::objectAt(*outer, kValidateBackupRequest, QBackupInfoMsg::kTag);
    vsdktest::expectSession(*inner, {env.mardockName(), "", false, ""});
    vsdktest::expectFields(*inner, kShared);
    expectInstanceScripts(*inner);
    EXPECT_EQ(fieldRange(2, 43, {32}), vsdktest::fieldNumbers(*inner));  // no alert id

    env.server().serverError(QValidateBackupInfoMsg::kTag, 0x1f4, "no such subclient");
    EXPECT_EQ(0x1f4u, VSDKValidateBackup(&p));
    EXPECT_STREQ("no such subclient", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("- [0] Validation of BackupSet failed with Error code [0x1f4] "
                                "Error string [no such subclient]"));
}

// At level 10 the request goes to the log whole, however long, in one line
// and with the session's secret masked.
TEST_F(BackupTest, TheWholeRequestIsLoggedAtLevel10) {
    threadState()->setGuid("guid-not-for-the-log");
    _QBackupParameters p;
    std::memset(p.clientName, 'c', sizeof p.clientName - 1);
    const std::size_t mark = env.logMark();
    backup(p);
    const std::string log = env.logSince(mark);
    const std::string head = "[10] XML request to VSDK Server sent in binary format: [";
    const std::size_t at = log.find(head);
    ASSERT_NE(std::string::npos, at);
    const std::string line = log.substr(at, log.find('\n', at) - at);
    EXPECT_GT(line.size(), head.size() + 4096);
    const std::string end = "</QBackupInfoMsg>]";  // the closing tag ends the line
    EXPECT_EQ(end, line.substr(line.size() - std::min(line.size(), end.size())));
    EXPECT_NE(std::string::npos, line.find(std::string(1023, 'c')));
    EXPECT_NE(std::string::npos, line.find("password=\"****\""));
    EXPECT_EQ(std::string::npos, log.find("guid-not-for-the-log"));
}

}  // namespace
