// Password masking of logged XML texts.
#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKErrors/MessageLogging.h"
#include "platform/CNMessageBase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
    const char* what;
    std::string in;
    std::string attrBased;  // filterPasswordAttrBased
    std::string older;      // filterPassword
};

TEST(FilterPassword, BothRules) {
    const std::vector<Case> cases = {
        {"several, mixed case", R"(<a password="one" u="x"/><b PassWord="two" c="3"/>)",
         R"(<a password="****" u="x"/><b PassWord="****" c="3"/>)",
         R"(<a password="****" u="x"/><b PassWord="two" c="3"/>)"},
        {"name containing the word", R"(<b x_PASSWORD="c2Vj" v="1"/>)",
         R"(<b x_PASSWORD="****" v="1"/>)", R"(<b x_PASSWORD="c2Vj" v="1"/>)"},
        {"single quotes, blanks", "<a password = 's\"q'/>", "<a password = '****'/>",
         "<a password = 's\"q'/>"},
        {"no closing quote", R"(<a v="1" password="secret/>)", R"(<a v="1" password="****)",
         R"(<a v="1" password="****)"},
        {"quote without a blank after it", R"(<a password="secret"/><b v="1"/>)",
         R"(<a password="****"/><b v="1"/>)", R"(<a password="****)"},
        {"the word elsewhere", R"(<a user="password">password</a>)",
         R"(<a user="password">password</a>)", R"(<a user="password">password</a>)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.attrBased, filterPasswordAttrBased(c.in)) << c.what;
        EXPECT_EQ(c.older, filterPassword(c.in)) << c.what;
    }
}

const char kSecret[] = "Plain-Secret-1";

// A login request carrying every kind of secret the writer knows.
VSDKLogin::QLoginInfoMsg loginRequest(const std::string& user, const std::string& password) {
    VSDKLogin::QLoginInfoMsg login;
    msgf::putText(login, VSDKLogin::kLoginUser, user);
    msgf::putText(login, VSDKLogin::kLoginPassword, password);
    CNMessageBase& session = msgf::child<VSDKLogin::QSessionInfoMsg>(login, msgf::kRequestSession);
    msgf::putBytes(session, VSDKLogin::kSessionGuid, "TokenBytes-2");
    msgf::putText(session, VSDKLogin::kSessionMultiDomainToken, "SamlToken-3");
    return login;
}

TEST(LogXmlMessage, NoSecretInClear) {
    VSDKLogin::QLoginInfoMsg login = loginRequest("admin", kSecret);
    std::string raw;
    ASSERT_EQ(0, login.serialize(raw, false));
    ASSERT_NE(std::string::npos, raw.find(kSecret)) << "the unmasked text holds it";

    OrvaneOperations::QExecuteReqMsg request;
    CNMessageBase& session =
        msgf::child<OrvaneOperations::QSessionInfoMsg>(request, msgf::kRequestSession);
    msgf::putText(session, msgf::kSessionGuid, "guid-token-value");
    msgf::putText(session, msgf::kSessionMultiDomainToken, std::string("saml\0token", 10));
    // A type the message library does not select for masking is masked all the same.
    CNMessageBase unknown(77, 1);
    ASSERT_FALSE(CNMessageBase::isOldWay(unknown.getTagID()));
    msgf::putText(unknown, VSDKLogin::kLoginPassword, kSecret);

    for (CNMessageBase* m : {static_cast<CNMessageBase*>(&login),
                             static_cast<CNMessageBase*>(&request), &unknown}) {
        const std::string logged = logXMLMessage(m);
        ASSERT_FALSE(logged.empty());
        for (const char* secret : {kSecret, "VG9rZW5CeXRlcy0y" /* TokenBytes-2 */, "SamlToken-3",
                                   "guid-token-value", "saml"}) {
            EXPECT_EQ(std::string::npos, logged.find(secret)) << logged;
        }
    }
    EXPECT_NE(std::string::npos, logXMLMessage(&login).find("admin")) << "the rest stays readable";
}

TEST(LogXmlMessage, TextLookingLikeAnAttributeDoesNotUnmaskASecret) {
    // A quote in an ordinary value must not be taken for one that ends a password.
    VSDKLogin::QLoginInfoMsg login = loginRequest("my password='x", "ab'SecretTail");
    const std::string logged = logXMLMessage(&login);
    EXPECT_EQ(std::string::npos, logged.find("SecretTail")) << logged;
    EXPECT_NE(std::string::npos, logged.find("my password=")) << logged;
}

TEST(LogXmlMessage, EmptyBrokenAndTextForms) {
    EXPECT_EQ("", logXMLMessage(static_cast<CNMessageBase*>(nullptr)));
    EXPECT_EQ("", logXMLMessage(std::string()));
    VSDKLogin::QLoginInfoMsg login = loginRequest("admin", kSecret);
    std::string raw;
    ASSERT_EQ(0, login.serialize(raw, false));
    EXPECT_EQ(logXMLMessage(&login), logXMLMessage(raw));
    for (const std::string& text : {std::string("not xml at all"), raw.substr(0, raw.size() / 2),
                                    std::string("<Unknown tag=\"7f000001\"/>")}) {
        EXPECT_EQ("Error. XML is not properly formatted so cannot unserialize it.",
                  logXMLMessage(text))
            << text;
    }
}

}  // namespace
