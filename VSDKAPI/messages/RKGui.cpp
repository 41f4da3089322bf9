#include "RKGui.h"

namespace RKGui {
VSDK_DEFINE_FAMILY(RKGui, VSDK_RKGUI_MESSAGES)
}  // namespace RKGui
