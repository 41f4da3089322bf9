// Stand-in for the platform's address resolver: host names to IPv4/IPv6
// addresses over getaddrinfo, in the order of the process's preferred family.
#pragma once

#include "CPvError.h"

#include <string>
#include <sys/socket.h>
#include <vector>

class CPvIPAddr {
public:
    CPvIPAddr() = default;

    // family: 0 any (preferred family first), 4 IPv4 only, 6 IPv6 only.
    static CPvError GetByName(const char* name, CPvIPAddr& address, int family);
    static CPvError GetAllByName(const char* name, std::vector<CPvIPAddr>& addresses, int family);
    // Sets the preferred family (0 any, 4, 6) of the process.
    static void SetPreferredFamily(int family);

    bool operator==(const CPvIPAddr& other) const;
    bool operator!=(const CPvIPAddr& other) const { return !(*this == other); }

    // Numeric text ("127.0.0.1", "::1"); empty when unset.
    std::string GetAddressString() const;
    // 4, 6, or 0 when unset.
    int GetFamily() const { return m_family; }
    // The socket address of this address and port; 0 when unset.
    socklen_t toSockaddr(unsigned short port, sockaddr_storage& out) const;

private:
    int m_family = 0;
    unsigned char m_bytes[16] = {};
};
