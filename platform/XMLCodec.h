// Stand-in for the message library's XML encoder and decoder.
//
// The XML form is self-describing: the root element is the type name with a
// "tag" attribute, each field an element naming its number, slot and hash:
//   <i> integer, <s> text, <b> byte string, <o> nested object (with its tag),
//   <lo>/<li>/<ls>/<ll> lists of objects, ints, texts and 64-bit ints.
// Texts are written as v="..." when every byte is printable in ISO-8859-1 and
// as x="<base64>" otherwise, so any byte (zero included) survives. Fields the
// catalog marks as secrets use "password" / "x_password" instead of "v" / "x".
#pragma once

#include <cstddef>
#include <string>

class CNMessageBase;

namespace vsdkmsg {

// Limits applied to every document read. Building a message takes up to
// about seven times its text (some 110 MB at this size); a frame of the
// network (RkWire.h) is no larger, so every message received can be read.
constexpr std::size_t kMaxDocumentBytes = 16u * 1024u * 1024u;
constexpr int kMaxNesting = 48;

}  // namespace vsdkmsg

struct XMLEncoderOptions {
    int a = 1, b = 0, c = 0, d = 0, e = 0, f = -1;
    unsigned char g = 0, h = 0, i = 1, j = 0;
    unsigned int flags = 1;
};

class XMLEncoder {
public:
    explicit XMLEncoder(const XMLEncoderOptions& options = XMLEncoderOptions(),
                        const void* context = nullptr);
    // 0 = success.
    int encode(const CNMessageBase& message, std::string& out) const;

private:
    XMLEncoderOptions m_options;
};

class XMLDecoder {
public:
    explicit XMLDecoder(const void* context = nullptr);
    // Builds the message the document names; 0 = success, out owned by the caller.
    int decode(const std::string& xml, CNMessageBase*& out, std::string* errorText = nullptr) const;
};
