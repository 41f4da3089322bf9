#include "MessageLogging.h"

#include "platform/CNMessageBase.h"
#include "platform/XMLCodec.h"
#include "VSDKErrors/ExportGuard.h"

#include <algorithm>
#include <exception>
#include <memory>

const char* const kXmlNotFormattedText =
    "Error. XML is not properly formatted so cannot unserialize it.";

namespace {

const char kMask[] = "****";

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '_' || c == '-' || c == '.' || c == ':';
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A quote character as a document writes it: '"' or '\'' (depth 0), or, in a
// document carried in a text of another, an entity of it ("&quot;", "&apos;",
// "&#34;", "&#x22;", "&#39;", "&#x27;": depth 1), each further level of
// escaping adding one "amp;" after the '&' ("&amp;quot;" is depth 2). The text
// is lower-case.
struct Quote {
    std::size_t length = 0;  // 0: no quote here
    std::size_t depth = 0;
    char kind = 0;  // '"' or '\''
};

Quote quoteAt(std::string_view lower, std::size_t at) {
    const char c = lower[at];
    if (c == '"' || c == '\'') return {1, 0, c};
    if (c != '&') return {};
    std::size_t k = at + 1, depth = 1;
    while (lower.compare(k, 4, "amp;") == 0) {
        k += 4;
        ++depth;
    }
    static const struct {
        std::string_view name;
        char kind;
    } kEntities[] = {{"quot;", '"'}, {"#34;", '"'}, {"#x22;", '"'},
                     {"apos;", '\''}, {"#39;", '\''}, {"#x27;", '\''}};
    for (const auto& e : kEntities) {
        if (lower.compare(k, e.name.size(), e.name) == 0) return {k + e.name.size() - at, depth, e.kind};
    }
    return {};
}

// Where a value opened by open ends: at the first quote of its kind and depth,
// or, inside another value, at the latest where that one ends (a quote of a
// lesser depth), so the mask never reaches past the value that holds it.
// npos: nowhere. Each quote-like byte is looked at once: linear in the text.
std::size_t valueEnd(std::string_view lower, std::size_t from, const Quote& open) {
    if (open.depth == 0) return lower.find(open.kind, from);  // nothing holds it
    for (std::size_t at = from; at < lower.size(); ++at) {
        const char c = lower[at];
        if (c != '"' && c != '\'' && c != '&') continue;
        const Quote q = quoteAt(lower, at);
        if (q.length == 0) continue;
        if (q.depth < open.depth || (q.depth == open.depth && q.kind == open.kind)) return at;
    }
    return std::string_view::npos;
}

// Every password attribute value replaced by the mask (filterPasswordAttrBased).
std::string maskPasswordValues(std::string_view xml) {
    // Searched in a lower-case copy; the result is built in one pass (a whole
    // document may hold many values), each value replaced by the mask.
    std::string lower(xml);
    for (char& c : lower) c = asciiLower(c);
    std::string result;
    result.reserve(xml.size());

    static const char kWord[] = "password";
    constexpr std::size_t kWordLength = sizeof kWord - 1;
    std::size_t copied = 0;  // xml before it is in result
    std::size_t from = 0;
    for (;;) {
        const std::size_t p = lower.find(kWord, from);
        if (p == std::string::npos) break;
        // The rest of the attribute name, then '=' and an opening quote (blanks
        // allowed around '=' as XML allows them).
        std::size_t k = p + kWordLength;
        while (k < lower.size() && isNameChar(lower[k])) ++k;
        while (k < lower.size() && isBlank(lower[k])) ++k;
        if (k >= lower.size() || lower[k] != '=') {
            from = p + kWordLength;
            continue;
        }
        ++k;
        while (k < lower.size() && isBlank(lower[k])) ++k;
        const Quote open = k < lower.size() ? quoteAt(lower, k) : Quote();
        if (open.length == 0) {
            from = p + kWordLength;
            continue;
        }
        const std::size_t valueStart = k + open.length;
        const std::size_t close = valueEnd(lower, valueStart, open);
        result.append(xml.substr(copied, valueStart - copied));
        result += kMask;
        // No closing quote: nothing after the opening quote is shown.
        if (close == std::string::npos) return result;
        copied = close;
        from = close;
    }
    result.append(xml.substr(copied));
    return result;
}

// The first limit bytes of text (masked when it is a document), with the
// count of the bytes left out. Control bytes are the log writer's to escape.
std::string quoteForLog(std::string_view text, bool document, std::size_t limit) {
    const std::size_t kept = std::min(text.size(), limit);
    // Cut before masking: a password value the cut ends is masked to the end.
    std::string out = document ? maskPasswordValues(text.substr(0, kept)) : std::string(text.substr(0, kept));
    if (kept < text.size()) out += "... [" + std::to_string(text.size() - kept) + " more bytes]";
    return out;
}

}  // namespace

std::string filterPasswordAttrBased(const std::string& xml) { return maskPasswordValues(xml); }

static std::string filterPasswordUnguarded(const std::string& xml) {
    static const char kAttr[] = "password=\"";
    constexpr std::size_t kAttrLength = sizeof kAttr - 1;
    std::string result;
    result.reserve(xml.size());
    std::size_t copied = 0;  // xml before it is in result
    for (std::size_t p = xml.find(kAttr); p != std::string::npos;) {
        const std::size_t valueStart = p + kAttrLength;
        result.append(xml, copied, valueStart - copied);
        result += kMask;
        const std::size_t end = xml.find("\" ", valueStart);
        if (end == std::string::npos) return result;  // masked to the end
        copied = end;
        p = xml.find(kAttr, end);
    }
    result.append(xml, copied, std::string::npos);
    return result;
}

std::string logXMLMessage(CNMessageBase* message) {
    if (!message) return std::string();
    try {
        XMLEncoderOptions options;
        options.a = 1;
        options.b = 0;
        options.c = 0;
        options.d = 0;
        options.e = 0;
        options.f = -1;
        options.g = 0;
        options.h = 0;
        options.i = 1;
        options.j = 0;
        options.flags = 1u;
        const XMLEncoder encoder(options, nullptr);
        std::string xml;
        if (encoder.encode(*message, xml) != 0) {
            return xml.empty() ? std::string() : std::string(kXmlNotFormattedText);
        }
        // Every type is masked, whatever CNMessageBase::isOldWay says of it:
        // secret fields (passwords, pass phrases, keys, tokens) are written
        // under "password" attributes, so no secret reaches the log in clear.
        return logWholeDocument(xml);
    } catch (const std::exception&) {
        // Logging never fails an operation.
        return std::string();
    }
}

std::string logXMLMessage(const std::string& xml) {
    if (xml.empty()) return xml;
    CNMessageBase* raw = nullptr;
    int rc = 0;
    try {
        const XMLDecoder decoder(nullptr);
        rc = decoder.decode(xml, raw);
    } catch (const std::exception&) {
        rc = -1;
    }
    std::unique_ptr<CNMessageBase> message(raw);
    if (rc != 0 || !message) return kXmlNotFormattedText;
    return logXMLMessage(message.get());
}

std::string logText(std::string_view text) { return quoteForLog(text, false, kLogQuoteBytes); }

std::string logDocument(std::string_view xml) { return quoteForLog(xml, true, kLogQuoteBytes); }

std::string logWholeDocument(std::string_view xml) {
    return quoteForLog(xml, true, std::string_view::npos);
}

// The exports: no exception leaves them.

std::string filterPassword(const std::string& xml) {
    return vsdkguard::guarded("filterPassword", std::string(),
                              [&]() -> std::string { return filterPasswordUnguarded(xml); });
}
