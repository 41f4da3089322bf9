// Instance and backup set creation, change and deletion against the simulated
// server: the fields each request carries (its path levels, never one below),
// the database block chosen by the Appmodule type, the out-values and last
// error after a refusal, a failed exchange or a success, and the dumps.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "support/WireChecks.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using namespace vsdktest;
namespace ou = OrvaneUtilities;
using simserver::Action;

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

// The server names the new backup set 55 (once, or always).
void answerNewId(simserver::SimServer& server, int times = -1) {
    server.replyWith(ou::QSetBackupSetsReqMsg::kTag, 0, [](const CNMessageBase&, CNMessageBase& reply) {
        msgf::putInt(reply, ou::SetBackupSetResp::kNewId, 55);
    }, times);
}

using AgentsTest = StartedTest;

// One request as sent: exactly these field numbers, these values.
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
    namespace sel = ou::TreeSelector;
    namespace cre = ou::TreeCreation;
    namespace si = ou::SetInstanceReq;
    const std::vector<Expect> selector = {{sel::kConstant, 2}, {sel::kClientId, -11}, {sel::kClientName, "client"},
                                          {sel::kAppTypeId, 22}, {sel::kAppName, "app"}, {sel::kInstanceId, 33},
                                          {sel::kInstanceName, "inst"}, {sel::kBackupSetId, 44},
                                          {sel::kBackupSetName, "bset"}};
    auto instanceOf = [](int type) {
        return [type] { int id = 0; auto p = instance(type); return VSDKSetInstances(&p, &id); };
    };
    const std::vector<WireCase> cases = {
        {"list backup sets", ou::QGetBackupSetsReqMsg::kTag,
         [] { _QAgentTreePath s; path4(s); _QBackupSetInfo* a = nullptr; int n = 0;
              return VSDKGetBackupSets(&s, &a, &n); },
         fieldRange(1, 9), {selector.begin(), selector.end() - 2}},
        {"modify", ou::QModifyBackupSetsReqMsg::kTag,
         [] { _QModifyBackupSetParameters p; path4(p); p.onDemand = 1; return VSDKModifyBackupSets(&p); },
         fieldRange(1, 13),
         {{sel::kBackupSetId, 44}, {sel::kBackupSetName, "bset"}, {ou::ModifyBackupSetReq::kOnDemand, 1},
          {ou::ModifyBackupSetReq::kDefault, 0}}},
        {"delete", ou::QDeleteBackupSetReqMsg::kTag,
         [] { _QDeleteBackupSetParameters p; path4(p); return VSDKDeleteBackupSet(&p); },
         fieldRange(1, 11), selector},
        {"create backup set", ou::QSetBackupSetsReqMsg::kTag,
         [] { int id = 0; auto p = newBackupSet(5); return VSDKSetBackupSets(&p, &id); },
         fieldRange(1, 24),
         {{cre::kOperationId, 7}, {cre::kBackupSetId, 44}, {cre::kBackupSetName, "bset"},
          {ou::SetBackupSetReq::kCompression, 5}, {ou::SetBackupSetReq::kPrePostPassword, kSecretText}}},
        {"instance, type 33: no block", ou::QSetInstancesReqMsg::kTag, instanceOf(33), fieldRange(1, 16),
         {{cre::kOperationId, 7}, {cre::kConstant, 2}, {cre::kAppTypeId, 33}, {cre::kInstanceName, "inst"},
          {si::kLogPolicyId, 5}, {si::kDefaultPolicyId, 6}}},
        {"instance, type 81: SQL", ou::QSetInstancesReqMsg::kTag, instanceOf(81), fieldRange(1, 19),
         {{si::kUserName, "sa"}, {si::kPassword, kSecretText}},
         si::kSqlOptions, ou::QSQLInstanceOptions::kTag, fieldRange(1, 4),
         {{ou::SqlInstanceOptions::kOverrideCSSettings, 1}}},
        {"instance, type 80: Oracle", ou::QSetInstancesReqMsg::kTag, instanceOf(80), fieldRange(1, 20, {19}),
         {{si::kUserName, "ora"}},
         si::kOracleOptions, ou::QOracleInstanceOptions::kTag, fieldRange(1, 16),  // no use-catalog field
         {{ou::OracleInstanceOptions::kCatalogUser, ""}, {ou::OracleInstanceOptions::kBlockSize, -2147483648LL},
          {ou::OracleInstanceOptions::kConnectStringPassword, kSecretText}}},
        {"instance, type 62: Db2", ou::QSetInstancesReqMsg::kTag, instanceOf(62), fieldRange(1, 21, {19, 20}),
         {{si::kUserName, "db2"}},
         si::kDb2Options, ou::QDb2InstanceOptions::kTag, fieldRange(1, 5),
         {{ou::Db2InstanceOptions::kCompression, 7}}},
    };
    answerNewId(env.server());
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        env.server().clearJournal();
        EXPECT_EQ(0u, c.call());
        auto request = expectSent(env.server(), c.tag, c.fields);
        ASSERT_TRUE(request);
        EXPECT_EQ(c.numbers, fieldNumbers(*request));
        if (!c.optionTag) continue;
        const CNMessageBase* options = expectObject(*request, c.options, c.optionTag, c.optionFields);
        ASSERT_NE(nullptr, options);
        EXPECT_EQ(c.optionNumbers, fieldNumbers(*options));
    }
    EXPECT_FALSE(env.logContains(kSecretText)) << "passwords are masked in the request log";
}

// A creation's id output: -1 on a refusal, untouched when the exchange fails;
// the refusal's line carries the text its operation names. A backup set's
// new id is stored; a reply without one is invalid.
TEST_F(AgentsTest, CreationOutValuesAndFailureLines) {
    // (request, phrase, failure line with the fixed text, call)
    const std::vector<std::tuple<unsigned long, const char*, bool, std::function<unsigned long(int&)>>> creations = {
        {ou::QSetInstancesReqMsg::kTag, "Creation of Instances", true,
         [](int& id) { auto p = instance(81); return VSDKSetInstances(&p, &id); }},
        {ou::QSetBackupSetsReqMsg::kTag, "Creation of Backupset", false,
         [](int& id) { auto p = newBackupSet(0); return VSDKSetBackupSets(&p, &id); }},
    };
    for (const auto& [tag, phrase, fixedText, call] : creations) {
        SCOPED_TRACE(phrase);
        env.server().clearScripts();  // scripts made later come after those made earlier
        env.server().serverError(tag, 0x31, "refused", 1);
        int id = 1234;
        EXPECT_EQ(0x31u, call(id));
        EXPECT_EQ(-1, id) << "refused";
        EXPECT_STREQ("refused", VSDKGetLastErrorString());
        EXPECT_TRUE(env.logContains(std::string(phrase) + " failed with Error code [0x31] Error string [" +
                                    (fixedText ? GetErrorString(0x31) : "refused") + "]"));
        env.server().script(tag, Action::noReplyClose(), 1);
        id = 1234;
        EXPECT_EQ(0x205u, call(id));
        EXPECT_EQ(1234, id);
    }
    answerNewId(env.server(), 1);
    int id = 0;
    const auto& createBackupSet = std::get<3>(creations[1]);
    ASSERT_EQ(0u, createBackupSet(id));
    EXPECT_EQ(55, id);
    EXPECT_TRUE(env.logContains("BackupSet Created with id:[55]"));
    EXPECT_EQ(0x207u, createBackupSet(id)) << "the paired reply, code 0, no id";
    EXPECT_EQ(55, id);
}

TEST_F(AgentsTest, ChangeAndDeletionStoreTheServerTextAlsoOnSuccess) {
    const std::vector<std::tuple<unsigned long, const char*, std::function<unsigned long()>>> changes = {
        {ou::QModifyBackupSetsReqMsg::kTag, "modify",
         [] { _QModifyBackupSetParameters p; return VSDKModifyBackupSets(&p); }},
        {ou::QDeleteBackupSetReqMsg::kTag, "delete",
         [] { _QDeleteBackupSetParameters p; return VSDKDeleteBackupSet(&p); }},
    };
    for (const auto& [tag, name, call] : changes) {
        SCOPED_TRACE(name);
        env.server().replyWith(tag, 0, [](const CNMessageBase&, CNMessageBase& reply) {
            msgf::putText(msgf::child<ou::QErrorMsg>(reply, msgf::kReplyError), msgf::kErrorText, "done");
        }, 1);
        setErrorString("before");
        EXPECT_EQ(0u, call());
        EXPECT_STREQ("done", VSDKGetLastErrorString());
    }
}

TEST(AgentDumps, LabelsLineEndsAndNoPasswords) {
    _QDeleteBackupSetParameters del;
    path4(del);
    EXPECT_EQ("\nClient Id:[-11]\nClient Name:[client]\nAppmodule Type:[22]\nAppmodule Name:[app]\n"
              "Instance Id:[33]\nInstance Name:[inst]\nBackupSet Id:[44]\nBackupSet Name:[bset]",
              del.c_str());
    _QModifyBackupSetParameters mod;
    path4(mod);
    mod.onDemand = 1;
    const std::string m = mod.c_str();
    EXPECT_EQ("BackupSet Name: [bset]\nOn Demand: [1]\nDefault: [0]", m.substr(m.find("BackupSet Name")));

    const std::string set = newBackupSet(5).c_str(), inst = instance(33).c_str();
    EXPECT_EQ(20, std::count(set.begin(), set.end(), '\n') - 1) << "twenty lines after the leading break";
    EXPECT_EQ("Compression :[On MA]\nPrePost User Name:[]\n", set.substr(set.find("Compression")));
    EXPECT_NE(std::string::npos, std::string(newBackupSet(2).c_str()).find("Compression :[OFF]\n"));
    for (const char* part : {"\nOperation Id:[7]\nClient Id:[-11]\n", "]\nSQL Instance parameters:SQL User Name[sa]\n",
                             "]Oracle Instance Parameters:\nNT User:[ora]\n", "BlockSize:[6442450944]\n",
                             "Compression:[On CLIENT]\n", "]DB2 Instance Parameters:\nDB2 User:[db2]\n", "Compression7\n"}) {
        EXPECT_NE(std::string::npos, inst.find(part)) << part;
    }
    for (const std::string& dump : {set, inst}) EXPECT_EQ(std::string::npos, dump.find(kSecretText));
}

}  // namespace
