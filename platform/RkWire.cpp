#include "RkWire.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace rkwire {

int Deadline::pollMillis() const {
    if (!limited) return -1;
    const auto left = at - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    // Round up so that a wait never ends before the deadline.
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(left);
    long long n = ms.count() + (ms < left ? 1 : 0);
    if (n > 0x7fffffffLL) n = 0x7fffffffLL;
    return static_cast<int>(n);
}

const char* describe(IoResult r) {
    switch (r) {
        case IoResult::Ok:
            return "success";
        case IoResult::Timeout:
            return "timed out";
        case IoResult::Closed:
            return "connection closed by peer";
        case IoResult::Truncated:
            return "connection closed inside a frame";
        case IoResult::TooLarge:
            return "frame larger than the maximum";
        case IoResult::Error:
            return "socket error";
    }
    return "unknown";
}

namespace {

// Waits until fd is ready for events; Ok, Timeout or Error.
IoResult waitFor(int fd, short events, const Deadline& deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int timeout = deadline.pollMillis();
        const int n = ::poll(&p, 1, timeout);
        if (n > 0) return IoResult::Ok;  // readiness, hang-up or error: the I/O call tells which
        if (n == 0) {
            if (deadline.limited && deadline.pollMillis() == 0) return IoResult::Timeout;
            continue;
        }
        if (errno == EINTR) continue;
        return IoResult::Error;
    }
}

// Reads exactly length bytes; Closed when the peer closed before any byte.
IoResult readExact(int fd, char* out, std::size_t length, const Deadline& deadline) {
    // The bytes are read first and waited for only when none are there yet:
    // a reply that has already arrived costs no poll().
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::recv(fd, out + done, length - done, MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0) return done == 0 ? IoResult::Closed : IoResult::Truncated;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            const IoResult w = waitFor(fd, POLLIN, deadline);
            if (w != IoResult::Ok) return w;
            continue;
        }
        if (errno == ECONNRESET) return done == 0 ? IoResult::Closed : IoResult::Truncated;
        return IoResult::Error;
    }
    return IoResult::Ok;
}

}  // namespace

IoResult writeAll(int fd, const void* data, std::size_t length, const Deadline& deadline) {
    const char* p = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::send(fd, p + done, length - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // The socket's buffer is full: wait until it drains, within the deadline.
            const IoResult w = waitFor(fd, POLLOUT, deadline);
            if (w != IoResult::Ok) return w;
            continue;
        }
        if (n < 0 && (errno == EPIPE || errno == ECONNRESET)) return IoResult::Closed;
        return IoResult::Error;
    }
    return IoResult::Ok;
}

std::string frameHeader(std::uint32_t length) {
    std::string h(4, '\0');
    h[0] = static_cast<char>((length >> 24) & 0xFF);
    h[1] = static_cast<char>((length >> 16) & 0xFF);
    h[2] = static_cast<char>((length >> 8) & 0xFF);
    h[3] = static_cast<char>(length & 0xFF);
    return h;
}

IoResult writeFrame(int fd, const std::string& payload, const Deadline& deadline) {
    if (payload.size() > kMaxFrameBytes) return IoResult::TooLarge;
    std::string frame = frameHeader(static_cast<std::uint32_t>(payload.size()));
    frame += payload;
    return writeAll(fd, frame.data(), frame.size(), deadline);
}

namespace {

std::uint32_t frameLength(const unsigned char* h) {
    return (std::uint32_t(h[0]) << 24) | (std::uint32_t(h[1]) << 16) | (std::uint32_t(h[2]) << 8) |
           std::uint32_t(h[3]);
}

// Reads the rest of a frame's body of length bytes after the body.size()
// bytes already there. The body grows as its bytes arrive: a length prefix
// alone never makes the reader hold the whole announced size.
IoResult readBody(int fd, std::string& body, std::size_t length, const Deadline& deadline) {
    constexpr std::size_t kStep = 256u * 1024u;
    while (body.size() < length) {
        const std::size_t done = body.size();
        const std::size_t want = std::min<std::size_t>(length - done, done < kStep ? kStep : done);
        body.resize(done + want);
        const IoResult r = readExact(fd, &body[done], want, deadline);
        if (r == IoResult::Closed) return IoResult::Truncated;
        if (r != IoResult::Ok) return r;
    }
    return IoResult::Ok;
}

}  // namespace

IoResult readFrame(int fd, std::string& payload, const Deadline& deadline) {
    payload.clear();
    unsigned char h[4];
    IoResult r = readExact(fd, reinterpret_cast<char*>(h), sizeof h, deadline);
    if (r != IoResult::Ok) return r;
    const std::uint32_t length = frameLength(h);
    if (length > kMaxFrameBytes) return IoResult::TooLarge;
    std::string body;
    r = readBody(fd, body, length, deadline);
    if (r != IoResult::Ok) return r;
    payload.swap(body);
    return IoResult::Ok;
}

IoResult readFrame(int fd, std::string& payload, std::string& pending, const Deadline& deadline) {
    payload.clear();
    // Waited for first: an answer is read after its request went out, so a
    // read before the wait would only find nothing. One read then takes the
    // length prefix and, when they have arrived, the bytes of the frame.
    while (pending.size() < 4) {
        const IoResult w = waitFor(fd, POLLIN, deadline);
        if (w != IoResult::Ok) return w;
        char chunk[16384];
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) {
            pending.append(chunk, static_cast<std::size_t>(n));
            continue;
        }
        if (n == 0 || errno == ECONNRESET) {
            return pending.empty() ? IoResult::Closed : IoResult::Truncated;
        }
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return IoResult::Error;
    }
    const std::uint32_t length = frameLength(reinterpret_cast<const unsigned char*>(pending.data()));
    if (length > kMaxFrameBytes) return IoResult::TooLarge;
    if (pending.size() - 4 >= length) {
        payload.assign(pending, 4, length);
        pending.erase(0, 4 + std::size_t(length));
        return IoResult::Ok;
    }
    std::string body(pending, 4);
    pending.clear();
    const IoResult r = readBody(fd, body, length, deadline);
    if (r != IoResult::Ok) return r;
    payload.swap(body);
    return IoResult::Ok;
}

namespace {

// Handshake values are single lines.
std::string oneLine(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c != '\n' && c != '\r' && c != '\0') out += c;
    }
    return out;
}

}  // namespace

std::string buildHello(const std::string& service, const std::string& client, int authMethod) {
    return std::string(kHelloMagic) + "\nservice=" + oneLine(service) + "\nclient=" +
           oneLine(client) + "\nauth=" + std::to_string(authMethod) + "\n";
}

bool parseHello(const std::string& payload, std::string& service, std::string& client,
                int& authMethod) {
    const std::string magic = std::string(kHelloMagic) + "\n";
    if (payload.compare(0, magic.size(), magic) != 0) return false;
    bool haveService = false, haveClient = false, haveAuth = false;
    std::size_t pos = magic.size();
    while (pos < payload.size()) {
        std::size_t end = payload.find('\n', pos);
        if (end == std::string::npos) return false;
        const std::string line = payload.substr(pos, end - pos);
        pos = end + 1;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) return false;
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (key == "service") {
            service = value;
            haveService = true;
        } else if (key == "client") {
            client = value;
            haveClient = true;
        } else if (key == "auth") {
            char* endp = nullptr;
            errno = 0;
            long v = std::strtol(value.c_str(), &endp, 10);
            if (value.empty() || *endp != '\0' || errno != 0 || v < 0 || v > 0xFFFF) return false;
            authMethod = static_cast<int>(v);
            haveAuth = true;
        }
    }
    return haveService && haveClient && haveAuth;
}

bool peerClosedOrPending(int fd) {
    if (fd < 0) return true;
    pollfd p{fd, POLLIN, 0};
    int n;
    do {
        n = ::poll(&p, 1, 0);
    } while (n < 0 && errno == EINTR);
    // Any event on an idle connection (readable, hang-up, error) means the
    // peer closed or sent bytes that belong to no request of ours; a failed
    // poll leaves it unusable too.
    return n != 0;
}

}  // namespace rkwire
