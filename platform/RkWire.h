// Stand-in for the network library's wire format, shared by the client
// (CRkNetwork) and the simulated server.
//
// A connection carries frames: a 4-byte big-endian length, then that many
// bytes. The first frame from the client is the service handshake
//   "RKNET/1\nservice=<name>\nclient=<local client name>\nauth=<method>\n"
// which the server answers with a frame "OK" or "REFUSED <reason>". After it,
// every frame holds one serialised message (XML text); a frame of length 0
// carries no message.
#pragma once

#include "XMLCodec.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace rkwire {

// Largest frame either side accepts: one message, as large as the XML reader
// takes a document.
constexpr std::size_t kMaxFrameBytes = vsdkmsg::kMaxDocumentBytes;
constexpr const char* kHelloMagic = "RKNET/1";

using Clock = std::chrono::steady_clock;

// A point in time after which an operation gives up; none() never expires.
struct Deadline {
    bool limited = false;
    Clock::time_point at{};

    static Deadline none() { return Deadline(); }
    static Deadline after(std::chrono::milliseconds d) {
        Deadline x;
        x.limited = true;
        x.at = Clock::now() + d;
        return x;
    }
    // Seconds < 0: no limit.
    static Deadline afterSeconds(long long seconds) {
        return seconds < 0 ? none() : after(std::chrono::seconds(seconds));
    }
    // Milliseconds left for poll(): -1 without a limit, 0 when expired.
    int pollMillis() const;
};

enum class IoResult {
    Ok,
    Timeout,    // the deadline passed
    Closed,     // the peer closed before the first byte of a frame
    Truncated,  // the peer closed inside a frame
    TooLarge,   // the length prefix exceeds kMaxFrameBytes
    Error,      // a socket error (errno kept by the caller's errnoText)
};

const char* describe(IoResult r);

// Writes every byte (no SIGPIPE).
IoResult writeAll(int fd, const void* data, std::size_t length, const Deadline& deadline);
IoResult writeFrame(int fd, const std::string& payload, const Deadline& deadline);
// Reads one frame into payload.
IoResult readFrame(int fd, std::string& payload, const Deadline& deadline);
// The same for a reader that keeps its connection's bytes between frames:
// pending holds bytes read past the previous frame (taken first) and is left
// with those read past this one.
IoResult readFrame(int fd, std::string& payload, std::string& pending, const Deadline& deadline);

// The 4-byte length prefix of a frame of length bytes.
std::string frameHeader(std::uint32_t length);

std::string buildHello(const std::string& service, const std::string& client, int authMethod);
// False when the text is not a handshake.
bool parseHello(const std::string& payload, std::string& service, std::string& client,
                int& authMethod);

// Whether the peer closed the connection or sent bytes nobody asked for; a
// connection in either state cannot carry a new exchange.
bool peerClosedOrPending(int fd);

}  // namespace rkwire
