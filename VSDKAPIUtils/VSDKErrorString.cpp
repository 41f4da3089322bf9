#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"
#include "VSDKErrors/VSDKErrors.h"

bool setErrorString(const std::string& text) {
    VSDKAPIGlobalData* state = g_dataMap.current();
    if (state == nullptr) return false;
    state->setErrorString(text);
    return true;
}
