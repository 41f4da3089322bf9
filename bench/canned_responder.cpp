// canned-responder: the far end of the pooled benchmark, as a process of its
// own. It answers each request frame with a canned reply frame, without
// decoding anything.
//
//   canned-responder <table file>
//
// The table file holds frames (BareWire.h) in pairs: a text and the reply
// payload sent for a request whose first 256 bytes hold that text; the last
// pair's reply answers a request that matches none. The program listens on
// 127.0.0.1 (a free port), prints the port on its first line, serves each
// connection on a thread of its own (handshake answered "OK") and ends when
// its standard input reaches its end (the benchmark holds the other end).
#include "BareWire.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace {

struct Canned {
    std::string match;
    std::string replyFrame;
};

std::vector<Canned> g_table;

bool loadTable(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> payloads;
    for (std::size_t at = 0; at + 4 <= text.size();) {
        const auto* h = reinterpret_cast<const unsigned char*>(text.data() + at);
        const std::size_t n = (std::size_t(h[0]) << 24) | (std::size_t(h[1]) << 16) |
                              (std::size_t(h[2]) << 8) | std::size_t(h[3]);
        if (at + 4 + n > text.size()) return false;
        payloads.push_back(text.substr(at + 4, n));
        at += 4 + n;
    }
    for (std::size_t k = 0; k + 1 < payloads.size(); k += 2) {
        g_table.push_back({payloads[k], barewire::frame(payloads[k + 1])});
    }
    return !g_table.empty();
}

const std::string& replyFor(const std::string& request) {
    const std::string_view head(request.data(), request.size() < 256 ? request.size() : 256);
    for (const Canned& c : g_table) {
        if (!c.match.empty() && head.find(c.match) != std::string_view::npos) return c.replyFrame;
    }
    return g_table.back().replyFrame;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || !loadTable(argv[1])) {
        std::fprintf(stderr, "usage: %s <table file of frame pairs: text, reply>\n", argv[0]);
        return 2;
    }
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listener, 128) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        std::perror("canned-responder: listen");
        return 1;
    }
    std::printf("%u\n", static_cast<unsigned>(ntohs(addr.sin_port)));
    std::fflush(stdout);
    // The benchmark going away (its end of our standard input closing) ends us.
    std::thread([] {
        char c;
        while (::read(0, &c, 1) > 0) {
        }
        std::_Exit(0);
    }).detach();
    for (;;) {
        const int fd = ::accept(listener, nullptr, nullptr);
        if (fd < 0) {
            if (errno == EINTR) continue;
            return 1;
        }
        std::thread([fd] { barewire::answerFrames(fd, replyFor); }).detach();
    }
}
