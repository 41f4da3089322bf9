// Login and logout of a thread whose state record the caller already holds.
#pragma once

#include "VSDK/Login.h"
#include "VSDKAPI/session/Exchange.h"

// VSDKLoginApi for the given thread state (the forced re-login of the
// exchange calls this with the state it was handed).
unsigned long loginThread(VSDKAPIGlobalData& state, const _QLoginParameters& params,
                          _QLoginResp& result);

// VSDKLogout for the given thread state.
unsigned long logoutThread(VSDKAPIGlobalData& state, const _QLogoutParameters& params);
