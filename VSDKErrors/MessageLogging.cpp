#include "MessageLogging.h"

#include "PasswordMask.h"

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

// The first limit bytes of text, masked, with the count of the bytes left
// out. Control bytes are the log writer's to escape.
std::string quoteForLog(std::string_view text, std::size_t limit) {
    const std::size_t kept = std::min(text.size(), limit);
    // Cut before masking: a password value the cut ends is masked to the end.
    std::string out = maskPasswordValues(text.substr(0, kept));
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

std::string logText(std::string_view text) { return quoteForLog(text, kLogQuoteBytes); }

std::string logDocument(std::string_view xml) { return quoteForLog(xml, kLogQuoteBytes); }

std::string logWholeDocument(std::string_view xml) {
    return quoteForLog(xml, std::string_view::npos);
}

// The exports: no exception leaves them.

std::string filterPassword(const std::string& xml) {
    return vsdkguard::guarded("filterPassword", std::string(),
                              [&]() -> std::string { return filterPasswordUnguarded(xml); });
}
