// The boundary of the exported functions: no exception leaves one. Each
// export runs its work through guarded(); an exception (std::bad_alloc or any
// other) becomes the export's failure value, 0x201 for those that return an
// error code, and a level-0 log line.
#pragma once

#include "VSDKErrors/VSDKErrors.h"

#include <utility>

namespace vsdkguard {

// Logs the exception being handled at function's boundary; call only from a
// handler.
void logEscaped(const char* function) noexcept;

template <class Result, class Body>
Result guarded(const char* function, Result onFailure, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        logEscaped(function);
        return onFailure;
    }
}

template <class Body>
unsigned long guarded(const char* function, Body&& body) noexcept {
    return guarded(function, vsdkerr::kInternal, std::forward<Body>(body));
}

template <class Body>
void guardedVoid(const char* function, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (...) {
        logEscaped(function);
    }
}

}  // namespace vsdkguard
