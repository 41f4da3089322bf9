#include "TextConversion.h"

#include "VSDKAPI/messages/Fields.h"

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

void QTimeCopy(CNMessageBase& timeObject, const _QTime& time) {
    msgf::putInt(timeObject, msgf::kTimeUnix, static_cast<long long>(time.unixTime));
    msgf::putText(timeObject, msgf::kTimeStart, time.startTime);
    msgf::putText(timeObject, msgf::kTimeZone, time.timeZone);
    msgf::putInt(timeObject, msgf::kTimeOffset, static_cast<long long>(time.offset));
    msgf::putInt(timeObject, msgf::kTimeDsFlags, static_cast<long long>(time.dsFlags));
}

std::string _QTime::c_str() const {
    std::string dump;
    dump.reserve(80 + startTime.size() + timeZone.size());
    dump += "\nUnix time:[";
    dump += decimal(unixTime);
    dump += "]\nStart time:[";
    dump += startTime;
    dump += "]\nTime Zone:[";
    dump += timeZone;
    dump += "]\nOffSet:[";
    dump += decimal(offset);
    dump += "]\nDs Flags:[";
    dump += decimal(dsFlags);
    dump += "]";
    return dump;
}
