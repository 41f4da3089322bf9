// vsdk-simserver: the simulated server service as a program.
//
//   vsdk-simserver [--port N] [--no-ipv6]
//
// Listens on loopback (port 0, the default, picks a free port), prints the
// port on the first line of its output and answers every request with its
// paired reply type and code 0 (logins with a session token, logouts with the
// logins that remain) until it gets SIGINT or SIGTERM.
#include "LoginService.h"
#include "SimServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <string>

int main(int argc, char** argv) {
    simserver::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        char* end = nullptr;
        const long port = arg == "--port" && i + 1 < argc ? std::strtol(argv[++i], &end, 10) : -1;
        if (arg == "--no-ipv6") {
            options.ipv6 = false;
        } else if (port < 0 || port > 65535 || *end != '\0') {
            std::fprintf(stderr, "usage: %s [--port N] [--no-ipv6]\n", argv[0]);
            return 2;
        } else {
            options.port = static_cast<unsigned short>(port);
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
        std::fprintf(stderr, "vsdk-simserver: cannot listen on port %ld\n",
                     static_cast<long>(options.port));
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
