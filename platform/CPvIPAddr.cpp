#include "CPvIPAddr.h"

#include "RKPlatformInfo.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>

namespace {

// IPv4-mapped IPv6 addresses compare as the IPv4 address they carry.
bool isMapped(const unsigned char* b) {
    static const unsigned char prefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    return std::memcmp(b, prefix, sizeof prefix) == 0;
}

}  // namespace

CPvError CPvIPAddr::GetAllByName(const char* name, std::vector<CPvIPAddr>& addresses, int family) {
    addresses.clear();
    if (!name || !*name) return CPvError(kPvErrResolve, "empty host name");
    if (family != 0 && family != 4 && family != 6) {
        return CPvError(kPvErrResolve, "unknown address family " + std::to_string(family));
    }
    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = family == 4 ? AF_INET : family == 6 ? AF_INET6 : AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const int rc = ::getaddrinfo(name, nullptr, &hints, &list);
    if (rc != 0) {
        return CPvError(kPvErrResolve,
                        std::string("cannot resolve '") + name + "': " + ::gai_strerror(rc));
    }
    for (addrinfo* a = list; a; a = a->ai_next) {
        CPvIPAddr x;
        if (a->ai_family == AF_INET && a->ai_addrlen >= sizeof(sockaddr_in)) {
            const auto* sin = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
            x.m_family = 4;
            std::memcpy(x.m_bytes, &sin->sin_addr, 4);
        } else if (a->ai_family == AF_INET6 && a->ai_addrlen >= sizeof(sockaddr_in6)) {
            const auto* sin6 = reinterpret_cast<const sockaddr_in6*>(a->ai_addr);
            x.m_family = 6;
            std::memcpy(x.m_bytes, &sin6->sin6_addr, 16);
        } else {
            continue;
        }
        if (std::find(addresses.begin(), addresses.end(), x) == addresses.end()) {
            addresses.push_back(x);
        }
    }
    ::freeaddrinfo(list);
    if (addresses.empty()) {
        return CPvError(kPvErrResolve, std::string("no address for '") + name + "'");
    }
    // The process's preferred family first; the resolver's order otherwise.
    const int preferred = PVNET_GetFamilyPreference();
    if (family == 0 && (preferred == 4 || preferred == 6)) {
        std::stable_partition(addresses.begin(), addresses.end(),
                              [preferred](const CPvIPAddr& a) { return a.m_family == preferred; });
    }
    return CPvError::Success();
}

CPvError CPvIPAddr::GetByName(const char* name, CPvIPAddr& address, int family) {
    std::vector<CPvIPAddr> all;
    CPvError e = GetAllByName(name, all, family);
    if (e.IsError()) return e;
    address = all.front();
    return CPvError::Success();
}

void CPvIPAddr::SetPreferredFamily(int family) { PVNET_SetFamilyPreference(family); }

bool CPvIPAddr::operator==(const CPvIPAddr& other) const {
    if (m_family == 0 || other.m_family == 0) return m_family == other.m_family;
    if (m_family == other.m_family) {
        return std::memcmp(m_bytes, other.m_bytes, m_family == 4 ? 4 : 16) == 0;
    }
    const CPvIPAddr& v6 = m_family == 6 ? *this : other;
    const CPvIPAddr& v4 = m_family == 4 ? *this : other;
    return isMapped(v6.m_bytes) && std::memcmp(v6.m_bytes + 12, v4.m_bytes, 4) == 0;
}

std::string CPvIPAddr::GetAddressString() const {
    char buf[INET6_ADDRSTRLEN] = {};
    if (m_family == 4) {
        ::inet_ntop(AF_INET, m_bytes, buf, sizeof buf);
    } else if (m_family == 6) {
        ::inet_ntop(AF_INET6, m_bytes, buf, sizeof buf);
    }
    return buf;
}

socklen_t CPvIPAddr::toSockaddr(unsigned short port, sockaddr_storage& out) const {
    std::memset(&out, 0, sizeof out);
    if (m_family == 4) {
        auto* sin = reinterpret_cast<sockaddr_in*>(&out);
        sin->sin_family = AF_INET;
        sin->sin_port = htons(port);
        std::memcpy(&sin->sin_addr, m_bytes, 4);
        return sizeof(sockaddr_in);
    }
    if (m_family == 6) {
        auto* sin6 = reinterpret_cast<sockaddr_in6*>(&out);
        sin6->sin6_family = AF_INET6;
        sin6->sin6_port = htons(port);
        std::memcpy(&sin6->sin6_addr, m_bytes, 16);
        return sizeof(sockaddr_in6);
    }
    return 0;
}
