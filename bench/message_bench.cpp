// Encoding and decoding of large messages: a listing reply with tens of
// thousands of list elements; decoding next to a bare Xerces SAX2 parse of
// the same text, and the heap peak of decoding documents of every shape.
#include "VSDKAPI/messages/CommonFields.h"
#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "platform/CNMessageBase.h"

#include "AllocationCounter.h"

#include <benchmark/benchmark.h>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr FieldId kRows{3, 3, 0x7A1001};
constexpr FieldId kIds{4, 4, 0x7A1002};
constexpr FieldId kNames{5, 5, 0x7A1003};
constexpr FieldId kRowName{6, 12, 0x7A1004};

// A reply with `count` object elements (each a time object with its five
// fields and a name), `count` 64-bit ids and `count` texts.
std::unique_ptr<CNMessageBase> bigReply(int count, bool rowsOnly = false) {
    auto reply = std::make_unique<OrvaneOperations::QExecuteRespMsg>();
    msgf::putInt(msgf::child<OrvaneOperations::QReplyErrorMsg>(*reply, msgf::kReplyError),
                 msgf::kErrorCode, 0);
    auto& rows = *reply->getlistobject(kRows.number, kRows.slot, reply->getTagID(), kRows.hash, true);
    rows.reserve(count);
    for (int k = 0; k < count; ++k) {
        OrvaneOperations::QTime row;
        msgf::putInt(row, msgf::kTimeUnix, 1700000000 + k);
        msgf::putText(row, msgf::kTimeStart, "2024-01-02 03:04:05");
        msgf::putText(row, msgf::kTimeZone, "(UTC+01:00) Paris");
        msgf::putInt(row, msgf::kTimeOffset, -3600);
        msgf::putInt(row, msgf::kTimeDsFlags, k & 1);
        msgf::putText(row, kRowName, "client-" + std::to_string(k) + " <&>");
        rows.push_back(row);
        if (rowsOnly) continue;
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

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

bool decode(const std::string& xml, unsigned long tag, std::string& error) {
    CNMessageBase* out = nullptr;
    const int rc = CNMessageBase::ConstructObject(tag, xml.c_str(), out, false, error);
    delete out;
    return rc == 0;
}

// The library's decode of a listing reply and a bare SAX2 parse of the same
// text (an empty handler), alternated; ratio = decode time / parse time.
void BM_DecodeVsBareSax(benchmark::State& state) {
    std::string xml;
    bigReply(static_cast<int>(state.range(0)), true)->serialize(xml, false);
    CNMessageBase::Initialize();
    std::unique_ptr<xercesc::SAX2XMLReader> reader(xercesc::XMLReaderFactory::createXMLReader());
    reader->setFeature(xercesc::XMLUni::fgSAX2CoreNameSpaces, false);
    xercesc::DefaultHandler handler;
    reader->setContentHandler(&handler);
    reader->setErrorHandler(&handler);
    double decodeTime = 0;
    double saxTime = 0;
    std::string error;
    for (auto _ : state) {
        // The decoded message's release is the caller's, not the decoding's.
        CNMessageBase* out = nullptr;
        Clock::time_point t = Clock::now();
        const int rc = CNMessageBase::ConstructObject(OrvaneOperations::QExecuteRespMsg::kTag,
                                                      xml.c_str(), out, false, error);
        decodeTime += seconds(t);
        delete out;
        if (rc != 0) {
            state.SkipWithError(error.c_str());
            break;
        }
        t = Clock::now();
        xercesc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(xml.data()), xml.size(),
                                          "bench");
        reader->parse(source);
        saxTime += seconds(t);
    }
    state.counters["xml_bytes"] = static_cast<double>(xml.size());
    state.counters["decode_over_sax"] = saxTime > 0 ? decodeTime / saxTime : 0;
}

// Heap peak while decoding, over the document's size, for documents of each
// shape: the listing reply, one long text, bare object elements, a long text
// list and a long int list.
void BM_DecodePeakMemory(benchmark::State& state) {
    const int shape = static_cast<int>(state.range(0));
    constexpr int kCount = 50000;
    std::unique_ptr<CNMessageBase> message;
    if (shape == 0) {
        message = bigReply(kCount, true);
    } else {
        message = std::make_unique<OrvaneOperations::QExecuteRespMsg>();
        for (int k = 0; k < kCount; ++k) {
            if (shape == 1 && k == 0) msgf::putText(*message, kRowName, std::string(4 << 20, 'x'));
            if (shape == 2) msgf::appendObject(*message, kRows, OrvaneOperations::QTime());
            if (shape == 3) msgf::appendText(*message, kNames, "/data/backup/set" + std::to_string(k));
            if (shape == 4) msgf::appendInt(*message, kIds, k);
        }
    }
    std::string xml;
    message->serialize(xml, false);
    message.reset();
    double ratio = 0;
    std::string error;
    for (auto _ : state) {
        const long long before = allocation::restartPeak();
        if (!decode(xml, OrvaneOperations::QExecuteRespMsg::kTag, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        ratio = static_cast<double>(allocation::g_peak.load() - before) / static_cast<double>(xml.size());
    }
    static const char* const kShapes[] = {"listing", "long text", "bare objects", "text list",
                                          "int list"};
    state.SetLabel(kShapes[shape]);
    state.counters["xml_bytes"] = static_cast<double>(xml.size());
    state.counters["peak_over_size"] = ratio;
}

BENCHMARK(BM_DecodeVsBareSax)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePeakMemory)->DenseRange(0, 4)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeLargeMessage)->Arg(20000)->Arg(45000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeLargeMessage)->Arg(20000)->Arg(45000)->Unit(benchmark::kMillisecond);

}  // namespace
