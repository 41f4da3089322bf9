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

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':';
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

// A quote or tag bracket as a document writes it: the character itself
// (escaped 0 times), or a reference to it ("&quot;", "&apos;", "&lt;",
// "&gt;", or a numeric one, leading zeros allowed: once), each further level
// of escaping adding one "amp;" after the '&' ("&amp;quot;": twice).
// Reference names are read in any letter case.
struct Markup {
    std::size_t length = 0;   // 0: none here
    std::size_t escapes = 0;  // times escaped
    char c = 0;               // '"', '\'', '<' or '>'
};

// The character a numeric reference ("#34;", "#x3C;", ... at at) names when
// it is a quote or bracket, else 0; end receives the index past its ';'.
char numericMarkup(std::string_view text, std::size_t at, std::size_t& end) {
    std::size_t k = at + 1;  // past '#'
    const bool hex = k < text.size() && asciiLower(text[k]) == 'x';
    if (hex) ++k;
    const std::size_t digitsStart = k;
    while (k < text.size() && text[k] == '0') ++k;
    unsigned value = 0;
    for (int significant = 0; k < text.size() && significant < 3; ++k, ++significant) {
        const char c = asciiLower(text[k]);
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else {
            break;
        }
        value = value * (hex ? 16u : 10u) + digit;
    }
    if (k == digitsStart || k >= text.size() || text[k] != ';') return 0;
    end = k + 1;
    return (value == '"' || value == '\'' || value == '<' || value == '>') ? static_cast<char>(value) : 0;
}

Markup markupAt(std::string_view text, std::size_t at) {
    const char c = text[at];
    if (c != '&') return {1, 0, c};
    std::size_t k = at + 1, escapes = 1;
    while (hasWordAt(text, k, "amp;")) {
        k += 4;
        ++escapes;
    }
    static const struct {
        std::string_view name;
        char c;
    } kNames[] = {{"quot;", '"'}, {"apos;", '\''}, {"lt;", '<'}, {"gt;", '>'}};
    for (const auto& n : kNames) {
        if (hasWordAt(text, k, n.name)) return {k + n.name.size() - at, escapes, n.c};
    }
    std::size_t end = 0;
    if (k < text.size() && text[k] == '#') {
        if (const char named = numericMarkup(text, k, end)) return {end - at, escapes, named};
    }
    return {};
}

// Where a blank written as a numeric reference ("&#10;", "&#x20;", escaped
// again as "&amp;#10;" ...) that ends just before end starts; npos when none
// does.
std::size_t blankReferenceBefore(std::string_view text, std::size_t end) {
    if (end == 0 || text[end - 1] != ';') return kNone;
    std::size_t k = end - 1;
    while (k > 0 && std::isxdigit(static_cast<unsigned char>(text[k - 1]))) --k;
    const std::size_t digits = k;
    if (digits == end - 1) return kNone;
    const bool hex = k > 0 && asciiLower(text[k - 1]) == 'x';
    if (hex) --k;
    if (k == 0 || text[k - 1] != '#') return kNone;
    --k;
    while (k >= 4 && hasWordAt(text, k - 4, "amp;")) k -= 4;
    if (k == 0 || text[k - 1] != '&') return kNone;
    unsigned long value = 0;
    for (std::size_t i = digits; i < end - 1; ++i) {
        const char c = asciiLower(text[i]);
        if (!hex && !(c >= '0' && c <= '9')) return kNone;
        value = value * (hex ? 16 : 10) + static_cast<unsigned long>(c <= '9' ? c - '0' : c - 'a' + 10);
        if (value > 0x20) return kNone;
    }
    return (value == 0x9 || value == 0xA || value == 0xD || value == 0x20) ? k - 1 : kNone;
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

// The attribute name of an opening quote at at: "name=" before it, blanks
// allowed around '='; empty when there is none. It looks back only over the
// bytes since the previous markup, so each byte is looked at a bounded number
// of times.
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

// The attribute values open at a point of the text, outermost first, each
// named by its quote's key (times escaped and kind; a key is open at most
// once), and for the document at each level (the outer one, then the one
// inside each open value) whether it is inside a tag. A key's value is found
// at once whatever the nesting, so the pass stays linear.
class OpenValues {
public:
    OpenValues() : m_inTag(1, false) { std::fill(std::begin(m_shallow), std::end(m_shallow), kNone); }

    std::size_t size() const { return m_keys.size(); }
    // Whether the document inside the innermost open value (or the outer
    // document) is inside a tag.
    bool inTag() const { return m_inTag.back(); }
    void setInTag(bool in) { m_inTag.back() = in; }

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
        m_inTag.push_back(false);
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
            m_inTag.pop_back();
        }
    }

private:
    static constexpr std::size_t kShallow = 32;  // escaped fewer than 16 times: no allocation
    std::vector<std::size_t> m_keys;
    std::vector<bool> m_inTag;        // one more than m_keys: the outer document first
    std::size_t m_shallow[kShallow];  // key -> index, npos: not open
    std::unordered_map<std::size_t, std::size_t> m_deep;
};

}  // namespace

// One pass that reads the text as a reader of each nested document would.
// The document inside the n-th open value writes its '<' escaped n times and
// its '>' at most n times; they tell whether it is inside a tag. A quote of
// the kind and escaping of an open value closes it, and with it the values
// opened inside it. Any other quote right after "name=" opens a value, when
// its document is inside a tag or the name is a password's; other quotes are
// text.
std::string maskPasswordValues(std::string_view xml) {
    std::string result;
    result.reserve(xml.size());
    OpenValues open;
    std::size_t maskedAt = kNone;  // index in open of the value being masked
    std::size_t copied = 0;        // xml before it is in result
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
        if (m.c == '<') {
            if (m.escapes == open.size()) open.setInTag(true);
        } else if (m.c == '>') {
            if (m.escapes <= open.size()) open.setInTag(false);
        } else if (const std::size_t index = open.find(m.escapes * 2 + (m.c == '\'' ? 1 : 0));
                   index != kNone) {
            open.closeFrom(index);
            if (maskedAt != kNone && maskedAt >= index) {
                maskedAt = kNone;
                copied = at;
            }
        } else {
            const std::string_view name = attributeNameBefore(xml, at);
            const bool secret = containsWord(name, kWord);
            if (!name.empty() && (secret || open.inTag())) {
                if (secret && maskedAt == kNone) {
                    result.append(xml.substr(copied, at + m.length - copied));
                    result += kMask;
                    maskedAt = open.size();
                }
                open.push(m.escapes * 2 + (m.c == '\'' ? 1 : 0));
            }
        }
        at += m.length;
    }
    if (maskedAt == kNone) result.append(xml.substr(copied));
    return result;
}
