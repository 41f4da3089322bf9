// Storage policies against the simulated server: the C-string listing forms
// (with and without a started thread), creation, copy operations and
// deletion, checked on what crossed the wire, codes and log lines.
#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace vsdktest;
namespace ou = OrvaneUtilities;

namespace {

// The server lists policies with these names.
void listPolicies(TestEnv& env, std::vector<std::string> names) {
    env.server().replyWith(ou::QGetStoragePoliciesReqMsg::kTag, ou::QGetStoragePoliciesRespMsg::kTag,
                           [names](const CNMessageBase&, CNMessageBase& reply) {
                               for (const std::string& n : names) {
                                   ou::QStoragePolicy entry;
                                   msgf::putText(entry, ou::StoragePolicyEntry::kName, n);
                                   msgf::appendObject(reply, ou::GetStoragePoliciesResp::kList, entry);
                               }
                           });
}

std::vector<unsigned long> journalTags(const simserver::SimServer& server) {
    std::vector<unsigned long> tags;
    for (const simserver::Request& r : server.journal()) tags.push_back(r.tag);
    return tags;
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
    EXPECT_STREQ("alpha", a);
    EXPECT_STREQ("beta", b);
    EXPECT_EQ(0u, env.server().requestCount(VSDKLogin::QLoginInfoMsg::kTag));

    // The listing grew past the count: no buffer is written.
    env.server().clearScripts();
    listPolicies(env, {"one", "two", "three"});
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x303u, VSDKGetStoragePolicies_NOSTL(nullptr, names));
    EXPECT_STREQ("alpha", a);
    EXPECT_STREQ("guard", guard);
    EXPECT_NE(nullptr, std::strstr(VSDKGetLastErrorString(), "only 2 buffers"));
    EXPECT_TRUE(env.logContains("failed with Error code [0x303]", mark));
}

TEST(StorageTwins, WithoutStateStartUpLogInWithFlags8ThenList) {
    TestEnv env;
    listPolicies(env, {"alpha"});
    const std::size_t mark = env.logMark();
    const unsigned long rc = onFreshThread([&] {
        int count = 0;
        unsigned long r = VSDKGetStoragePoliciesCount_NOSTL(env.options().instance.c_str(), &count);
        if (r == 0 && count != 1) r = 0xDEAD;
        VSDKDeInitialize();
        return r;
    });
    ASSERT_EQ(0u, rc);
    EXPECT_EQ((std::vector<unsigned long>{VSDKLogin::QLoginInfoMsg::kTag,
                                          ou::QGetStoragePoliciesReqMsg::kTag}),
              journalTags(env.server()));
    expectInts(*onlyRequest(env.server(), VSDKLogin::QLoginInfoMsg::kTag),
               {{"flags", VSDKLogin::kLoginFlags, 8}});
    EXPECT_TRUE(env.logContains("VM Name:[" + env.options().instance + "]", mark));
    for (const char* flag : {"use Token File :[0]", "use Token String :[0]", "use SessionFile :[0]"}) {
        EXPECT_TRUE(env.logContains(flag, mark)) << flag;
    }
}

TEST(StorageTwins, FailingStartUpOrLoginOrLongInstanceNameSendsNoListing) {
    TestEnv env;
    env.server().serverError(VSDKLogin::QLoginInfoMsg::kTag, 0x103, "bad login");
    const std::string tooLong(256, 'i');
    struct Case {
        const char* what;
        std::string instance;
        unsigned long rc;
    } cases[] = {{"login refused", env.options().instance, 0x103},
                 {"name too long", tooLong, 0x303}};
    for (const Case& c : cases) {
        const unsigned long rc = onFreshThread([&] {
            int count = -7;
            unsigned long r = VSDKGetStoragePoliciesCount_NOSTL(c.instance.c_str(), &count);
            if (count != -7) r = 0xDEAD;
            VSDKDeInitialize();
            return r;
        });
        EXPECT_EQ(c.rc, rc) << c.what;
    }
    EXPECT_NE(0u, onFreshThread([] {
        int count = 0;
        return VSDKGetStoragePoliciesCount_NOSTL("NoSuchInstance", &count);
    }));
    EXPECT_EQ(1u, env.server().requestCount(VSDKLogin::QLoginInfoMsg::kTag));
    EXPECT_EQ(0u, env.server().requestCount(ou::QGetStoragePoliciesReqMsg::kTag));
}

TEST_F(StorageTest, PolicyCreationSendsTheRecordAndStoresTheLow32BitsOfTheId) {
    _QSetStoragePolicyParameters p;
    p.operationId = 1, p.storagePolicyId = -3, p.streamCount = 4, p.siloScratchPoolId = 9;
    setTexts({{p.storageGroupName, "SP1"}, {p.incrementalStorageGroupName, "INC"},
              {p.siloScratchPoolName, "SSP"}, {p.dfmServerName, "dfm"}});
    env.server().replyWith(ou::QSetStoragePoliciesReqMsg::kTag, ou::QSetStoragePoliciesRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putInt(reply, ou::SetStoragePoliciesResp::kPolicyId, 0x100000007LL);
                           });
    int id = 0;
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKSetStoragePolicy(&p, &id));
    EXPECT_EQ(7, id);
    auto sent = onlyRequest(env.server(), ou::QSetStoragePoliciesReqMsg::kTag);
    namespace f = ou::SetStoragePoliciesReq;
    expectFields(*sent, {{f::kOperationId, 1}, {f::kConstant, 2}, {f::kPolicyId, -3LL},
                         {f::kPolicyName, "SP1"}, {f::kStreamCount, 4},
                         {f::kIncrementalPolicyName, "INC"}, {f::kDdbPath, ""},
                         {f::kSiloScratchPoolId, 9}, {f::kSiloScratchPoolName, "SSP"}});
    EXPECT_EQ(fieldRange(1, 27), fieldNumbers(*sent)) << "every field, no DFM server";
    EXPECT_TRUE(env.logContains("Storage Policy created with Id:[7]", mark));
    EXPECT_TRUE(env.logContains("SILO DP ScratchPool:[SSP]\nDFM server name:[dfm]\n", mark));
}

TEST_F(StorageTest, CopyOperationWordingByOperationIdAndMinusOneOnRefusal) {
    struct Case {
        int operation;
        const char* success;
        const char* failure;
    } cases[] = {{1, "Copy Created with id:[12]", "Creation of Copy failed"},
                 {5, "Operation on Copy completed successfully.", "Operation on Copy failed"}};
    for (const Case& c : cases) {
        _QSetStoragePolicyCopyParameters p;
        p.operationId = c.operation, p.copyId = 4, p.encryptData = 0, p.keyLength = 256;
        setTexts({{p.secondaryCopyName, "Aux"}, {p.resourcePool, "pool"}});
        env.server().clearScripts();
        env.server().serverError(ou::QSetStoragePolicyCopiesReqMsg::kTag, 0x55, "refused", 1);
        env.server().replyWith(ou::QSetStoragePolicyCopiesReqMsg::kTag,
                               ou::QSetStoragePolicyCopiesRespMsg::kTag,
                               [](const CNMessageBase&, CNMessageBase& reply) {
                                   msgf::putInt(reply, ou::SetStoragePolicyCopiesResp::kCopyId, 12);
                               });
        int id = 0;
        std::size_t mark = env.logMark();
        EXPECT_EQ(0x55u, VSDKSetStoragePolicyCopies(&p, &id));
        EXPECT_EQ(-1, id);
        EXPECT_TRUE(env.logContains(std::string(c.failure) + " with Error code [0x55]", mark));

        mark = env.logMark();
        ASSERT_EQ(0u, VSDKSetStoragePolicyCopies(&p, &id));
        EXPECT_EQ(12, id) << "stored for every operation";
        EXPECT_TRUE(env.logContains(c.success, mark));
        EXPECT_TRUE(env.logContains("Parameters of the new Primary Copy:\nOperation Id:[", mark));
    }
    auto sent = env.server().requestsOfType(ou::QSetStoragePolicyCopiesReqMsg::kTag)[0].message;
    namespace f = ou::SetStoragePolicyCopiesReq;
    expectFields(*sent, {{f::kOperationId, 1}, {f::kCopyName, "Aux"}, {f::kCopyId, 4},
                         {f::kConstant, 2}, {f::kEncryptData, 0}, {f::kKeyLength, 256}});
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
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKDeleteStoragePolicyCopy(&c));
    namespace s = ou::StoragePolicySelector;
    expectFields(*onlyRequest(env.server(), ou::QDeleteStoragePolicyCopyReqMsg::kTag),
                 {{s::kConstant, 2}, {s::kPolicyId, 3}, {s::kPolicyName, "SP"},
                  {s::kCopyId, 8}, {s::kCopyName, "Aux"}});
    EXPECT_TRUE(env.logContains("Parameters of the Primary Copy to be Deleted:\nStorage Policy "
                                "Id:[3]\nStorage Policy Name:[SP]\nStorage Policy Copy Id:[8]\n"
                                "Storage Policy Copy Name:[Aux]",
                                mark));

    _QDeleteStoragePolicyParameters p;
    env.server().serverError(ou::QDeleteStoragePolicyReqMsg::kTag, 0x44, "in use");
    EXPECT_EQ(0x44u, VSDKDeleteStoragePolicy(&p));
    EXPECT_STREQ("in use", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("Deletion of Storage Policy failed with Error code [0x44] Error "
                                "string [in use]"));
    EXPECT_EQ(fieldRange(1, 5), fieldNumbers(*onlyRequest(env.server(), ou::QDeleteStoragePolicyReqMsg::kTag)));
}

}  // namespace
