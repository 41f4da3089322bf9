#include "ExportGuard.h"

#include "VSDKAPIGlobalData/QEvDebug.h"

#include <exception>
#include <new>

void vsdkguard::logEscaped(const char* function) noexcept {
    const char* what = "unknown exception";
    try {
        throw;
    } catch (const std::bad_alloc&) {
        what = "out of memory";
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    try {
        QEvDebug log;
        log.debugLvl(function, 0, "Exception [%s] failed with Error code [0x%x] Error string [%s]",
                     what, static_cast<unsigned int>(vsdkerr::kInternal),
                     GetErrorString(vsdkerr::kInternal));
    } catch (...) {
        // Without memory for a log line the code alone reports the failure.
    }
}
