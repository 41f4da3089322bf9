// Encoding and decoding of large messages: a listing reply with tens of
// thousands of list elements. Decoding against a bare SAX2 parse and the heap
// peaks of every document shape are measured by vsdk-goals (goals.cpp).
#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKErrors/MessageLogging.h"
#include "platform/CNMessageBase.h"

#include "ListingSample.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace benchsample;

// A reply with `count` listing rows, `count` 64-bit ids and `count` texts.
std::unique_ptr<CNMessageBase> bigReply(int count) {
    auto reply = std::make_unique<OrvaneOperations::QExecuteRespMsg>();
    auto& rows = listingReply(*reply, count);
    for (int k = 0; k < count; ++k) {
        rows.push_back(listingRow(k));
        msgf::appendInt64(*reply, kIds, 5000000000LL + k);
        msgf::appendText(*reply, kNames, "/data/backup/set" + std::to_string(k));
    }
    return reply;
}

void BM_EncodeLargeMessage(benchmark::State& state) {
    const auto reply = bigReply(static_cast<int>(state.range(0)));
    std::string xml;
    for (auto _ : state) {
        reply->serialize(xml, false);
        benchmark::DoNotOptimize(xml.data());
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(xml.size()));
    state.counters["xml_bytes"] = static_cast<double>(xml.size());
}

void BM_DecodeLargeMessage(benchmark::State& state) {
    std::string xml;
    bigReply(static_cast<int>(state.range(0)))->serialize(xml, false);
    for (auto _ : state) {
        CNMessageBase* out = nullptr;
        std::string error;
        if (CNMessageBase::ConstructObject(OrvaneOperations::QExecuteRespMsg::kTag, xml.c_str(),
                                           out, false, error) != 0) {
            state.SkipWithError(error.c_str());
            break;
        }
        delete out;
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(xml.size()));
    state.counters["xml_bytes"] = static_cast<double>(xml.size());
}

// A document of size bytes made of copies of element.
std::string documentOf(std::size_t size, const std::string& element) {
    std::string xml;
    xml.reserve(size + element.size());
    while (xml.size() < size) xml += element;
    return xml;
}

// A whole document as the level-10 lines write it: a document of the
// argument's MiB made of elements with one password value each (about 36,000
// a MiB), masked.
void BM_LogWholeDocument(benchmark::State& state) {
    const std::string xml =
        documentOf(static_cast<std::size_t>(state.range(0)) << 20, "<a password=\"secret\" v=\"x\"/>\n");
    for (auto _ : state) {
        const std::string line = logWholeDocument(xml);
        benchmark::DoNotOptimize(line.data());
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(xml.size()));
}

// The same for a document carried two levels deep (quotes written as
// "&amp;quot;"), about 12,000 password values a MiB (second argument 0); for
// one value whose closing quote never comes, its text a run of escaped
// ampersands, which the end of the value is looked for through (1); and for
// a run of the word "password" with no '=' anywhere (2).
void BM_LogWholeNestedDocument(benchmark::State& state) {
    const std::size_t size = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string xml =
        state.range(1) == 0   ? documentOf(size, "&lt;a password=&amp;quot;secret&amp;quot; "
                                                 "v=&amp;quot;x&amp;quot;/&gt;\n")
        : state.range(1) == 1 ? "<a password=&amp;amp;quot;" + documentOf(size, "&amp;amp;amp;x")
                              : documentOf(size, "password");
    for (auto _ : state) {
        const std::string line = logWholeDocument(xml);
        benchmark::DoNotOptimize(line.data());
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(xml.size()));
}

BENCHMARK(BM_EncodeLargeMessage)->Arg(20000)->Arg(45000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeLargeMessage)->Arg(20000)->Arg(45000)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK(BM_LogWholeDocument)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogWholeNestedDocument)->Args({1, 0})->Args({16, 0})->Args({16, 1})->Args({16, 2})->Unit(benchmark::kMillisecond);
