// Restore, browse listing and search-result restore: what the operations
// share. The typed exports (fillRestoreRequest, printSearchResults, _ctimeUW,
// _print) are declared in the public header.
#pragma once

#include "VSDK/Restore.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"

#include <cstddef>
#include <cstdio>
#include <string>

// Which body fields a restore request gets: all of them, or the subset that
// the inner request of a restore validation carries.
enum class RestoreFields { Full, Validation };

// The fill behind fillRestoreRequest, for callers that hold the thread state.
void fillRestoreFields(VSDKAPIGlobalData& state, const _QRestoreParameters& params,
                       CNMessageBase& request, RestoreFields which);

// Texts of the records without library containers are C strings; none is
// read past kMaxCallerText bytes (VSDKSearchRestore refuses longer ones).
constexpr std::size_t kMaxCallerText = 65536;
std::string callerText(const char* text);

// The body fields (3,3) to (52,103) of the restore request inside a
// search-result restore: texts only when given, the caller's request code,
// the non-null entries of the text arrays.
void putRestoreBody(CNMessageBase& request, const _QRestoreParametersSTLless& params);

// Sets the five fields of a time object of the OrvaneOperations family from a
// time value without library strings; a null start time or time zone leaves
// that field unset.
void QTimeCopy(CNMessageBase& timeObject, _QTimeSTLless time);
