// vsdk-simserver: the simulated server service as a program.
//
//   vsdk-simserver [--port N]
//
// Listens on loopback (port 0, the default: a free one), prints the port on
// its first line and answers every request as a server would (its paired
// reply type, code 0, a new id for each job start and creation, logins with
// a token) until SIGINT or SIGTERM.
#include "LoginService.h"
#include "SimServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <string>

int main(int argc, char** argv) {
    long port = 0;
    char* end = nullptr;
    if (argc == 3 && std::string(argv[1]) == "--port") port = std::strtol(argv[2], &end, 10);
    if ((argc != 1 && (argc != 3 || !end || *end != '\0')) || port < 0 || port > 65535) {
        std::fprintf(stderr, "usage: %s [--port N]\n", argv[0]);
        return 2;
    }
    // Signals are taken by sigwait below, not by the server's threads.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    simserver::SimServer server(static_cast<unsigned short>(port));
    if (!server.ok()) {
        std::fprintf(stderr, "vsdk-simserver: cannot listen on port %ld\n", port);
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
