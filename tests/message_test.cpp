// The message object, its XML form and the session part of requests.
#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/MediaManager.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPI/messages/OrvaneUtilities.h"
#include "VSDKAPI/messages/VSDKLogin.h"
#include "VSDKAPI/session/OperationFrame.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "platform/CNMessageBase.h"
#include "platform/CPvError.h"
#include "platform/XMLCodec.h"
#include "platform/bstring.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace {

using vsdkmsg::Field;
using vsdkmsg::FieldKind;

// Field ids used only by these tests (the message layer accepts any).
constexpr FieldId kInt{1, 1, 0x100001};
constexpr FieldId kIntNeg{2, 2, 0x100002};
constexpr FieldId kIntBig{3, 3, 0x100003};
constexpr FieldId kText{4, 4, 0x100004};
constexpr FieldId kTextEmpty{5, 8, 0x100005};
constexpr FieldId kBytes{6, 12, 0x100006};
constexpr FieldId kChild{7, 13, 0x100007};
constexpr FieldId kObjList{8, 14, 0x100008};
constexpr FieldId kIntList{9, 15, 0x100009};
constexpr FieldId kTextList{10, 16, 0x10000A};
constexpr FieldId kInt64List{11, 17, 0x10000B};
constexpr FieldId kEmptyList{12, 18, 0x10000C};
constexpr FieldId kAbsentList{13, 19, 0x10000D};
constexpr FieldId kNeverSet{14, 20, 0x10000E};
constexpr FieldId kAbsentObject{15, 21, 0x10000F};
constexpr FieldId kTextHigh{16, 22, 0x100010};

std::string allBytes() {
    std::string s;
    for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
    return s;
}

const std::string kTextWithZero("a\0b<&>\"'\t\n\r\x01\x7f\xe9\xff end", 20);
// Every byte from 0x20 up, and the three blanks XML attributes would normalise.
std::string printableBytes() {
    std::string s = "\t\n\r \r\n";
    for (int i = 0x20; i < 256; ++i) s += static_cast<char>(i);
    return s;
}

// Field-by-field equality of two messages, nested objects and lists included.
void expectSameMessage(const CNMessageBase& a, const CNMessageBase& b, const std::string& where);

void expectSameField(const Field& x, const Field& y, const std::string& where) {
    SCOPED_TRACE(where + " field " + std::to_string(x.number));
    EXPECT_EQ(x.number, y.number);
    EXPECT_EQ(x.slot, y.slot);
    EXPECT_EQ(x.hash, y.hash);
    ASSERT_EQ(static_cast<int>(x.kind), static_cast<int>(y.kind));
    switch (x.kind) {
        case FieldKind::Int64:
            EXPECT_EQ(x.i, y.i);
            break;
        case FieldKind::Text:
            EXPECT_EQ(x.s, y.s);
            break;
        case FieldKind::Bytes:
            ASSERT_EQ(x.b == nullptr, y.b == nullptr);
            if (x.b) {
                EXPECT_EQ(x.b->str(), y.b->str());
            }
            break;
        case FieldKind::Object:
            ASSERT_EQ(x.obj == nullptr, y.obj == nullptr);
            if (x.obj) {
                expectSameMessage(*x.obj, *y.obj, where + "/" + std::to_string(x.number));
            }
            break;
        case FieldKind::ObjectList:
            ASSERT_EQ(x.objList == nullptr, y.objList == nullptr);
            if (x.objList) {
                ASSERT_EQ(x.objList->size(), y.objList->size());
                for (std::size_t k = 0; k < x.objList->size(); ++k) {
                    expectSameMessage((*x.objList)[k], (*y.objList)[k],
                                      where + "/" + std::to_string(x.number) + "[" +
                                          std::to_string(k) + "]");
                }
            }
            break;
        case FieldKind::IntList:
            ASSERT_EQ(x.intList == nullptr, y.intList == nullptr);
            if (x.intList) {
                EXPECT_EQ(*x.intList, *y.intList);
            }
            break;
        case FieldKind::TextList:
            ASSERT_EQ(x.textList == nullptr, y.textList == nullptr);
            if (x.textList) {
                EXPECT_EQ(*x.textList, *y.textList);
            }
            break;
        case FieldKind::Int64List:
            ASSERT_EQ(x.int64List == nullptr, y.int64List == nullptr);
            if (x.int64List) {
                EXPECT_EQ(*x.int64List, *y.int64List);
            }
            break;
    }
}

// Fields present in a message (an entry whose list or object is null is absent).
std::vector<const Field*> presentFields(const CNMessageBase& m) {
    std::vector<const Field*> out;
    for (const auto& kv : m.fields()) {
        if (m.isSet(kv.first, m.getTagID(), kv.second.hash)) out.push_back(&kv.second);
    }
    return out;
}

void expectSameMessage(const CNMessageBase& a, const CNMessageBase& b, const std::string& where) {
    SCOPED_TRACE(where);
    EXPECT_EQ(a.getTagID(), b.getTagID());
    const auto fa = presentFields(a);
    const auto fb = presentFields(b);
    ASSERT_EQ(fa.size(), fb.size());
    for (std::size_t k = 0; k < fa.size(); ++k) expectSameField(*fa[k], *fb[k], where);
}

// A request holding every value kind.
std::unique_ptr<CNMessageBase> everyKind() {
    auto m = std::make_unique<OrvaneOperations::QExecuteReqMsg>();
    msgf::putInt(*m, kInt, 7);
    msgf::putInt(*m, kIntNeg, LLONG_MIN);
    msgf::putInt(*m, kIntBig, LLONG_MAX);
    msgf::putText(*m, kText, kTextWithZero);
    msgf::putText(*m, kTextEmpty, std::string());
    msgf::putText(*m, kTextHigh, printableBytes());
    msgf::putBytes(*m, kBytes, allBytes());

    CNMessageBase& session = msgf::child<OrvaneOperations::QSessionInfoMsg>(*m, kChild);
    msgf::putText(session, msgf::kSessionId, "sid");
    msgf::putInt(session, msgf::kSessionOne, 1);
    CNMessageBase& time = msgf::child<OrvaneOperations::QTime>(session, kChild);
    msgf::putInt(time, msgf::kTimeUnix, -1);

    // Elements of different types, built on the stack and appended as copies.
    {
        OrvaneOperations::QTime element;
        msgf::putInt(element, msgf::kTimeUnix, 1700000000);
        msgf::putText(element, msgf::kTimeZone, std::string("z\0z", 3));
        msgf::appendObject(*m, kObjList, element);
    }
    {
        OrvaneUtilities::QErrorMsg element;
        msgf::putInt(element, msgf::kErrorCode, 0x207);
        msgf::child<OrvaneUtilities::QTime>(element, kChild);
        msgf::appendObject(*m, kObjList, element);
    }
    msgf::appendObject(*m, kObjList, OrvaneOperations::QTime());

    for (int v : {0, -1, INT_MIN, INT_MAX}) msgf::appendInt(*m, kIntList, v);
    for (const std::string& v : {std::string(), kTextWithZero, std::string("plain")}) {
        msgf::appendText(*m, kTextList, v);
    }
    for (long long v : {0LL, LLONG_MIN, LLONG_MAX, 5000000000LL}) msgf::appendInt64(*m, kInt64List, v);

    const std::vector<int> none;
    m->setlistint(kEmptyList.number, kEmptyList.slot, &none, m->getTagID(), kEmptyList.hash);
    // Looked at but never created: stays absent.
    m->getlistlonglong(kAbsentList.number, kAbsentList.slot, m->getTagID(), kAbsentList.hash, false);
    m->getObjectAccessor(false, true, kAbsentObject.number, kAbsentObject.slot, m->getTagID(),
                         kAbsentObject.hash, OrvaneOperations::kModuleId,
                         OrvaneOperations::QTime::kClass);
    return m;
}

std::string toXml(const CNMessageBase& m) {
    std::string xml;
    EXPECT_EQ(0, m.serialize(xml, false));
    return xml;
}

std::unique_ptr<CNMessageBase> construct(unsigned long tag, const std::string& xml) {
    CNMessageBase* out = nullptr;
    std::string error;
    const int rc = CNMessageBase::ConstructObject(tag, xml.c_str(), out, false, error);
    std::unique_ptr<CNMessageBase> owned(out);
    if (rc != 0) {
        EXPECT_EQ(nullptr, out);
        EXPECT_FALSE(error.empty());
        return nullptr;
    }
    return owned;
}

std::unique_ptr<CNMessageBase> constructAny(const std::string& xml) {
    CNMessageBase* out = nullptr;
    std::string error;
    const int rc = CNMessageBase::ConstructAny(xml.data(), xml.size(), out, error);
    std::unique_ptr<CNMessageBase> owned(out);
    if (rc != 0) {
        EXPECT_EQ(nullptr, out);
        return nullptr;
    }
    return owned;
}

TEST(MessageXml, EveryValueKindSurvivesARoundTrip) {
    const auto original = everyKind();
    const std::string xml = toXml(*original);
    EXPECT_EQ(std::string::npos, xml.find('\0')) << "the XML text holds a raw zero byte";
    // Printable texts stay readable in the XML (blanks as character references).
    EXPECT_NE(std::string::npos, xml.find(" v=\"&#9;&#10;&#13; &#13;&#10; !&quot;#$%&amp;'"))
        << xml;

    // Three ways back: by expected tag, by the document's own tag, into an object.
    const auto byTag = construct(OrvaneOperations::QExecuteReqMsg::kTag, xml);
    ASSERT_NE(nullptr, byTag);
    expectSameMessage(*original, *byTag, "ConstructObject");

    const auto any = constructAny(xml);
    ASSERT_NE(nullptr, any);
    expectSameMessage(*original, *any, "ConstructAny");

    OrvaneOperations::QExecuteReqMsg into;
    msgf::putText(into, kNeverSet, "left over from before");
    ASSERT_EQ(0, into.unserialize(xml));
    expectSameMessage(*original, into, "unserialize");
    ASSERT_EQ(0, into.unserialize(xml.c_str()));
    expectSameMessage(*original, into, "unserialize(const char*)");

    // And the text written again is the same text.
    EXPECT_EQ(xml, toXml(*any));
}

TEST(MessageXml, ValuesReadBackThroughTheAccessors) {
    const auto m = constructAny(toXml(*everyKind()));
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(LLONG_MIN, msgf::getInt(*m, kIntNeg));
    EXPECT_EQ(LLONG_MAX, msgf::getInt(*m, kIntBig));
    EXPECT_EQ(kTextWithZero, msgf::getText(*m, kText));
    EXPECT_EQ(kTextWithZero.size(), msgf::getText(*m, kText).size());
    EXPECT_EQ(printableBytes(), msgf::getText(*m, kTextHigh));
    EXPECT_EQ(allBytes(), msgf::getBytes(*m, kBytes));

    const CNMessageBase* session =
        msgf::findChild(*m, kChild, OrvaneOperations::QSessionInfoMsg::kTag);
    ASSERT_NE(nullptr, session);
    const CNMessageBase* time = msgf::findChild(*session, kChild, OrvaneOperations::QTime::kTag);
    ASSERT_NE(nullptr, time);
    EXPECT_EQ(-1, msgf::getInt(*time, msgf::kTimeUnix));

    const std::vector<CNMessageBase>* list = msgf::findList(*m, kObjList);
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(3u, list->size());
    EXPECT_EQ(0x05000004UL, (*list)[0].getTagID());
    EXPECT_EQ(std::string("z\0z", 3), msgf::getText((*list)[0], msgf::kTimeZone));
    EXPECT_EQ(0x06000002UL, (*list)[1].getTagID());
    EXPECT_EQ(0x207, msgf::getInt((*list)[1], msgf::kErrorCode));
    EXPECT_NE(nullptr, msgf::findChild((*list)[1], kChild, OrvaneUtilities::QTime::kTag));
    EXPECT_TRUE((*list)[2].fields().empty());

    auto* ints = m->getlistint(kIntList.number, kIntList.slot, m->getTagID(), kIntList.hash, false);
    ASSERT_NE(nullptr, ints);
    EXPECT_EQ((std::vector<int>{0, -1, INT_MIN, INT_MAX}), *ints);
    auto* texts =
        m->getliststring(kTextList.number, kTextList.slot, m->getTagID(), kTextList.hash, false);
    ASSERT_NE(nullptr, texts);
    EXPECT_EQ((std::vector<std::string>{"", kTextWithZero, "plain"}), *texts);
    auto* longs = m->getlistlonglong(kInt64List.number, kInt64List.slot, m->getTagID(),
                                     kInt64List.hash, false);
    ASSERT_NE(nullptr, longs);
    EXPECT_EQ((std::vector<long long>{0, LLONG_MIN, LLONG_MAX, 5000000000LL}), *longs);
}

TEST(MessagePresence, NeverSetIsAbsentAndReadsEmpty) {
    const auto m = constructAny(toXml(*everyKind()));
    ASSERT_NE(nullptr, m);
    const unsigned long tag = m->getTagID();
    EXPECT_FALSE(m->isSet(kNeverSet.number, tag, kNeverSet.hash));
    EXPECT_EQ(0, msgf::getInt(*m, kNeverSet));
    EXPECT_EQ("", msgf::getText(*m, kNeverSet));
    EXPECT_EQ(nullptr, msgf::findChild(*m, kNeverSet, OrvaneOperations::QTime::kTag));
    EXPECT_FALSE(m->isSet(kAbsentObject.number, tag, kAbsentObject.hash));
    // Looking at absent fields leaves them absent.
    EXPECT_FALSE(m->isSet(kNeverSet.number, tag, kNeverSet.hash));
    EXPECT_EQ(nullptr,
              m->getlistint(kNeverSet.number, kNeverSet.slot, tag, kNeverSet.hash, false));
    EXPECT_FALSE(m->isSet(kNeverSet.number, tag, kNeverSet.hash));
}

TEST(MessagePresence, EmptyListSetWholeIsPresentAbsentListIsNot) {
    const auto original = everyKind();
    const std::string xml = toXml(*original);
    const auto m = constructAny(xml);
    ASSERT_NE(nullptr, m);
    const unsigned long tag = m->getTagID();

    EXPECT_TRUE(m->isSet(kEmptyList.number, tag, kEmptyList.hash));
    auto* empty =
        m->getlistint(kEmptyList.number, kEmptyList.slot, tag, kEmptyList.hash, false);
    ASSERT_NE(nullptr, empty);
    EXPECT_TRUE(empty->empty());

    EXPECT_FALSE(original->isSet(kAbsentList.number, tag, kAbsentList.hash));
    EXPECT_FALSE(m->isSet(kAbsentList.number, tag, kAbsentList.hash));
    EXPECT_EQ(nullptr, m->getlistlonglong(kAbsentList.number, kAbsentList.slot, tag,
                                          kAbsentList.hash, false));

    // Empty texts are present too.
    EXPECT_TRUE(m->isSet(kTextEmpty.number, tag, kTextEmpty.hash));
}

TEST(MessagePresence, EachListKindSetWholeEmptyStaysPresent) {
    OrvaneOperations::QExecuteReqMsg m;
    const unsigned long tag = m.getTagID();
    const std::vector<CNMessageBase> objects;
    const std::vector<int> ints;
    const std::vector<std::string> texts;
    const std::vector<long long> longs;
    m.setlistobject(1, 1, &objects, tag, 0x1);
    m.setlistint(2, 2, &ints, tag, 0x2);
    m.setliststring(3, 3, &texts, tag, 0x3);
    m.setlistlonglong(4, 4, &longs, tag, 0x4);
    const auto back = constructAny(toXml(m));
    ASSERT_NE(nullptr, back);
    for (short n = 1; n <= 4; ++n) EXPECT_TRUE(back->isSet(n, tag, n)) << "list " << n;
    EXPECT_FALSE(back->isSet(5, tag, 0x5));
    expectSameMessage(m, *back, "empty lists");
}

TEST(MessageAccessors, StringByRefCreatesAPresentEmptyText) {
    OrvaneOperations::QSessionInfoMsg m;
    std::string& ref = m.getstringByRef(2, 2, m.getTagID(), 0x3A3E31);
    EXPECT_TRUE(m.isSet(2, m.getTagID(), 0x3A3E31));
    ref = "x";
    EXPECT_EQ("x", m.getstring(2, 2, m.getTagID(), 0x3A3E31));
}

TEST(MessageAccessors, WrongKindReadsAsAbsentAndLeavesTheFieldAlone) {
    OrvaneOperations::QExecuteReqMsg m;
    const unsigned long tag = m.getTagID();
    msgf::putText(m, kText, "text");
    EXPECT_EQ(0, msgf::getInt(m, kText));
    EXPECT_EQ(nullptr, msgf::findChild(m, kText, OrvaneOperations::QTime::kTag));
    EXPECT_EQ(nullptr, m.getlistint(kText.number, kText.slot, tag, kText.hash, false));
    EXPECT_EQ(nullptr, m.getObjectAccessor(false, true, kText.number, kText.slot, tag, kText.hash,
                                           OrvaneOperations::kModuleId,
                                           OrvaneOperations::QTime::kClass));
    EXPECT_EQ("text", msgf::getText(m, kText));

    msgf::putInt(m, kInt, 42);
    EXPECT_EQ("", msgf::getText(m, kInt));
    EXPECT_EQ("", msgf::getBytes(m, kInt));
    EXPECT_EQ(42, msgf::getInt(m, kInt));
}

TEST(MessageAccessors, NestedObjectOfAnotherTypeIsNotReadAsTheExpectedOne) {
    OrvaneOperations::QExecuteReqMsg m;
    CNMessageBase& error = msgf::child<OrvaneOperations::QReplyErrorMsg>(m, msgf::kReplyError);
    msgf::putInt(error, msgf::kErrorCode, 9);
    EXPECT_EQ(nullptr, msgf::findChild(m, msgf::kReplyError, OrvaneUtilities::QErrorMsg::kTag));
    const CNMessageBase* found =
        msgf::findChild(m, msgf::kReplyError, OrvaneOperations::QReplyErrorMsg::kTag);
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(9, msgf::getInt(*found, msgf::kErrorCode));
}

TEST(MessageAccessors, ObjectAccessorBuildsOnFirstUseAndKeepsTheObject) {
    OrvaneUtilities::QGenericResp m;
    CNMessageBase*& first = m.getObjectAccessor(true, true, 2, 2, m.getTagID(), 0xC4D208, 6, 210);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(0x06000002UL, first->getTagID());
    msgf::putInt(*first, msgf::kErrorCode, 5);
    CNMessageBase*& again = m.getObjectAccessor(true, true, 2, 2, m.getTagID(), 0xC4D208, 6, 210);
    EXPECT_EQ(first, again);
    EXPECT_EQ(5, msgf::getInt(*again, msgf::kErrorCode));
}

TEST(MessageAccessors, SetObjectAccessorStoresACopy) {
    OrvaneOperations::QExecuteReqMsg request;
    OrvaneOperations::QSessionInfoMsg session;
    msgf::putText(session, msgf::kSessionId, "a");
    request.setObjectAccessor(&session, 2, 2, request.getTagID(), 0x508296);
    msgf::putText(session, msgf::kSessionId, "changed later");
    const CNMessageBase* held =
        msgf::findChild(request, msgf::kRequestSession, OrvaneOperations::QSessionInfoMsg::kTag);
    ASSERT_NE(nullptr, held);
    EXPECT_EQ("a", msgf::getText(*held, msgf::kSessionId));
}

TEST(MessageAccessors, CopiesAreDeepAndIndependent) {
    const auto original = everyKind();
    CNMessageBase copy(*original);
    expectSameMessage(*original, copy, "copy");

    msgf::putText(msgf::child<OrvaneOperations::QSessionInfoMsg>(copy, kChild),
                  msgf::kSessionId, "changed");
    (*copy.getlistobject(kObjList.number, kObjList.slot, copy.getTagID(), kObjList.hash, true))[0] =
        OrvaneUtilities::QTime();
    copy.getbstringobjectByRef(kBytes.number, kBytes.slot, copy.getTagID(), kBytes.hash)->str() =
        "x";
    EXPECT_EQ("sid", msgf::getText(*msgf::findChild(*original, kChild,
                                                    OrvaneOperations::QSessionInfoMsg::kTag),
                                   msgf::kSessionId));
    EXPECT_EQ(0x05000004UL, (*msgf::findList(*original, kObjList))[0].getTagID());
    EXPECT_EQ(allBytes(), msgf::getBytes(*original, kBytes));

    CNMessageBase assigned(OrvaneUtilities::kModuleId, OrvaneUtilities::QTime::kClass);
    assigned = *original;
    expectSameMessage(*original, assigned, "assignment");
    assigned = assigned;  // self-assignment keeps everything
    expectSameMessage(*original, assigned, "self-assignment");
}

TEST(MessageTypes, ClassNumbersGiveTheTagCodesAndNames) {
    struct Row {
        int module, classNumber;
        unsigned long tag;
        const char* name;
    };
    const Row rows[] = {
        {4, 3, 0x04000001, "QRequestHeaderMsg"}, {4, 2, 0x04000003, "QSessionInfoMsg"},
        {4, 8, 0x04000002, "QReplyErrorMsg"},    {5, 40, 0x05000001, "QRequestHeaderMsg"},
        {5, 37, 0x05000003, "QSessionInfoMsg"},  {5, 79, 0x05000002, "QReplyErrorMsg"},
        {5, 47, 0x05000004, "QTime"},            {6, 99, 0x06000001, "QRequestHeaderMsg"},
        {6, 88, 0x06000003, "QSessionInfoMsg"},  {6, 210, 0x06000002, "QErrorMsg"},
        {6, 133, 0x06000004, "QTime"},           {6, 211, 0x0600012E, "QGenericResp"},
        {10, 49, 0x0A000001, "QRequestHeaderMsg"}, {10, 42, 0x0A000003, "QSessionInfoMsg"},
        {10, 113, 0x0A000002, "QReplyErrorMsg"}, {10, 68, 0x0A000004, "QTime"},
    };
    for (const Row& r : rows) {
        CNMessageBase m(r.module, r.classNumber);
        EXPECT_EQ(r.tag, m.getTagID()) << r.module << "/" << r.classNumber;
        EXPECT_STREQ(r.name, m.getTagName());
    }
    // A pair outside the tables is not mistaken for a known type.
    CNMessageBase unknown(6, 9999);
    EXPECT_EQ(nullptr, CNMessageBase::createByTag(unknown.getTagID()));
}

TEST(MessageXml, SecretFieldsAreWrittenUnderPasswordAttributes) {
    VSDKLogin::QLoginInfoMsg login;
    msgf::putText(login, VSDKLogin::kLoginPassword, "s3cret");
    msgf::putText(login, VSDKLogin::kLoginUser, "admin");
    CNMessageBase& session = msgf::child<VSDKLogin::QSessionInfoMsg>(login, msgf::kRequestSession);
    msgf::putBytes(session, VSDKLogin::kSessionGuid, std::string("tok\0en", 6));
    const std::string xml = toXml(login);
    EXPECT_NE(std::string::npos, xml.find(" password=\"s3cret\"")) << xml;
    EXPECT_NE(std::string::npos, xml.find(" x_password=\"")) << xml;
    EXPECT_NE(std::string::npos, xml.find(" v=\"admin\"")) << xml;

    const auto back = constructAny(xml);
    ASSERT_NE(nullptr, back);
    expectSameMessage(login, *back, "secret fields");
}

TEST(MessageXml, ConstructObjectChecksTheType) {
    OrvaneUtilities::QErrorMsg error;
    msgf::putInt(error, msgf::kErrorCode, 3);
    const std::string xml = toXml(error);
    EXPECT_NE(nullptr, construct(OrvaneUtilities::QErrorMsg::kTag, xml));
    EXPECT_EQ(nullptr, construct(OrvaneOperations::QReplyErrorMsg::kTag, xml));
    EXPECT_EQ(nullptr, construct(0x06FFFFFF, xml));  // a tag code no family knows

    OrvaneOperations::QReplyErrorMsg other;
    msgf::putInt(other, msgf::kErrorCode, 1);
    EXPECT_NE(0, other.unserialize(xml));
    EXPECT_FALSE(other.isSet(1, other.getTagID(), 0x9CB015));
}

TEST(MessageXml, InitializeSucceeds) { EXPECT_EQ(0, CNMessageBase::Initialize()); }

TEST(MessageXml, EncoderAndDecoderMatchSerialize) {
    const auto m = everyKind();
    std::string encoded;
    ASSERT_EQ(0, XMLEncoder().encode(*m, encoded));
    EXPECT_EQ(toXml(*m), encoded);
    CNMessageBase* decoded = nullptr;
    ASSERT_EQ(0, XMLDecoder().decode(encoded, decoded));
    std::unique_ptr<CNMessageBase> owned(decoded);
    expectSameMessage(*m, *owned, "decoder");
    CNMessageBase* bad = nullptr;
    EXPECT_NE(0, XMLDecoder().decode("<nope", bad));
    EXPECT_EQ(nullptr, bad);
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

struct BadDoc {
    const char* what;
    std::string xml;
};

std::vector<BadDoc> badDocuments() {
    const std::string good = toXml(*everyKind());
    return {
        {"empty", ""},
        {"not XML", "hello"},
        {"truncated", good.substr(0, good.size() / 2)},
        {"truncated by one", good.substr(0, good.size() - 1)},
        {"zero byte", std::string("<QExecuteReqMsg tag=\"500013f\">\0</QExecuteReqMsg>", 48)},
        {"unknown tag code", doc("", "5fffff0")},
        {"tag not hex", doc("", "xyz")},
        {"tag too long", doc("", "1500013f")},
        {"no tag", "<QExecuteReqMsg/>"},
        {"unknown nested tag", doc("<o n=\"1\" s=\"1\" h=\"1\" tag=\"7777777\"></o>")},
        {"unknown list element tag", doc("<lo n=\"1\" s=\"1\" h=\"1\"><o tag=\"7777777\"/></lo>")},
        {"unknown field element", doc("<q n=\"1\" s=\"1\" h=\"1\" v=\"1\"/>")},
        {"missing field number", doc("<i s=\"1\" h=\"1\" v=\"1\"/>")},
        {"field number zero", doc("<i n=\"0\" s=\"1\" h=\"1\" v=\"1\"/>")},
        {"hash too wide", doc("<i n=\"1\" s=\"1\" h=\"1000000\" v=\"1\"/>")},
        {"integer not a number", doc("<i n=\"1\" s=\"1\" h=\"1\" v=\"12x\"/>")},
        {"integer overflow", doc("<i n=\"1\" s=\"1\" h=\"1\" v=\"9223372036854775808\"/>")},
        {"integer without value", doc("<i n=\"1\" s=\"1\" h=\"1\"/>")},
        {"int list element beyond 32 bits",
         doc("<li n=\"1\" s=\"1\" h=\"1\"><e v=\"2147483648\"/></li>")},
        {"text without value", doc("<s n=\"1\" s=\"1\" h=\"1\"/>")},
        {"bad base64", doc("<b n=\"1\" s=\"1\" h=\"1\" x=\"abc\"/>")},
        {"bad base64 padding", doc("<b n=\"1\" s=\"1\" h=\"1\" x=\"a=bc\"/>")},
        {"character beyond one byte", doc("<s n=\"1\" s=\"1\" h=\"1\" v=\"&#x100;\"/>")},
        {"field number twice", doc("<i n=\"1\" s=\"1\" h=\"1\" v=\"1\"/><i n=\"1\" s=\"2\" h=\"1\" v=\"1\"/>")},
        {"slot twice", doc("<i n=\"1\" s=\"1\" h=\"1\" v=\"1\"/><i n=\"2\" s=\"1\" h=\"1\" v=\"1\"/>")},
        {"wrong list element", doc("<li n=\"1\" s=\"1\" h=\"1\"><o tag=\"5000004\"/></li>")},
        {"text in object list", doc("<lo n=\"1\" s=\"1\" h=\"1\"><e v=\"1\"/></lo>")},
        {"element inside a value", doc("<i n=\"1\" s=\"1\" h=\"1\" v=\"1\"><i n=\"2\" s=\"2\" h=\"1\" v=\"1\"/></i>")},
        {"stray text", doc("hello")},
        {"nested too deeply", nested(vsdkmsg::kMaxNesting + 1)},
        {"document type with entities",
         "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
         "\"&a;&a;&a;&a;&a;&a;&a;&a;\">]><QExecuteReqMsg tag=\"500013f\"><s n=\"1\" s=\"1\" "
         "h=\"1\" v=\"&b;\"/></QExecuteReqMsg>"},
        {"external entity",
         "<?xml version=\"1.0\"?><!DOCTYPE r SYSTEM \"file:///etc/passwd\"><QExecuteReqMsg "
         "tag=\"500013f\"/>"},
        {"two roots", doc("") + doc("")},
        {"mismatched end tag", "<QExecuteReqMsg tag=\"500013f\"></Other>"},
    };
}

TEST(MessageBadInput, MalformedDocumentsFail) {
    for (const BadDoc& bad : badDocuments()) {
        SCOPED_TRACE(bad.what);
        EXPECT_EQ(nullptr, constructAny(bad.xml));
        EXPECT_EQ(nullptr, construct(OrvaneOperations::QExecuteReqMsg::kTag, bad.xml));
        OrvaneOperations::QExecuteReqMsg into;
        EXPECT_NE(0, into.unserialize(bad.xml));
        EXPECT_TRUE(into.fields().empty()) << "a failed read leaves nothing half-read";
    }
    // The parser is still usable afterwards.
    EXPECT_NE(nullptr, constructAny(toXml(*everyKind())));
}

TEST(MessageBadInput, WellFormedTwinsSucceed) {
    // Each shape above, written correctly, is accepted.
    const std::vector<std::string> good = {
        doc(""),
        doc("<i n=\"1\" s=\"1\" h=\"1\" v=\"-9223372036854775808\"/>"),
        doc("<li n=\"1\" s=\"1\" h=\"1\"><e v=\"-2147483648\"/></li>"),
        doc("<b n=\"1\" s=\"1\" h=\"ffffff\" x=\"YWJj\"/>"),
        doc("<s n=\"1\" s=\"1\" h=\"1\" v=\"&#xff;&amp;\"/>"),
        doc("<lo n=\"1\" s=\"1\" h=\"1\"><o tag=\"5000004\"/></lo>"),
        doc("  \n<i n=\"1\" s=\"1\" h=\"1\" v=\"1\"></i>\n"),
        nested(vsdkmsg::kMaxNesting - 1),
    };
    for (const std::string& xml : good) {
        SCOPED_TRACE(xml);
        EXPECT_NE(nullptr, constructAny(xml));
    }
    const auto m = constructAny(doc("<s n=\"1\" s=\"1\" h=\"1\" v=\"&#xff;&amp;\"/>"));
    ASSERT_NE(nullptr, m);
    EXPECT_EQ("\xff&", m->getstring(1, 1, m->getTagID(), 1));
}

TEST(MessageBadInput, OversizedDocumentFailsWithoutParsing) {
    std::string xml = doc("");
    xml.append(vsdkmsg::kMaxDocumentBytes, ' ');
    EXPECT_EQ(nullptr, constructAny(xml));
    OrvaneOperations::QExecuteReqMsg into;
    EXPECT_NE(0, into.unserialize(xml));
}

TEST(MessageBadInput, NullTextFails) {
    CNMessageBase* out = nullptr;
    std::string error;
    EXPECT_NE(0, CNMessageBase::ConstructObject(0x0500013F, nullptr, out, false, error));
    EXPECT_EQ(nullptr, out);
    OrvaneOperations::QExecuteReqMsg into;
    EXPECT_NE(0, into.unserialize(static_cast<const char*>(nullptr)));
}

// ------------------------------------------------------------- bstring, CPvError

TEST(ByteString, InnerZeroByteKeepsLengthAndBytes) {
    const char five[] = {'a', 'b', '\0', 'd', 'e'};
    bstring b;
    EXPECT_EQ(&b, &b.assign(five, 5));
    EXPECT_EQ(5u, b.length());
    EXPECT_EQ(5u, b.size());
    EXPECT_EQ(0, std::memcmp(b.data(), five, 5));
    EXPECT_EQ('\0', b[2]);
    EXPECT_EQ('e', b[4]);

    bstring copy(b);
    EXPECT_EQ(std::string(five, 5), copy.str());
    bstring fromString(std::string(five, 5));
    EXPECT_EQ(5u, fromString.length());

    // And through a message and its XML form.
    VSDKLogin::QSessionInfoMsg m;
    m.setbstringobject(4, 7, b, m.getTagID(), 0x309689);
    const auto back = constructAny(toXml(m));
    ASSERT_NE(nullptr, back);
    bstring*& held = back->getbstringobjectByRef(4, 7, back->getTagID(), 0x309689);
    ASSERT_NE(nullptr, held);
    EXPECT_EQ(5u, held->length());
    EXPECT_EQ(std::string(five, 5), held->str());
}

TEST(ByteString, ByRefCreatesOnFirstUseAndWritingSetsTheField) {
    VSDKLogin::QSessionInfoMsg m;
    EXPECT_FALSE(m.isSet(4, m.getTagID(), 0x309689));
    bstring*& ref = m.getbstringobjectByRef(4, 7, m.getTagID(), 0x309689);
    ASSERT_NE(nullptr, ref);
    ref->assign(std::string("\0\1", 2));
    EXPECT_TRUE(m.isSet(4, m.getTagID(), 0x309689));
    EXPECT_EQ(std::string("\0\1", 2), msgf::getBytes(m, VSDKLogin::kSessionGuid));
}

TEST(ResultObject, OnlyNegativeCodesAreFailures) {
    struct Case {
        int code;
        bool failure;
    };
    for (const Case c : {Case{0, false}, Case{1, false}, Case{INT_MAX, false}, Case{-1, true},
                         Case{INT_MIN, true}}) {
        const CPvError e(c.code, "detail");
        EXPECT_EQ(c.failure, e.IsError()) << c.code;
        EXPECT_EQ(c.code, e.GetErrorCode());
    }
    const CPvError none;
    EXPECT_FALSE(none.IsError());
    EXPECT_EQ(0, none.GetErrorCode());
    EXPECT_FALSE(CPvError::Success().IsError());
    EXPECT_EQ(0, CPvError::Success().GetErrorCode());

    CPvError failed(kPvErrSend, "peer went away");
    CPvError copy(failed);
    EXPECT_TRUE(copy.IsError());
    EXPECT_EQ("peer went away", copy.AsString());
    copy = CPvError::Success();
    EXPECT_FALSE(copy.IsError());
}

TEST(ResultObject, PlatformStringWithoutTextIsEmpty) {
    EXPECT_STREQ("", CPvString().c_str());
    EXPECT_STREQ("", CPvString(static_cast<const char*>(nullptr)).c_str());
    EXPECT_STREQ("abc", CPvString("abc").c_str());
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

TEST(SessionInfo, OperationsFormWithoutTokenHasNoTokenFields) {
    OrvaneOperations::QSessionInfoMsg s;
    setSessionInfo(s, stateWith(false));
    const unsigned long tag = s.getTagID();
    EXPECT_FALSE(s.isSet(6, tag, 0x41F0C0));
    EXPECT_FALSE(s.isSet(7, tag, 0xD138BD));
    EXPECT_FALSE(s.isSet(1, tag, 0));
    EXPECT_TRUE(s.isSet(2, tag, 0x3A3E31)) << "an empty session id is sent, not omitted";
    EXPECT_EQ("", msgf::getText(s, msgf::kSessionId));
    EXPECT_EQ(1, msgf::getInt(s, msgf::kSessionOne));
    EXPECT_EQ("mardock.example", msgf::getText(s, msgf::kSessionMardock));
    EXPECT_EQ(std::string("guid\0tail", 9), msgf::getText(s, msgf::kSessionGuid));

    // The empty session id is in the XML form too.
    const auto back = constructAny(toXml(s));
    ASSERT_NE(nullptr, back);
    EXPECT_TRUE(back->isSet(2, tag, 0x3A3E31));
    EXPECT_FALSE(back->isSet(6, tag, 0x41F0C0));
}

TEST(SessionInfo, UtilitiesFormWithoutTokenCarriesZeroAndEmpty) {
    OrvaneUtilities::QSessionInfoMsg s;
    setSessionInfo(s, stateWith(false));
    const unsigned long tag = s.getTagID();
    ASSERT_TRUE(s.isSet(6, tag, 0x41F0C0));
    EXPECT_EQ(0, msgf::getInt(s, msgf::kSessionMultiDomainFlag));
    ASSERT_TRUE(s.isSet(7, tag, 0xD138BD));
    EXPECT_EQ("", msgf::getText(s, msgf::kSessionMultiDomainToken));
    EXPECT_TRUE(s.isSet(2, tag, 0x3A3E31));
    EXPECT_EQ(1, msgf::getInt(s, msgf::kSessionOne));
    EXPECT_EQ("mardock.example", msgf::getText(s, msgf::kSessionMardock));
    EXPECT_EQ(std::string("guid\0tail", 9), msgf::getText(s, msgf::kSessionGuid));
    for (const auto& kv : s.fields()) EXPECT_EQ(tag, kv.second.ownerTag);
}

TEST(SessionInfo, BothFormsWithTokenCarryTokenAndTheRest) {
    OrvaneOperations::QSessionInfoMsg ops;
    OrvaneUtilities::QSessionInfoMsg utils;
    setSessionInfo(ops, stateWith(true));
    setSessionInfo(utils, stateWith(true));
    for (const CNMessageBase* s : {static_cast<const CNMessageBase*>(&ops),
                                   static_cast<const CNMessageBase*>(&utils)}) {
        SCOPED_TRACE(s->getTagID());
        EXPECT_EQ(1, msgf::getInt(*s, msgf::kSessionMultiDomainFlag));
        EXPECT_EQ("saml-token", msgf::getText(*s, msgf::kSessionMultiDomainToken));
        EXPECT_TRUE(s->isSet(2, s->getTagID(), 0x3A3E31));
        EXPECT_EQ(1, msgf::getInt(*s, msgf::kSessionOne));
        EXPECT_EQ("mardock.example", msgf::getText(*s, msgf::kSessionMardock));
        EXPECT_EQ(std::string("guid\0tail", 9), msgf::getText(*s, msgf::kSessionGuid));
        EXPECT_EQ(6u, s->fields().size());
    }
}

TEST(SessionInfo, FillSessionAddsTheTokenOnlyWhenAllowed) {
    VSDKAPIGlobalData state = stateWith(true);
    OrvaneUtilities::QGenericResp never;  // any module-6 message can carry a session
    fillSession(state, never, MultiDomain::Never);
    const CNMessageBase* s =
        msgf::findChild(never, msgf::kRequestSession, OrvaneUtilities::QSessionInfoMsg::kTag);
    ASSERT_NE(nullptr, s);
    EXPECT_FALSE(s->isSet(6, s->getTagID(), 0x41F0C0));
    EXPECT_FALSE(s->isSet(7, s->getTagID(), 0xD138BD));

    OrvaneUtilities::QGenericResp when;
    fillSession(state, when, MultiDomain::WhenHeld);
    s = msgf::findChild(when, msgf::kRequestSession, OrvaneUtilities::QSessionInfoMsg::kTag);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ("saml-token", msgf::getText(*s, msgf::kSessionMultiDomainToken));
}

}  // namespace
