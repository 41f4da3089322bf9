#include "TextConversion.h"

#include "VSDKAPI/messages/Fields.h"
#include "VSDKAPIUtils/RecordDump.h"

#include <charconv>
#include <locale>
#include <sstream>

void qConvertStr2qwstr(std::string& out, const std::string& in) { out = in; }

void qConvertqwStr2Str(const std::string& in, std::string& out) { out = in; }

namespace {

template <class N>
std::string decimal(N value) {
    std::ostringstream os;
    // The classic locale: whatever the process made global, no digit grouping.
    os.imbue(std::locale::classic());
    os << value;
    return os.str();
}

}  // namespace

std::string numberToqwString(int value) { return decimal(value); }

std::string numberToqwString(long long value) { return decimal(value); }

std::string fixedPointText(double value, int digits) {
    char text[400];  // the largest double in full, a sign, a point and the decimals
    const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, digits);
    return r.ec == std::errc() ? std::string(text, r.ptr) : std::string();
}

void QTimeCopy(CNMessageBase& timeObject, const _QTime& time) {
    msgf::putInt(timeObject, msgf::kTimeUnix, static_cast<long long>(time.unixTime));
    msgf::putText(timeObject, msgf::kTimeStart, time.startTime);
    msgf::putText(timeObject, msgf::kTimeZone, time.timeZone);
    msgf::putInt(timeObject, msgf::kTimeOffset, static_cast<long long>(time.offset));
    msgf::putInt(timeObject, msgf::kTimeDsFlags, static_cast<long long>(time.dsFlags));
}

namespace {

using recorddump::dump;

const recorddump::DumpRow<_QTime> kTimeDump[] = {
    {"\nUnix time:[", dump<&_QTime::unixTime>, "]\n"},
    {"Start time:[", dump<&_QTime::startTime>, "]\n"},
    {"Time Zone:[", dump<&_QTime::timeZone>, "]\n"},
    {"OffSet:[", dump<&_QTime::offset>, "]\n"},
    {"Ds Flags:[", dump<&_QTime::dsFlags>, "]"},
};

}  // namespace

std::string _QTime::c_str() const { return recorddump::dumpRows(kTimeDump, *this); }
