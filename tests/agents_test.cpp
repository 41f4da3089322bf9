// Instance and backup set creation, change and deletion against the simulated
// server: the fields each request carries (its path levels, never one below),
// the database block chosen by the Appmodule type, the out-values and last
// error after a refusal, a failed exchange or a success, and the dumps.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "support/WireChecks.h"

#include <functional>
#include <set>
#include <string>
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
    path3(r);
    r.backupSetId = 44;
    setText(r.backupSetName, "bset");
}

_QSetInstanceParameters instance(int appType) {
    _QSetInstanceParameters p;
    p.operationId = 7;
    path3(p, appType);
    p.logPolicyId = 5, p.defaultPolicyId = 6;
    setTexts({{p.sqlParams.userName, "sa"}, {p.sqlParams.password, kSecretText},
              {p.oracleParams.ntUser, "ora"}, {p.oracleParams.password, kSecretText},
              {p.oracleParams.connectStringPassword, kSecretText},
              {p.oracleParams.catalogPassword, kSecretText},
              {p.db2Params.db2User, "db2"}, {p.db2Params.password, kSecretText}});
    p.sqlParams.overrideCSSettings = true;
    p.oracleParams.useCatalog = true;  // with an empty catalog user
    p.oracleParams.blockSize = 0x180000000LL;
    p.db2Params.compression = 7;
    return p;
}

_QSetBackupSetParameters newBackupSet(int compression) {
    _QSetBackupSetParameters p;
    p.operationId = 7;
    path4(p);
    p.compression = compression;
    setText(p.prePostPassword, kSecretText);
    return p;
}

class AgentsTest : public StartedTest {
protected:
    void SetUp() override {
        StartedTest::SetUp();
        server().replyWith(ou::QSetBackupSetsReqMsg::kTag, 0, [](const CNMessageBase&, CNMessageBase& reply) {
            msgf::putInt(reply, ou::SetBackupSetResp::kNewId, 55);
        });
    }
    simserver::SimServer& server() { return env.server(); }
};

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
    const std::vector<Expect> selectorTo3 = {{sel::kConstant, 2}, {sel::kClientId, -11}, {sel::kClientName, "client"},
                                             {sel::kAppTypeId, 22}, {sel::kAppName, "app"},
                                             {sel::kInstanceId, 33}, {sel::kInstanceName, "inst"}};
    auto withBackupSet = [&](std::vector<Expect> e) {
        e.insert(e.end(), {{sel::kBackupSetId, 44}, {sel::kBackupSetName, "bset"}});
        return e;
    };
    auto instanceOf = [](int type) {
        return [type] { int id = 0; auto p = instance(type); return VSDKSetInstances(&p, &id); };
    };
    const std::vector<Expect> creation = {{cre::kOperationId, 7}, {cre::kConstant, 2}, {cre::kAppTypeId, 33},
                                          {cre::kInstanceName, "inst"}, {si::kLogPolicyId, 5}, {si::kDefaultPolicyId, 6}};
    const std::vector<WireCase> cases = {
        {"list backup sets", ou::QGetBackupSetsReqMsg::kTag,
         [] { _QAgentTreePath s; path4(s); _QBackupSetInfo* a = nullptr; int n = 0;
              return VSDKGetBackupSets(&s, &a, &n); },
         fieldRange(1, 9), selectorTo3},
        {"modify", ou::QModifyBackupSetsReqMsg::kTag,
         [] { _QModifyBackupSetParameters p; path4(p); p.onDemand = 1; return VSDKModifyBackupSets(&p); },
         fieldRange(1, 13),
         {{sel::kBackupSetId, 44}, {sel::kBackupSetName, "bset"}, {ou::ModifyBackupSetReq::kOnDemand, 1},
          {ou::ModifyBackupSetReq::kDefault, 0}}},
        {"delete", ou::QDeleteBackupSetReqMsg::kTag,
         [] { _QDeleteBackupSetParameters p; path4(p); return VSDKDeleteBackupSet(&p); },
         fieldRange(1, 11), withBackupSet(selectorTo3)},
        {"create backup set", ou::QSetBackupSetsReqMsg::kTag,
         [] { int id = 0; auto p = newBackupSet(5); return VSDKSetBackupSets(&p, &id); },
         fieldRange(1, 24),
         {{cre::kOperationId, 7}, {cre::kBackupSetId, 44}, {cre::kBackupSetName, "bset"},
          {ou::SetBackupSetReq::kCompression, 5}, {ou::SetBackupSetReq::kPrePostPassword, kSecretText}}},
        {"instance, type 33: no block", ou::QSetInstancesReqMsg::kTag, instanceOf(33), fieldRange(1, 16),
         creation},
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
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        server().clearJournal();
        EXPECT_EQ(0u, c.call());
        auto request = onlyRequest(server(), c.tag);
        ASSERT_TRUE(request);
        EXPECT_EQ(c.numbers, fieldNumbers(*request));
        expectFields(*request, c.fields);
        if (!c.optionTag) continue;
        const CNMessageBase* options = objectAt(*request, c.options, c.optionTag);
        ASSERT_NE(nullptr, options);
        EXPECT_EQ(c.optionNumbers, fieldNumbers(*options));
        expectFields(*options, c.optionFields);
    }
    EXPECT_FALSE(env.logContains(kSecretText)) << "passwords are masked in the request log";
}

// A creation's id output: -1 on a refusal, untouched when the exchange fails;
// the refusal's line carries the text its operation names.
struct Creation {
    const char* name;
    unsigned long tag;
    const char* phrase;
    bool fixedText;
    std::function<unsigned long(int&)> call;
};

TEST_F(AgentsTest, CreationOutValuesAndFailureLines) {
    const std::vector<Creation> creations = {
        {"instance", ou::QSetInstancesReqMsg::kTag, "Creation of Instances", true,
         [](int& id) { auto p = instance(81); return VSDKSetInstances(&p, &id); }},
        {"backup set", ou::QSetBackupSetsReqMsg::kTag, "Creation of Backupset", false,
         [](int& id) { auto p = newBackupSet(0); return VSDKSetBackupSets(&p, &id); }},
    };
    for (const Creation& c : creations) {
        SCOPED_TRACE(c.name);
        server().clearScripts();
        server().serverError(c.tag, 0x31, "refused", 1);
        const std::size_t mark = env.logMark();
        int id = 1234;
        EXPECT_EQ(0x31u, c.call(id));
        EXPECT_EQ(-1, id);
        EXPECT_STREQ("refused", VSDKGetLastErrorString());
        EXPECT_TRUE(env.logContains(std::string(c.phrase) + " failed with Error code [0x31] Error string [" +
                                        (c.fixedText ? GetErrorString(0x31) : "refused") + "]",
                                    mark));

        server().script(c.tag, Action::noReplyClose(), 1);
        id = 1234;
        EXPECT_EQ(0x205u, c.call(id));
        EXPECT_EQ(1234, id);
    }
}

TEST_F(AgentsTest, BackupSetCreationStoresTheNewIdOrRefusesAReplyWithoutOne) {
    auto p = newBackupSet(2);
    int id = 0;
    ASSERT_EQ(0u, VSDKSetBackupSets(&p, &id));
    EXPECT_EQ(55, id);
    EXPECT_TRUE(env.logContains("BackupSet Created with id:[55]"));

    server().clearScripts();  // the paired reply, code 0, no id
    id = 1234;
    EXPECT_EQ(0x207u, VSDKSetBackupSets(&p, &id));
    EXPECT_EQ(1234, id);
    server().replyWith(ou::QSetBackupSetsReqMsg::kTag, 0, [](const CNMessageBase&, CNMessageBase& reply) {
        msgf::putText(reply, ou::SetBackupSetResp::kNewId, "55");
    });
    EXPECT_EQ(0x207u, VSDKSetBackupSets(&p, &id));
    EXPECT_EQ(1234, id);
}

TEST_F(AgentsTest, ChangeAndDeletionStoreTheServerTextAlsoOnSuccess) {
    struct Change {
        unsigned long tag;
        const char* phrase;
        std::function<unsigned long()> call;
    };
    const std::vector<Change> changes = {
        {ou::QModifyBackupSetsReqMsg::kTag, "Modification of Backupset",
         [] { _QModifyBackupSetParameters p; return VSDKModifyBackupSets(&p); }},
        {ou::QDeleteBackupSetReqMsg::kTag, "Deletion of BackupSet",
         [] { _QDeleteBackupSetParameters p; return VSDKDeleteBackupSet(&p); }},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.phrase);
        server().replyWith(c.tag, 0, [](const CNMessageBase&, CNMessageBase& reply) {
            CNMessageBase& error = msgf::child<ou::QErrorMsg>(reply, msgf::kReplyError);
            msgf::putInt(error, msgf::kErrorCode, 0);
            msgf::putText(error, msgf::kErrorText, "done");
        }, 1);
        setErrorString("before");
        EXPECT_EQ(0u, c.call());
        EXPECT_STREQ("done", VSDKGetLastErrorString());

        server().serverError(c.tag, 0x32, "in use", 1);
        EXPECT_EQ(0x32u, c.call());
        EXPECT_TRUE(env.logContains(std::string(c.phrase) + " failed with Error code [0x32] Error string [in use]"));
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
    EXPECT_EQ(0u, m.find("\nClient Id: [-11]\n"));
    EXPECT_EQ("BackupSet Name: [bset]\nOn Demand: [1]\nDefault: [0]", m.substr(m.find("BackupSet Name")));

    const std::string set = newBackupSet(5).c_str();
    std::size_t lines = 0;
    for (std::size_t at = set.find("]\n"); at != std::string::npos; at = set.find("]\n", at + 1)) ++lines;
    EXPECT_EQ(20u, lines);
    EXPECT_EQ("]\n", set.substr(set.size() - 2));
    EXPECT_NE(std::string::npos, set.find("Compression :[On MA]\n"));
    EXPECT_NE(std::string::npos, std::string(newBackupSet(2).c_str()).find("Compression :[OFF]\n"));

    const std::string inst = instance(33).c_str();
    for (const char* part : {"\nOperation Id:[7]\nClient Id:[-11]\n", "Log Policy Name:[]\nSQL Instance parameters:SQL User Name[sa]\n",
                             "Windows Authentication:[0]Oracle Instance Parameters:\nNT User:[ora]\n",
                             "BlockSize:[6442450944]\n", "Compression:[On CLIENT]\n",
                             "Encryption:[0]DB2 Instance Parameters:\nDB2 User:[db2]\n", "Compression7\n"}) {
        EXPECT_NE(std::string::npos, inst.find(part)) << part;
    }
    for (const std::string& dump : {set, inst}) EXPECT_EQ(std::string::npos, dump.find(kSecretText));
}

}  // namespace
