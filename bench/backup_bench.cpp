// The cost of one VSDKBackup call against the simulated server on loopback,
// next to a raw loopback round trip of the same request and reply frames by a
// minimal socket client; and backup throughput with 1, 4 and 16 caller
// threads, with and without connection pooling.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "platform/RkWire.h"
#include "support/TestEnv.h"

#include "AllocationCounter.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <vector>
#include <memory>
#include <string>
#include <thread>

namespace {

using namespace OrvaneOperations;

constexpr long long kJobId = 0x123456789ALL;

vsdktest::TestEnv* g_env = nullptr;

template <std::size_t N>
void setText(char (&array)[N], const char* text) {
    std::strncpy(array, text, N - 1);
    array[N - 1] = '\0';
}

// A backup of one subclient as a caller would fill it.
_QBackupParameters sampleRecord() {
    _QBackupParameters p;
    p.options = 0x2;
    p.clientId = 12;
    setText(p.clientName, "client-a.example.com");
    p.appTypeId = 29;
    setText(p.appName, "File System");
    setText(p.instanceName, "DefaultInstanceName");
    setText(p.backupSetName, "defaultBackupSet");
    setText(p.subclientName, "default");
    setText(p.backupDescription, "nightly incremental");
    setText(p.storagePolicyName, "SP-gold");
    p.storagePolicyId = 7;
    p.dataPath.mediaAgentIds = {1, 2};
    p.jobDescription = {"started by the benchmark"};
    return p;
}

// Connects to 127.0.0.1:port and takes the service handshake; -1 on failure.
int connectRaw(unsigned short port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        rkwire::writeFrame(fd, rkwire::buildHello("CMDLINE_SERVICE", "benchclient", 0),
                           rkwire::Deadline::none()) != rkwire::IoResult::Ok ||
        rkwire::readFrame(fd, answer, rkwire::Deadline::none()) != rkwire::IoResult::Ok ||
        answer != "OK") {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The frames of one backup exchange: the request as the server received it
// and the reply it sends.
struct Frames {
    std::string request;
    std::string reply;
};

const Frames& frames() {
    static const Frames f = [] {
        Frames out;
        std::thread([&] {
            g_env->initThread();
            g_env->server().clearJournal();
            const _QBackupParameters p = sampleRecord();
            _QJobStartInfo result;
            VSDKBackup(&p, &result);
            VSDKDeInitialize();
        }).join();
        const auto sent = g_env->server().journal();
        if (!sent.empty()) out.request = sent.back().xml;
        QBackupRespMsg reply;
        msgf::putInt(msgf::child<QReplyErrorMsg>(reply, msgf::kReplyError), msgf::kErrorCode, 0);
        msgf::putInt(reply, kReplyJobId, kJobId);
        reply.serialize(out.reply, false);
        return out;
    }();
    return f;
}

// A minimal responder on loopback: takes the handshake, then answers every
// frame with one fixed reply frame.
class Responder {
public:
    explicit Responder(std::string reply) : m_reply(std::move(reply)) {
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
            int one = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            std::string frame;
            if (rkwire::readFrame(fd, frame, rkwire::Deadline::none()) == rkwire::IoResult::Ok &&
                rkwire::writeFrame(fd, "OK", rkwire::Deadline::none()) == rkwire::IoResult::Ok) {
                while (rkwire::readFrame(fd, frame, rkwire::Deadline::none()) == rkwire::IoResult::Ok &&
                       rkwire::writeFrame(fd, m_reply, rkwire::Deadline::none()) ==
                           rkwire::IoResult::Ok) {
                }
            }
            ::close(fd);
        }
    }

    std::string m_reply;
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
    const _QBackupParameters p = sampleRecord();
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
    const int fd = connectRaw(port);
    if (fd < 0) {
        state.SkipWithError("cannot connect");
        return;
    }
    std::string reply;
    long long n = 0;
    for (auto _ : state) {
        if (rkwire::writeFrame(fd, f.request, rkwire::Deadline::none()) != rkwire::IoResult::Ok ||
            rkwire::readFrame(fd, reply, rkwire::Deadline::none()) != rkwire::IoResult::Ok) {
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
    const _QBackupParameters p = sampleRecord();
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

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A VSDKBackup call and the bare round trip of the same frames to the same
// simulated server, alternated; the ratios of their wall time and of the
// calling thread's CPU time.
void BM_BackupVsBareClient(benchmark::State& state) {
    g_env->setPooling(false);
    g_env->initThread();
    const _QBackupParameters p = sampleRecord();
    _QJobStartInfo result;
    const Frames& f = frames();
    const int fd = connectRaw(g_env->port());
    double callWall = 0, callCpu = 0, bareWall = 0, bareCpu = 0;
    std::string reply;
    long long n = 0;
    for (auto _ : state) {
        double w = wallSeconds(), c = threadCpuSeconds();
        if (VSDKBackup(&p, &result) != 0 || result.jobId != kJobId) {
            state.SkipWithError("backup failed");
            break;
        }
        callWall += wallSeconds() - w;
        callCpu += threadCpuSeconds() - c;
        w = wallSeconds(), c = threadCpuSeconds();
        if (rkwire::writeFrame(fd, f.request, rkwire::Deadline::none()) != rkwire::IoResult::Ok ||
            rkwire::readFrame(fd, reply, rkwire::Deadline::none()) != rkwire::IoResult::Ok) {
            state.SkipWithError("bare exchange failed");
            break;
        }
        bareWall += wallSeconds() - w;
        bareCpu += threadCpuSeconds() - c;
        trimJournal(n++);
    }
    ::close(fd);
    VSDKDeInitialize();
    state.counters["call_us"] = callWall / static_cast<double>(n ? n : 1) * 1e6;
    state.counters["bare_us"] = bareWall / static_cast<double>(n ? n : 1) * 1e6;
    state.counters["wall_ratio"] = bareWall > 0 ? callWall / bareWall : 0;
    state.counters["cpu_ratio"] = bareCpu > 0 ? callCpu / bareCpu : 0;
}

// Backups per second with pooling on: one thread, then 16 threads, each
// making `calls` calls; ratio = rate(16) / (8 x rate(1)).
void BM_PooledScaling(benchmark::State& state) {
    g_env->setPooling(true);
    constexpr int kCalls = 2000;
    auto run = [](int threads) {
        std::atomic<int> failures{0};
        const double start = wallSeconds();
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&failures] {
                if (g_env->initThread() != 0) {
                    ++failures;
                    return;
                }
                const _QBackupParameters p = sampleRecord();
                _QJobStartInfo result;
                for (int k = 0; k < kCalls; ++k) {
                    if (VSDKBackup(&p, &result) != 0) ++failures;
                }
                VSDKDeInitialize();
            });
        }
        for (std::thread& w : workers) w.join();
        g_env->server().clearJournal();
        return failures.load() ? -1.0 : static_cast<double>(threads) * kCalls / (wallSeconds() - start);
    };
    double one = 0, sixteen = 0;
    for (auto _ : state) {
        one = run(1);
        sixteen = run(16);
        if (one < 0 || sixteen < 0) state.SkipWithError("backup failed");
    }
    g_env->setPooling(false);
    state.counters["rate_1"] = one;
    state.counters["rate_16"] = sixteen;
    state.counters["ratio"] = one > 0 ? sixteen / (8 * one) : 0;
}

// Heap bytes live after 10,000 and after 100,000 calls on one thread.
void BM_MemoryOverCalls(benchmark::State& state) {
    g_env->setPooling(false);
    g_env->initThread();
    const _QBackupParameters p = sampleRecord();
    _QJobStartInfo result;
    long long at10k = 0, at100k = 0;
    for (auto _ : state) {
        for (int k = 1; k <= 100000; ++k) {
            if (VSDKBackup(&p, &result) != 0) {
                state.SkipWithError("backup failed");
                break;
            }
            if (k % 512 == 0 || k == 10000) g_env->server().clearJournal();
            if (k == 10000) at10k = allocation::g_live.load();
        }
        g_env->server().clearJournal();
        at100k = allocation::g_live.load();
    }
    VSDKDeInitialize();
    state.counters["live_10k"] = static_cast<double>(at10k);
    state.counters["live_100k"] = static_cast<double>(at100k);
}

BENCHMARK(BM_BackupVsBareClient)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PooledScaling)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryOverCalls)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
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
    vsdktest::EnvOptions options;
    options.debugLevel = 1;        // failures and result lines, as in production
    options.commandTimeout = 60;
    vsdktest::TestEnv env(options);
    g_env = &env;
    env.server().replyWith(QBackupInfoMsg::kTag, QBackupRespMsg::kTag,
                           [](const CNMessageBase&, CNMessageBase& reply) {
                               msgf::putInt(reply, kReplyJobId, kJobId);
                           });
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_env = nullptr;
    return 0;
}
