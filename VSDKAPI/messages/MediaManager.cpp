#include "MediaManager.h"

namespace MediaManager {
VSDK_DEFINE_FAMILY(MediaManager, VSDK_MEDIA_MANAGER_MESSAGES)
}  // namespace MediaManager
