// The library's log object: one per thread state record, or a local one in
// functions that run without thread state.
#pragma once

#include "platform/EvDebug.h"

#include <string>

class QEvDebug : public EvDebug {
public:
    QEvDebug();
    QEvDebug(const QEvDebug& other);
    QEvDebug& operator=(const QEvDebug& other);
    ~QEvDebug() override;

    // "%S" in a format is read as "%s".
    void debugLvl(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void debugLvl(const char* function, int level, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
    void vdebugLvl(const char* function, int level, const char* format, va_list args);

    // Opens a log of its own (the one-shot backup's "vcommand" log, or the file
    // that RK_RKC_LOG_FILE names).
    int initialize(const char* logName, long long jobId);

    long long getJobId() const { return m_jobId; }

private:
    long long m_jobId = 0;
};

// Local-time text of a count of seconds since 1970; "now" for 0.
std::string UnixTimeToLocTimeStringImpl(unsigned long seconds);
