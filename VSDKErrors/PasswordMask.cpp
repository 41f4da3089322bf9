#include "PasswordMask.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::string_view kMask = "****";
constexpr std::string_view kWord = "password";
constexpr std::size_t kNone = std::string_view::npos;

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Bytes of UTF-8 sequences count as name characters. A table: names are
// read at every tag and quote.
bool isNameChar(char c) {
    static const auto kTable = [] {
        std::array<bool, 256> table{};
        for (int b = 0; b < 256; ++b) {
            table[b] = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '_' ||
                       b == '-' || b == '.' || b == ':' || b >= 0x80;
        }
        return table;
    }();
    return kTable[static_cast<unsigned char>(c)];
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Whether text holds word (lower-case) at at, in any letter case.
bool hasWordAt(std::string_view text, std::size_t at, std::string_view word) {
    if (at > text.size() || text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (asciiLower(text[at + i]) != word[i]) return false;
    }
    return true;
}

// Whether text holds word (lower-case) anywhere, in any letter case.
bool containsWord(std::string_view text, std::string_view word) {
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
        if (hasWordAt(text, at, word)) return true;
    }
    return false;
}

// The bytes the pass stops at: quotes, '&' and the tag brackets.
bool isMarkup(char c) {
    static const auto kTable = [] {
        std::array<bool, 256> table{};
        for (unsigned char m : {'"', '\'', '&', '<', '>'}) table[m] = true;
        return table;
    }();
    return kTable[static_cast<unsigned char>(c)];
}

// ---- references --------------------------------------------------------------

// The value of a numeric reference's "#...;" at at (leading zeros allowed;
// at most 0x10FFFF counts); end receives the index past its ';'. False when
// there is none.
bool numericAt(std::string_view text, std::size_t at, unsigned long& value, std::size_t& end) {
    if (at >= text.size() || text[at] != '#') return false;
    std::size_t k = at + 1;
    const bool hex = k < text.size() && asciiLower(text[k]) == 'x';
    if (hex) ++k;
    const std::size_t digitsStart = k;
    value = 0;
    for (; k < text.size(); ++k) {
        const char c = asciiLower(text[k]);
        unsigned long digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned long>(c - '0');
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned long>(c - 'a' + 10);
        } else {
            break;
        }
        value = std::min(value * (hex ? 16 : 10) + digit, 0x110000UL);
    }
    if (k == digitsStart || k >= text.size() || text[k] != ';') return false;
    end = k + 1;
    return true;
}

// The same read backwards: the '#' of a numeric reference whose ';' is just
// before end, and its value; npos when there is none.
std::size_t numericBefore(std::string_view text, std::size_t end, unsigned long& value) {
    if (end == 0 || text[end - 1] != ';') return kNone;
    std::size_t k = end - 1;
    while (k > 0 && std::isxdigit(static_cast<unsigned char>(text[k - 1]))) --k;
    if (k > 0 && asciiLower(text[k - 1]) == 'x') --k;
    if (k == 0 || text[k - 1] != '#') return kNone;
    std::size_t after = 0;
    if (!numericAt(text, k - 1, value, after) || after != end) return kNone;
    return k - 1;
}

// The length of one more escaping of '&' at at ("amp;", "#38;", "#x26;"), 0
// for none.
std::size_t ampersandEscapeAt(std::string_view text, std::size_t at) {
    if (hasWordAt(text, at, "amp;")) return 4;
    unsigned long value = 0;
    std::size_t end = 0;
    return numericAt(text, at, value, end) && value == '&' ? end - at : 0;
}

// A quote or tag bracket as a document writes it: the character itself
// (escaped 0 times), or a reference to it ("&quot;", "&apos;", "&lt;",
// "&gt;", or a numeric one: once), each further level of escaping writing
// the '&' again as a reference ("&amp;quot;", "&#38;quot;": twice).
// Reference names are read in any letter case.
struct Markup {
    std::size_t length = 0;   // 0: none here
    std::size_t escapes = 0;  // times escaped
    char c = 0;               // '"', '\'', '<' or '>'
};

Markup markupAt(std::string_view text, std::size_t at) {
    const char c = text[at];
    if (c != '&') return {1, 0, c};
    std::size_t k = at + 1, escapes = 1;
    while (const std::size_t length = ampersandEscapeAt(text, k)) {
        k += length;
        ++escapes;
    }
    static const struct {
        std::string_view name;
        char c;
    } kNames[] = {{"quot;", '"'}, {"apos;", '\''}, {"lt;", '<'}, {"gt;", '>'}};
    for (const auto& n : kNames) {
        if (hasWordAt(text, k, n.name)) return {k + n.name.size() - at, escapes, n.c};
    }
    unsigned long value = 0;
    std::size_t end = 0;
    if (numericAt(text, k, value, end) && (value == '"' || value == '\'' || value == '<' || value == '>')) {
        return {end - at, escapes, static_cast<char>(value)};
    }
    return {};
}

// Where a blank written as a numeric reference ("&#10;", "&#x20;", escaped
// again as "&amp;#10;" ...) that ends just before end starts; npos when none
// does.
std::size_t blankReferenceBefore(std::string_view text, std::size_t end) {
    unsigned long value = 0;
    std::size_t k = numericBefore(text, end, value);
    if (k == kNone || !(value == 0x9 || value == 0xA || value == 0xD || value == 0x20)) return kNone;
    for (;;) {  // the escapings of its '&', then the '&'
        unsigned long ampersand = 0;
        if (k >= 4 && hasWordAt(text, k - 4, "amp;")) {
            k -= 4;
        } else if (const std::size_t start = numericBefore(text, k, ampersand);
                   start != kNone && ampersand == '&') {
            k = start;
        } else {
            break;
        }
    }
    return (k > 0 && text[k - 1] == '&') ? k - 1 : kNone;
}

// Moves k back over blanks, written as themselves or as references.
void skipBlanksBefore(std::string_view text, std::size_t& k) {
    for (;;) {
        if (k > 0 && isBlank(text[k - 1])) {
            --k;
        } else if (const std::size_t start = blankReferenceBefore(text, k); start != kNone) {
            k = start;
        } else {
            return;
        }
    }
}

// The attribute name of a quote at at: "name=" before it, blanks allowed
// around '='; empty when there is none. It looks back only over the bytes
// since the previous markup, so each byte is looked at a bounded number of
// times.
std::string_view attributeNameBefore(std::string_view text, std::size_t at) {
    // Most quotes end a value: no '=', blank or reference just before them.
    if (at == 0 || !(text[at - 1] == '=' || text[at - 1] == ';' || isBlank(text[at - 1]))) return std::string_view();
    std::size_t k = at;
    skipBlanksBefore(text, k);
    if (k == 0 || text[k - 1] != '=') return std::string_view();
    --k;
    skipBlanksBefore(text, k);
    const std::size_t nameEnd = k;
    while (k > 0 && isNameChar(text[k - 1])) --k;
    return text.substr(k, nameEnd - k);
}

// ---- base64 ----------------------------------------------------------------------

// The message writer writes a text that holds a control byte as x="<base64>";
// what it carries is read as a document of its own.
constexpr std::string_view kBase64Name = "x";
constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool isBase64Digit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/' ||
           c == '=';
}

// -1 for a byte that is no digit (the padding '=' among them).
int base64Digit(char c) {
    const void* found = c == '\0' ? nullptr : std::memchr(kBase64Digits, c, sizeof kBase64Digits - 1);
    return found ? static_cast<int>(static_cast<const char*>(found) - kBase64Digits) : -1;
}

// The bytes of a base64 text ('=' only in the last two places); false when
// it is none.
bool decodeBase64(std::string_view text, std::string& out) {
    if (text.size() % 4 != 0) return false;
    out.clear();
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        unsigned long bits = 0;
        int padding = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = text[i + k];
            const int digit = base64Digit(c);
            if (c == '=' && i + 4 == text.size() && k >= 2) {
                ++padding;
            } else if (digit < 0 || padding > 0) {
                return false;
            }
            bits = (bits << 6) | static_cast<unsigned long>(digit < 0 ? 0 : digit);
        }
        for (int shift = 16; shift >= 8 * padding; shift -= 8) out += static_cast<char>((bits >> shift) & 0xFF);
    }
    return true;
}

std::string encodeBase64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned long bits = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            bits = (bits << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0U);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= n ? kBase64Digits[(bits >> (18 - 6 * k)) & 63] : '=';
        }
    }
    return out;
}

// ---- the documents ----------------------------------------------------------------

// Where a document is: in text, in a tag (where attribute values open), or
// in a comment, CDATA section, processing instruction or declaration.
enum class Context : unsigned char { kText, kTag, kComment, kCData, kInstruction, kDeclaration };

// Whether a '<' followed by the byte at at starts a tag, end tag, comment,
// CDATA section, instruction or declaration: "a < b" in a message is text.
bool opensMarkup(std::string_view text, std::size_t at) {
    if (at >= text.size()) return true;  // cut short: taken as a tag
    const char c = text[at];
    return c == '/' || c == '!' || c == '?' || (isNameChar(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.');
}

// The context that a '<' starts, from the bytes after it (never escaped).
Context contextAfterOpen(std::string_view text, std::size_t at) {
    if (text.substr(at, 3) == "!--") return Context::kComment;
    if (text.substr(at, 8) == "![CDATA[") return Context::kCData;
    if (at < text.size() && text[at] == '?') return Context::kInstruction;
    if (at < text.size() && text[at] == '!') return Context::kDeclaration;
    return Context::kTag;
}

// Whether a '>' at at ends context (a comment ends at "-->", ...).
bool endsContext(Context context, std::string_view text, std::size_t at) {
    switch (context) {
        case Context::kTag:
        case Context::kDeclaration: return true;
        case Context::kComment: return at >= 2 && text.substr(at - 2, 2) == "--";
        case Context::kCData: return at >= 2 && text.substr(at - 2, 2) == "]]";
        case Context::kInstruction: return at >= 1 && text[at - 1] == '?';
        case Context::kText: break;
    }
    return false;
}

// The element name that starts at at (at most the text's end).
std::string_view nameAt(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && isNameChar(text[end])) ++end;
    return text.substr(at, end - at);
}

// The name at at when it holds the word, else an empty one.
std::string_view passwordNameAt(std::string_view text, std::size_t at) {
    const std::string_view name = nameAt(text, at);
    return containsWord(name, kWord) ? name : std::string_view();
}

char byteAt(std::string_view text, std::size_t at) { return at < text.size() ? text[at] : '\0'; }

// A set of quote keys (times escaped and kind), or a map of them to an
// index: keys of quotes escaped fewer than 16 times are kept without
// allocation, the others in a hash table, so a look-up takes constant time
// whatever the nesting and the pass stays linear.
class KeyIndex {
public:
    KeyIndex() { std::fill(std::begin(m_shallow), std::end(m_shallow), kNone); }

    bool empty() const { return m_count == 0; }
    // npos when key is not in it.
    std::size_t find(std::size_t key) const {
        if (m_count == 0) return kNone;
        if (key < kShallow) return m_shallow[key];
        const auto found = m_deep.find(key);
        return found == m_deep.end() ? kNone : found->second;
    }
    void set(std::size_t key, std::size_t index) {
        if (find(key) == kNone) ++m_count;
        if (key < kShallow) {
            m_shallow[key] = index;
        } else {
            m_deep[key] = index;
        }
    }
    // Whether key was in it.
    bool erase(std::size_t key) {
        if (find(key) == kNone) return false;
        --m_count;
        if (key < kShallow) {
            m_shallow[key] = kNone;
        } else {
            m_deep.erase(key);
        }
        return true;
    }
    // In time proportional to the keys in it (a hash table's clear() would
    // take time for each of its buckets, which it keeps).
    void clear() {
        if (m_count == 0) return;
        std::fill(std::begin(m_shallow), std::end(m_shallow), kNone);
        for (auto at = m_deep.begin(); at != m_deep.end();) at = m_deep.erase(at);
        m_count = 0;
    }

private:
    static constexpr std::size_t kShallow = 32;
    std::size_t m_shallow[kShallow];  // npos: not in it
    std::unordered_map<std::size_t, std::size_t> m_deep;
    std::size_t m_count = 0;
};

// The attribute values open at a point of the text, outermost first, each
// named by its quote's key (a key is open at most once), and for the outer
// document and the one inside each open value: its context, and whether the
// tag it is in names a password element.
class OpenValues {
public:
    OpenValues() : m_levels(1) {}

    std::size_t size() const { return m_keys.size(); }
    Context context() const { return m_levels.back().context; }
    void setContext(Context c) { m_levels.back().context = c; }
    // The name of the tag being read when it names a password element.
    std::string_view passwordTag() const { return m_levels.back().passwordTag; }
    void setPasswordTag(std::string_view name) { m_levels.back().passwordTag = name; }

    // The index of key's value; npos when it is not open.
    std::size_t find(std::size_t key) const { return m_index.find(key); }
    void push(std::size_t key) {
        m_index.set(key, m_keys.size());
        m_keys.push_back(key);
        m_levels.emplace_back();
    }
    // Closes the value at index and those opened inside it.
    void closeFrom(std::size_t index) {
        while (m_keys.size() > index) {
            m_index.erase(m_keys.back());
            m_keys.pop_back();
            m_levels.pop_back();
        }
    }

private:
    struct Level {
        Context context = Context::kText;
        std::string_view passwordTag;
    };
    std::vector<std::size_t> m_keys;
    std::vector<Level> m_levels;  // one more than m_keys: the outer document first
    KeyIndex m_index;
};

std::size_t keyOf(const Markup& m) { return m.escapes * 2 + (m.c == '\'' ? 1 : 0); }

// An element whose name holds the word, its text masked up to its end tag
// (the first of its name that closes it): one of the document at the mask's
// level (real), or one of a document carried in a text, comment or the like
// there, its '<' escaped escapes times. depth counts the elements of its name
// open, itself included, and innerTag tells that a start tag of its name waits
// for its '>'. In a carried document, inner tells whether its text is in a
// comment, CDATA section or the like.
struct Element {
    bool open = false;
    bool real = false;
    std::size_t escapes = 0;
    std::string_view name;
    std::size_t depth = 0;
    bool innerTag = false;
    Context inner = Context::kText;
};

// The part of the text being masked. A password attribute's value is masked
// until the value at index closes. In a text, comment or the like at level
// index, the mask lasts while a reason for it is pending: a quote that
// followed "password=" (until the same quote comes again not after
// "password=", or the context there changes), or an element whose name holds
// the word (until its end tag); and until the value holding it closes.
struct Mask {
    enum class Kind { kNone, kValue, kText } kind = Kind::kNone;
    std::size_t index = 0;
    KeyIndex quotes;  // kText: the pending quotes' keys
    Element element;  // kText
};

// One pass that reads the text as a reader of each nested document would.
// The document inside the n-th open value writes its '<' escaped n times and
// its '>' at most n times; they tell its context. A quote of the kind and
// escaping of an open value closes it, and with it the values opened inside
// it. In a tag, another quote opens a value (masked when its name is a
// password's; read as base64 when it is the writer's "x"). Elsewhere a quote
// is text; after "password=" the text up to the same quote is masked all
// the same, and so is the text of a password element.
class Masker {
public:
    explicit Masker(std::string_view xml) : m_xml(xml) { m_result.reserve(xml.size()); }

    std::string run() {
        const std::string_view xml = m_xml;
        for (std::size_t at = 0; at < xml.size();) {
            while (at < xml.size() && !isMarkup(xml[at])) ++at;
            if (at == xml.size()) break;
            const Markup m = xml[at] == '&' ? markupAt(xml, at) : Markup{1, 0, xml[at]};
            if (m.length == 0) {
                ++at;
            } else {
                if (m.c == '<' || m.c == '>') {
                    bracket(m, at);
                } else {
                    quote(m, at);
                }
                at += m.length;
            }
        }
        if (m_mask.kind == Mask::Kind::kNone) m_result.append(m_xml.substr(m_copied));
        return std::move(m_result);
    }

private:
    struct PendingElement {  // a password start tag in a text, up to its '>'
        bool open = false;
        std::size_t level = 0;
        std::size_t escapes = 0;
        std::string_view name;
    };

    bool textMaskAt(std::size_t level) const {
        return m_mask.kind == Mask::Kind::kText && m_mask.index == level;
    }

    void startMask(std::size_t valueStart, Mask::Kind kind, std::size_t index) {
        m_result.append(m_xml.substr(m_copied, valueStart - m_copied));
        m_result += kMask;
        m_mask.kind = kind;
        m_mask.index = index;
    }
    void endMask(std::size_t at) {
        m_mask.kind = Mask::Kind::kNone;
        m_mask.quotes.clear();
        m_mask.element = Element();
        m_copied = at;
    }
    void endTextMaskIfDone(std::size_t at) {
        if (m_mask.quotes.empty() && !m_mask.element.open) endMask(at);
    }

    // The text of a password element, from start on.
    void openElement(std::size_t start, std::size_t level, bool real, std::size_t escapes, std::string_view name) {
        if (m_mask.kind == Mask::Kind::kNone) {
            startMask(start, Mask::Kind::kText, level);
        } else if (!textMaskAt(level) || m_mask.element.open) {
            return;  // masked all the same
        }
        m_mask.element = Element{true, real, escapes, name, 1, false, Context::kText};
    }
    // One element of a password element's text ends at at.
    void closeInnerElement(std::size_t at) {
        if (--m_mask.element.depth > 0) return;
        m_mask.element.open = false;
        endTextMaskIfDone(at);
    }

    // The context of the document at level changes at at: what a text mask
    // there waits for in the old context is over.
    void contextChanges(std::size_t at, std::size_t level) {
        if (m_pending.open && m_pending.level == level) m_pending = PendingElement();
        if (!textMaskAt(level)) return;
        m_mask.quotes.clear();
        if (!m_mask.element.real) m_mask.element.open = false;
        endTextMaskIfDone(at);
    }

    void bracket(const Markup& m, std::size_t at) {
        const std::size_t level = m_open.size();
        const Context context = m_open.context();
        const std::size_t after = at + m.length;
        if (m.c == '<' && !opensMarkup(m_xml, after)) return;
        const bool selfClosing = at > 0 && m_xml[at - 1] == '/';
        const bool realElement = textMaskAt(level) && m_mask.element.open && m_mask.element.real;
        if (m.c == '<' && m.escapes == level && (context == Context::kText || context == Context::kTag)) {
            const Context next = contextAfterOpen(m_xml, after);
            const bool endTag = byteAt(m_xml, after) == '/';
            if (realElement && next == Context::kTag) tagOfElement(at, after);
            contextChanges(at, level);
            m_open.setContext(next);
            m_open.setPasswordTag(next == Context::kTag && !endTag ? passwordNameAt(m_xml, after) : std::string_view());
            return;
        }
        if (m.c == '>' && m.escapes <= level && endsContext(context, m_xml, at)) {
            if (context == Context::kTag) {
                if (realElement) startTagOfElementEnds(selfClosing);
                if (!m_open.passwordTag().empty() && !selfClosing) {
                    openElement(after, level, true, level, m_open.passwordTag());
                }
                m_open.setPasswordTag(std::string_view());
            }
            contextChanges(at, level);
            m_open.setContext(Context::kText);
            return;
        }
        if (context == Context::kTag) return;
        // A bracket of a document carried in a text, a comment or the like.
        const bool carried = textMaskAt(level) && m_mask.element.open && !m_mask.element.real;
        Element& element = m_mask.element;
        if (carried && element.inner != Context::kText) {  // a comment, CDATA ... in its text
            if (m.c == '>' && m.escapes <= element.escapes && endsContext(element.inner, m_xml, at)) {
                element.inner = Context::kText;
            }
            return;
        }
        if (m.c == '<') {
            if (carried && m.escapes == element.escapes) {
                if (const Context next = contextAfterOpen(m_xml, after); next != Context::kTag) {
                    element.inner = next;
                } else {
                    tagOfElement(at, after);
                }
            } else if (m_mask.kind == Mask::Kind::kNone || (textMaskAt(level) && !element.open)) {
                if (const std::string_view name = passwordNameAt(m_xml, after); !name.empty()) {
                    m_pending = PendingElement{true, level, m.escapes, name};
                }
            }
        } else if (m_pending.open && m_pending.level == level && m.escapes <= m_pending.escapes) {
            if (!selfClosing) openElement(after, level, false, m_pending.escapes, m_pending.name);
            m_pending = PendingElement();
        } else if (carried && m.escapes <= element.escapes) {
            startTagOfElementEnds(selfClosing);
        }
    }

    // A tag of the password element's document starts at at, its name (after
    // a '/' for an end tag) at after: one of the element's name opens another
    // of them, or closes one.
    void tagOfElement(std::size_t at, std::size_t after) {
        Element& element = m_mask.element;
        if (byteAt(m_xml, after) == '/') {
            if (nameAt(m_xml, after + 1) == element.name) closeInnerElement(at);
        } else if (nameAt(m_xml, after) == element.name) {
            element.innerTag = true;
        }
    }
    // The '>' of a tag of the password element's document.
    void startTagOfElementEnds(bool selfClosing) {
        Element& element = m_mask.element;
        if (element.innerTag && !selfClosing) ++element.depth;
        element.innerTag = false;
    }

    void quote(const Markup& m, std::size_t at) {
        const std::size_t level = m_open.size();
        const std::size_t key = keyOf(m);
        if (const std::size_t index = m_open.find(key); index != kNone) {
            closeValues(index, at);
            return;
        }
        const std::string_view name = attributeNameBefore(m_xml, at);
        const bool password = containsWord(name, kWord);
        if (m_open.context() == Context::kTag) {
            // A value opens after its name only: a quote in "&lt;b' ..."
            // of a message (no tag) must not take the place of a later one.
            if (name.empty()) return;
            if (m_mask.kind == Mask::Kind::kNone && password) startMask(at + m.length, Mask::Kind::kValue, level);
            m_open.push(key);
        } else if (textMaskAt(level)) {
            // A quote in a text: after "password=" it opens what is masked up
            // to the same quote; a later "password=" keeps the mask open.
            if (password) {
                m_mask.quotes.set(key, 0);
            } else if (m_mask.quotes.erase(key)) {
                endTextMaskIfDone(at);
            }
        } else if (m_mask.kind == Mask::Kind::kNone && password) {
            startMask(at + m.length, Mask::Kind::kText, level);
            m_mask.quotes.set(key, 0);
        }
        if (m_mask.kind == Mask::Kind::kNone && name == kBase64Name) maskBase64(at + m.length, key);
    }

    // The quote at at closes the value at index and those inside it.
    void closeValues(std::size_t index, std::size_t at) {
        m_open.closeFrom(index);
        if (m_pending.open && m_pending.level > index) m_pending = PendingElement();
        if ((m_mask.kind == Mask::Kind::kValue && m_mask.index >= index) ||
            (m_mask.kind == Mask::Kind::kText && m_mask.index > index)) {
            endMask(at);
        }
    }

    // Whether rest is empty or a reference cut short (the closing quote of a
    // value cut in its "&amp;quot;", say).
    static bool endsInReference(std::string_view rest) {
        constexpr std::size_t kLongestCut = 64;
        return rest.size() < kLongestCut && std::all_of(rest.begin(), rest.end(), [](char c) {
                   return c == '&' || c == '#' || c == ';' || std::isalnum(static_cast<unsigned char>(c));
               });
    }

    // A base64 text from start up to a quote of key (or up to the end of the
    // text, where a quote was cut short: there it is read by its whole
    // groups, the bytes of a last partial one left out): decoded, masked as a
    // document and encoded again when that changes it. Base64 holds no
    // markup, so the look ahead ends before the next markup the pass reads.
    void maskBase64(std::size_t start, std::size_t key) {
        std::size_t end = start;
        while (end < m_xml.size() && isBase64Digit(m_xml[end])) ++end;
        const bool cut = endsInReference(m_xml.substr(end));
        if (!cut) {
            const Markup closing = markupAt(m_xml, end);
            if ((closing.c != '"' && closing.c != '\'') || keyOf(closing) != key) return;
        }
        std::string_view text = m_xml.substr(start, end - start);
        if (cut) text = text.substr(0, text.size() / 4 * 4);
        std::string bytes;
        if (!decodeBase64(text, bytes)) return;
        const std::string masked = Masker(bytes).run();
        if (masked == bytes && text.size() == end - start) return;
        m_result.append(m_xml.substr(m_copied, start - m_copied));
        m_result += encodeBase64(masked);
        m_copied = end;
    }

    std::string_view m_xml;
    std::string m_result;
    std::size_t m_copied = 0;  // m_xml before it is in m_result
    OpenValues m_open;
    Mask m_mask;
    PendingElement m_pending;
};

}  // namespace

std::string maskPasswordValues(std::string_view xml) { return Masker(xml).run(); }
