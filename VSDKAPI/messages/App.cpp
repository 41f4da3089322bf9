#include "App.h"

namespace App {
VSDK_DEFINE_FAMILY(App, VSDK_APP_MESSAGES)
}  // namespace App
