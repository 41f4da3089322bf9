#include "CRkNetwork.h"

#include "CNMessageBase.h"
#include "CPvIPAddr.h"
#include "MessageCatalog.h"
#include "RKPlatformInfo.h"
#include "RkWire.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

std::string errnoText(const char* what, int err) {
    return std::string(what) + ": " + std::strerror(err);
}

// Connects fd to address within the deadline; 0 or an errno value.
int connectWithin(int fd, const sockaddr_storage& addr, socklen_t len,
                  const rkwire::Deadline& deadline) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), len) == 0) return 0;
    if (errno != EINPROGRESS && errno != EINTR) return errno;
    for (;;) {
        pollfd p{fd, POLLOUT, 0};
        const int n = ::poll(&p, 1, deadline.pollMillis());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) {
            if (deadline.limited && deadline.pollMillis() == 0) return ETIMEDOUT;
            continue;
        }
        int err = 0;
        socklen_t errLen = sizeof err;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &errLen) != 0) return errno;
        return err;
    }
}

}  // namespace

CRkNetwork::CRkNetwork() = default;

CRkNetwork::~CRkNetwork() { closeSocket(); }

void CRkNetwork::closeSocket() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_pending.clear();
}

unsigned short CRkNetwork::servicePort() {
    long port = 0;
    RKPlatformInfo reg;
    if (reg.getNumber("Network", "nCmdLineServicePort", &port) && port > 0 && port <= 0xFFFF) {
        return static_cast<unsigned short>(port);
    }
    return kDefaultCmdLineServicePort;
}

CPvError CRkNetwork::Attach_RemoteService(const std::string& host, const std::string& service,
                                          const std::string& localClientName, int timeoutSeconds,
                                          bool& abort) {
    closeSocket();
    if (abort) return CPvError(kPvErrConnect, "attach aborted");
    const std::string name = host.substr(0, host.find('*'));
    if (name.empty()) return CPvError(kPvErrResolve, "empty host name");

    std::vector<CPvIPAddr> addresses;
    CPvError resolved = CPvIPAddr::GetAllByName(name.c_str(), addresses, 0);
    if (resolved.IsError()) return resolved;

    const unsigned short port = servicePort();
    const rkwire::Deadline deadline = rkwire::Deadline::afterSeconds(timeoutSeconds);
    std::string lastError = "no address to connect to";
    for (const CPvIPAddr& address : addresses) {
        sockaddr_storage sa;
        const socklen_t len = address.toSockaddr(port, sa);
        if (len == 0) continue;
        const int fd = ::socket(sa.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) {
            lastError = errnoText("socket", errno);
            continue;
        }
        const int err = connectWithin(fd, sa, len, deadline);
        if (err != 0) {
            ::close(fd);
            lastError = "connect to " + address.GetAddressString() + " port " +
                        std::to_string(port) + ": " + std::strerror(err);
            if (err == ETIMEDOUT) break;
            continue;
        }
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);

        // The service handshake.
        rkwire::IoResult w = rkwire::writeFrame(
            fd, rkwire::buildHello(service, localClientName, static_cast<int>(m_auth)), deadline);
        std::string answer;
        rkwire::IoResult r = w == rkwire::IoResult::Ok ? rkwire::readFrame(fd, answer, deadline) : w;
        if (r != rkwire::IoResult::Ok) {
            ::close(fd);
            return CPvError(r == rkwire::IoResult::Timeout ? kPvErrTimeout : kPvErrConnect,
                            std::string("service handshake with ") + name + " failed: " +
                                rkwire::describe(r));
        }
        if (answer != "OK") {
            ::close(fd);
            return CPvError(kPvErrRefused, "service '" + service + "' refused by " + name + ": " +
                                               answer.substr(0, 200));
        }
        m_fd = fd;
        return CPvError::Success();
    }
    return CPvError(kPvErrConnect, lastError);
}

CPvError CRkNetwork::SendXMLMessage(const CNMessageBase& message, int, int timeoutSeconds,
                                    bool& abort) {
    if (m_fd < 0) return CPvError(kPvErrNotConnected, "not connected");
    if (abort) return CPvError(kPvErrSend, "send aborted");
    std::string xml;
    if (message.serialize(xml, false) != 0) return CPvError(kPvErrSend, "cannot serialise message");
    if (xml.size() > rkwire::kMaxFrameBytes) {
        return CPvError(kPvErrFrame, "message larger than the largest frame");
    }
    const rkwire::IoResult r =
        rkwire::writeFrame(m_fd, xml, rkwire::Deadline::afterSeconds(timeoutSeconds));
    if (r != rkwire::IoResult::Ok) {
        const int err = errno;
        closeSocket();
        std::string text = std::string("send failed: ") + rkwire::describe(r);
        if (r == rkwire::IoResult::Error) text += std::string(" (") + std::strerror(err) + ")";
        return CPvError(r == rkwire::IoResult::Timeout ? kPvErrTimeout : kPvErrSend, text);
    }
    return CPvError::Success();
}

CPvError CRkNetwork::ReceiveXMLMessage(unsigned long* messageType, CNMessageBase*& message,
                                       void*, int, int timeoutSeconds, bool& abort) {
    message = nullptr;
    if (m_fd < 0) return CPvError(kPvErrNotConnected, "not connected");
    if (abort) return CPvError(kPvErrReceive, "receive aborted");
    std::string payload;
    const rkwire::IoResult r =
        rkwire::readFrame(m_fd, payload, m_pending, rkwire::Deadline::afterSeconds(timeoutSeconds));
    if (r != rkwire::IoResult::Ok) {
        const int err = errno;
        closeSocket();
        switch (r) {
            case rkwire::IoResult::Timeout:
                return CPvError(kPvErrTimeout, "no message within " +
                                                   std::to_string(timeoutSeconds) + " seconds");
            case rkwire::IoResult::Closed:
                return CPvError(kPvErrClosed, "connection closed by peer");
            case rkwire::IoResult::Truncated:
            case rkwire::IoResult::TooLarge:
                return CPvError(kPvErrFrame, std::string("bad frame: ") + rkwire::describe(r));
            default:
                return CPvError(kPvErrReceive, errnoText("receive failed", err));
        }
    }
    return rebuildMessage(payload, messageType, message);
}

CPvError CRkNetwork::rebuildMessage(const std::string& payload, unsigned long* messageType,
                                    CNMessageBase*& message) {
    message = nullptr;
    if (payload.empty()) return CPvError::Success();

    CNMessageBase* built = nullptr;
    std::string why;
    if (CNMessageBase::ConstructAny(payload.data(), payload.size(), built, why) != 0 || !built) {
        delete built;
        return CPvError(kPvErrDecode, "cannot rebuild the received message: " + why);
    }
    if (messageType) *messageType = built->getTagID();
    message = built;
    if (!vsdkmsg::isRegistered(built->getModuleId())) {
        return CPvError(kPvErrDecode, std::string("message ") + built->getTagName() +
                                          " of a family that is not registered");
    }
    return CPvError::Success();
}

CPvError CRkNetwork::Disconnect(int, bool&) {
    if (m_fd < 0) return CPvError(kPvErrNotConnected, "not connected");
    closeSocket();
    return CPvError::Success();
}

bool CRkNetwork::isStale() const { return !m_pending.empty() || rkwire::peerClosedOrPending(m_fd); }

std::string MangleHostName(const std::string& host, const std::string& clientName, int port1,
                           int port2) {
    return host + "*" + clientName + "*" + std::to_string(port1) + "*" + std::to_string(port2);
}
