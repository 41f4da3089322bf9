// LMRepliateDB, the caller-built database replication request, and
// VSDKGetIndexFiles, against the simulated server.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/TestEnv.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using OrvaneUtilities::QLMReplicateDBReq;
using OrvaneUtilities::QLMReplicateDBResp;

// Body fields of the caller's own: the library neither reads nor changes them.
constexpr FieldId kCallerText{3, 3, 0x5A5A01};
constexpr FieldId kCallerNumber{4, 4, 0x5A5A02};

QLMReplicateDBReq callerRequest() {
    QLMReplicateDBReq request;
    msgf::putText(request, kCallerText, "db-set-7");
    msgf::putInt(request, kCallerNumber, -42);
    return request;
}

class ReplicateDBTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0u, env.initThread());
        state().getSessionID() = "sess-9";
        state().setGuid("guid-9");
    }
    void TearDown() override {
        if (threadState()) VSDKDeInitialize();
    }
    simserver::SimServer& server() { return env.server(); }
    VSDKAPIGlobalData& state() { return *threadState(); }

    // Replies whose error object holds code 0 and text.
    void answerWithText(const std::string& text) {
        server().replyWith(QLMReplicateDBReq::kTag, QLMReplicateDBResp::kTag,
                           [text](const CNMessageBase&, CNMessageBase& reply) {
                               CNMessageBase& error =
                                   msgf::child<OrvaneUtilities::QErrorMsg>(reply, msgf::kReplyError);
                               msgf::putInt(error, msgf::kErrorCode, 0);
                               msgf::putText(error, msgf::kErrorText, text);
                           });
    }

    vsdktest::TestEnv env;
};

void expectOwnSession(const CNMessageBase& request, const std::string& mardock) {
    const CNMessageBase* session = vsdktest::objectAt(request, msgf::kRequestSession,
                                                      OrvaneUtilities::QSessionInfoMsg::kTag);
    ASSERT_NE(nullptr, session);
    vsdktest::expectTexts(*session, {{"session id", msgf::kSessionId, "sess-9"},
                                     {"Mardock", msgf::kSessionMardock, mardock},
                                     {"GUID", msgf::kSessionGuid, "guid-9"}});
    vsdktest::expectInts(*session, {{"one", msgf::kSessionOne, 1}});
    EXPECT_FALSE(msgf::has(*session, msgf::kSessionMultiDomainFlag));
    EXPECT_FALSE(msgf::has(*session, msgf::kSessionMultiDomainToken));
}

// Only the session object is added, and never the multi-domain token.
struct TokenCase {
    const char* name;
    bool held;
};

class ReplicateDBSessionTest : public ReplicateDBTest,
                               public ::testing::WithParamInterface<TokenCase> {};

TEST_P(ReplicateDBSessionTest, FillsOnlyTheSessionOfTheCallersRequest) {
    if (GetParam().held) {
        state().setismultifenmarktoken(true);
        state().setMultifenmarktoken("md-token");
    }
    QLMReplicateDBReq request = callerRequest();

    ASSERT_EQ(0u, LMRepliateDB(request));

    auto sent = vsdktest::onlyRequest(server(), QLMReplicateDBReq::kTag);
    ASSERT_TRUE(sent);
    vsdktest::expectHeader(*sent);
    expectOwnSession(*sent, env.mardockName());
    EXPECT_EQ((std::set<short>{1, 2, 3, 4}), vsdktest::fieldNumbers(*sent));
    EXPECT_EQ("db-set-7", msgf::getText(*sent, kCallerText));
    EXPECT_EQ(-42, msgf::getInt(*sent, kCallerNumber));

    // The caller's request keeps its own fields, and now the session too.
    EXPECT_EQ("db-set-7", msgf::getText(request, kCallerText));
    EXPECT_EQ(-42, msgf::getInt(request, kCallerNumber));
    expectOwnSession(request, env.mardockName());
}

INSTANTIATE_TEST_SUITE_P(Tokens, ReplicateDBSessionTest,
                         ::testing::Values(TokenCase{"NoToken", false}, TokenCase{"TokenHeld", true}),
                         [](const ::testing::TestParamInfo<TokenCase>& info) {
                             return std::string(info.param.name);
                         });

// The reply's error text becomes the thread's last error, whatever the code.
TEST_F(ReplicateDBTest, SuccessStoresTheRepliesTextAsLastError) {
    answerWithText("replicated 3 tables");
    QLMReplicateDBReq request = callerRequest();
    EXPECT_EQ(0u, LMRepliateDB(request));
    EXPECT_STREQ("replicated 3 tables", VSDKGetLastErrorString());
    EXPECT_FALSE(env.logContains("Replication of DB failed"));
}

TEST_F(ReplicateDBTest, SuccessWithoutTextClearsTheLastError) {
    setErrorString("an earlier failure");
    QLMReplicateDBReq request = callerRequest();
    EXPECT_EQ(0u, LMRepliateDB(request));
    EXPECT_STREQ("", VSDKGetLastErrorString());
}

TEST_F(ReplicateDBTest, ServerFailureReturnsItsCodeAndText) {
    server().serverError(QLMReplicateDBReq::kTag, 0x1f6, "database busy");
    QLMReplicateDBReq request = callerRequest();

    EXPECT_EQ(0x1f6u, LMRepliateDB(request));

    EXPECT_STREQ("database busy", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "Replication of DB failed with Error code [0x1f6] Error string [database busy]"));
}

TEST_F(ReplicateDBTest, ReplyOfAnotherTypeIsAnInvalidResponse) {
    server().replyWith(QLMReplicateDBReq::kTag, OrvaneUtilities::QGenericResp::kTag);
    QLMReplicateDBReq request = callerRequest();
    EXPECT_EQ(0x207u, LMRepliateDB(request));
}

TEST_F(ReplicateDBTest, ExchangeFailurePassesThrough) {
    server().script(QLMReplicateDBReq::kTag, simserver::Action::noReplyClose());
    QLMReplicateDBReq request = callerRequest();
    const unsigned long rc = LMRepliateDB(request);
    EXPECT_NE(0u, rc);
    EXPECT_FALSE(env.logContains("Replication of DB failed"));
}

TEST_F(ReplicateDBTest, WithoutStartUpGives0x280AndSendsNothing) {
    ASSERT_EQ(0u, VSDKDeInitialize());
    QLMReplicateDBReq request = callerRequest();
    EXPECT_EQ(0x280u, LMRepliateDB(request));
    EXPECT_EQ(0u, server().requestCount());
    EXPECT_FALSE(msgf::has(request, msgf::kRequestSession));
}

TEST_F(ReplicateDBTest, IndexFilesCallDoesNothing) {
    int a = 1;
    int b = 2;
    EXPECT_EQ(0u, VSDKGetIndexFiles(nullptr, nullptr));
    EXPECT_EQ(0u, VSDKGetIndexFiles(&a, &b));
    EXPECT_EQ(1, a);
    EXPECT_EQ(2, b);
    ASSERT_EQ(0u, VSDKDeInitialize());
    EXPECT_EQ(0u, VSDKGetIndexFiles(nullptr, &b));
    EXPECT_EQ(0u, server().requestCount());
}

}  // namespace
