#include "VSDKLogin.h"

namespace VSDKLogin {
VSDK_DEFINE_FAMILY(VSDKLogin, VSDK_LOGIN_MESSAGES, kLoginPassword.hash, kSessionGuid.hash,
                   kSessionMultiDomainToken.hash, kLoginRespSamlToken.hash,
                   kTokenToken.hash)
}  // namespace VSDKLogin
