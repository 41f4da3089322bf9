// VSDKQExecute, the generic request, against the simulated server.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

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

    _QExecuteParams params;
    _QExecuteInfo info;
};

// The XML text, the session with the thread's multi-domain token when it
// holds one, and the caller identity; the other members stay with the caller.
TEST_F(ExecuteTest, SendsTheXmlTextSessionAndCallerIdentityOnlyAndReturnsTheReply) {
    threadState()->setGuid("guid-x");
    params.command = "qlist job", params.options = {{"-tf", "/tmp/x"}};
    params.number = 12, params.outputFile = "/tmp/never-written";
    for (bool held : {false, true}) {
        threadState()->setismultifenmarktoken(held);
        threadState()->setMultifenmarktoken(held ? "md-token" : "");
        env.server().clearJournal();
        ASSERT_EQ(0u, VSDKQExecute(&params, &info));
        auto sent = vsdktest::expectSent(env.server(), QExecuteReqMsg::kTag, {{kExecuteXml, kInnerRequest}});
        vsdktest::expectHeader(*sent);
        vsdktest::expectSession(*sent, {env.mardockName(), "guid-x", held, held ? "md-token" : ""});
        vsdktest::expectCallerIdentity(*sent, kExecuteCallerIdentity);
        EXPECT_EQ((std::set<short>{1, 2, 3, 9}), vsdktest::fieldNumbers(*sent));
    }

    // The reply's text and its error object's value come back.
    env.server().replyWith(QExecuteReqMsg::kTag, QExecuteRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putText(reply, kExecuteRespXml, kInnerReply);
                               CNMessageBase& error = msgf::child<QReplyErrorMsg>(reply, msgf::kReplyError);
                               msgf::putInt(error, msgf::kErrorCode, 0);
                               msgf::putInt(error, kErrorExtra, 0x1234567890LL);
                           });
    ASSERT_EQ(0u, VSDKQExecute(&params, &info));
    EXPECT_EQ(kInnerReply, info.outputText);
    EXPECT_EQ(0x1234567890LL, info.errorValue);
}

// Null pointers, a refusal, a reply of another type or none leave the output alone.
TEST_F(ExecuteTest, FailuresLeaveTheOutputAlone) {
    EXPECT_EQ(0x303u, VSDKQExecute(nullptr, &info));
    EXPECT_EQ(0x303u, VSDKQExecute(&params, nullptr));
    const struct {
        const char* name;
        Action action;
        unsigned long code;
        const char* lastError;  // null: not checked
    } cases[] = {
        {"server error", Action::serverError(0x4b2, "unknown inner request"), 0x4b2,
         "unknown inner request"},
        {"bare error reply", Action::bareError(0x50d, "bare refusal"), 0x50d, "bare refusal"},
        {"reply of another type", Action::reply(QBackupRespMsg::kTag), 0x207, nullptr},
        {"connection closed", Action::noReplyClose(), 0x205, nullptr},  // last: nothing after it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        env.server().script(QExecuteReqMsg::kTag, c.action, 1);
        EXPECT_EQ(c.code, VSDKQExecute(&params, &info));
        EXPECT_EQ("untouched", info.outputText);
        if (c.lastError) {
            EXPECT_STREQ(c.lastError, VSDKGetLastErrorString());
        }
    }
}

}  // namespace

// A secret in a document inside the inner document (its quotes escaped twice
// in the generic message's XML, an apostrophe in it once) is masked at level 10,
// whether the caller sends it or the server answers with it; the caller gets
// the reply's text as it came.
TEST_F(ExecuteTest, SecretsNestedInTheInnerDocumentStayOutOfTheLog) {
    const std::string nested = "<App_Req doc=\"&lt;Creds password=&quot;it's-nested-secret-4711&quot; "
                               "user=&quot;u&quot;/&gt;\"/>";
    params.xmlRequest = nested;
    env.server().replyWith(QExecuteReqMsg::kTag, QExecuteRespMsg::kTag,
                           [&](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putText(reply, kExecuteRespXml, nested);
                           });
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKQExecute(&params, &info));
    EXPECT_EQ(nested, info.outputText);
    EXPECT_EQ(1u, env.logCount("XML response from VSDK Server received in binary format: [", mark));
    EXPECT_TRUE(env.logContains("password=&amp;quot;****&amp;quot;", mark)) << env.logSince(mark);
    EXPECT_FALSE(env.logContains("nested-secret-4711", mark));
}
