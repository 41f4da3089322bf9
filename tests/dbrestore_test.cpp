// VSDKDBRestore: the dispatch by application type, each engine's option
// object on the wire, and the dumps. What job starters share is in jobstart_test.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace OrvaneOperations;
using vsdktest::Expect;
using vsdktest::fieldRange;
using vsdktest::setText;
using vsdktest::timeOf;

// A record whose checked fields hold values of their own.
std::unique_ptr<_QDBRestoreParameters> filledRecord(int appType) {
    auto p = std::make_unique<_QDBRestoreParameters>();
    vsdktest::setTexts({{p->preCmd, "pre.sh"}, {p->prePostPassword, "PREPOST-SECRET"}});
    p->fenmarkNo = 424242, p->sourceClientId = -14, p->destinationClientId = 15;
    p->appTypeId = appType, p->retryHours = 20, p->retryNo = 21;
    p->jobDescription = {"first line", "second line"};

    _QOracleRestoreParameters& o = p->oracleParams;
    vsdktest::setTexts({{o.controlFilePath, "/ctl"}, {o.startLSN, "1001"}, {o.recoverText, "recover-text"},
                        {o.passPhrase, "PHRASE-SECRET"}, {o.catalogConnectPassword, "CATALOG-SECRET"},
                        {o.extraText, "extra"}});
    o.fileTime = timeOf(1), o.controlFileTime = timeOf(7);
    o.recoverSCN = 777001, o.options = (1LL << 34) | 1, o.importClientId = -37;
    o.sourcePaths = {"/s1", "/s2"}, o.redirectPaths = {"/r1"}, o.tableRestoreSourcePaths = {"t1", "t2"};

    _QDB2RestoreParameters& d = p->db2Params;
    setText(d.renameAll, "db2rename");
    d.runPostCmdAlways = 41, d.stopLSN = -46, d.options = 1LL << 13, d.endLogTime = timeOf(13);
    d.sourcePaths = {"/db2a", "/db2b"};

    _QInformixRestoreParameters& i = p->informixParams;
    i.copyId = 51, i.streamCount = 52, i.logicalLogNo = 53, i.options = 1LL << 7;
    i.restoreTime = timeOf(22), i.sourcePaths = {"/ifx"};

    _QSQLRestoreParameters& s = p->sqlParams;
    s.changedDbs.resize(3);
    for (int n = 0; n < 3; ++n) {
        s.changedDbs[n].id = 61 + n;
        setText(s.changedDbs[n].name, "db" + std::to_string(n + 1));
    }
    s.physicalFiles = {{71, "phys1"}};
    s.files = {{81, 82, "file1"}};
    s.multiDatabase = 54, s.options = 1LL << 14, s.pointInTime = timeOf(31);
    s.unlabelledList = {"u1", "u2"};
    return p;
}

class DBRestoreTest : public vsdktest::StartedTest {
protected:
    // One restore the server accepts; the request as it arrived.
    std::shared_ptr<const CNMessageBase> restore(const _QDBRestoreParameters& params) {
        env.server().clearJournal();
        _QJobStartInfo result;
        EXPECT_EQ(0u, VSDKDBRestore(&params, &result));
        return vsdktest::onlyRequest(env.server(), QDBRestoreReqMsg::kTag);
    }
    // The option object of tag at field of a restore of appType.
    const CNMessageBase* options(int appType, FieldId field, unsigned long tag,
                                 void (*adjust)(_QDBRestoreParameters&) = nullptr) {
        params = filledRecord(appType);
        if (adjust) adjust(*params);
        sent = restore(*params);
        return sent ? vsdktest::objectAt(*sent, field, tag) : nullptr;
    }

    std::unique_ptr<_QDBRestoreParameters> params;
    std::shared_ptr<const CNMessageBase> sent;
};

TEST_F(DBRestoreTest, EachApplicationTypeCarriesItsEngineObjectAndNoOther) {
    const std::pair<int, short> cases[] = {{2, 30},  {22, 30}, {23, 30}, {80, 30}, {3, 28}, {37, 29},
                                           {62, 29}, {103, 29}, {4, 27}, {16, 27}, {70, 27}};
    for (const auto& c : cases) {
        SCOPED_TRACE("application type " + std::to_string(c.first));
        // Every request carries the SQL Server object with the unlabelled list;
        // of the other engines' objects only the chosen one.
        const CNMessageBase* sql = options(c.first, dbrestore::kSqlOptions, QSQLRestoreOptions::kTag);
        ASSERT_NE(nullptr, sql);
        std::set<short> expected = fieldRange(1, 27);
        expected.insert({31, 32, c.second});
        EXPECT_EQ(expected, vsdktest::fieldNumbers(*sent));
        vsdktest::expectTextList(*sql, sqlopt::kUnlabelledList, {"u1", "u2"});
        EXPECT_EQ(c.second == 27 ? fieldRange(1, 13) : std::set<short>{13}, vsdktest::fieldNumbers(*sql));
    }
}

TEST_F(DBRestoreTest, ApplicationTypeOutsideTheTableIsRefusedWithNothingSent) {
    for (int appType : {0, 1, 81}) {
        SCOPED_TRACE(appType);
        auto p = filledRecord(appType);
        setErrorString("earlier error");
        _QJobStartInfo result;
        result.jobId = 4242;
        const std::size_t mark = env.logMark();
        EXPECT_EQ(0x10eu, VSDKDBRestore(p.get(), &result));
        EXPECT_EQ(4242, result.jobId);
        EXPECT_STREQ("earlier error", VSDKGetLastErrorString());
        EXPECT_TRUE(env.logContains("VSDKDBRestore() [0] Restoration of Database failed with Error "
                                    "code [0x10e] Error string [Unsupported Application Type]",
                                    mark));
        EXPECT_TRUE(env.logContains("Pass Phrase:[****]\n", mark));  // the dump still masks it
    }
    EXPECT_EQ(0u, env.server().requestCount());
}

TEST_F(DBRestoreTest, BodyFieldsCarryTheRecordButNotTheFenmarkNumber) {
    const std::size_t mark = env.logMark();
    auto r = restore(*filledRecord(2));
    ASSERT_TRUE(r);
    using namespace dbrestore;
    vsdktest::expectFields(*r, {{kSourceClientId, -14}, {kKind, 2}, {kAppTypeId, 2},
                                {kPrePostPassword, "PREPOST-SECRET"}, {kRetryNo, 21}, {kRetryHours, 20},
                                {dbrestore::kXmlResult, 0}});
    vsdktest::expectTextList(*r, kJobDescription, {"first line", "second line"});
    for (const auto& entry : r->fields()) EXPECT_NE(424242, entry.second.i) << entry.first;
    // Neither the dump nor the request logged at level 10 shows a secret.
    const std::string log = env.logSince(mark);
    EXPECT_NE(std::string::npos, log.find("VSDKDBRestore() [6] Parameters of DB Restore:\nPreCmd:[pre.sh]\n"));
    EXPECT_NE(std::string::npos, log.find("XML request to VSDK Server"));
    EXPECT_EQ(std::string::npos, log.find("SECRET"));
}

TEST_F(DBRestoreTest, OracleObjectCarriesEveryFieldButTheRecoverScn) {
    const CNMessageBase* ora =
        options(22, dbrestore::kOracleOptions, QOracleRestoreOptions::kTag, [](auto& p) {
            // Texts end at their zero, never past their array.
            std::memcpy(p.oracleParams.restoreScript, "run\0JJJJ", 8);
            std::memset(p.oracleParams.extraText, 'e', sizeof p.oracleParams.extraText);
            std::memset(p.oracleParams.extendedOptions, 'x', sizeof p.oracleParams.extendedOptions);
        });
    ASSERT_NE(nullptr, ora);
    const _QOracleRestoreParameters& o = params->oracleParams;
    EXPECT_EQ(fieldRange(1, 46, {10}), vsdktest::fieldNumbers(*ora));
    using namespace oracleopt;
    vsdktest::expectFields(
        *ora, {{kControlFilePath, "/ctl"}, {kStartLSN, "1001"}, {kRecoverText, "recover-text"},
               {kOptions, (1LL << 34) | 1}, {kPassPhrase, "PHRASE-SECRET"},
               {kCatalogConnectPassword, "CATALOG-SECRET"}, {kRestoreScript, "run"},
               {kExtendedOptions, std::string(1024, 'x')}, {kExtraText, std::string(1025, 'e')},
               {kImportClientId, -37}});
    vsdktest::expectTextList(*ora, kSourcePaths, {"/s1", "/s2"});
    vsdktest::expectTextList(*ora, kTableRestoreSourcePaths, {"t1", "t2"});
    vsdktest::expectTime(*ora, kFileTime, o.fileTime);
    vsdktest::expectTime(*ora, kControlFileTime, o.controlFileTime);
}

TEST_F(DBRestoreTest, Db2AndInformixObjectsCarryEveryField) {
    const CNMessageBase* db2 = options(62, dbrestore::kDb2Options, QDB2RestoreOptions::kTag);
    ASSERT_NE(nullptr, db2);
    const _QDB2RestoreParameters& d = params->db2Params;
    EXPECT_EQ(fieldRange(1, 22), vsdktest::fieldNumbers(*db2));
    vsdktest::expectFields(*db2, {{db2opt::kRunPostCmdAlways, 41}, {db2opt::kStopLSN, -46},
                                  {db2opt::kRenameAll, "db2rename"}, {db2opt::kOptions, 1LL << 13}});
    vsdktest::expectTextList(*db2, db2opt::kSourcePaths, {"/db2a", "/db2b"});
    vsdktest::expectTime(*db2, db2opt::kEndLogTime, d.endLogTime);

    const CNMessageBase* ifx = options(3, dbrestore::kInformixOptions, QInformixRestoreOptions::kTag);
    ASSERT_NE(nullptr, ifx);
    const _QInformixRestoreParameters& i = params->informixParams;
    EXPECT_EQ(fieldRange(1, 7), vsdktest::fieldNumbers(*ifx));
    vsdktest::expectFields(*ifx, {{informixopt::kCopyId, 51}, {informixopt::kStreamCount, 52},
                                  {informixopt::kLogicalLogNo, 53}, {informixopt::kOptions, 1LL << 7}});
    vsdktest::expectTextList(*ifx, informixopt::kSourcePaths, {"/ifx"});
    vsdktest::expectTime(*ifx, informixopt::kRestoreTime, i.restoreTime);
}

TEST_F(DBRestoreTest, SqlServerObjectCarriesItsFieldsAndItsThreeLists) {
    const CNMessageBase* sql = options(16, dbrestore::kSqlOptions, QSQLRestoreOptions::kTag);
    ASSERT_NE(nullptr, sql);
    using namespace sqlopt;
    vsdktest::expectFields(*sql, {{kMultiDatabase, 54}, {kOptions, 1LL << 14}});
    vsdktest::expectTime(*sql, kPointInTime, params->sqlParams.pointInTime);
    const auto expectEntries = [&](FieldId list, unsigned long tag, std::vector<std::vector<Expect>> rows) {
        const std::vector<CNMessageBase>* entries = vsdktest::objectListAt(*sql, list);
        ASSERT_NE(nullptr, entries);
        ASSERT_EQ(rows.size(), entries->size());
        for (std::size_t n = 0; n < rows.size(); ++n) {
            EXPECT_EQ(tag, (*entries)[n].getTagID());
            vsdktest::expectFields((*entries)[n], rows[n]);
        }
    };
    expectEntries(kChangedDbs, QSQLDb::kTag, {{{kEntryId, 61}, {kEntryName, "db1"}},
                                              {{kEntryId, 62}}, {{kEntryName, "db3"}}});
    expectEntries(kPhysicalFiles, QSQLPhysicalFile::kTag, {{{kEntryId, 71}, {kEntryName, "phys1"}}});
    expectEntries(kFiles, QSQLFile::kTag, {{{kFileDbId, 81}, {kFileFileId, 82}, {kFileName, "file1"}}});

    // Empty entry vectors leave their lists out; an empty unlabelled list goes out empty.
    sql = options(4, dbrestore::kSqlOptions, QSQLRestoreOptions::kTag, [](auto& p) {
        p.sqlParams = _QSQLRestoreParameters();
    });
    ASSERT_NE(nullptr, sql);
    EXPECT_EQ(fieldRange(4, 13), vsdktest::fieldNumbers(*sql));
    vsdktest::expectTextList(*sql, kUnlabelledList, {});
}

TEST(DBRestoreDump, HoldsAllFourEngineBlocksInOrderWithoutWhatIsNeverWritten) {
    auto p = filledRecord(2);
    const std::string dump = p->c_str();
    std::size_t at = 0;
    for (const char* fragment :
         {"\nPreCmd:[pre.sh]\n", "Fenmark No:[424242]\n", "Desination Client Id:[15]\n",
          "Retry No:[21]\nSQL Restore Parameters:\nSQL Info:",
          "\nInformix Restore Parameters:\nCopy ID:[51]",
          "\nDB2 Restore Parameters:\nRun Post Command Always:[41]",
          "\nOracle Restore Parameters:\nControl File Path:[/ctl]",
          "\nJob Description:[first line\nsecond line\n]"}) {
        const std::size_t found = dump.find(fragment, at);
        ASSERT_NE(std::string::npos, found) << fragment;
        at = found;
    }
    EXPECT_EQ(']', dump.back());
    for (const char* unwritten : {"SECRET", "recover-text", "extra]", "u1"}) {
        EXPECT_EQ(std::string::npos, dump.find(unwritten)) << unwritten;
    }

    // The engine blocks end with their lists; the SQL Server one starts with them.
    EXPECT_NE(std::string::npos, dump.find("\nSource Paths:[/s1 /s2 ]\nRedirect Paths:[/r1 ]"));
    EXPECT_NE(std::string::npos, dump.find("Source Paths:[/db2a /db2b ]\n"));
    EXPECT_NE(std::string::npos, dump.find("\nSQL Changed DB:\nId:[61]\tName:[db1]\nId:[62]"));
}

}  // namespace
