// Users, stored-password change, domain capture and merge: passwords never
// logged, the capture's time window and answer file, the merge's unset field 4.
#include "VSDK.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "support/WireChecks.h"

namespace {

using namespace vsdktest;
namespace oo = OrvaneOperations;
namespace ou = OrvaneUtilities;

class AdminTest : public StartedTest {};

// A request carrying planted passwords, and the fields that must arrive as given.
struct SecretCase {
    const char* name;
    unsigned long requestTag;
    std::function<unsigned long()> call;
    std::vector<Expect> secrets;
};

TEST_F(AdminTest, PasswordsTravelAsGivenAndNeverReachTheLog) {
    const std::vector<SecretCase> cases = {
        {"SetOrvaneUser", ou::QSetOrvaneUserReqMsg::kTag,
         [] { _QSetOrvaneUserParameters p; setText(p.unloggedText, "UserPw-Planted-1"); return VSDKSetOrvaneUser(&p); },
         {{ou::SetOrvaneUser::kUserPassword, "UserPw-Planted-1"}}},
        {"ChangePasswords", ou::QChangePasswordsReqMsg::kTag,
         [] {
             _QChangePasswordsParameters p;
             setTexts({{p.password, "StoredPw-Planted-2"}, {p.catalogConnectPassword, "CatalogPw-Planted-3"}});
             return VSDKChangePasswords(&p);
         },
         {{ou::ChangePasswords::kPassword, "StoredPw-Planted-2"},
          {ou::ChangePasswords::kCatalogConnectPassword, "CatalogPw-Planted-3"}}},
        {"FenmarkCapture", oo::QFenmarkCaptureReqMsg::kTag,
         [] { _QFenmarkCaptureParameters p; setText(p.password, "CapturePw-Planted-4"); std::string a; return VSDKFenmarkCapture(&p, a); },
         {{oo::FenmarkCapture::kPassword, "CapturePw-Planted-4"}}},
        {"FenmarkMerge", oo::QFenmarkMergeReqMsg::kTag,
         [] { _QFenmarkMergeParameters p; setText(p.password, "MergePw-Planted-5"); return VSDKFenmarkMerge(&p); },
         {{oo::FenmarkMerge::kPassword, "MergePw-Planted-5"}}},
    };
    for (const SecretCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(0u, c.call());
        expectSent(env.server(), c.requestTag, c.secrets);
    }
    const std::string log = env.logSince(0);
    EXPECT_NE(std::string::npos, log.find("XML request to VSDK Server")) << "level 10 was written";
    EXPECT_EQ(std::string::npos, log.find("Planted"));
}

TEST_F(AdminTest, CaptureSendsItsTimesAndHandsBackTheAnswerFileEvenWhenRefused) {
    simserver::Action refusal = simserver::Action::serverError(0x4d2, "capture refused");
    refusal.fill = [](const CNMessageBase&, CNMessageBase& reply) {
        msgf::putText(reply, oo::FenmarkCapture::kAnswerFile, "answer-file-text");
    };
    env.server().script(oo::QFenmarkCaptureReqMsg::kTag, refusal);
    _QFenmarkCaptureParameters p;
    p.startTime = timeOf(1), p.endTime = timeOf(2);
    std::string answer = "before";
    EXPECT_EQ(0x4d2u, VSDKFenmarkCapture(&p, answer));
    EXPECT_EQ("answer-file-text", answer);
    EXPECT_TRUE(env.logContains("Fenmark Capture failed with Error code [0x4d2] Error string [capture refused]"));
    auto request = onlyRequest(env.server(), oo::QFenmarkCaptureReqMsg::kTag);
    expectTime(*request, oo::FenmarkCapture::kStartTime, p.startTime);
    expectTime(*request, oo::FenmarkCapture::kEndTime, p.endTime);
    expectTextList(*request, oo::FenmarkCapture::kClientNames, {});
}

TEST_F(AdminTest, MergeLeavesFieldFourUnset) {
    _QFenmarkMergeParameters p;
    p.afContent = std::string("af\0tail", 7);
    ASSERT_EQ(0u, VSDKFenmarkMerge(&p));
    auto request = expectSent(env.server(), oo::QFenmarkMergeReqMsg::kTag,
                              {{oo::FenmarkMerge::kAfContent, std::string("af\0tail", 7)}, {oo::FenmarkMerge::kReuseTapes, 0}});
    EXPECT_EQ(std::set<short>({1, 2, 3, 5, 6, 7, 9, 10}), fieldNumbers(*request));
}

}  // namespace
