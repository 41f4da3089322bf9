// VSDKQExecute, the generic request, against the simulated server.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/TestEnv.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

using namespace OrvaneOperations;

const char* const kInnerRequest = "<AlertListReq><entity id=\"1\"/></AlertListReq>";
const char* const kInnerReply = "<AlertListResp count=\"2\"><a/><b/></AlertListResp>";

class ExecuteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, env.initThread()); }
    void TearDown() override { VSDKDeInitialize(); }
    simserver::SimServer& server() { return env.server(); }

    // Every member of the record set, though only the XML text is sent.
    static _QExecuteParams fullParams() {
        _QExecuteParams p;
        p.command = "qlist job";
        p.xmlRequest = kInnerRequest;
        p.options = {{"-tf", "/tmp/x"}, {"-sp", "SP"}};
        p.flag = true;
        p.secondText = "second";
        p.number = 12;
        p.inputFormat = "xml";
        p.outputFormat = "xml";
        p.outputFile = "/tmp/never-written";
        p.moreText = "more";
        return p;
    }

    vsdktest::TestEnv env;
};

TEST(ExecuteRecords, StartEmptyAndZero) {
    const _QExecuteParams p;
    EXPECT_EQ("", p.command);
    EXPECT_EQ("", p.xmlRequest);
    EXPECT_TRUE(p.options.empty());
    EXPECT_FALSE(p.flag);
    EXPECT_EQ(0, p.number);
    EXPECT_EQ("", p.outputFile);
    const _QExecuteInfo info;
    EXPECT_EQ("", info.outputText);
    EXPECT_EQ(0, info.errorValue);
}

// The session part, with and without a multi-domain token held by the thread.
struct TokenCase {
    const char* name;
    bool held;
};

class ExecuteSessionTest : public ExecuteTest, public ::testing::WithParamInterface<TokenCase> {};

TEST_P(ExecuteSessionTest, SendsTheXmlTextSessionAndCallerIdentityOnly) {
    VSDKAPIGlobalData* state = threadState();
    ASSERT_NE(nullptr, state);
    state->setGuid("guid-x");
    if (GetParam().held) {
        state->setismultifenmarktoken(true);
        state->setMultifenmarktoken("multi-domain-token");
    }
    _QExecuteParams p = fullParams();
    _QExecuteInfo info;
    ASSERT_EQ(0u, VSDKQExecute(&p, &info));

    auto request = vsdktest::onlyRequest(server(), QExecuteReqMsg::kTag);
    ASSERT_TRUE(request);
    vsdktest::expectHeader(*request);
    vsdktest::expectSession(*request, {env.mardockName(), "guid-x", GetParam().held,
                                       GetParam().held ? "multi-domain-token" : ""});
    vsdktest::expectTexts(*request, {{"XML request", kExecuteXml, kInnerRequest}});
    vsdktest::expectCallerIdentity(*request, kExecuteCallerIdentity);
    // The other members keep to the caller's side.
    EXPECT_EQ((std::set<short>{1, 2, 3, 9}), vsdktest::fieldNumbers(*request));
}

INSTANTIATE_TEST_SUITE_P(Token, ExecuteSessionTest,
                         ::testing::Values(TokenCase{"NotHeld", false}, TokenCase{"Held", true}),
                         [](const ::testing::TestParamInfo<TokenCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ExecuteTest, ReturnsTheReplyText) {
    server().replyWith(QExecuteReqMsg::kTag, QExecuteRespMsg::kTag,
                       [](const CNMessageBase& request, CNMessageBase& reply) {
                           // The reply answers what was asked.
                           if (msgf::getText(request, kExecuteXml) == kInnerRequest) {
                               msgf::putText(reply, kExecuteRespXml, kInnerReply);
                           }
                           CNMessageBase& error = msgf::child<QReplyErrorMsg>(reply, msgf::kReplyError);
                           msgf::putInt(error, msgf::kErrorCode, 0);
                           msgf::putInt(error, kErrorExtra, 0x1234567890LL);
                       });
    _QExecuteParams p;
    p.xmlRequest = kInnerRequest;
    _QExecuteInfo info;
    ASSERT_EQ(0u, VSDKQExecute(&p, &info));
    EXPECT_EQ(kInnerReply, info.outputText);
    EXPECT_EQ(0x1234567890LL, info.errorValue);
}

TEST_F(ExecuteTest, ServerErrorLeavesTheOutputAlone) {
    server().serverError(QExecuteReqMsg::kTag, 0x4b2, "unknown inner request");
    _QExecuteParams p;
    p.xmlRequest = kInnerRequest;
    _QExecuteInfo info;
    info.outputText = "untouched";
    const std::size_t mark = env.logMark();
    EXPECT_EQ(0x4b2u, VSDKQExecute(&p, &info));
    EXPECT_EQ("untouched", info.outputText);
    EXPECT_STREQ("unknown inner request", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "Execute command failed with Error code [0x4b2] Error string [unknown inner request]",
        mark));
}

TEST_F(ExecuteTest, BareErrorReplyReturnsItsCode) {
    server().script(QExecuteReqMsg::kTag, simserver::Action::bareError(0x50d, "bare refusal"));
    _QExecuteParams p;
    p.xmlRequest = kInnerRequest;
    _QExecuteInfo info;
    info.outputText = "untouched";
    EXPECT_EQ(0x50du, VSDKQExecute(&p, &info));
    EXPECT_EQ("untouched", info.outputText);
    EXPECT_STREQ("bare refusal", VSDKGetLastErrorString());
}

TEST_F(ExecuteTest, FailedExchangeReturnsItsCode) {
    struct Case {
        const char* name;
        simserver::Action action;
        unsigned long code;
    };
    const Case table[] = {
        // The closed connection carries nothing afterwards, so it comes last.
        {"reply of another type", simserver::Action::reply(QBackupRespMsg::kTag), 0x207},
        {"connection closed", simserver::Action::noReplyClose(), 0x205},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        server().clearScripts();
        server().script(QExecuteReqMsg::kTag, c.action, 1);
        _QExecuteParams p;
        p.xmlRequest = kInnerRequest;
        _QExecuteInfo info;
        info.outputText = "untouched";
        EXPECT_EQ(c.code, VSDKQExecute(&p, &info));
        EXPECT_EQ("untouched", info.outputText);
    }
}

TEST_F(ExecuteTest, NullPointersAreInvalidArguments) {
    _QExecuteParams p;
    _QExecuteInfo info;
    EXPECT_EQ(0x303u, VSDKQExecute(nullptr, &info));
    EXPECT_STREQ("Invalid Argument", VSDKGetLastErrorString());
    EXPECT_EQ(0x303u, VSDKQExecute(&p, nullptr));
    EXPECT_EQ(0u, server().requestCount());
}

TEST(ExecuteWithoutStartUp, ReturnsNotInitialisedAndSendsNothing) {
    vsdktest::TestEnv env;
    _QExecuteParams p;
    p.xmlRequest = kInnerRequest;
    _QExecuteInfo info;
    info.outputText = "untouched";
    unsigned long rc = 0;
    const std::size_t mark = env.logMark();
    std::thread([&] { rc = VSDKQExecute(&p, &info); }).join();
    EXPECT_EQ(0x280u, rc);
    EXPECT_EQ("untouched", info.outputText);
    EXPECT_EQ(0u, env.server().requestCount());
    EXPECT_EQ("", env.logSince(mark));
}

}  // namespace
