// The reply of every operation that starts a job (backup, restore, database
// restore, search-result restore, auxiliary copy, data aging, ERBackup): on
// success the reply's job id (and, when the caller asked for it, its XML
// text) goes to the caller and the started line is logged; after a server
// error the job id is -1; after a failed exchange nothing is written.
#pragma once

#include "VSDKAPI/session/OperationFrame.h"

#include <string>

struct StartedLine {
    const char* function;  // null: the line carries no function name
    int level;
    const char* format;    // takes the job id (%lld)
};

// With xmlText set, the reply's text at xmlField lands there and
// "Converted XML String:[%s]" is logged instead of the started line.
unsigned long runJobStart(VSDKAPIGlobalData& state, const OperationSpec& spec,
                          CNMessageBase& request, long long& jobId, const StartedLine& started,
                          std::string* xmlText = nullptr, FieldId xmlField = FieldId{0, 0, 0});
