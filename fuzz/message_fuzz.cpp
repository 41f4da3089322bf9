// Fuzzes the message decoder with untrusted text: every input must either be
// refused with a failure result or give a message that writes back to XML,
// reads again and writes the very same text. Crashes, sanitizer reports and
// broken round trips abort.
#include "VSDKErrors/MessageLogging.h"
#include "platform/CNMessageBase.h"
#include "platform/XMLCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "message_fuzz: %s\n", what);
    std::abort();
}

std::string write(const CNMessageBase& m) {
    std::string xml;
    if (m.serialize(xml, false) != 0) broken("serialize failed");
    if (std::memchr(xml.data(), 0, xml.size())) broken("zero byte in written XML");
    return xml;
}

void checkRoundTrip(const CNMessageBase& m) {
    const std::string xml = write(m);

    CNMessageBase* raw = nullptr;
    std::string error;
    if (CNMessageBase::ConstructAny(xml.data(), xml.size(), raw, error) != 0 || !raw) {
        broken("written XML does not read back");
    }
    std::unique_ptr<CNMessageBase> again(raw);
    if (write(*again) != xml) broken("round trip changed the text");

    // By its tag code, and into an object of its type.
    raw = nullptr;
    if (CNMessageBase::ConstructObject(m.getTagID(), xml.c_str(), raw, false, error) != 0 || !raw) {
        broken("ConstructObject refused written XML");
    }
    std::unique_ptr<CNMessageBase> byTag(raw);
    CNMessageBase into(m.getModuleId(), m.getClassNumber());
    if (into.unserialize(xml) != 0) broken("unserialize refused written XML");
    if (write(into) != xml) broken("unserialize changed the text");

    // Copies are deep and equal.
    CNMessageBase copy(m);
    CNMessageBase assigned(0, 0);
    assigned = copy;
    if (write(assigned) != xml) broken("copy changed the text");

    // A message assigned one of its own nested objects becomes that object.
    for (const auto& kv : copy.fields()) {
        if (kv.second.kind != vsdkmsg::FieldKind::Object || !kv.second.obj) continue;
        const std::string part = write(*kv.second.obj);
        copy = *kv.second.obj;
        if (write(copy) != part) broken("assigning a part of itself changed it");
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    std::string error;

    CNMessageBase* raw = nullptr;
    const int rc = CNMessageBase::ConstructAny(text, size, raw, error);
    std::unique_ptr<CNMessageBase> message(raw);
    if (rc == 0) {
        if (!message) broken("success without a message");
        checkRoundTrip(*message);
    } else if (message) {
        broken("failure with a message");
    }

    // The zero-terminated entry points read up to the first zero byte.
    const std::string terminated(text, size);
    raw = nullptr;
    if (CNMessageBase::ConstructObject(0x0500013FUL, terminated.c_str(), raw, false, error) == 0) {
        std::unique_ptr<CNMessageBase> owned(raw);
        if (!owned || owned->getTagID() != 0x0500013FUL) broken("ConstructObject gave another type");
    } else if (raw) {
        broken("ConstructObject failure with a message");
    }
    CNMessageBase into(6, 210);
    if (into.unserialize(terminated) != 0 && !into.fields().empty()) {
        broken("failed unserialize left fields behind");
    }

    // The log side over the same text.
    (void)filterPasswordAttrBased(terminated);
    (void)filterPassword(terminated);
    (void)logXMLMessage(terminated);
    return 0;
}
