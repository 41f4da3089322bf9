// The media family: library children, media size texts, control, export,
// verification and discovery, and the media contents through the generic request.
#include "VSDK.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIUtils/Connection.h"
#include "support/WireChecks.h"

#include <sys/resource.h>

#include <clocale>
#include <ctime>
#include <locale>
#include <type_traits>

using namespace vsdktest;
namespace ou = OrvaneUtilities;
namespace mm = MediaManager;
namespace oo = OrvaneOperations;

namespace {

class Media : public StartedTest {
protected:
    // The library children reply, from now on: masters and scratches entries.
    void answerChildren(int masters, int scratches) {
        namespace mt = ou::MediaTopologyResp;
        namespace te = ou::MediaTopologyEntry;
        env.server().clearScripts();
        env.server().replyWith(ou::QGetLibraryChildrenReqMsg::kTag, 0, [=](const CNMessageBase&, CNMessageBase& reply) {
            for (int i = 0; i < masters; ++i)
                msgf::appendObject(reply, mt::kChildrenMasterPools,
                                   messageWith<ou::QMasterDrivePool>({{te::kMasterPoolId, 10 + i}}));
            for (int i = 0; i < scratches; ++i)
                msgf::appendObject(reply, mt::kChildrenScratchPools,
                                   messageWith<ou::QScratchPool>({{te::kScratchPoolId, 20 + i}}));
        });
    }
    struct Children {
        unsigned long rc;
        int masterCount = -1, scratchCount = -1;
        _QMasterDrivePoolInfo* masters = nullptr;
        _QScratchPoolInfo* scratches = nullptr;
        explicit Children(_QScratchPoolInfo* stale = nullptr) : scratches(stale) {
            _QGetLibraryChildrenParams p;
            rc = VSDKGetLibraryChildren(&p, &masters, &masterCount, &scratches, &scratchCount);
        }
        ~Children() { delete[] masters, delete[] scratches; }
    };
};

TEST_F(Media, LibraryChildrenWithOneListEmptyOrTheSecondAllocationFailing) {
    for (const auto& [masters, scratches] : {std::pair{2, 0}, {0, 3}}) {
        answerChildren(masters, scratches);
        Children c;
        ASSERT_EQ(0u, c.rc);
        EXPECT_EQ(masters, c.masterCount);
        EXPECT_EQ(scratches, c.scratchCount);
        EXPECT_EQ(masters == 0, c.masters == nullptr) << "an empty list leaves its array alone";
        EXPECT_EQ(scratches == 0, c.scratches == nullptr);
        if (c.masters) { EXPECT_EQ(11, c.masters[1].id); }
        if (c.scratches) { EXPECT_EQ(22, c.scratches[2].id); }
    }
    // The second array failing: the first is handed out with its count, the
    // second pointer (stale before) is null beside its count.
    answerChildren(2, 3);
    g_listingAllocationsBeforeFailure = 1;
    g_failListingAllocations = 1;
    _QScratchPoolInfo stale[1];
    Children c(stale);
    EXPECT_EQ(0x201u, c.rc);
    // (On failure the stale pointer is dropped, not freed.)
    ASSERT_EQ(nullptr, c.scratches) << (c.scratches = nullptr, "a count beside a stale pointer");
    EXPECT_EQ(3, c.scratchCount);
    ASSERT_EQ(2, c.masterCount);
    ASSERT_NE(nullptr, c.masters);
    EXPECT_EQ(11, c.masters[1].id);
}

// A reply of more (empty) entries than 1 GiB holds of records is refused
// before any record is made: the process does not grow by a gigabyte.
TEST_F(Media, AListingPastTheBoundIsRefusedBeforeAnyRecordIsMade) {
    const std::size_t n = kMaxListingBytes / sizeof(_QMediaInfo) + 1;
    replyFields(env.server(), ou::QGetMediaReqMsg::kTag, 0, {}, ou::MediaTopologyResp::kMedia,
                std::vector<CNMessageBase>(n, ou::QMedia()));
    const std::size_t mark = env.logMark();
    _QGetMediaParams p;
    static _QMediaInfo sentinel[1];
    _QMediaInfo* media = sentinel;
    int count = 0;
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(0x201u, VSDKGetMedia(&p, &media, &count));
    getrusage(RUSAGE_SELF, &after);
    std::unique_ptr<_QMediaInfo[]> owned(media == sentinel ? nullptr : media);
    EXPECT_TRUE(media == nullptr && count == static_cast<int>(n)) << count;
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256L * 1024) << "kilobytes";
    EXPECT_TRUE(env.logContains(std::string("Retrival of media failed with Error code [0x201] Error string [") +
                                    GetErrorString(0x201) + "]", mark));
}

// Under a caller's comma locale (C and C++ alike; scripts/install-deps.sh
// makes de_DE.UTF-8) numbers keep their point: size texts and log figures.
TEST_F(Media, SizeTextIsKilobytesWithTwoDecimalsAndTheFilterGoesInFull) {
    struct CommaLocale {
        std::locale previous = std::locale::global(std::locale("de_DE.UTF-8"));
        ~CommaLocale() { std::locale::global(previous); }
    } comma;
    ASSERT_STREQ(",", std::localeconv()->decimal_point);
    logTime(threadState()->getEvDebug(), "sizes", static_cast<long>(std::clock()));
    EXPECT_TRUE(env.logContains(".000000000000] ms"));
    std::vector<CNMessageBase> entries;
    for (long long size : {1536LL, 1048576LL, 0LL, -512LL})
        entries.push_back(messageWith<ou::QMedia>({{ou::MediaEntry::kSize, size}}));
    replyFields(env.server(), ou::QGetMediaReqMsg::kTag, 0, {}, ou::MediaTopologyResp::kMedia, entries);
    _QGetMediaParams p;
    p.jobId = 0x700000001LL;
    _QMediaInfo* media = nullptr;
    int count = 0;
    ASSERT_EQ(0u, VSDKGetMedia(&p, &media, &count));
    ASSERT_EQ(4, count);
    std::unique_ptr<_QMediaInfo[]> owned(media);
    const char* const texts[] = {"1.50", "1024.00", "0.00", "-0.50"};
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(texts[i], media[i].sizeText);
    expectSent(env.server(), ou::QGetMediaReqMsg::kTag, {{ou::MediaTopologyReq::kConstant, 2},
               {ou::GetMediaReq::kJobId, 0x700000001LL}, {ou::GetMediaReq::kMediaText, ""}});
}

// The re-login code sits in the error object of the reply's own family.
TEST_F(Media, ReloginCodeInAMediaReply) {
    env.server().relogin(mm::QGetDrivesReqMsg::kTag, 1);
    _QGetDrivesParams p;
    _QDriveInfo* drives = nullptr;
    int count = -1;
    EXPECT_EQ(0u, VSDKGetDrives(&p, &drives, &count));
    EXPECT_EQ(2u, env.server().requestCount(mm::QGetDrivesReqMsg::kTag)) << "logged in again and resent";
    EXPECT_EQ(0, count);
}

TEST_F(Media, LibraryControlCarriesItsScratchPoolObject) {
    _QLibraryControlParams p;
    p.domainId = 99, p.operation = 71;  // scanning: the pool goes all the same
    p.scratchPool.scratchPoolId = 7, p.scratchPool.value6 = -6, p.trailingText2 = "t2";
    ASSERT_EQ(0u, VSDKLibraryControl(&p));
    namespace lc = mm::LibraryControl;
    auto request = expectSent(env.server(), mm::QLibraryControlReqMsg::kTag,
                              {{mm::Control::kConstant, 2}, {lc::kOperation, 71}, {lc::kTrailingText2, "t2"}});
    EXPECT_EQ(fieldRange(1, 13), fieldNumbers(*request)) << "the domain id is not sent";
    expectObject(*request, lc::kScratchPool, mm::QScratchPoolInfo::kTag, {{lc::kPoolId, 7}, {lc::kPoolValue6, -6}});
}

// The export sends its time and an empty media list, the discovery no barcodes;
// the verification text ends at its first zero byte.
TEST_F(Media, ExportDiscoveryAndVerification) {
    _QMediaExportParams p;
    p.swDestinationLocationId2 = 22, p.mediaSideName = "side", p.time = timeOf(3);
    ASSERT_EQ(0u, VSDKMediaExport(&p));
    auto request = expectSent(env.server(), mm::QExportMediaReqMsg::kTag,
                              {{mm::ExportMedia::kSwDestinationLocationId2, 22}, {mm::ExportMedia::kMediaSideName, "side"}});
    expectIntList(*request, mm::ExportMedia::kMediaList, {});
    expectTime(*request, mm::ExportMedia::kTime, p.time);

    _QDiscoverMediaParameters d;
    setText(d.mediaTypeName, "LTO");
    ASSERT_EQ(0u, VSDKDiscoverMedia(&d));
    expectSent(env.server(), mm::QDiscoverMediaReqMsg::kTag,
               {{mm::DiscoverMedia::kMediaTypeName, "LTO"}, Expect::absent(mm::DiscoverMedia::kBarcodes)});

    replyFields(env.server(), mm::QVerifyMediaReqMsg::kTag, 0,
                {{mm::VerifyMedia::kVerificationText, std::string("ok\0tail", 7)}});
    _QVerifyMediaParams v;
    std::string text = "before";
    ASSERT_EQ(0u, VSDKVerifyMedia(&v, &text));
    EXPECT_EQ("ok", text);
}

// Operation names: unknown ones are "Undefined".
TEST(MediaDumps, OperationNames) {
    _QDriveControlParams drive;
    drive.operation = 42;
    _QLibraryControlParams library;
    library.operation = 3;
    EXPECT_NE(std::string::npos, drive.c_str().find("Operation:[Unloading a Drive]"));
    EXPECT_NE(std::string::npos, library.c_str().find("Operation:[Undefined]\n"));
}

_QCLJobInfo job(long long id, int chunks) {
    _QCLJobInfo j;
    j.jobId = id, j.mediaId = 9, j.clientName = "client";
    for (int i = 0; i < chunks; ++i) {
        _QCLChunkInfo c;
        c.value1 = 1, c.key = std::string("k\0", 2) + char('0' + i), c.keyLength = 3;
        j.chunks.push_back(c);
    }
    return j;
}

TEST(MediaContentRecords, CopyAndAssignKeepEveryByte) {
    static_assert(std::is_nothrow_move_constructible_v<_QCLJobInfo> &&
                      std::is_nothrow_move_constructible_v<_QCLChunkInfo>,
                  "a growing vector moves the records");
    const _QCLJobInfo three = job(3, 3);
    _QCLJobInfo copy(three);
    copy.chunks[0].key = "changed";
    EXPECT_EQ(std::string("k\0" "0", 3), three.chunks[0].key) << "an independent list";

    _QCLJobInfo target = job(1, 1);
    target = three;
    ASSERT_EQ(3u, target.chunks.size());
    EXPECT_EQ(std::string("k\0" "2", 3), target.chunks[2].key);
    target = job(4, 1);
    EXPECT_EQ(1u, target.chunks.size()) << "a shorter list leaves one chunk";
    target = *&target;
    EXPECT_TRUE(target.jobId == 4 && target.chunks.size() == 1u) << "self-assignment keeps the record";
    const _QCLChunkInfo moved(std::move(target.chunks[0]));
    EXPECT_TRUE(moved.keyLength == 3 && target.chunks[0].key.empty() && target.chunks[0].keyLength == 0);
}

// The media manager behind the generic request: keeps the inner request and
// answers with the jobs of answer.
class MediaContents : public StartedTest {
protected:
    void SetUp() override {
        StartedTest::SetUp();
        env.server().replyWith(oo::QExecuteReqMsg::kTag, 0, [this](const CNMessageBase& request, CNMessageBase& reply) {
            inner = msgf::getText(request, oo::kExecuteXml);
            msgf::putText(reply, oo::kExecuteRespXml, xmlOf(answer));
        });
    }
    mm::QGetMediaContentsResp answer;
    std::string inner;
};

// The keys reach the caller whole, and the log (level 10) masked.
TEST_F(MediaContents, KeysArriveBoundedAndMasked) {
    const std::size_t mark = env.logMark();
    struct Case { std::string bytes; long long length; std::string key; };
    for (const Case& k : {Case{std::string("\0a\0", 3), 3, std::string("\0a\0", 3)}, Case{"abc", 10, "abc"},
                          Case{"abc", -1, ""}}) {
        // One job whose chunk has the key bytes and the length given.
        mm::QChunkInfo c;
        msgf::putBytes(c, mm::ContentsJob::kChunkKey, k.bytes);
        msgf::putInt(c, mm::ContentsJob::kChunkKeyLength, k.length);
        auto j = messageWith<mm::QJobInfo>({{mm::ContentsJob::kMediaSideName, std::string("side\0x", 6)}});
        msgf::appendObject(j, mm::ContentsJob::kChunks, c);
        answer = mm::QGetMediaContentsResp();
        msgf::appendObject(answer, mm::MediaContents::kJobs, j);
        msgf::putInt(answer, mm::MediaContents::kReplyFlag, 5);
        _QCLGetMediaContentsParams p;
        _QCLMediaContentsInfo info;
        info.errorCode = 3;
        info.jobs.resize(4);
        ASSERT_EQ(0u, VSDKGetMediaContents(&p, &info));
        EXPECT_TRUE(info.errorCode == 0 && info.replyFlag);
        ASSERT_EQ(1u, info.jobs.size()) << "the jobs are replaced";
        EXPECT_EQ("side", info.jobs[0].mediaSideName);
        ASSERT_EQ(1u, info.jobs[0].chunks.size());
        EXPECT_EQ(k.key, info.jobs[0].chunks[0].key);
        EXPECT_EQ(static_cast<int>(k.key.size()), info.jobs[0].chunks[0].keyLength);
    }
    EXPECT_TRUE(env.logContains("x_password=&quot;****&quot;", mark));
    EXPECT_FALSE(env.logContains("YWJj", mark)) << "abc in base64";
}

TEST_F(MediaContents, ListsTravelOnlyWithTheirFlags) {
    _QCLGetMediaContentsParams p;
    p.jobIdList = {1, 2}, p.barcodeList = {"B1"}, p.copyId = 6;
    _QCLMediaContentsInfo info;
    ASSERT_EQ(0u, VSDKGetMediaContents(&p, &info));
    mm::QGetMediaContentsReq sent;
    ASSERT_EQ(0, sent.unserialize(inner));
    expectFields(sent, {{mm::MediaContents::kIsJobIdPassed, 0}, {mm::MediaContents::kBarcodesPassed, 0},
                        {mm::MediaContents::kCopyId, 6}, Expect::absent(mm::MediaContents::kJobIds),
                        Expect::absent(mm::MediaContents::kBarcodes)});
    p.isJobIdPassed = p.barcodesPassed = true;
    ASSERT_EQ(0u, VSDKGetMediaContents(&p, &info));
    ASSERT_EQ(0, sent.unserialize(inner));
    expectTextList(sent, mm::MediaContents::kBarcodes, {"B1"});
}

TEST_F(MediaContents, AFailedCallLeavesTheResult) {
    msgf::putObject(answer, mm::MediaContents::kReplyError,
                    messageWith<mm::QReplyErrorMsg>({{msgf::kErrorCode, 0x61}, {msgf::kErrorText, "no media"}}));
    _QCLGetMediaContentsParams p;
    _QCLMediaContentsInfo info;
    info.errorCode = 3;
    info.jobs.resize(2);
    EXPECT_EQ(0x61u, VSDKGetMediaContents(&p, &info));
    EXPECT_STREQ("no media", VSDKGetLastErrorString());
    EXPECT_TRUE(info.errorCode == 3 && info.jobs.size() == 2u);

    answer = mm::QGetMediaContentsResp();
    msgf::appendObject(answer, mm::MediaContents::kJobs, mm::QChunkInfo());
    EXPECT_EQ(0x207u, VSDKGetMediaContents(&p, &info)) << "a job list of other entries";
    EXPECT_EQ(2u, info.jobs.size());
}

}  // namespace
