// Password masking of logged XML texts.
#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKErrors/MessageLogging.h"
#include "platform/CNMessageBase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kNotFormatted = "Error. XML is not properly formatted so cannot unserialize it.";

struct Case {
    const char* what;
    std::string in;
    std::string out;
};

TEST(FilterPasswordAttrBased, MasksEveryPasswordAttributeInAnyCase) {
    const std::vector<Case> cases = {
        {"lower case", R"(<a password="secret"/>)", R"(<a password="****"/>)"},
        {"upper case", R"(<a PASSWORD="secret"/>)", R"(<a PASSWORD="****"/>)"},
        {"mixed case", R"(<a PassWord="s" v="1"/>)", R"(<a PassWord="****" v="1"/>)"},
        {"prefixed name", R"(<b x_password="c2VjcmV0"/>)", R"(<b x_password="****"/>)"},
        {"name containing the word", R"(<a oldPasswordHint="h"/>)", R"(<a oldPasswordHint="****"/>)"},
        {"several in one document",
         R"(<r><a password="one" u="x"/><b Password="two"/><c x_PASSWORD="three"/></r>)",
         R"(<r><a password="****" u="x"/><b Password="****"/><c x_PASSWORD="****"/></r>)"},
        {"value length not kept", R"(<a password="a-much-longer-secret-value"/>)",
         R"(<a password="****"/>)"},
        {"empty value", R"(<a password=""/>)", R"(<a password="****"/>)"},
        {"single quotes", R"(<a password='s"q'/>)", R"(<a password='****'/>)"},
        {"blanks around equals", "<a password = \"s\"/>", "<a password = \"****\"/>"},
        {"no closing quote: masked to the end", R"(<a v="1" password="secret/>)",
         R"(<a v="1" password="****)"},
        {"other attributes untouched", R"(<a user="password" v="passwords"/>)",
         R"(<a user="password" v="passwords"/>)"},
        {"the word in text content", "<a>password</a>", "<a>password</a>"},
        {"nothing to mask", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.out, filterPasswordAttrBased(c.in)) << c.what;
    }
}

TEST(FilterPasswordAttrBased, ValueHoldingTheAttributeTextIsMaskedWhole) {
    // The masked value itself holds text that looks like another attribute.
    EXPECT_EQ(R"(<a password='****' v="1"/>)",
              filterPasswordAttrBased(R"(<a password='x password="y"' v="1"/>)"));
}

TEST(FilterPassword, OlderRuleMasksUpToQuoteAndBlank) {
    const std::vector<Case> cases = {
        {"one value", R"(<a password="secret" v="1"/>)", R"(<a password="****" v="1"/>)"},
        {"several values", R"(<a password="one" b="2"/><c password="two" d="3"/>)",
         R"(<a password="****" b="2"/><c password="****" d="3"/>)"},
        {"letter case counts", R"(<a PASSWORD="secret" v="1"/>)", R"(<a PASSWORD="secret" v="1"/>)"},
        {"value ends at a quote followed by a blank", R"(<a password="se"cret" v="1"/>)",
         R"(<a password="****" v="1"/>)"},
        {"no quote and blank after the value: the rest is masked",
         R"(<a password="secret"/><b v="1"/>)", R"(<a password="****)"},
        {"no closing quote at all", R"(<a password="secret)", R"(<a password="****)"},
        {"nothing to mask", R"(<a v="1"/>)", R"(<a v="1"/>)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.out, filterPassword(c.in)) << c.what;
    }
}

TEST(FilterPassword, ValueWithoutClosingQuoteDiffersFromAttributeRule) {
    const std::string unterminated = R"(<a password="secret)";
    EXPECT_EQ(R"(<a password="****)", filterPassword(unterminated));
    EXPECT_EQ(R"(<a password="****)", filterPasswordAttrBased(unterminated));
    EXPECT_EQ(std::string::npos, filterPassword(unterminated).find("secret"));
}

// A login request carrying every kind of secret the writer knows.
VSDKLogin::QLoginInfoMsg loginRequest() {
    VSDKLogin::QLoginInfoMsg login;
    msgf::putText(login, VSDKLogin::kLoginUser, "admin");
    msgf::putText(login, VSDKLogin::kLoginPassword, "Plain-Secret-1");
    CNMessageBase& session = msgf::child<VSDKLogin::QSessionInfoMsg>(login, msgf::kRequestSession);
    msgf::putBytes(session, VSDKLogin::kSessionGuid, "TokenBytes-2");
    msgf::putText(session, VSDKLogin::kSessionMultiDomainToken, "SamlToken-3");
    return login;
}

TEST(LogXmlMessage, RequestShowsNoSecretInClear) {
    VSDKLogin::QLoginInfoMsg login = loginRequest();
    std::string raw;
    ASSERT_EQ(0, login.serialize(raw, false));
    ASSERT_NE(std::string::npos, raw.find("Plain-Secret-1"));  // the twin: unmasked XML holds it

    const std::string logged = logXMLMessage(&login);
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(std::string::npos, logged.find("Plain-Secret-1")) << logged;
    // Byte strings are written in base64; neither form may show.
    EXPECT_EQ(std::string::npos, logged.find("TokenBytes-2")) << logged;
    EXPECT_EQ(std::string::npos, logged.find("VG9rZW5CeXRlcy0y")) << logged;
    EXPECT_EQ(std::string::npos, logged.find("SamlToken-3")) << logged;
    EXPECT_NE(std::string::npos, logged.find("admin")) << "other values stay readable";
}

TEST(LogXmlMessage, TokensOfSessionObjectsAreNotLogged) {
    OrvaneOperations::QExecuteReqMsg request;
    CNMessageBase& session =
        msgf::child<OrvaneOperations::QSessionInfoMsg>(request, msgf::kRequestSession);
    msgf::putText(session, msgf::kSessionGuid, "guid-token-value");
    msgf::putInt(session, msgf::kSessionMultiDomainFlag, 1);
    msgf::putText(session, msgf::kSessionMultiDomainToken, std::string("saml\0token", 10));
    msgf::putText(session, msgf::kSessionMardock, "mardock-host");
    const std::string logged = logXMLMessage(&request);
    EXPECT_EQ(std::string::npos, logged.find("guid-token-value")) << logged;
    EXPECT_EQ(std::string::npos, logged.find("saml")) << logged;
    EXPECT_EQ(std::string::npos, logged.find("c2FtbAB0b2tlbg==")) << logged;
    EXPECT_NE(std::string::npos, logged.find("mardock-host")) << logged;
}

TEST(LogXmlMessage, EveryTypeIsMaskedNotOnlySelectedOnes) {
    // A type the message library does not select for masking.
    CNMessageBase unknown(77, 1);
    ASSERT_FALSE(CNMessageBase::isOldWay(unknown.getTagID()));
    msgf::putText(unknown, VSDKLogin::kLoginPassword, "Plain-Secret-1");
    const std::string logged = logXMLMessage(&unknown);
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(std::string::npos, logged.find("Plain-Secret-1")) << logged;
}

TEST(LogXmlMessage, NoMessageIsAnEmptyText) {
    EXPECT_EQ("", logXMLMessage(static_cast<CNMessageBase*>(nullptr)));
}

TEST(LogXmlMessage, TextFormRebuildsAndMasks) {
    VSDKLogin::QLoginInfoMsg login = loginRequest();
    std::string raw;
    ASSERT_EQ(0, login.serialize(raw, false));
    const std::string logged = logXMLMessage(raw);
    EXPECT_EQ(logXMLMessage(&login), logged);
    EXPECT_EQ(std::string::npos, logged.find("Plain-Secret-1"));
}

TEST(LogXmlMessage, TextFormOfEmptyOrBrokenText) {
    EXPECT_EQ("", logXMLMessage(std::string()));
    const std::vector<std::string> broken = {
        "not xml at all",
        "<QLoginInfoMsg tag=\"400000b\"><s n=\"5\" s=\"11\" h=\"89ba9b\" password=\"x",
        "<Unknown tag=\"7f000001\"/>",
    };
    for (const std::string& text : broken) {
        const std::string logged = logXMLMessage(text);
        EXPECT_EQ(kNotFormatted, logged) << text;
    }
}

}  // namespace
