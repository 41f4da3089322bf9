// Storage-policy documents through the generic request: the inner documents
// as the simulated server received them, and the answers read back.
#include "VSDK.h"
#include "VSDKAPI/messages/App.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/RkEntities.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace vsdktest;
namespace def = App::Definition;
namespace rk = RkEntities;
using OrvaneOperations::QExecuteReqMsg;

namespace {

std::string document(const CNMessageBase& m) {
    std::string text;
    m.serialize(text, false);
    return text;
}

// The generic request's server: keeps each inner document and answers with
// answer's text, or with the inner request's empty paired reply by default.
class StorageDocTest : public StartedTest {
protected:
    void SetUp() override {
        StartedTest::SetUp();
        env.server().replyWith(QExecuteReqMsg::kTag, OrvaneOperations::QExecuteRespMsg::kTag,
                               [this](const CNMessageBase& request, CNMessageBase& reply) {
                                   CNMessageBase* inner = nullptr;
                                   std::string why, xml = msgf::getText(request, OrvaneOperations::kExecuteXml);
                                   CNMessageBase::ConstructAny(xml.data(), xml.size(), inner, why);
                                   received.emplace_back(inner);
                                   if (answer) msgf::putText(reply, OrvaneOperations::kExecuteRespXml, answer());
                               });
    }
    const CNMessageBase& last() { return *received.back(); }
    const CNMessageBase& definition(FieldId at) {
        return *objectAt(last(), at, App::StoragePolicyCopyDefinition::kTag);
    }

    std::function<std::string()> answer;
    std::vector<std::shared_ptr<CNMessageBase>> received;
};

// The creation reply with an error object of code and a copy reference.
std::string creationReply(long long code, const char* text, long long id) {
    App::CreateStoragePolicyCopyResp r;
    CNMessageBase& error = msgf::child<App::GenericResp>(r, App::CreationResp::kError);
    msgf::putInt(error, App::Error::kCode, code);
    msgf::putText(error, App::Error::kText, text);
    msgf::putInt(msgf::child<rk::StoragePolicyCopyEntity>(r, App::CreationResp::kCopy), rk::CopyEntity::kId, id);
    return document(r);
}

TEST_F(StorageDocTest, CopyDefinitionHoldsOnlyWhatTheRecordAsksFor) {
    struct Case {
        const char* what;
        std::function<void(_QSetStoragePolicyCopyParameters&)> set;
        std::vector<short> present, absent;
    } cases[] = {
        {"bare", [](_QSetStoragePolicyCopyParameters&) {},
         {1, 2, 3, 4, 5, 10, 11, 16, 20, 32, 33, 36, 42}, {6, 7, 8, 12, 13, 21, 39, 40, 43}},
        {"media access without encryption", [](_QSetStoragePolicyCopyParameters& p) { p.existingEncryptedData = 1; },
         {10, 11}, {8, 43}},
        {"everything",
         [](_QSetStoragePolicyCopyParameters& p) {
             p.encryptData = 1, p.existingEncryptedData = 1, p.cipher = -2, p.mediaAgentId = 6;
             setTexts({{p.ddbPath, "/ddb"}, {p.drivePoolName, "dp"}, {p.scratchPoolName, "sp"},
                       {p.sourceCopyName, "src"}, {p.libraryName, "lib"}});
         },
         {7, 8, 12, 13, 21, 39, 40, 43}, {6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        _QSetStoragePolicyCopyParameters p;
        setTexts({{p.secondaryCopyName, "Aux"}, {p.storageGroupName, "SP"}});
        c.set(p);
        int id = 5;
        ASSERT_EQ(0u, VSDKSetStoragePolicyCopies_XML(&p, &id));
        EXPECT_EQ(0, id);
        expectFields(last(), {{App::CreateCopyReq::kCopyName, "Aux"}});
        const CNMessageBase& d = definition(App::CreateCopyReq::kDefinition);
        const std::set<short> fields = fieldNumbers(d);
        for (short n : c.present) EXPECT_EQ(1u, fields.count(n)) << "field " << n;
        for (short n : c.absent) EXPECT_EQ(0u, fields.count(n)) << "field " << n;
        expectFields(*objectAt(d, def::kCopy, rk::StoragePolicyCopyEntity::kTag),
                     {{rk::CopyEntity::kPolicyName, "SP"}});
        expectFields(*objectAt(d, def::kDate, rk::RKDate::kTag), {{rk::Date::kTime, 0}, {rk::Date::kZone, ""}});
    }
    // The last case: encryption on with media access 0 sets both flags; the
    // chain carries the media agent by id and name, and the parallel flag.
    const CNMessageBase& d = definition(App::CreateCopyReq::kDefinition);
    expectFields(*objectAt(d, def::kFlags, App::CopyFlags::kTag),
                 {{App::Flags::kNoMediaAccess, 1}, {App::Flags::kExistingEncrypted, 1}});
    expectFields(*objectAt(d, def::kEncryption, App::CopyEncryption::kTag),
                 {{App::Encryption::kEncrypt, 1}, {App::Encryption::kCipher, 0xFFFFFFFEll}});
    expectFields(*objectAt(d, def::kDrivePool, rk::DrivePoolEntity::kTag),
                 {{rk::DrivePoolRef::kName, "dp"}, {rk::DrivePoolRef::kLibraryName, "lib"}});
    const CNMessageBase& config = *objectAt(d, def::kParallelDedup, App::AppParallelDedupConfig::kTag);
    ASSERT_NE(nullptr, objectAt(config, App::Dedup::kConfigFlags, App::AppParallelDedupFlags::kTag));
    const CNMessageBase& agent = (*objectListAt(config, App::Dedup::kConfigMediaAgents))[0];
    expectFields(*objectAt(agent, App::Dedup::kMediaAgent, rk::MediaAgentEntity::kTag),
                 {{rk::MediaAgentRef::kId, 6}});
}

TEST_F(StorageDocTest, DataPathAndPrimaryCopyDatesHaveNoZone) {
    _QSetStoragePolicyCopyParameters c;
    setTexts({{c.secondaryCopyName, "Aux"}, {c.ddbPath, "/ddb"}, {c.resourcePool, "rp"}});
    int out = 9;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKAddDataPath_XML(&c, &out));
    EXPECT_EQ(9, out);
    EXPECT_TRUE(env.logContains("Modified copy:[Aux]", mark));
    EXPECT_TRUE(env.logContains("Sending XML[" + document(last()) + "].", mark));
    const CNMessageBase& path = definition(App::AddDataPathReqFields::kDefinition);
    EXPECT_EQ(fieldRange(1, 5, {}), [&] { auto f = fieldNumbers(path); return std::set<short>(f.begin(), f.lower_bound(6)); }());
    for (short n : {7, 21, 32, 33, 39, 40}) EXPECT_EQ(0u, fieldNumbers(path).count(n)) << n;
    const CNMessageBase* date = objectAt(path, def::kDate, rk::RKDate::kTag);
    expectFields(*date, {{rk::Date::kTime, -1}});
    EXPECT_FALSE(msgf::has(*date, rk::Date::kZone));

    _QSetStoragePolicyParameters p;
    setTexts({{p.storageGroupName, "SP"}, {p.ddbPath, "/ddb"}});
    int id = 0;
    ASSERT_EQ(0u, VSDKSetStoragePolicy_XML(&p, &id));
    namespace cp = App::CreatePolicyReq;
    expectFields(last(), {{cp::kName, "SP"}, {cp::kCopyName, "Primary"}, {cp::kType, 1}, {cp::kOne, 1}});
    EXPECT_FALSE(msgf::has(last(), cp::kIncremental)) << "only when named";
    expectFields(*objectAt(last(), cp::kDfmServer, App::AppDFMServer::kTag), {{App::DFMServer::kName, ""}});
    const CNMessageBase& primary = definition(cp::kDefinition);
    expectFields(primary, {{def::kCopyType, 1}, {def::kIsDefault, 1}, {def::kPrimary, 1}});
    for (short n : {1, 4, 5, 8, 20, 21, 43}) EXPECT_EQ(0u, fieldNumbers(primary).count(n)) << n;
    EXPECT_FALSE(objectAt(primary, def::kParallelDedup, App::AppParallelDedupConfig::kTag)
                     ->fields().count(App::Dedup::kConfigFlags.number));

    setTexts({{p.incrementalStorageGroupName, "INC"}});
    ASSERT_EQ(0u, VSDKSetStoragePolicy_XML(&p, &id));
    expectFields(*objectAt(last(), cp::kIncremental, rk::StoragePolicyEntity::kTag),
                 {{rk::PolicyEntity::kName, "INC"}});
}

TEST_F(StorageDocTest, ErrorCodesAndUnreadableAnswers) {
    _QSetStoragePolicyCopyParameters p;
    int id = 3;
    answer = [] { return creationReply(0x100000000LL, "", 0x100000021LL); };
    ASSERT_EQ(0u, VSDKSetStoragePolicyCopies_XML(&p, &id)) << "low 32 bits 0: success";
    EXPECT_EQ(0x21, id);

    answer = [] { return creationReply(-1, "refused", 1); };
    std::size_t mark = env.logMark();
    EXPECT_EQ(~0ul, VSDKSetStoragePolicyCopies_XML(&p, &id));
    EXPECT_EQ(-1, id);
    EXPECT_STREQ("refused", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("Creation of Copy failed with Error code [0xffffffff] Error string [refused]", mark));

    for (const std::string& text : {std::string(), std::string("<broken"), document(App::GenericResp())}) {
        SCOPED_TRACE(text);
        answer = [text] { return text; };
        id = 3;
        mark = env.logMark();
        EXPECT_EQ(0x207u, VSDKSetStoragePolicyCopies_XML(&p, &id));
        EXPECT_EQ(3, id);
        EXPECT_TRUE(env.logContains("Unserialize Failed.Input XML[" + text + "]", mark));
    }
}

TEST_F(StorageDocTest, DeletionsSendNamesOnly) {
    _QDeleteStoragePolicyCopyParameters c;
    c.storagePolicyId = 4, c.storagePolicyCopyId = 5;
    setTexts({{c.storagePolicyName, "SP"}, {c.storagePolicyCopyName, "Aux"}});
    ASSERT_EQ(0u, VSDKDeleteStoragePolicyCopy_XML(&c));
    const CNMessageBase* ref = objectAt(last(), App::DeleteReq::kCopy, rk::StoragePolicyCopyEntity::kTag);
    EXPECT_EQ((std::set<short>{2, 5}), fieldNumbers(*ref));
    expectFields(*ref, {{rk::CopyEntity::kName, "Aux"}, {rk::CopyEntity::kPolicyName, "SP"}});

    _QDeleteStoragePolicyParameters p;
    p.storagePolicyId = 4;
    App::GenericArchiveGroupResp refusal;
    CNMessageBase& error = msgf::child<App::GenericResp>(refusal, msgf::kReplyError);
    msgf::putInt(error, App::Error::kCode, 0x77);
    answer = [r = document(refusal)] { return r; };
    EXPECT_EQ(0x77u, VSDKDeleteStoragePolicy_XML(&p));
    ref = objectAt(last(), App::DeleteReq::kPolicy, rk::StoragePolicyEntity::kTag);
    EXPECT_EQ((std::set<short>{1}), fieldNumbers(*ref));
    EXPECT_TRUE(env.logContains("Deletion of Storage Policy failed with Error code [0x77]"));
}

}  // namespace
