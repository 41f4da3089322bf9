// Storage policies: the C-string listing twins, creation, copies and deletion,
// the documents through the generic request, the data-path lookup and prunes.
#include "VSDK.h"
#include "VSDKAPI/messages/App.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/RkEntities.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "platform/EvDebug.h"
#include "support/WireChecks.h"

#include <cstring>

using namespace vsdktest;
namespace ou = OrvaneUtilities;
namespace def = App::Definition;
namespace rk = RkEntities;
namespace oo = OrvaneOperations;
using OrvaneOperations::QExecuteReqMsg;

namespace {

// The server lists policies with these names.
void listPolicies(TestEnv& env, const std::vector<std::string>& names) {
    std::vector<CNMessageBase> entries;
    for (const std::string& n : names) entries.push_back(messageWith<ou::QStoragePolicy>({{ou::StoragePolicyEntry::kName, n}}));
    replyFields(env.server(), ou::QGetStoragePoliciesReqMsg::kTag, 0, {}, ou::GetStoragePoliciesResp::kList, entries);
}

// The policy count of instance on a thread that never started up (torn down after).
unsigned long countOnFreshThread(const std::string& instance, int& count) {
    return onFreshThread([&] {
        const unsigned long rc = VSDKGetStoragePoliciesCount_NOSTL(instance.c_str(), &count);
        VSDKDeInitialize();
        return rc;
    });
}

class StorageTest : public StartedTest {};

TEST_F(StorageTest, TwinsOnAStartedThreadListAtOnceAndWriteOnlyCountedBuffers) {
    listPolicies(env, {"alpha", "beta"});
    int count = 0;
    ASSERT_EQ(0u, VSDKGetStoragePoliciesCount_NOSTL("ignored", &count));
    EXPECT_EQ(2, count);
    char a[1024] = "x", b[1024] = "x", guard[1024] = "guard";
    char* names[] = {a, b, guard};
    ASSERT_EQ(0u, VSDKGetStoragePolicies_NOSTL(nullptr, names));
    EXPECT_TRUE(std::string(a) == "alpha" && std::string(b) == "beta") << a << " " << b;
    EXPECT_EQ(0u, env.server().requestCount(VSDKLogin::QLoginInfoMsg::kTag));

    // The listing grew past the count: no buffer is written.
    env.server().clearScripts();
    listPolicies(env, {"one", "two", "three"});
    EXPECT_EQ(0x303u, VSDKGetStoragePolicies_NOSTL(nullptr, names));
    EXPECT_TRUE(std::string(a) == "alpha" && std::string(guard) == "guard") << a << " " << guard;
    EXPECT_NE(nullptr, std::strstr(VSDKGetLastErrorString(), "only 2 buffers"));
    EXPECT_TRUE(env.logContains("failed with Error code [0x303]"));
}

// Without state the count starts up, logs in with flags 8 and lists; a failing
// start-up or login or a long instance name sends no listing.
TEST(StorageTwins, WithoutStateStartUpAndLogInFirst) {
    TestEnv env;
    listPolicies(env, {"alpha"});
    int count = 0;
    ASSERT_EQ(0u, countOnFreshThread(env.options().instance, count));
    EXPECT_EQ(1, count);
    const auto journal = env.server().journal();
    ASSERT_EQ(2u, journal.size());
    EXPECT_TRUE(journal[0].tag == VSDKLogin::QLoginInfoMsg::kTag && journal[1].tag == ou::QGetStoragePoliciesReqMsg::kTag);
    expectSent(env.server(), VSDKLogin::QLoginInfoMsg::kTag, {{VSDKLogin::kLoginFlags, 8}});

    env.server().clearJournal();
    env.server().serverError(VSDKLogin::QLoginInfoMsg::kTag, 0x103, "bad login");
    const std::string tooLong(256, 'i');
    for (const auto& [instance, want] : {std::pair{env.options().instance, 0x103ul}, {tooLong, 0x303ul}}) {
        int kept = -7;
        EXPECT_EQ(want, countOnFreshThread(instance, kept)) << "login refused, then a name too long";
        EXPECT_EQ(-7, kept);
    }
    EXPECT_NE(0u, countOnFreshThread("NoSuchInstance", count));
    EXPECT_EQ(1u, env.server().requestCount(VSDKLogin::QLoginInfoMsg::kTag));
    EXPECT_EQ(0u, env.server().requestCount(ou::QGetStoragePoliciesReqMsg::kTag));
}

TEST_F(StorageTest, PolicyCreationSendsTheRecordAndStoresTheLow32BitsOfTheId) {
    _QSetStoragePolicyParameters p;
    p.operationId = 1, p.storagePolicyId = -3;
    setTexts({{p.siloScratchPoolName, "SSP"}, {p.dfmServerName, "dfm"}});
    replyFields(env.server(), ou::QSetStoragePoliciesReqMsg::kTag, 0,
                {{ou::SetStoragePoliciesResp::kPolicyId, 0x100000007LL}});
    int id = 0;
    ASSERT_EQ(0u, VSDKSetStoragePolicy(&p, &id));
    EXPECT_EQ(7, id);
    namespace f = ou::SetStoragePoliciesReq;
    auto sent = expectSent(env.server(), ou::QSetStoragePoliciesReqMsg::kTag,
                           {{f::kOperationId, 1}, {f::kConstant, 2}, {f::kPolicyId, -3LL}, {f::kSiloScratchPoolName, "SSP"}});
    EXPECT_EQ(fieldRange(1, 27), fieldNumbers(*sent)) << "every field, no DFM server";
    env.server().clearScripts(), env.server().replyWith(ou::QSetStoragePoliciesReqMsg::kTag, 0);
    EXPECT_EQ(0x207u, VSDKSetStoragePolicy(&p, &id)) << "a success that names no policy";
    EXPECT_EQ(7, id);
}

// The bundled server, left to itself, names what a document creation made.
TEST_F(StorageTest, TheServersOwnAnswerNamesTheNewPolicyAndCopy) {
    _QSetStoragePolicyParameters p;
    _QSetStoragePolicyCopyParameters c;
    int policy = 0, copy = 0;
    ASSERT_EQ(0u, VSDKSetStoragePolicy_XML(&p, &policy));
    ASSERT_EQ(0u, VSDKSetStoragePolicyCopies_XML(&c, &copy));
    EXPECT_TRUE(policy > 0 && copy > policy) << policy << " " << copy;
}

TEST_F(StorageTest, CopyRefusalWordingByOperationIdAndMinusOneOnRefusal) {
    for (const auto& [operation, failure] :
         {std::pair{1, "Creation of Copy failed"}, {5, "Operation on Copy failed"}}) {
        _QSetStoragePolicyCopyParameters p;
        p.operationId = operation, p.keyLength = 256;
        setText(p.resourcePool, "pool");
        env.server().clearScripts();
        env.server().serverError(ou::QSetStoragePolicyCopiesReqMsg::kTag, 0x55, "refused", 1);
        replyFields(env.server(), ou::QSetStoragePolicyCopiesReqMsg::kTag, 0,
                    {{ou::SetStoragePolicyCopiesResp::kCopyId, 12}});
        int id = 0;
        EXPECT_EQ(0x55u, VSDKSetStoragePolicyCopies(&p, &id));
        EXPECT_EQ(-1, id);
        EXPECT_TRUE(env.logContains(std::string(failure) + " with Error code [0x55]"));
        ASSERT_EQ(0u, VSDKSetStoragePolicyCopies(&p, &id));
        EXPECT_EQ(12, id) << "stored for every operation";
    }
    auto sent = env.server().requestsOfType(ou::QSetStoragePolicyCopiesReqMsg::kTag)[0].message;
    namespace f = ou::SetStoragePolicyCopiesReq;
    expectFields(*sent, {{f::kOperationId, 1}, {f::kConstant, 2}, {f::kEncryptData, 0}, {f::kKeyLength, 256}});
    EXPECT_EQ(fieldRange(1, 38), fieldNumbers(*sent)) << "every field, no pool names";

    _QSetStoragePolicyParameters policy;
    int policyId = 5;
    env.server().serverError(ou::QSetStoragePoliciesReqMsg::kTag, 0x56, "no", 1);
    EXPECT_EQ(0x56u, VSDKSetStoragePolicy(&policy, &policyId));
    EXPECT_EQ(-1, policyId);
}

TEST_F(StorageTest, DeletionsSendIdsAndNames) {
    _QDeleteStoragePolicyCopyParameters c;
    c.storagePolicyId = 3, c.storagePolicyCopyId = 8;
    setTexts({{c.storagePolicyName, "SP"}, {c.storagePolicyCopyName, "Aux"}});
    ASSERT_EQ(0u, VSDKDeleteStoragePolicyCopy(&c));
    namespace s = ou::StoragePolicySelector;
    expectSent(env.server(), ou::QDeleteStoragePolicyCopyReqMsg::kTag,
               {{s::kConstant, 2}, {s::kPolicyId, 3}, {s::kPolicyName, "SP"}, {s::kCopyId, 8}, {s::kCopyName, "Aux"}});

    _QDeleteStoragePolicyParameters p;
    env.server().serverError(ou::QDeleteStoragePolicyReqMsg::kTag, 0x44, "in use");
    EXPECT_EQ(0x44u, VSDKDeleteStoragePolicy(&p));
    EXPECT_TRUE(env.logContains("Deletion of Storage Policy failed with Error code [0x44] Error string [in use]"));
    EXPECT_EQ(fieldRange(1, 5), fieldNumbers(*onlyRequest(env.server(), ou::QDeleteStoragePolicyReqMsg::kTag)));
}

// The generic request's server: keeps each inner document and answers with
// answer's text, or with the inner request's empty paired reply by default.
class StorageDocTest : public StartedTest {
protected:
    void SetUp() override {
        StartedTest::SetUp();
        env.server().replyWith(QExecuteReqMsg::kTag, 0, [this](const CNMessageBase& request, CNMessageBase& reply) {
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
    // Whether each field number of numbers is in m or not.
    static void expectNumbers(const CNMessageBase& m, const std::vector<short>& numbers, bool present) {
        const std::set<short> fields = fieldNumbers(m);
        for (short n : numbers) EXPECT_EQ(present, fields.count(n) == 1) << "field " << n;
    }

    std::function<std::string()> answer;
    std::vector<std::shared_ptr<CNMessageBase>> received;
};

// The creation reply with an error object of code and a copy reference
// naming id as its copy and its policy.
template <class Resp = App::CreateStoragePolicyCopyResp>
std::string creationReply(long long code, const char* text, long long id) {
    Resp r;
    msgf::putObject(r, App::CreationResp::kError,
                    messageWith<App::GenericResp>({{App::Error::kCode, code}, {App::Error::kText, text}}));
    msgf::putObject(r, App::CreationResp::kCopy, messageWith<rk::StoragePolicyCopyEntity>(
                                                          {{rk::CopyEntity::kId, id}, {rk::CopyEntity::kPolicyId, id}}));
    return xmlOf(r);
}

TEST_F(StorageDocTest, CopyDefinitionHoldsOnlyWhatTheRecordAsksFor) {
    struct Case {
        const char* what;
        std::function<void(_QSetStoragePolicyCopyParameters&)> set;
        std::vector<short> present, absent;
    } const cases[] = {
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
    answer = [] { return creationReply(0, "", 8); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        _QSetStoragePolicyCopyParameters p;
        setTexts({{p.secondaryCopyName, "Aux"}, {p.storageGroupName, "SP"}});
        c.set(p);
        int id = 5;
        ASSERT_EQ(0u, VSDKSetStoragePolicyCopies_XML(&p, &id));
        EXPECT_EQ(8, id);
        expectFields(last(), {{App::CreateCopyReq::kCopyName, "Aux"}});
        const CNMessageBase& d = definition(App::CreateCopyReq::kDefinition);
        expectNumbers(d, c.present, true);
        expectNumbers(d, c.absent, false);
        expectObject(d, def::kCopy, rk::StoragePolicyCopyEntity::kTag, {{rk::CopyEntity::kPolicyName, "SP"}});
        expectObject(d, def::kDate, rk::RKDate::kTag, {{rk::Date::kTime, 0}, {rk::Date::kZone, ""}});
    }
    // The last case: encryption on with media access 0 sets both flags; the
    // chain carries the media agent by id and name, and the parallel flag.
    const CNMessageBase& d = definition(App::CreateCopyReq::kDefinition);
    expectObject(d, def::kFlags, App::CopyFlags::kTag,
                 {{App::Flags::kNoMediaAccess, 1}, {App::Flags::kExistingEncrypted, 1}});
    expectObject(d, def::kEncryption, App::CopyEncryption::kTag,
                 {{App::Encryption::kEncrypt, 1}, {App::Encryption::kCipher, 0xFFFFFFFEll}});
    expectObject(d, def::kDrivePool, rk::DrivePoolEntity::kTag,
                 {{rk::DrivePoolRef::kName, "dp"}, {rk::DrivePoolRef::kLibraryName, "lib"}});
    const CNMessageBase& config = *objectAt(d, def::kParallelDedup, App::AppParallelDedupConfig::kTag);
    objectAt(config, App::Dedup::kConfigFlags, App::AppParallelDedupFlags::kTag);
    const CNMessageBase& agent = (*objectListAt(config, App::Dedup::kConfigMediaAgents))[0];
    expectObject(agent, App::Dedup::kMediaAgent, rk::MediaAgentEntity::kTag, {{rk::MediaAgentRef::kId, 6}});
}

TEST_F(StorageDocTest, DataPathAndPrimaryCopyDatesHaveNoZone) {
    _QSetStoragePolicyCopyParameters c;
    setTexts({{c.secondaryCopyName, "Aux"}, {c.ddbPath, "/ddb"}, {c.resourcePool, "rp"}});
    int out = 9;
    ASSERT_EQ(0u, VSDKAddDataPath_XML(&c, &out));
    EXPECT_EQ(9, out);
    const CNMessageBase& path = definition(App::AddDataPathReqFields::kDefinition);
    expectNumbers(path, {1, 2, 3, 4, 5}, true);
    expectNumbers(path, {7, 21, 32, 33, 39, 40}, false);
    expectObject(path, def::kDate, rk::RKDate::kTag, {{rk::Date::kTime, -1}, Expect::absent(rk::Date::kZone)});

    _QSetStoragePolicyParameters p;
    setTexts({{p.storageGroupName, "SP"}, {p.ddbPath, "/ddb"}});
    int id = 0;
    answer = [] { return creationReply<App::CreateStoragePolicyResp>(0, "", 8); };
    ASSERT_EQ(0u, VSDKSetStoragePolicy_XML(&p, &id));
    EXPECT_EQ(8, id);
    namespace cp = App::CreatePolicyReq;
    expectFields(last(), {{cp::kName, "SP"}, {cp::kCopyName, "Primary"}, {cp::kType, 1}, {cp::kOne, 1},
                          Expect::absent(cp::kIncremental)});
    expectObject(last(), cp::kDfmServer, App::AppDFMServer::kTag, {{App::DFMServer::kName, ""}});
    const CNMessageBase& primary = definition(cp::kDefinition);
    expectFields(primary, {{def::kCopyType, 1}, {def::kIsDefault, 1}, {def::kPrimary, 1}});
    expectNumbers(primary, {1, 4, 5, 8, 20, 21, 43}, false);
    EXPECT_FALSE(objectAt(primary, def::kParallelDedup, App::AppParallelDedupConfig::kTag)
                     ->fields().count(App::Dedup::kConfigFlags.number));

    setTexts({{p.incrementalStorageGroupName, "INC"}});
    ASSERT_EQ(0u, VSDKSetStoragePolicy_XML(&p, &id));
    expectObject(last(), cp::kIncremental, rk::StoragePolicyEntity::kTag, {{rk::PolicyEntity::kName, "INC"}});
}

TEST_F(StorageDocTest, ErrorCodesAndUnreadableAnswers) {
    _QSetStoragePolicyCopyParameters p;
    int id = 3;
    answer = [] { return creationReply(0x100000000LL, "", 0x100000021LL); };
    ASSERT_EQ(0u, VSDKSetStoragePolicyCopies_XML(&p, &id)) << "low 32 bits 0: success";
    EXPECT_EQ(0x21, id);

    answer = [] { return creationReply(-1, "refused", 1); };
    EXPECT_EQ(~0ul, VSDKSetStoragePolicyCopies_XML(&p, &id));
    EXPECT_EQ(-1, id);
    EXPECT_STREQ("refused", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("Creation of Copy failed with Error code [0xffffffff] Error string [refused]"));

    // The unreadable-answer line is the archive check suite's (the same reader).
    // The last two: an error code that is no number, and no created copy.
    App::CreateStoragePolicyCopyResp textCode;
    msgf::putObject(textCode, App::CreationResp::kError, messageWith<App::GenericResp>({{App::Error::kCode, "5"}}));
    msgf::putObject(textCode, App::CreationResp::kCopy, messageWith<rk::StoragePolicyCopyEntity>({{rk::CopyEntity::kId, 1}}));
    for (const std::string& text : {std::string(), std::string("<broken"), xmlOf(App::GenericResp()),
                                    xmlOf(textCode), xmlOf(App::CreateStoragePolicyCopyResp())}) {
        SCOPED_TRACE(text);
        answer = [text] { return text; };
        id = 3;
        EXPECT_EQ(0x207u, VSDKSetStoragePolicyCopies_XML(&p, &id));
        EXPECT_EQ(3, id);
    }
}

// A password the server sends back, in the text of a refusal (quoted in the
// failure line) and so in its whole reply (level 10), reaches the log in no
// form, at the default level and at level 10; the caller's last error text
// stays as the server sent it.
TEST_F(StorageDocTest, NoPasswordFromTheServerReachesTheLog) {
    const std::string secret = "Qv7Kz4Wp";
    const struct {
        const char* what;
        std::string text;  // the refusal's error text
    } cases[] = {
        {"a document echoed in the refusal", "<login name=\"ops\" password=\"" + secret + "\"/>"},
        {"a value before it ending in the word",
         "<note>&lt;user hint=\"reset password=\" password=\"" + secret + "\"/&gt;</note>"},
        {"a text the writer sends as base64", "<login name=\"ops\" password=\"" + secret + "\"/>\x1b"},
    };
    _QSetStoragePolicyCopyParameters p;
    for (const bool detailed : {false, true}) {
        if (detailed) {
            env.setValue("EventManager", "nDebugLevel", 10);
        } else {
            env.removeValue("EventManager", "nDebugLevel");
        }
        EvDebug::reloadSettings();
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (detailed ? " at level 10" : " at the default level"));
            const std::string text = c.text;
            answer = [text] { return creationReply(-1, text.c_str(), 1); };
            const std::size_t mark = env.logMark();
            int id = 3;
            EXPECT_EQ(~0ul, VSDKSetStoragePolicyCopies_XML(&p, &id));
            EXPECT_EQ(c.text, VSDKGetLastErrorString());
            const std::string log = env.logSince(mark);
            EXPECT_NE(std::string::npos, log.find("Creation of Copy failed with Error code [0xffffffff] Error string [<"));
            EXPECT_EQ(detailed, log.find("XML response from VSDK Server received in binary format") != std::string::npos);
            EXPECT_NE(std::string::npos, log.find("password=\"****\"")) << log;
        }
    }
    const std::string log = env.logSince(0);
    for (const std::string& trace : tracesOf(secret)) EXPECT_EQ(std::string::npos, log.find(trace)) << trace;
}

TEST_F(StorageDocTest, DeletionsSendNamesOnly) {
    _QDeleteStoragePolicyCopyParameters c;
    c.storagePolicyId = 4, c.storagePolicyCopyId = 5;
    setTexts({{c.storagePolicyName, "SP"}, {c.storagePolicyCopyName, "Aux"}});
    ASSERT_EQ(0u, VSDKDeleteStoragePolicyCopy_XML(&c));
    const CNMessageBase* ref = expectObject(last(), App::DeleteReq::kCopy, rk::StoragePolicyCopyEntity::kTag,
                                            {{rk::CopyEntity::kName, "Aux"}, {rk::CopyEntity::kPolicyName, "SP"}});
    EXPECT_EQ((std::set<short>{2, 5}), fieldNumbers(*ref));

    _QDeleteStoragePolicyParameters p;
    p.storagePolicyId = 4;
    App::GenericArchiveGroupResp refusal;
    msgf::putObject(refusal, msgf::kReplyError, messageWith<App::GenericResp>({{App::Error::kCode, 0x77}}));
    answer = [r = xmlOf(refusal)] { return r; };
    EXPECT_EQ(0x77u, VSDKDeleteStoragePolicy_XML(&p));
    ref = objectAt(last(), App::DeleteReq::kPolicy, rk::StoragePolicyEntity::kTag);
    EXPECT_EQ((std::set<short>{1}), fieldNumbers(*ref));
    EXPECT_TRUE(env.logContains("Deletion of Storage Policy failed with Error code [0x77]"));
}

class DataPath : public StartedTest {
protected:
    // The lookup of names, out starting at the sentinel.
    unsigned long call(_QGetDataPathParameters names = {}) {
        out = &sentinel;
        return VSDKGetDataPath(&names, &out);
    }
    _QDataPathInfo sentinel;
    _QDataPathInfo* out = nullptr;
};

TEST_F(DataPath, NameListsGoWholeIdsFollowTheReplyAndFailuresLeaveOrNullTheRecord) {
    env.server().replyWith(ou::QGetDataPathReqMsg::kTag, 0, [](const CNMessageBase&, CNMessageBase& reply) {
        msgf::putIntList(reply, ou::GetDataPathResp::kMediaAgentIds, {7, 7, -1});
        msgf::putIntList(reply, ou::GetDataPathResp::kScratchPoolIds, {9});
    });
    ASSERT_EQ(0u, call({{"ma1", ""}, {}, {"dp"}, {}}));
    std::unique_ptr<_QDataPathInfo> owned(out);
    EXPECT_EQ((std::vector<int>{7, 7, -1}), out->mediaAgentIds);
    EXPECT_TRUE(out->libraryIds.empty() && out->drivePoolIds.empty() && out->scratchPoolIds == std::vector<int>{9});
    auto r = onlyRequest(env.server(), ou::QGetDataPathReqMsg::kTag);
    using namespace ou::GetDataPathReq;
    for (auto [f, names] : {std::pair{kMediaAgentNames, std::vector<std::string>{"ma1", ""}},
                            {kLibraryNames, {}}, {kDrivePoolNames, {"dp"}}, {kScratchPoolNames, {}}})
        expectTextList(*r, f, names);

    // Failures leave the record, or null it when it cannot be made.
    g_failListingAllocations = 1;
    EXPECT_EQ(0x201u, call());
    EXPECT_EQ(nullptr, out);
    EXPECT_TRUE(env.logContains("Retrival of Data Path Params failed with Error code [0x201]"));
    env.server().clearScripts();
    env.server().replyWith(ou::QGetDataPathReqMsg::kTag, 0, [](const CNMessageBase&, CNMessageBase& reply) {
        msgf::putTextList(reply, ou::GetDataPathResp::kLibraryIds, {"x"});
    });
    EXPECT_EQ(0x207u, call()) << "a list of another kind";
    EXPECT_EQ(&sentinel, out);
}

// Both prunes follow one course: checked by store (the answer, the last error
// and the failed-exchange line), by job only its wide ids.
class PruneData : public StartedTest {};

TEST_F(PruneData, AnswerTextLastErrorFailedExchangeLineAndWideJobIds) {
    const unsigned long tag = oo::QPruneDataByDedupStoreIdReqMsg::kTag;
    _QPruneDataByDedupStoreIdParameters p;
    std::string answer = "caller's";
    setErrorString("before");
    EXPECT_EQ(0u, VSDKPruneDataByStoreId(&p, &answer));
    EXPECT_EQ("caller's", answer) << "an empty answer leaves it";
    EXPECT_STREQ("", VSDKGetLastErrorString());
    expectSent(env.server(), tag, {Expect::absent(oo::PruneByStoreId::kStoreIds)});

    env.server().serverError(tag, 0, "pruned 3", 1);
    EXPECT_EQ(0u, VSDKPruneDataByStoreId(&p, &answer));
    EXPECT_TRUE(answer == "pruned 3" && VSDKGetLastErrorString() == std::string("pruned 3"));

    env.server().script(tag, simserver::Action::bareError(0x1234, "x"));
    answer = "kept";
    EXPECT_EQ(0x1234u, VSDKPruneDataByStoreId(&p, &answer));
    EXPECT_EQ("kept", answer);
    EXPECT_TRUE(env.logContains(":SendAndReceive() Failed error code [4660]"));

    _QPruneDataByJobIdParameters byJob;
    byJob.jobIds = {1LL << 40, -2};
    ASSERT_EQ(0u, VSDKPruneDataByJobId(&byJob, &answer));
    auto r = onlyRequest(env.server(), oo::QPruneDataByJobIdReqMsg::kTag);
    CNMessageBase copy(*r);  // the list reader wants a changeable message
    const FieldId f = oo::PruneByJobId::kJobIds;
    auto* ids = copy.getlistlonglong(f.number, f.slot, copy.getTagID(), f.hash, false);
    EXPECT_TRUE(ids && *ids == (std::vector<long long>{1LL << 40, -2}));
}

}  // namespace
