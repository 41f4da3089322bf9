// The XML form of messages (malformed input: the message fuzzer), masking of
// logged messages, numbers under any locale.
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKErrors/MessageLogging.h"
#include "platform/XMLCodec.h"
#include "support/WireChecks.h"

#include <climits>
#include <initializer_list>
#include <locale>
#include <random>
#include <regex>

namespace {

using Ops = OrvaneOperations::QExecuteReqMsg;

// Field ids used only here (the message layer accepts any).
constexpr FieldId kIntNeg{2, 2, 0x100002}, kIntBig{3, 3, 0x100003}, kText{4, 4, 0x100004}, kTextEmpty{5, 8, 0x100005},
    kBytes{6, 12, 0x100006}, kObjList{8, 14, 0x100008}, kIntList{9, 15, 0x100009}, kTextList{10, 16, 0x10000A},
    kInt64List{11, 17, 0x10000B}, kEmptyList{12, 18, 0x10000C};
const std::string kZeroText("a\0b<&>\"'\x01\xff", 10);

// Any type the document names; null on failure.
std::unique_ptr<CNMessageBase> parse(const std::string& xml, std::string* error = nullptr) {
    CNMessageBase* out = nullptr;
    std::string text;
    const int rc = CNMessageBase::ConstructAny(xml.data(), xml.size(), out, text);
    EXPECT_EQ(rc == 0, out != nullptr);
    if (error) *error = text;
    return std::unique_ptr<CNMessageBase>(out);
}

TEST(MessageXml, EveryValueKindSurvivesARoundTrip) {
    ASSERT_EQ(0, CNMessageBase::Initialize());
    std::string allBytes = "\t\r\n \r\n";
    for (int i = 0; i < 256; ++i) allBytes += static_cast<char>(i);
    Ops original;
    msgf::putInt(original, kIntNeg, LLONG_MIN);
    msgf::putInt(original, kIntBig, LLONG_MAX);
    msgf::putText(original, kText, allBytes);
    msgf::putText(original, kTextEmpty, std::string());
    msgf::putBytes(original, kBytes, kZeroText);
    OrvaneOperations::QTime time;
    msgf::putText(time, msgf::kTimeZone, kZeroText);
    msgf::appendObject(original, kObjList, time);
    msgf::putIntList(original, kIntList, {-1, INT_MIN, INT_MAX});
    msgf::putTextList(original, kTextList, {"", kZeroText});
    msgf::putInt64List(original, kInt64List, {LLONG_MIN, 5000000000LL});
    msgf::putIntList(original, kEmptyList, {});
    const std::string xml = vsdktest::xmlOf(original);

    // Read back it writes the very same text and holds the values written,
    // the empty ones present.
    const auto m = parse(xml);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(xml, vsdktest::xmlOf(*m));
    vsdktest::expectFields(*m, {{kIntNeg, LLONG_MIN}, {kIntBig, LLONG_MAX}, {kText, allBytes}, {kTextEmpty, ""}});
    EXPECT_EQ(kZeroText, msgf::getBytes(*m, kBytes));
    const auto* list = vsdktest::objectListAt(*m, kObjList);
    ASSERT_TRUE(list && list->size() == 1u);
    EXPECT_EQ(kZeroText, msgf::getText((*list)[0], msgf::kTimeZone));
    vsdktest::expectIntList(*m, kIntList, {-1, INT_MIN, INT_MAX});
    vsdktest::expectIntList(*m, kEmptyList, {});
    vsdktest::expectTextList(*m, kTextList, {"", kZeroText});
    EXPECT_EQ((std::vector<long long>{LLONG_MIN, 5000000000LL}),
              *m->getlistlonglong(kInt64List.number, kInt64List.slot, m->getTagID(), kInt64List.hash, false));
}

const std::string kField = "n=\"1\" s=\"1\" h=\"1\"";

std::string doc(const std::string& body,
                const std::string& prolog = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>") {
    return prolog + "<QExecuteReqMsg tag=\"500013f\">" + body + "</QExecuteReqMsg>";
}

std::string nested(int depth) {
    std::string open, close;
    for (int k = 0; k < depth; ++k) {
        open += "<o " + kField + " tag=\"5000004\">";
        close += "</o>";
    }
    return doc(open + close);
}

// The limits that keep an untrusted document from costing unbounded work;
// each just within its limit reads.
TEST(MessageXml, DocumentsBeyondTheLimitsFail) {
    std::string big = doc("");
    big.append(vsdkmsg::kMaxDocumentBytes - big.size(), ' ');
    Ops empties;  // the shortest list elements there are
    msgf::putTextList(empties, kTextList, std::vector<std::string>(300));
    const std::string manyEmpty = vsdktest::xmlOf(empties);
    std::string miscounted = manyEmpty;
    miscounted.replace(miscounted.find("c=\"300\""), 7, "c=\"299\"");
    const std::pair<std::string, std::string> cases[] = {
        {miscounted, manyEmpty},
        {nested(vsdkmsg::kMaxNesting + 1), nested(vsdkmsg::kMaxNesting - 1)},
        {doc("<s " + kField + " v=\"&a;\"/>", "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaa\">]>"),
         doc("<s " + kField + " v=\"&amp;\"/>")},
        {big + ' ', big},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nullptr, parse(c.first));
        EXPECT_NE(nullptr, parse(c.second));
    }

    // Nested lists cannot each announce what only the whole document could hold.
    const std::string list = "<lo " + kField + " c=\"9\"><o tag=\"5000004\">";
    std::string error;
    EXPECT_EQ(nullptr, parse(doc(list + list + "</o></lo></o></lo>"), &error));
    EXPECT_EQ("list count larger than the document", error);
}

// The operations form carries the token fields only with a token; the
// utilities form always does (0 and empty without one).
TEST(SessionInfo, BothFormsWithAndWithoutToken) {
    const std::string guid("guid\0tail", 9);
    for (const bool token : {false, true}) {
        SCOPED_TRACE(token);
        VSDKAPIGlobalData state;
        state.getVSDKHandle().mardockName = "mardock.example";
        state.setGuid(guid);
        state.setismultifenmarktoken(token);
        state.setMultifenmarktoken(token ? "saml-token" : "");
        Ops ops;
        setSessionInfo(msgf::child<OrvaneOperations::QSessionInfoMsg>(ops, msgf::kRequestSession), state);
        vsdktest::expectSession(ops, {"mardock.example", guid, token, "saml-token"});
        OrvaneUtilities::QSessionInfoMsg utils;
        setSessionInfo(utils, state);
        vsdktest::expectFields(utils, {{msgf::kSessionId, ""}, {msgf::kSessionOne, 1},
                                       {msgf::kSessionMardock, "mardock.example"}, {msgf::kSessionGuid, guid},
                                       {msgf::kSessionMultiDomainFlag, token ? 1 : 0},
                                       {msgf::kSessionMultiDomainToken, token ? "saml-token" : ""}});
    }
}

TEST(FilterPassword, BothRules) {
    const struct {
        const char* what;
        std::string in, attrBased, older;  // filterPasswordAttrBased, filterPassword
    } cases[] = {
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
        {"a document inside a value", R"(<a v="&lt;b password=&quot;s&quot;/&gt;"/>)",
         R"(<a v="&lt;b password=&quot;****&quot;/&gt;"/>)", R"(<a v="&lt;b password=&quot;s&quot;/&gt;"/>)"},
        {"documents nested two and three deep",
         R"(<a v="&lt;b w=&quot;&amp;lt;c password=&amp;quot;s2&amp;quot; d=&amp;apos;1&amp;apos;/&amp;gt;&quot;/&gt;"/>)"
         R"(<e password=&amp;amp;apos;s3&amp;amp;apos;/>)",
         R"(<a v="&lt;b w=&quot;&amp;lt;c password=&amp;quot;****&amp;quot; d=&amp;apos;1&amp;apos;/&amp;gt;&quot;/&gt;"/>)"
         R"(<e password=&amp;amp;apos;****&amp;amp;apos;/>)",
         R"(<a v="&lt;b w=&quot;&amp;lt;c password=&amp;quot;s2&amp;quot; d=&amp;apos;1&amp;apos;/&amp;gt;&quot;/&gt;"/>)"
         R"(<e password=&amp;amp;apos;s3&amp;amp;apos;/>)"},
        {"numeric quotes; a quote of another depth or kind is text; a value ends with the one that holds it",
         R"(<a v="&lt;b password=&#034;it's &amp;quot;s&#X22;/&gt;"/><c w='&lt;d password=&QUOT;u'/>)",
         R"(<a v="&lt;b password=&#034;****&#X22;/&gt;"/><c w='&lt;d password=&QUOT;****'/>)",
         R"(<a v="&lt;b password=&#034;it's &amp;quot;s&#X22;/&gt;"/><c w='&lt;d password=&QUOT;u'/>)"},
        {"blanks around '=' written as references", R"(<a v="&lt;b password&#x20;=&amp;#10;&quot;s&quot;/&gt;"/>)",
         R"(<a v="&lt;b password&#x20;=&amp;#10;&quot;****&quot;/&gt;"/>)",
         R"(<a v="&lt;b password&#x20;=&amp;#10;&quot;s&quot;/&gt;"/>)"},
        {"the word in a text, a comment, CDATA, an instruction; a name beyond ASCII; '&' as a numeric reference",
         "<t>password=\"</t><!-- a=\"b --><![CDATA[a=\"]]><?pi a=\"?><u v\xC3\xA9='x=\"' password=\"s\"/>"
         "<a v=\"&#60;b w=&#34;&#38;lt;c password=&#38;quot;s&#38;quot;/&#38;gt;&#34;/&#62;\"/>",
         "<t>password=\"****</t><!-- a=\"b --><![CDATA[a=\"]]><?pi a=\"?><u v\xC3\xA9='x=\"' password=\"****\"/>"
         "<a v=\"&#60;b w=&#34;&#38;lt;c password=&#38;quot;****&#38;quot;/&#38;gt;&#34;/&#62;\"/>",
         "<t>password=\"****"},
        {"a value that ends in the word, and the word in an element's text",
         R"(<r msg="bad password=" password="hunter2"/><t>x="</t><u password="s"/>)",
         R"(<r msg="bad password=" password="****"/><t>x="</t><u password="****"/>)",
         R"(<r msg="bad password="****)"},
        {"a value in a text that ends in the word, before the real one",
         R"(<note>&lt;user hint="reset password=" password="S3cret"/&gt;</note><t>a password=' b password="SE'CRET"</t>)",
         R"(<note>&lt;user hint="reset password="****"/&gt;</note><t>a password='****"</t>)",
         R"(<note>&lt;user hint="reset password="****)"},
        {"a base64 text carrying a document, whole and cut",
         R"(<s x="PGxvZ2luIG5hbWU9Im9wcyIgcGFzc3dvcmQ9IlMzY3JldCIvPhs="/><s x="PGxvZ2luIG5hbWU9Im9wcyIgcGFzc3dvcmQ9IlMzY3JldCIvPhs)",
         R"(<s x="PGxvZ2luIG5hbWU9Im9wcyIgcGFzc3dvcmQ9IioqKioiLz4b"/><s x="PGxvZ2luIG5hbWU9Im9wcyIgcGFzc3dvcmQ9IioqKioiLw==)",
         R"(<s x="PGxvZ2luIG5hbWU9Im9wcyIgcGFzc3dvcmQ9IlMzY3JldCIvPhs="/><s x="PGxvZ2luIG5hbWU9Im9wcyIgcGFzc3dvcmQ9IlMzY3JldCIvPhs)"},
        {"password elements: plain, nested in a value, carried in a text, in CDATA, with a child",
         R"(<a><PassWord>S3</PassWord><password/>x<b v="&lt;c&gt;&lt;PASSWORD a=&quot;1&quot;&gt;s&lt;/PASSWORD&gt;&lt;/c&gt;"/>)"
         R"(<n>&amp;lt;password&amp;gt;s&amp;lt;/password&amp;gt;</n><![CDATA[<password>s</password>]]><password><v>1</v>s</password></a>)",
         R"(<a><PassWord>****</PassWord><password/>x<b v="&lt;c&gt;&lt;PASSWORD a=&quot;1&quot;&gt;****&lt;/PASSWORD&gt;&lt;/c&gt;"/>)"
         R"(<n>&amp;lt;password&amp;gt;****&amp;lt;/password&amp;gt;</n><![CDATA[<password>****</password>]]><password>****</password></a>)",
         R"(<a><PassWord>S3</PassWord><password/>x<b v="&lt;c&gt;&lt;PASSWORD a=&quot;1&quot;&gt;s&lt;/PASSWORD&gt;&lt;/c&gt;"/>)"
         R"(<n>&amp;lt;password&amp;gt;s&amp;lt;/password&amp;gt;</n><![CDATA[<password>s</password>]]><password><v>1</v>s</password></a>)"},
        {"a message with a '<' that starts no tag, or a tag without values, before the secret",
         R"(<e t="unexpected '&lt;' in &lt;login password='s1'/&gt;" m="a &lt; b can't password='s2'" )"
         R"(u="unexpected '&lt;b' in &lt;login password='s3'/&gt;"/>)",
         R"(<e t="unexpected '&lt;' in &lt;login password='****'/&gt;" m="a &lt; b can't password='****'" )"
         R"(u="unexpected '&lt;b' in &lt;login password='****'/&gt;"/>)",
         R"(<e t="unexpected '&lt;' in &lt;login password='s1'/&gt;" m="a &lt; b can't password='s2'" )"
         R"(u="unexpected '&lt;b' in &lt;login password='s3'/&gt;"/>)"},
        {"a base64 text whose quote ends a mask in a text; CDATA in a carried password element",
         R"(<![CDATA[<u hint="reset password="/><s x="PHUgcGFzc3dvcmQ9IlF2N0t6NFdwIi8+"/>]]>)"
         R"(<n>&lt;password&gt;&lt;![CDATA[Qv7K&lt;/b&gt;z4Wp]]&gt;&lt;/password&gt;</n>)",
         R"(<![CDATA[<u hint="reset password="****"PHUgcGFzc3dvcmQ9IioqKioiLz4="/>]]>)"
         R"(<n>&lt;password&gt;****&lt;/password&gt;</n>)",
         R"(<![CDATA[<u hint="reset password="****)"},
        {"the word elsewhere", R"(<a user="password">password</a>)",
         R"(<a user="password">password</a>)", R"(<a user="password">password</a>)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.attrBased, filterPasswordAttrBased(c.in)) << c.what;
        EXPECT_EQ(c.older, filterPassword(c.in)) << c.what;
    }
}

// Random pieces of documents from a fixed seed, and texts escaped as
// different writers escape them: both quote kinds escaped or only the
// delimiting one (none in a text: quote '\0'), named or numeric references,
// '>' escaped or not, upper-case entities.
class DocumentMaker {
protected:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    std::string oneOf(std::initializer_list<const char*> texts) { return *(texts.begin() + pick(int(texts.size()))); }
    std::string escape(const std::string& text, char quote) {
        const bool bothQuotes = pick(2), numeric = pick(4) == 0, greater = pick(2), upper = pick(4) == 0;
        std::string out;
        for (const char c : text) {
            if (c == '&') out += numeric ? "&#38;" : upper ? "&AMP;" : "&amp;";
            else if (c == '\n') out += numeric ? "&#10;" : "\n";
            else if (c == '<') out += numeric ? "&#060;" : "&lt;";
            else if (c == '>') out += greater ? (numeric ? "&#x3E;" : "&gt;") : ">";
            else if (c == '"' && (quote == '"' || bothQuotes)) out += numeric ? "&#34;" : "&quot;";
            else if (c == '\'' && (quote == '\'' || bothQuotes)) out += numeric ? "&#x27;" : "&apos;";
            else out += c;
        }
        return out;
    }
    std::mt19937 m_random{20261207};
};

// Documents nested in attribute values of others, with texts, comments,
// CDATA sections and processing instructions and values that look like the
// start of an attribute ("x=\"", "bad password="), blanks around '=' and
// names beyond ASCII. No byte of a password value may reach the masked text.
class NestedDocuments : DocumentMaker {
public:
    std::string document(int level) {
        std::string d;
        for (int e = 1 + pick(3); e > 0; --e) {
            if (pick(3) == 0) {
                d += oneOf({"it's", "x=\"", "say \"hi\"", "a='b", "a > b", "k = '", "password=\"", "<!-- a='b -->",
                            "<![CDATA[x=\"]]>", "<?pi a=\"?>"});
            }
            d += "<e";
            for (int a = 1 + pick(3); a > 0; --a) {
                const bool secret = pick(3) == 0;
                const char quote = pick(2) ? '"' : '\'';
                const std::string name = secret ? oneOf({"x:password", "PassWord"}) : oneOf({"v", "msg", "d\xC3\xA9"});
                const std::string content = secret ? "SECRET" + value(level) + "SECRET" : value(level);
                d += " " + name + oneOf({"=", " = ", "=\n"}) + quote + escape(content, quote) + quote;
            }
            d += "/>";
        }
        return d;
    }

private:
    std::string value(int level) {
        if (pick(4) == 0 && level < 3) return document(level + 1);
        return oneOf({"it's \"q\"", "bad password=", "a='1' b=\"2\" password=", "1 > 0", "password='", "text"});
    }
};

TEST(FilterPassword, NoSecretOfANestedDocumentIsShown) {
    NestedDocuments documents;
    for (int i = 0; i < 20000; ++i) {
        const std::string in = documents.document(0);
        const std::string out = filterPasswordAttrBased(in);
        ASSERT_EQ(std::string::npos, out.find("SECRET")) << in << "\n" << out;
    }
}

// One secret, its two runs of letters and digits joined by a byte that
// escaping changes (or none), nested 1 to 4 levels deep: in attribute values
// of other documents, in base64 texts, in element texts, CDATA sections and
// comments. The secret itself is a password attribute's value, the text after
// "password=" and a quote (in an element's text, a comment, CDATA or an
// instruction) or a password element's text; decoys stand around it, and
// some documents are cut short.
class SecretDocuments : DocumentMaker {
public:
    static constexpr const char* kRuns[] = {"Qv7Kz4Wp", "Jm2Rx8Tn"};

    std::string document() {
        std::string d = nested(1 + pick(4));
        if (pick(4) == 0) d.resize(std::size_t(pick(int(d.size()) + 1)));
        return d;
    }

    static std::vector<std::string> traces() {
        std::vector<std::string> out = vsdktest::tracesOf(kRuns[0]), second = vsdktest::tracesOf(kRuns[1]);
        out.insert(out.end(), second.begin(), second.end());
        return out;
    }

private:
    std::string secret(char notThis) {
        std::string join = oneOf({"", "'", "\"", "&", " ", "<", "</b>"});
        if (!join.empty() && join[0] == notThis) join.clear();
        return std::string(kRuns[0]) + join + kRuns[1];
    }
    char quote() { return pick(2) ? '"' : '\''; }
    std::string equals() { return oneOf({"=", " = ", "=\n"}); }
    std::string decoyText() {
        return pick(2) ? oneOf({"it's ", "x=\"", "say \"hi\" ", "a='b ", "a > b ", "password=\"", "bad password= ",
                                "a password=' b ", "hint=\"reset password=\" ", "a < b ", "unexpected '<b' in "})
                       : "";
    }
    std::string decoyAttributes(char q) {
        std::string out;
        for (int a = pick(3); a > 0; --a) {
            out += " " + oneOf({"v", "hint", "d\xC3\xA9"}) + equals() + q +
                   escape(oneOf({"reset password=", "x=\"", "it's", "1 > 0", "<password>"}), q) + q;
        }
        return out;
    }

    // The secret in one of its forms, among decoys.
    std::string leaf() {
        std::string d = "<e" + decoyAttributes('"') + "/>";
        switch (pick(4)) {
            case 0: {
                const char q = quote();
                d += "<e" + decoyAttributes(q) + " " + oneOf({"password", "PassWord", "x:password", "userPassword"}) +
                     equals() + q + escape(secret('\0'), q) + q + decoyAttributes(q) + "/>";
                break;
            }
            case 1: {
                const char q = quote();
                const std::string text = "password" + equals() + q + secret(q) + q;
                switch (pick(4)) {
                    case 0: d += "<t>" + escape(decoyText() + text, '\0') + "</t>"; break;
                    case 1: d += "<!-- " + decoyText() + text + " -->"; break;
                    case 2: d += "<![CDATA[" + decoyText() + text + "]]>"; break;
                    default: d += "<?pi " + decoyText() + text + "?>"; break;
                }
                break;
            }
            case 2: {
                const std::string name = oneOf({"password", "PassWord", "PASSWORD", "userPassword"});
                const std::string child = pick(2) ? "<v a='1'>1</v><w/>" : "";
                const std::string text = pick(3) ? escape(secret('\0'), '\0') : "<![CDATA[" + secret('\0') + "]]>";
                d += "<" + name + (pick(2) ? " a=\"1\"" : "") + ">" + child + text + "</" + name + ">";
                break;
            }
            default:
                d += "<![CDATA[" + decoyText() + "<password>" + escape(secret('\0'), '\0') + "</password>]]>";
                break;
        }
        return d + decoyText() + "<e/>";
    }

    // inner carried one level deeper.
    std::string nested(int depth) {
        const std::string inner = depth == 1 ? leaf() : nested(depth - 1);
        switch (pick(5)) {
            case 0: return "<s x=\"" + vsdktest::base64(inner + (pick(2) ? "\x1b" : "")) + "\"/>";
            case 1: return "<n>" + escape(inner, '\0') + "</n>";
            case 2:
                if (inner.find("]]>") == std::string::npos) return "<n><![CDATA[" + inner + "]]></n>";
                break;
            case 3:
                if (inner.find("--") == std::string::npos) return "<!-- " + inner + " -->";
                break;
            default: break;
        }
        const char q = quote();
        return "<e" + decoyAttributes(q) + " " + oneOf({"v", "msg", "d\xC3\xA9"}) + equals() + q + escape(inner, q) +
               q + decoyAttributes(q) + "/>";
    }
};

TEST(FilterPassword, NoTraceOfASecretInAnyFormIsShown) {
    SecretDocuments documents;
    const std::vector<std::string> traces = SecretDocuments::traces();
    for (int i = 0; i < 20000; ++i) {
        const std::string in = documents.document();
        const std::string out = filterPasswordAttrBased(in);
        for (const std::string& trace : traces) ASSERT_EQ(std::string::npos, out.find(trace)) << in << "\n" << out;
    }
}

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

TEST(LogXmlMessage, NoSecretInClearInEitherForm) {
    VSDKLogin::QLoginInfoMsg login = loginRequest("admin", "Plain-Secret-1");
    Ops request;
    CNMessageBase& session = msgf::child<OrvaneOperations::QSessionInfoMsg>(request, msgf::kRequestSession);
    msgf::putText(session, msgf::kSessionGuid, "guid-token-value");
    msgf::putText(session, msgf::kSessionMultiDomainToken, std::string("saml\0token", 10));
    // A type the message library does not select for masking is masked all the same.
    CNMessageBase unknown(77, 1);
    ASSERT_FALSE(CNMessageBase::isOldWay(unknown.getTagID()));
    msgf::putText(unknown, VSDKLogin::kLoginPassword, "Plain-Secret-1");
    // A quote in an ordinary value must not be taken for one that ends a password.
    VSDKLogin::QLoginInfoMsg quoted = loginRequest("my password='x", "ab'Plain-Secret-1");

    for (CNMessageBase* m : {static_cast<CNMessageBase*>(&login), static_cast<CNMessageBase*>(&request),
                             &unknown, static_cast<CNMessageBase*>(&quoted)}) {
        const std::string logged = logXMLMessage(m);
        ASSERT_FALSE(logged.empty());
        // The text form of a known type is masked alike.
        EXPECT_EQ(logged, m == &unknown ? logged : logXMLMessage(vsdktest::xmlOf(*m)));
        for (const char* secret : {"Plain-Secret-1", "VG9rZW5CeXRlcy0y" /* TokenBytes-2 */, "SamlToken-3",
                                   "guid-token-value", "saml"}) {
            EXPECT_EQ(std::string::npos, logged.find(secret)) << logged;
        }
    }
    EXPECT_NE(std::string::npos, logXMLMessage(&login).find("admin")) << "the rest stays readable";
    EXPECT_NE(std::string::npos, logXMLMessage(&quoted).find("my password=")) << "the rest stays readable";

    EXPECT_EQ("", logXMLMessage(static_cast<CNMessageBase*>(nullptr)));
    EXPECT_EQ("", logXMLMessage(std::string()));
    EXPECT_EQ("Error. XML is not properly formatted so cannot unserialize it.",
              logXMLMessage(vsdktest::xmlOf(login).substr(0, 100)));
}

// A global locale that groups digits must not reach number texts (record dumps).
struct Grouping : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(NumberToText, PlainDecimalWhateverTheGlobalLocale) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new Grouping));
    _QTime t;
    t.unixTime = 1700000000;
    const std::string dump = t.c_str();
    std::locale::global(previous);
    EXPECT_NE(std::string::npos, dump.find("Unix time:[1700000000]")) << dump;
}

}  // namespace

// A field named as a password or pass phrase, or ending in token, GUID or key, is
// marked secret where it is declared, so that every log of a message masks it.
TEST(FieldTables, EverySecretLookingFieldIsMarked) {
    const std::regex looksSecret(".*(password|passphrase).*|.*(token|guid|key)", std::regex::icase);
    std::size_t count = 0;
    const vsdkfields::FieldTable* tables = vsdkfields::fieldTables(count);
    ASSERT_GT(count, 10u);
    for (std::size_t t = 0; t < count; ++t) {
        for (std::size_t i = 0; i < tables[t].count; ++i) {
            const NamedField& f = tables[t].fields[i];
            EXPECT_EQ(std::regex_match(f.name, looksSecret), f.id.secret) << tables[t].group << "::" << f.name;
        }
    }
}
