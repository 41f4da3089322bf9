// Per-thread state (the record and map classes are in the public header
// VSDK/GlobalData.h) and the library's own settings beside it.
#pragma once

#include "VSDK/GlobalData.h"

#include "QEvDebug.h"
#include "RkLocks.h"
#include "platform/CPvError.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

// Process-wide settings read by VSDKInitializeConnectionPools.
struct VSDKAPIGlobalRegKeys {
    static void initialize();
    static void setcsname();
    static void setUseSessionPool();
    static char* getCSName();
    static bool isRkSessionPoolEnabled();
};
