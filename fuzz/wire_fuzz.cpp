// Fuzzes the connection's frame reader with the bytes a peer sends: the first
// frame is the service handshake (the client reads the answer, the server
// parses the hello), every later frame a message received through
// CRkNetwork::ReceiveXMLMessage. The first input byte sets how the bytes
// arrive: all before the reader starts, or in pieces from a writer thread
// while it reads, so that reads end inside a length prefix or a body.
#include "FuzzSupport.h"

#include "platform/CNMessageBase.h"
#include "platform/CRkNetwork.h"
#include "platform/RkWire.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

const char kTarget[] = "wire_fuzz";

// Writes data to fd in pieces of chunk bytes (all at once when chunk is 0),
// then ends the stream. A reader that gave up closes its side; the send then
// fails and the writer stops.
void feed(int fd, const std::uint8_t* data, std::size_t size, std::size_t chunk) {
    std::size_t done = 0;
    while (done < size) {
        const std::size_t n = chunk == 0 ? size - done : std::min(chunk, size - done);
        const ssize_t sent = ::send(fd, data + done, n, MSG_NOSIGNAL);
        if (sent <= 0) break;
        done += static_cast<std::size_t>(sent);
    }
    ::shutdown(fd, SHUT_WR);
}

bool hasLineBreakOrZero(const std::string& s) {
    return s.find_first_of(std::string("\n\r\0", 3)) != std::string::npos;
}

void checkHello(const std::string& payload) {
    std::string service, client;
    int auth = -1;
    if (!rkwire::parseHello(payload, service, client, auth)) return;
    if (auth < 0 || auth > 0xFFFF) fuzzBroken(kTarget, "handshake method out of range");
    if (hasLineBreakOrZero(service) || hasLineBreakOrZero(client)) return;
    std::string s2, c2;
    int a2 = -1;
    if (!rkwire::parseHello(rkwire::buildHello(service, client, auth), s2, c2, a2) || s2 != service ||
        c2 != client || a2 != auth)
        fuzzBroken(kTarget, "handshake does not read back");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    useEmptyRegistry();
    std::signal(SIGPIPE, SIG_IGN);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0) fuzzBroken(kTarget, "socketpair");
    // Inputs of up to 64 KiB fit the socket's buffer at once.
    std::thread writer;
    if ((data[0] & 0x80) && size <= 65536) {
        feed(sv[1], data + 1, size - 1, 0);
    } else {
        writer = std::thread(feed, sv[1], data + 1, size - 1, static_cast<std::size_t>(data[0] & 0x7F) + 1);
    }

    // The handshake answer, read as the attach does.
    std::string answer;
    const rkwire::IoResult r =
        rkwire::readFrame(sv[0], answer, rkwire::Deadline::after(std::chrono::seconds(5)));
    if (r == rkwire::IoResult::Timeout) fuzzBroken(kTarget, "handshake read timed out");
    if (r != rkwire::IoResult::Ok) {
        if (!answer.empty()) fuzzBroken(kTarget, "failed frame read left a payload");
        ::close(sv[0]);
    } else {
        if (answer.size() > rkwire::kMaxFrameBytes) fuzzBroken(kTarget, "frame over the maximum");
        checkHello(answer);
        // The messages after it, until the peer's end of stream closes the
        // connection.
        CRkNetwork net;
        net.adoptSocket(sv[0]);
        bool abort = false;
        while (net.IsConnected()) {
            unsigned long type = 0;
            CNMessageBase* raw = nullptr;
            const CPvError e = net.ReceiveXMLMessage(&type, raw, nullptr, 0, 5, abort);
            std::unique_ptr<CNMessageBase> message(raw);
            if (e.GetErrorCode() == kPvErrTimeout) fuzzBroken(kTarget, "receive timed out");
            if (!e.IsError() && message && message->getTagID() != type)
                fuzzBroken(kTarget, "message type differs from its tag");
            if (e.IsError() && message && e.GetErrorCode() != kPvErrDecode)
                fuzzBroken(kTarget, "failed receive handed out a message");
        }
    }
    if (writer.joinable()) writer.join();
    ::close(sv[1]);
    return 0;
}
