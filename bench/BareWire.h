// The connection format written out by hand for the benchmark's bare client
// and canned responder, with no library code: a frame is a 4-byte big-endian
// length and that many bytes; the client's first frame is the service
// handshake "RKNET/1\nservice=<name>\nclient=<name>\nauth=<n>\n", answered
// by a frame "OK". Blocking sockets, one send() per frame, one recv() for the
// length and one for the body when the bytes have arrived.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

namespace barewire {

constexpr std::uint32_t kMaxFrame = 16u * 1024u * 1024u;

// The frame of a payload: its length prefix and its bytes.
inline std::string frame(const std::string& payload) {
    const auto n = static_cast<std::uint32_t>(payload.size());
    std::string out;
    out.reserve(4 + payload.size());
    out += static_cast<char>(n >> 24);
    out += static_cast<char>((n >> 16) & 0xFF);
    out += static_cast<char>((n >> 8) & 0xFF);
    out += static_cast<char>(n & 0xFF);
    out += payload;
    return out;
}

inline bool sendAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::send(fd, data, length, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

inline bool recvAll(int fd, char* out, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::recv(fd, out, length, MSG_WAITALL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        out += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

// Sends a frame made by frame().
inline bool sendFrame(int fd, const std::string& framed) { return sendAll(fd, framed.data(), framed.size()); }

// Reads one frame's payload into body (its capacity is kept between calls).
inline bool readFrame(int fd, std::string& body) {
    unsigned char h[4];
    if (!recvAll(fd, reinterpret_cast<char*>(h), sizeof h)) return false;
    const std::uint32_t n = (std::uint32_t(h[0]) << 24) | (std::uint32_t(h[1]) << 16) |
                            (std::uint32_t(h[2]) << 8) | std::uint32_t(h[3]);
    if (n > kMaxFrame) return false;
    body.resize(n);
    return n == 0 || recvAll(fd, &body[0], n);
}

// A connection to 127.0.0.1:port (no Nagle delay); -1 on failure.
inline int connectLoopback(unsigned short port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Connects and takes the command-line service's handshake; -1 on failure.
inline int connectToService(unsigned short port) {
    const int fd = connectLoopback(port);
    if (fd < 0) return -1;
    std::string answer;
    if (!sendFrame(fd, frame("RKNET/1\nservice=CMDLINE_SERVICE\nclient=benchclient\nauth=0\n")) ||
        !readFrame(fd, answer) || answer != "OK") {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Serves one accepted connection and closes it: the handshake answered "OK",
// then every request frame answered with the frame replyFor(request) returns.
template <typename ReplyFor>
void answerFrames(int fd, const ReplyFor& replyFor) {
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::string request;
    if (readFrame(fd, request) && request.compare(0, 8, "RKNET/1\n") == 0 && sendFrame(fd, frame("OK"))) {
        while (readFrame(fd, request) && sendFrame(fd, replyFor(request))) {
        }
    }
    ::close(fd);
}

}  // namespace barewire
