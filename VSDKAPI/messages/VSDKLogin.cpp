#include "VSDKLogin.h"

namespace VSDKLogin {
VSDK_DEFINE_FAMILY(VSDKLogin, VSDK_LOGIN_MESSAGES)
}  // namespace VSDKLogin
