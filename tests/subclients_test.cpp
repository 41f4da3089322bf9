// Subclient creation and deletion, SQL database ids, system databases,
// content discovery, global filters and virtual-server calls, against the
// simulated server.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vsdktest;
using namespace OrvaneUtilities;

namespace {

class SubclientTest : public StartedTest {
protected:
    template <class Fill>
    void answer(unsigned long requestTag, unsigned long replyTag, Fill fill) {
        env.server().replyWith(requestTag, replyTag, [fill](const CNMessageBase&, CNMessageBase& reply) { fill(reply); });
    }
};

CNMessageBase sqlDatabase(long long id, const std::string& name) {
    QSQLDBInfo db;
    msgf::putInt(db, SqlDatabase::kId, id);
    msgf::putText(db, SqlDatabase::kName, name);
    return db;
}

_QSQLDBInfo sqlRecord(int id, const char* name) {
    _QSQLDBInfo r;
    r.id = id;
    setText(r.name, name);
    return r;
}

TEST_F(SubclientTest, CreationSendsEveryMemberToItsField) {
    _QSetSubclientParameters p;
    p.operationId = 7, p.clientId = 1, p.subclientId = -5, p.storagePolicyId = 11;
    p.storagePolicyIndexId = 12, p.lastAccessTime = 13, p.compression = 5, p.networkAgents = 14;
    p.systemState = 15, p.sqlDataStreamCount = 16, p.sqlLogStreamCount = 17, p.sqlSubclientType = 18;
    p.singleInstancing = 0x123456789ULL, p.activityControl = 19, p.encryption = 20, p.dataReaders = 21;
    setTexts({{p.subclientName, "sub"}, {p.storagePolicyName, "sp"}, {p.preBackupProcess, "pre-b"},
              {p.postBackupProcess, "post-b"}, {p.preScanProcess, "pre-s"},
              {p.postScanProcess, "post-s"}, {p.prePostUserName, "user"}, {p.prePostPassword, "pw"}});
    p.contents = {"/a", "/b"};
    p.sqlDatabases = {sqlRecord(-1, "master"), sqlRecord(9, "sales")};
    p.description = {"d1"};
    answer(QSetSubclientsReqMsg::kTag, QSetSubclientsRespMsg::kTag,
           [](CNMessageBase& reply) { msgf::putInt(reply, SetSubclient::kNewId, 0x100000063LL); });
    int id = 0;
    ASSERT_EQ(0u, VSDKSetSubclients(&p, &id));
    EXPECT_EQ(0x63, id);
    EXPECT_TRUE(env.logContains("SubClient Created with id:[99]"));
    EXPECT_FALSE(env.logContains("pw]"));

    namespace S = SetSubclient;
    auto sent = expectSent(env.server(), QSetSubclientsReqMsg::kTag, {
        {TreeCreation::kOperationId, 7}, {TreeCreation::kConstant, 2}, {TreeCreation::kSubclientId, -5},
        {TreeCreation::kSubclientName, "sub"}, {S::kStoragePolicyId, 11}, {S::kStoragePolicyName, "sp"},
        {S::kStoragePolicyIndexId, 12}, {S::kLastAccessTime, 13}, {S::kCompression, 5}, {S::kNetworkAgents, 14},
        {S::kPreBackupProcess, "pre-b"}, {S::kPostBackupProcess, "post-b"}, {S::kPreScanProcess, "pre-s"},
        {S::kPostScanProcess, "post-s"}, {S::kPrePostUserName, "user"}, {S::kPrePostPassword, "pw"},
        {S::kSystemState, 15}, {S::kSqlLogStreamCount, 17}, {S::kSqlDataStreamCount, 16}, {S::kSqlSubclientType, 18},
        {S::kSingleInstancing, 0x123456789LL}, {S::kEncryption, 20}, {S::kActivityControl, 19},
        {S::kDataReaders, 21}, {S::kOne, 1}});
    ASSERT_TRUE(sent);
    expectTextList(*sent, S::kContents, {"/a", "/b"});
    expectTextList(*sent, S::kDescription, {"d1"});
    expectTextList(*sent, S::kOtherList, {});  // sent whole, also when empty
    const std::vector<CNMessageBase>* dbs = objectListAt(*sent, S::kSqlDatabases);
    ASSERT_TRUE(dbs && dbs->size() == 2);
    expectFields((*dbs)[0], {{SqlDatabase::kId, 4294967295LL}, {SqlDatabase::kName, "master"}});
    expectFields((*dbs)[1], {{SqlDatabase::kId, 9}, {SqlDatabase::kName, "sales"}});
}

TEST_F(SubclientTest, RefusedCreationGivesMinusOneAndTheFixedText) {
    _QSetSubclientParameters p;
    env.server().serverError(QSetSubclientsReqMsg::kTag, 0x10c, "server words");
    int id = 5;
    EXPECT_EQ(0x10cu, VSDKSetSubclients(&p, &id));
    EXPECT_EQ(-1, id);
    EXPECT_STREQ("server words", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "Creation of SubClient failed with Error code [0x10c] Error string [Operation failed at Mardock]"));
    const auto sent = onlyRequest(env.server(), QSetSubclientsReqMsg::kTag);
    ASSERT_TRUE(sent);
    expectTextList(*sent, SetSubclient::kContents, {});
    const auto* dbs = objectListAt(*sent, SetSubclient::kSqlDatabases);
    EXPECT_TRUE(dbs && dbs->empty());
}

TEST_F(SubclientTest, SuccessfulDeletionStoresTheRepliesText) {
    setErrorString("earlier");
    answer(QDeleteSubclientReqMsg::kTag, QDeleteSubclientRespMsg::kTag, [](CNMessageBase& reply) {
        msgf::putText(msgf::child<QErrorMsg>(reply, msgf::kReplyError), msgf::kErrorText, "deleted");
    });
    _QDeleteSubclientParameters p;
    p.subclientId = 4;
    EXPECT_EQ(0u, VSDKDeleteSubclient(&p));
    EXPECT_STREQ("deleted", VSDKGetLastErrorString());
    expectSent(env.server(), QDeleteSubclientReqMsg::kTag, {{TreeSelector::kSubclientId, 4}, {TreeSelector::kSubclientName, ""}});
}

TEST_F(SubclientTest, SubclientEntriesCarryTheirListsAndSqlIdsReadSigned) {
    answer(QGetSubclientsReqMsg::kTag, QGetSubclientsRespMsg::kTag, [](CNMessageBase& reply) {
        QSubclient withDbs, withContent;
        msgf::appendObject(withDbs, Subclient::kSqlDatabases, sqlDatabase(4294967295LL, "master"));
        msgf::putInt(withDbs, Subclient::kSingleInstancing, 0x500000001LL);
        msgf::appendText(withContent, Subclient::kContents, "/data");
        msgf::appendObject(reply, Subclient::kList, withDbs);
        msgf::appendObject(reply, Subclient::kList, withContent);
    });
    _QAgentTreePath path;
    _QSubclientInfo* subclients = nullptr;
    int count = 0;
    ASSERT_EQ(0u, VSDKGetSubclients(&path, &subclients, &count));
    ASSERT_EQ(2, count);
    ASSERT_EQ(1u, subclients[0].sqlDatabases.size());
    EXPECT_EQ(-1, subclients[0].sqlDatabases[0].id);
    EXPECT_STREQ("master", subclients[0].sqlDatabases[0].name);
    EXPECT_EQ(0x500000001LL, subclients[0].singleInstancing);
    EXPECT_TRUE(subclients[0].contents.empty() && subclients[1].sqlDatabases.empty());
    EXPECT_EQ(std::vector<std::string>{"/data"}, subclients[1].contents);
    delete[] subclients;

    env.server().clearScripts();  // a nested entry of another type: an invalid reply
    answer(QGetSubclientsReqMsg::kTag, QGetSubclientsRespMsg::kTag, [](CNMessageBase& reply) {
        QSubclient entry;
        msgf::appendObject(entry, Subclient::kSqlDatabases, QTime());
        msgf::appendObject(reply, Subclient::kList, entry);
    });
    subclients = nullptr, count = -1;
    EXPECT_EQ(0x207u, VSDKGetSubclients(&path, &subclients, &count));
    EXPECT_TRUE(count == -1 && subclients == nullptr);
}

TEST_F(SubclientTest, SystemDatabaseCodeWholeAndZeroOnRefusal) {
    answer(QGetSystemDatabasesReqMsg::kTag, QGetSystemDatabasesRespMsg::kTag, [](CNMessageBase& reply) {
        msgf::putInt(reply, SystemDatabases::kDatabaseCode, 0x700000001LL);
    });
    _QGetSystemDatabasesParameters p;
    p.copyPrecedence = -3, p.toTime = timeOf(4);
    long long code = 0;
    ASSERT_EQ(0u, VSDKGetSystemDatabases(&p, &code));
    EXPECT_EQ(0x700000001LL, code);
    EXPECT_TRUE(env.logContains("Successful with Database Code:[30064771073]"));
    const auto sent = expectSent(env.server(), QGetSystemDatabasesReqMsg::kTag,
                                 {{SystemDatabases::kCopyPrecedence, -3}, {TreeSelector::kBackupSetId, 0}});
    ASSERT_TRUE(sent);
    expectTime(*sent, SystemDatabases::kToTime, p.toTime);

    env.server().clearScripts();
    env.server().serverError(QGetSystemDatabasesReqMsg::kTag, 0x44, "refused");
    EXPECT_EQ(0x44u, VSDKGetSystemDatabases(&p, &code));
    EXPECT_EQ(0, code);
}

TEST_F(SubclientTest, DiscoveryReadsThePathsOfTheContentObject) {
    answer(QDiscoverContentReqMsg::kTag, QDiscoverContentRespMsg::kTag, [](CNMessageBase& reply) {
        CNMessageBase& content = msgf::child<QDiscoveredContentMsg>(reply, DiscoverContent::kContent);
        for (const char* path : {"/a", "/b", "/c"}) msgf::appendText(content, DiscoverContent::kContentPaths, path);
    });
    _QDiscoverContentParameters p;
    p.seventhValue = -1;
    _QDiscoverContentInfo* paths = nullptr;
    int count = 0;
    ASSERT_EQ(0u, VSDKDiscoverContent(&p, &paths, &count));
    ASSERT_EQ(3, count);
    EXPECT_STREQ("/c", paths[2].path);
    delete[] paths;
    expectSent(env.server(), QDiscoverContentReqMsg::kTag, {{NodeIds::kConstant, 2}, {NodeIds::kClientId, 0},
               {DiscoverContent::kFifthValue, 0}, {DiscoverContent::kSeventhValue, -1}});

    env.server().clearScripts();  // no content object: an empty list
    _QDiscoverContentInfo* untouched = paths;
    ASSERT_EQ(0u, VSDKDiscoverContent(&p, &untouched, &count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(paths, untouched);
}

TEST_F(SubclientTest, GlobalFiltersByOperatingSystem) {
    answer(QGetGlobalFiltersReqMsg::kTag, QGetGlobalFiltersRespMsg::kTag, [](CNMessageBase& reply) {
        QOSFilterAssoc withFilters, without;
        msgf::putInt(withFilters, GlobalFilter::kOsId, 3);
        QFilter f;
        msgf::putInt(f, GlobalFilter::kFilterValue, 8);
        msgf::putText(f, GlobalFilter::kFilterText, std::string(1023, 'x'));
        msgf::appendObject(withFilters, GlobalFilter::kFilters, f);
        msgf::putInt(without, GlobalFilter::kOsId, 4);
        msgf::appendObject(reply, GlobalFilter::kList, withFilters);
        msgf::appendObject(reply, GlobalFilter::kList, without);
    });
    _QOSFilterAssocInfo* filters = nullptr;
    int count = 0;
    ASSERT_EQ(0u, VSDKGetGlobalFilters(&filters, &count));
    ASSERT_EQ(2, count);
    ASSERT_EQ(1u, filters[0].filters.size());
    EXPECT_EQ(8, filters[0].filters[0].value);
    EXPECT_EQ(std::string(1023, 'x'), filters[0].filters[0].filter);
    EXPECT_TRUE(filters[1].osId == 4 && filters[1].filters.empty());
    delete[] filters;

    _QSetOSFilterParameters set;
    set.osId = -2;
    ASSERT_EQ(0u, VSDKSetGlobalFilters(&set));
    expectSent(env.server(), QSetGlobalFiltersReqMsg::kTag,
               {{GlobalFilter::kSetOsId, -2}, Expect::absent(GlobalFilter::kSetFilters)});
}

TEST_F(SubclientTest, VirtualServerCallsLogTheFixedText) {
    _QApplicationIdInfo ids;
    ids.clientId = 0x8000000000000001ULL;
    std::string property = "old";
    answer(QGetVSBackupsetPropReq::kTag, QGetVSBackupsetPropResp::kTag, [](CNMessageBase&) {});
    ASSERT_EQ(0u, VSDKGetVSBackupsetProperty(&ids, &property));
    EXPECT_EQ("", property);
    EXPECT_TRUE(env.logContains("Client Id: [9223372036854775809]"));

    env.server().serverError(QSetVSSubclientContentReq::kTag, 0x7777, "server words");
    _QSetVSSubclientContentParameters p;
    p.subclientId = -6;
    EXPECT_EQ(0x7777u, VSDKSetVSSubclientContent(&p));
    EXPECT_STREQ("server words", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("SetVSSubclientContent operation failed with Error code [0x7777] "
                                "Error string [Unknown Error Code.Please check logs for more details.]"));
    expectSent(env.server(), QSetVSSubclientContentReq::kTag, {{VirtualServer::kContentSubclientId, -6}, {VirtualServer::kContentSubclientName, ""},
                         {VirtualServer::kContentGuestHosts, ""}, {VirtualServer::kContentGuestHosts2, ""},
                         {VirtualServer::kContentProperty, ""}});
}

TEST(SubclientDumps, CreationAndDeletionRecords) {
    _QSetSubclientParameters p;
    p.compression = 5;
    p.sqlDatabases = {sqlRecord(1, "a"), sqlRecord(2, "b")};
    p.description = {"x", "y"};
    setText(p.prePostPassword, "secret");
    const std::string dump = p.c_str();
    EXPECT_NE(std::string::npos, dump.find("Sql Content: [a b ]\n"));
    EXPECT_NE(std::string::npos, dump.find("Compression: [On MA]\n"));
    EXPECT_EQ(std::string::npos, dump.find("secret"));
    EXPECT_EQ("Description:[x\ny\n]", dump.substr(dump.rfind("Description")));
    const std::string del = _QDeleteSubclientParameters().c_str();
    EXPECT_EQ(0u, del.find("\nClient Id:[0]\n"));
    EXPECT_EQ("BackupSet Name:[]\nSubClient Id:[0]\nSubClient Name:[]", del.substr(del.find("BackupSet Name")));
}

}  // namespace
