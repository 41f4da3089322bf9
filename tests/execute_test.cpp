// VSDKQExecute, the generic request, against the simulated server.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace OrvaneOperations;
using simserver::Action;

const char* const kInnerRequest = "<AlertListReq><entity id=\"1\"/></AlertListReq>";
const char* const kInnerReply = "<AlertListResp count=\"2\"><a/><b/></AlertListResp>";

class ExecuteTest : public vsdktest::StartedTest {
protected:
    void SetUp() override {
        StartedTest::SetUp();
        params.xmlRequest = kInnerRequest;
        info.outputText = "untouched";
    }
    simserver::SimServer& server() { return env.server(); }

    _QExecuteParams params;
    _QExecuteInfo info;
};

// The XML text, the session with the thread's multi-domain token when it
// holds one, and the caller identity; the other members stay with the caller.
TEST_F(ExecuteTest, SendsTheXmlTextSessionAndCallerIdentityOnly) {
    threadState()->setGuid("guid-x");
    params.command = "qlist job";
    params.options = {{"-tf", "/tmp/x"}};
    params.number = 12;
    params.outputFile = "/tmp/never-written";
    for (bool held : {false, true}) {
        threadState()->setismultifenmarktoken(held);
        threadState()->setMultifenmarktoken(held ? "md-token" : "");
        server().clearJournal();
        ASSERT_EQ(0u, VSDKQExecute(&params, &info));
        auto request = vsdktest::onlyRequest(server(), QExecuteReqMsg::kTag);
        ASSERT_TRUE(request);
        vsdktest::expectHeader(*request);
        vsdktest::expectSession(*request, {env.mardockName(), "guid-x", held, held ? "md-token" : ""});
        vsdktest::expectFields(*request, {{kExecuteXml, kInnerRequest}});
        vsdktest::expectCallerIdentity(*request, kExecuteCallerIdentity);
        EXPECT_EQ((std::set<short>{1, 2, 3, 9}), vsdktest::fieldNumbers(*request));
    }
}

TEST_F(ExecuteTest, ReturnsTheReplyTextAndTheErrorObjectsValue) {
    server().replyWith(QExecuteReqMsg::kTag, QExecuteRespMsg::kTag,
                       [](const CNMessageBase& request, CNMessageBase& reply) {
                           if (msgf::getText(request, kExecuteXml) == kInnerRequest) {
                               msgf::putText(reply, kExecuteRespXml, kInnerReply);
                           }
                           CNMessageBase& error = msgf::child<QReplyErrorMsg>(reply, msgf::kReplyError);
                           msgf::putInt(error, msgf::kErrorCode, 0);
                           msgf::putInt(error, kErrorExtra, 0x1234567890LL);
                       });
    ASSERT_EQ(0u, VSDKQExecute(&params, &info));
    EXPECT_EQ(kInnerReply, info.outputText);
    EXPECT_EQ(0x1234567890LL, info.errorValue);
}

TEST_F(ExecuteTest, FailuresLeaveTheOutputAlone) {
    struct Case {
        const char* name;
        Action action;
        unsigned long code;
        const char* lastError;  // null: not checked
    };
    const Case cases[] = {
        {"server error", Action::serverError(0x4b2, "unknown inner request"), 0x4b2,
         "unknown inner request"},
        {"bare error reply", Action::bareError(0x50d, "bare refusal"), 0x50d, "bare refusal"},
        {"reply of another type", Action::reply(QBackupRespMsg::kTag), 0x207, nullptr},
        {"connection closed", Action::noReplyClose(), 0x205, nullptr},  // last: nothing after it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server().script(QExecuteReqMsg::kTag, c.action, 1);
        EXPECT_EQ(c.code, VSDKQExecute(&params, &info));
        EXPECT_EQ("untouched", info.outputText);
        if (c.lastError) {
            EXPECT_STREQ(c.lastError, VSDKGetLastErrorString());
        }
    }
    EXPECT_TRUE(env.logContains("VSDKQExecute() [0] Execute command failed with Error code [0x4b2] "
                                "Error string [unknown inner request]"));
}

TEST_F(ExecuteTest, NullPointersGive0x303AndNoStateGives0x280) {
    EXPECT_EQ(0x303u, VSDKQExecute(nullptr, &info));
    EXPECT_STREQ("Invalid Argument", VSDKGetLastErrorString());
    EXPECT_EQ(0x303u, VSDKQExecute(&params, nullptr));
    EXPECT_EQ(0x280u, vsdktest::onFreshThread([this] { return VSDKQExecute(&params, &info); }));
    EXPECT_EQ("untouched", info.outputText);
    EXPECT_EQ(0u, server().requestCount());
}

}  // namespace
