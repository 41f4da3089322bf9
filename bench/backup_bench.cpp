// The cost of one VSDKBackup call against the simulated server on loopback,
// next to a raw loopback round trip of the same request and reply frames by a
// bare socket client (BareWire.h); and backup throughput with 1, 4 and 16
// caller threads, with and without connection pooling. The goals' ratios are
// measured by vsdk-goals (goals.cpp).
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "support/TestEnv.h"

#include "BackupSample.h"
#include "BareWire.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>

namespace {

using namespace OrvaneOperations;

using namespace benchsample;

vsdktest::TestEnv* g_env = nullptr;

const Frames& frames() {
    static const Frames f = captureBackupFrames(*g_env);
    return f;
}

// A minimal responder on loopback: takes the handshake, then answers every
// frame with one fixed reply frame.
class Responder {
public:
    explicit Responder(const std::string& reply) : m_reply(barewire::frame(reply)) {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(m_listener, 4);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~Responder() {
        ::shutdown(m_listener, SHUT_RDWR);
        ::close(m_listener);
        m_thread.join();
    }
    unsigned short port() const { return m_port; }

private:
    void serve() {
        for (;;) {
            const int fd = ::accept(m_listener, nullptr, nullptr);
            if (fd < 0) return;
            barewire::answerFrames(fd, [this](const std::string&) -> const std::string& { return m_reply; });
        }
    }

    std::string m_reply;  // framed
    int m_listener = -1;
    unsigned short m_port = 0;
    std::thread m_thread;
};

// Keeps the server's journal small during long runs.
void trimJournal(long long iteration) {
    if (iteration % 512 == 511) g_env->server().clearJournal();
}

// One VSDKBackup call, end to end.
void BM_BackupCall(benchmark::State& state) {
    g_env->setPooling(false);
    g_env->initThread();
    const _QBackupParameters p = backupRecord();
    _QJobStartInfo result;
    long long n = 0;
    for (auto _ : state) {
        if (VSDKBackup(&p, &result) != 0 || result.jobId != kJobId) {
            state.SkipWithError("backup failed");
            break;
        }
        trimJournal(n++);
    }
    VSDKDeInitialize();
    state.counters["request_bytes"] = static_cast<double>(frames().request.size());
    state.counters["reply_bytes"] = static_cast<double>(frames().reply.size());
}

// The same frames by a minimal client: against the simulated server (which
// decodes, journals and encodes as for the library), and against a responder
// that only echoes a fixed reply frame (the bare loopback round trip).
void rawRoundTrip(benchmark::State& state, unsigned short port) {
    const Frames& f = frames();
    const int fd = barewire::connectToService(port);
    if (fd < 0) {
        state.SkipWithError("cannot connect");
        return;
    }
    const std::string request = barewire::frame(f.request);
    std::string reply;
    long long n = 0;
    for (auto _ : state) {
        if (!barewire::sendFrame(fd, request) || !barewire::readFrame(fd, reply)) {
            state.SkipWithError("raw exchange failed");
            break;
        }
        trimJournal(n++);
    }
    ::close(fd);
}

void BM_RawRoundTripSimServer(benchmark::State& state) {
    rawRoundTrip(state, g_env->port());
}

void BM_RawRoundTripEcho(benchmark::State& state) {
    static Responder responder(frames().reply);
    rawRoundTrip(state, responder.port());
}

// Backups per second from several caller threads; range(0): pooling on.
void poolingSetup(const benchmark::State& state) {
    frames();
    g_env->setPooling(state.range(0) != 0);
}

void BM_BackupThroughput(benchmark::State& state) {
    if (g_env->initThread() != 0) {
        state.SkipWithError("start-up failed");
        return;
    }
    const _QBackupParameters p = backupRecord();
    _QJobStartInfo result;
    long long n = 0;
    for (auto _ : state) {
        if (VSDKBackup(&p, &result) != 0) {
            state.SkipWithError("backup failed");
            break;
        }
        if (state.thread_index() == 0) trimJournal(n++);
    }
    VSDKDeInitialize();
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_BackupCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawRoundTripSimServer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawRoundTripEcho)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BackupThroughput)
    ->ArgName("pooled")
    ->Arg(0)
    ->Arg(1)
    ->Setup(poolingSetup)
    ->Threads(1)
    ->Threads(4)
    ->Threads(16)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    vsdktest::TestEnv env(backupEnvOptions());
    g_env = &env;
    scriptBackupReply(env);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_env = nullptr;
    return 0;
}
