#include "OrvaneUtilities.h"

namespace OrvaneUtilities {
VSDK_DEFINE_FAMILY(OrvaneUtilities, VSDK_ORVANE_UTILITIES_MESSAGES)
}  // namespace OrvaneUtilities
