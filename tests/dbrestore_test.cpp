// VSDKDBRestore: the dispatch by application type, each engine's option
// object on the wire, and the dumps. What job starters share is in jobstart_test.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "support/WireChecks.h"

#include <cstring>

namespace {

using namespace OrvaneOperations;
using vsdktest::Expect;
using vsdktest::fieldRange;
using vsdktest::timeOf;

// A record whose checked fields hold values of their own.
std::unique_ptr<_QDBRestoreParameters> filledRecord(int appType) {
    auto p = std::make_unique<_QDBRestoreParameters>();
    vsdktest::setTexts({{p->preCmd, "pre.sh"}, {p->prePostPassword, "PREPOST-SECRET"}});
    p->fenmarkNo = 424242, p->sourceClientId = -14, p->destinationClientId = 15;
    p->appTypeId = appType, p->retryNo = 21;
    p->jobDescription = {"first line", "second line"};

    _QOracleRestoreParameters& o = p->oracleParams;
    vsdktest::setTexts({{o.controlFilePath, "/ctl"}, {o.recoverText, "recover-text"},
                        {o.passPhrase, "PHRASE-SECRET"}, {o.catalogConnectPassword, "CATALOG-SECRET"}});
    // Texts end at their zero, never past their array.
    std::memcpy(o.restoreScript, "run\0JJJJ", 8);
    std::memset(o.extraText, 'e', sizeof o.extraText);
    std::memset(o.extendedOptions, 'x', sizeof o.extendedOptions);
    o.fileTime = timeOf(1), o.recoverSCN = 777001, o.options = (1LL << 34) | 1, o.importClientId = -37;
    o.sourcePaths = {"/s1", "/s2"}, o.redirectPaths = {"/r1"};

    _QDB2RestoreParameters& d = p->db2Params;
    d.runPostCmdAlways = 41, d.options = 1LL << 13, d.endLogTime = timeOf(13), d.sourcePaths = {"/db2"};

    _QInformixRestoreParameters& i = p->informixParams;
    i.copyId = 51, i.options = 1LL << 7, i.restoreTime = timeOf(22), i.sourcePaths = {"/ifx"};

    _QSQLRestoreParameters& s = p->sqlParams;
    s.changedDbs = {{61, "db1"}, {62, "db2"}, {63, "db3"}};
    s.physicalFiles = {{71, "phys1"}}, s.files = {{81, 82, "file1"}};
    s.multiDatabase = 54, s.options = 1LL << 14, s.pointInTime = timeOf(31);
    s.unlabelledList = {"u1", "u2"};
    return p;
}

// One restore of appType the server accepts; the request as it arrived.
std::shared_ptr<const CNMessageBase> restore(simserver::SimServer& server, int appType,
                                             void (*adjust)(_QDBRestoreParameters&) = nullptr) {
    auto params = filledRecord(appType);
    if (adjust) adjust(*params);
    server.clearJournal();
    _QJobStartInfo result;
    vsdktest::replyJobId(server, QDBRestoreReqMsg::kTag, QRestoreRespMsg::kTag, 1);
    EXPECT_EQ(0u, VSDKDBRestore(params.get(), &result));
    return vsdktest::onlyRequest(server, QDBRestoreReqMsg::kTag);
}

using DBRestoreTest = vsdktest::StartedTest;

// Every request carries the body (but not the Fenmark number) and the SQL
// Server object with the unlabelled list; of the other engines' objects only
// the chosen one.
TEST_F(DBRestoreTest, EachApplicationTypeCarriesTheBodyAndItsEngineObjectAndNoOther) {
    using namespace dbrestore;
    const std::pair<int, short> cases[] = {{2, 30},  {22, 30}, {23, 30}, {80, 30}, {3, 28}, {37, 29},
                                           {62, 29}, {103, 29}, {4, 27}, {16, 27}, {70, 27}};
    for (const auto& c : cases) {
        SCOPED_TRACE("application type " + std::to_string(c.first));
        auto r = restore(env.server(), c.first);
        vsdktest::expectFields(*r, {{kSourceClientId, -14}, {kKind, 2}, {kAppTypeId, c.first},
                                    {kPrePostPassword, "PREPOST-SECRET"}, {dbrestore::kXmlResult, 0}});
        vsdktest::expectTextList(*r, kJobDescription, {"first line", "second line"});
        for (const auto& entry : r->fields()) EXPECT_NE(424242, entry.second.i) << entry.first;
        const CNMessageBase* sql = vsdktest::objectAt(*r, dbrestore::kSqlOptions, QSQLRestoreOptions::kTag);
        std::set<short> expected = fieldRange(1, 27);
        expected.insert({31, 32, c.second});
        EXPECT_EQ(expected, vsdktest::fieldNumbers(*r));
        vsdktest::expectTextList(*sql, sqlopt::kUnlabelledList, {"u1", "u2"});
        EXPECT_EQ(c.second == 27 ? fieldRange(1, 13) : std::set<short>{13}, vsdktest::fieldNumbers(*sql));
    }
    // Neither the dump nor the request logged at level 10 shows a secret.
    const std::string log = env.logSince(0);
    EXPECT_NE(std::string::npos, log.find(R"([6] Parameters of DB Restore:\nPreCmd:[pre.sh]\n)"));
    EXPECT_NE(std::string::npos, log.find("XML request to VSDK Server"));
    EXPECT_EQ(std::string::npos, log.find("SECRET"));
}

TEST_F(DBRestoreTest, ApplicationTypeOutsideTheTableIsRefusedWithNothingSent) {
    auto p = filledRecord(81);  // one above the last Oracle type
    setErrorString("earlier error");
    _QJobStartInfo result;
    result.jobId = 4242;
    EXPECT_EQ(0x10eu, VSDKDBRestore(p.get(), &result));
    EXPECT_EQ(4242, result.jobId);
    EXPECT_STREQ("earlier error", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("VSDKDBRestore() [0] Restoration of Database failed with Error "
                                "code [0x10e] Error string [Unsupported Application Type]"));
    EXPECT_EQ(0u, env.server().requestCount());
}

// The first and last fields, 64-bit options, secrets, texts that end at their
// zero or their bound, a list and a time; Oracle's recover SCN (10) is never sent.
TEST_F(DBRestoreTest, EngineObjectsCarryTheirRecords) {
    const struct {
        int appType;
        FieldId object;
        unsigned long tag;
        std::set<short> numbers;
        std::vector<Expect> fields;
        FieldId list;
        std::vector<std::string> listed;
        FieldId time;
        _QTime at;
    } cases[] = {
        {22, dbrestore::kOracleOptions, QOracleRestoreOptions::kTag, fieldRange(1, 46, {10}),
         {{oracleopt::kControlFilePath, "/ctl"}, {oracleopt::kRecoverText, "recover-text"},
          {oracleopt::kOptions, (1LL << 34) | 1}, {oracleopt::kPassPhrase, "PHRASE-SECRET"},
          {oracleopt::kCatalogConnectPassword, "CATALOG-SECRET"}, {oracleopt::kRestoreScript, "run"},
          {oracleopt::kExtendedOptions, std::string(1024, 'x')},
          {oracleopt::kExtraText, std::string(1025, 'e')}, {oracleopt::kImportClientId, -37}},
         oracleopt::kSourcePaths, {"/s1", "/s2"}, oracleopt::kFileTime, timeOf(1)},
        {62, dbrestore::kDb2Options, QDB2RestoreOptions::kTag, fieldRange(1, 22),
         {{db2opt::kRunPostCmdAlways, 41}, {db2opt::kOptions, 1LL << 13}}, db2opt::kSourcePaths,
         {"/db2"}, db2opt::kEndLogTime, timeOf(13)},
        {3, dbrestore::kInformixOptions, QInformixRestoreOptions::kTag, fieldRange(1, 7),
         {{informixopt::kCopyId, 51}, {informixopt::kOptions, 1LL << 7}}, informixopt::kSourcePaths,
         {"/ifx"}, informixopt::kRestoreTime, timeOf(22)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.appType);
        auto r = restore(env.server(), c.appType);
        const CNMessageBase* o = vsdktest::expectObject(*r, c.object, c.tag, c.fields);
        EXPECT_EQ(c.numbers, vsdktest::fieldNumbers(*o));
        vsdktest::expectTextList(*o, c.list, c.listed);
        vsdktest::expectTime(*o, c.time, c.at);
    }
}

TEST_F(DBRestoreTest, SqlServerObjectCarriesItsFieldsAndItsThreeLists) {
    auto r = restore(env.server(), 16);
    using namespace sqlopt;
    const CNMessageBase* sql = vsdktest::expectObject(*r, dbrestore::kSqlOptions, QSQLRestoreOptions::kTag,
                                                      {{kMultiDatabase, 54}, {kOptions, 1LL << 14}});
    vsdktest::expectTime(*sql, kPointInTime, timeOf(31));
    const auto expectEntries = [&](FieldId list, unsigned long tag, std::vector<std::vector<Expect>> rows) {
        const std::vector<CNMessageBase>* entries = vsdktest::objectListAt(*sql, list);
        ASSERT_EQ(rows.size(), entries->size());
        for (std::size_t n = 0; n < rows.size(); ++n) {
            EXPECT_EQ(tag, (*entries)[n].getTagID());
            vsdktest::expectFields((*entries)[n], rows[n]);
        }
    };
    expectEntries(kChangedDbs, QSQLDb::kTag, {{{kEntryId, 61}, {kEntryName, "db1"}},
                                              {{kEntryId, 62}}, {{kEntryName, "db3"}}});
    expectEntries(kFiles, QSQLFile::kTag, {{{kFileDbId, 81}, {kFileFileId, 82}, {kFileName, "file1"}}});

    // Empty entry vectors leave their lists out; an empty unlabelled list goes out empty.
    r = restore(env.server(), 4, [](auto& p) { p.sqlParams = _QSQLRestoreParameters(); });
    sql = vsdktest::objectAt(*r, dbrestore::kSqlOptions, QSQLRestoreOptions::kTag);
    EXPECT_EQ(fieldRange(4, 13), vsdktest::fieldNumbers(*sql));
    vsdktest::expectTextList(*sql, kUnlabelledList, {});
}

TEST(DBRestoreDump, HoldsAllFourEngineBlocksInOrderWithoutWhatIsNeverWritten) {
    const std::string dump = filledRecord(2)->c_str();
    std::size_t at = 0;
    for (const char* fragment :
         {"\nPreCmd:[pre.sh]\n", "Fenmark No:[424242]\n", "Desination Client Id:[15]\n", "Retry No:[21]\n"
          "SQL Restore Parameters:\nSQL Info:\nSQL Changed DB:\nId:[61]\tName:[db1]\nId:[62]",
          "\nInformix Restore Parameters:\nCopy ID:[51]", "\nDB2 Restore Parameters:\nRun Post Command",
          "Source Paths:[/db2 ]\n", "\nOracle Restore Parameters:\nControl File Path:[/ctl]",
          "Pass Phrase:[****]\n", "\nSource Paths:[/s1 /s2 ]\nRedirect Paths:[/r1 ]",
          "\nJob Description:[first line\nsecond line\n]"}) {
        const std::size_t found = dump.find(fragment, at);
        ASSERT_NE(std::string::npos, found) << fragment;
        at = found;
    }
    EXPECT_EQ(']', dump.back());
    for (const char* unwritten : {"SECRET", "recover-text", "eeee", "u1"}) {
        EXPECT_EQ(std::string::npos, dump.find(unwritten)) << unwritten;
    }
}

}  // namespace
