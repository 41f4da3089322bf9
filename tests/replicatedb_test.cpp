// LMRepliateDB, the caller-built database replication request, and
// VSDKGetIndexFiles, against the simulated server.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

namespace {

using OrvaneUtilities::QLMReplicateDBReq;

// Body fields of the caller's own: the library neither reads nor changes them.
constexpr FieldId kCallerText{3, 3, 0x5A5A01};
constexpr FieldId kCallerNumber{4, 4, 0x5A5A02};

class ReplicateDBTest : public vsdktest::StartedTest {
protected:
    void SetUp() override {
        StartedTest::SetUp();
        threadState()->getSessionID() = "sess-9";
        threadState()->setGuid("guid-9");
        msgf::putText(request, kCallerText, "db-set-7");
        msgf::putInt(request, kCallerNumber, -42);
    }

    QLMReplicateDBReq request;
};

void expectCallersRequestWithSession(const CNMessageBase& r, const std::string& mardock) {
    vsdktest::expectFields(r, {{kCallerText, "db-set-7"}, {kCallerNumber, -42}});
    const CNMessageBase* session = vsdktest::expectObject(
        r, msgf::kRequestSession, OrvaneUtilities::QSessionInfoMsg::kTag,
        {{msgf::kSessionId, "sess-9"}, {msgf::kSessionOne, 1}, {msgf::kSessionMardock, mardock},
         {msgf::kSessionGuid, "guid-9"}});
    EXPECT_EQ((std::set<short>{2, 3, 4, 5}), vsdktest::fieldNumbers(*session));  // no token
}

// The index-file call does nothing and sends nothing. The reply's error text
// becomes the thread's last error, whatever the code.
TEST_F(ReplicateDBTest, FillsOnlyTheSessionOfTheCallersRequestAndKeepsTheRepliesText) {
    threadState()->setismultifenmarktoken(true);
    threadState()->setMultifenmarktoken("md-token");
    setErrorString("an earlier failure");
    ASSERT_EQ(0u, LMRepliateDB(request));
    EXPECT_STREQ("", VSDKGetLastErrorString());
    int a = 1;
    EXPECT_EQ(0u, VSDKGetIndexFiles(&a, nullptr));
    EXPECT_EQ(1, a);
    auto sent = vsdktest::onlyRequest(env.server(), QLMReplicateDBReq::kTag);
    EXPECT_EQ(1u, env.server().requestCount());
    vsdktest::expectHeader(*sent);
    EXPECT_EQ((std::set<short>{1, 2, 3, 4}), vsdktest::fieldNumbers(*sent));
    expectCallersRequestWithSession(*sent, env.mardockName());
    expectCallersRequestWithSession(request, env.mardockName());  // the caller's own copy too

    env.server().serverError(QLMReplicateDBReq::kTag, 0, "replicated 3 tables", 1);
    EXPECT_EQ(0u, LMRepliateDB(request));
    EXPECT_STREQ("replicated 3 tables", VSDKGetLastErrorString());

    env.server().serverError(QLMReplicateDBReq::kTag, 0x1f6, "database busy");
    EXPECT_EQ(0x1f6u, LMRepliateDB(request));
    EXPECT_STREQ("database busy", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "- [0] Replication of DB failed with Error code [0x1f6] Error string [database busy]"));
}

}  // namespace
