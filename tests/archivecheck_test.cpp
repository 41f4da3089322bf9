// VSDKArchiveDataExistanceCheck against the simulated server: the inner
// media-manager document as the server received it, the flags read back from
// the inner reply, and the failures of either document and of the generic
// request that carries them.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "simserver/ArchiveCheckService.h"
#include "support/TestEnv.h"
#include "support/WireChecks.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using OrvaneOperations::QExecuteReqMsg;

// A job to check: any message object goes; the check copies it whole.
CNMessageBase job(int unixTime, const std::string& zone) {
    MediaManager::QTime t;
    msgf::putInt(t, msgf::kTimeUnix, unixTime);
    msgf::putText(t, msgf::kTimeZone, zone);
    return t;
}

std::string answerDocument(long long first, long long second) {
    MediaManager::CheckForArchiveJobResp answer;
    msgf::putInt(answer, MediaManager::kArchiveCheckFirst, first);
    msgf::putInt(answer, MediaManager::kArchiveCheckSecond, second);
    std::string text;
    answer.serialize(text, false);
    return text;
}

class ArchiveCheckTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, env.initThread()); }
    void TearDown() override {
        if (threadState()) VSDKDeInitialize();
    }
    simserver::SimServer& server() { return env.server(); }

    vsdktest::TestEnv env;
    simserver::ArchiveCheckService archive{env.server()};
};

TEST_F(ArchiveCheckTest, SendsTheJobsAsAnInnerDocumentOfTheGenericRequest) {
    VSDKAPIGlobalData* state = threadState();
    ASSERT_NE(nullptr, state);
    state->setGuid("guid-a");
    const std::vector<CNMessageBase> jobs{job(1700000000, "UTC"), job(-5, "CET")};
    int flags = 0;
    const std::size_t mark = env.logMark();

    ASSERT_EQ(0u, VSDKArchiveDataExistanceCheck(&jobs, &flags));

    // The outer request: the generic one, with the thread's session.
    auto outer = vsdktest::onlyRequest(server(), QExecuteReqMsg::kTag);
    ASSERT_TRUE(outer);
    vsdktest::SessionExpect expect;
    expect.mardock = env.mardockName();
    expect.guid = "guid-a";
    vsdktest::expectSession(*outer, expect);

    // The inner document: only the job list, each job as the caller built it.
    const std::vector<simserver::ArchiveCheck> checks = archive.checks();
    ASSERT_EQ(1u, checks.size());
    EXPECT_EQ(msgf::getText(*outer, OrvaneOperations::kExecuteXml), checks[0].document);
    CNMessageBase* raw = nullptr;
    std::string why;
    ASSERT_EQ(0, CNMessageBase::ConstructAny(checks[0].document.data(), checks[0].document.size(),
                                             raw, why))
        << why;
    std::unique_ptr<CNMessageBase> inner(raw);
    EXPECT_EQ(MediaManager::CheckForArchiveJobReq::kTag, inner->getTagID());
    EXPECT_EQ((std::set<short>{1}), vsdktest::fieldNumbers(*inner));
    const std::vector<CNMessageBase>* sent =
        vsdktest::objectListAt(*inner, MediaManager::kArchiveCheckJobs);
    ASSERT_NE(nullptr, sent);
    ASSERT_EQ(2u, sent->size());
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(MediaManager::QTime::kTag, (*sent)[i].getTagID());
        EXPECT_EQ(msgf::getInt(jobs[i], msgf::kTimeUnix), msgf::getInt((*sent)[i], msgf::kTimeUnix));
        EXPECT_EQ(msgf::getText(jobs[i], msgf::kTimeZone),
                  msgf::getText((*sent)[i], msgf::kTimeZone));
    }
    EXPECT_TRUE(env.logContains("Sending XML[" + checks[0].document + "].", mark));
}

TEST_F(ArchiveCheckTest, NoJobsSendsAnEmptyList) {
    const std::vector<CNMessageBase> jobs;
    int flags = 0;
    ASSERT_EQ(0u, VSDKArchiveDataExistanceCheck(&jobs, &flags));
    const std::vector<simserver::ArchiveCheck> checks = archive.checks();
    ASSERT_EQ(1u, checks.size());
    EXPECT_TRUE(checks[0].jobs.empty());
    EXPECT_EQ(0, flags);
}

// The reply's two indicators set 1 and 2; bits already set always stay.
struct FlagCase {
    const char* name;
    long long first;
    long long second;
    int before;
    int after;
};

class ArchiveFlagTest : public ArchiveCheckTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(ArchiveFlagTest, SetsFlagValuesAndNeverClearsAny) {
    const FlagCase& c = GetParam();
    archive.setAnswer(c.first, c.second);
    const std::vector<CNMessageBase> jobs{job(1, "UTC")};
    int flags = c.before;
    EXPECT_EQ(0u, VSDKArchiveDataExistanceCheck(&jobs, &flags));
    EXPECT_EQ(c.after, flags);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ArchiveFlagTest,
    ::testing::Values(FlagCase{"Both", 1, 1, 0, 3}, FlagCase{"FirstOnly", 7, 0, 0, 1},
                      FlagCase{"SecondOnly", 0, -1, 0, 2},
                      FlagCase{"LargeValues", 0x100000000LL, 0x100000000LL, 0, 3},
                      FlagCase{"NeitherKeepsFlags", 0, 0, 0x13, 0x13},
                      FlagCase{"NeitherFromZero", 0, 0, 0, 0},
                      FlagCase{"SetBitsStay", 0, 0, 3, 3},
                      FlagCase{"AddsToOtherBits", 1, 0, 0x40 | 2, 0x43}),
    [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

// An inner reply that is no answer of the expected type is an invalid
// response, whatever it holds; the flags stay as they were.
struct BadReplyCase {
    const char* name;
    std::string text;
};

class ArchiveBadReplyTest : public ArchiveCheckTest,
                            public ::testing::WithParamInterface<BadReplyCase> {};

TEST_P(ArchiveBadReplyTest, IsAnInvalidResponseWithFlagsUntouched) {
    archive.setReplyDocument(GetParam().text);
    const std::vector<CNMessageBase> jobs{job(1, "UTC")};
    int flags = 0x40;
    const std::size_t mark = env.logMark();

    EXPECT_EQ(0x207u, VSDKArchiveDataExistanceCheck(&jobs, &flags));

    EXPECT_EQ(0x40, flags);
    EXPECT_TRUE(env.logContains("Unserialize Failed.Input XML[" + GetParam().text + "]", mark));
}

std::string otherTypeDocument() {
    MediaManager::CheckForArchiveJobReq other;
    std::string text;
    other.serialize(text, false);
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ArchiveBadReplyTest,
    ::testing::Values(BadReplyCase{"NotXml", "<not a message"}, BadReplyCase{"Empty", ""},
                      BadReplyCase{"Truncated", answerDocument(1, 1).substr(0, 20)},
                      BadReplyCase{"OtherType", otherTypeDocument()},
                      BadReplyCase{"UnknownTag", "<Nothing tag=\"7fffffff\"/>"}),
    [](const ::testing::TestParamInfo<BadReplyCase>& info) { return std::string(info.param.name); });

TEST_F(ArchiveCheckTest, ReplyCarryingAnotherDocumentIsAnInvalidResponse) {
    // The server answers with the plain generic reply: no inner answer at all.
    server().clearScripts();
    const std::vector<CNMessageBase> jobs{job(1, "UTC")};
    int flags = 0;
    EXPECT_EQ(0x207u, VSDKArchiveDataExistanceCheck(&jobs, &flags));
    EXPECT_EQ(0, flags);
}

// A failure of the generic request is the check's failure, as it came.
TEST_F(ArchiveCheckTest, ServerFailureOfTheGenericRequestPassesThrough) {
    server().clearScripts();
    server().serverError(QExecuteReqMsg::kTag, 0x1f5, "execute refused");
    const std::vector<CNMessageBase> jobs{job(1, "UTC")};
    int flags = 0x8;

    EXPECT_EQ(0x1f5u, VSDKArchiveDataExistanceCheck(&jobs, &flags));

    EXPECT_EQ(0x8, flags);
    EXPECT_STREQ("execute refused", VSDKGetLastErrorString());
    EXPECT_TRUE(env.logContains(
        "Execute command failed with Error code [0x1f5] Error string [execute refused]"));
    EXPECT_TRUE(archive.checks().empty());
}

TEST_F(ArchiveCheckTest, TransportFailureOfTheGenericRequestPassesThrough) {
    server().clearScripts();
    server().script(QExecuteReqMsg::kTag, simserver::Action::noReplyClose());
    const std::vector<CNMessageBase> jobs{job(1, "UTC")};
    int flags = 0x8;

    const unsigned long rc = VSDKArchiveDataExistanceCheck(&jobs, &flags);

    EXPECT_NE(0u, rc);
    EXPECT_NE(0x207u, rc);
    EXPECT_EQ(0x8, flags);
}

TEST_F(ArchiveCheckTest, NullPointersGive0x303AndSendNothing) {
    const std::vector<CNMessageBase> jobs{job(1, "UTC")};
    int flags = 0;
    EXPECT_EQ(0x303u, VSDKArchiveDataExistanceCheck(nullptr, &flags));
    EXPECT_EQ(0x303u, VSDKArchiveDataExistanceCheck(&jobs, nullptr));
    EXPECT_EQ(0u, server().requestCount());
    EXPECT_EQ(0, flags);
}

TEST_F(ArchiveCheckTest, WithoutStartUpGives0x280AndSendsNothing) {
    ASSERT_EQ(0u, VSDKDeInitialize());
    archive.setAnswer(1, 1);
    const std::vector<CNMessageBase> jobs{job(1, "UTC")};
    int flags = 0;
    EXPECT_EQ(0x280u, VSDKArchiveDataExistanceCheck(&jobs, &flags));
    EXPECT_EQ(0, flags);
    EXPECT_EQ(0u, server().requestCount());
}

}  // namespace
