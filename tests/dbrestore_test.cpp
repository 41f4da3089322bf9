// VSDKDBRestore against the simulated server: the dispatch by application
// type, each engine's option object as it crossed the wire, the text dumps in
// the debug log, and the result on success, server error and refusal.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "support/TestEnv.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace vsdktest;

namespace {

// Wire identities, written out as the server knows them.
constexpr unsigned long kRequestTag = 0x0500001D;
constexpr unsigned long kReplyTag = 0x0500001E;
constexpr unsigned long kSqlTag = 0x05000018;
constexpr unsigned long kInformixTag = 0x05000019;
constexpr unsigned long kDb2Tag = 0x0500001A;
constexpr unsigned long kOracleTag = 0x0500001B;
constexpr unsigned long kSqlDbTag = 0x05000015;
constexpr unsigned long kSqlPhysicalFileTag = 0x05000016;
constexpr unsigned long kSqlFileTag = 0x05000017;
constexpr unsigned long kTimeTag = 0x05000004;

constexpr FieldId kSqlObject{27, 57, 0xF0DCF0};
constexpr FieldId kInformixObject{28, 58, 0x00F526};
constexpr FieldId kDb2Object{29, 59, 0x9C908A};
constexpr FieldId kOracleObject{30, 60, 0x6E9740};
constexpr FieldId kSqlUnlabelledList{13, 19, 0x780CD7};

constexpr FieldId kReplyJobId{3, 3, 0x09A9B8};
constexpr FieldId kReplyXml{5, 5, 0x038D25};

// A time value whose five fields all differ from those of other seeds.
_QTime timeOf(int seed) {
    _QTime t;
    t.unixTime = -1000 - seed;
    t.startTime = "start" + std::to_string(seed);
    t.timeZone = "zone" + std::to_string(seed);
    t.offset = -60 * seed;
    t.dsFlags = seed + 1;
    return t;
}

void expectTime(const CNMessageBase& m, const char* name, FieldId field, const _QTime& t) {
    SCOPED_TRACE(name);
    const CNMessageBase* time = objectAt(m, field, kTimeTag);
    ASSERT_NE(nullptr, time);
    expectInts(*time, {{"unix", FieldId{1, 1, 0xC69C75}, t.unixTime},
                       {"offset", FieldId{4, 10, 0x376493}, t.offset},
                       {"ds flags", FieldId{5, 11, 0xFC6358}, t.dsFlags}});
    expectTexts(*time, {{"start", FieldId{2, 2, 0xCD049E}, t.startTime},
                        {"zone", FieldId{3, 6, 0x30BC19}, t.timeZone}});
}

std::set<short> range(short from, short to, std::set<short> except = {}) {
    std::set<short> out;
    for (short n = from; n <= to; ++n) {
        if (!except.count(n)) out.insert(n);
    }
    return out;
}

// A record with every field set to a value of its own.
std::unique_ptr<_QDBRestoreParameters> filledRecord(int appType) {
    auto p = std::make_unique<_QDBRestoreParameters>();
    setText(p->preCmd, "pre.sh");
    setText(p->postCmd, "post.sh");
    setText(p->prePostUserName, "runner");
    setText(p->prePostPassword, "PREPOST-SECRET");
    p->mediaAgentId = 11;
    p->drivePoolId = 12;
    p->startSuspended = 7;
    p->priority = 13;
    p->fenmarkNo = 424242;
    p->sourceClientId = -14;
    setText(p->sourceClientName, "source-client");
    p->destinationClientId = 15;
    setText(p->destinationClientName, "dest-client");
    p->appTypeId = appType;
    setText(p->appmoduleName, "agent");
    p->instanceId = 16;
    setText(p->instanceName, "inst");
    p->backupSetId = 17;
    setText(p->backupSetName, "bset");
    p->subclientId = 18;
    setText(p->subclientName, "subc");
    p->alertId = 19;
    p->retryHours = 20;
    p->retryNo = 21;
    p->jobDescription = {"first line", "second line"};
    p->xmlResult = 0;

    _QOracleRestoreParameters& o = p->oracleParams;
    setText(o.controlFilePath, "/ctl");
    o.fileTime = timeOf(1);
    setText(o.startLSN, "1001");
    setText(o.endLSN, "1002");
    o.restoreFrom = timeOf(2);
    o.restoreTime = timeOf(3);
    setText(o.restoreTag, "tag");
    o.recoverFrom = timeOf(4);
    o.recoverTime = timeOf(5);
    o.recoverSCN = 777001;
    setText(o.recoverText, "recover-text");
    o.endLogTime = timeOf(6);
    o.controlFileTime = timeOf(7);
    o.archiveLog = 31;
    o.logTarget = 32;
    o.streams = 33;
    o.archiveGroupCopyPrecedence = 34;
    o.sourcePaths = {"/s1", "/s2"};
    o.redirectPaths = {"/r1"};
    setText(o.renameAll, "rename");
    o.resetLogs = 35;
    setText(o.duplicateToName, "dupname");
    setText(o.duplicateToFile, "dupfile");
    setText(o.duplicateSkipTableSpaces, "skipts");
    setText(o.duplicateLogFile, "duplog");
    setText(o.passPhrase, "PHRASE-SECRET");
    setText(o.spFilePath, "/spfile");
    setText(o.catalogConnectUser, "rman");
    setText(o.catalogConnectPassword, "CATALOG-SECRET");
    setText(o.catalogConnectService, "catsvc");
    o.options = (1LL << 34) | 1;
    setText(o.restoreScript, "script");
    setText(o.connectString, "connect");
    setText(o.extendedOptions, "ext");
    setText(o.extraText, "extra");
    o.tableRestoreOptions = 4;
    setText(o.databaseName, "ORCL");
    setText(o.dbClientName, "dbclient");
    setText(o.pFilePath, "/pfile");
    setText(o.stagingPath, "/stage");
    o.importOption = 2;
    setText(o.importDbName, "IMP");
    setText(o.clientName, "oraclient");
    o.tableRestoreSourcePaths = {"t1", "t2", "t3"};
    o.auxInsTableClientId = 36;
    o.importClientId = -37;

    _QDB2RestoreParameters& d = p->db2Params;
    d.runPostCmdAlways = 41;
    d.destinationInstanceId = 42;
    d.restoreMode = 43;
    d.restoreType = 44;
    setText(d.targetDb, "TGTDB");
    setText(d.targetPath, "/tgt");
    d.startLSN = 45;
    d.stopLSN = -46;
    setText(d.reportFile, "/report");
    d.restoreBuffers = 47;
    d.restoreBufferSize = 48;
    d.rollForwardTime = timeOf(11);
    setText(d.rollForwardOverflowDir, "/overflow");
    setText(d.alternateLog, "/altlog");
    setText(d.timeStamp, "20240101");
    d.startLogTime = timeOf(12);
    d.endLogTime = timeOf(13);
    d.streams = 49;
    d.archiveGroupCopyPrecedence = 50;
    d.sourcePaths = {"/db2a", "/db2b"};
    setText(d.renameAll, "db2rename");
    d.options = 1LL << 13;

    _QInformixRestoreParameters& i = p->informixParams;
    i.copyId = 51;
    i.restoreFrom = timeOf(21);
    i.restoreTime = timeOf(22);
    i.streamCount = 52;
    i.logicalLogNo = 53;
    i.sourcePaths = {"/ifx"};
    i.options = 1LL << 7;

    _QSQLRestoreParameters& s = p->sqlParams;
    for (int n = 1; n <= 3; ++n) {
        _QSQLDb db;
        db.id = 60 + n;
        setText(db.name, "db" + std::to_string(n));
        s.changedDbs.push_back(db);
    }
    for (int n = 1; n <= 2; ++n) {
        _QSQLPhysicalFile pf;
        pf.id = 70 + n;
        setText(pf.name, "phys" + std::to_string(n));
        s.physicalFiles.push_back(pf);
    }
    _QSQLFile file;
    file.dbId = 81;
    file.fileId = 82;
    setText(file.name, "file1");
    s.files.push_back(file);
    s.multiDatabase = 54;
    setText(s.logMarkName, "mark");
    s.pointInTime = timeOf(31);
    s.backupSetId = 55;
    setText(s.undoPath, "/undo");
    s.copyNo = 56;
    s.archiveGroupCopyPrecedence = 57;
    s.systemDbFlag = 58;
    s.options = 1LL << 14;
    s.unlabelledList = {"u1", "u2"};
    return p;
}

class DBRestoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(env.server().ok());
        ASSERT_EQ(0u, env.initThread());
        env.server().clearJournal();
    }
    void TearDown() override { VSDKDeInitialize(); }

    // Runs one restore that the server accepts; the request as received.
    std::shared_ptr<const CNMessageBase> restore(const _QDBRestoreParameters& params) {
        env.server().clearJournal();
        _QJobStartInfo result;
        EXPECT_EQ(0u, VSDKDBRestore(&params, &result));
        return onlyRequest(env.server(), kRequestTag);
    }

    TestEnv env;
};

// ---- Dispatch --------------------------------------------------------------

struct DispatchCase {
    int appType;
    short object;  // field number of the engine's option object
};

TEST_F(DBRestoreTest, EachApplicationTypeCarriesItsEngineObjectAndNoOther) {
    const DispatchCase cases[] = {
        {2, 30}, {22, 30}, {23, 30}, {80, 30}, {3, 28}, {37, 29},
        {62, 29}, {103, 29}, {4, 27}, {16, 27}, {70, 27},
    };
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE("application type " + std::to_string(c.appType));
        auto params = filledRecord(c.appType);
        auto sent = restore(*params);
        ASSERT_NE(nullptr, sent);
        // Header, session and body 3 to 26, the SQL Server object always, the
        // job description and the XML flag; of 28 to 30 only the engine's.
        std::set<short> expected = range(1, 27);
        expected.insert({31, 32, c.object});
        EXPECT_EQ(expected, fieldNumbers(*sent));

        const CNMessageBase* sql = objectAt(*sent, kSqlObject, kSqlTag);
        ASSERT_NE(nullptr, sql);
        expectTextList(*sql, kSqlUnlabelledList, {"u1", "u2"});
        if (c.object != 27) {
            EXPECT_EQ(std::set<short>{13}, fieldNumbers(*sql)) << "SQL Server options sent";
        } else {
            EXPECT_TRUE(fieldNumbers(*sql).count(4)) << "SQL Server options missing";
        }
    }
}

TEST_F(DBRestoreTest, ApplicationTypeOutsideTheTableIsRefusedWithNothingSent) {
    for (int appType : {0, 1, 5, 81, 102, -2}) {
        SCOPED_TRACE("application type " + std::to_string(appType));
        auto params = filledRecord(appType);
        setErrorString("earlier error");
        _QJobStartInfo result;
        result.jobId = 4242;
        result.xmlText = "untouched";
        const std::size_t mark = env.logMark();

        EXPECT_EQ(0x10eu, VSDKDBRestore(params.get(), &result));

        EXPECT_EQ(0u, env.server().requestCount());
        EXPECT_EQ(4242, result.jobId);
        EXPECT_EQ("untouched", result.xmlText);
        EXPECT_STREQ("earlier error", VSDKGetLastErrorString());
        EXPECT_TRUE(env.logContains("Restoration of Database failed with Error code [0x10e] "
                                    "Error string [Unsupported Application Type]",
                                    mark))
            << env.logSince(mark);
    }
}

// ---- The request body ------------------------------------------------------

TEST_F(DBRestoreTest, BodyFieldsCarryTheRecordAndNotTheFenmarkNumber) {
    auto params = filledRecord(2);
    auto sent = restore(*params);
    ASSERT_NE(nullptr, sent);
    expectHeader(*sent);
    expectSession(*sent, {env.mardockName(), "", false, ""});
    expectInts(*sent, {
                          {"source client id", {12, 24, 0xE7344A}, -14},
                          {"destination client id", {14, 29, 0x558B2B}, 15},
                          {"constant 2", {11, 23, 0xABF8CF}, 2},
                          {"app type", {16, 34, 0x603B76}, 2},
                          {"instance id", {18, 39, 0xC3CC90}, 16},
                          {"backup set id", {20, 44, 0x0E187B}, 17},
                          {"subclient id", {22, 49, 0xA4B486}, 18},
                          {"media agent", {7, 19, 0xECDE7C}, 11},
                          {"drive pool", {8, 20, 0x2AD461}, 12},
                          {"priority", {10, 22, 0x8879A4}, 13},
                          {"start suspended", {9, 21, 0xD6B799}, 7},
                          {"alert", {24, 54, 0x4CAB97}, 19},
                          {"retry no", {26, 56, 0x782289}, 21},
                          {"retry hours", {25, 55, 0xE81D47}, 20},
                          {"xml flag", {32, 62, 0xAA99FD}, 0},
                      });
    expectTexts(*sent, {
                           {"source client", {13, 25, 0xED91FA}, "source-client"},
                           {"destination client", {15, 30, 0x21B49B}, "dest-client"},
                           {"agent", {17, 35, 0xAA704C}, "agent"},
                           {"instance", {19, 40, 0x0530C0}, "inst"},
                           {"backup set", {21, 45, 0xEC2DEB}, "bset"},
                           {"subclient", {23, 50, 0x4BF336}, "subc"},
                           {"pre", {3, 3, 0x942F97}, "pre.sh"},
                           {"post", {4, 7, 0xAE2C7A}, "post.sh"},
                           {"pre/post user", {5, 11, 0x4B2FD9}, "runner"},
                           {"pre/post password", {6, 15, 0xB9ED7E}, "PREPOST-SECRET"},
                       });
    expectTextList(*sent, {31, 61, 0x45C7FF}, {"first line", "second line"});
    for (const auto& entry : sent->fields()) {
        if (entry.second.kind == vsdkmsg::FieldKind::Int64) {
            EXPECT_NE(424242, entry.second.i) << "Fenmark number sent in field " << entry.first;
        }
    }
}

TEST_F(DBRestoreTest, XmlResultFlagTravelsAsOne) {
    auto params = filledRecord(3);
    params->xmlResult = 17;
    auto sent = restore(*params);
    ASSERT_NE(nullptr, sent);
    expectInts(*sent, {{"xml flag", {32, 62, 0xAA99FD}, 1}});
}

// ---- Oracle ----------------------------------------------------------------

TEST_F(DBRestoreTest, OracleObjectCarriesEveryOracleFieldButTheRecoverScn) {
    auto params = filledRecord(22);
    const _QOracleRestoreParameters& o = params->oracleParams;
    auto sent = restore(*params);
    ASSERT_NE(nullptr, sent);
    const CNMessageBase* ora = objectAt(*sent, kOracleObject, kOracleTag);
    ASSERT_NE(nullptr, ora);

    EXPECT_EQ(range(1, 46, {10}), fieldNumbers(*ora));
    expectTexts(*ora, {
                          {"control file", {1, 1, 0x5FCC3E}, "/ctl"},
                          {"start LSN", {3, 6, 0x2F90A6}, "1001"},
                          {"end LSN", {4, 10, 0xCDAFCD}, "1002"},
                          {"restore tag", {7, 16, 0x0DC22C}, "tag"},
                          {"recover text", {11, 23, 0x17AFB7}, "recover-text"},
                          {"rename all", {20, 35, 0xF29983}, "rename"},
                          {"duplicate to name", {22, 40, 0xEF4C91}, "dupname"},
                          {"duplicate to file", {23, 44, 0x0A20C6}, "dupfile"},
                          {"skip table spaces", {24, 48, 0x6B54B6}, "skipts"},
                          {"duplicate log", {25, 52, 0x35731A}, "duplog"},
                          {"pass phrase", {27, 57, 0x15DE2A}, "PHRASE-SECRET"},
                          {"sp file", {28, 61, 0xEF753E}, "/spfile"},
                          {"catalog user", {29, 65, 0x155A1F}, "rman"},
                          {"catalog password", {30, 69, 0x20DEEF}, "CATALOG-SECRET"},
                          {"catalog service", {31, 73, 0x98DE0C}, "catsvc"},
                          {"restore script", {32, 77, 0x84ECF9}, "script"},
                          {"connect string", {33, 81, 0x26ED9B}, "connect"},
                          {"extended options", {34, 85, 0xA60F25}, "ext"},
                          {"extra text", {35, 89, 0x5C7E18}, "extra"},
                          {"database name", {37, 94, 0xC779B4}, "ORCL"},
                          {"db client", {38, 98, 0x29DAE2}, "dbclient"},
                          {"pfile", {39, 102, 0xFEF023}, "/pfile"},
                          {"staging", {40, 106, 0x68FA52}, "/stage"},
                          {"import db", {42, 111, 0xBE36FC}, "IMP"},
                          {"client", {43, 115, 0xB304F6}, "oraclient"},
                      });
    expectInts(*ora, {
                         {"archive log", {14, 29, 0xC47B22}, 31},
                         {"log target", {15, 30, 0x067DF5}, 32},
                         {"streams", {16, 31, 0x175FF2}, 33},
                         {"copy precedence", {17, 32, 0x410DEE}, 34},
                         {"reset logs", {21, 39, 0x9D179E}, 35},
                         {"options", {26, 56, 0x86869E}, (1LL << 34) | 1},
                         {"table restore options", {36, 93, 0xAE379E}, 4},
                         {"import option", {41, 110, 0x1D2368}, 2},
                         {"aux client", {45, 120, 0xBDFAC8}, 36},
                         {"import client", {46, 121, 0x59990B}, -37},
                     });
    expectTextList(*ora, {18, 33, 0x32816A}, {"/s1", "/s2"});
    expectTextList(*ora, {19, 34, 0xC4C272}, {"/r1"});
    expectTextList(*ora, {44, 119, 0x0240E5}, {"t1", "t2", "t3"});
    expectTime(*ora, "file time", {2, 5, 0x289E69}, o.fileTime);
    expectTime(*ora, "restore from", {5, 14, 0xA46758}, o.restoreFrom);
    expectTime(*ora, "restore time", {6, 15, 0xAAA27B}, o.restoreTime);
    expectTime(*ora, "recover from", {8, 20, 0xCB672E}, o.recoverFrom);
    expectTime(*ora, "recover time", {9, 21, 0xD1A251}, o.recoverTime);
    expectTime(*ora, "end log time", {12, 27, 0xED9AD6}, o.endLogTime);
    expectTime(*ora, "control file time", {13, 28, 0x61BAE6}, o.controlFileTime);
}

TEST_F(DBRestoreTest, OracleTextsStopAtTheirZeroAndNeverPassTheirArray) {
    auto params = filledRecord(2);
    _QOracleRestoreParameters& o = params->oracleParams;
    // Text, terminator, then bytes the caller never cleared.
    std::memset(o.restoreScript, 'J', sizeof o.restoreScript);
    std::memcpy(o.restoreScript, "run", 4);
    std::memset(o.connectString, 'K', sizeof o.connectString);
    o.connectString[0] = '\0';
    // Arrays filled to their last byte, without a terminator.
    std::memset(o.extendedOptions, 'x', sizeof o.extendedOptions);
    std::memset(o.extraText, 'e', sizeof o.extraText);
    std::memset(o.controlFilePath, 'c', sizeof o.controlFilePath);

    auto sent = restore(*params);
    ASSERT_NE(nullptr, sent);
    const CNMessageBase* ora = objectAt(*sent, kOracleObject, kOracleTag);
    ASSERT_NE(nullptr, ora);
    expectTexts(*ora, {
                          {"restore script", {32, 77, 0x84ECF9}, "run"},
                          {"connect string", {33, 81, 0x26ED9B}, ""},
                          {"extended options", {34, 85, 0xA60F25}, std::string(1024, 'x')},
                          {"extra text", {35, 89, 0x5C7E18}, std::string(1025, 'e')},
                          {"control file", {1, 1, 0x5FCC3E}, std::string(1024, 'c')},
                      });
}

// ---- Db2 and Informix ------------------------------------------------------

TEST_F(DBRestoreTest, Db2ObjectCarriesEveryDb2Field) {
    auto params = filledRecord(62);
    const _QDB2RestoreParameters& d = params->db2Params;
    auto sent = restore(*params);
    ASSERT_NE(nullptr, sent);
    const CNMessageBase* db2 = objectAt(*sent, kDb2Object, kDb2Tag);
    ASSERT_NE(nullptr, db2);

    EXPECT_EQ(range(1, 22), fieldNumbers(*db2));
    expectInts(*db2, {
                         {"run post always", {1, 1, 0xADA12F}, 41},
                         {"destination instance", {2, 2, 0x5844D2}, 42},
                         {"restore mode", {3, 3, 0xA78951}, 43},
                         {"restore type", {4, 4, 0xAADEE8}, 44},
                         {"start LSN", {7, 13, 0xF280C6}, 45},
                         {"stop LSN", {8, 14, 0xE08126}, -46},
                         {"buffers", {10, 19, 0xDB5DC5}, 47},
                         {"buffer size", {11, 20, 0xD81D8F}, 48},
                         {"streams", {18, 36, 0x175FF2}, 49},
                         {"copy precedence", {19, 37, 0x410DEE}, 50},
                         {"options", {22, 43, 0x86869E}, 1LL << 13},
                     });
    expectTexts(*db2, {
                          {"target db", {5, 5, 0xA859EF}, "TGTDB"},
                          {"target path", {6, 9, 0xFF1956}, "/tgt"},
                          {"report file", {9, 15, 0x1804D0}, "/report"},
                          {"overflow dir", {13, 22, 0xB78B55}, "/overflow"},
                          {"alternate log", {14, 26, 0x5D606A}, "/altlog"},
                          {"time stamp", {15, 30, 0x492916}, "20240101"},
                          {"rename all", {21, 39, 0xF29983}, "db2rename"},
                      });
    expectTextList(*db2, {20, 38, 0x32816A}, {"/db2a", "/db2b"});
    expectTime(*db2, "roll forward", {12, 21, 0x3B43E3}, d.rollForwardTime);
    expectTime(*db2, "start log", {16, 34, 0x5AA96F}, d.startLogTime);
    expectTime(*db2, "end log", {17, 35, 0xED9AD6}, d.endLogTime);
}

TEST_F(DBRestoreTest, InformixObjectCarriesEveryInformixField) {
    auto params = filledRecord(3);
    const _QInformixRestoreParameters& i = params->informixParams;
    auto sent = restore(*params);
    ASSERT_NE(nullptr, sent);
    const CNMessageBase* ifx = objectAt(*sent, kInformixObject, kInformixTag);
    ASSERT_NE(nullptr, ifx);

    EXPECT_EQ(range(1, 7), fieldNumbers(*ifx));
    expectInts(*ifx, {
                         {"copy id", {1, 1, 0x40AF70}, 51},
                         {"streams", {4, 4, 0x74C16F}, 52},
                         {"logical log", {5, 5, 0xB87D9C}, 53},
                         {"options", {7, 7, 0x86869E}, 1LL << 7},
                     });
    expectTextList(*ifx, {6, 6, 0x32816A}, {"/ifx"});
    expectTime(*ifx, "restore from", {2, 2, 0xA46758}, i.restoreFrom);
    expectTime(*ifx, "restore time", {3, 3, 0xAAA27B}, i.restoreTime);
}

// ---- SQL Server ------------------------------------------------------------

struct EntryExpect {
    long long id;
    std::string name;
};

void expectEntries(const CNMessageBase& sql, FieldId list, unsigned long tag,
                   const std::vector<EntryExpect>& expected) {
    const std::vector<CNMessageBase>* entries = objectListAt(sql, list);
    ASSERT_NE(nullptr, entries);
    ASSERT_EQ(expected.size(), entries->size());
    for (std::size_t n = 0; n < expected.size(); ++n) {
        SCOPED_TRACE("entry " + std::to_string(n));
        const CNMessageBase& e = (*entries)[n];
        EXPECT_EQ(tag, e.getTagID());
        EXPECT_EQ((std::set<short>{1, 2}), fieldNumbers(e));
        expectInts(e, {{"id", {1, 1, 0x000D1B}, expected[n].id}});
        expectTexts(e, {{"name", {2, 2, 0x337A8B}, expected[n].name}});
    }
}

TEST_F(DBRestoreTest, SqlServerObjectCarriesItsFieldsAndItsThreeLists) {
    auto params = filledRecord(16);
    auto sent = restore(*params);
    ASSERT_NE(nullptr, sent);
    const CNMessageBase* sql = objectAt(*sent, kSqlObject, kSqlTag);
    ASSERT_NE(nullptr, sql);

    EXPECT_EQ(range(1, 13), fieldNumbers(*sql));
    expectInts(*sql, {
                         {"multi database", {4, 4, 0xD67397}, 54},
                         {"backup set", {7, 10, 0xD1089B}, 55},
                         {"copy no", {9, 15, 0x40B016}, 56},
                         {"copy precedence", {10, 16, 0x410DEE}, 57},
                         {"system db", {11, 17, 0x53D019}, 58},
                         {"options", {12, 18, 0x86869E}, 1LL << 14},
                     });
    expectTexts(*sql, {{"log mark", {5, 5, 0x644A5C}, "mark"}, {"undo", {8, 11, 0xBD9F29}, "/undo"}});
    expectTime(*sql, "point in time", {6, 9, 0xC69C75}, params->sqlParams.pointInTime);
    expectTextList(*sql, kSqlUnlabelledList, {"u1", "u2"});

    expectEntries(*sql, {1, 1, 0xF43C61}, kSqlDbTag, {{61, "db1"}, {62, "db2"}, {63, "db3"}});
    expectEntries(*sql, {2, 2, 0x4DD7E0}, kSqlPhysicalFileTag, {{71, "phys1"}, {72, "phys2"}});
    const std::vector<CNMessageBase>* files = objectListAt(*sql, {3, 3, 0xF5F823});
    ASSERT_NE(nullptr, files);
    ASSERT_EQ(1u, files->size());
    const CNMessageBase& f = (*files)[0];
    EXPECT_EQ(kSqlFileTag, f.getTagID());
    EXPECT_EQ((std::set<short>{1, 2, 3}), fieldNumbers(f));
    expectInts(f, {{"db id", {1, 1, 0x2EEE39}, 81}, {"file id", {2, 2, 0x088FB7}, 82}});
    expectTexts(f, {{"name", {3, 3, 0x337A8B}, "file1"}});
}

TEST_F(DBRestoreTest, SqlServerEmptyEntryVectorsLeaveTheirListsOut) {
    auto params = filledRecord(4);
    params->sqlParams.changedDbs.clear();
    params->sqlParams.physicalFiles.clear();
    params->sqlParams.files.clear();
    params->sqlParams.unlabelledList.clear();
    auto sent = restore(*params);
    ASSERT_NE(nullptr, sent);
    const CNMessageBase* sql = objectAt(*sent, kSqlObject, kSqlTag);
    ASSERT_NE(nullptr, sql);
    EXPECT_EQ(range(4, 13), fieldNumbers(*sql));
    expectTextList(*sql, kSqlUnlabelledList, {});
}

// ---- Results ---------------------------------------------------------------

void replyJob(simserver::SimServer& server) {
    server.replyWith(kRequestTag, kReplyTag, [](const CNMessageBase&, CNMessageBase& reply) {
        reply.setint64(kReplyJobId.number, kReplyJobId.slot, 123456789012LL, reply.getTagID(),
                       kReplyJobId.hash);
        reply.setstring(kReplyXml.number, kReplyXml.slot, "<Job id=\"123456789012\"/>",
                        reply.getTagID(), kReplyXml.hash);
    });
}

TEST_F(DBRestoreTest, StartedJobIdIsReturnedAndLogged) {
    replyJob(env.server());
    auto params = filledRecord(37);
    _QJobStartInfo result;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKDBRestore(params.get(), &result));
    EXPECT_EQ(123456789012LL, result.jobId);
    EXPECT_EQ("", result.xmlText);
    EXPECT_TRUE(env.logContains("Restoration of Database Started with jobId:[123456789012]", mark));
    EXPECT_FALSE(env.logContains("Converted XML String", mark));
}

TEST_F(DBRestoreTest, XmlResultReturnsTheReplyTextInsteadOfTheStartedLine) {
    replyJob(env.server());
    auto params = filledRecord(37);
    params->xmlResult = 1;
    _QJobStartInfo result;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKDBRestore(params.get(), &result));
    EXPECT_EQ(123456789012LL, result.jobId);
    EXPECT_EQ("<Job id=\"123456789012\"/>", result.xmlText);
    EXPECT_TRUE(env.logContains("Converted XML String:[<Job id=\"123456789012\"/>]", mark));
    EXPECT_FALSE(env.logContains("Restoration of Database Started", mark));
}

struct ServerErrorCase {
    long long code;
    const char* fixedText;
};

TEST_F(DBRestoreTest, ServerErrorLogsTheFixedTextAndKeepsTheServerText) {
    const ServerErrorCase cases[] = {
        {0x50d, "User Not logged in/Session expired"},
        {0x7777, "Unknown Error Code.Please check logs for more details."},
    };
    for (const ServerErrorCase& c : cases) {
        SCOPED_TRACE(c.fixedText);
        env.server().clearScripts();
        env.server().serverError(kRequestTag, c.code, "the server's own words");
        auto params = filledRecord(70);
        _QJobStartInfo result;
        result.jobId = 5;
        const std::size_t mark = env.logMark();

        EXPECT_EQ(static_cast<unsigned long>(c.code), VSDKDBRestore(params.get(), &result));

        EXPECT_EQ(-1, result.jobId);
        EXPECT_STREQ("the server's own words", VSDKGetLastErrorString());
        char line[256];
        std::snprintf(line, sizeof line,
                      "Restoration of Database failed with Error code [0x%llx] Error string [%s]",
                      c.code, c.fixedText);
        EXPECT_TRUE(env.logContains(line, mark)) << env.logSince(mark);
        EXPECT_FALSE(env.logContains("Error string [the server's own words]", mark));
    }
}

TEST_F(DBRestoreTest, FailedExchangeLeavesTheResultAlone) {
    env.server().script(kRequestTag, simserver::Action::bareError(0x50d, "bare"));
    auto params = filledRecord(2);
    _QJobStartInfo result;
    result.jobId = 5;
    EXPECT_EQ(0x50du, VSDKDBRestore(params.get(), &result));
    EXPECT_EQ(5, result.jobId);
    EXPECT_STREQ("bare", VSDKGetLastErrorString());
}

TEST_F(DBRestoreTest, NullPointersAreRefusedWithNothingSent) {
    auto params = filledRecord(2);
    _QJobStartInfo result;
    EXPECT_EQ(0x303u, VSDKDBRestore(nullptr, &result));
    EXPECT_STREQ(GetErrorString(0x303), VSDKGetLastErrorString());
    setErrorString("");
    EXPECT_EQ(0x303u, VSDKDBRestore(params.get(), nullptr));
    EXPECT_STREQ(GetErrorString(0x303), VSDKGetLastErrorString());
    EXPECT_EQ(0u, env.server().requestCount());
}

TEST_F(DBRestoreTest, ThreadWithoutStartUpGets0x280AndSendsNothing) {
    auto params = filledRecord(2);
    unsigned long rc = 0;
    std::thread other([&] {
        _QJobStartInfo result;
        rc = VSDKDBRestore(params.get(), &result);
    });
    other.join();
    EXPECT_EQ(0x280u, rc);
    EXPECT_EQ(0u, env.server().requestCount());
}

// ---- Dumps -----------------------------------------------------------------

TEST_F(DBRestoreTest, DebugLogMasksThePassPhraseAndWritesNoPassword) {
    auto params = filledRecord(2);
    const std::size_t mark = env.logMark();
    _QJobStartInfo result;
    ASSERT_EQ(0u, VSDKDBRestore(params.get(), &result));
    const std::string log = env.logSince(mark);
    EXPECT_NE(std::string::npos, log.find("Parameters of DB Restore:\nPreCmd:[pre.sh]\n"));
    EXPECT_NE(std::string::npos, log.find("Pass Phrase:[****]\n"));
    // Neither the dump nor the request document logged at level 10 shows a
    // secret in clear.
    EXPECT_NE(std::string::npos, log.find("XML request to VSDK Server")) << "request not logged";
    for (const char* secret : {"PHRASE-SECRET", "CATALOG-SECRET", "PREPOST-SECRET"}) {
        EXPECT_EQ(std::string::npos, log.find(secret)) << secret;
    }
}

TEST_F(DBRestoreTest, RefusedRestoreStillDumpsWithoutSecrets) {
    auto params = filledRecord(81);
    const std::size_t mark = env.logMark();
    _QJobStartInfo result;
    ASSERT_EQ(0x10eu, VSDKDBRestore(params.get(), &result));
    const std::string log = env.logSince(mark);
    EXPECT_NE(std::string::npos, log.find("Pass Phrase:[****]\n"));
    for (const char* secret : {"PHRASE-SECRET", "CATALOG-SECRET", "PREPOST-SECRET"}) {
        EXPECT_EQ(std::string::npos, log.find(secret)) << secret;
    }
}

TEST(DBRestoreDump, HoldsAllFourBlocksAndTheFenmarkNumberInOrder) {
    auto params = filledRecord(2);
    const std::string dump = params->c_str();
    std::size_t at = 0;
    for (const char* piece :
         {"\nPreCmd:[pre.sh]\n", "Fenmark No:[424242]\n", "Desination Client Id:[15]\n",
          "Retry No:[21]\nSQL Restore Parameters:\nSQL Info:", "\nInformix Restore Parameters:\nCopy ID:[51]",
          "\nDB2 Restore Parameters:\nRun Post Command Always:[41]",
          "\nOracle Restore Parameters:\nControl File Path:[/ctl]",
          "\nJob Description:[first line\nsecond line\n]"}) {
        const std::size_t found = dump.find(piece, at);
        ASSERT_NE(std::string::npos, found) << piece << "\nin\n" << dump;
        at = found;
    }
    EXPECT_EQ(']', dump.back());
    for (const char* unwritten : {"PREPOST-SECRET", "CATALOG-SECRET", "PHRASE-SECRET",
                                  "recover-text", "extra]"}) {
        EXPECT_EQ(std::string::npos, dump.find(unwritten)) << unwritten;
    }
}

TEST(DBRestoreDump, OracleDumpLinesAndPathLists) {
    auto params = filledRecord(2);
    _QOracleRestoreParameters& o = params->oracleParams;
    std::string dump = o.c_str();
    EXPECT_EQ(0u, dump.find("\nControl File Path:[/ctl]\nFile Time:" + o.fileTime.c_str() +
                            "Start LSN No:[1001]\n"));
    EXPECT_NE(std::string::npos, dump.find("Recover SCN:[777001]\n"));
    EXPECT_NE(std::string::npos,
              dump.find("Import Client Id:[-37]Table Restore Source Paths:[t1 t2 t3 ]\n"
                        "\nSource Paths:[/s1 /s2 ]\nRedirect Paths:[/r1 ]"));
    EXPECT_EQ("Redirect Paths:[/r1 ]", dump.substr(dump.size() - 21));

    o.sourcePaths.clear();
    dump = o.c_str();
    EXPECT_NE(std::string::npos, dump.find("\nSource Paths:[]\n"));
}

TEST(DBRestoreDump, EngineDumpEndings) {
    auto params = filledRecord(2);
    const std::string db2 = params->db2Params.c_str();
    EXPECT_EQ(0u, db2.find("\nRun Post Command Always:[41]\n"));
    EXPECT_NE(std::string::npos, db2.find("Start LSN no. :[45]\nStop LSN no. :[-46]\n"));
    EXPECT_NE(std::string::npos,
              db2.find("Roll Forward Time:[" + params->db2Params.rollForwardTime.c_str() + "]\n"));
    EXPECT_EQ("Source Paths:[/db2a /db2b ]\n", db2.substr(db2.size() - 28));

    const std::string ifx = params->informixParams.c_str();
    EXPECT_EQ(0u, ifx.find("\nCopy ID:[51]\n"));
    EXPECT_EQ("Source Paths:[/ifx ]\nOptions:[128]", ifx.substr(ifx.size() - 34));

    const std::string sql = params->sqlParams.c_str();
    EXPECT_EQ(0u, sql.find("\nSQL Info:\nSQL Changed DB:\nId:[61]\tName:[db1]\nId:[62]\tName:[db2]"
                           "\nId:[63]\tName:[db3]\nSQL Physical File: \nId:[71]\tName:[phys1]"
                           "\nId:[72]\tName:[phys2]\nChanged Files:\nDb Id:[81]\tFile Id:[82]\t"
                           "Name:[file1]Multi Database:[54]\n"));
    EXPECT_NE(std::string::npos,
              sql.find("Unix Time:" + params->sqlParams.pointInTime.c_str() + "BackupSet ID:[55]\n"));
    EXPECT_EQ("Options:[16384]", sql.substr(sql.size() - 15));
    EXPECT_EQ(std::string::npos, sql.find("u1"));
}

}  // namespace
