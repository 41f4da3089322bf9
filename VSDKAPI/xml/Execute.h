// The generic request for callers inside the library that hold the calling
// thread's state already (the inner documents of other operations).
#pragma once

#include "VSDK/Execute.h"
#include "VSDKAPIGlobalData/VSDKAPIGlobalData.h"

// VSDKQExecute without its thread look-up and argument checks.
unsigned long runExecute(VSDKAPIGlobalData& state, const _QExecuteParams& params,
                         _QExecuteInfo& info);
