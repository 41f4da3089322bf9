// Library, drive and media agent control, media export, verification and
// discovery: the requests on the wire, the drive control's reply type, the
// dumps in the log.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "support/WireChecks.h"

#include <string>

using namespace vsdktest;
namespace mm = MediaManager;

namespace {

class MediaControl : public StartedTest {};

TEST_F(MediaControl, DriveControlTakesOnlyItsOwnReplyType) {
    _QDriveControlParams p;
    EXPECT_EQ(0u, VSDKDriveControl(&p)) << "the reply one below the request's tag";
    env.server().replyWith(mm::QDriveControlReqMsg::kTag, mm::QVerifyMediaReqMsg::kTag);
    EXPECT_EQ(0x207u, VSDKDriveControl(&p)) << "one above is another type";
}

TEST_F(MediaControl, LibraryControlCarriesItsScratchPoolObject) {
    _QLibraryControlParams p;
    p.domainId = 99;
    p.mediaAgentId = 4;
    p.operation = 71;  // scanning: the pool goes all the same
    setText(p.mediaAgentName, "ma1");
    p.scratchPool.scratchPoolId = 7;
    p.scratchPool.value6 = -6;
    setText(p.scratchPool.name2, "n2");
    p.trailingText2 = "t2";
    ASSERT_EQ(0u, VSDKLibraryControl(&p));
    auto request = onlyRequest(env.server(), mm::QLibraryControlReqMsg::kTag);
    ASSERT_TRUE(request);
    expectFields(*request, {{mm::Control::kConstant, 2},
                            {mm::Control::kMediaAgentId, 4},
                            {mm::LibraryControl::kOperation, 71},
                            {mm::LibraryControl::kMediaAgentName, "ma1"},
                            {mm::LibraryControl::kTrailingText1, ""},
                            {mm::LibraryControl::kTrailingText2, "t2"}});
    EXPECT_EQ(fieldRange(1, 13), fieldNumbers(*request)) << "the domain id is not sent";
    const CNMessageBase* pool =
        objectAt(*request, mm::LibraryControl::kScratchPool, mm::QScratchPoolInfo::kTag);
    ASSERT_NE(nullptr, pool);
    expectFields(*pool, {{mm::LibraryControl::kPoolId, 7},
                         {mm::LibraryControl::kPoolValue6, -6},
                         {mm::LibraryControl::kPoolName1, ""},
                         {mm::LibraryControl::kPoolName2, "n2"}});
}

TEST_F(MediaControl, ExportSendsItsTimeAndAnEmptyMediaList) {
    _QMediaExportParams p;
    p.swDestinationLocationId2 = 22;
    p.mediaSideName = "side";
    p.time = timeOf(3);
    ASSERT_EQ(0u, VSDKMediaExport(&p));
    auto request = onlyRequest(env.server(), mm::QExportMediaReqMsg::kTag);
    ASSERT_TRUE(request);
    expectFields(*request, {{mm::ExportMedia::kSwDestinationLocationId2, 22},
                            {mm::ExportMedia::kMediaSideName, "side"}});
    expectIntList(*request, mm::ExportMedia::kMediaList, {});
    expectTime(*request, mm::ExportMedia::kTime, p.time);
}

TEST_F(MediaControl, DiscoverWithoutBarcodesLeavesTheListUnset) {
    _QDiscoverMediaParameters p;
    setText(p.mediaTypeName, "LTO");
    ASSERT_EQ(0u, VSDKDiscoverMedia(&p));
    auto request = onlyRequest(env.server(), mm::QDiscoverMediaReqMsg::kTag);
    ASSERT_TRUE(request);
    expectFields(*request, {{mm::DiscoverMedia::kMediaTypeName, "LTO"},
                            Expect::absent(mm::DiscoverMedia::kBarcodes)});
}

TEST_F(MediaControl, VerificationTextUpToItsFirstZeroByte) {
    env.server().replyWith(mm::QVerifyMediaReqMsg::kTag, mm::QVerifyMediaRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putText(reply, mm::VerifyMedia::kVerificationText,
                                             std::string("ok\0tail", 7));
                           });
    _QVerifyMediaParams p;
    std::string text = "before";
    ASSERT_EQ(0u, VSDKVerifyMedia(&p, &text));
    EXPECT_EQ("ok", text);
    env.server().clearScripts();
    env.server().serverError(mm::QVerifyMediaReqMsg::kTag, 0x51, "no medium");
    text = "before";
    EXPECT_EQ(0x51u, VSDKVerifyMedia(&p, &text));
    EXPECT_EQ("before", text);
}

TEST_F(MediaControl, DumpsAppearWholeInTheLog) {
    _QLibraryControlParams library;
    library.operation = 3;
    _QDriveControlParams drive;
    drive.operation = 42;
    _QDiscoverMediaParameters discover;
    discover.barcodeList = {"B1", "B2"};
    const std::size_t mark = env.logMark();
    ASSERT_EQ(0u, VSDKLibraryControl(&library));
    ASSERT_EQ(0u, VSDKDriveControl(&drive));
    ASSERT_EQ(0u, VSDKDiscoverMedia(&discover));
    EXPECT_NE(std::string::npos, library.c_str().find("Operation:[Undefined]\n"));
    EXPECT_NE(std::string::npos, drive.c_str().find("Operation:[Unloading a Drive]"));
    EXPECT_NE(std::string::npos, discover.c_str().find("Barcode List:[ B1 B2 ]"));
    EXPECT_TRUE(env.logContains("Library Control Parameters:" + library.c_str(), mark));
    EXPECT_TRUE(env.logContains("Drive Control Parameters:" + drive.c_str(), mark));
    EXPECT_TRUE(env.logContains("Parameters of Discover Media:" + discover.c_str(), mark));
}

}  // namespace
