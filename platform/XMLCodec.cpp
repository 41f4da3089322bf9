#include "XMLCodec.h"

#include "CNMessageBase.h"
#include "MessageCatalog.h"

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

XERCES_CPP_NAMESPACE_USE

static_assert(sizeof(XMLCh) == sizeof(char16_t), "XMLCh is expected to be 16 bits wide");

using vsdkmsg::Field;
using vsdkmsg::FieldKind;

namespace {

// ---------------------------------------------------------------- base64

const char kB64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void base64Encode(const std::string& in, std::string& out) {
    std::size_t i = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    for (; i + 2 < in.size(); i += 3) {
        unsigned v = (p[i] << 16) | (p[i + 1] << 8) | p[i + 2];
        out += kB64[(v >> 18) & 63];
        out += kB64[(v >> 12) & 63];
        out += kB64[(v >> 6) & 63];
        out += kB64[v & 63];
    }
    if (i < in.size()) {
        unsigned v = p[i] << 16;
        if (i + 1 < in.size()) v |= p[i + 1] << 8;
        out += kB64[(v >> 18) & 63];
        out += kB64[(v >> 12) & 63];
        out += (i + 1 < in.size()) ? kB64[(v >> 6) & 63] : '=';
        out += '=';
    }
}

int b64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool base64Decode(const std::string& in, std::string& out) {
    if (in.size() % 4 != 0) return false;
    out.clear();
    out.reserve(in.size() / 4 * 3);
    for (std::size_t i = 0; i < in.size(); i += 4) {
        int v[4];
        int pad = 0;
        for (int k = 0; k < 4; ++k) {
            char c = in[i + k];
            if (c == '=') {
                // Padding only at the very end, in the last two places.
                if (i + 4 != in.size() || k < 2) return false;
                v[k] = 0;
                ++pad;
            } else {
                if (pad) return false;
                v[k] = b64Value(c);
                if (v[k] < 0) return false;
            }
        }
        unsigned x = (v[0] << 18) | (v[1] << 12) | (v[2] << 6) | v[3];
        out += static_cast<char>((x >> 16) & 0xFF);
        if (pad < 2) out += static_cast<char>((x >> 8) & 0xFF);
        if (pad < 1) out += static_cast<char>(x & 0xFF);
    }
    return true;
}

// ---------------------------------------------------------------- writer

bool isPlainText(const std::string& s) {
    for (unsigned char c : s) {
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    }
    return true;
}

void appendEscaped(std::string& out, const std::string& s) {
    for (char ch : s) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            // Escaped too, so that no value holds a quote of either kind: the
            // log masking would take one for the end of a password value.
            case '\'': out += "&apos;"; break;
            case '\t': out += "&#9;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            default: out += ch; break;
        }
    }
}

void appendHex(std::string& out, unsigned long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, 16);
    out.append(buf, static_cast<std::size_t>(r.ptr - buf));
}

void appendInt(std::string& out, long long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, static_cast<std::size_t>(r.ptr - buf));
}

// Lists carry their element count, so that a reader can size them once.
void appendCount(std::string& out, std::size_t count) {
    out += " c=\"";
    appendInt(out, static_cast<long long>(count));
    out += '"';
}

void appendTextValue(std::string& out, const std::string& value, bool secret, bool alwaysB64) {
    if (!alwaysB64 && isPlainText(value)) {
        out += secret ? " password=\"" : " v=\"";
        appendEscaped(out, value);
    } else {
        out += secret ? " x_password=\"" : " x=\"";
        base64Encode(value, out);
    }
    out += '"';
}

// '<element n="<number>" s="<slot>" h="<hash>"', with ' v="<value>"/>' after
// it when given, put together first and appended at once (a request has a
// hundred fields and more).
void openField(std::string& out, const char* element, const Field& f,
               const long long* value = nullptr) {
    char buf[128];
    char* p = buf;
    auto put = [&p](const char* text, std::size_t length) {
        std::memcpy(p, text, length);
        p += length;
    };
    auto number = [&p](auto value, int base) { p = std::to_chars(p, p + 24, value, base).ptr; };
    *p++ = '<';
    put(element, element[1] == '\0' ? 1 : 2);  // one or two letters
    put(" n=\"", 4);
    number(f.number, 10);
    put("\" s=\"", 5);
    number(f.slot, 10);
    put("\" h=\"", 5);
    number(f.hash, 16);
    *p++ = '"';
    if (value) {
        put(" v=\"", 4);
        number(*value, 10);
        put("\"/>", 3);
    }
    out.append(buf, static_cast<std::size_t>(p - buf));
}

void writeMessageBody(std::string& out, const CNMessageBase& m);

template <class Number>
void writeNumbers(std::string& out, const char* element, const Field& f,
                  const std::vector<Number>& values) {
    openField(out, element, f);
    appendCount(out, values.size());
    out += '>';
    for (Number v : values) {
        out += "<e v=\"";
        appendInt(out, v);
        out += "\"/>";
    }
    out += "</";
    out += element;
    out += '>';
}

void writeObject(std::string& out, const CNMessageBase& m) {
    out += "<o tag=\"";
    appendHex(out, m.getTagID());
    out += "\">";
    writeMessageBody(out, m);
    out += "</o>";
}

void writeMessageBody(std::string& out, const CNMessageBase& m) {
    for (const auto& kv : m.fields()) {
        const Field& f = kv.second;
        const bool secret = vsdkmsg::isSecretField(f.hash);
        switch (f.kind) {
            case FieldKind::Int64:
                openField(out, "i", f, &f.i);
                break;
            case FieldKind::Text:
                openField(out, "s", f);
                appendTextValue(out, f.s, secret, false);
                out += "/>";
                break;
            case FieldKind::Bytes:
                if (!f.b) break;
                openField(out, "b", f);
                appendTextValue(out, f.b->str(), secret, true);
                out += "/>";
                break;
            case FieldKind::Object:
                if (!f.obj) break;
                openField(out, "o", f);
                out += " tag=\"";
                appendHex(out, f.obj->getTagID());
                out += "\">";
                writeMessageBody(out, *f.obj);
                out += "</o>";
                break;
            case FieldKind::ObjectList:
                if (!f.objList) break;
                openField(out, "lo", f);
                appendCount(out, f.objList->size());
                out += '>';
                for (const CNMessageBase& e : *f.objList) writeObject(out, e);
                out += "</lo>";
                break;
            case FieldKind::IntList:
                if (f.intList) writeNumbers(out, "li", f, *f.intList);
                break;
            case FieldKind::Int64List:
                if (f.int64List) writeNumbers(out, "ll", f, *f.int64List);
                break;
            case FieldKind::TextList:
                if (!f.textList) break;
                openField(out, "ls", f);
                appendCount(out, f.textList->size());
                out += '>';
                for (const std::string& v : *f.textList) {
                    out += "<e";
                    appendTextValue(out, v, secret, false);
                    out += "/>";
                }
                out += "</ls>";
                break;
        }
    }
}

void writeDocument(std::string& out, const CNMessageBase& m) {
    out.clear();
    out += "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><";
    out += m.getTagName();
    out += " tag=\"";
    appendHex(out, m.getTagID());
    out += "\">";
    writeMessageBody(out, m);
    out += "</";
    out += m.getTagName();
    out += '>';
}

// ---------------------------------------------------------------- reader

std::once_flag g_xercesOnce;
bool g_xercesReady = false;

bool ensureXerces() {
    std::call_once(g_xercesOnce, [] {
        try {
            XMLPlatformUtils::Initialize();
            g_xercesReady = true;
        } catch (...) {
            g_xercesReady = false;
        }
    });
    return g_xercesReady;
}

struct DecodeFailure {
    const char* why;
};

[[noreturn]] void fail(const char* why) { throw DecodeFailure{why}; }

bool eq(const XMLCh* a, const char16_t* b) {
    if (!a) return false;
    const auto* x = reinterpret_cast<const char16_t*>(a);
    while (*x && *b && *x == *b) {
        ++x;
        ++b;
    }
    return *x == 0 && *b == 0;
}

// XML text to bytes: every character must fit in one byte (ISO-8859-1).
void toBytes(const XMLCh* in, std::string& out) {
    out.clear();
    if (!in) return;
    out.resize(XMLString::stringLen(in));
    for (char& c : out) {
        if (*in > 0xFF) fail("character outside ISO-8859-1");
        c = static_cast<char>(*in++);
    }
}

// A number of at most 24 characters, read straight from the XML text.
template <class T>
T parseNumber(const XMLCh* in, int base, const char* why) {
    char buf[25];
    std::size_t n = 0;
    for (const XMLCh* p = in; p && *p; ++p) {
        if (n == sizeof buf - 1 || *p > 0x7F) fail(why);
        buf[n++] = static_cast<char>(*p);
    }
    T v{};
    const auto r = std::from_chars(buf, buf + n, v, base);
    if (n == 0 || r.ec != std::errc() || r.ptr != buf + n) fail(why);
    return v;
}

long long toInt(const XMLCh* in, long long lo, long long hi) {
    const long long v = parseNumber<long long>(in, 10, "bad number");
    if (v < lo || v > hi) fail("bad number");
    return v;
}

unsigned long toHex(const XMLCh* in, unsigned long max) {
    std::size_t length = 0;
    for (const XMLCh* p = in; p && *p; ++p) ++length;
    if (length == 0 || length > 8) fail("bad hex number");
    const unsigned long v = parseNumber<unsigned long>(in, 16, "bad hex number");
    if (v > max) fail("hex number out of range");
    return v;
}

// The attributes the reader knows, taken in one pass over an element's list.
struct Attrs {
    const XMLCh* n = nullptr;
    const XMLCh* s = nullptr;
    const XMLCh* h = nullptr;
    const XMLCh* c = nullptr;
    const XMLCh* tag = nullptr;
    const XMLCh* v = nullptr;         // v or password
    const XMLCh* x = nullptr;         // x or x_password
    const XMLCh* plainV = nullptr;    // v only (numbers)

    explicit Attrs(const Attributes& a) {
        const XMLSize_t count = a.getLength();
        for (XMLSize_t k = 0; k < count; ++k) {
            const XMLCh* name = a.getQName(k);
            const XMLCh* value = a.getValue(k);
            if (eq(name, u"n")) {
                n = value;
            } else if (eq(name, u"s")) {
                s = value;
            } else if (eq(name, u"h")) {
                h = value;
            } else if (eq(name, u"c")) {
                c = value;
            } else if (eq(name, u"tag")) {
                tag = value;
            } else if (eq(name, u"v")) {
                v = plainV = value;
            } else if (eq(name, u"password")) {
                if (!plainV) v = value;
            } else if (eq(name, u"x")) {
                x = value;
            } else if (eq(name, u"x_password")) {
                if (!x) x = value;
            }
        }
    }
};

const XMLCh* required(const XMLCh* value) {
    if (!value) fail("missing attribute");
    return value;
}

// Reads v / x / password / x_password into text. Returns false when none is present.
bool readTextValue(const Attrs& a, std::string& out) {
    if (a.v) {
        toBytes(a.v, out);
        return true;
    }
    if (!a.x) return false;
    std::string enc;
    toBytes(a.x, enc);
    if (!base64Decode(enc, out)) fail("bad base64");
    return true;
}

class Builder : public DefaultHandler {
public:
    void reset(CNMessageBase* into, unsigned long expectTag, std::size_t length) {
        m_countBudget = length;
        m_into = into;
        m_expectTag = expectTag;
        m_root = nullptr;
        m_stack.clear();
    }

    CNMessageBase* root() const { return m_root; }

    void startElement(const XMLCh* const, const XMLCh* const localname, const XMLCh* const qname,
                      const Attributes& attributes) override {
        const XMLCh* name = (localname && *localname) ? localname : qname;
        if (static_cast<int>(m_stack.size()) >= vsdkmsg::kMaxNesting) fail("nested too deeply");
        const Attrs attrs(attributes);
        if (m_stack.empty()) {
            startRoot(attrs);
            return;
        }
        Frame& top = m_stack.back();
        switch (top.kind) {
            case Frame::Message:
                startField(top, name, attrs);
                return;
            case Frame::List:
                startElementOfList(top, name, attrs);
                return;
            case Frame::Leaf:
                fail("element inside a value");
        }
    }

    void endElement(const XMLCh* const, const XMLCh* const, const XMLCh* const) override {
        if (m_stack.empty()) return;
        const Frame& top = m_stack.back();
        if (top.kind == Frame::Message) checkSlots(*top.msg);
        if (top.kind == Frame::List && top.expected >= 0 && listSize(*top.field) != top.expected) {
            fail("list count does not match its elements");
        }
        m_stack.pop_back();
    }

    void characters(const XMLCh* const chars, const XMLSize_t length) override {
        for (XMLSize_t k = 0; k < length; ++k) {
            XMLCh c = chars[k];
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r') fail("stray text");
        }
    }

    void startDTD(const XMLCh* const, const XMLCh* const, const XMLCh* const) override {
        fail("document type declarations are not accepted");
    }
    void startEntity(const XMLCh* const) override { fail("entities are not accepted"); }

    void fatalError(const SAXParseException&) override { fail("not well-formed"); }
    void error(const SAXParseException&) override { fail("not well-formed"); }

private:
    struct Frame {
        enum Kind { Message, List, Leaf } kind;
        CNMessageBase* msg;
        Field* field;
        long long expected;  // a List's announced element count, -1 when none
    };

    // No two fields of one message share a slot (fields are read by slot).
    void checkSlots(const CNMessageBase& msg) {
        m_slots.clear();
        for (const auto& kv : msg.fields()) m_slots.push_back(kv.second.slot);
        std::sort(m_slots.begin(), m_slots.end());
        if (std::adjacent_find(m_slots.begin(), m_slots.end()) != m_slots.end()) {
            fail("slot given twice");
        }
    }

    static long long listSize(const Field& f) {
        switch (f.kind) {
            case FieldKind::ObjectList: return static_cast<long long>(f.objList->size());
            case FieldKind::IntList: return static_cast<long long>(f.intList->size());
            case FieldKind::Int64List: return static_cast<long long>(f.int64List->size());
            case FieldKind::TextList: return static_cast<long long>(f.textList->size());
            default: return 0;
        }
    }

    // A list's announced count, -1 without one. It sizes the list once, so a
    // long list is never copied to grow. Every element of every list takes
    // its own bytes of the document, so the counts of all lists together are
    // bounded by it: nested lists cannot each reserve for the whole document.
    long long announcedCount(const Attrs& attrs, std::size_t smallestElement) {
        if (!attrs.c) return -1;
        const long long count = toInt(attrs.c, 0, LLONG_MAX);
        if (static_cast<unsigned long long>(count) > m_countBudget / smallestElement) {
            fail("list count larger than the document");
        }
        m_countBudget -= static_cast<std::size_t>(count) * smallestElement;
        return count;
    }

    void push(Frame::Kind kind, CNMessageBase* msg, Field* field, long long expected = -1) {
        m_stack.push_back(Frame{kind, msg, field, expected});
    }

    void startRoot(const Attrs& attrs) {
        unsigned long tag = toHex(required(attrs.tag), 0xFFFFFFFFUL);
        if (!vsdkmsg::findByTag(tag)) fail("unknown tag code");
        if (m_expectTag != 0 && tag != m_expectTag) fail("document of another type");
        if (m_into) {
            if (m_into->getTagID() != tag) fail("document of another type");
            m_into->mutableFields().clear();
            m_root = m_into;
        } else {
            m_root = CNMessageBase::createByTag(tag);
            m_owned.reset(m_root);
        }
        push(Frame::Message, m_root, nullptr);
    }

    void startField(Frame& frame, const XMLCh* name, const Attrs& attrs) {
        CNMessageBase& msg = *frame.msg;
        short number = static_cast<short>(toInt(required(attrs.n), 0, 32767));
        short slot = static_cast<short>(toInt(required(attrs.s), 0, 32767));
        auto hash = static_cast<unsigned int>(toHex(required(attrs.h), 0xFFFFFFUL));
        auto& fields = msg.mutableFields();
        if (fields.count(number)) fail("field given twice");
        Field& f = fields[number];
        f.number = number;
        f.slot = slot;
        f.hash = hash;
        f.ownerTag = msg.getTagID();
        if (eq(name, u"i")) {
            f.kind = FieldKind::Int64;
            f.i = toInt(required(attrs.plainV), LLONG_MIN, LLONG_MAX);
            pushLeaf();
        } else if (eq(name, u"s")) {
            f.kind = FieldKind::Text;
            if (!readTextValue(attrs, f.s)) fail("text without value");
            pushLeaf();
        } else if (eq(name, u"b")) {
            f.kind = FieldKind::Bytes;
            f.b = new bstring();
            if (!readTextValue(attrs, f.b->str())) fail("bytes without value");
            pushLeaf();
        } else if (eq(name, u"o")) {
            f.kind = FieldKind::Object;
            unsigned long tag = toHex(required(attrs.tag), 0xFFFFFFFFUL);
            f.obj = CNMessageBase::createByTag(tag);
            if (!f.obj) fail("unknown tag code");
            push(Frame::Message, f.obj, nullptr);
        } else if (eq(name, u"lo")) {
            f.kind = FieldKind::ObjectList;
            f.objList = new std::vector<CNMessageBase>();
            const long long count = announcedCount(attrs, kSmallestObject);
            if (count > 0) f.objList->reserve(static_cast<std::size_t>(count));
            push(Frame::List, nullptr, &f, count);
        } else if (eq(name, u"li")) {
            f.kind = FieldKind::IntList;
            f.intList = new std::vector<int>();
            const long long count = announcedCount(attrs, kSmallestElement);
            if (count > 0) f.intList->reserve(static_cast<std::size_t>(count));
            push(Frame::List, nullptr, &f, count);
        } else if (eq(name, u"ll")) {
            f.kind = FieldKind::Int64List;
            f.int64List = new std::vector<long long>();
            const long long count = announcedCount(attrs, kSmallestElement);
            if (count > 0) f.int64List->reserve(static_cast<std::size_t>(count));
            push(Frame::List, nullptr, &f, count);
        } else if (eq(name, u"ls")) {
            f.kind = FieldKind::TextList;
            f.textList = new std::vector<std::string>();
            const long long count = announcedCount(attrs, kSmallestElement);
            if (count > 0) f.textList->reserve(static_cast<std::size_t>(count));
            push(Frame::List, nullptr, &f, count);
        } else {
            fail("unknown field element");
        }
    }

    void startElementOfList(Frame& top, const XMLCh* name, const Attrs& attrs) {
        Field& f = *top.field;
        if (f.kind == FieldKind::ObjectList) {
            if (!eq(name, u"o")) fail("list element of the wrong kind");
            unsigned long tag = toHex(required(attrs.tag), 0xFFFFFFFFUL);
            const vsdkmsg::MessageType* t = vsdkmsg::findByTag(tag);
            if (!t) fail("unknown tag code");
            f.objList->emplace_back(t->module, t->classNumber);
            // The element stays in place until the next one is appended, which
            // can only happen after this frame is closed.
            push(Frame::Message, &f.objList->back(), nullptr);
            return;
        }
        if (!eq(name, u"e")) fail("list element of the wrong kind");
        switch (f.kind) {
            case FieldKind::IntList:
                f.intList->push_back(
                    static_cast<int>(toInt(required(attrs.plainV), INT32_MIN, INT32_MAX)));
                break;
            case FieldKind::Int64List:
                f.int64List->push_back(toInt(required(attrs.plainV), LLONG_MIN, LLONG_MAX));
                break;
            case FieldKind::TextList: {
                std::string v;
                if (!readTextValue(attrs, v)) fail("text without value");
                f.textList->push_back(std::move(v));
                break;
            }
            default:
                fail("list element of the wrong kind");
        }
        pushLeaf();
    }

    void pushLeaf() { push(Frame::Leaf, nullptr, nullptr); }

public:
    std::unique_ptr<CNMessageBase> m_owned;

private:
    // The shortest list elements a document can hold: '<o tag="1"/>' and
    // '<e v=""/>' (an empty text).
    static constexpr std::size_t kSmallestObject = 12;
    static constexpr std::size_t kSmallestElement = 9;

    std::size_t m_countBudget = 0;  // document bytes not yet claimed by announced counts
    std::vector<short> m_slots;
    CNMessageBase* m_into = nullptr;
    unsigned long m_expectTag = 0;
    CNMessageBase* m_root = nullptr;
    std::vector<Frame> m_stack;
};

struct Parser {
    std::unique_ptr<SAX2XMLReader> reader;
    Builder builder;

    Parser() {
        reader.reset(XMLReaderFactory::createXMLReader());
        reader->setFeature(XMLUni::fgSAX2CoreNameSpaces, false);
        reader->setFeature(XMLUni::fgSAX2CoreValidation, false);
        reader->setFeature(XMLUni::fgXercesLoadExternalDTD, false);
        // No document type declarations: no entities to expand, nothing external.
        reader->setLexicalHandler(&builder);
        reader->setContentHandler(&builder);
        reader->setErrorHandler(&builder);
    }
};

// Largest document after which a thread's reader is kept for the next one.
constexpr std::size_t kKeptParserDocumentBytes = 1024u * 1024u;
const XMLCh kBufferId[] = {u'm', u'e', u's', u's', u'a', u'g', u'e', 0};

// Parses one document. With into set, fills it (type must match); otherwise
// builds a new message (of expectTag when not 0). Returns 0 on success.
int parseDocument(const char* xml, std::size_t length, CNMessageBase* into,
                  unsigned long expectTag, CNMessageBase*& built, std::string* errorText) {
    built = nullptr;
    auto setError = [&](const char* why) {
        if (errorText) *errorText = why;
        return -1;
    };
    if (!xml || length == 0) return setError("empty document");
    if (length > vsdkmsg::kMaxDocumentBytes) return setError("document too large");
    if (std::memchr(xml, 0, length)) return setError("zero byte in document");
    if (!ensureXerces()) return setError("XML library not initialised");

    static thread_local std::unique_ptr<Parser> parser;
    // The reader keeps buffers as large as the largest document it has read:
    // after a large one it is let go, so that a thread keeps little.
    struct DropAfterLarge {
        std::unique_ptr<Parser>& parser;
        bool large;
        ~DropAfterLarge() {
            if (large) parser.reset();
        }
    } dropAfterLarge{parser, length > kKeptParserDocumentBytes};
    try {
        if (!parser) parser.reset(new Parser());
        parser->builder.reset(into, expectTag, length);
        parser->builder.m_owned.reset();
        // The buffer's id as a wide text: no transcoding (under a process-wide lock) per parse.
        MemBufInputSource source(reinterpret_cast<const XMLByte*>(xml), length, kBufferId);
        parser->reader->parse(source);
        if (!parser->builder.root()) return setError("no root element");
        if (!into) built = parser->builder.m_owned.release();
        return 0;
    } catch (const DecodeFailure& f) {
        parser->builder.m_owned.reset();
        if (into) into->mutableFields().clear();
        return setError(f.why);
    } catch (...) {
        // Xerces could be left in any state; start with a fresh reader next time.
        if (parser) parser->builder.m_owned.reset();
        parser.reset();
        if (into) into->mutableFields().clear();
        return setError("not well-formed");
    }
}

}  // namespace

int CNMessageBase::serialize(std::string& out, bool) const {
    writeDocument(out, *this);
    return 0;
}

int CNMessageBase::unserialize(const std::string& xml) {
    CNMessageBase* built = nullptr;
    return parseDocument(xml.data(), xml.size(), this, 0, built, nullptr) == 0 ? 0 : 1;
}

int CNMessageBase::unserialize(const char* xml) {
    if (!xml) return 1;
    return unserialize(std::string(xml));
}

int CNMessageBase::Initialize() { return ensureXerces() ? 0 : 1; }

int CNMessageBase::ConstructObject(unsigned long tagCode, const char* xml, CNMessageBase*& out,
                                   bool, std::string& errorText) {
    out = nullptr;
    if (!xml) {
        errorText = "empty document";
        return 1;
    }
    if (!vsdkmsg::findByTag(tagCode)) {
        errorText = "unknown tag code";
        return 1;
    }
    return parseDocument(xml, std::strlen(xml), nullptr, tagCode, out, &errorText) == 0 ? 0 : 1;
}

int CNMessageBase::ConstructAny(const char* xml, std::size_t length, CNMessageBase*& out,
                                std::string& errorText) {
    return parseDocument(xml, length, nullptr, 0, out, &errorText) == 0 ? 0 : 1;
}

XMLEncoder::XMLEncoder(const XMLEncoderOptions& options, const void*) : m_options(options) {}

int XMLEncoder::encode(const CNMessageBase& message, std::string& out) const {
    writeDocument(out, message);
    return 0;
}

XMLDecoder::XMLDecoder(const void*) {}

int XMLDecoder::decode(const std::string& xml, CNMessageBase*& out, std::string* errorText) const {
    std::string ignored;
    return CNMessageBase::ConstructAny(xml.data(), xml.size(), out,
                                       errorText ? *errorText : ignored);
}
