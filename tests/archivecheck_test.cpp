// VSDKArchiveDataExistanceCheck against the simulated server: the inner
// media-manager document as the server received it, the flags read back from
// the inner reply, and the failures of either document and of the generic
// request that carries them.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

namespace {

using namespace MediaManager;
using OrvaneOperations::QExecuteReqMsg;
using vsdktest::messageWith;
using vsdktest::xmlOf;

// The media manager behind the generic request: it keeps each inner document
// and answers with the two indicators, or with replyText as it stands.
class ArchiveCheckTest : public vsdktest::StartedTest {
protected:
    void SetUp() override {
        StartedTest::SetUp();
        env.server().replyWith(
            QExecuteReqMsg::kTag, OrvaneOperations::QExecuteRespMsg::kTag,
            [this](const CNMessageBase& request, CNMessageBase& reply) {
                received.push_back(msgf::getText(request, OrvaneOperations::kExecuteXml));
                const auto answer = messageWith<CheckForArchiveJobResp>(
                    {{kArchiveCheckFirst, first}, {kArchiveCheckSecond, second}});
                msgf::putText(reply, OrvaneOperations::kExecuteRespXml, raw ? replyText : xmlOf(answer));
            });
    }

    long long first = 0, second = 0;
    bool raw = false;
    std::string replyText;
    std::vector<std::string> received;
    // Jobs to check: any message object goes; the check copies it whole.
    const std::vector<CNMessageBase> jobs{
        messageWith<MediaManager::QTime>({{msgf::kTimeUnix, 1700000000}, {msgf::kTimeZone, "UTC"}}),
        messageWith<MediaManager::QTime>({{msgf::kTimeUnix, -5}, {msgf::kTimeZone, "CET"}})};
};

TEST_F(ArchiveCheckTest, SendsTheJobsAndSetsFlagValuesFromTheAnswerNeverClearingAny) {
    threadState()->setGuid("guid-a");
    int flags = 0;
    ASSERT_EQ(0u, VSDKArchiveDataExistanceCheck(&jobs, &flags));
    // The generic request with the thread's session; inside it the job list
    // only, each job as the caller built it.
    auto outer = vsdktest::onlyRequest(env.server(), QExecuteReqMsg::kTag);
    vsdktest::expectSession(*outer, {env.mardockName(), "guid-a", false, ""});
    ASSERT_EQ(1u, received.size());
    const FieldId list = kArchiveCheckJobs;
    CheckForArchiveJobReq expected;
    *expected.getlistobject(list.number, list.slot, expected.getTagID(), list.hash, true) = jobs;
    EXPECT_EQ(xmlOf(expected), received[0]);
    EXPECT_TRUE(env.logContains("Sending XML[" + received[0] + "]."));

    struct Case {
        long long first, second;
        int before, after;
    };
    for (const Case& c : {Case{1, 1, 0, 3}, Case{0x100000000LL, 0, 0, 1}, Case{0, -1, 0x40, 0x42},
                          Case{0, 0, 0x13, 0x13}}) {
        first = c.first, second = c.second;
        flags = c.before;
        EXPECT_EQ(0u, VSDKArchiveDataExistanceCheck(&jobs, &flags));
        EXPECT_EQ(c.after, flags) << c.first << " " << c.second;
    }
    // However long, the document sent is logged whole.
    const std::vector<CNMessageBase> many(60, jobs[0]);
    ASSERT_EQ(0u, VSDKArchiveDataExistanceCheck(&many, &flags));
    ASSERT_GT(received.back().size(), 4096u);
    EXPECT_TRUE(env.logContains("Sending XML[" + received.back() + "]."));
}

// The bundled server, left to itself, answers the inner documents that pair
// with no reply type: the archive check and the media contents.
TEST_F(ArchiveCheckTest, TheServersOwnAnswer) {
    env.server().clearScripts();
    int flags = 4;
    EXPECT_EQ(0u, VSDKArchiveDataExistanceCheck(&jobs, &flags));
    _QCLGetMediaContentsParams p;
    _QCLMediaContentsInfo info;
    EXPECT_EQ(0u, VSDKGetMediaContents(&p, &info));
}

// An inner reply that is no answer of the expected type is an invalid
// response, whatever it holds; a refused generic request passes its failure
// through; null pointers are refused unsent. The flags stay as they were.
TEST_F(ArchiveCheckTest, FailuresLeaveTheFlagsAlone) {
    int flags = 0x40;
    EXPECT_EQ(0x303u, VSDKArchiveDataExistanceCheck(nullptr, &flags));
    EXPECT_EQ(0x303u, VSDKArchiveDataExistanceCheck(&jobs, nullptr));
    EXPECT_EQ(0u, env.server().requestCount());

    // The failure line quotes the reply: its first 4,096 bytes, control bytes escaped, secrets masked.
    const auto answer = messageWith<CheckForArchiveJobResp>({{kArchiveCheckFirst, 1}});
    const std::string lead = "<a password='s3cret' b='\r\n\x1b'", fill(4096 - lead.size(), 'q');
    for (const auto& [text, quoted] : std::vector<std::pair<std::string, std::string>>{
             {"<not a message", "<not a message"}, {"", ""},
             {xmlOf(answer).substr(0, 20), xmlOf(answer).substr(0, 20)},
             {xmlOf(CheckForArchiveJobReq()), xmlOf(CheckForArchiveJobReq())},
             {lead + fill + std::string(904, 'z'), "<a password='****' b='\\r\\n\\x1B'" + fill + "... [904 more bytes]"}}) {
        raw = true, replyText = text;
        const std::size_t mark = env.logMark();
        setErrorString("stale");
        EXPECT_EQ(0x207u, VSDKArchiveDataExistanceCheck(&jobs, &flags)) << text;
        EXPECT_EQ(0x40, flags);
        EXPECT_STREQ(GetErrorString(0x207), VSDKGetLastErrorString());
        EXPECT_TRUE(env.logContains("Unserialize Failed.Input XML[" + quoted + "]", mark));
    }

    env.server().clearScripts();
    env.server().serverError(QExecuteReqMsg::kTag, 0x1f5, "execute refused");
    EXPECT_EQ(0x1f5u, VSDKArchiveDataExistanceCheck(&jobs, &flags));
    EXPECT_EQ(0x40, flags);
    EXPECT_STREQ("execute refused", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains("VSDKQExecute() [0] Execute command failed with Error code [0x1f5] "
                                "Error string [execute refused]"));
}

}  // namespace
