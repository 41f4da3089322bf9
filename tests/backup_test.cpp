// VSDKBackup and VSDKValidateBackup against the simulated server: what goes
// over the wire, what comes back, and every failure road.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/TestEnv.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace OrvaneOperations;
using vsdktest::setText;

constexpr long long kBigJobId = 0x123456789ALL;  // beyond 32 bits

_QTime timeOf(int unixTime, const char* text, const char* zone, int offset, int ds) {
    _QTime t;
    t.unixTime = unixTime;
    t.startTime = text;
    t.timeZone = zone;
    t.offset = offset;
    t.dsFlags = ds;
    return t;
}

// A record with a distinct value in every field; negative and unsigned
// values show how they are widened.
_QBackupParameters sampleRecord() {
    _QBackupParameters p;
    p.options = 0x40000003;
    p.clientId = -7;
    setText(p.clientName, "client-a");
    p.appTypeId = 29;
    setText(p.appName, "File System");
    p.instanceId = 3;
    setText(p.instanceName, "Instance-x");
    p.backupSetId = 4;
    setText(p.backupSetName, "defaultBackupSet");
    p.subclientId = 5;
    setText(p.subclientName, "sub-1");
    p.taskPriority = 6;
    p.exportLocation = 7;
    p.transitLocation = 8;
    p.useVMS = 9;
    p.mediaStatus = 0x80;
    p.incrementLevel = 11;
    p.cumulative = 12;
    p.qrExecHostId = 13;
    p.qrOptions = 0x8;
    p.nasOptions = 0xFFFFFF00u;
    // Bytes after the terminator are not part of the text.
    std::memcpy(p.backupDescription, "nightly\0GARBAGE", 15);
    p.transportableSnap = 'T';
    setText(p.sourceToDestination, "/a=/b");
    setText(p.extendedOptions, "<ext/>");
    setText(p.entityNames, "entities");
    setText(p.onDemandInputFile, "/tmp/ondemand");
    setText(p.vssImportMap, "vssmap");
    setText(p.vssImportExecHostName, "vsshost");
    p.alertId = 15;
    p.retryHours = 16;
    p.retryNumber = 17;
    setText(p.dataScript, "data.sh");
    setText(p.logScript, "log.sh");
    p.dataStreamCount = 18;
    p.logStreamCount = 19;
    setText(p.connectString, "sys/x@db");
    _QInstanceScript s1, s2;
    setText(s1.instanceName, "orcl1");
    setText(s1.scriptName, "s1.rman");
    setText(s2.instanceName, "orcl2");
    setText(s2.scriptName, "s2.rman");
    p.instanceScripts = {s1, s2};
    setText(p.storagePolicyName, "SP-1");
    p.storagePolicyId = 20;
    p.qrJobId = kBigJobId;
    p.dataPath.mediaAgentIds = {1, 2};
    p.dataPath.libraryIds = {3};
    p.dataPath.drivePoolIds = {-4};
    p.dataPath.scratchPoolIds = {5, 6, 7};
    p.furtherText = "further";
    p.backupArchiveLogParams.logType = 3;
    p.backupArchiveLogParams.olderThan = 4000000000u;
    p.backupArchiveLogParams.notOlderThan = 2;
    p.backupArchiveLogParams.startTime = timeOf(-1, "start", "UTC", -300, 1);
    p.backupArchiveLogParams.endTime = timeOf(1700000000, "end", "CET", 60, 0);
    p.backupArchiveLogParams.instanceLog = 1;
    p.backupArchiveLogParams.startLSN = -10;
    p.backupArchiveLogParams.endLSN = 10;
    p.backupArchiveLogParams.startSCN = 20;
    p.backupArchiveLogParams.endSCN = 30;
    p.backupArchiveLogParams.deleteArchiveLogFiles = 1;
    p.backupArchiveLogParams.archiveLogSelected = 1;
    setText(p.backupArchiveLogParams.likeExpression, "arch%");
    p.backupArchiveLogParams.archiveLogDestinations = {"/arch1", "/arch2"};
    p.deleteArchiveLogParams.logType = 7;
    p.rmanDiskRatio = 21;
    p.corruptionThreshold = -22;
    p.jobDescription = {"line one", "line two"};
    p.xmlResult = 0;
    return p;
}

// Fields of the record both the backup and its validation send.
std::vector<vsdktest::IntField> sharedInts() {
    return {
        {"kind", kBackupKind, 2},
        {"Options", kBackupOptions, 0x40000003},
        {"Client ID", kBackupClientId, -7},
        {"Application ID", kBackupAppTypeId, 29},
        {"instance ID", kBackupInstanceId, 3},
        {"BackupSet ID", kBackupSetId, 4},
        {"SubClient ID", kBackupSubclientId, 5},
        {"Task Priority", kBackupTaskPriority, 6},
        {"Export Location", kBackupExportLocation, 7},
        {"Transit Location", kBackupTransitLocation, 8},
        {"Use VMS", kBackupUseVMS, 9},
        {"Media Status", kBackupMediaStatus, 0x80},
        {"Increment Level", kBackupIncrementLevel, 11},
        {"Cumulative", kBackupCumulative, 12},
        {"QR Exec Host ID", kBackupQrExecHostId, 13},
        {"QR Options", kBackupQrOptions, 0x8},
        {"Retry Hours", kBackupRetryHours, 16},
        {"Retry No", kBackupRetryNumber, 17},
        {"Data Stream Count", kBackupDataStreamCount, 18},
        {"Log Stream Count", kBackupLogStreamCount, 19},
        {"Storage Policy Id", kBackupStoragePolicyId, 20},
        {"QR Job Id", kBackupQrJobId, kBigJobId},
    };
}

std::vector<vsdktest::TextField> sharedTexts() {
    return {
        {"Client Name", kBackupClientName, "client-a"},
        {"Appmodule Name", kBackupAppName, "File System"},
        {"Instance NAme", kBackupInstanceName, "Instance-x"},
        {"BackupSet Name", kBackupSetName, "defaultBackupSet"},
        {"SubClient Name", kBackupSubclientName, "sub-1"},
        {"Backup Description", kBackupDescription, "nightly"},
        {"Transportable Snap", kBackupTransportableSnap, "T"},
        {"Source to Destination", kBackupSourceToDestination, "/a=/b"},
        {"extended options", kBackupExtendedOptions, "<ext/>"},
        {"Entity Names", kBackupEntityNames, "entities"},
        {"On Demand input Fie", kBackupOnDemandInputFile, "/tmp/ondemand"},
        {"VSS Import Map", kBackupVssImportMap, "vssmap"},
        {"VSS Import Exec Host Name", kBackupVssImportExecHost, "vsshost"},
        {"Data Script", kBackupDataScript, "data.sh"},
        {"Log Script", kBackupLogScript, "log.sh"},
        {"Connect String", kBackupConnectString, "sys/x@db"},
        {"Storage Policy", kBackupStoragePolicyName, "SP-1"},
    };
}

void expectInstanceScripts(const CNMessageBase& request) {
    const std::vector<CNMessageBase>* scripts =
        vsdktest::objectListAt(request, kBackupInstanceScripts);
    ASSERT_NE(nullptr, scripts);
    ASSERT_EQ(2u, scripts->size());
    const char* names[2][2] = {{"orcl1", "s1.rman"}, {"orcl2", "s2.rman"}};
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE("instance script " + std::to_string(i));
        EXPECT_EQ(QOracleInstanceScript::kTag, (*scripts)[i].getTagID());
        vsdktest::expectTexts((*scripts)[i], {{"instance", kScriptInstanceName, names[i][0]},
                                              {"script", kScriptName, names[i][1]}});
    }
}

void expectTime(const CNMessageBase& owner, FieldId field, const _QTime& t) {
    const CNMessageBase* time = vsdktest::objectAt(owner, field, QTime::kTag);
    ASSERT_NE(nullptr, time);
    vsdktest::expectInts(*time, {{"unix", msgf::kTimeUnix, t.unixTime},
                                 {"offset", msgf::kTimeOffset, t.offset},
                                 {"ds", msgf::kTimeDsFlags, t.dsFlags}});
    vsdktest::expectTexts(*time, {{"start", msgf::kTimeStart, t.startTime},
                                  {"zone", msgf::kTimeZone, t.timeZone}});
}

void expectArchiveLogs(const CNMessageBase& request, FieldId field, const _QCLArchiveLogParam& a) {
    const CNMessageBase* o = vsdktest::objectAt(request, field, QArchiveLogParamMsg::kTag);
    ASSERT_NE(nullptr, o);
    vsdktest::expectInts(*o, {
                                 {"type", kArchLogType, a.logType},
                                 {"older than", kArchLogOlderThan, a.olderThan},
                                 {"not older than", kArchLogNotOlderThan, a.notOlderThan},
                                 {"instance log", kArchLogInstanceLog, a.instanceLog},
                                 {"start LSN", kArchLogStartLSN, a.startLSN},
                                 {"end LSN", kArchLogEndLSN, a.endLSN},
                                 {"start SCN", kArchLogStartSCN, a.startSCN},
                                 {"end SCN", kArchLogEndSCN, a.endSCN},
                                 {"delete files", kArchLogDeleteFiles, a.deleteArchiveLogFiles},
                                 {"selected", kArchLogSelected, a.archiveLogSelected},
                             });
    vsdktest::expectTexts(*o, {{"like", kArchLogLikeExpression,
                                msgf::boundedText(a.likeExpression)}});
    vsdktest::expectTextList(*o, kArchLogDestinations, a.archiveLogDestinations);
    expectTime(*o, kArchLogStartTime, a.startTime);
    expectTime(*o, kArchLogEndTime, a.endTime);
}

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, env.initThread()); }
    void TearDown() override { VSDKDeInitialize(); }

    simserver::SimServer& server() { return env.server(); }

    // The reply to the next backup carries this job id (and XML text).
    void replyJob(long long jobId, const std::string& xml = std::string()) {
        server().replyWith(QBackupInfoMsg::kTag, QBackupRespMsg::kTag,
                           [jobId, xml](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putInt(reply, kReplyJobId, jobId);
                               if (!xml.empty()) msgf::putText(reply, kBackupRespXml, xml);
                           });
    }

    vsdktest::TestEnv env;
};

TEST_F(BackupTest, SendsEveryFieldOfTheRecord) {
    VSDKAPIGlobalData* state = threadState();
    ASSERT_NE(nullptr, state);
    state->setGuid("guid-123");
    // A multi-domain token is never sent by the backup.
    state->setismultifenmarktoken(true);
    state->setMultifenmarktoken("saml-token");

    const _QBackupParameters p = sampleRecord();
    _QJobStartInfo result;
    ASSERT_EQ(0u, VSDKBackup(&p, &result));

    auto request = vsdktest::onlyRequest(server(), QBackupInfoMsg::kTag);
    ASSERT_TRUE(request);
    vsdktest::expectHeader(*request);
    vsdktest::expectSession(*request, {env.mardockName(), "guid-123", false, ""});
    vsdktest::expectInts(*request, sharedInts());
    vsdktest::expectTexts(*request, sharedTexts());
    vsdktest::expectInts(*request, {
                                       {"Alert Id", kBackupAlertId, 15},
                                       {"NAS Options", kBackupNasOptions, 0xFFFFFF00LL},
                                       {"XML flag", kBackupXmlResult, 0},
                                       {"RMAN Disk Ratio", kBackupRmanDiskRatio, 21},
                                       {"Corruption Threshold", kBackupCorruptionThreshold, -22},
                                   });
    vsdktest::expectTexts(*request, {{"further text", kBackupFurtherText, "further"}});
    vsdktest::expectTextList(*request, kBackupJobDescription, {"line one", "line two"});
    expectInstanceScripts(*request);

    const CNMessageBase* path = vsdktest::objectAt(*request, kBackupDataPath, QBackupDataPathMsg::kTag);
    ASSERT_NE(nullptr, path);
    vsdktest::expectIntList(*path, kDataPathMediaAgents, {1, 2});
    vsdktest::expectIntList(*path, kDataPathLibraries, {3});
    vsdktest::expectIntList(*path, kDataPathDrivePools, {-4});
    vsdktest::expectIntList(*path, kDataPathScratchPools, {5, 6, 7});

    expectArchiveLogs(*request, kBackupArchiveLogs, p.backupArchiveLogParams);
    expectArchiveLogs(*request, kBackupDeleteArchiveLogs, p.deleteArchiveLogParams);
    vsdktest::expectCallerIdentity(*request, kBackupCallerIdentity);

    // Nothing beyond: header, session, and the 51 body fields.
    std::set<short> expected{1, 2};
    for (short n = 3; n <= 54; ++n) expected.insert(n);
    expected.erase(44);
    EXPECT_EQ(expected, vsdktest::fieldNumbers(*request));
}

TEST_F(BackupTest, XmlFlagIsSentAsOneOrZero) {
    for (int flag : {0, 5, -1}) {
        SCOPED_TRACE(flag);
        server().clearJournal();
        _QBackupParameters p = sampleRecord();
        p.xmlResult = flag;
        _QJobStartInfo result;
        ASSERT_EQ(0u, VSDKBackup(&p, &result));
        auto request = vsdktest::onlyRequest(server(), QBackupInfoMsg::kTag);
        ASSERT_TRUE(request);
        vsdktest::expectInts(*request, {{"XML flag", kBackupXmlResult, flag != 0 ? 1 : 0}});
    }
}

TEST_F(BackupTest, EmptyListsAreSentEmptyAndNoScriptsSendsNoScriptList) {
    _QBackupParameters p = sampleRecord();
    p.instanceScripts.clear();
    p.dataPath = _QDataPathInfo();
    p.jobDescription.clear();
    p.transportableSnap = 0;
    _QJobStartInfo result;
    ASSERT_EQ(0u, VSDKBackup(&p, &result));
    auto request = vsdktest::onlyRequest(server(), QBackupInfoMsg::kTag);
    ASSERT_TRUE(request);
    EXPECT_FALSE(msgf::has(*request, kBackupInstanceScripts));
    vsdktest::expectTextList(*request, kBackupJobDescription, {});
    const CNMessageBase* path = vsdktest::objectAt(*request, kBackupDataPath, QBackupDataPathMsg::kTag);
    ASSERT_NE(nullptr, path);
    for (FieldId f : {kDataPathMediaAgents, kDataPathLibraries, kDataPathDrivePools,
                      kDataPathScratchPools}) {
        vsdktest::expectIntList(*path, f, {});
    }
    // A zero "Transportable Snap" character is an empty text.
    vsdktest::expectTexts(*request, {{"Transportable Snap", kBackupTransportableSnap, ""}});
}

TEST_F(BackupTest, UnterminatedArraysAreReadToTheirBoundOnly) {
    _QBackupParameters p = sampleRecord();
    std::memset(p.clientName, 'c', sizeof p.clientName);
    std::memset(p.backupDescription, 'd', sizeof p.backupDescription);
    std::memset(p.storagePolicyName, 's', sizeof p.storagePolicyName);
    std::memset(p.backupArchiveLogParams.likeExpression, 'l',
                sizeof p.backupArchiveLogParams.likeExpression);
    std::memset(p.instanceScripts[0].scriptName, 'x', sizeof p.instanceScripts[0].scriptName);
    _QJobStartInfo result;
    ASSERT_EQ(0u, VSDKBackup(&p, &result));
    auto request = vsdktest::onlyRequest(server(), QBackupInfoMsg::kTag);
    ASSERT_TRUE(request);
    vsdktest::expectTexts(*request, {
                                        {"Client Name", kBackupClientName, std::string(1024, 'c')},
                                        {"Backup Description", kBackupDescription,
                                         std::string(1024, 'd')},
                                        {"Storage Policy", kBackupStoragePolicyName,
                                         std::string(1024, 's')},
                                    });
    const CNMessageBase* logs =
        vsdktest::objectAt(*request, kBackupArchiveLogs, QArchiveLogParamMsg::kTag);
    ASSERT_NE(nullptr, logs);
    vsdktest::expectTexts(*logs, {{"like", kArchLogLikeExpression, std::string(1024, 'l')}});
    // The dump reads the same arrays.
    EXPECT_NE(std::string::npos, p.c_str().find("Client Name:[" + std::string(1024, 'c') + "]\n"));
}

TEST_F(BackupTest, ReturnsTheSixtyFourBitJobId) {
    replyJob(kBigJobId);
    const _QBackupParameters p = sampleRecord();
    _QJobStartInfo result;
    result.xmlText = "untouched";
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKBackup(&p, &result));
    EXPECT_EQ(kBigJobId, result.jobId);
    EXPECT_EQ("untouched", result.xmlText);
    EXPECT_TRUE(env.logContains("Backup started with JobId:[" + std::to_string(kBigJobId) + "]",
                                mark));
    EXPECT_TRUE(env.logContains("Parameters of the Backup Operation:" + p.c_str(), mark));
    EXPECT_FALSE(env.logContains("Converted XML String", mark));
}

TEST_F(BackupTest, ReturnsTheReplyTextWhenAsked) {
    replyJob(42, "<reply job=\"42\"/>");
    _QBackupParameters p = sampleRecord();
    p.xmlResult = 1;
    _QJobStartInfo result;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKBackup(&p, &result));
    EXPECT_EQ(42, result.jobId);
    EXPECT_EQ("<reply job=\"42\"/>", result.xmlText);
    EXPECT_TRUE(env.logContains("Converted XML String:[<reply job=\"42\"/>]", mark));
    EXPECT_FALSE(env.logContains("Backup started with JobId", mark));
}

TEST_F(BackupTest, ServerErrorSetsJobIdToMinusOne) {
    server().serverError(QBackupInfoMsg::kTag, 0x50d, "subclient is busy");
    _QBackupParameters p = sampleRecord();
    p.xmlResult = 1;
    _QJobStartInfo result;
    result.jobId = 77;
    result.xmlText = "untouched";
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x50du, VSDKBackup(&p, &result));
    EXPECT_EQ(-1, result.jobId);
    EXPECT_EQ("untouched", result.xmlText);
    EXPECT_STREQ("subclient is busy", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "Backup failed with Error code [0x50d] Error string [subclient is busy]", mark));
}

TEST_F(BackupTest, FailedExchangeLeavesTheResultAlone) {
    server().script(QBackupInfoMsg::kTag, simserver::Action::noReplyClose());
    const _QBackupParameters p = sampleRecord();
    _QJobStartInfo result;
    result.jobId = 77;
    result.xmlText = "untouched";
    const unsigned long rc = VSDKBackup(&p, &result);
    EXPECT_EQ(0x205u, rc);
    EXPECT_EQ(77, result.jobId);
    EXPECT_EQ("untouched", result.xmlText);
}

TEST_F(BackupTest, NullPointersAreInvalidArguments) {
    const _QBackupParameters p = sampleRecord();
    _QJobStartInfo result;
    result.jobId = 77;
    struct Case {
        const char* name;
        const _QBackupParameters* params;
        _QJobStartInfo* result;
    };
    for (const Case& c : {Case{"null record", nullptr, &result},
                          Case{"null result", &p, nullptr}, Case{"both null", nullptr, nullptr}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(0x303u, VSDKBackup(c.params, c.result));
        EXPECT_STREQ("Invalid Argument", VSDKGetLastErrorString());
    }
    EXPECT_EQ(0x303u, VSDKValidateBackup(nullptr));
    EXPECT_STREQ("Invalid Argument", VSDKGetLastErrorString());
    EXPECT_EQ(77, result.jobId);
    EXPECT_EQ(0u, server().requestCount());
}

TEST(BackupWithoutStartUp, ReturnsNotInitialisedAndSendsNothing) {
    vsdktest::TestEnv env;
    const _QBackupParameters p = sampleRecord();
    _QJobStartInfo result;
    result.jobId = 77;
    unsigned long backupRc = 0, validateRc = 0;
    const std::size_t mark = env.logMark();
    std::thread([&] {
        backupRc = VSDKBackup(&p, &result);
        validateRc = VSDKValidateBackup(&p);
    }).join();
    EXPECT_EQ(0x280u, backupRc);
    EXPECT_EQ(0x280u, validateRc);
    EXPECT_EQ(77, result.jobId);
    EXPECT_EQ(0u, env.server().requestCount());
    EXPECT_EQ("", env.logSince(mark));
}

// ---- Validation --------------------------------------------------------

TEST_F(BackupTest, ValidationSendsExactlyItsSubsetInsideTheValidateRequest) {
    VSDKAPIGlobalData* state = threadState();
    ASSERT_NE(nullptr, state);
    state->setGuid("guid-v");
    const _QBackupParameters p = sampleRecord();
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKValidateBackup(&p));
    EXPECT_FALSE(env.logContains("Parameters of the Backup Operation", mark));

    auto outer = vsdktest::onlyRequest(server(), QValidateBackupInfoMsg::kTag);
    ASSERT_TRUE(outer);
    vsdktest::expectHeader(*outer);
    // Its own session object stays empty: only the header and the inner request.
    EXPECT_EQ((std::set<short>{1, 3}), vsdktest::fieldNumbers(*outer));
    const CNMessageBase* inner =
        vsdktest::objectAt(*outer, kValidateBackupRequest, QBackupInfoMsg::kTag);
    ASSERT_NE(nullptr, inner);

    vsdktest::expectSession(*inner, {env.mardockName(), "guid-v", false, ""});
    vsdktest::expectInts(*inner, sharedInts());
    vsdktest::expectTexts(*inner, sharedTexts());
    expectInstanceScripts(*inner);

    std::set<short> expected{2};
    for (short n = 3; n <= 43; ++n) expected.insert(n);
    expected.erase(32);  // no alert id
    EXPECT_EQ(expected, vsdktest::fieldNumbers(*inner));
    EXPECT_EQ(0u, server().requestCount(QBackupInfoMsg::kTag));
}

TEST_F(BackupTest, AcceptedValidationStoresTheReplyTextAsLastError) {
    setErrorString("stale text");
    server().replyWith(QValidateBackupInfoMsg::kTag, QValidateBackupRespMsg::kTag,
                       [](const CNMessageBase&, CNMessageBase& reply) {
                           CNMessageBase& error = msgf::child<QReplyErrorMsg>(reply, msgf::kReplyError);
                           msgf::putInt(error, msgf::kErrorCode, 0);
                           msgf::putText(error, msgf::kErrorText, "");
                       });
    const _QBackupParameters p = sampleRecord();
    EXPECT_EQ(0u, VSDKValidateBackup(&p));
    EXPECT_STREQ("", VSDKGetLastErrorString());
}

TEST_F(BackupTest, RefusedValidationReturnsTheServerCode) {
    server().serverError(QValidateBackupInfoMsg::kTag, 0x1f4, "no such subclient");
    const _QBackupParameters p = sampleRecord();
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x1f4u, VSDKValidateBackup(&p));
    EXPECT_STREQ("no such subclient", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "Validation of BackupSet failed with Error code [0x1f4] Error string [no such subclient]",
        mark));
}

TEST_F(BackupTest, FailedValidationExchangeReturnsItsCode) {
    server().script(QValidateBackupInfoMsg::kTag, simserver::Action::noReplyClose());
    const _QBackupParameters p = sampleRecord();
    EXPECT_EQ(0x205u, VSDKValidateBackup(&p));
}

// ---- Text dumps --------------------------------------------------------

TEST(BackupDump, ArchiveLogSelectionDump) {
    _QCLArchiveLogParam a;
    a.logType = 1;
    a.olderThan = 4000000000u;
    a.notOlderThan = 3;
    a.startLSN = -5;
    setText(a.likeExpression, "arc%");
    a.archiveLogDestinations = {"/d1", "/d2"};
    const std::string expected = "\nBackupArchive Log Type:[1]\n"
                                 "Older Than :[4000000000 days]\n"
                                 "Not Older Than:[3days]\n"
                                 "Start Time:[" + a.startTime.c_str() + "]\n"
                                 "End Time:[" + a.endTime.c_str() + "]\n"
                                 "Instance Log:[0]\n"
                                 "Start LSN:[-5]\n"
                                 "End LSN:[0]\n"
                                 "Start SCN:[0]\n"
                                 "End SCN:[0]\n"
                                 "Delete Backup Archive Log Files:[0]\n"
                                 "Archive Log Selected:[0]\n"
                                 "Like Expression:[arc%]\n"
                                 "Archive Log Destination:[/d1 /d2 ]\n";
    EXPECT_EQ(expected, a.c_str());
}

TEST(BackupDump, BackupRecordDumpLines) {
    _QBackupParameters p = sampleRecord();
    const std::string dump = p.c_str();
    struct Piece {
        const char* text;
    };
    const Piece pieces[] = {
        {"\nOptions:[1073741827]\nClient ID:[-7]\nClient Name:[client-a]\n"},
        {"Application ID:[29]\nAppmodule Name:[File System]\n"},
        {"NAS Options:[4294967040]\nBackup Description:[nightly]\nTransportable Snap:[T]\n"
         "Source to Destination:/a=/b]\nEntity Names:[entities]\n"},
        {"Connect String:[sys/x@db]\nInstance scripts:\nInstance Name:[orcl1],Script Name:[s1.rman] "
         "\nInstance Name:[orcl2],Script Name:[s2.rman] \nStorage Policy:[SP-1]\n"},
        {"QR Job Id:[78187493530]\nDataPath Param:\nMedia Agent Id List:[1 2 ]\n"
         "Library Id List:[3 ]\nDrive Pool Id List:[-4 ]\nScratch Pool Id List:[5 6 7 ]"
         "Backup Archive Log Params:\nBackupArchive Log Type:[3]\n"},
        {"Delete Archive Log Params:\nBackupArchive Log Type:[7]\n"},
        {"RMAN Disk Ratio:[21]\nCorruption Threshold:[-22]\nJob Description:[line one\nline two\n]"},
    };
    for (const Piece& piece : pieces) {
        EXPECT_NE(std::string::npos, dump.find(piece.text)) << piece.text;
    }
    EXPECT_EQ(']', dump.back());
    // The extended options and the further text have no line.
    EXPECT_EQ(std::string::npos, dump.find("<ext/>"));
    EXPECT_EQ(std::string::npos, dump.find("further"));

    p.transportableSnap = 0;
    EXPECT_NE(std::string::npos, p.c_str().find("Transportable Snap:[]\n"));
}

}  // namespace
