// The media family: the library children's two lists, the size text of a
// medium, the filter on the wire, and the media exchanges' error handling.
#include "VSDK.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "support/WireChecks.h"

#include <string>
#include <vector>

using namespace vsdktest;
namespace ou = OrvaneUtilities;
namespace mm = MediaManager;

namespace {

class Media : public StartedTest {
protected:
    // The library children reply: masters and scratches entries.
    void answerChildren(int masters, int scratches) {
        env.server().replyWith(
            ou::QGetLibraryChildrenReqMsg::kTag, ou::QGetLibraryChildrenRespMsg::kTag,
            [=](const CNMessageBase&, CNMessageBase& reply) {
                for (int i = 0; i < masters; ++i) {
                    ou::QMasterDrivePool e;
                    msgf::putInt(e, ou::MediaTopologyEntry::kMasterPoolId, 10 + i);
                    msgf::appendObject(reply, ou::MediaTopologyResp::kChildrenMasterPools, e);
                }
                for (int i = 0; i < scratches; ++i) {
                    ou::QScratchPool e;
                    msgf::putInt(e, ou::MediaTopologyEntry::kScratchPoolId, 20 + i);
                    msgf::appendObject(reply, ou::MediaTopologyResp::kChildrenScratchPools, e);
                }
            });
    }
    struct Children {
        unsigned long rc;
        int masterCount = -1, scratchCount = -1;
        _QMasterDrivePoolInfo* masters = nullptr;
        _QScratchPoolInfo* scratches = nullptr;
        ~Children() {
            delete[] masters;
            delete[] scratches;
        }
    };
    void children(Children& c) {
        _QGetLibraryChildrenParams p;
        c.rc = VSDKGetLibraryChildren(&p, &c.masters, &c.masterCount, &c.scratches,
                                      &c.scratchCount);
    }
};

TEST_F(Media, LibraryChildrenWithOneListEmpty) {
    struct Case { int masters, scratches; };
    for (const Case k : {Case{2, 0}, Case{0, 3}}) {
        env.server().clearScripts();
        answerChildren(k.masters, k.scratches);
        Children c;
        children(c);
        ASSERT_EQ(0u, c.rc);
        EXPECT_EQ(k.masters, c.masterCount);
        EXPECT_EQ(k.scratches, c.scratchCount);
        EXPECT_EQ(k.masters == 0, c.masters == nullptr) << "an empty list leaves its array alone";
        EXPECT_EQ(k.scratches == 0, c.scratches == nullptr);
        if (c.masters) { EXPECT_EQ(11, c.masters[1].id); }
        if (c.scratches) { EXPECT_EQ(22, c.scratches[2].id); }
    }
}

TEST_F(Media, LibraryChildrenSecondAllocationFailingHandsOutNothing) {
    answerChildren(2, 3);
    g_listingAllocationsBeforeFailure = 1;
    g_failListingAllocations = 1;
    Children c;
    children(c);  // under AddressSanitizer a first array not freed is a leak
    EXPECT_EQ(0x201u, c.rc);
    EXPECT_EQ(nullptr, c.masters);
    EXPECT_EQ(nullptr, c.scratches);
    EXPECT_EQ(3, c.scratchCount);
}

TEST_F(Media, SizeTextIsKilobytesWithTwoDecimals) {
    const std::vector<std::pair<long long, std::string>> cases{
        {1536, "1.50"}, {1048576, "1024.00"}, {0, "0.00"}, {-512, "-0.50"}};
    for (const auto& k : cases) {
        env.server().clearScripts();
        env.server().replyWith(ou::QGetMediaReqMsg::kTag, ou::QGetMediaRespMsg::kTag,
                               [&](const CNMessageBase&, CNMessageBase& reply) {
                                   ou::QMedia e;
                                   msgf::putInt(e, ou::MediaEntry::kSize, k.first);
                                   msgf::appendObject(reply, ou::MediaTopologyResp::kMedia, e);
                               });
        _QGetMediaParams p;
        _QMediaInfo* media = nullptr;
        int count = 0;
        ASSERT_EQ(0u, VSDKGetMedia(&p, &media, &count));
        ASSERT_EQ(1, count);
        EXPECT_STREQ(k.second.c_str(), media[0].sizeText);
        delete[] media;
    }
}

TEST_F(Media, MediaFilterSentInFull) {
    _QGetMediaParams p;
    p.jobId = 0x700000001LL;
    p.filterValue2 = 2;
    p.filterValue3 = -3;
    setText(p.filterText, "ft");
    _QMediaInfo* media = nullptr;
    int count = 0;
    ASSERT_EQ(0u, VSDKGetMedia(&p, &media, &count));
    auto request = onlyRequest(env.server(), ou::QGetMediaReqMsg::kTag);
    ASSERT_TRUE(request);
    expectFields(*request, {{ou::MediaTopologyReq::kConstant, 2},
                            {ou::GetMediaReq::kJobId, 0x700000001LL},
                            {ou::GetMediaReq::kCopyName, ""},
                            {ou::GetMediaReq::kFilterValue2, 2},
                            {ou::GetMediaReq::kFilterText, "ft"},
                            {ou::GetMediaReq::kFilterValue3, -3},
                            {ou::GetMediaReq::kMediaText, ""}});
}

TEST_F(Media, BareErrorReplyToAMediaRequestGivesItsCodeAndText) {
    env.server().script(mm::QGetDrivesReqMsg::kTag,
                        simserver::Action::bareError(0x44, "library offline"));
    _QGetDrivesParams p;
    _QDriveInfo* drives = nullptr;
    int count = -1;
    EXPECT_EQ(0x44u, VSDKGetDrives(&p, &drives, &count));
    EXPECT_STREQ("library offline", VSDKGetLastErrorString());
    EXPECT_EQ(-1, count);
}

TEST_F(Media, ReloginCodeInAMediaReplyLogsInAgainAndResends) {
    env.server().relogin(mm::QGetDrivesReqMsg::kTag, 1);
    _QGetDrivesParams p;
    _QDriveInfo* drives = nullptr;
    int count = -1;
    EXPECT_EQ(0u, VSDKGetDrives(&p, &drives, &count));
    EXPECT_EQ(2u, env.server().requestCount(mm::QGetDrivesReqMsg::kTag));
    EXPECT_EQ(0, count);
}

}  // namespace
