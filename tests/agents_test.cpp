// The agent tree: creation, change and deletion of instances, backup sets and
// subclients (path levels, the database block by Appmodule type, out-values
// and failure lines), and the tree's other listings and calls.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "support/WireChecks.h"

#include <tuple>

using namespace vsdktest;
using namespace OrvaneUtilities;

namespace {

constexpr const char* kSecretText = "pw-secret";

// The path down to the instance, and down to the backup set.
template <class R>
void path3(R& r, int appType = 22) {
    r.clientId = -11, r.appTypeId = appType, r.instanceId = 33;
    setTexts({{r.clientName, "client"}, {r.appName, "app"}, {r.instanceName, "inst"}});
}
template <class R>
void path4(R& r) {
    path3(r), r.backupSetId = 44, setText(r.backupSetName, "bset");
}

_QSetInstanceParameters instance(int appType) {
    _QSetInstanceParameters p;
    path3(p, appType);
    p.operationId = 7, p.logPolicyId = 5, p.defaultPolicyId = 6, p.sqlParams.overrideCSSettings = true;
    p.oracleParams.useCatalog = true;  // with an empty catalog user
    p.oracleParams.blockSize = 0x180000000LL, p.db2Params.compression = 7;
    auto& o = p.oracleParams;
    setTexts({{p.sqlParams.userName, "sa"}, {p.sqlParams.password, kSecretText}, {o.ntUser, "ora"},
              {o.password, kSecretText}, {o.connectStringPassword, kSecretText}, {o.catalogPassword, kSecretText},
              {p.db2Params.db2User, "db2"}, {p.db2Params.password, kSecretText}});
    return p;
}

_QSetBackupSetParameters newBackupSet(int compression) {
    _QSetBackupSetParameters p;
    path4(p);
    p.operationId = 7, p.compression = compression, setText(p.prePostPassword, kSecretText);
    return p;
}

_QSQLDBInfo sqlRecord(int id, const char* name) {
    _QSQLDBInfo r;
    r.id = id, setText(r.name, name);
    return r;
}

class AgentsTest : public StartedTest {};

// One request as sent: exactly these field numbers (unless none are given), these values.
struct WireCase {
    const char* name;
    unsigned long tag;
    std::function<unsigned long()> call;
    std::set<short> numbers;
    std::vector<Expect> fields;
    FieldId options = {};  // its option object, exactly optionNumbers, with optionFields
    unsigned long optionTag = 0;
    std::set<short> optionNumbers = {};
    std::vector<Expect> optionFields = {};
};

TEST_F(AgentsTest, RequestsCarryTheirLevelsAndFields) {
    namespace sel = TreeSelector;
    namespace cre = TreeCreation;
    namespace si = SetInstanceReq;
    const std::vector<Expect> selector = {{sel::kConstant, 2}, {sel::kClientId, -11}, {sel::kInstanceName, "inst"},
                                          {sel::kBackupSetId, 44}, {sel::kBackupSetName, "bset"}};
    auto instanceOf = [](int type) {
        return [type] { int id = 0; auto p = instance(type); return VSDKSetInstances(&p, &id); };
    };
    const std::vector<WireCase> cases = {
        {"list backup sets", QGetBackupSetsReqMsg::kTag,
         [] { _QAgentTreePath s; path4(s); _QBackupSetInfo* a = nullptr; int n = 0;
              return VSDKGetBackupSets(&s, &a, &n); },
         fieldRange(1, 9), {selector.begin(), selector.end() - 2}},
        {"modify", QModifyBackupSetsReqMsg::kTag,
         [] { _QModifyBackupSetParameters p; path4(p); p.onDemand = 1; return VSDKModifyBackupSets(&p); },
         fieldRange(1, 13),
         {{sel::kBackupSetName, "bset"}, {ModifyBackupSetReq::kOnDemand, 1}, {ModifyBackupSetReq::kDefault, 0}}},
        {"delete", QDeleteBackupSetReqMsg::kTag,
         [] { _QDeleteBackupSetParameters p; path4(p); return VSDKDeleteBackupSet(&p); }, fieldRange(1, 11), selector},
        {"delete subclient", QDeleteSubclientReqMsg::kTag,
         [] { _QDeleteSubclientParameters p; p.subclientId = 4; return VSDKDeleteSubclient(&p); }, {},
         {{sel::kSubclientId, 4}, {sel::kSubclientName, ""}}},
        {"create backup set", QSetBackupSetsReqMsg::kTag,
         [] { int id = 0; auto p = newBackupSet(5); return VSDKSetBackupSets(&p, &id); },
         fieldRange(1, 24),
         {{cre::kOperationId, 7}, {SetBackupSetReq::kCompression, 5}, {SetBackupSetReq::kPrePostPassword, kSecretText}}},
        {"instance, type 33: no block", QSetInstancesReqMsg::kTag, instanceOf(33), fieldRange(1, 16),
         {{cre::kOperationId, 7}, {cre::kConstant, 2}, {si::kDefaultPolicyId, 6}}},
        {"instance, type 81: SQL", QSetInstancesReqMsg::kTag, instanceOf(81), fieldRange(1, 19),
         {{si::kUserName, "sa"}, {si::kPassword, kSecretText}},
         si::kSqlOptions, QSQLInstanceOptions::kTag, fieldRange(1, 4), {{SqlInstanceOptions::kOverrideCSSettings, 1}}},
        {"instance, type 80: Oracle", QSetInstancesReqMsg::kTag, instanceOf(80), fieldRange(1, 20, {19}),
         {{si::kUserName, "ora"}},
         si::kOracleOptions, QOracleInstanceOptions::kTag, fieldRange(1, 16),  // no use-catalog field
         {{OracleInstanceOptions::kCatalogUser, ""}, {OracleInstanceOptions::kBlockSize, -2147483648LL},
          {OracleInstanceOptions::kConnectStringPassword, kSecretText}}},
        {"instance, type 62: Db2", QSetInstancesReqMsg::kTag, instanceOf(62), fieldRange(1, 21, {19, 20}),
         {{si::kUserName, "db2"}},
         si::kDb2Options, QDb2InstanceOptions::kTag, fieldRange(1, 5), {{Db2InstanceOptions::kCompression, 7}}},
    };
    replyFields(env.server(), QSetBackupSetsReqMsg::kTag, 0, {{SetBackupSetResp::kNewId, 55}});
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        env.server().clearJournal();
        EXPECT_EQ(0u, c.call());
        auto request = expectSent(env.server(), c.tag, c.fields);
        if (!c.numbers.empty()) { EXPECT_EQ(c.numbers, fieldNumbers(*request)); }
        if (!c.optionTag) continue;
        const CNMessageBase* options = expectObject(*request, c.options, c.optionTag, c.optionFields);
        EXPECT_EQ(c.optionNumbers, fieldNumbers(*options));
    }
    EXPECT_FALSE(env.logContains(kSecretText)) << "passwords are masked in the request log";
}

// A creation's id output: -1 on a refusal, whose line carries the text its
// operation names; a backup set's new id is stored, a reply without one is invalid.
TEST_F(AgentsTest, CreationOutValuesAndFailureLines) {
    // (request, phrase, failure line with the fixed text, call)
    const std::vector<std::tuple<unsigned long, const char*, bool, std::function<unsigned long(int&)>>> creations = {
        {QSetInstancesReqMsg::kTag, "Creation of Instances", true,
         [](int& id) { auto p = instance(81); return VSDKSetInstances(&p, &id); }},
        {QSetBackupSetsReqMsg::kTag, "Creation of Backupset", false,
         [](int& id) { auto p = newBackupSet(0); return VSDKSetBackupSets(&p, &id); }},
        {QSetSubclientsReqMsg::kTag, "Creation of SubClient", true,
         [](int& id) { _QSetSubclientParameters p; return VSDKSetSubclients(&p, &id); }},
    };
    for (const auto& [tag, phrase, fixedText, call] : creations) {
        SCOPED_TRACE(phrase);
        env.server().serverError(tag, 0x31, "refused", 1);
        int id = 1234;
        EXPECT_EQ(0x31u, call(id));
        EXPECT_EQ(-1, id);
        EXPECT_TRUE(env.logContains(std::string(phrase) + " failed with Error code [0x31] Error string [" +
                                    (fixedText ? GetErrorString(0x31) : "refused") + "]"));
    }
    // A subclient's empty database list is sent whole.
    const auto sent = env.server().requestsOfType(QSetSubclientsReqMsg::kTag).at(0).message;
    const auto* dbs = objectListAt(*sent, SetSubclient::kSqlDatabases);
    EXPECT_TRUE(dbs && dbs->empty());

    replyFields(env.server(), QSetBackupSetsReqMsg::kTag, 0, {{SetBackupSetResp::kNewId, 55}}, {}, {}, 1);
    int id = 0;
    const auto& createBackupSet = std::get<3>(creations[1]);
    ASSERT_EQ(0u, createBackupSet(id));
    EXPECT_EQ(55, id);
    // The paired reply, code 0, no id: nothing was created.
    for (const auto& create : {createBackupSet, std::get<3>(creations[2])}) {
        env.server().script(simserver::kAnyRequest, simserver::Action::reply(0), 1);
        EXPECT_EQ(0x207u, create(id));
        EXPECT_EQ(55, id);
    }
}

// The members with special handling: the 64-bit value, the password sent as
// given (masked in the log), the constants, the lists and the ids widened
// without sign.
TEST_F(AgentsTest, SubclientCreationSendsItsSpecialMembers) {
    _QSetSubclientParameters p;
    p.operationId = 7, p.subclientId = -5, p.singleInstancing = 0x123456789ULL, p.dataReaders = 21;
    setTexts({{p.subclientName, "sub"}, {p.prePostPassword, "pw"}});
    p.contents = {"/a", "/b"}, p.sqlDatabases = {sqlRecord(-1, "master"), sqlRecord(9, "sales")};
    replyFields(env.server(), QSetSubclientsReqMsg::kTag, 0, {{SetSubclient::kNewId, 0x100000063LL}});
    int id = 0;
    ASSERT_EQ(0u, VSDKSetSubclients(&p, &id));
    EXPECT_EQ(0x63, id);
    EXPECT_FALSE(env.logContains("pw]"));

    namespace S = SetSubclient;
    auto sent = expectSent(env.server(), QSetSubclientsReqMsg::kTag, {
        {TreeCreation::kOperationId, 7}, {TreeCreation::kConstant, 2}, {TreeCreation::kSubclientId, -5},
        {S::kPrePostPassword, "pw"}, {S::kSingleInstancing, 0x123456789LL}, {S::kDataReaders, 21}, {S::kOne, 1}});
    expectTextList(*sent, S::kContents, {"/a", "/b"});
    expectTextList(*sent, S::kOtherList, {});  // sent whole, also when empty
    const std::vector<CNMessageBase>* dbs = objectListAt(*sent, S::kSqlDatabases);
    ASSERT_TRUE(dbs && dbs->size() == 2);
    expectFields((*dbs)[0], {{SqlDatabase::kId, 4294967295LL}, {SqlDatabase::kName, "master"}});
}

TEST_F(AgentsTest, SubclientEntriesCarryTheirListsAndSqlIdsReadSigned) {
    auto withDbs = messageWith<QSubclient>({{Subclient::kSingleInstancing, 0x500000001LL}});
    msgf::appendObject(withDbs, Subclient::kSqlDatabases, messageWith<QSQLDBInfo>({{SqlDatabase::kId, 4294967295LL}}));
    QSubclient withContent;
    msgf::appendText(withContent, Subclient::kContents, "/data");
    replyFields(env.server(), QGetSubclientsReqMsg::kTag, 0, {}, Subclient::kList, {withDbs, withContent}, 1);
    _QAgentTreePath path;
    _QSubclientInfo* subclients = nullptr;
    int count = 0;
    ASSERT_EQ(0u, VSDKGetSubclients(&path, &subclients, &count));
    ASSERT_EQ(2, count);
    std::unique_ptr<_QSubclientInfo[]> owned(subclients);
    ASSERT_EQ(1u, subclients[0].sqlDatabases.size());
    EXPECT_EQ(-1, subclients[0].sqlDatabases[0].id);
    EXPECT_EQ(0x500000001LL, subclients[0].singleInstancing);
    EXPECT_TRUE(subclients[0].contents.empty() && subclients[1].sqlDatabases.empty());
    EXPECT_EQ(std::vector<std::string>{"/data"}, subclients[1].contents);

    QSubclient entry;  // a nested entry of another type: an invalid reply
    msgf::appendObject(entry, Subclient::kSqlDatabases, QTime());
    replyFields(env.server(), QGetSubclientsReqMsg::kTag, 0, {}, Subclient::kList, {entry});
    subclients = nullptr, count = -1;
    EXPECT_EQ(0x207u, VSDKGetSubclients(&path, &subclients, &count));
    EXPECT_TRUE(count == -1 && subclients == nullptr);
}

TEST_F(AgentsTest, SystemDatabaseCodeWholeAndZeroOnRefusal) {
    replyFields(env.server(), QGetSystemDatabasesReqMsg::kTag, 0, {{SystemDatabases::kDatabaseCode, 0x700000001LL}},
                {}, {}, 1);
    env.server().serverError(QGetSystemDatabasesReqMsg::kTag, 0x44, "refused");
    _QGetSystemDatabasesParameters p;
    p.copyPrecedence = -3, p.toTime = timeOf(4);
    long long code = 0;
    ASSERT_EQ(0u, VSDKGetSystemDatabases(&p, &code));
    EXPECT_EQ(0x700000001LL, code);
    const auto sent = expectSent(env.server(), QGetSystemDatabasesReqMsg::kTag,
                                 {{SystemDatabases::kCopyPrecedence, -3}, {TreeSelector::kBackupSetId, 0}});
    expectTime(*sent, SystemDatabases::kToTime, p.toTime);
    EXPECT_EQ(0x44u, VSDKGetSystemDatabases(&p, &code));
    EXPECT_EQ(0, code);
}

TEST_F(AgentsTest, DiscoveryReadsThePathsOfTheContentObject) {
    env.server().replyWith(QDiscoverContentReqMsg::kTag, 0, [](const CNMessageBase&, CNMessageBase& reply) {
        CNMessageBase& content = msgf::child<QDiscoveredContentMsg>(reply, DiscoverContent::kContent);
        for (const char* path : {"/a", "/b", "/c"}) msgf::appendText(content, DiscoverContent::kContentPaths, path);
    }, 1);
    _QDiscoverContentParameters p;
    p.seventhValue = -1;
    _QDiscoverContentInfo* paths = nullptr;
    int count = 0;
    ASSERT_EQ(0u, VSDKDiscoverContent(&p, &paths, &count));
    ASSERT_EQ(3, count);
    EXPECT_STREQ("/c", paths[2].path);
    delete[] paths;
    expectSent(env.server(), QDiscoverContentReqMsg::kTag, {{NodeIds::kConstant, 2}, {DiscoverContent::kSeventhValue, -1}});

    _QDiscoverContentInfo* untouched = paths;  // no content object: an empty list
    ASSERT_EQ(0u, VSDKDiscoverContent(&p, &untouched, &count));
    EXPECT_TRUE(count == 0 && untouched == paths);
}

TEST_F(AgentsTest, GlobalFiltersByOperatingSystem) {
    auto withFilters = messageWith<QOSFilterAssoc>({{GlobalFilter::kOsId, 3}});
    msgf::appendObject(withFilters, GlobalFilter::kFilters,
                       messageWith<QFilter>({{GlobalFilter::kFilterValue, 8},
                                             {GlobalFilter::kFilterText, std::string(1023, 'x')}}));
    replyFields(env.server(), QGetGlobalFiltersReqMsg::kTag, 0, {}, GlobalFilter::kList,
                {withFilters, messageWith<QOSFilterAssoc>({{GlobalFilter::kOsId, 4}})});
    _QOSFilterAssocInfo* filters = nullptr;
    int count = 0;
    ASSERT_EQ(0u, VSDKGetGlobalFilters(&filters, &count));
    ASSERT_EQ(2, count);
    std::unique_ptr<_QOSFilterAssocInfo[]> owned(filters);
    ASSERT_EQ(1u, filters[0].filters.size());
    EXPECT_EQ(std::string(1023, 'x'), filters[0].filters[0].filter);
    EXPECT_TRUE(filters[1].osId == 4 && filters[1].filters.empty());

    _QSetOSFilterParameters set;
    set.osId = -2;
    ASSERT_EQ(0u, VSDKSetGlobalFilters(&set));
    expectSent(env.server(), QSetGlobalFiltersReqMsg::kTag,
               {{GlobalFilter::kSetOsId, -2}, Expect::absent(GlobalFilter::kSetFilters)});
}

TEST_F(AgentsTest, VirtualServerContentFailureLineCarriesTheFixedText) {
    env.server().serverError(QSetVSSubclientContentReq::kTag, 0x7777, "server words");
    _QSetVSSubclientContentParameters p;
    p.subclientId = -6;
    EXPECT_EQ(0x7777u, VSDKSetVSSubclientContent(&p));
    EXPECT_TRUE(env.logContains("SetVSSubclientContent operation failed with Error code [0x7777] "
                                "Error string [Unknown Error Code.Please check logs for more details.]"));
    expectSent(env.server(), QSetVSSubclientContentReq::kTag,
               {{VirtualServer::kContentSubclientId, -6}, {VirtualServer::kContentProperty, ""}});
}

// The whole-text layout is the record-dump suite's; here the value texts,
// the wide numbers, the list joiner and the masked passwords.
TEST(AgentDumps, ValueTextsListsAndNoPasswords) {
    _QSetSubclientParameters sub;
    sub.sqlDatabases = {sqlRecord(1, "a"), sqlRecord(2, "b")};
    setText(sub.prePostPassword, kSecretText);
    _QApplicationIdInfo ids;
    ids.clientId = 0x8000000000000001ULL;
    const std::string set = newBackupSet(5).c_str(), inst = instance(33).c_str(), s = sub.c_str();
    for (const auto& [dump, part] :
         {std::pair{set, "Compression :[On MA]\n"}, {inst, "Compression:[On CLIENT]\n"},
          {inst, "BlockSize:[6442450944]\n"}, {ids.c_str(), "Client Id: [9223372036854775809]"},
          {s, "Sql Content: [a b ]\n"}}) {
        EXPECT_NE(std::string::npos, dump.find(part)) << part;
    }
    for (const std::string& dump : {set, inst, s}) EXPECT_EQ(std::string::npos, dump.find(kSecretText));
}

}  // namespace
