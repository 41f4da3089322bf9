// The message object, its XML form, the session part of requests, masking of
// logged messages, the caller's time value and the text conversions.
#include "VSDK/Common.h"
#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIGlobalData/TextConversion.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKErrors/MessageLogging.h"
#include "platform/CNMessageBase.h"
#include "platform/XMLCodec.h"

#include <gtest/gtest.h>

#include <climits>
#include <locale>
#include <memory>
#include <string>
#include <vector>

namespace {

using Ops = OrvaneOperations::QExecuteReqMsg;

// Field ids used only here (the message layer accepts any).
constexpr FieldId kIntNeg{2, 2, 0x100002}, kIntBig{3, 3, 0x100003}, kText{4, 4, 0x100004},
    kTextEmpty{5, 8, 0x100005}, kBytes{6, 12, 0x100006}, kChild{7, 13, 0x100007},
    kObjList{8, 14, 0x100008}, kIntList{9, 15, 0x100009}, kTextList{10, 16, 0x10000A},
    kInt64List{11, 17, 0x10000B}, kEmptyList{12, 18, 0x10000C}, kAbsent{13, 19, 0x10000D};

std::string allBytes() {
    std::string s = "\t\r\n \r\n";
    for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
    return s;
}
const std::string kZeroText("a\0b<&>\"'\x01\xff", 10);

// A request holding every value kind, absent and empty fields included.
std::unique_ptr<CNMessageBase> everyKind() {
    auto m = std::make_unique<Ops>();
    msgf::putInt(*m, kIntNeg, LLONG_MIN);
    msgf::putInt(*m, kIntBig, LLONG_MAX);
    msgf::putText(*m, kText, allBytes());
    msgf::putText(*m, kTextEmpty, std::string());
    msgf::putBytes(*m, kBytes, kZeroText);
    CNMessageBase& session = msgf::child<OrvaneOperations::QSessionInfoMsg>(*m, kChild);
    msgf::putInt(session, msgf::kSessionOne, -1);
    OrvaneOperations::QTime time;
    msgf::putText(time, msgf::kTimeZone, kZeroText);
    msgf::appendObject(*m, kObjList, time);
    OrvaneUtilities::QErrorMsg error;
    msgf::putInt(error, msgf::kErrorCode, 0x207);
    msgf::appendObject(*m, kObjList, error);
    for (int v : {-1, INT_MIN, INT_MAX}) msgf::appendInt(*m, kIntList, v);
    for (const std::string& v : {std::string(), kZeroText}) msgf::appendText(*m, kTextList, v);
    for (long long v : {LLONG_MIN, 5000000000LL}) msgf::appendInt64(*m, kInt64List, v);
    msgf::putIntList(*m, kEmptyList, {});
    // Looked at without create: stays absent.
    m->getlistlonglong(kAbsent.number, kAbsent.slot, m->getTagID(), kAbsent.hash, false);
    return m;
}

std::string toXml(const CNMessageBase& m) {
    std::string xml;
    EXPECT_EQ(0, m.serialize(xml, false));
    return xml;
}

// Any type the document names; null on failure.
std::unique_ptr<CNMessageBase> parse(const std::string& xml) {
    CNMessageBase* out = nullptr;
    std::string error;
    const int rc = CNMessageBase::ConstructAny(xml.data(), xml.size(), out, error);
    EXPECT_EQ(rc == 0, out != nullptr);
    return std::unique_ptr<CNMessageBase>(out);
}

std::unique_ptr<CNMessageBase> construct(unsigned long tag, const std::string& xml) {
    CNMessageBase* out = nullptr;
    std::string error;
    const int rc = CNMessageBase::ConstructObject(tag, xml.c_str(), out, false, error);
    EXPECT_EQ(rc == 0, out != nullptr);
    EXPECT_EQ(rc != 0, !error.empty());
    return std::unique_ptr<CNMessageBase>(out);
}

TEST(MessageXml, EveryValueKindSurvivesARoundTrip) {
    ASSERT_EQ(0, CNMessageBase::Initialize());
    const auto original = everyKind();
    const std::string xml = toXml(*original);
    EXPECT_EQ(std::string::npos, xml.find('\0'));

    // Read back it writes the very same text; a message read into keeps
    // nothing of before.
    const auto m = parse(xml);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(xml, toXml(*m));
    Ops into;
    msgf::putText(into, kAbsent, "left over");
    ASSERT_EQ(0, into.unserialize(xml.c_str()));
    EXPECT_FALSE(msgf::has(into, kAbsent));

    // And the values read back are the ones written.
    EXPECT_EQ(LLONG_MIN, msgf::getInt(*m, kIntNeg));
    EXPECT_EQ(LLONG_MAX, msgf::getInt(*m, kIntBig));
    EXPECT_EQ(allBytes(), msgf::getText(*m, kText));
    EXPECT_EQ(kZeroText, msgf::getBytes(*m, kBytes));
    const CNMessageBase* session =
        msgf::findChild(*m, kChild, OrvaneOperations::QSessionInfoMsg::kTag);
    ASSERT_NE(nullptr, session);
    EXPECT_EQ(-1, msgf::getInt(*session, msgf::kSessionOne));
    const auto* list = msgf::findList(*m, kObjList);
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(2u, list->size());
    EXPECT_EQ(kZeroText, msgf::getText((*list)[0], msgf::kTimeZone));
    EXPECT_EQ(OrvaneUtilities::QErrorMsg::kTag, (*list)[1].getTagID());
    EXPECT_EQ(0x207, msgf::getInt((*list)[1], msgf::kErrorCode));
    const unsigned long tag = m->getTagID();
    EXPECT_EQ((std::vector<int>{-1, INT_MIN, INT_MAX}),
              *m->getlistint(kIntList.number, kIntList.slot, tag, kIntList.hash, false));
    EXPECT_EQ((std::vector<std::string>{"", kZeroText}),
              *m->getliststring(kTextList.number, kTextList.slot, tag, kTextList.hash, false));
    EXPECT_EQ((std::vector<long long>{LLONG_MIN, 5000000000LL}),
              *m->getlistlonglong(kInt64List.number, kInt64List.slot, tag, kInt64List.hash, false));

    // Absent and empty stay apart.
    EXPECT_TRUE(msgf::has(*m, kTextEmpty));
    EXPECT_TRUE(msgf::has(*m, kEmptyList));
    EXPECT_FALSE(msgf::has(*m, kAbsent));
    EXPECT_EQ(0, msgf::getInt(*m, kAbsent));
    EXPECT_EQ(nullptr, m->getlistint(kAbsent.number, kAbsent.slot, tag, kAbsent.hash, false));
    EXPECT_FALSE(msgf::has(*m, kAbsent)) << "reading does not create";
}

TEST(MessageXml, WrongTypeIsRefused) {
    OrvaneUtilities::QErrorMsg error;
    msgf::putInt(error, msgf::kErrorCode, 3);
    const std::string xml = toXml(error);
    EXPECT_NE(nullptr, construct(OrvaneUtilities::QErrorMsg::kTag, xml));
    EXPECT_EQ(nullptr, construct(OrvaneOperations::QReplyErrorMsg::kTag, xml));
}

TEST(MessageAccessors, WrongKindOrTypeReadsAsAbsentAndChangesNothing) {
    Ops m;
    msgf::putText(m, kText, "text");
    EXPECT_EQ(0, msgf::getInt(m, kText));
    EXPECT_EQ(nullptr, m.getlistint(kText.number, kText.slot, m.getTagID(), kText.hash, false));
    EXPECT_EQ(nullptr, m.getObjectAccessor(false, true, kText.number, kText.slot, m.getTagID(),
                                           kText.hash, 5, OrvaneOperations::QTime::kClass));
    EXPECT_EQ("text", msgf::getText(m, kText));

    msgf::putInt(msgf::child<OrvaneOperations::QReplyErrorMsg>(m, kChild), msgf::kErrorCode, 9);
    EXPECT_EQ(nullptr, msgf::findChild(m, kChild, OrvaneUtilities::QErrorMsg::kTag));
    CNMessageBase*& again = m.getObjectAccessor(true, true, kChild.number, kChild.slot,
                                                m.getTagID(), kChild.hash, 5, 79);
    EXPECT_EQ(9, msgf::getInt(*again, msgf::kErrorCode)) << "built once, then kept";
}

// ------------------------------------------------------------- bad input

std::string doc(const std::string& body, const std::string& tag = "500013f") {
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><QExecuteReqMsg tag=\"" + tag + "\">" +
           body + "</QExecuteReqMsg>";
}

std::string nested(int depth) {
    std::string open, close;
    for (int k = 0; k < depth; ++k) {
        open += "<o n=\"1\" s=\"1\" h=\"1\" tag=\"5000004\">";
        close += "</o>";
    }
    return doc(open + close);
}

const std::string kField = "n=\"1\" s=\"1\" h=\"1\"";

// The limits that keep an untrusted document from costing unbounded work;
// each just within its limit reads. A failed read leaves nothing half-read.
TEST(MessageBadInput, DocumentsBeyondTheLimitsFail) {
    std::string big = doc("");
    big.append(vsdkmsg::kMaxDocumentBytes - big.size(), ' ');
    Ops empties;  // the shortest list elements there are
    for (int k = 0; k < 300; ++k) msgf::appendText(empties, kTextList, std::string());
    const std::string manyEmpty = toXml(empties);
    std::string miscounted = manyEmpty;
    miscounted.replace(miscounted.find("c=\"300\""), 7, "c=\"299\"");
    const std::pair<std::string, std::string> cases[] = {
        {miscounted, manyEmpty},
        {nested(vsdkmsg::kMaxNesting + 1), nested(vsdkmsg::kMaxNesting - 1)},
        {"<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaa\">]><QExecuteReqMsg "
         "tag=\"500013f\"><s " + kField + " v=\"&a;\"/></QExecuteReqMsg>",
         doc("<s " + kField + " v=\"&amp;\"/>")},
        {big + ' ', big},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nullptr, parse(c.first));
        Ops into;
        EXPECT_NE(0, into.unserialize(c.first));
        EXPECT_TRUE(into.fields().empty());
        EXPECT_NE(nullptr, parse(c.second));
    }

    // Nested lists cannot each announce what only the whole document could hold.
    const std::string list = "<lo " + kField + " c=\"9\"><o tag=\"5000004\">";
    const std::string twoLists = doc(list + list + "</o></lo></o></lo>");
    CNMessageBase* out = nullptr;
    std::string error;
    EXPECT_NE(0, CNMessageBase::ConstructAny(twoLists.data(), twoLists.size(), out, error));
    EXPECT_EQ("list count larger than the document", error);
}

// ------------------------------------------------------------- session part

VSDKAPIGlobalData stateWith(bool token) {
    VSDKAPIGlobalData state;
    state.getVSDKHandle().mardockName = "mardock.example";
    state.setGuid(std::string("guid\0tail", 9));
    if (token) {
        state.setismultifenmarktoken(true);
        state.setMultifenmarktoken("saml-token");
    }
    return state;
}

TEST(SessionInfo, BothFormsWithAndWithoutToken) {
    for (const bool token : {false, true}) {
        OrvaneOperations::QSessionInfoMsg ops;
        OrvaneUtilities::QSessionInfoMsg utils;
        setSessionInfo(ops, stateWith(token));
        setSessionInfo(utils, stateWith(token));
        for (const CNMessageBase* s : {static_cast<CNMessageBase*>(&ops),
                                       static_cast<CNMessageBase*>(&utils)}) {
            SCOPED_TRACE(std::string(token ? "token " : "no token ") + std::to_string(s->getTagID()));
            // Without a token only the utilities form carries (6,15) = 0 and an empty (7,16).
            const bool tokenFields = token || s == &utils;
            EXPECT_EQ(tokenFields, msgf::has(*s, msgf::kSessionMultiDomainFlag));
            EXPECT_EQ(tokenFields, msgf::has(*s, msgf::kSessionMultiDomainToken));
            EXPECT_EQ(token ? 1 : 0, msgf::getInt(*s, msgf::kSessionMultiDomainFlag));
            EXPECT_EQ(token ? "saml-token" : "", msgf::getText(*s, msgf::kSessionMultiDomainToken));
            EXPECT_TRUE(msgf::has(*s, msgf::kSessionId)) << "an empty session id is sent";
            EXPECT_EQ(1, msgf::getInt(*s, msgf::kSessionOne));
            EXPECT_EQ("mardock.example", msgf::getText(*s, msgf::kSessionMardock));
            EXPECT_EQ(std::string("guid\0tail", 9), msgf::getText(*s, msgf::kSessionGuid));
            EXPECT_FALSE(s->isSet(1, s->getTagID(), 0));
        }
    }
}

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

TEST(LogXmlMessage, QuotedTextEmptyBrokenAndTextForms) {
    // A quote in an ordinary value must not be taken for one that ends a password.
    VSDKLogin::QLoginInfoMsg quoted = loginRequest("my password='x", "ab'SecretTail");
    const std::string logged = logXMLMessage(&quoted);
    EXPECT_EQ(std::string::npos, logged.find("SecretTail")) << logged;
    EXPECT_NE(std::string::npos, logged.find("my password=")) << logged;

    EXPECT_EQ("", logXMLMessage(static_cast<CNMessageBase*>(nullptr)));
    EXPECT_EQ("", logXMLMessage(std::string()));
    VSDKLogin::QLoginInfoMsg login = loginRequest("admin", kSecret);
    std::string raw;
    ASSERT_EQ(0, login.serialize(raw, false));
    EXPECT_EQ(logXMLMessage(&login), logXMLMessage(raw));
    EXPECT_EQ("Error. XML is not properly formatted so cannot unserialize it.",
              logXMLMessage(raw.substr(0, raw.size() / 2)));
}

// A global locale that groups digits must not reach the conversions.
struct Grouping : std::numpunct<char> {
    char do_thousands_sep() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(NumberToText, PlainDecimalWhateverTheGlobalLocale) {
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new Grouping));
    const std::string big = numberToqwString(5000000000LL), min = numberToqwString(LLONG_MIN);
    _QTime t;
    t.unixTime = 1700000000;
    const std::string dump = t.c_str();
    std::locale::global(previous);
    EXPECT_EQ("5000000000", big);
    EXPECT_EQ("-9223372036854775808", min);
    EXPECT_NE(std::string::npos, dump.find("Unix time:[1700000000]")) << dump;
}

TEST(TextConversion, PlainCopiesKeepZeroBytesAndTakeTheirArgumentsInOrder) {
    const std::string source("a\0b\xff", 4);
    std::string out = "previous";
    qConvertStr2qwstr(out, source);  // destination first
    EXPECT_EQ(source, out);
    OrvaneOperations::QSessionInfoMsg session;
    qConvertqwStr2Str(source, session.getstringByRef(4, 7, session.getTagID(), 0x309689));
    EXPECT_EQ(source, msgf::getText(session, msgf::kSessionGuid));
}

}  // namespace

// A field named as a password or pass phrase, or ending in token or GUID, is marked secret
// where it is declared, so that every log of a message masks it.
TEST(FieldTables, EverySecretLookingFieldIsMarked) {
    std::size_t count = 0;
    const vsdkfields::FieldTable* tables = vsdkfields::fieldTables(count);
    ASSERT_GT(count, 10u);
    for (std::size_t t = 0; t < count; ++t) {
        for (std::size_t i = 0; i < tables[t].count; ++i) {
            const NamedField& f = tables[t].fields[i];
            std::string name(f.name);
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            auto endsWith = [&](const std::string& word) {
                return name.size() >= word.size() &&
                       name.compare(name.size() - word.size(), word.size(), word) == 0;
            };
            const bool looksSecret = name.find("password") != std::string::npos ||
                                     name.find("passphrase") != std::string::npos ||
                                     endsWith("token") || endsWith("guid");
            EXPECT_EQ(looksSecret, f.id.secret) << tables[t].group << "::" << f.name;
        }
    }
}
