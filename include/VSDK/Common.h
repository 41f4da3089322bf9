/* Declarations shared by the exported interface. */
#ifndef VSDK_COMMON_H
#define VSDK_COMMON_H

#include <string>

/* Exported names: VSDK_API for functions with C names, VSDK_CXX_API for
 * functions whose symbols carry their parameter types, VSDK_EXPORT on a
 * record or class whose out-of-line members the library exports. */
#define VSDK_EXPORT __attribute__((visibility("default")))
#define VSDK_API extern "C" VSDK_EXPORT
#define VSDK_CXX_API VSDK_EXPORT

/* Caller-side point in time. */
struct VSDK_EXPORT _QTime {
    int unixTime = 0;
    std::string startTime;
    std::string timeZone;
    int offset = 0;
    int dsFlags = 0;

    _QTime() = default;
    _QTime(const _QTime&) = default;
    _QTime(_QTime&&) = default;
    _QTime& operator=(const _QTime&) = default;
    _QTime& operator=(_QTime&&) = default;
    ~_QTime() = default;

    /* Text dump for the debug log. */
    std::string c_str() const;
};

/* Option bit tables: (value, name) pairs naming the bits of numeric option fields. */
struct QCL_OptionMapping {
    unsigned long long value;
    const char* name;
};

#endif
