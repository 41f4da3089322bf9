#include "EvEvent.h"

#include <cstring>

namespace {

struct CatalogueEntry {
    unsigned long id;
    const char* text;
};

constexpr CatalogueEntry kCatalogue[] = {
    {0x23000008UL, "Invalid user name or password."},
    {0x230001c5UL, "The password of the user has aged. Please change the password and retry."},
    {0x230001c6UL, "The number of login attempts has been exceeded. Please retry later."},
    {0x23000453UL, "The user account is disabled. Please contact the administrator."},
    {0x23000829UL, "The login session of the user has expired. Please log in again."},
    {0x23000894UL, "The user could not be authenticated."},
    {0x23000ea0UL, "Login is not permitted for the user%s."},
    {0x23000f3dUL, "The version of the client is not supported by the Mardock."},
    {0x23000f3eUL, "Answer the challenge from the RADIUS server as the password."},
    {0x2300124eUL, "The account is locked. Please contact the administrator."},
};

}  // namespace

void EvEvent::addArgument(const char* text, int type) {
    if (type != kTextArgument) return;
    m_arguments.emplace_back(text ? text : "");
}

const char* EvEvent::catalogueText(unsigned long messageId) {
    for (const CatalogueEntry& entry : kCatalogue) {
        if (entry.id == messageId) return entry.text;
    }
    return nullptr;
}

int EvEvent::evPrintf(unsigned long messageId, char* buffer, int size, unsigned long) const {
    const char* text = catalogueText(messageId);
    if (text == nullptr || buffer == nullptr || size <= 0) return -1;
    std::string out;
    std::size_t next = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (next < m_arguments.size()) out += m_arguments[next];
            ++next;
            ++p;
        } else {
            out += *p;
        }
    }
    const std::size_t room = static_cast<std::size_t>(size) - 1;
    const std::size_t n = out.size() < room ? out.size() : room;
    std::memcpy(buffer, out.data(), n);
    buffer[n] = '\0';
    return 0;
}
