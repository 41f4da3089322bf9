#include "PasswordMask.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::string_view kMask = "****";
constexpr std::string_view kWord = "password";
constexpr std::size_t kNone = std::string_view::npos;

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Bytes of UTF-8 sequences count as name characters.
bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
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
    std::size_t k = at;
    skipBlanksBefore(text, k);
    if (k == 0 || text[k - 1] != '=') return std::string_view();
    --k;
    skipBlanksBefore(text, k);
    const std::size_t nameEnd = k;
    while (k > 0 && isNameChar(text[k - 1])) --k;
    return text.substr(k, nameEnd - k);
}

// ---- the documents ----------------------------------------------------------------

// Where a document is: in text, in a tag (where attribute values open), or
// in a comment, CDATA section, processing instruction or declaration.
enum class Context : unsigned char { kText, kTag, kComment, kCData, kInstruction, kDeclaration };

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

// The attribute values open at a point of the text, outermost first, each
// named by its quote's key (times escaped and kind; a key is open at most
// once), and the context of the document at each level: the outer one, then
// the one inside each open value. A key's value is found at once whatever the
// nesting, so the pass stays linear.
class OpenValues {
public:
    OpenValues() : m_contexts(1, Context::kText) {
        std::fill(std::begin(m_shallow), std::end(m_shallow), kNone);
    }

    std::size_t size() const { return m_keys.size(); }
    // The context of the document inside the innermost open value (or of the
    // outer document).
    Context context() const { return m_contexts.back(); }
    void setContext(Context c) { m_contexts.back() = c; }

    // The index of key's value; npos when it is not open.
    std::size_t find(std::size_t key) const {
        if (m_keys.empty()) return kNone;
        if (key < kShallow) return m_shallow[key];
        const auto found = m_deep.find(key);
        return found == m_deep.end() ? kNone : found->second;
    }
    void push(std::size_t key) {
        if (key < kShallow) {
            m_shallow[key] = m_keys.size();
        } else {
            m_deep.emplace(key, m_keys.size());
        }
        m_keys.push_back(key);
        m_contexts.push_back(Context::kText);
    }
    // Closes the value at index and those opened inside it.
    void closeFrom(std::size_t index) {
        while (m_keys.size() > index) {
            const std::size_t key = m_keys.back();
            if (key < kShallow) {
                m_shallow[key] = kNone;
            } else {
                m_deep.erase(key);
            }
            m_keys.pop_back();
            m_contexts.pop_back();
        }
    }

private:
    static constexpr std::size_t kShallow = 32;  // escaped fewer than 16 times: no allocation
    std::vector<std::size_t> m_keys;
    std::vector<Context> m_contexts;  // one more than m_keys: the outer document first
    std::size_t m_shallow[kShallow];  // key -> index, npos: not open
    std::unordered_map<std::size_t, std::size_t> m_deep;
};

// The part of the text being masked: a password attribute's value (until the
// value at its index closes), or, in text, what follows "password=" and a
// quote (until that quote comes again at its level, the context there
// changes or the value holding it closes).
struct Mask {
    enum class Kind { kNone, kValue, kText } kind = Kind::kNone;
    std::size_t index = 0;  // kValue: the value's index; kText: the level
    std::size_t key = 0;    // kText: the quote's key
};

std::size_t keyOf(const Markup& m) { return m.escapes * 2 + (m.c == '\'' ? 1 : 0); }

}  // namespace

// One pass that reads the text as a reader of each nested document would.
// The document inside the n-th open value writes its '<' escaped n times and
// its '>' at most n times; they tell its context. A quote of the kind and
// escaping of an open value closes it, and with it the values opened inside
// it. In a tag, another quote opens a value (masked when its name is a
// password's). Elsewhere a quote is text; after "password=" the text up to
// the same quote is masked all the same.
std::string maskPasswordValues(std::string_view xml) {
    std::string result;
    result.reserve(xml.size());
    OpenValues open;
    Mask mask;
    std::size_t copied = 0;  // xml before it is in result
    auto startMask = [&](std::size_t valueStart, Mask started) {
        result.append(xml.substr(copied, valueStart - copied));
        result += kMask;
        mask = started;
    };
    auto endMask = [&](std::size_t at) {
        mask = Mask();
        copied = at;
    };
    for (std::size_t at = 0; at < xml.size();) {
        if (!isMarkup(xml[at])) {
            ++at;
            continue;
        }
        const Markup m = markupAt(xml, at);
        if (m.length == 0) {
            ++at;
            continue;
        }
        const std::size_t level = open.size();
        const Context context = open.context();
        if (m.c == '<' || m.c == '>') {
            const bool starts = m.c == '<' && m.escapes == level &&
                                (context == Context::kText || context == Context::kTag);
            const bool ends = m.c == '>' && m.escapes <= level && endsContext(context, xml, at);
            if (starts || ends) {
                if (mask.kind == Mask::Kind::kText) endMask(at);
                open.setContext(starts ? contextAfterOpen(xml, at + m.length) : Context::kText);
            }
        } else if (const std::size_t index = open.find(keyOf(m)); index != kNone) {
            open.closeFrom(index);
            if ((mask.kind == Mask::Kind::kValue && mask.index >= index) ||
                (mask.kind == Mask::Kind::kText && mask.index > index)) {
                endMask(at);
            }
        } else if (context == Context::kTag) {
            if (mask.kind == Mask::Kind::kNone && containsWord(attributeNameBefore(xml, at), kWord)) {
                startMask(at + m.length, {Mask::Kind::kValue, level, 0});
            }
            open.push(keyOf(m));
        } else if (mask.kind == Mask::Kind::kText) {
            if (mask.index == level && mask.key == keyOf(m)) endMask(at);
        } else if (mask.kind == Mask::Kind::kNone && containsWord(attributeNameBefore(xml, at), kWord)) {
            startMask(at + m.length, {Mask::Kind::kText, level, keyOf(m)});
        }
        at += m.length;
    }
    if (mask.kind == Mask::Kind::kNone) result.append(xml.substr(copied));
    return result;
}
