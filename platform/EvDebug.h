// Stand-in for the platform's debug-log writer.
//
// Each log object writes to one file in the log folder: the process's default
// log ("vsdk.log") unless initialize() gave it a log id of its own. A line is
// written when its level is at or below the current debug level. Both the
// folder and the level come from the registry stand-in (section "EventManager",
// values "dEVLOGDIR" and "nDebugLevel") of the current focus, read on first
// use, again when the focus changes, after reloadSettings() and at most once
// a second. Lines carry time, process id, thread id, job id, function
// name and level; appends are serialised per file. One call writes one line:
//   "<pid> <thread id> <yyyy/mm/dd hh:mm:ss.mmm> <job id> <function or -> [<level>] <text>"
// where the text's control bytes but the tab are escaped (\r, \n, \xNN) and
// a line end at its very end is left out.
// Defaults: folder "<registry root>/<instance>/Log" (created on first write),
// level 1.
#pragma once

#include <cstdarg>
#include <string>

class EvDebug {
public:
    EvDebug();
    EvDebug(const EvDebug& other) = default;
    EvDebug& operator=(const EvDebug& other) = default;
    virtual ~EvDebug();

    // Opens the log file <folder>/<logId>.log for this object. 0 = success.
    int initialize(const char* logId, long long jobId, const char* folder, bool, const std::string&);
    // The same in the default folder.
    int initialize(const char* logId, long long jobId, bool, const std::string&);
    // The log id of a file name: the name without its ".log" ending.
    static std::string getLogId(const char* fileName);

    int getDebugLevel() const;

    void handleMsgEventDebug_NEW(int level, const char* function, int unused, long long jobId,
                                 const char* extra, const char* format, va_list args);
    // A failure line at level 0, without function name or job id.
    void Error(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // The file this object writes to.
    std::string logFilePath() const;

    // Settings: read again from the registry stand-in (tests change it), as
    // are the values other readers keep (RKPlatformInfo::reload()).
    static void reloadSettings();
    static std::string logFolder();
    static std::string defaultLogFilePath();

private:
    std::string m_logId;   // empty: the process's default log
    std::string m_folder;  // empty: the configured log folder
};
