// Restore, browse listing and search-result restore: what the operations
// share, and the typed functions the library exports besides its C-named
// operations.
#pragma once

#include "VSDK/Restore.h"
#include "VSDKAPI/messages/OrvaneOperations.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"

#include <cstddef>
#include <cstdio>
#include <string>

#define VSDK_TYPED_EXPORT __attribute__((visibility("default")))

// Fills the session object and every body field of a restore request from
// params. 0x280 (nothing set) when the calling thread has no state record.
VSDK_TYPED_EXPORT unsigned long fillRestoreRequest(const _QRestoreParameters& params,
                                                   OrvaneOperations::QRestoreReqMsg& request);

// Which body fields a restore request gets: all of them, or the subset that
// the inner request of a restore validation carries.
enum class RestoreFields { Full, Validation };

// The fill behind fillRestoreRequest, for callers that hold the thread state.
void fillRestoreFields(VSDKAPIGlobalData& state, const _QRestoreParameters& params,
                       CNMessageBase& request, RestoreFields which);

// Prints one line per item that a browse reply lists; returns 0.
VSDK_TYPED_EXPORT long printSearchResults(OrvaneOperations::QRestoreRespMsg& reply, FILE* stream);

// Local-time text of time (as ctime_r writes it, without the line end) into
// buffer of length bytes. false when the time cannot be converted or the text
// does not fit; buffer then holds an empty text (when length > 0).
VSDK_TYPED_EXPORT bool _ctimeUW(char* buffer, long length, long time);

// Writes text to stream, or to standard output when stream is null; nothing
// for a null text.
VSDK_TYPED_EXPORT void _print(FILE* stream, const char* text);

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
