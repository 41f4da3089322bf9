// vsdk-simserver: the simulated server service as a program.
//
//   vsdk-simserver [--port N] [--service NAME]... [--no-ipv6]
//
// Listens on loopback (port 0, the default, picks a free port), prints the
// port on the first line of its output and answers every request with its
// paired reply type and code 0 until it gets SIGINT or SIGTERM. Logins get a
// user id and a session token, logouts the number of logins that remain.
#include "LoginService.h"
#include "SimServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <string>

namespace {

int usage(const char* self) {
    std::fprintf(stderr, "usage: %s [--port N] [--service NAME]... [--no-ipv6]\n", self);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    simserver::Options options;
    bool servicesGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc) {
            char* end = nullptr;
            const long port = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || port < 0 || port > 65535) return usage(argv[0]);
            options.port = static_cast<unsigned short>(port);
        } else if (arg == "--service" && i + 1 < argc) {
            if (!servicesGiven) options.services.clear();
            servicesGiven = true;
            options.services.push_back(argv[++i]);
        } else if (arg == "--no-ipv6") {
            options.ipv6 = false;
        } else {
            return usage(argv[0]);
        }
    }

    // Signals are taken by sigwait below, not by the server's threads.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    simserver::SimServer server(options);
    if (!server.ok()) {
        std::fprintf(stderr, "vsdk-simserver: cannot listen on port %u: %s\n",
                     static_cast<unsigned>(options.port), std::strerror(errno));
        return 1;
    }
    simserver::LoginService logins(server);
    std::printf("%u\n", static_cast<unsigned>(server.port()));
    std::fflush(stdout);

    int received = 0;
    sigwait(&signals, &received);
    server.stop();
    std::fprintf(stderr, "vsdk-simserver: stopped after %zu requests\n", server.requestCount());
    return 0;
}
