// vsdk-goals: every performance goal of the library measured in one run,
// each as several rounds printed as minimum, median and maximum.
//
//   vsdk-goals [--rounds N]      (N >= 5, default 7)
//   vsdk-goals --calls N         N backups on one thread, nothing measured: to
//                                trace or profile that thread (its id printed)
//
// Lines starting "GOAL" are the figures bench/README.md quotes; "REF" lines
// are reference figures beside them. The phases, in order:
//   1. decoding: a 50,000-row listing decoded (its release included) next to
//      a bare Xerces SAX2 parse of the same text; the heap peak of the first
//      decode on a fresh thread and the heap the thread keeps afterwards, for
//      each document shape at its usual size and just under the largest
//      document accepted (16 MiB);
//   2. one thread: a VSDKBackup call and a bare client's round trip of the
//      same frames to the same simulated server (in this process), alternated;
//   3. pooled: backups per second from 1 and from 16 threads against the
//      canned responder (another process, on CPUs of its own where the
//      machine has enough); the heap after 10,000 and 100,000 calls;
//   4. pooled against the simulated server in this process, for reference.
// Each network phase starts once the registry it reads has stayed unchanged
// past the registry reader's freshness window.
#include "VSDK.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "platform/CNMessageBase.h"
#include "platform/XMLCodec.h"
#include "support/TestEnv.h"

#include "AllocationCounter.h"
#include "BackupSample.h"
#include "BareWire.h"
#include "ListingSample.h"

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>

#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace OrvaneOperations;
using namespace benchsample;
using Clock = std::chrono::steady_clock;

// The registry reader takes a section file as settled once its modification
// time is more than this many seconds old; until then it re-reads the file on
// every value asked for.
constexpr int kRegistryFreshSeconds = 2;

int g_rounds = 7;

// ---------------------------------------------------------------- figures

struct Spread {
    double min = 0, median = 0, max = 0;
};

Spread spread(std::vector<double> v) {
    Spread s;
    if (v.empty()) return s;
    std::sort(v.begin(), v.end());
    s.min = v.front();
    s.max = v.back();
    const std::size_t m = v.size() / 2;
    s.median = v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
    return s;
}

// "GOAL <what> (<goal>): median M  [min m, max x, n rounds]  <extra>"
void printLine(const char* kind, const std::string& what, const char* goal, const std::vector<double>& v,
               const char* format, const std::string& extra = std::string()) {
    const Spread s = spread(v);
    char m[32], lo[32], hi[32];
    std::snprintf(m, sizeof m, format, s.median);
    std::snprintf(lo, sizeof lo, format, s.min);
    std::snprintf(hi, sizeof hi, format, s.max);
    std::printf("%s %s%s%s%s: median %s  [min %s, max %s, %zu rounds]%s%s\n", kind, what.c_str(),
                goal ? " (goal " : "", goal ? goal : "", goal ? ")" : "", m, lo, hi, v.size(),
                extra.empty() ? "" : "  ", extra.c_str());
    std::fflush(stdout);
}

std::string medianOf(const char* label, const std::vector<double>& v, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, spread(v).median);
    return std::string(label) + " " + text;
}

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

double threadCpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU seconds used so far by this process, and by process pid (0: none).
double processCpu() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

double processCpu(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t end = text.rfind(')');
    if (pid <= 0 || end == std::string::npos) return 0;
    std::istringstream fields(text.substr(end + 2));
    std::string field;
    double ticks = 0;
    for (int k = 3; fields >> field && k <= 15; ++k) {
        if (k == 14 || k == 15) ticks += std::atof(field.c_str());  // utime, stime
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

void runOnFreshThread(const std::function<void()>& work) { std::thread(work).join(); }

// ---------------------------------------------------------------- CPUs

std::vector<int> allowedCpus() {
    cpu_set_t set;
    CPU_ZERO(&set);
    std::vector<int> cpus;
    if (sched_getaffinity(0, sizeof set, &set) != 0) return cpus;
    for (int c = 0; c < CPU_SETSIZE; ++c) {
        if (CPU_ISSET(c, &set)) cpus.push_back(c);
    }
    return cpus;
}

bool pinTo(const std::vector<int>& cpus) {
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int c : cpus) CPU_SET(c, &set);
    return !cpus.empty() && sched_setaffinity(0, sizeof set, &set) == 0;
}

std::string cpuList(const std::vector<int>& cpus) {
    std::string out;
    for (int c : cpus) out += (out.empty() ? "" : ",") + std::to_string(c);
    return out;
}

// The CPUs of the canned responder (the last eighth, at least one) and of
// this process (the rest); a caller thread timed alone runs on the first of
// these and the simulated server's threads on the others, so that a request
// and its answer always cross between CPUs, as they do to a server elsewhere.
// Nothing is pinned on fewer than four CPUs.
std::vector<int> g_callerCpus, g_responderCpus;

void splitCpus() {
    const std::vector<int> cpus = allowedCpus();
    if (cpus.size() < 4) return;
    const std::size_t own = std::max<std::size_t>(1, cpus.size() / 8);
    g_callerCpus.assign(cpus.begin(), cpus.end() - static_cast<long>(own));
    g_responderCpus.assign(cpus.end() - static_cast<long>(own), cpus.end());
    if (!pinTo(g_callerCpus)) g_callerCpus.clear(), g_responderCpus.clear();
}

// Pins the calling thread to the first caller CPU.
void pinLoneCaller() {
    if (!g_callerCpus.empty()) pinTo({g_callerCpus.front()});
}

// The CPUs of the simulated server's threads.
std::vector<int> serverCpus() {
    return g_callerCpus.empty() ? g_callerCpus : std::vector<int>(g_callerCpus.begin() + 1, g_callerCpus.end());
}

// ---------------------------------------------------------------- documents

enum Shape { kListing, kLongText, kBareObjects, kTextList, kIntList, kShapes };
const char* const kShapeNames[kShapes] = {"listing rows", "one long text", "bare objects", "text list",
                                          "int list"};
// The usual sizes: 50,000 elements, a 4 MiB text.
constexpr int kUsualCount = 50000;
constexpr int kUsualText = 4 << 20;

// A listing reply of `count` rows, each a time object with its five fields
// and a name; or `count` elements of another shape (for a long text: a text
// of `count` bytes).
std::string document(Shape shape, int count) {
    auto message = std::make_unique<QExecuteRespMsg>();
    if (shape == kListing) {
        auto& rows = listingReply(*message, count);
        for (int k = 0; k < count; ++k) rows.push_back(listingRow(k));
    } else if (shape == kLongText) {
        msgf::putText(*message, kRowName, std::string(static_cast<std::size_t>(count), 'x'));
    } else {
        for (int k = 0; k < count; ++k) {
            if (shape == kBareObjects) msgf::appendObject(*message, kRows, QTime());
            if (shape == kTextList) msgf::appendText(*message, kNames, "/data/backup/set" + std::to_string(k));
            if (shape == kIntList) msgf::appendInt(*message, kIds, k);
        }
    }
    std::string xml;
    message->serialize(xml, false);
    return xml;
}

// The shape's document with as many elements as fit in limit bytes (at most
// one element's size under it).
std::string documentUnder(Shape shape, std::size_t limit) {
    const std::string a = document(shape, 1000), b = document(shape, 2000);
    const double per = static_cast<double>(b.size() - a.size()) / 1000.0;
    const double fixed = static_cast<double>(a.size()) - 1000.0 * per;
    int count = static_cast<int>((static_cast<double>(limit) - fixed) / per);
    for (;;) {
        std::string xml = document(shape, count);
        if (xml.size() <= limit) return xml;
        count -= static_cast<int>(static_cast<double>(xml.size() - limit) / per) + 1;
    }
}

bool decodeAndRelease(const std::string& xml, std::string& error) {
    CNMessageBase* out = nullptr;
    const int rc = CNMessageBase::ConstructObject(QExecuteRespMsg::kTag, xml.c_str(), out, false, error);
    delete out;
    return rc == 0;
}

// ---------------------------------------------------------------- phase 1: decoding

// A bare SAX2 reader: an empty handler, the features the library's reader sets.
struct BareSax {
    std::unique_ptr<xercesc::SAX2XMLReader> reader{xercesc::XMLReaderFactory::createXMLReader()};
    xercesc::DefaultHandler handler;

    BareSax() {
        reader->setFeature(xercesc::XMLUni::fgSAX2CoreNameSpaces, false);
        reader->setFeature(xercesc::XMLUni::fgSAX2CoreValidation, false);
        reader->setFeature(xercesc::XMLUni::fgXercesLoadExternalDTD, false);
        reader->setContentHandler(&handler);
        reader->setErrorHandler(&handler);
    }
    void parse(const std::string& xml) {
        xercesc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(xml.data()), xml.size(), "bench");
        reader->parse(source);
    }
};

void decodingVsBareSax() {
    const std::string xml = document(kListing, 50000);
    BareSax sax;
    std::string error;
    // Both warm: the thread's parser and the bare reader exist already.
    if (!decodeAndRelease(xml, error)) {
        std::printf("ERROR decoding the listing: %s\n", error.c_str());
        return;
    }
    sax.parse(xml);
    std::vector<double> ratio, decodeMs, releaseMs, saxMs;
    for (int r = 0; r < g_rounds; ++r) {
        double d = 0, f = 0, s = 0;
        for (int k = 0; k < 3; ++k) {
            Clock::time_point t = Clock::now();
            CNMessageBase* out = nullptr;
            CNMessageBase::ConstructObject(QExecuteRespMsg::kTag, xml.c_str(), out, false, error);
            const double decoded = seconds(t);
            delete out;
            d += seconds(t);
            f += seconds(t) - decoded;
            t = Clock::now();
            sax.parse(xml);
            s += seconds(t);
        }
        ratio.push_back(d / s);
        decodeMs.push_back(d / 3 * 1e3);
        releaseMs.push_back(f / 3 * 1e3);
        saxMs.push_back(s / 3 * 1e3);
    }
    printLine("GOAL", "decode+release / bare SAX2 parse, 50,000-row listing of " + std::to_string(xml.size()) +
                          " bytes", "<= 1.3", ratio, "%.2f",
              medianOf("decode+release ms", decodeMs, "%.1f") + " (" + medianOf("release", releaseMs, "%.1f") +
                  "), " + medianOf("SAX2 ms", saxMs, "%.1f"));
}

struct ColdFigures {
    double peakOverSize = 0;
    double keptBytes = 0;
};

// The first decode on a fresh thread: its heap peak over the document's size
// and the heap the thread still holds once the message is released.
ColdFigures coldDecode(const std::string& xml, unsigned long tag = QExecuteRespMsg::kTag) {
    ColdFigures f;
    runOnFreshThread([&] {
        std::string error;
        const long long before = allocation::restartPeak();
        CNMessageBase* out = nullptr;
        const int rc = CNMessageBase::ConstructObject(tag, xml.c_str(), out, false, error);
        const long long peak = allocation::g_peak.load();
        delete out;
        if (rc != 0) {
            std::printf("ERROR decoding a document of %zu bytes: %s\n", xml.size(), error.c_str());
            f.peakOverSize = -1;
            return;
        }
        f.peakOverSize = static_cast<double>(peak - before) / static_cast<double>(xml.size());
        f.keptBytes = static_cast<double>(allocation::g_live.load() - before);
    });
    return f;
}

void coldPeaks() {
    const int rounds = std::max(5, g_rounds - 2);
    for (int big = 0; big < 2; ++big) {
        for (int s = 0; s < kShapes; ++s) {
            const Shape shape = static_cast<Shape>(s);
            const std::string xml = big ? documentUnder(shape, vsdkmsg::kMaxDocumentBytes)
                                        : document(shape, shape == kLongText ? kUsualText : kUsualCount);
            std::vector<double> peak, kept;
            for (int r = 0; r < rounds; ++r) {
                const ColdFigures f = coldDecode(xml);
                if (f.peakOverSize < 0) break;
                peak.push_back(f.peakOverSize);
                kept.push_back(f.keptBytes / 1048576.0);
            }
            char what[160];
            std::snprintf(what, sizeof what, "cold decode peak / document, %s, %.2f MiB%s", kShapeNames[s],
                          static_cast<double>(xml.size()) / 1048576.0, big ? " (largest)" : "");
            printLine("GOAL", what, "<= 4", peak, "%.2f",
                      medianOf("kept by the thread after release (goal <= ~1 MiB): MiB", kept, "%.2f"));
            if (!big) continue;
            // What Xerces needs for the same document on its own.
            std::vector<double> saxPeak;
            for (int r = 0; r < rounds; ++r) {
                runOnFreshThread([&] {
                    const long long before = allocation::restartPeak();
                    BareSax sax;
                    sax.parse(xml);
                    saxPeak.push_back(static_cast<double>(allocation::g_peak.load() - before) /
                                      static_cast<double>(xml.size()));
                });
            }
            printLine("REF", std::string("cold bare SAX2 parse peak / document, ") + kShapeNames[s] + " (largest)",
                      nullptr, saxPeak, "%.2f");
        }
    }
}

// ---------------------------------------------------------------- the registry

// Waits until every registry file has stayed unchanged past the reader's
// freshness window (one second to spare).
void waitPastRegistryWindow(const vsdktest::TestEnv& env) {
    namespace fs = std::filesystem;
    std::time_t newest = 0;
    for (const auto& entry : fs::recursive_directory_iterator(env.root())) {
        if (entry.path().string().rfind(env.logDir(), 0) == 0 || !entry.is_regular_file()) continue;
        struct stat st;
        if (::stat(entry.path().c_str(), &st) == 0) newest = std::max(newest, st.st_mtim.tv_sec);
    }
    const std::time_t from = newest + kRegistryFreshSeconds + 2;
    const std::time_t now = std::time(nullptr);
    if (now < from) std::this_thread::sleep_for(std::chrono::seconds(from - now));
    std::printf("INFO registry last written %ld s before this phase's measurements began; load average %s\n",
                static_cast<long>(std::time(nullptr) - newest), loadAverage().c_str());
}

// ---------------------------------------------------------------- backups

vsdktest::TestEnv* g_env = nullptr;

bool backupOnce(const _QBackupParameters& p, _QJobStartInfo& result) {
    return VSDKBackup(&p, &result) == 0 && result.jobId == kJobId;
}

// The server's journal kept small during long runs.
void trimJournal(long long call) {
    if (call % 512 == 511) g_env->server().clearJournal();
}

// ---------------------------------------------------------------- phase 2: one thread

void callVsBare(const Frames& frames, unsigned short port, const char* kind, const std::string& against) {
    constexpr int kPairs = 2000;
    std::vector<double> wall, cpu, callUs, bareUs, callCpuUs, bareCpuUs;
    bool failed = false;
    runOnFreshThread([&] {
        pinLoneCaller();
        g_env->initThread();
        const int fd = barewire::connectToService(port);
        const std::string request = barewire::frame(frames.request);
        const _QBackupParameters p = backupRecord();
        _QJobStartInfo result;
        std::string reply;
        reply.reserve(4096);
        long long n = 0;
        for (int r = -1; r < g_rounds && !failed; ++r) {
            double cw = 0, cc = 0, bw = 0, bc = 0;
            const int pairs = r < 0 ? 200 : kPairs;  // round -1 warms both up
            for (int k = 0; k < pairs; ++k) {
                Clock::time_point t = Clock::now();
                double c = threadCpu();
                if (!backupOnce(p, result)) failed = true;
                cw += seconds(t);
                cc += threadCpu() - c;
                t = Clock::now();
                c = threadCpu();
                if (!barewire::sendFrame(fd, request) || !barewire::readFrame(fd, reply)) failed = true;
                bw += seconds(t);
                bc += threadCpu() - c;
                trimJournal(n++);
                if (failed) break;
            }
            if (r < 0) continue;
            wall.push_back(cw / bw);
            cpu.push_back(cc / bc);
            callUs.push_back(cw / pairs * 1e6);
            bareUs.push_back(bw / pairs * 1e6);
            callCpuUs.push_back(cc / pairs * 1e6);
            bareCpuUs.push_back(bc / pairs * 1e6);
        }
        ::close(fd);
        VSDKDeInitialize();
    });
    g_env->server().clearJournal();
    if (failed) std::printf("ERROR a backup or a bare exchange failed\n");
    printLine(kind, "VSDKBackup call / bare round trip, wall time, " + against, "<= 1.2", wall, "%.2f",
              medianOf("call us", callUs, "%.1f") + ", " + medianOf("bare us", bareUs, "%.1f"));
    printLine(kind, "VSDKBackup call / bare round trip, calling thread's CPU, " + against, "<= 3", cpu, "%.2f",
              medianOf("call CPU us", callCpuUs, "%.1f") + ", " + medianOf("bare CPU us", bareCpuUs, "%.1f"));
}

// The calling thread's CPU for two parts of a call, each repeated alone:
// decoding (and releasing) the backup reply, serialising the backup request.
void callParts(const Frames& frames) {
    constexpr int kTimes = 5000;
    std::vector<double> decodeUs, encodeUs;
    std::string error, xml;
    CNMessageBase* request = nullptr;
    if (CNMessageBase::ConstructObject(QBackupInfoMsg::kTag, frames.request.c_str(), request, false, error) != 0) {
        std::printf("ERROR the backup request does not decode: %s\n", error.c_str());
        return;
    }
    for (int r = 0; r < g_rounds; ++r) {
        double c = threadCpu();
        for (int k = 0; k < kTimes; ++k) {
            CNMessageBase* out = nullptr;
            CNMessageBase::ConstructObject(QBackupRespMsg::kTag, frames.reply.c_str(), out, false, error);
            delete out;
        }
        decodeUs.push_back((threadCpu() - c) / kTimes * 1e6);
        c = threadCpu();
        for (int k = 0; k < kTimes; ++k) request->serialize(xml, false);
        encodeUs.push_back((threadCpu() - c) / kTimes * 1e6);
    }
    delete request;
    printLine("REF", "CPU us of a part of a call alone: decoding and releasing the backup reply", nullptr, decodeUs,
              "%.1f");
    printLine("REF", "CPU us of a part of a call alone: serialising the backup request", nullptr, encodeUs, "%.1f");
}

// ---------------------------------------------------------------- phase 3: pooled

pid_t g_responderPid = 0;

struct PooledFigures {
    double rate = -1;         // backups per second
    double ownCpus = 0;       // CPUs kept busy by this process meanwhile
    double responderCpus = 0; // and by the canned responder
};

// Backups per second from `threads` threads, each started up and warmed up
// before the clock starts; the calls completed within the timed window.
PooledFigures pooledRate(int threads, double window, bool trim) {
    struct alignas(64) Count {
        std::atomic<long long> n{0};
    };
    std::vector<Count> counts(static_cast<std::size_t>(threads));
    std::atomic<int> ready{0}, failures{0};
    std::atomic<bool> go{false}, stop{false};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            const bool up = g_env->initThread() == 0;
            const _QBackupParameters p = backupRecord();
            _QJobStartInfo result;
            for (int k = 0; up && k < 20; ++k) {
                if (!backupOnce(p, result)) ++failures;
            }
            if (!up) ++failures;
            ++ready;
            while (!go.load()) std::this_thread::sleep_for(std::chrono::microseconds(200));
            while (up && !stop.load(std::memory_order_relaxed)) {
                if (!backupOnce(p, result)) ++failures;
                counts[static_cast<std::size_t>(t)].n.fetch_add(1, std::memory_order_relaxed);
            }
            VSDKDeInitialize();
        });
    }
    while (ready.load() < threads) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (trim) g_env->server().clearJournal();
    auto total = [&] {
        long long sum = 0;
        for (const Count& c : counts) sum += c.n.load(std::memory_order_relaxed);
        return sum;
    };
    go = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // every thread in its loop
    const long long c0 = total();
    const double own0 = processCpu(), responder0 = processCpu(g_responderPid);
    const Clock::time_point t0 = Clock::now();
    for (double left = window; left > 0; left -= 0.25) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        if (trim) g_env->server().clearJournal();
    }
    const long long c1 = total();
    const double elapsed = seconds(t0);
    PooledFigures f;
    f.ownCpus = (processCpu() - own0) / elapsed;
    f.responderCpus = (processCpu(g_responderPid) - responder0) / elapsed;
    stop = true;
    for (std::thread& w : workers) w.join();
    if (trim) g_env->server().clearJournal();
    if (!failures.load()) f.rate = static_cast<double>(c1 - c0) / elapsed;
    return f;
}

void pooledScaling(const char* kind, const std::string& against, bool trim) {
    std::vector<double> ratio, one, sixteen, ownCpus, responderCpus;
    for (int r = 0; r < g_rounds; ++r) {
        const PooledFigures r1 = pooledRate(1, 1.0, trim);
        const PooledFigures r16 = pooledRate(16, 1.0, trim);
        if (r1.rate <= 0 || r16.rate <= 0) {
            std::printf("ERROR a pooled backup failed\n");
            return;
        }
        one.push_back(r1.rate);
        sixteen.push_back(r16.rate);
        ratio.push_back(r16.rate / (8 * r1.rate));
        ownCpus.push_back(r16.ownCpus);
        responderCpus.push_back(r16.responderCpus);
    }
    std::string busy = "; with 16 threads " + medianOf("CPUs busy: this process", ownCpus, "%.2f");
    if (g_responderPid > 0) busy += ", " + medianOf("responder", responderCpus, "%.2f");
    printLine(kind, "pooled, 16 threads / (8 x one thread), " + against, ">= 0.7", ratio, "%.2f",
              medianOf("1 thread /s", one, "%.0f") + ", " + medianOf("16 threads /s", sixteen, "%.0f") + busy);
}

void memoryOverCalls() {
    const int rounds = 5;
    std::vector<double> at10k, at100k, growth;
    bool failed = false;
    for (int r = 0; r < rounds && !failed; ++r) {
        runOnFreshThread([&] {
            g_env->initThread();
            const _QBackupParameters p = backupRecord();
            _QJobStartInfo result;
            for (int k = 1; k <= 100000; ++k) {
                if (!backupOnce(p, result)) failed = true;
                if (k == 10000) at10k.push_back(static_cast<double>(allocation::g_live.load()));
            }
            at100k.push_back(static_cast<double>(allocation::g_live.load()));
            growth.push_back(at100k.back() - at10k.back());
            VSDKDeInitialize();
        });
    }
    if (failed) std::printf("ERROR a backup failed\n");
    printLine("GOAL", "heap bytes live after 100,000 calls - after 10,000, one thread", "= 0", growth, "%.0f",
              medianOf("after 10,000:", at10k, "%.0f") + ", " + medianOf("after 100,000:", at100k, "%.0f"));
}

// The bare client's round trips alone: wall and CPU microseconds.
void bareRoundTrips(const Frames& frames, unsigned short port, const std::string& against) {
    constexpr int kTimes = 2000;
    std::vector<double> wallUs, cpuUs;
    runOnFreshThread([&] {
        pinLoneCaller();
        const int fd = barewire::connectToService(port);
        const std::string request = barewire::frame(frames.request);
        std::string reply;
        for (int r = -1; r < g_rounds && fd >= 0; ++r) {
            const Clock::time_point t = Clock::now();
            const double c = threadCpu();
            for (int k = 0; k < kTimes; ++k) {
                if (!barewire::sendFrame(fd, request) || !barewire::readFrame(fd, reply)) return;
            }
            if (r < 0) continue;
            wallUs.push_back(seconds(t) / kTimes * 1e6);
            cpuUs.push_back((threadCpu() - c) / kTimes * 1e6);
        }
        if (fd >= 0) ::close(fd);
    });
    printLine("REF", "bare round trip, wall us, " + against, nullptr, wallUs, "%.1f",
              medianOf("CPU us", cpuUs, "%.1f"));
}

// ---------------------------------------------------------------- the canned responder

struct ResponderProcess {
    pid_t pid = -1;
    int lifeline = -1;  // its standard input: closing it ends the responder
    unsigned short port = 0;
};

std::string ownDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

// pinned: on the responder's CPUs; otherwise where the scheduler puts it.
ResponderProcess startResponder(const Frames& frames, const std::string& tableFile, bool pinned) {
    ResponderProcess rp;
    std::vector<int> allCpus = g_callerCpus;
    allCpus.insert(allCpus.end(), g_responderCpus.begin(), g_responderCpus.end());
    {
        std::ofstream table(tableFile, std::ios::binary | std::ios::trunc);
        table << barewire::frame("QBackupInfoMsg") << barewire::frame(frames.reply);
    }
    int in[2], out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0) return rp;
    const std::string program = ownDirectory() + "/canned-responder";
    rp.pid = ::fork();
    if (rp.pid == 0) {
        if (pinned && !g_responderCpus.empty()) pinTo(g_responderCpus);
        if (!pinned) pinTo(allCpus);
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::close(in[0]), ::close(in[1]), ::close(out[0]), ::close(out[1]);
        ::execl(program.c_str(), program.c_str(), tableFile.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    rp.lifeline = in[1];
    char line[16] = {};
    std::size_t got = 0;
    while (got + 1 < sizeof line) {
        const ssize_t n = ::read(out[0], line + got, 1);
        if (n <= 0 || line[got] == '\n') break;
        ++got;
    }
    ::close(out[0]);
    rp.port = static_cast<unsigned short>(std::atoi(line));
    return rp;
}

void stopResponder(ResponderProcess& rp) {
    if (rp.pid <= 0) return;
    ::close(rp.lifeline);
    int status = 0;
    ::waitpid(rp.pid, &status, 0);
    rp.pid = -1;
}

// Points the library at port with pooling on, pooled connections dropped.
void useServer(unsigned short port) {
    VSDKCleanUpConnectionPools();
    g_env->setValue("Network", "nCmdLineServicePort", port);
    g_env->setPooling(true);
}

// N backup calls on one thread against the simulated server, as in the
// call / bare round trip phase, for a tracer or profiler to look at.
void callsOnly(int calls) {
    waitPastRegistryWindow(*g_env);
    runOnFreshThread([calls] {
        pinLoneCaller();
        std::printf("INFO calling thread %ld\n", static_cast<long>(::gettid()));
        std::fflush(stdout);
        g_env->initThread();
        const _QBackupParameters p = backupRecord();
        _QJobStartInfo result;
        for (int k = 0; k < calls; ++k) {
            if (!backupOnce(p, result)) std::printf("ERROR a backup failed\n");
            trimJournal(k);
        }
        VSDKDeInitialize();
    });
}

}  // namespace

int main(int argc, char** argv) {
    int callsToTrace = 0;
    if (argc == 3 && std::strcmp(argv[1], "--rounds") == 0) g_rounds = std::max(5, std::atoi(argv[2]));
    else if (argc == 3 && std::strcmp(argv[1], "--calls") == 0) callsToTrace = std::max(1, std::atoi(argv[2]));
    else if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--rounds N | --calls N]   (rounds >= 5, default 7)\n", argv[0]);
        return 2;
    }
    ::signal(SIGPIPE, SIG_IGN);
    splitCpus();
    char host[64] = {};
    ::gethostname(host, sizeof host - 1);
    std::string model = "unknown";
    {
        std::ifstream cpuinfo("/proc/cpuinfo");
        for (std::string line; std::getline(cpuinfo, line);) {
            if (line.rfind("model name", 0) == 0) {
                model = line.substr(line.find(':') + 2);
                break;
            }
        }
    }
    const std::time_t started = std::time(nullptr);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S UTC", std::gmtime(&started));
    std::printf("INFO %s, nproc %ld, \"%s\", load average %s, %d rounds\n", when, sysconf(_SC_NPROCESSORS_ONLN),
                model.c_str(), loadAverage().c_str(), g_rounds);
    if (g_callerCpus.empty()) std::printf("INFO no CPU pinning (fewer than four CPUs allowed)\n");
    else std::printf("INFO this process on CPUs %s (a lone caller on %d, the simulated server on %s), "
                     "the canned responder on CPUs %s\n",
                     cpuList(g_callerCpus).c_str(), g_callerCpus.front(), cpuList(serverCpus()).c_str(),
                     cpuList(g_responderCpus).c_str());
    std::fflush(stdout);

    CNMessageBase::Initialize();
    // The simulated server's threads (its acceptor's and theirs) keep the
    // CPUs of the thread that starts it.
    if (!g_callerCpus.empty()) pinTo(serverCpus());
    vsdktest::TestEnv env(backupEnvOptions());
    if (!g_callerCpus.empty()) pinTo(g_callerCpus);
    g_env = &env;
    scriptBackupReply(env);
    if (callsToTrace > 0) {
        callsOnly(callsToTrace);
        g_env = nullptr;
        return 0;
    }
    std::string others;
    const Frames frames = captureBackupFrames(env, &others);
    if (!others.empty()) std::printf("INFO a backup thread also sent requests of tags %s\n", others.c_str());
    std::printf("INFO backup request frame %zu bytes, reply frame %zu bytes\n", frames.request.size(),
                frames.reply.size());
    {
        const ColdFigures f = coldDecode(frames.reply, QBackupRespMsg::kTag);
        std::printf("REF heap kept by a fresh thread after decoding one backup reply: %.2f MiB\n",
                    f.keptBytes / 1048576.0);
    }

    decodingVsBareSax();
    coldPeaks();

    waitPastRegistryWindow(env);
    callVsBare(frames, env.port(), "GOAL", "same simulated server");
    callParts(frames);

    if (!g_responderCpus.empty()) {
        // What a responder on other CPUs costs the bare client, next to one
        // the scheduler may place beside it.
        ResponderProcess unpinned = startResponder(frames, env.root() + "/canned-replies", false);
        if (unpinned.port != 0) bareRoundTrips(frames, unpinned.port, "canned responder on any CPU");
        stopResponder(unpinned);
    }
    ResponderProcess responder = startResponder(frames, env.root() + "/canned-replies", true);
    g_responderPid = responder.pid;
    if (responder.port == 0) {
        std::printf("ERROR the canned responder did not start\n");
    } else {
        bareRoundTrips(frames, responder.port, "canned responder on its own CPUs");
        useServer(responder.port);
        waitPastRegistryWindow(env);
        pooledScaling("GOAL", "canned responder in another process", false);
        callVsBare(frames, responder.port, "REF", "canned responder, pooled connection");
        memoryOverCalls();
    }
    stopResponder(responder);
    g_responderPid = 0;

    useServer(env.port());
    waitPastRegistryWindow(env);
    pooledScaling("REF", "simulated server in this process", true);

    VSDKCleanUpConnectionPools();
    std::printf("INFO done in %ld s, load average %s\n", static_cast<long>(std::time(nullptr) - started),
                loadAverage().c_str());
    g_env = nullptr;
    return 0;
}
