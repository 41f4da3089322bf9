// The simulated server's own rules: which script rule answers a request, how
// counted rules expire, and what the journal and the connection list record.
#include "support/TestEnv.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/RKGui.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "platform/CRkNetwork.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace std::chrono_literals;
using OrvaneOperations::QAgeDataReqMsg;
using OrvaneOperations::QAgeDataRespMsg;
using OrvaneOperations::QBackupInfoMsg;
using simserver::Action;

class SimServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        VSDKLogin::RegisterSubsystem();
        OrvaneOperations::RegisterSubsystem();
        OrvaneUtilities::RegisterSubsystem();
        RKGui::RegisterSubsystem();
        MediaManager::RegisterSubsystem();
        bool abort = false;
        ASSERT_FALSE(net.Attach_RemoteService("localhost", "CMDLINE_SERVICE", "c", 5, abort).IsError());
    }

    // Sends one request and returns the reply (null on a failure).
    std::unique_ptr<CNMessageBase> ask(CNMessageBase& request, CRkNetwork* on = nullptr) {
        CRkNetwork& c = on ? *on : net;
        bool abort = false;
        if (c.SendXMLMessage(request, 0, -1, abort).IsError()) return nullptr;
        CNMessageBase* raw = nullptr;
        c.ReceiveXMLMessage(nullptr, raw, nullptr, 0, 5, abort);
        return std::unique_ptr<CNMessageBase>(raw);
    }
    static long long code(const CNMessageBase& reply) {
        const CNMessageBase* e = msgf::findChild(reply, msgf::kReplyError,
                                                 (reply.getTagID() & 0xFF000000UL) | 2UL);
        return e ? msgf::getInt(*e, msgf::kErrorCode) : -1;
    }

    vsdktest::TestEnv env;
    CRkNetwork net;
};

TEST_F(SimServerTest, UnscriptedRequestsGetThePairedReplyWithCodeZero) {
    QAgeDataReqMsg age;
    auto reply = ask(age);
    ASSERT_TRUE(reply);
    EXPECT_EQ(QAgeDataRespMsg::kTag, reply->getTagID());
    EXPECT_EQ(0, code(*reply));
}

TEST_F(SimServerTest, CountedRulesExpireAndRulesAreTriedInOrder) {
    auto& s = env.server();
    s.relogin(QAgeDataReqMsg::kTag, 2);
    s.serverError(simserver::kAnyRequest, 0x50d, "any", 1);
    QAgeDataReqMsg age;
    QBackupInfoMsg backup;
    EXPECT_EQ(9, code(*ask(age)));
    EXPECT_EQ(0x50d, code(*ask(backup)));  // the wildcard serves other types
    EXPECT_EQ(9, code(*ask(age)));
    EXPECT_EQ(0, code(*ask(age)));         // both rules used up
    EXPECT_EQ(0, code(*ask(backup)));
}

TEST_F(SimServerTest, ServerErrorsCarryCodeAndText) {
    env.server().serverError(QAgeDataReqMsg::kTag, 0x50d, "no access");
    QAgeDataReqMsg age;
    auto reply = ask(age);
    ASSERT_TRUE(reply);
    const CNMessageBase* e = msgf::findChild(*reply, msgf::kReplyError, OrvaneOperations::QReplyErrorMsg::kTag);
    ASSERT_NE(nullptr, e);
    EXPECT_EQ("no access", msgf::getText(*e, msgf::kErrorText));
}

TEST_F(SimServerTest, TheLoginReplyHoldsItsErrorAtItsOwnField) {
    env.server().serverError(VSDKLogin::QLoginInfoMsg::kTag, 0x103, "bad password");
    VSDKLogin::QLoginInfoMsg login;
    auto reply = ask(login);
    ASSERT_TRUE(reply);
    const CNMessageBase* e =
        msgf::findChild(*reply, VSDKLogin::kLoginRespError, VSDKLogin::QReplyErrorMsg::kTag);
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(0x103, msgf::getInt(*e, msgf::kErrorCode));
}

TEST_F(SimServerTest, BareErrorsAndFilledRepliesOfAnyType) {
    auto& s = env.server();
    s.script(QAgeDataReqMsg::kTag, Action::bareError(0x50d, "bare"), 1);
    s.replyWith(QAgeDataReqMsg::kTag, OrvaneOperations::QBackupRespMsg::kTag,
                [](const CNMessageBase& req, CNMessageBase& reply) {
                    msgf::putText(reply, OrvaneOperations::kExecuteRespXml,
                                  msgf::getText(req, OrvaneOperations::kExecuteXml));
                });
    QAgeDataReqMsg age;
    auto bare = ask(age);
    ASSERT_TRUE(bare);
    EXPECT_EQ(OrvaneUtilities::QErrorMsg::kTag, bare->getTagID());
    EXPECT_EQ(0x50d, msgf::getInt(*bare, msgf::kErrorCode));
    EXPECT_EQ("bare", msgf::getText(*bare, msgf::kErrorText));
    msgf::putText(age, OrvaneOperations::kExecuteXml, "echo me");
    auto other = ask(age);
    ASSERT_TRUE(other);
    EXPECT_EQ(OrvaneOperations::QBackupRespMsg::kTag, other->getTagID());
    EXPECT_EQ("echo me", msgf::getText(*other, OrvaneOperations::kExecuteRespXml));
}

TEST_F(SimServerTest, JournalKeepsEveryRequestPerConnectionInOrder) {
    CRkNetwork second;
    bool abort = false;
    ASSERT_FALSE(second.Attach_RemoteService("localhost", "CMDLINE_SERVICE", "c2", 5, abort).IsError());
    QAgeDataReqMsg age;
    QBackupInfoMsg backup;
    ask(age);
    ask(backup, &second);
    ask(backup);
    const auto all = env.server().journal();
    ASSERT_EQ(3u, all.size());
    EXPECT_EQ(QAgeDataReqMsg::kTag, all[0].tag);
    EXPECT_EQ("QAgeDataReqMsg", all[0].tagName);
    const int first = all[0].connection;
    const auto mine = env.server().journal(first);
    ASSERT_EQ(2u, mine.size());
    EXPECT_EQ(0u, mine[0].seq);
    EXPECT_EQ(1u, mine[1].seq);
    EXPECT_EQ(QBackupInfoMsg::kTag, mine[1].tag);
    EXPECT_EQ(2u, env.server().requestCount(QBackupInfoMsg::kTag));
    EXPECT_EQ(1u, env.server().journal(all[1].connection).size());
    env.server().clearJournal();
    EXPECT_EQ(0u, env.server().requestCount());
}

TEST_F(SimServerTest, ConnectionsAreListedWithTheirHandshake) {
    ASSERT_TRUE(env.server().waitForOpenConnections(1, 5s));
    auto list = env.server().connections();
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ("c", list[0].clientName);
    EXPECT_TRUE(list[0].open);
    bool abort = false;
    net.Disconnect(10, abort);
    EXPECT_TRUE(env.server().waitForOpenConnections(0, 5s));
    EXPECT_FALSE(env.server().connections()[0].open);
    env.server().reset();
    EXPECT_TRUE(env.server().connections().empty());
}

TEST_F(SimServerTest, RepeatedRepliesServeReadsWithoutRequests) {
    env.server().script(QAgeDataReqMsg::kTag, Action::defaultReply().repeated(3));
    QAgeDataReqMsg age;
    ASSERT_TRUE(ask(age));
    for (int page = 0; page < 2; ++page) {
        CNMessageBase* raw = nullptr;
        bool abort = false;
        EXPECT_FALSE(net.ReceiveXMLMessage(nullptr, raw, nullptr, 0, 5, abort).IsError());
        std::unique_ptr<CNMessageBase> reply(raw);
        EXPECT_TRUE(reply);
    }
    EXPECT_EQ(1u, env.server().requestCount());
}

}  // namespace
