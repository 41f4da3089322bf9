// VSDKGetMediaContents against the simulated server (the inner document
// through the generic request), and the value semantics of its job and
// chunk records.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "support/WireChecks.h"

#include <string>
#include <type_traits>
#include <vector>

using namespace vsdktest;
namespace mm = MediaManager;
namespace oo = OrvaneOperations;

namespace {

_QCLChunkInfo chunk(const std::string& key) {
    _QCLChunkInfo c;
    c.value1 = 1;
    c.key = key;
    c.keyLength = static_cast<int>(key.size());
    return c;
}

_QCLJobInfo job(long long id, int chunks) {
    _QCLJobInfo j;
    j.jobId = id;
    j.mediaId = 9;
    j.clientName = "client";
    for (int i = 0; i < chunks; ++i) j.chunks.push_back(chunk(std::string("k\0", 2) + char('0' + i)));
    return j;
}

TEST(MediaContentRecords, CopyAssignAndMoveKeepEveryByte) {
    static_assert(std::is_nothrow_move_constructible_v<_QCLJobInfo> &&
                      std::is_nothrow_move_constructible_v<_QCLChunkInfo>,
                  "a growing vector moves the records");
    const _QCLJobInfo three = job(3, 3);
    _QCLJobInfo copy(three);
    copy.chunks[0].key = "changed";
    EXPECT_EQ(std::string("k\0" "0", 3), three.chunks[0].key) << "an independent list";

    _QCLJobInfo target = job(1, 1);
    target = three;
    EXPECT_EQ(3u, target.chunks.size());
    EXPECT_EQ(std::string("k\0" "2", 3), target.chunks[2].key);
    target = job(4, 1);
    EXPECT_EQ(1u, target.chunks.size()) << "a shorter list leaves one chunk";
    target = *&target;
    EXPECT_EQ(4, target.jobId);
    EXPECT_EQ(1u, target.chunks.size());

    _QCLJobInfo source = job(5, 2);
    _QCLJobInfo moved(std::move(source));
    EXPECT_EQ(2u, moved.chunks.size());
    EXPECT_EQ(5, source.jobId);
    EXPECT_EQ(9, source.mediaId);
    EXPECT_TRUE(source.clientName.empty() && source.chunks.empty());
    source = three;  // a moved-from job can be assigned to

    _QCLChunkInfo c = chunk(std::string("\0\0x", 3));
    _QCLChunkInfo m(std::move(c));
    EXPECT_EQ(3u, m.key.size());
    EXPECT_TRUE(c.key.empty());
    EXPECT_EQ(1, c.value1);
}

// The media manager behind the generic request: keeps the inner request and
// answers with the jobs of answer().
class MediaContents : public StartedTest {
protected:
    void SetUp() override {
        StartedTest::SetUp();
        env.server().replyWith(oo::QExecuteReqMsg::kTag, oo::QExecuteRespMsg::kTag,
                               [this](const CNMessageBase& request, CNMessageBase& reply) {
                                   inner = msgf::getText(request, oo::kExecuteXml);
                                   std::string text;
                                   answer.serialize(text, false);
                                   msgf::putText(reply, oo::kExecuteRespXml, text);
                               });
    }
    // One job whose chunk has the key bytes and the length given.
    void answerKey(const std::string& bytes, long long length) {
        mm::QChunkInfo c;
        msgf::putBytes(c, mm::ContentsJob::kChunkKey, bytes);
        msgf::putInt(c, mm::ContentsJob::kChunkKeyLength, length);
        mm::QJobInfo j;
        msgf::putInt(j, mm::ContentsJob::kJobId, 77);
        msgf::putText(j, mm::ContentsJob::kMediaSideName, std::string("side\0x", 6));
        msgf::appendObject(j, mm::ContentsJob::kChunks, c);
        answer = mm::QGetMediaContentsResp();
        msgf::appendObject(answer, mm::MediaContents::kJobs, j);
        msgf::putInt(answer, mm::MediaContents::kReplyFlag, 5);
    }
    mm::QGetMediaContentsResp answer;
    std::string inner;
};

TEST_F(MediaContents, KeysArriveBounded) {
    struct Case { std::string bytes; long long length; std::string key; };
    const std::vector<Case> cases{{std::string("\0a\0", 3), 3, std::string("\0a\0", 3)},
                                  {"abc", 10, "abc"},
                                  {"abc", -1, ""}};
    for (const Case& k : cases) {
        answerKey(k.bytes, k.length);
        _QCLGetMediaContentsParams p;
        _QCLMediaContentsInfo info;
        info.errorCode = 3;
        info.jobs.resize(4);
        ASSERT_EQ(0u, VSDKGetMediaContents(&p, &info));
        EXPECT_EQ(0, info.errorCode);
        EXPECT_TRUE(info.replyFlag);
        ASSERT_EQ(1u, info.jobs.size()) << "the jobs are replaced";
        EXPECT_EQ(77, info.jobs[0].jobId);
        EXPECT_EQ("side", info.jobs[0].mediaSideName);
        ASSERT_EQ(1u, info.jobs[0].chunks.size());
        EXPECT_EQ(k.key, info.jobs[0].chunks[0].key);
        EXPECT_EQ(static_cast<int>(k.key.size()), info.jobs[0].chunks[0].keyLength);
    }
}

TEST_F(MediaContents, ListsTravelOnlyWithTheirFlags) {
    _QCLGetMediaContentsParams p;
    p.jobIdList = {1, 2};
    p.barcodeList = {"B1"};
    p.copyId = 6;
    _QCLMediaContentsInfo info;
    ASSERT_EQ(0u, VSDKGetMediaContents(&p, &info));
    mm::QGetMediaContentsReq sent;
    ASSERT_EQ(0, sent.unserialize(inner));
    expectFields(sent, {{mm::MediaContents::kIsJobIdPassed, 0},
                        {mm::MediaContents::kBarcodesPassed, 0},
                        {mm::MediaContents::kCopyId, 6},
                        Expect::absent(mm::MediaContents::kJobIds),
                        Expect::absent(mm::MediaContents::kBarcodes)});
    p.isJobIdPassed = p.barcodesPassed = true;
    ASSERT_EQ(0u, VSDKGetMediaContents(&p, &info));
    ASSERT_EQ(0, sent.unserialize(inner));
    expectTextList(sent, mm::MediaContents::kBarcodes, {"B1"});
}

TEST_F(MediaContents, AFailedCallLeavesTheResult) {
    mm::QReplyErrorMsg error;
    msgf::putInt(error, msgf::kErrorCode, 0x61);
    msgf::putText(error, msgf::kErrorText, "no media");
    msgf::putObject(answer, mm::MediaContents::kReplyError, error);
    _QCLGetMediaContentsParams p;
    _QCLMediaContentsInfo info;
    info.errorCode = 3;
    info.jobs.resize(2);
    EXPECT_EQ(0x61u, VSDKGetMediaContents(&p, &info));
    EXPECT_STREQ("no media", VSDKGetLastErrorString());
    EXPECT_EQ(3, info.errorCode);
    EXPECT_EQ(2u, info.jobs.size());

    answer = mm::QGetMediaContentsResp();
    msgf::appendObject(answer, mm::MediaContents::kJobs, mm::QChunkInfo());
    EXPECT_EQ(0x207u, VSDKGetMediaContents(&p, &info)) << "a job list of other entries";
    EXPECT_EQ(2u, info.jobs.size());
}

}  // namespace
