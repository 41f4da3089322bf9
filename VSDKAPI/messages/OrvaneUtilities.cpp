#include "OrvaneUtilities.h"

namespace OrvaneUtilities {
VSDK_DEFINE_FAMILY(OrvaneUtilities, VSDK_ORVANE_UTILITIES_MESSAGES, msgf::kSessionGuid.hash,
                   msgf::kSessionMultiDomainToken.hash)
}  // namespace OrvaneUtilities
