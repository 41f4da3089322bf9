#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKErrors/VSDKErrors.h"
#include "VSDKErrors/ExportGuard.h"

static bool setErrorStringUnguarded(const std::string& text) {
    VSDKAPIGlobalData* state = g_dataMap.current();
    if (state == nullptr) return false;
    state->setErrorString(text);
    return true;
}

// The exports: no exception leaves them.

bool setErrorString(const std::string& text) {
    return vsdkguard::guarded("setErrorString", false,
                              [&]() -> bool { return setErrorStringUnguarded(text); });
}
